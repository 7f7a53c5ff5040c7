#include <vector>

#include "core/control_ids.h"
#include "cases.h"
#include "platform/win32/handles.h"
#include "probe.h"
#include "seed.h"
#include "wait.h"

namespace e2e {

namespace ids = veltrane::ids;

namespace {

bool EndsWithTxt(const std::wstring& name) {
  return name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".txt") == 0;
}

// The cookie lines in the order the folder lists its files, which is the
// order the scan keeps them in.
std::vector<std::wstring> ExpectedCookieLines(const Profile& profile) {
  std::vector<std::wstring> lines = {L"Domains that have saved a cookie on your HD:", L""};
  WIN32_FIND_DATAW found{};
  const veltrane::win32::FindHandle find(FindFirstFileW((profile.cookies + L"*").c_str(), &found));
  if (!find) return lines;
  do {
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (!EndsWithTxt(found.cFileName)) continue;
    for (const SeedFile& file : SeedFiles())
      if (file.root == Root::Cookies && _wcsicmp(file.path, found.cFileName) == 0 && file.domain) {
        const std::string domain = file.domain;
        lines.emplace_back(domain.begin(), domain.end());
      }
  } while (FindNextFileW(find.Get(), &found));
  return lines;
}

std::vector<std::wstring> ExpectedUrlLines() {
  std::vector<std::wstring> lines = {L"URLs found in registry:", L""};
  for (const SeedValue& value : SeedTypedUrls())
    if (value.inList) lines.emplace_back(value.data);
  return lines;
}

std::string Lines(const std::vector<std::wstring>& lines) {
  std::string out = "[";
  for (const std::wstring& line : lines) out += (out.size() > 1 ? ", " : "") + Quote(line);
  return out + "]";
}

// Clicks `id` on the main window and checks the details window it opens.
void ExpectDetails(Case& c, const Session& s, int id, const char* name, const std::vector<std::wstring>& want,
                   const wchar_t* screenshot) {
  if (!Clicked(c, s, id, name))
    return;
  HWND details = nullptr;
  if (!c.Check(WaitFor([&] { return IsShown(details = s.DetailsWindow()); }, kEffectTimeoutMs),
               std::string("no details window after a click on ") + name))
    return;
  const HWND list = FindControl(details, ids::List_Details);
  std::vector<std::wstring> got;
  WaitFor([&] { return (got = ListLines(list)) == want; }, kEffectTimeoutMs);
  c.Check(got == want, std::string("after ") + name + " the list holds " + Lines(got) + ", expected " + Lines(want));
  c.Expect(Text(details), L"Veltrane - Details", "the details window's caption");
  c.Expect(Text(FindControl(details, ids::Details_Command_Close)), L"CLOSE", "the details button");
  if (screenshot) s.Screenshot(details, screenshot);
}

void CloseDetails(Case& c, const Session& s) {
  const HWND details = s.DetailsWindow();
  if (!Clicked(c, s, ids::Details_Command_Close, "Details_Command_Close", details))
    return;
  c.Check(WaitFor([&] { return !IsWindowVisible(details); }, kEffectTimeoutMs), "the details window stays after CLOSE");
  c.Check(IsWindow(details) != FALSE, "CLOSE destroyed the details window");
}

}  // namespace

void RunDetailsCases(Report& report, const Session& s, const Profile& profile) {
  const std::vector<std::wstring> cookies = ExpectedCookieLines(profile);
  const std::vector<std::wstring> urls = ExpectedUrlLines();
  RECT firstPlace{};

  report.Run("details_cookie_domains_from_row_and_close", [&](Case& c) {
    ExpectDetails(c, s, ids::Status_Cookies, "Status_Cookies", cookies, L"details-cookies");
    GetWindowRect(s.DetailsWindow(), &firstPlace);
    CloseDetails(c, s);
  });

  report.Run("details_cookie_domains_from_link_reopen_in_place", [&](Case& c) {
    ExpectDetails(c, s, ids::Label_Cookies_Details, "Label_Cookies_Details", cookies, nullptr);
    RECT place{};
    GetWindowRect(s.DetailsWindow(), &place);
    c.Check(EqualRect(&place, &firstPlace) != FALSE, "the details window moved between two requests");
    int windows = 0;
    for (HWND w : TopWindows(s.Pid()))
      if (FindControl(w, ids::List_Details)) ++windows;
    c.Check(windows == 1, std::to_string(windows) + " details windows");
    CloseDetails(c, s);
  });

  report.Run("details_typed_urls_from_row", [&](Case& c) {
    ExpectDetails(c, s, ids::Status_History, "Status_History", urls, L"details-typed-urls");
    CloseDetails(c, s);
  });

  report.Run("details_typed_urls_from_link", [&](Case& c) {
    ExpectDetails(c, s, ids::Label_History_Details, "Label_History_Details", urls, nullptr);
    CloseDetails(c, s);
  });

  report.Run("cache_row_opens_nothing", [&](Case& c) {
    if (!Clicked(c, s, ids::Status_Cache, "Status_Cache"))
      return;
    // The row took the click; once its program is idle again, the click has
    // done all it does.
    c.Check(WaitProgramIdle(s.Main()), "the program stays busy after a click on Status_Cache");
    c.Check(!IsShown(s.DetailsWindow()), "a click on Status_Cache shows the details window");
  });
}

}  // namespace e2e
