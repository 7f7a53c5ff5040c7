#include "platform/win32/win32_runtime.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/win32/label_window.h"
#include "platform/win32/system_library.h"
#include "platform/win32/utf.h"
#include "platform/win32/version_resource.h"
#include "platform/win32/win32_form.h"

namespace veltrane::win32 {

Win32Runtime::Win32Runtime(HINSTANCE module, std::uint64_t pumpIntervalMs)
    : module_(module), art_(module), pumpIntervalMs_(pumpIntervalMs) {
  Win32Form::RegisterWindowClass(module_);
  LabelWindow::RegisterClasses(module_);
}

Win32Runtime::~Win32Runtime() {
  for (Win32Form* form : forms_) form->RuntimeGone();
}

std::unique_ptr<platform::Form> Win32Runtime::CreateForm(const platform::FormDesign& design,
                                                         platform::FormEvents& events) {
  auto form = std::make_unique<Win32Form>(*this, design, events);
  forms_.push_back(form.get());
  return form;
}

void Win32Runtime::Forget(const Win32Form& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
}

bool Win32Runtime::LoadCommonControls() {
  if (commonControls_) return true;
  ModuleHandle library = LoadSystemLibrary(L"comctl32.dll");
  if (!library) return false;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void*>(GetProcAddress(library.Get(), "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  if (!init || !init(&controls)) return false;
  commonControls_ = std::move(library);
  return true;
}

// Modal to the main window, no icon, the first button the default.
int Win32Runtime::ShowMessage(const std::string& text, const std::string& title, int style) {
  FlushTexts(true);
  const UINT buttons = style == platform::kMsgOkCancel ? MB_OKCANCEL : MB_OK;
  HWND owner = forms_.empty() ? nullptr : forms_.front()->Hwnd();
  const int answer = MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(),
                                 buttons | MB_DEFBUTTON1 | MB_APPLMODAL);
  // Escape or the close box on an OK-only box also gives IDOK.
  return answer == IDOK ? platform::kAnswerOk : platform::kAnswerCancel;
}

platform::Version Win32Runtime::ProgramVersion() const {
  HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // VS_VERSION_INFO, RT_VERSION
  HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  const std::span block(static_cast<const std::uint8_t*>(data), SizeofResource(module_, found));
  return ParseVersionInfo(block).value_or(platform::Version{});
}

// Nothing is saved, so nothing needs to run on the way out: every window of
// the process goes with it, also from inside a running action.
void Win32Runtime::End() { ExitProcess(0); }

int Win32Runtime::Run() {
  MSG msg;
  for (;;) {
    FlushTexts(true);
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    Dispatch(msg);
  }
}

void Win32Runtime::DoEvents() {
  if (GetTickCount64() - lastPump_ < pumpIntervalMs_) return;
  // Stamped before pumping too, so that a handler run here that lets events
  // run itself does not pump again at once.
  lastPump_ = GetTickCount64();
  const bool lists = lastPump_ - lastListFlush_ >= kPaintIntervalMs;
  if (lists) lastListFlush_ = lastPump_;
  FlushTexts(lists);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // WM_QUIT belongs to the outer loop: put it back for Run to see.
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
  lastPump_ = GetTickCount64();
}

void Win32Runtime::PaintChanges() {
  const std::uint64_t now = GetTickCount64();
  if (now - lastPaint_ < kPaintIntervalMs) return;
  lastPaint_ = now;
  for (Win32Form* form : forms_) form->PaintChanges();
}

void Win32Runtime::Dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  const auto form = std::find_if(forms_.begin(), forms_.end(),
                                 [&](const Win32Form* f) { return root && f->Hwnd() == root; });
  if (form != forms_.end() && (*form)->PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Runtime::FlushTexts(bool lists) {
  for (Win32Form* form : forms_) form->FlushTexts(lists);
}

}  // namespace veltrane::win32
