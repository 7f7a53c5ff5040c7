// Measures, in one run under Wine, the program's folder walk and file eraser
// against the bare Win32 loops that do the same work, and prints one line each:
//   walk: 1.12x (walk 1.23 s, floor 1.10 s)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "core/program_state.h"
#include "erase/erase_file.h"
#include "floors.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_files.h"
#include "scan/folder_walk.h"
#include "trees.h"

namespace {

constexpr int kFanout = 10, kLevels = 3, kFilesPerLeaf = 100;  // 1,000 folders, 100,000 files
constexpr int kEraseFiles = 20000;
constexpr int kWipeFiles = 64;
constexpr std::size_t kWipeFileSize = 1 << 20;

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

template <typename Task>
double Time(Task task) {
  const double start = Seconds();
  task();
  return Seconds() - start;
}

void Report(const char* what, double measured, double floor) {
  std::printf("%s: %.2fx (%s %.2f s, floor %.2f s)\n", what, measured / floor, what, measured, floor);
  std::fflush(stdout);
}

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

std::vector<std::string> Narrowed(const std::vector<std::wstring>& paths) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(veltrane::win32::Narrow(p));
  return out;
}

// ListFolderTree, then ListFiles on every folder found, as the scan does a tree.
std::size_t ProgramWalk(const std::string& root) {
  veltrane::win32::Win32FileSystem files;
  veltrane::win32::Win32EventPump events;
  veltrane::ProgramState state;
  veltrane::FolderWalk walk{files, events, state};
  walk.ListFolderTree(root);
  state.fileList.Clear();
  for (std::size_t i = 1; i <= state.folderList.Count(); ++i)
    walk.ListFiles(state.folderList[i], 1);
  return state.fileList.Count();
}

void Run(const std::wstring& base) {
  Check(CreateDirectoryW(base.c_str(), nullptr), "the benchmark folder exists already");

  const std::wstring tree = base + L"tree\\";
  bench::MakeTree(tree, kFanout, kLevels, kFilesPerLeaf);
  std::vector<std::wstring> found;
  bench::BareWalk(tree, found);  // warms the caches for both walks alike
  // Best of two turns each, taken in turn, so that neither gets the quieter moment.
  std::size_t walked = 0;
  double walk = 1e9, walkFloor = 1e9;
  for (int turn = 0; turn < 2; ++turn) {
    walk = std::min(walk, Time([&] { walked = ProgramWalk(veltrane::win32::Narrow(tree)); }));
    found.clear();
    walkFloor = std::min(walkFloor, Time([&] { bench::BareWalk(tree, found); }));
  }
  Check(walked == found.size() && walked == std::size_t(kFanout * kFanout * kFanout * kFilesPerLeaf),
        "the walk missed files");
  Report("walk", walk, walkFloor);

  veltrane::win32::Win32FileSystem files;
  veltrane::win32::Win32EventPump events;
  const auto erasedWide = bench::MakeFiles(base + L"erase\\", kEraseFiles, 0);
  const auto erased = Narrowed(erasedWide);
  const auto deleted = bench::MakeFiles(base + L"delete\\", kEraseFiles, 0);
  const double erase = Time([&] {
    for (const auto& path : erased) veltrane::EraseFile(files, events, path, 0);
  });
  int gone = 0;
  const double eraseFloor = Time([&] { gone = bench::BareDelete(deleted); });
  Check(gone == kEraseFiles, "the bare loop missed files");
  Report("erase", erase, eraseFloor);

  const auto wipedWide = bench::MakeFiles(base + L"wipe\\", kWipeFiles, kWipeFileSize);
  const auto wiped = Narrowed(wipedWide);
  const auto overwritten = bench::MakeFiles(base + L"overwrite\\", kWipeFiles, kWipeFileSize);
  // One pass of the eraser writes 20000 * n - L bytes, n = L div 10000 + 1.
  const std::size_t passBytes = 20000 * (kWipeFileSize / veltrane::kWipeChunk + 1) - kWipeFileSize;
  const double wipe = Time([&] {
    for (const auto& path : wiped) veltrane::EraseFile(files, events, path, 1);
  });
  const double wipeFloor = Time([&] {
    gone = bench::BareOverwrite(overwritten, passBytes, veltrane::kWipeChunk);
  });
  Check(gone == kWipeFiles, "the bare overwrite missed files");
  Report("wipe", wipe, wipeFloor);

  for (const auto* set : {&erasedWide, &wipedWide})
    for (const auto& path : *set)
      Check(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, "a file was not erased");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring base = argc > 1 ? argv[1] : L"C:\\vbench\\";
  try {
    Run(base);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: %s\n", e.what());
    return 1;
  }
}
