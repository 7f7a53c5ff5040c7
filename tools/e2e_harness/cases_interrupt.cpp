// The program ended in the middle of a multi-pass wipe, by a close of its
// main window and by TerminateProcess, at several points of the wipe: the
// file being wiped must be gone, never left under its name partly
// overwritten, and the files the removal had not reached must be untouched.
// And the tree changed under the program between its scan and its removal:
// a History sub-folder swapped for a link to a folder outside, which holds
// files of the same names; those must come through byte for byte.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "cases.h"
#include "core/control_ids.h"
#include "platform/win32/handles.h"
#include "probe.h"
#include "seed.h"
#include "wait.h"

namespace e2e {

namespace ids = veltrane::ids;
using veltrane::win32::FileHandle;
using veltrane::win32::FindHandle;

namespace {

constexpr const wchar_t* kRoot = L"C:\\vinterrupt\\";
// Large enough that one pass takes a good while even on a quick disk.
constexpr DWORD kBigMiB = 160;
constexpr std::uint64_t kBigSize = std::uint64_t(kBigMiB) << 20;
constexpr const wchar_t* kBigName = L"big.txt";  // the only cookie file: the first the removal erases
constexpr int kSevenPasses = 2;                  // item of the pass list
constexpr DWORD kWipeTimeoutMs = 60000;

// Files of the stages after the cookies, which the removal never reaches here.
struct Bystander {
  Root root;
  const wchar_t* name;
  const char* content;
};
constexpr Bystander kBystanders[] = {
    {Root::History, L"visited.dat", "history entry, not reached"},
    {Root::History, L"index.dat", "history index, not reached"},
    {Root::Cache, L"page.htm", "<html>cached, not reached</html>"},
    {Root::Cache, L"logo.gif", "GIF89a not reached"},
};

enum class Point { FirstPass, FirstPassDone, MidWipe };
enum class Ending { Close, Kill };

Profile InterruptProfile() {
  const std::wstring root = kRoot;
  return {root + L"cookies\\", root + L"history\\", root + L"cache\\"};
}

void RemoveFolderFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const FindHandle find(FindFirstFileW((folder + L"*").c_str(), &found));
  if (!find) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(find.Get(), &found));
}

// The wiped file's bytes: no "0" anywhere, so any overwrite shows.
bool WriteBigFile(const std::wstring& path) {
  const FileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::string block(1 << 20, 'x');
  bool ok = true;
  for (DWORD i = 0; ok && i < kBigMiB; ++i) {
    DWORD written = 0;
    ok = WriteFile(file.Get(), block.data(), DWORD(block.size()), &written, nullptr) && written == block.size();
  }
  return ok;
}

bool Prepare(const Profile& profile, std::string& why) {
  CreateDirectoryW(kRoot, nullptr);
  for (Root root : {Root::Cookies, Root::History, Root::Cache}) {
    CreateDirectoryW(profile.Folder(root).c_str(), nullptr);
    RemoveFolderFiles(profile.Folder(root));
  }
  if (!WriteBigFile(profile.PathOf(Root::Cookies, kBigName))) {
    why = "cannot write the file to wipe (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  for (const Bystander& file : kBystanders) {
    const FileHandle h(CreateFileW(profile.PathOf(file.root, file.name).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const bool ok = h && WriteFile(h.Get(), file.content, DWORD(std::strlen(file.content)), &written, nullptr);
    if (!ok) {
      why = "cannot write " + Utf8(file.name);
      return false;
    }
  }
  return true;
}

std::uint64_t SizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

char FirstByte(const std::wstring& path) {
  const FileHandle h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
  char first = 0;
  DWORD got = 0;
  if (h) ReadFile(h.Get(), &first, 1, &got, nullptr);
  return got == 1 ? first : 0;
}

// Runs the removal with seven passes and returns when the program is at
// `point` of the wipe of the big file, which it must still be wiping.
bool ReachPoint(Case& c, Session& s, const Profile& profile, Point point) {
  std::string how;
  if (!Clicked(c, s, ids::Check_Wipe, "Check_Wipe")) return false;
  if (!c.Check(WaitFor([&] { return IsWindowEnabled(s.Control(ids::Combo_Pass)) != FALSE; }, kEffectTimeoutMs),
               "the pass list stays disabled"))
    return false;
  if (!c.Check(ChoosePassByMouse(s, kSevenPasses, how), how)) return false;
  if (!Clicked(c, s, ids::Command_Scan, "Command_Scan")) return false;
  const HWND cookies = s.Control(ids::Status_Cookies), cache = s.Control(ids::Status_Cache);
  if (!c.Check(WaitFor([&] { return Text(cache) == L" Found: 2 files" && Text(cookies) == L" Found: 1 cookies"; },
                       kEffectTimeoutMs),
               "the scan shows " + Quote(Text(cookies)) + " and " + Quote(Text(cache))))
    return false;
  if (!Clicked(c, s, ids::Command_Remove, "Command_Remove")) return false;
  ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDOK);
  if (c.Failed()) return false;

  // The row is set, and may be painted, before the file is opened: the
  // first pass has begun once the file's first byte is overwritten.
  const std::wstring erasing = L" Erasing cookies (1)";
  const std::wstring big = profile.PathOf(Root::Cookies, kBigName);
  const DWORD start = GetTickCount();
  // Looked at every millisecond: a pass may take only a few hundred of them.
  if (!c.Check(WaitFor([&] { return HeldText(cookies) == erasing && FirstByte(big) == '0'; }, kWipeTimeoutMs,
                       kEveryMillisecond),
               "the wipe never showed " + Quote(erasing) + " with the file overwritten at the start"))
    return false;
  if (point != Point::FirstPass) {
    // A pass ends past the old length: its tail goes beyond it.
    if (!c.Check(WaitFor([&] { return SizeOf(big) > kBigSize; }, kWipeTimeoutMs, kEveryMillisecond),
                 "the first pass never ended"))
      return false;
    if (point == Point::MidWipe) Sleep(2 * (GetTickCount() - start));  // about two passes more, of seven
  }
  return c.Check(s.Running() && HeldText(cookies) == erasing,
                 "the wipe was over before the point (" + Quote(HeldText(cookies)) + "): make the file larger");
}

void ExpectOutcome(Case& c, const Profile& profile) {
  const std::wstring big = profile.PathOf(Root::Cookies, kBigName);
  // The process's handles close as it ends; give the file system a moment.
  if (!WaitFor([&] { return AttributesOf(big) == INVALID_FILE_ATTRIBUTES; }, kEffectTimeoutMs)) {
    c.Fail(Utf8(big) + " is still there, " + std::to_string(SizeOf(big)) + " bytes" +
           (FirstByte(big) == '0' ? ", overwritten at the start" : ", not overwritten"));
  }
  for (const Bystander& file : kBystanders) {
    const std::wstring path = profile.PathOf(file.root, file.name);
    const auto bytes = ReadBytes(path);
    c.Check(bytes == std::string(file.content), Utf8(path) + (bytes ? " changed" : " is gone"));
  }
}

// A sub-folder of History, and the folder outside the profile that a link
// takes its place with once the scan has listed it.
constexpr const wchar_t* kSwapped = L"T";
constexpr const wchar_t* kMovedAway = L"T.moved";
constexpr const wchar_t* kOutside = L"C:\\vinterrupt\\outside\\";
struct Named {
  const wchar_t* name;
  const char* content;
};
constexpr Named kSwappedFiles[] = {{L"t1.bin", "trace one"}, {L"t2.bin", "trace two"}};
constexpr Named kOutsideFiles[] = {{L"t1.bin", "precious one, not a trace"}, {L"t2.bin", "precious two, not a trace"}};
constexpr Named kOtherTraces[] = {{L"visited.dat", "history entry"}, {L"page.htm", "<html>cached</html>"}};

// A unix program started from Wine (a unix one gives no process handle back),
// then a wait until `done` holds.
bool RunUnix(const wchar_t* program, std::wstring commandLine, const std::wstring& folder,
             const std::function<bool()>& done) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process))
    return false;
  const veltrane::win32::ProcessHandle started(process.hProcess);
  const veltrane::win32::ThreadHandle thread(process.hThread);
  return WaitFor(done, kEffectTimeoutMs);
}

// A link of the swapped folder's name to `kOutside`, as a unix link: what
// Wine shows as a link to a folder (folder + reparse point).
bool SwapForLink(const Profile& profile, std::string& why) {
  const std::wstring history = profile.Folder(Root::History);
  if (!MoveFileW((history + kSwapped).c_str(), (history + kMovedAway).c_str())) {
    why = "cannot move the History sub-folder away (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  const bool linked = RunUnix(L"Z:\\bin\\ln", std::wstring(L"ln -s ../outside ") + kSwapped, history, [&] {
    return AttributesOf(history + kSwapped + L"\\t1.bin") != INVALID_FILE_ATTRIBUTES;
  });
  if (!linked) why = "cannot make the link in place of the History sub-folder";
  return linked;
}

// The link goes as a link (rm never follows one), then the moved folder.
void UndoSwap(const Profile& profile) {
  const std::wstring history = profile.Folder(Root::History);
  if (AttributesOf(history + kSwapped) & FILE_ATTRIBUTE_REPARSE_POINT)
    RunUnix(L"Z:\\bin\\rm", std::wstring(L"rm ") + kSwapped, history,
            [&] { return AttributesOf(history + kSwapped) == INVALID_FILE_ATTRIBUTES; });
  for (const std::wstring& folder : {history + kMovedAway + L"\\", history + kSwapped + L"\\"}) {
    RemoveFolderFiles(folder);
    RemoveDirectoryW(folder.c_str());
  }
}

bool PrepareSwap(const Profile& profile, std::string& why) {
  CreateDirectoryW(kRoot, nullptr);
  CreateDirectoryW(kOutside, nullptr);
  RemoveFolderFiles(kOutside);
  for (Root root : {Root::Cookies, Root::History, Root::Cache}) {
    CreateDirectoryW(profile.Folder(root).c_str(), nullptr);
    RemoveFolderFiles(profile.Folder(root));
  }
  UndoSwap(profile);
  const std::wstring swapped = profile.PathOf(Root::History, kSwapped) + L"\\";
  CreateDirectoryW(swapped.c_str(), nullptr);
  bool ok = WriteBytes(profile.PathOf(Root::History, kOtherTraces[0].name), kOtherTraces[0].content) &&
            WriteBytes(profile.PathOf(Root::Cache, kOtherTraces[1].name), kOtherTraces[1].content);
  for (const Named& file : kSwappedFiles) ok = ok && WriteBytes(swapped + file.name, file.content);
  for (const Named& file : kOutsideFiles) ok = ok && WriteBytes(kOutside + std::wstring(file.name), file.content);
  if (!ok) why = "cannot write the files of the case (error " + std::to_string(GetLastError()) + ")";
  return ok;
}

// Scan, swap, remove with `passIndex` (-1: no wipe); the outside files must
// keep their bytes, the other traces must go.
void SwappedFolderCase(Case& c, const Settings& settings, const Profile& profile, int passIndex) {
  std::string why;
  if (!c.Check(PrepareSwap(profile, why), why)) return;
  Session s(settings);
  if (!c.Check(s.Start(why), why)) return;
  if (passIndex >= 0) {
    std::string how;
    if (!Clicked(c, s, ids::Check_Wipe, "Check_Wipe")) return;
    if (!c.Check(WaitFor([&] { return IsWindowEnabled(s.Control(ids::Combo_Pass)) != FALSE; }, kEffectTimeoutMs),
                 "the pass list stays disabled"))
      return;
    if (!c.Check(ChoosePassByMouse(s, passIndex, how), how)) return;
  }
  if (!Clicked(c, s, ids::Command_Scan, "Command_Scan")) return;
  const HWND history = s.Control(ids::Status_History), cache = s.Control(ids::Status_Cache);
  const std::wstring historyFound = L" URL - 3 Files";
  if (!c.Check(WaitFor([&] {
                 const std::wstring row = Text(history);
                 return Text(cache) == L" Found: 1 files" && row.size() > historyFound.size() &&
                        row.compare(row.size() - historyFound.size(), historyFound.size(), historyFound) == 0;
               }, kEffectTimeoutMs),
               "the scan shows " + Quote(Text(history)) + " and " + Quote(Text(cache))))
    return;
  c.Check(WaitProgramIdle(s.Main()), "the program stays busy after the scan");
  if (!c.Check(SwapForLink(profile, why), why)) return;
  if (!Clicked(c, s, ids::Command_Remove, "Command_Remove")) return;
  ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDOK);
  if (c.Failed()) return;
  c.Check(WaitFor([&] { return Text(cache) == L" Cache files erased"; }, kEffectTimeoutMs),
          "the removal never ended: " + Quote(Text(cache)));
  c.Check(WaitProgramIdle(s.Main()), "the program stays busy after the removal");
  for (const Named& file : kOutsideFiles) {
    const std::wstring path = kOutside + std::wstring(file.name);
    const auto bytes = ReadBytes(path);
    c.Check(bytes == std::string(file.content),
            Utf8(path) + (bytes ? " changed: " + Quote(std::wstring(bytes->begin(), bytes->end())) : " is gone"));
  }
  c.Check(AttributesOf(profile.PathOf(Root::History, kOtherTraces[0].name)) == INVALID_FILE_ATTRIBUTES,
          "the History file outside the swapped folder stayed");
  c.Check(AttributesOf(profile.PathOf(Root::Cache, kOtherTraces[1].name)) == INVALID_FILE_ATTRIBUTES,
          "the Cache file stayed");
  c.Check(s.Close(why), why);
}

}  // namespace

void RunInterruptCases(Report& report, const Settings& settings) {
  const Profile profile = InterruptProfile();
  const ShellFoldersSwap swap(&profile);
  const struct {
    Ending ending;
    Point point;
    const char* name;
  } attempts[] = {
      {Ending::Close, Point::FirstPass, "wipe_closed_in_first_pass"},
      {Ending::Close, Point::FirstPassDone, "wipe_closed_after_first_pass"},
      {Ending::Close, Point::MidWipe, "wipe_closed_mid_wipe"},
      {Ending::Kill, Point::FirstPass, "wipe_killed_in_first_pass"},
      {Ending::Kill, Point::FirstPassDone, "wipe_killed_after_first_pass"},
      {Ending::Kill, Point::MidWipe, "wipe_killed_mid_wipe"},
  };
  for (const auto& attempt : attempts) {
    report.Run(attempt.name, [&](Case& c) {
      std::string why;
      if (!c.Check(Prepare(profile, why), why)) return;
      Session s(settings);
      if (!c.Check(s.Start(why), why)) return;
      if (!ReachPoint(c, s, profile, attempt.point)) return;
      const bool ended = attempt.ending == Ending::Close ? s.Close(why) : s.Kill(why);
      if (!c.Check(ended, why)) return;
      ExpectOutcome(c, profile);
    });
  }
  report.Run("swapped_folder_link_no_wipe_keeps_the_outside_files",
             [&](Case& c) { SwappedFolderCase(c, settings, profile, -1); });
  report.Run("swapped_folder_link_1_pass_keeps_the_outside_files",
             [&](Case& c) { SwappedFolderCase(c, settings, profile, 0); });
  UndoSwap(profile);
  RemoveFolderFiles(kOutside);
  RemoveDirectoryW(kOutside);
  for (Root root : {Root::Cookies, Root::History, Root::Cache}) {
    RemoveFolderFiles(profile.Folder(root));
    RemoveDirectoryW(profile.Folder(root).c_str());
  }
  RemoveDirectoryW(kRoot);
}

}  // namespace e2e
