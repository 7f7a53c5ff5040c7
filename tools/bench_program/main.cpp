// Measures, in one run under Wine, the program's folder walk, file eraser and
// removal against the bare Win32 loops that do the same work, then the real
// program driven from outside (program_figures.h), and prints one line each:
//   walk: 1.12x (walk 1.23 s, floor 1.10 s)
// veltrane_bench <folder to work in, ending in "\"> <veltrane.exe> <floor_window.exe>
#include "platform/win32/win32_runtime.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "core/program_state.h"
#include "details_figure.h"
#include "erase/erase_file.h"
#include "floors.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_files.h"
#include "program_figures.h"
#include "removal_loop.h"
#include "scan/folder_walk.h"
#include "timing.h"
#include "trees.h"
#include "watchdog.h"

namespace {

using bench::Check;
using bench::InTurn;
using bench::Report;
using bench::Time;

constexpr DWORD kDeadlineSeconds = 1800;
constexpr int kEraseFiles = 20000;  // per set
constexpr int kWipeRuns = 3;
constexpr std::size_t kMiB = 1 << 20;
// 1 GiB in files of 1 to 256 MiB.
const std::vector<std::size_t> kWipeSizes = {256 * kMiB, 256 * kMiB, 256 * kMiB, 128 * kMiB, 64 * kMiB, 32 * kMiB,
                                             16 * kMiB,  8 * kMiB,   4 * kMiB,   2 * kMiB,   1 * kMiB,  1 * kMiB};

std::vector<std::string> Narrowed(const std::vector<std::wstring>& paths) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(veltrane::win32::Narrow(p));
  return out;
}

// ListFolderTree, then ListFiles on every folder found, as the scan does a tree.
std::size_t ProgramWalk(veltrane::win32::Win32Runtime& pump, const std::string& root) {
  veltrane::win32::Win32FileSystem files;
  veltrane::ProgramState state;
  veltrane::FolderWalk walk{files, pump, state};
  walk.ListFolderTree(root);
  state.fileList.Clear();
  for (std::size_t i = 1; i <= state.folderList.Count(); ++i)
    walk.ListFiles(state.folderList[i], 1);
  return state.fileList.Count();
}

void CheckGone(const std::vector<std::wstring>& paths) {
  for (const auto& path : paths)
    Check(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, "a file was not erased");
}

template <typename T>
std::vector<T> Slice(const std::vector<T>& all, std::size_t from, std::size_t count) {
  return {all.begin() + from, all.begin() + std::min(all.size(), from + count)};
}

// The folders below `root` as the scan records them, for the removal's scope.
veltrane::platform::WalkedFolders Walked(veltrane::platform::FileSystem& files, veltrane::platform::EventPump& pump,
                                         const std::string& root) {
  veltrane::ProgramState state;
  veltrane::FolderWalk walk{files, pump, state};
  walk.ListFolderTree(root);
  return state.walkedFolders;
}

// EraseFile without passes, in the scope a removal erases in, against
// DeleteFileW (what the checks cost) and against the calls a delete bounded
// to the scanned folders cannot do without (what the program adds). The machine is shared, so the three take turns a thousand files at
// a time, each batch in another order: a busy moment falls on all alike.
void EraseFigures(const std::wstring& base, veltrane::win32::Win32Runtime& pump) {
  veltrane::win32::Win32FileSystem files;
  const std::wstring programRoot = base + L"erase-program\\", checkedRoot = base + L"erase-checked\\";
  const auto erased = Narrowed(bench::MakeFiles(programRoot, kEraseFiles, 0));
  const auto deleted = bench::MakeFiles(base + L"erase-delete\\", kEraseFiles, 0);
  const auto checkedAway = bench::MakeFiles(checkedRoot, kEraseFiles, 0);
  const std::string root = veltrane::win32::Narrow(programRoot);
  const auto scope = files.Within(root, Walked(files, pump, root));
  bench::BareBoundedDelete bounded(checkedRoot);
  double erase = 0, plain = 0, checked = 0;
  int plainGone = 0, checkedGone = 0;
  constexpr std::size_t kBatch = 1000;
  for (std::size_t from = 0, batch = 0; from < erased.size(); from += kBatch, ++batch) {
    const auto mine = Slice(erased, from, kBatch);
    const auto theirs = Slice(deleted, from, kBatch);
    const auto checks = Slice(checkedAway, from, kBatch);
    const std::function<void()> runs[] = {
        [&] {
          erase += Time([&] {
            for (const auto& path : mine) veltrane::EraseFile(*scope, pump, path, 0);
          });
        },
        [&] { plain += Time([&] { plainGone += bench::BareDelete(theirs); }); },
        [&] { checked += Time([&] { checkedGone += bounded.Run(checks); }); },
    };
    for (std::size_t k = 0; k < 3; ++k) runs[(batch + k) % 3]();
  }
  Check(plainGone == kEraseFiles && checkedGone == kEraseFiles, "a bare loop missed files");
  CheckGone(deleted);
  CheckGone(checkedAway);
  for (const auto& path : erased)
    Check(GetFileAttributesW(veltrane::win32::Widen(path).c_str()) == INVALID_FILE_ATTRIBUTES,
          "a file was not erased");
  Report("erase", "erase", erase, plain);
  Report("erase-safe", "erase", erase, checked);
}

// One pass over 1 GiB, against a bare loop writing the same bytes with the
// same flush; the median of three runs of each. The files are made in twins,
// one after the other, and the two take turns over which twin they get and
// which goes first: either way round showed ~10% for nothing otherwise.
void WipeFigure(const std::wstring& base, veltrane::win32::Win32Runtime& pump) {
  veltrane::win32::Win32FileSystem files;
  std::vector<std::size_t> twinSizes;
  std::uint64_t total = 0;
  for (std::size_t size : kWipeSizes) {
    twinSizes.insert(twinSizes.end(), {size, size});
    total += size;
  }
  std::vector<double> wipe, floor;
  for (int run = 0; run < kWipeRuns; ++run) {
    const auto twins = bench::MakeFlushedFiles(base + L"wipe" + std::to_wstring(run) + L"\\", twinSizes);
    double wipeRun = 0, floorRun = 0;
    int gone = 0;
    for (std::size_t i = 0; i < kWipeSizes.size(); ++i) {
      const bool turn = (i + run) % 2 == 0;
      const std::string wiped = veltrane::win32::Narrow(twins[2 * i + (turn ? 0 : 1)]);
      const std::wstring& overwritten = twins[2 * i + (turn ? 1 : 0)];
      // One pass of the eraser writes 20000 * n - L bytes, n = L div 10000 + 1.
      const std::uint64_t passBytes = 20000 * (kWipeSizes[i] / veltrane::kWipeChunk + 1) - kWipeSizes[i];
      const auto runWipe = [&] { wipeRun += Time([&] { veltrane::EraseFile(files, pump, wiped, 1); }); };
      const auto runFloor = [&] {
        floorRun += Time([&] { gone += bench::BareOverwrite({overwritten}, {passBytes}, veltrane::kWipeChunk); });
      };
      InTurn(int(i) + run, runWipe, runFloor);
    }
    wipe.push_back(wipeRun);
    floor.push_back(floorRun);
    Check(gone == int(kWipeSizes.size()), "the bare overwrite missed files");
    CheckGone(twins);
  }
  std::printf("wipe: %.2fx (wipe %.2f s, floor %.2f s; medians of %d runs, one pass over %.0f MiB in %zu files "
              "of 1 to 256 MiB)\n",
              bench::Median(wipe) / bench::Median(floor), bench::Median(wipe), bench::Median(floor), kWipeRuns,
              double(total) / kMiB, kWipeSizes.size());
  std::fflush(stdout);
}

// Returns the walk's tree, left in place for the program's figures.
std::wstring RunFileFigures(const std::wstring& base) {
  // The program's own event pump: what the modules call between items.
  veltrane::win32::Win32Runtime pump;
  const std::wstring tree = base + L"tree\\";
  bench::MakeTree(tree, bench::kBigTree);
  std::vector<std::wstring> found;
  bench::BareWalk(tree, found);  // warms the caches for both walks alike
  // Best of two turns each, taken in turn, so that neither gets the quieter moment.
  std::size_t walked = 0;
  double walk = 1e9, walkFloor = 1e9;
  for (int turn = 0; turn < 2; ++turn) {
    walk = std::min(walk, Time([&] { walked = ProgramWalk(pump, veltrane::win32::Narrow(tree)); }));
    found.clear();
    walkFloor = std::min(walkFloor, Time([&] { bench::BareWalk(tree, found); }));
  }
  Check(walked == found.size() && walked == bench::kBigTree.Files(), "the walk missed files");
  Report("walk", "walk", walk, walkFloor);

  EraseFigures(base, pump);
  WipeFigure(base, pump);
  return tree;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: veltrane_bench <folder\\> <veltrane.exe> <floor_window.exe>\n");
    return 2;
  }
  _setmode(_fileno(stdout), _O_BINARY);  // plain LF lines for the script
  const std::wstring base = argv[1];
  // Whatever hangs, the run ends; tools/bench then ends every process of the prefix.
  e2e::StartWatchdog(kDeadlineSeconds, [] {
    std::fprintf(stderr, "bench: not done within %lu s\n", static_cast<unsigned long>(kDeadlineSeconds));
  });
  try {
    Check(CreateDirectoryW(base.c_str(), nullptr), "the benchmark folder exists already");
    const std::wstring tree = RunFileFigures(base);
    bench::RunRemovalLoopFigure(base);
    bench::RunDetailsFigure();
    bench::RunProgramFigures(base, tree, {argv[2], argv[3]});
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: %s\n", e.what());
    return 1;
  }
}
