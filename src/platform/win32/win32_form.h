#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "platform/win32/gdi.h"
#include "platform/win32/label_window.h"

namespace veltrane::win32 {

class Win32Runtime;

// One top-level window built from its design. Every control with a window is
// a child whose id is its design id, so another process finds it with
// GetDlgItem. Shapes, lines and frames are painted by the form itself; a
// frame also has a child window that holds its caption for readers.
class Win32Form final : public platform::Form, private LabelHost {
 public:
  static constexpr const wchar_t* kClass = L"VeltraneForm";
  static void RegisterWindowClass(HINSTANCE module);

  Win32Form(Win32Runtime& runtime, const platform::FormDesign& design, platform::FormEvents& events);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  HWND Hwnd() const { return hwnd_; }
  // The runtime is going: the window goes with it, the object stays inert.
  void RuntimeGone();
  // Labels whose text changed since the last call are repainted, and list
  // boxes that items were added to when `lists`.
  void FlushTexts(bool lists);
  // The changed texts, and whatever else waits to be painted (what a closed
  // message box uncovered), painted now; no message is taken from the queue.
  void PaintChanges();
  // Keyboard handling of a message for this window or its children, before
  // it is dispatched; true when it has been handled.
  bool PreTranslate(MSG& msg);

  platform::WindowHandle Handle() const override;
  void SetCaption(const std::string& text) override;
  std::string Caption() const override { return caption_; }
  void Show() override;
  void Hide() override;
  bool IsShown() const override;
  void SetMousePointer(int pointer) override;
  int MousePointer() const override { return pointer_; }
  void Repaint() override;

  void SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  void SetEnabled(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void SetVisible(int id, bool visible) override;
  void SetFocus(int id) override;

  int CheckValue(int id) const override;
  void SetCheckValue(int id, int value) override;

  void ClearItems(int id) override;
  void AddItem(int id, const std::string& text) override;
  int ItemCount(int id) const override;
  std::string Item(int id, int index) const override;
  int ListIndex(int id) const override;
  void SetListIndex(int id, int index) override;

  void SetTimerEnabled(int id, bool enabled) override;
  bool TimerEnabled(int id) const override;

 private:
  struct Control {
    platform::ControlDesign design;  // its texts are read only while building
    RECT rect{};                     // pixels in the form's client area; lines: the end points
    HWND hwnd = nullptr;             // none for shapes, lines and timers
    std::unique_ptr<LabelWindow> label;  // labels, pictures and frames
    bool visible = true;
    bool timerOn = false;
    bool quiet = false;  // list box: redraw off since an item was added
    BrushHandle back;                // check box: its own back colour
    // Combo box: the procedures its window and its edit field had before
    // KeyUpProc took their messages.
    WNDPROC comboNext = nullptr;
    HWND field = nullptr;
    WNDPROC fieldNext = nullptr;
  };

  template <typename Window>
  friend LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnAttach(HWND hwnd) { hwnd_ = hwnd; }
  void OnDetach();
  static LRESULT CALLBACK KeyUpProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Subclass(HWND hwnd, WNDPROC& next);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

  void Build(const platform::FormDesign& design);
  void CreateChild(Control& c);
  void AddTooltips();
  Control& At(int id);
  const Control& At(int id) const;
  Control* FindByHwnd(HWND hwnd);
  const Control* FindByField(HWND hwnd) const;  // a combo box's text field

  void OnPaint();
  void OnCommand(HWND control, int code);
  void OnTimer(int id);
  void OnClose();
  bool OnSetCursor(HWND under, int hitTest);
  HBRUSH OnControlColour(HDC dc, HWND control);
  void OnActivate(bool active);
  void PaintSurface(HDC dc);
  void PaintFrame(HDC dc, const Control& frame);
  void PaintUnder(HDC dc, POINT origin) override;
  void LabelClicked(int id) override;
  void RaiseClick(int id);
  void ApplyPointerNow();

  Win32Runtime* runtime_;  // null once the runtime has gone (and the window with it)
  platform::FormEvents& events_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::vector<Control> controls_;
  std::string caption_;
  COLORREF backColour_;
  BrushHandle backBrush_;
  HBITMAP background_ = nullptr;
  BrushHandle backgroundBrush_;  // the background as a pattern, for the check box
  bool closeHides_;
  bool placed_ = false;
  bool textsDirty_ = false;
  int pointer_ = platform::kPointerDefault;
};

}  // namespace veltrane::win32
