#pragma once
#include <string>

#include "report.h"
#include "session.h"

namespace e2e {

// The cases, grouped by what they need of the program.
void RunStartupCases(Report& report, const Settings& settings);
void RunRoadCases(Report& report, const Settings& settings);
void RunWindowCases(Report& report, const Settings& settings);
void RunInterruptCases(Report& report, const Settings& settings);
// Only on request: they expect a prefix without the fonts the tools add.
void RunStockFontCases(Report& report, const Settings& settings);
// The https handler that RunWindowCases registers: appends the address and the
// window state it was started with to `record`.
int RecordOpened(const wchar_t* record, const wchar_t* address);

// Pieces the groups share.
constexpr const wchar_t* kPassItems[] = {L"1 Pass    (normal)", L"3 Passes (secure)", L"7 Passes (ultra-secure)"};
// Chooses an item of the pass list with the mouse from its drop-down list;
// falls back to CB_SETCURSEL (which runs none of the program's code, as a
// mouse choice does not either) and says so in `how`.
bool ChoosePassByMouse(const Session& session, int index, std::string& how);
// Clicks control `id` of `top` (the main window when null); when the click
// cannot be given, fails the case with "cannot click <what>: " and the reason.
bool Clicked(Case& c, const Session& session, int id, const std::string& what, HWND top = nullptr);
// Answers the box that a click raised; checks its text, title and buttons.
void ExpectMessageBox(Case& c, const Session& session, const std::wstring& text, const std::wstring& title,
                      bool okCancel, int answer);

}  // namespace e2e

namespace e2e {
struct Profile;
// The details window, after a scan of the seeded profile.
void RunDetailsCases(Report& report, const Session& session, const Profile& profile);
}  // namespace e2e
