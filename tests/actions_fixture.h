#pragma once
// A fixture for the actions of the main window (scan, removal, details): the
// fakes, the program state, and the real main window after its load step.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_context.h"
#include "core/control_ids.h"
#include "app/form_main.h"
#include "erase/removal.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_launcher.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_runtime.h"
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

// Notes of the platform calls that matter, interleaved with the runtime's log.
class Notes {
 public:
  explicit Notes(fake::FakeRuntime& runtime) : runtime_(runtime) {}
  void Add(std::string line) { notes_.emplace_back(runtime_.LogMark(), std::move(line)); }
  // The runtime's log with the notes in place; "events #k" reads "events".
  std::vector<std::string> Merged(std::size_t from = 0) const {
    std::vector<std::string> out;
    std::size_t note = 0;
    const std::vector<std::string>& log = runtime_.Log();
    for (std::size_t i = 0; i <= log.size(); ++i) {
      for (; note < notes_.size() && notes_[note].first == i; ++note)
        if (i >= from) out.push_back(notes_[note].second);
      if (i == log.size() || i < from) continue;
      out.push_back(log[i].rfind("events #", 0) == 0 ? "events" : log[i]);
    }
    return out;
  }

 private:
  fake::FakeRuntime& runtime_;
  std::vector<std::pair<std::size_t, std::string>> notes_;
};

class RecordingFiles : public fake::FakeFileSystem {
 public:
  explicit RecordingFiles(Notes& notes) : notes_(notes) {}
  std::unique_ptr<platform::DirListing> List(const std::string& folder, std::uint32_t filter) override {
    notes_.Add("list " + folder + " " + std::to_string(filter));
    return FakeFileSystem::List(folder, filter);
  }
  bool Delete(const std::string& path) override {
    notes_.Add("delete " + path);
    return FakeFileSystem::Delete(path);
  }
  std::unique_ptr<platform::WipeTarget> OpenToErase(const std::string& path) override {
    notes_.Add("wipe " + path);
    return FakeFileSystem::OpenToErase(path);
  }
  std::unique_ptr<platform::ByteStream> OpenRead(const std::string& path) override {
    notes_.Add("read " + path);
    return FakeFileSystem::OpenRead(path);
  }

 private:
  Notes& notes_;
};

class RecordingRegistry : public fake::FakeRegistry {
 public:
  explicit RecordingRegistry(Notes& notes) : notes_(notes) {}
  platform::RegStatus QueryInfo(platform::RegKey key, const std::string& name, std::uint32_t& type,
                                std::uint32_t& size) override {
    notes_.Add("query " + name);
    return FakeRegistry::QueryInfo(key, name, type, size);
  }
  platform::RegStatus DeleteValue(platform::RegKey key, const std::string& name) override {
    notes_.Add("delete value " + name);
    return FakeRegistry::DeleteValue(key, name);
  }

 private:
  Notes& notes_;
};

inline const std::string kProfile = "C:\\users\\tester\\";
inline const std::string kCookies = kProfile + "Cookies\\";
inline const std::string kHistory = kProfile + "History\\";
inline const std::string kCache = kProfile + "Cache\\";
inline const std::string kMainName = "Veltrane";
inline const std::string kDetailsName = "Veltrane - Details";

class ActionsTest : public ::testing::Test {
 protected:
  ActionsTest() {
    runtime.SetControlNames({
        {ids::Status_Cookies, "Status_Cookies"},
        {ids::Status_History, "Status_History"},
        {ids::Status_Cache, "Status_Cache"},
        {ids::Command_Scan, "Command_Scan"},
        {ids::Command_Remove, "Command_Remove"},
        {ids::Check_Wipe, "Check_Wipe"},
        {ids::Combo_Pass, "Combo_Pass"},
        {ids::Label_Cookies_Details, "Label_Cookies_Details"},
        {ids::Label_History_Details, "Label_History_Details"},
        {ids::List_Details, "List_Details"},
        {ids::Details_Command_Close, "Command_Close"},
        {ids::Details_Shape1, "Shape1"},
        {ids::Label_Msg, "Label_Msg"},
    });
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

  fake::FakeRuntime runtime;
  Notes notes{runtime};
  RecordingRegistry registry{notes};
  RecordingFiles files{notes};
  fake::FakeDesktop desktop;
  fake::FakeLauncher launcher;
  platform::Services services{registry, files, desktop, launcher, runtime};
  AppContext app{services};
  std::unique_ptr<FormMain> formMain;
  platform::Form* mainForm = nullptr;
};

}  // namespace veltrane::testing
