#include "scan/trace_scan.h"

#include "core/control_ids.h"
#include "core/text.h"
#include "registry/module_registry.h"
#include "scan/folder_path.h"
#include "scan/folder_walk.h"

namespace veltrane {

namespace {

const std::string kKeyNotFound = "ERROR: registry key not found";
const std::string kScanningDisk = " Scanning hard disk... please wait...";

// Marks a scan as running for as long as its handler runs, however it ends.
class ScanRunning {
 public:
  explicit ScanRunning(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScanRunning() { flag_ = false; }
  ScanRunning(const ScanRunning&) = delete;
  ScanRunning& operator=(const ScanRunning&) = delete;

 private:
  bool& flag_;
};

bool IsCookieFile(const std::string& path) {
  return path.size() > 5 && UpperAscii(path.substr(path.size() - 4)) == ".TXT";
}

class TraceScan {
 public:
  explicit TraceScan(const ActionContext& ctx)
      : os_(ctx.os), state_(ctx.state), form_(ctx.main), walk_{ctx.os.files, ctx.os.runtime, ctx.state} {}

  void Run() {
    form_.SetMousePointer(platform::kPointerHourglass);
    form_.SetText(ids::Status_History, "");
    form_.SetText(ids::Status_Cache, "");
    form_.SetText(ids::Status_Cookies, "");
    RegValue cookies = ShellFolder("Cookies");
    RegValue history = ShellFolder("History");
    RegValue cache = ShellFolder("Cache");
    state_.cookieFiles.Clear();
    state_.cacheFiles.Clear();
    state_.historyFiles.Clear();
    state_.walkedFolders.clear();
    state_.cookiesPath = FolderPathFromValue(cookies);
    state_.historyPath = FolderPathFromValue(history);
    state_.cachePath = FolderPathFromValue(cache);
    CookieStage();
    HistoryStage();
    CacheStage();
    state_.scanDone = true;
    form_.SetMousePointer(platform::kPointerDefault);
  }

 private:
  RegValue ShellFolder(const std::string& name) {
    return GetRegValue(os_.registry, kUserRoot, kShellFoldersKey, name);
  }
  void DoEvents() { os_.runtime.DoEvents(); }

  void CookieStage() {
    if (state_.cookiesPath == kNotFound) {
      form_.SetText(ids::Status_Cookies, kKeyNotFound);
      return;
    }
    form_.SetText(ids::Status_Cookies, kScanningDisk);
    DoEvents();
    walk_.ListFiles(state_.cookiesPath, 0);
    int count = 0;
    const std::size_t n = state_.fileList.Count();
    for (std::size_t i = 1; i <= n; ++i) {
      form_.SetText(ids::Status_Cookies, " Processing files: " + Decimal(n - i));
      std::optional<std::string> path = state_.fileList.At(i);
      if (path && IsCookieFile(*path)) {
        state_.cookieFiles.Append(*path);
        ++count;
      }
      DoEvents();
    }
    form_.SetText(ids::Status_Cookies,
                  count > 0 ? " Found: " + Decimal(count) + " cookies" : " No cookies found");
  }

  void HistoryStage() {
    if (state_.historyPath == kNotFound) {
      form_.SetText(ids::Status_History, kKeyNotFound);
      return;
    }
    form_.SetText(ids::Status_History, " Scanning registry... please wait...");
    int urls = 0;
    while (!EndsTypedList(GetRegValue(os_.registry, kUserRoot, kTypedUrlsKey, TypedUrlName(urls + 1)))) {
      ++urls;
      DoEvents();
    }
    form_.SetText(ids::Status_History, kScanningDisk);
    DoEvents();
    state_.historyFiles = WalkTree(state_.historyPath, ids::Status_History);
    form_.SetText(ids::Status_History, " Found: " + Decimal(urls) + " URL - " +
                                           Decimal(state_.historyFiles.Count()) + " Files");
  }

  void CacheStage() {
    if (state_.cachePath == kNotFound) {
      form_.SetText(ids::Status_Cache, kKeyNotFound);
      return;
    }
    form_.SetText(ids::Status_Cache, kScanningDisk);
    DoEvents();
    state_.cacheFiles = WalkTree(state_.cachePath, ids::Status_Cache);
    const std::size_t found = state_.cacheFiles.Count();
    form_.SetText(ids::Status_Cache,
                  found == 0 ? " No cache file found" : " Found: " + Decimal(found) + " files");
  }

  // Every plain file of the tree below root, folder by folder, in FileList.
  TraceList WalkTree(const std::string& root, int row) {
    walk_.ListFolderTree(root);
    state_.fileList.Clear();
    const std::size_t m = state_.folderList.Count();
    for (std::size_t i = 1; i <= m; ++i) {
      form_.SetText(row, " Processing directory... (" + Decimal(state_.fileList.Count()) + ")");
      if (std::optional<std::string> folder = state_.folderList.At(i)) walk_.ListFiles(*folder, 1);
      DoEvents();
    }
    return state_.fileList;
  }

  platform::Services& os_;
  ProgramState& state_;
  platform::Form& form_;
  FolderWalk walk_;
};

}  // namespace

void RunScan(const ActionContext& ctx) {
  if (ctx.state.scanRunning) return;
  ScanRunning running(ctx.state.scanRunning);
  TraceScan(ctx).Run();
}

}  // namespace veltrane
