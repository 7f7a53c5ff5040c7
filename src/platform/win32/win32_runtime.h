#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/runtime.h"
#include "platform/win32/art_library.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/handles.h"

namespace veltrane::win32 {

class Win32Form;

// The window runtime on user32. Forms it creates must not outlive it; any
// left when it goes lose their windows.
//
// "Let pending events run" costs a queue call (~90 us under Wine), so
// DoEvents pumps only when the pump interval (kPumpIntervalMs unless told)
// has passed since the last pump; in between it costs a tick-count read. Label texts set meanwhile are only
// stored, and repainted when the pump runs, the event loop goes idle, or
// PaintChanges finds its interval (kPaintIntervalMs) passed. A list box that
// fills is redrawn whole, so the pump redraws it only at that interval.
class Win32Runtime final : public platform::Runtime {
 public:
  static constexpr std::uint64_t kPumpIntervalMs = 15;
  static constexpr std::uint64_t kPaintIntervalMs = 100;

  // Artwork, icon, cursor and version come from `module`'s resources.
  explicit Win32Runtime(HINSTANCE module = GetModuleHandleW(nullptr),
                        std::uint64_t pumpIntervalMs = kPumpIntervalMs);
  ~Win32Runtime() override;
  Win32Runtime(const Win32Runtime&) = delete;
  Win32Runtime& operator=(const Win32Runtime&) = delete;

  std::unique_ptr<platform::Form> CreateForm(const platform::FormDesign& design,
                                             platform::FormEvents& events) override;
  int ShowMessage(const std::string& text, const std::string& title, int style) override;
  platform::Version ProgramVersion() const override;
  [[noreturn]] void End() override;
  int Run() override;
  void DoEvents() override;
  void PaintChanges() override;

  // For the forms.
  HINSTANCE Module() const { return module_; }
  ArtLibrary& Artwork() { return art_; }
  FontCache& Fonts() { return fonts_; }
  // Loads the common controls on first use (tool tips); false when they
  // cannot be had. They stay until the runtime, and every form, has gone.
  bool LoadCommonControls();
  void Forget(const Win32Form& form);

 private:
  void Dispatch(MSG& msg);
  // Filling lists too when `lists`, else only the labels.
  void FlushTexts(bool lists);

  ModuleHandle commonControls_;  // first: freed after every window of theirs
  HINSTANCE module_;
  ArtLibrary art_;
  FontCache fonts_;
  std::vector<Win32Form*> forms_;  // in creation order: the first is the main window
  std::uint64_t pumpIntervalMs_;
  std::uint64_t lastPump_ = 0;
  std::uint64_t lastPaint_ = 0;
  std::uint64_t lastListFlush_ = 0;
};

}  // namespace veltrane::win32
