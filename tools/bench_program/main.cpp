// Measures, in one run under Wine, the program's folder walk and file eraser
// against the bare Win32 loops that do the same work, then the real program
// driven from outside (program_figures.h), and prints one line each:
//   walk: 1.12x (walk 1.23 s, floor 1.10 s)
// veltrane_bench <folder to work in, ending in "\"> <veltrane.exe> <floor_window.exe>
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "core/program_state.h"
#include "erase/erase_file.h"
#include "floors.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_runtime.h"
#include "program_figures.h"
#include "scan/folder_walk.h"
#include "timing.h"
#include "trees.h"

namespace {

using bench::Check;
using bench::Report;
using bench::Time;

constexpr DWORD kDeadlineSeconds = 1200;
constexpr int kEraseFiles = 20000;
constexpr int kWipeFiles = 64;
constexpr std::size_t kWipeFileSize = 1 << 20;

std::vector<std::string> Narrowed(const std::vector<std::wstring>& paths) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(veltrane::win32::Narrow(p));
  return out;
}

// ListFolderTree, then ListFiles on every folder found, as the scan does a tree.
std::size_t ProgramWalk(const std::string& root) {
  veltrane::win32::Win32FileSystem files;
  veltrane::win32::Win32Runtime events;  // the program's own event pump
  veltrane::ProgramState state;
  veltrane::FolderWalk walk{files, events, state};
  walk.ListFolderTree(root);
  state.fileList.Clear();
  for (std::size_t i = 1; i <= state.folderList.Count(); ++i)
    walk.ListFiles(state.folderList[i], 1);
  return state.fileList.Count();
}

// Returns the walk's tree, left in place for the program's figures.
std::wstring RunFileFigures(const std::wstring& base) {
  const std::wstring tree = base + L"tree\\";
  bench::MakeTree(tree, bench::kBigTree);
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
  Check(walked == found.size() && walked == bench::kBigTree.Files(), "the walk missed files");
  Report("walk", "walk", walk, walkFloor);

  veltrane::win32::Win32FileSystem files;
  veltrane::win32::Win32Runtime events;  // the program's own event pump
  const auto erasedWide = bench::MakeFiles(base + L"erase\\", kEraseFiles, 0);
  const auto erased = Narrowed(erasedWide);
  const auto deleted = bench::MakeFiles(base + L"delete\\", kEraseFiles, 0);
  const double erase = Time([&] {
    for (const auto& path : erased) veltrane::EraseFile(files, events, path, 0);
  });
  int gone = 0;
  const double eraseFloor = Time([&] { gone = bench::BareDelete(deleted); });
  Check(gone == kEraseFiles, "the bare loop missed files");
  Report("erase", "erase", erase, eraseFloor);

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
  Report("wipe", "wipe", wipe, wipeFloor);

  for (const auto* set : {&erasedWide, &wipedWide})
    for (const auto& path : *set)
      Check(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, "a file was not erased");
  return tree;
}

// Whatever hangs, the run ends; tools/bench then ends every process of the prefix.
DWORD WINAPI Watchdog(void*) {
  Sleep(kDeadlineSeconds * 1000);
  std::fprintf(stderr, "bench: not done within %lu s\n", static_cast<unsigned long>(kDeadlineSeconds));
  std::fflush(stderr);
  ExitProcess(1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: veltrane_bench <folder\\> <veltrane.exe> <floor_window.exe>\n");
    return 2;
  }
  _setmode(_fileno(stdout), _O_BINARY);  // plain LF lines for the script
  const std::wstring base = argv[1];
  CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
  try {
    Check(CreateDirectoryW(base.c_str(), nullptr), "the benchmark folder exists already");
    const std::wstring tree = RunFileFigures(base);
    bench::RunProgramFigures(base, tree, {argv[2], argv[3]});
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: %s\n", e.what());
    return 1;
  }
}
