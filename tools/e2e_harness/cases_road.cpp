#include <array>
#include <set>

#include "core/control_ids.h"
#include "cases.h"
#include "message_box.h"
#include "platform/win32/handles.h"
#include "probe.h"
#include "seed.h"
#include "wait.h"

namespace e2e {

namespace ids = veltrane::ids;

namespace {

constexpr const wchar_t* kSummary =
    L"All data has been deleted!\r\n\r\nIt's possible that some files are always\r\n"
    L"present in the cache / history directories.\r\n\r\n"
    L"These files cannot be deleted because are locked by Windows.";
constexpr const wchar_t* kNotFound = L"ERROR: registry key not found";

using Rows = std::array<std::wstring, 3>;
constexpr int kRowIds[] = {ids::Status_Cookies, ids::Status_History, ids::Status_Cache};

Rows ReadRows(const Session& s) {
  Rows rows;
  for (int i = 0; i < 3; ++i) rows[i] = Text(s.Control(kRowIds[i]));
  return rows;
}

void ExpectRows(Case& c, const Session& s, const Rows& want, const std::string& when) {
  Rows got;
  WaitFor([&] { return (got = ReadRows(s)) == want; }, kEffectTimeoutMs);
  for (int i = 0; i < 3; ++i) c.Expect(got[i], want[i], when + ": " + ids::NameOf(kRowIds[i]));
}

Rows ScanRows() {
  return {L" Found: " + std::to_wstring(ListedCount(Root::Cookies)) + L" cookies",
          L" Found: " + std::to_wstring(TypedUrlCount()) + L" URL - " + std::to_wstring(ListedCount(Root::History)) +
              L" Files",
          L" Found: " + std::to_wstring(ListedCount(Root::Cache)) + L" files"};
}

const Rows kRemovedRows = {L" Cookies erased", L" Registry urls / History files erased", L" Cache files erased"};

// Every seeded file as it should stand; `removed` says whether a removal ran,
// `held` names files the harness kept open (they cannot be deleted either).
void ExpectFiles(Case& c, const Profile& profile, bool removed, const std::set<std::wstring>& held = {}) {
  int wrong = 0;
  for (const SeedFile& file : SeedFiles()) {
    const std::wstring path = profile.PathOf(file.root, file.path);
    const bool gone = removed && file.fate == Fate::Erased && !held.count(file.path);
    const auto bytes = ReadBytes(path);
    std::string problem;
    if (gone && bytes) problem = "is still there";
    if (!gone && !bytes) problem = "is gone";
    if (!gone && bytes && *bytes != ContentOf(file)) problem = "changed content";
    if (!gone && bytes && AttributesOf(path) != ExpectedAttributes(file.kind))
      problem = "changed attributes to " + std::to_string(AttributesOf(path));
    if (!problem.empty() && ++wrong <= 8) c.Fail(Utf8(path) + " " + problem);
  }
  if (wrong > 8) c.Fail(std::to_string(wrong - 8) + " more files wrong");
}

void ExpectTypedUrls(Case& c, bool removed) {
  for (const SeedValue& value : SeedTypedUrls()) {
    const auto data = ReadString(kTypedUrlsKey, value.name);
    if (removed && value.inList)
      c.Check(!data, Utf8(value.name) + " is still there");
    else
      c.Check(data == std::wstring(value.data), Utf8(value.name) + " is " + (data ? Quote(*data) : "gone"));
  }
  c.Check(ValueCount(kTypedUrlsTimeKey) == 3,
          "TypedURLsTime holds " + std::to_string(ValueCount(kTypedUrlsTimeKey)) + " values, expected 3");
}

void ExpectSummary(Case& c, const Session& s) {
  HWND msg = nullptr;
  if (!c.Check(WaitFor([&] { return IsShown(msg = s.MessageWindow()); }, kEffectTimeoutMs),
               "no message window after the removal"))
    return;
  c.Expect(Text(FindControl(msg, ids::Label_Msg)), kSummary, "the summary");
}

void DismissMessageWindow(const Session& s) {
  const HWND msg = s.MessageWindow();
  std::string why;
  if (IsShown(msg) && s.ClickIn(msg, ids::Msg_Command_Close, why))
    WaitFor([&] { return !IsWindowVisible(msg); }, kEffectTimeoutMs);
}

// Opened without delete sharing.
veltrane::win32::FileHandle HoldOpen(const std::wstring& path) {
  return veltrane::win32::FileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
}

struct Road {
  const char* suffix;
  int passIndex;  // -1: wipe box unticked
  int scanId, removeId;
  bool details;
};

void MainRoad(Report& report, const Settings& settings, const Profile& profile, const Road& road) {
  const std::string tag = road.suffix;
  const SeedReport seeded = Seed(profile);
  if (road.passIndex < 0)
    for (const std::string& note : seeded.notes) report.Note(note);
  report.Run("seed_profile_" + tag, [&](Case& c) {
    for (const std::string& problem : seeded.problems) c.Fail(problem);
    for (const SeedFolder& folder : SeedFolders()) {
      const DWORD got = AttributesOf(profile.PathOf(folder.root, folder.path));
      c.Check(got == ExpectedAttributes(folder.kind), Utf8(folder.path) + " reports " + std::to_string(got) +
                                                          ", expected " + std::to_string(ExpectedAttributes(folder.kind)));
    }
  });

  Session s(settings);
  std::string why;
  const bool started = s.Start(why);

  if (road.passIndex >= 0)
    report.Run("choose_wipe_passes_" + tag, [&](Case& c) {
      if (!c.Check(started, why)) return;
      std::string how;
      if (!Clicked(c, s, ids::Check_Wipe, "Check_Wipe")) return;
      c.Check(WaitFor([&] { return IsWindowEnabled(s.Control(ids::Combo_Pass)) != FALSE; }, kEffectTimeoutMs),
              "the pass list stays disabled");
      c.Check(ChoosePassByMouse(s, road.passIndex, how), how);
      if (how != "mouse") report.Note("pass list choice: " + how);
    });

  report.Run("scan_rows_" + tag, [&](Case& c) {
    if (!c.Check(started, why)) return;
    if (!Clicked(c, s, road.scanId, "the scan control"))
      return;
    ExpectRows(c, s, ScanRows(), "after the scan");
    s.Screenshot(s.Main(), (L"after-scan-" + std::wstring(tag.begin(), tag.end())).c_str());
  });

  if (road.details && started) RunDetailsCases(report, s, profile);

  report.Run("remove_cancel_changes_nothing_" + tag, [&](Case& c) {
    if (!c.Check(started, why)) return;
    if (!Clicked(c, s, road.removeId, "the remove control"))
      return;
    ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDCANCEL);
    c.Check(WaitProgramIdle(s.Main()), "the program stays busy after Cancel");
    c.Check(ReadRows(s) == ScanRows(), "the rows changed after Cancel");
    ExpectFiles(c, profile, false);
    ExpectTypedUrls(c, false);
  });

  // With wipe passes, a file the harness holds open (no delete sharing)
  // cannot be deleted, so it must stay unwritten.
  const wchar_t* heldPath = L"History.IE5\\container.dat";
  veltrane::win32::FileHandle held = HoldOpen(road.passIndex >= 0 ? profile.PathOf(Root::History, heldPath) : L"");
  std::set<std::wstring> heldSet;
  if (held) heldSet.insert(heldPath);

  report.Run("remove_ok_rows_and_summary_" + tag, [&](Case& c) {
    if (!c.Check(started, why)) return;
    if (!Clicked(c, s, road.removeId, "the remove control"))
      return;
    const DWORD start = GetTickCount();
    ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDOK);
    ExpectRows(c, s, kRemovedRows, "after the removal");
    ExpectSummary(c, s);
    report.Note("removal " + tag + " took " + std::to_string(GetTickCount() - start) + " ms");
    s.Screenshot(s.Main(), (L"after-removal-" + std::wstring(tag.begin(), tag.end())).c_str());
    s.Screenshot(s.MessageWindow(), (L"message-window-summary-" + std::wstring(tag.begin(), tag.end())).c_str());
  });

  report.Run("remove_erased_listed_kept_the_rest_" + tag, [&](Case& c) {
    if (!c.Check(started, why)) return;
    if (road.passIndex >= 0) c.Check(bool(held), "could not hold a history file open");
    ExpectFiles(c, profile, true, heldSet);
    ExpectTypedUrls(c, true);
  });
  held.Reset();

  if (road.details)
    report.Run("rescan_after_removal_finds_what_stayed", [&](Case& c) {
      if (!c.Check(started, why)) return;
      DismissMessageWindow(s);
      if (!Clicked(c, s, road.scanId, "the scan control"))
        return;
      // Only the read-only history file could not go.
      ExpectRows(c, s,
                 {L" No cookies found", L" Found: 0 URL - " + std::to_wstring(UndeletableCount(Root::History)) + L" Files",
                  L" No cache file found"},
                 "after a second scan");
      // Let the next removal clear the scan flag again.
      if (!Clicked(c, s, road.removeId, "the remove control"))
        return;
      ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDOK);
      ExpectRows(c, s, kRemovedRows, "after the second removal");
      ExpectFiles(c, profile, true);
    });

  report.Run("requests_after_removal_are_refused_" + tag, [&](Case& c) {
    if (!c.Check(started, why)) return;
    DismissMessageWindow(s);
    for (int id : {int{ids::Status_History}, road.removeId}) {
      if (!Clicked(c, s, id, std::to_string(id)))
        continue;
      ExpectMessageBox(c, s, L"Scan your system first!", L"Veltrane", false, IDOK);
    }
    std::string closeWhy;
    c.Check(s.Close(closeWhy), closeWhy);
  });
}

void MissingShellFolders(Report& report, const Settings& settings, const Profile& profile) {
  Seed(profile);
  const ShellFoldersSwap away(nullptr);
  Session s(settings);
  std::string why;
  const bool started = s.Start(why);

  report.Run("scan_without_shell_folders", [&](Case& c) {
    if (!c.Check(started, why)) return;
    c.Check(!ReadProfile().Complete() && ReadProfile().cookies.empty(), "the Shell Folders values are still there");
    if (!Clicked(c, s, ids::Command_Scan, "Command_Scan")) return;
    ExpectRows(c, s, {kNotFound, kNotFound, kNotFound}, "after the scan");
  });

  report.Run("remove_without_shell_folders_shows_summary", [&](Case& c) {
    if (!c.Check(started, why)) return;
    if (!Clicked(c, s, ids::Command_Remove, "Command_Remove")) return;
    ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDOK);
    ExpectSummary(c, s);
    c.Check(ReadRows(s) == Rows{kNotFound, kNotFound, kNotFound}, "the rows changed");
    ExpectFiles(c, profile, false);
    ExpectTypedUrls(c, false);
    // The cache stage did not run, so the scan still counts: a second
    // removal asks again instead of refusing.
    DismissMessageWindow(s);
    if (!Clicked(c, s, ids::Command_Remove, "Command_Remove")) return;
    ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDCANCEL);
    std::string closeWhy;
    c.Check(s.Close(closeWhy), closeWhy);
  });
}

}  // namespace

void RunRoadCases(Report& report, const Settings& settings) {
  const Profile profile = ReadProfile();
  if (!profile.Complete()) {
    report.Run("profile_has_shell_folders", [](Case& c) { c.Fail("Cookies, History or Cache missing under Shell Folders"); });
    return;
  }
  MainRoad(report, settings, profile, {"no_wipe", -1, ids::Command_Scan, ids::Command_Remove, true});
  MainRoad(report, settings, profile, {"3_passes", 1, ids::Image_Scan, ids::Image_Remove, false});
  MissingShellFolders(report, settings, profile);
}

}  // namespace e2e
