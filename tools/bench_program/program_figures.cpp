#include "program_figures.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "core/control_ids.h"
#include "floors.h"
#include "input.h"
#include "launched.h"
#include "memory_peak.h"
#include "platform/win32/handles.h"
#include "probe.h"
#include "timing.h"
#include "trees.h"
#include "wait.h"

namespace bench {

namespace ids = veltrane::ids;

namespace {

constexpr int kStarts = 7;       // of each program, taken in turn; the median counts
constexpr int kScans = 2;        // timed, each after a floor walk; the best counts
constexpr int kClickScans = 3;   // at most, until enough clicks landed during a scan
constexpr std::size_t kClicksWanted = 30;
constexpr DWORD kClickGapMs = 20;  // plus up to one event pump interval, at random
constexpr DWORD kStartMs = 20000, kScanMs = 300000, kClickMs = 5000, kRemovalMs = 900000;
constexpr e2e::Pace kTight = e2e::kEveryMillisecond;
constexpr e2e::Pace kRemovalPace{20, false};  // see RemovalFigure

constexpr const wchar_t* kShellFoldersKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kErased = L" Cache files erased";

std::wstring WithoutSlash(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

void Start(e2e::Launched& program, const std::wstring& exe) {
  std::string why;
  Check(program.Start(exe, why), why);
}

// Puts the pointer on the control's centre once the control can take a click
// there; returns that point.
POINT Aim(HWND control) {
  const POINT centre = e2e::CentreOnScreen(control);
  std::string why;
  Check(e2e::AimAt(control, centre, why), "cannot click a control: " + why);
  return centre;
}

// The press and the release at the point; returns when they were sent.
double Press(POINT at) {
  const double sent = Seconds();
  e2e::PressAt(at);
  return sent;
}

struct Started {
  double seconds;
  MemoryPeak peak;
};

// Shown and taking input: a visible window, and a sent message answered,
// which only a thread that has reached its message loop does.
Started TimeToWindow(const std::wstring& exe) {
  const double start = Seconds();
  e2e::Launched program;
  Start(program, exe);
  HWND window = nullptr;
  e2e::WaitFor([&] { return (window = program.VisibleWindow()) != nullptr || !program.Running(); }, kStartMs, kTight);
  Check(window != nullptr, "no window from " + e2e::Utf8(exe) + " within 20 s");
  DWORD_PTR ignored = 0;
  Check(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0,
        "the window of " + e2e::Utf8(exe) + " takes no messages");
  const double took = Seconds() - start;
  return {took, PeakOf(program.Process())};
}

// Returns the empty window's peak memory, for the memory figure's line.
MemoryPeak StartupFigure(const Programs& programs) {
  std::vector<double> program, floor;
  MemoryPeak floorPeak;
  for (int i = 0; i < kStarts; ++i) {
    const Started bare = TimeToWindow(programs.floorWindow);
    floor.push_back(bare.seconds);
    floorPeak = bare.peak;
    program.push_back(TimeToWindow(programs.veltrane).seconds);
  }
  Report("startup", "veltrane", Median(program), Median(floor));
  return floorPeak;
}

// veltrane.exe with its main window up.
class MainWindow {
 public:
  explicit MainWindow(const std::wstring& exe) {
    Start(program_, exe);
    e2e::WaitFor([&] { return (main_ = program_.VisibleWindow()) != nullptr || !program_.Running(); }, kStartMs,
                 kTight);
    Check(main_ != nullptr, "veltrane.exe showed no window within 20 s");
  }
  const e2e::Launched& Program() const { return program_; }
  HWND Control(int id) const {
    const HWND control = e2e::FindControl(main_, id);
    Check(control != nullptr, "the main window has no control " + std::to_string(id));
    return control;
  }

 private:
  e2e::Launched program_;
  HWND main_ = nullptr;
};

bool ScanEnded(const std::wstring& status) {
  return status.rfind(L" Found: ", 0) == 0 || status.rfind(L" No ", 0) == 0 || status.rfind(L"ERROR", 0) == 0;
}

// From the press on Command_Scan until Status_Cache shows `found`. `during`
// runs once the scan is under way.
double Scan(const MainWindow& window, const std::wstring& found, const std::function<void()>& during = {}) {
  const HWND status = window.Control(ids::Status_Cache);
  const double start = Press(Aim(window.Control(ids::Command_Scan)));
  // The last scan's count stays up until the new scan first lets events run.
  Check(e2e::WaitFor([&] { return e2e::HeldText(status) != found; }, 10000, kTight),
        "the scan did not start within 10 s");
  if (during) during();
  std::wstring seen;
  Check(e2e::WaitFor([&] { return ScanEnded(seen = e2e::HeldText(status)); }, kScanMs, kTight),
        "the scan did not end in time");
  const double took = Seconds() - start;
  Check(seen == found, "Status_Cache shows \"" + e2e::Utf8(seen) + "\" after the scan");
  return took;
}

// Clicks Label_Wipe again and again while the scan runs and times each until
// its handler ran: that handler ticks Check_Wipe, whose click enables or
// disables Combo_Pass at once, a bit read from the window manager without a
// message, so the reading waits for no event pump. Check_Wipe is read after.
void ClickWhileScanning(const MainWindow& window, std::vector<double>& latencies) {
  const HWND status = window.Control(ids::Status_Cache);
  const HWND label = window.Control(ids::Label_Wipe);
  const HWND check = window.Control(ids::Check_Wipe);
  const HWND combo = window.Control(ids::Combo_Pass);
  const POINT onLabel = Aim(label);
  // A fixed gap would lock the clicks to one phase of the program's event pump.
  std::minstd_rand jitter(GetTickCount());
  while (!ScanEnded(e2e::HeldText(status))) {
    const bool enabled = IsWindowEnabled(combo) != FALSE;
    const double start = Press(onLabel);
    Check(e2e::WaitFor([&] { return (IsWindowEnabled(combo) != FALSE) != enabled; }, kClickMs, kTight),
          "a click on Label_Wipe was not handled within 5 s");
    const double took = Seconds() - start;
    // A click handled after the scan tells nothing about the scan.
    if (!ScanEnded(e2e::HeldText(status))) latencies.push_back(took * 1000);
    Check(e2e::CheckState(check) == (enabled ? BST_UNCHECKED : BST_CHECKED), "Check_Wipe does not follow the clicks");
    Sleep(kClickGapMs + jitter() % 16);
  }
}

void UntickWipe(const MainWindow& window) {
  const HWND check = window.Control(ids::Check_Wipe);
  if (e2e::CheckState(check) != BST_CHECKED) return;
  Press(Aim(window.Control(ids::Label_Wipe)));
  Check(e2e::WaitFor([&] { return e2e::CheckState(check) == BST_UNCHECKED; }, kClickMs, kTight),
        "Check_Wipe stays ticked");
}

void ScanFigures(const MainWindow& window, const std::wstring& tree, const MemoryPeak& emptyWindow) {
  const std::wstring found = L" Found: " + std::to_wstring(kBigTree.Files()) + L" files";
  double scan = 1e9, floor = 1e9;
  MemoryPeak afterOne;
  for (int turn = 0; turn < kScans; ++turn) {
    std::vector<std::wstring> files;
    floor = std::min(floor, Time([&] { BareWalk(tree, files); }));
    Check(files.size() == kBigTree.Files(), "the floor walk missed files");
    scan = std::min(scan, Scan(window, found));
    if (turn == 0) afterOne = PeakOf(window.Program().Process());
  }
  Report("scan", "scan", scan, floor);

  std::vector<double> latencies;
  int clickScans = 0;
  while (clickScans < kClickScans && latencies.size() < kClicksWanted) {
    Scan(window, found, [&] { ClickWhileScanning(window, latencies); });
    ++clickScans;
  }
  UntickWipe(window);
  const MemoryPeak afterAll = PeakOf(window.Program().Process());
  std::printf("scan-memory: %.0f MiB (peak working set after one scan; peak private %.0f MiB; after %d scans %.0f MiB; "
              "an empty window %.0f MiB)\n",
              afterOne.workingSetMiB, afterOne.privateMiB, kScans + clickScans, afterAll.workingSetMiB,
              emptyWindow.workingSetMiB);
  Check(!latencies.empty(), "no click landed during a scan");
  std::printf("click-latency: %.0f ms (worst; median %.0f ms over %zu clicks during %d scans)\n",
              *std::max_element(latencies.begin(), latencies.end()), Median(latencies), latencies.size(),
              clickScans);
  std::fflush(stdout);
}

bool IsMessageBox(HWND window) { return e2e::ClassName(window) == L"#32770"; }

// The press on OK of the confirmation; posts its command when the click does
// not close the box, and then counts from the post.
double Confirm(const MainWindow& window) {
  HWND box = nullptr;
  Check(e2e::WaitFor([&] { return (box = window.Program().VisibleWindow(IsMessageBox)) != nullptr; }, 10000, kTight),
        "no confirmation within 10 s of the press on Command_Remove");
  const HWND ok = GetDlgItem(box, IDOK);
  Check(ok != nullptr, "the confirmation has no OK button");
  const double pressed = Press(Aim(ok));
  if (e2e::WaitFor([&] { return !IsWindowVisible(box); }, 2000, kTight)) return pressed;
  std::printf("note: the click on OK did not close the confirmation; its command was posted\n");
  const double posted = Seconds();
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  Check(e2e::WaitFor([&] { return !IsWindowVisible(box); }, 5000, kTight), "the confirmation does not close");
  return posted;
}

void RemovalFigure(const MainWindow& window, const std::wstring& base, const std::wstring& tree) {
  const std::wstring floorTree = base + L"removal-floor\\";
  MakeTree(floorTree, kBigTree);
  std::vector<std::wstring> floorFiles;
  BareWalk(floorTree, floorFiles);
  int gone = 0;
  const double floor = Time([&] { gone = BareDelete(floorFiles); });
  Check(std::size_t(gone) == kBigTree.Files(), "the bare delete missed files");

  const HWND status = window.Control(ids::Status_Cache);
  Press(Aim(window.Control(ids::Command_Remove)));
  const double start = Confirm(window);
  // One read of the row every 20 ms: looking for the summary window as well,
  // every millisecond, made the removal take 265 us a file instead of 160.
  // The row shows its last text once the handler is back in the event loop.
  Check(e2e::WaitFor([&] { return e2e::HeldText(status) == kErased; }, kRemovalMs, kRemovalPace),
        "the removal did not end in time");
  const double removal = Seconds() - start;
  std::vector<std::wstring> left;
  BareWalk(tree, left);
  Check(left.empty(), "the removal left " + std::to_string(left.size()) + " files");
  Report("removal", "removal", removal, floor);
}

}  // namespace

void PointShellFolders(const std::wstring& cookies, const std::wstring& history, const std::wstring& cache) {
  HKEY opened = nullptr;
  Check(RegCreateKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) == ERROR_SUCCESS,
        "cannot open the Shell Folders key");
  const veltrane::win32::KeyHandle key(opened);
  for (const auto& [name, folder] : {std::pair{L"Cookies", &cookies}, std::pair{L"History", &history},
                                     std::pair{L"Cache", &cache}}) {
    const std::wstring value = WithoutSlash(*folder);
    Check(RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS,
          "cannot set a Shell Folders value");
  }
}

void RunProgramFigures(const std::wstring& base, const std::wstring& tree, const Programs& programs) {
  const std::wstring cookies = base + L"cookies\\", history = base + L"history\\";
  Check(CreateDirectoryW(cookies.c_str(), nullptr) && CreateDirectoryW(history.c_str(), nullptr),
        "cannot make the empty Cookies and History folders");
  PointShellFolders(cookies, history, tree);

  const MemoryPeak emptyWindow = StartupFigure(programs);
  const MainWindow window(programs.veltrane);
  ScanFigures(window, tree, emptyWindow);
  RemovalFigure(window, base, tree);
}

}  // namespace bench
