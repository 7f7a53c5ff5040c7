#pragma once
// A fixture for the actions of the main window (scan, removal, details): the
// fakes, the program state, and the real main window after its load step.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_context.h"
#include "core/control_ids.h"
#include "app/form_main.h"
#include "erase/removal.h"
#include "fake_platform.h"
#include "registry/module_registry.h"
#include "scan/trace_scan.h"
#include "windows/form_details.h"
#include "windows/form_msg.h"

namespace veltrane::testing {

// The registry keys the program must use, spelt out rather than taken from
// the program's own constants, so that a misspelt constant fails here. They
// hide those constants for every test that includes this fixture.
inline const std::string kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const std::string kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

inline const std::string kProfile = "C:\\users\\tester\\";
inline const std::string kCookies = kProfile + "Cookies\\";
inline const std::string kHistory = kProfile + "History\\";
inline const std::string kCache = kProfile + "Cache\\";
inline const std::string kMainName = "Veltrane";
inline const std::string kDetailsName = "Veltrane - Details";

class ActionsTest : public FakePlatformTest {
 protected:
  ActionsTest() {
    formMain = std::make_unique<FormMain>(app);
    mainForm = &formMain->form();
    formMain->Form_Load();
    mainForm->Show();
  }

  // --- set-up helpers
  void SetShellFolders(const std::string& cookies, const std::string& history, const std::string& cache) {
    registry.SetString(kShellFoldersKey, "Cookies", cookies);
    registry.SetString(kShellFoldersKey, "History", history);
    registry.SetString(kShellFoldersKey, "Cache", cache);
  }
  void SetProfileFolders() {
    SetShellFolders(kProfile + "Cookies", kProfile + "History", kProfile + "Cache");
    files.AddFolder(kCookies);
    files.AddFolder(kHistory);
    files.AddFolder(kCache);
  }
  void SetTypedUrls(std::initializer_list<std::pair<int, std::string>> urls) {
    registry.CreateKey(kTypedUrlsKey);
    for (const auto& [n, url] : urls) registry.SetString(kTypedUrlsKey, TypedUrlName(n), url);
  }

  // --- actions as the user does them
  void Scan() { runtime.Click(*mainForm, ids::Command_Scan); }
  void Remove() { runtime.Click(*mainForm, ids::Command_Remove); }
  // At the n-th point from now where events run.
  int FromNow(int n) const { return runtime.DoEventsCount() + n; }
  void ScanAt(int k) { runtime.QueueClick(k, kMainName, ids::Command_Scan); }
  void RemoveAt(int k) { runtime.QueueClick(k, kMainName, ids::Command_Remove); }
  void DetailsAt(int k, int id) { runtime.QueueClick(k, kMainName, id); }

  // --- what the tests read
  const std::vector<std::string>& Texts(int row) const { return runtime.TextsOf(*mainForm, row); }
  std::string Row(int row) const { return mainForm->Text(row); }
  // Merged log lines that start with one of the prefixes.
  std::vector<std::string> Lines(std::initializer_list<std::string> prefixes, std::size_t from = 0) const {
    std::vector<std::string> out;
    for (const std::string& line : notes.Merged(from))
      for (const std::string& prefix : prefixes)
        if (line.rfind(prefix, 0) == 0) {
          out.push_back(line);
          break;
        }
    return out;
  }
  std::string Dump() const { return runtime.ToString() + files.ToString() + registry.ToString(); }

  AppContext app{services};
  std::unique_ptr<FormMain> formMain;
  platform::Form* mainForm = nullptr;
};

}  // namespace veltrane::testing
