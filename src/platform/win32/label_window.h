#pragma once
#include <windows.h>

#include <string>

namespace veltrane::win32 {

// What a label needs from the window it lies on.
class LabelHost {
 public:
  // Paints into `dc` what the window itself shows under a control whose
  // top-left corner is at `origin` in the window's client area.
  virtual void PaintUnder(HDC dc, POINT origin) = 0;
  virtual void LabelClicked(int id) = 0;

 protected:
  ~LabelHost() = default;
};

// A label draws its text; a picture its bitmap; a frame only holds its
// caption for readers and shows the window's surface, where the window
// itself paints the frame.
enum class LabelRole { Label, Picture, Frame };

struct LabelLook {
  LabelRole role = LabelRole::Label;
  HFONT font = nullptr;
  COLORREF fore = RGB(0, 0, 0);
  bool transparent = false;  // the window's surface shows behind the text
  COLORREF back = RGB(255, 255, 255);
  UINT align = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT
  bool border = false;   // a one-pixel line around it
  bool wordWrap = false;
  HBITMAP bitmap = nullptr;  // a picture's, unscaled inside the border; none: the surface shows
};

// A label, picture or frame: a child window of our own class that keeps its text
// in this process and paints itself. SetText only stores; the text reaches
// the screen (and the window manager, for other processes' GetWindowText)
// at Flush, which the runtime calls when events run. WM_GETTEXT is always
// answered from the stored text.
class LabelWindow {
 public:
  static constexpr const wchar_t* kLabelClass = L"VeltraneLabel";
  static constexpr const wchar_t* kPictureClass = L"VeltranePicture";
  static constexpr const wchar_t* kFrameClass = L"VeltraneFrame";
  static void RegisterClasses(HINSTANCE module);

  LabelWindow(HWND parent, int id, RECT rect, const LabelLook& look, std::string text, LabelHost& host);
  ~LabelWindow();
  LabelWindow(const LabelWindow&) = delete;
  LabelWindow& operator=(const LabelWindow&) = delete;

  HWND Hwnd() const { return hwnd_; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  bool Dirty() const { return dirty_; }
  void Flush();
  // Paints the whole control into `dc` with its top-left corner at (0, 0).
  void Paint(HDC dc);
  bool IsOpaquePicture() const { return look_.role == LabelRole::Picture && look_.bitmap; }

 private:
  template <typename Window>
  friend LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnAttach(HWND hwnd) { hwnd_ = hwnd; }
  void OnDetach() { hwnd_ = nullptr; }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnPaint();
  void OnButtonUp(LPARAM lp);
  LRESULT OnGetText(WPARAM capacity, wchar_t* buffer) const;

  HWND hwnd_ = nullptr;
  int id_;
  POINT origin_;
  LabelLook look_;
  std::string text_;
  LabelHost& host_;
  bool dirty_ = false;
  bool pressed_ = false;
};

}  // namespace veltrane::win32
