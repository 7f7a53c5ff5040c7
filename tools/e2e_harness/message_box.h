#pragma once
#include <windows.h>

#include <string>

namespace e2e {

// A message box is a #32770 dialog: its prompt is a static control, its
// buttons answer IDOK and IDCANCEL.
struct MessageBoxSeen {
  HWND box = nullptr;
  std::wstring title;
  std::wstring text;
  bool hasOk = false;
  bool hasCancel = false;
};

// The first visible message box of the process within the time; box null if none.
MessageBoxSeen WaitMessageBox(DWORD pid, DWORD timeoutMs);
// Presses the button with a real click; if the click cannot be given or the
// box is still there after it, posts the button's command instead and says so
// in `how`.
bool AnswerMessageBox(HWND box, int buttonId, std::string& how);

}  // namespace e2e
