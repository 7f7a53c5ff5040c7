#include "removal_loop.h"

#include "platform/win32/win32_runtime.h"

#include <vector>

#include "app/app_context.h"
#include "app/form_main.h"
#include "core/control_ids.h"
#include "erase/erase_file.h"
#include "floors.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_registry.h"
#include "program_figures.h"
#include "scan/folder_walk.h"
#include "timing.h"
#include "trees.h"

namespace bench {

namespace {

using namespace veltrane;

// Many short rounds taken in turn: the machine is shared, and a busy moment
// then falls on both alike. 4,000 files a round over the three stages.
constexpr int kRounds = 8;
constexpr TreeShape kCookies{1, 0, 400}, kHistory{10, 1, 160}, kCache{10, 1, 200};

// The real runtime, with every message box answered OK at once: the removal's
// confirmation is not what is measured. The clicks go to the main window's
// own handler, as the event loop would deliver them.
class ConfirmingRuntime final : public platform::Runtime {
 public:
  explicit ConfirmingRuntime(win32::Win32Runtime& real) : real_(real) {}
  std::unique_ptr<platform::Form> CreateForm(const platform::FormDesign& design,
                                             platform::FormEvents& events) override {
    return real_.CreateForm(design, events);
  }
  int ShowMessage(const std::string&, const std::string&, int) override { return platform::kAnswerOk; }
  platform::Version ProgramVersion() const override { return real_.ProgramVersion(); }
  [[noreturn]] void End() override { real_.End(); }
  int Run() override { return real_.Run(); }
  void DoEvents() override { real_.DoEvents(); }
  void PaintChanges() override { real_.PaintChanges(); }

 private:
  win32::Win32Runtime& real_;
};

struct Twin {
  std::wstring cookies, history, cache;
  explicit Twin(const std::wstring& root)
      : cookies(root + L"cookies\\"), history(root + L"history\\"), cache(root + L"cache\\") {
    Check(CreateDirectoryW(root.c_str(), nullptr) != 0, "cannot make a removal tree");
    MakeTree(cookies, kCookies);
    MakeTree(history, kHistory);
    MakeTree(cache, kCache);
  }
  std::size_t Left() const {
    std::vector<std::wstring> files;
    for (const std::wstring* folder : {&cookies, &history, &cache}) BareWalk(*folder, files);
    return files.size();
  }
};

// The list's entries with the program's tree swapped for the twin's.
std::vector<std::string> OnTwin(const TraceList& list, const std::string& from, const std::string& to) {
  std::vector<std::string> out;
  for (std::size_t i = 1; i <= list.Count(); ++i) {
    const std::string& path = list[i];
    Check(path.compare(0, from.size(), from) == 0, "a listed path lies outside the scanned tree");
    out.push_back(to + path.substr(from.size()));
  }
  return out;
}

}  // namespace

void RunRemovalLoopFigure(const std::wstring& base) {
  win32::Win32Registry registry;
  win32::Win32FileSystem files;
  win32::Win32Desktop desktop;
  win32::Win32Launcher launcher;
  win32::Win32Runtime real;
  ConfirmingRuntime runtime(real);
  platform::Services services{registry, files, desktop, launcher, runtime};
  AppContext app(services);
  FormMain main(app);
  main.Form_Load();
  main.form().Show();
  app.Msg().form();  // made on first use; what is measured is the removal's own work

  double removal = 0, floor = 0;
  const std::wstring root = base + L"removal-loop\\";
  Check(CreateDirectoryW(root.c_str(), nullptr) != 0, "cannot make the removal-loop folder");
  for (int round = 0; round < kRounds; ++round) {
    const std::wstring name = root + std::to_wstring(round);
    const Twin program(name + L"p\\"), bare(name + L"b\\");
    PointShellFolders(program.cookies, program.history, program.cache);
    main.OnClick(ids::Command_Scan);
    const ProgramState& state = app.state;
    Check(state.cookieFiles.Count() == kCookies.Files() && state.historyFiles.Count() == kHistory.Files() &&
              state.cacheFiles.Count() == kCache.Files(),
          "the scan did not list every file of the removal tree");
    const std::string from = win32::Narrow(name + L"p\\"), to = win32::Narrow(name + L"b\\");
    const std::vector<std::vector<std::string>> lists = {
        OnTwin(state.cookieFiles, from, to), OnTwin(state.historyFiles, from, to), OnTwin(state.cacheFiles, from, to)};
    // Each stage erases in the folders the scan found, as the removal does.
    std::vector<std::unique_ptr<platform::EraseScope>> scopes;
    for (const std::wstring* folder : {&bare.cookies, &bare.history, &bare.cache}) {
      ProgramState twin;
      FolderWalk walk{files, runtime, twin};
      walk.ListFolderTree(win32::Narrow(*folder));
      scopes.push_back(files.Within(win32::Narrow(*folder), twin.walkedFolders));
    }

    const auto runRemoval = [&] { removal += Time([&] { main.OnClick(ids::Command_Remove); }); };
    const auto runFloor = [&] {
      floor += Time([&] {
        for (std::size_t stage = 0; stage < lists.size(); ++stage)
          for (const std::string& path : lists[stage]) EraseFile(*scopes[stage], runtime, path, state.wipePasses);
      });
    };
    InTurn(round, runRemoval, runFloor);
    Check(program.Left() == 0 && bare.Left() == 0, "a removal left files behind");
    real.DoEvents();
  }
  const std::size_t erased = kRounds * (kCookies.Files() + kHistory.Files() + kCache.Files());
  std::printf("removal-loop: %.2fx (removal %.2f s, floor %.2f s; %zu files in %d rounds, %.0f us against %.0f us "
              "a file)\n",
              removal / floor, removal, floor, erased, kRounds, removal / double(erased) * 1e6,
              floor / double(erased) * 1e6);
  std::fflush(stdout);
}

}  // namespace bench
