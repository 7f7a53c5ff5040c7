#include "erase/removal.h"

#include "core/control_ids.h"
#include "core/text.h"
#include "erase/erase_file.h"
#include "registry/module_registry.h"
#include "windows/form_msg.h"

namespace veltrane {

const std::string kRemovalSummary =
    "All data has been deleted!\r\n"
    "\r\n"
    "It's possible that some files are always\r\n"
    "present in the cache / history directories.\r\n"
    "\r\n"
    "These files cannot be deleted because are locked by Windows.";

std::optional<int> WipePassesFor(int checkValue, int listIndex, std::optional<int> previous) {
  if (checkValue != 1) return 0;
  switch (listIndex) {
    case 0: return 1;
    case 1: return 3;
    case 2: return 7;
    default: return previous;
  }
}

namespace {

class Removal {
 public:
  Removal(const ActionContext& ctx, FormMsg& msg) : os_(ctx.os), state_(ctx.state), form_(ctx.main), msg_(msg) {}

  void Run() {
    form_.SetMousePointer(platform::kPointerHourglass);
    state_.wipePasses = WipePassesFor(form_.CheckValue(ids::Check_Wipe),
                                      form_.ListIndex(ids::Combo_Pass), state_.wipePasses);
    if (state_.cookiesPath != kNotFound) {
      EraseList(state_.cookiesPath, state_.cookieFiles, ids::Status_Cookies, " Erasing cookies (");
      form_.SetText(ids::Status_Cookies, " Cookies erased");
    }
    if (state_.historyPath != kNotFound) {
      EraseTypedUrls();
      EraseList(state_.historyPath, state_.historyFiles, ids::Status_History, " Erasing history files (");
      form_.SetText(ids::Status_History, " Registry urls / History files erased");
    }
    if (state_.cachePath != kNotFound) {
      EraseList(state_.cachePath, state_.cacheFiles, ids::Status_Cache, " Erasing cache files (");
      form_.SetText(ids::Status_Cache, " Cache files erased");
      state_.scanDone = false;
    }
    form_.SetMousePointer(platform::kPointerDefault);
    msg_.Display_Msg(kRemovalSummary);
  }

 private:
  // The bound is fixed when the loop starts; a scan nested in a wipe pass may
  // shorten the list, and the positions past its new end are skipped. Files
  // go only in the folders the scan listed under the stage's root, as it
  // found them then. Without passes no event may run here, but the counter
  // is still painted now and then, so that a long stage shows how far it has got.
  void EraseList(const std::string& root, const TraceList& list, int row, const std::string& counter) {
    const std::unique_ptr<platform::EraseScope> scope = os_.files.Within(root, state_.walkedFolders);
    const std::size_t n = list.Count();
    for (std::size_t i = 1; i <= n; ++i) {
      form_.SetText(row, counter + Decimal(i) + ")");
      os_.runtime.PaintChanges();
      if (std::optional<std::string> path = list.At(i))
        EraseFile(*scope, os_.runtime, *path, state_.wipePasses);
    }
  }

  void EraseTypedUrls() {
    for (int n = 1;; ++n) {
      form_.SetText(ids::Status_History, " Erasing typed urls (" + Decimal(n) + ")");
      const std::string name = TypedUrlName(n);
      if (EndsTypedList(GetRegValue(os_.registry, kUserRoot, kTypedUrlsKey, name))) return;
      DeleteRegValue(os_.registry, kUserRoot, kTypedUrlsKey, name);
      os_.runtime.DoEvents();
    }
  }

  platform::Services& os_;
  ProgramState& state_;
  platform::Form& form_;
  FormMsg& msg_;
};

}  // namespace

void RunRemoval(const ActionContext& ctx, FormMsg& msg) {
  platform::Runtime& runtime = ctx.os.runtime;
  if (!ctx.state.scanDone) {
    runtime.ShowMessage("Scan your system first!", "Veltrane", platform::kMsgOkOnly);
    return;
  }
  if (runtime.ShowMessage("Really delete all information?", "Please confirm", platform::kMsgOkCancel) !=
      platform::kAnswerOk)
    return;
  Removal(ctx, msg).Run();
}

}  // namespace veltrane
