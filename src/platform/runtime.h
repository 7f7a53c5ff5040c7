#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/desktop.h"
#include "platform/event_pump.h"
#include "platform/form_design.h"

namespace veltrane::platform {

// What a window's controls raise. Handlers run on the GUI thread, from the
// event loop or nested inside DoEvents.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void OnClick(int /*id*/) {}
  virtual void OnKeyUp(int /*id*/, int /*key*/, int /*shift*/) {}
  virtual void OnTimer(int /*id*/) {}
  // The user closed the window (close box, Alt+F4, system menu).
  virtual void OnClose() {}
};

constexpr int kPointerDefault = 0, kPointerHourglass = 11;
constexpr int kMsgOkOnly = 0, kMsgOkCancel = 1;
constexpr int kAnswerOk = 1, kAnswerCancel = 2;

// One window built from its design. Controls are addressed by design id.
class Form {
 public:
  virtual ~Form() = default;
  virtual WindowHandle Handle() const = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual std::string Caption() const = 0;
  // Shown modeless; centred on the screen the first time, where it was after.
  virtual void Show() = 0;
  virtual void Hide() = 0;  // the window and its controls stay
  virtual bool IsShown() const = 0;
  virtual void SetMousePointer(int pointer) = 0;
  virtual int MousePointer() const = 0;
  virtual void Repaint() = 0;

  // Caption of a label, button or frame; the text of a combo box's field.
  virtual void SetText(int id, const std::string& text) = 0;
  virtual std::string Text(int id) const = 0;
  virtual void SetEnabled(int id, bool enabled) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void SetVisible(int id, bool visible) = 0;
  virtual void SetFocus(int id) = 0;

  // Check box: 0 unticked, 1 ticked. A change made here raises OnClick(id)
  // before it returns, exactly as the user's click does.
  virtual int CheckValue(int id) const = 0;
  virtual void SetCheckValue(int id, int value) = 0;

  // Combo box and list box items; ListIndex -1 = no item selected.
  virtual void ClearItems(int id) = 0;
  virtual void AddItem(int id, const std::string& text) = 0;
  virtual int ItemCount(int id) const = 0;
  virtual std::string Item(int id, int index) const = 0;
  virtual int ListIndex(int id) const = 0;
  virtual void SetListIndex(int id, int index) = 0;

  virtual void SetTimerEnabled(int id, bool enabled) = 0;
  virtual bool TimerEnabled(int id) const = 0;
};

struct Version {
  int major = 0, minor = 0, revision = 0;
};

// The window runtime: forms, message boxes, the event loop.
class Runtime : public EventPump {
 public:
  // The form is created hidden; `events` must outlive it.
  virtual std::unique_ptr<Form> CreateForm(const FormDesign& design, FormEvents& events) = 0;
  // Modal, no icon, first button default: kMsgOkOnly returns kAnswerOk,
  // kMsgOkCancel returns kAnswerOk or kAnswerCancel.
  virtual int ShowMessage(const std::string& text, const std::string& title, int style) = 0;
  virtual Version ProgramVersion() const = 0;
  // Ends the program at once with every window; does not return.
  [[noreturn]] virtual void End() = 0;
  // Puts what changed on the windows on the screen, handling no event: no
  // input, timer, close or posted message runs here, so it may stand where
  // events must not run. Cheap enough to call after every item; the real
  // runtime paints only every so often.
  virtual void PaintChanges() = 0;
  // Runs the event loop until the program ends; returns its exit code.
  virtual int Run() = 0;
};

}  // namespace veltrane::platform
