#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "veltrane_version.h"

namespace veltrane::fake {

// Thrown by FakeRuntime::End(): nothing after the call runs, as with the real
// runtime's immediate end. A test catches it.
struct ProgramEnded {};

struct MessageBoxCall {
  std::string text, title;
  int style = platform::kMsgOkOnly;
  int answer = platform::kAnswerOk;
};

class FakeRuntime;

// One headless window. It keeps every piece of state the Form interface
// exposes; what changes is also written to the runtime's log. Addressing a
// control the design does not hold throws std::out_of_range, and focusing a
// disabled or invisible control throws std::logic_error: both are faults of
// the program under test (the real runtime would fail there too).
class FakeForm : public platform::Form {
 public:
  FakeForm(FakeRuntime& runtime, const platform::FormDesign& design, platform::FormEvents& events,
           platform::WindowHandle handle);
  ~FakeForm() override;
  FakeForm(const FakeForm&) = delete;
  FakeForm& operator=(const FakeForm&) = delete;

  // The design caption; it names the form in the log and in FindForm.
  const std::string& Name() const { return name_; }
  const platform::FormDesign& Design() const { return design_; }
  platform::FormEvents& Events() { return events_; }
  bool HasControl(int id) const { return controls_.count(id) != 0; }
  bool IsVisible(int id) const { return At(id).visible; }
  int Focus() const { return focus_; }  // 0 = no control has the focus
  int RepaintCount() const { return repaints_; }
  // Every text SetText gave the control, oldest first.
  const std::vector<std::string>& TextHistory(int id) const { return At(id).history; }
  std::string ToString() const;

  platform::WindowHandle Handle() const override { return handle_; }
  void SetCaption(const std::string& text) override;
  std::string Caption() const override { return caption_; }
  void Show() override;
  void Hide() override;
  bool IsShown() const override { return shown_; }
  void SetMousePointer(int pointer) override;
  int MousePointer() const override { return pointer_; }
  void Repaint() override;

  void SetText(int id, const std::string& text) override;
  std::string Text(int id) const override { return At(id).text; }
  void SetEnabled(int id, bool enabled) override;
  bool IsEnabled(int id) const override { return At(id).enabled; }
  void SetVisible(int id, bool visible) override;
  void SetFocus(int id) override;

  int CheckValue(int id) const override { return At(id).value; }
  void SetCheckValue(int id, int value) override;

  void ClearItems(int id) override;
  void AddItem(int id, const std::string& text) override;
  int ItemCount(int id) const override { return static_cast<int>(At(id).items.size()); }
  std::string Item(int id, int index) const override;
  int ListIndex(int id) const override { return At(id).listIndex; }
  void SetListIndex(int id, int index) override;

  void SetTimerEnabled(int id, bool enabled) override;
  bool TimerEnabled(int id) const override { return At(id).timerOn; }

 private:
  friend class FakeRuntime;
  struct Control {
    platform::ControlDesign design;
    std::string text;
    bool enabled = true, visible = true, timerOn = false;
    int value = 0;
    std::vector<std::string> items;
    int listIndex = -1;
    std::vector<std::string> history;
  };
  Control& At(int id);
  const Control& At(int id) const;
  void Note(const std::string& what);              // "<form>: what"
  void Note(int id, const std::string& what);      // "<form>.<control>: what"
  bool TakesUserInput(int id) const;

  FakeRuntime* runtime_;  // null once the runtime is gone
  platform::FormDesign design_;
  platform::FormEvents& events_;
  platform::WindowHandle handle_;
  std::string name_, caption_;
  bool shown_ = false;
  int pointer_ = platform::kPointerDefault;
  int focus_ = 0;
  int repaints_ = 0;
  std::map<int, Control> controls_;
};

// A headless, deterministic window runtime. It records one ordered log of
// readable lines, scripts message-box answers, and delivers queued user
// actions at the k-th point where the program lets events run.
//
// Log lines:
//   "create <form>"                      a form was created (hidden)
//   "<form>: caption <text>"             SetCaption
//   "<form>: show" / "<form>: hide"      every Show / Hide call (and a close box that hides)
//   "<form>: pointer <n>", "<form>: repaint"
//   "<form>.<control>: <text>"           SetText
//   "<form>.<control>: enabled|disabled|visible|hidden|focus|value <n>"
//   "<form>.<control>: clear|item <text>|index <n>|timer on|timer off"
//   "events #<k>"                        the k-th DoEvents, counted from 1
//   "paint"                              PaintChanges: no event runs there
//   "msgbox [<title>] <text> (OkOnly|OkCancel) -> Ok|Cancel"
//   "click <form>.<control>", "keyup <form>.<control> <key>", "close <form>",
//   "tick <form>.<control>"              user actions, as delivered
//   "refused click <form>.<control>"     ... on a disabled, invisible or hidden target
//   "end"
// A control is named by SetControlNames, else "#<id>".
class FakeRuntime : public platform::Runtime {
 public:
  FakeRuntime();
  ~FakeRuntime() override;
  FakeRuntime(const FakeRuntime&) = delete;
  FakeRuntime& operator=(const FakeRuntime&) = delete;

  // --- set-up
  void SetVersion(platform::Version version) { version_ = version; }
  void SetControlNames(std::map<int, std::string> names) { names_ = std::move(names); }
  // Answers for the OK/Cancel boxes, in order; when none is left, OK.
  // OK-only boxes always answer OK and take nothing from this queue.
  void QueueAnswer(int answer) { answers_.push_back(answer); }

  // --- user actions delivered inside the k-th DoEvents (k counts from 1 over
  // the runtime's life: use DoEventsCount() + n for "the n-th from now").
  // Forms are named, so a window the program creates later can be the target.
  // Several actions at the same k run in the order queued.
  void QueueAt(int k, std::function<void()> action);
  void QueueClick(int k, const std::string& form, int id);
  void QueueKeyUp(int k, const std::string& form, int id, int key, int shift = 0);
  void QueueClose(int k, const std::string& form);
  // Actions that Run() delivers, in order, before it returns.
  void QueueInLoop(std::function<void()> action) { loop_.push_back(std::move(action)); }
  int PendingActions() const { return static_cast<int>(atEvents_.size()); }

  // --- immediate user actions; each returns false when a user could not do
  // it: the window is hidden, or the control is disabled or invisible.
  // A click on a check box toggles its value, then raises OnClick.
  bool Click(platform::Form& form, int id);
  bool KeyUp(platform::Form& form, int id, int key, int shift = 0);
  // The close box: a form whose design hides on close hides, then OnClose.
  bool Close(platform::Form& form);
  // One timer tick; false (nothing raised) while the timer is off.
  bool Tick(platform::Form& form, int timerId);
  // Choosing an item of a list with the mouse: no event is raised.
  bool ChooseItem(platform::Form& form, int id, int index);
  // Text put into a combo box's field without a key release (pasted).
  bool PasteText(platform::Form& form, int id, const std::string& text);

  // --- what the test checks
  const std::vector<std::string>& Log() const { return log_; }
  std::vector<std::string> LogSince(std::size_t mark) const;
  std::size_t LogMark() const { return log_.size(); }
  int DoEventsCount() const { return doEvents_; }
  const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }
  const std::vector<std::string>& TextsOf(const platform::Form& form, int id) const;
  bool Ended() const { return ended_; }
  // Forms alive now, in creation order; FindForm by design caption (the
  // first alive with it), nullptr when none.
  std::vector<FakeForm*> Forms() const { return forms_; }
  FakeForm* FindForm(const std::string& name) const;
  static FakeForm& Of(platform::Form& form);
  std::string ToString() const;  // the forms' state and the log, for failure messages

  // --- platform::Runtime
  void DoEvents() override;
  void PaintChanges() override { Record("paint"); }
  std::unique_ptr<platform::Form> CreateForm(const platform::FormDesign& design,
                                             platform::FormEvents& events) override;
  int ShowMessage(const std::string& text, const std::string& title, int style) override;
  platform::Version ProgramVersion() const override { return version_; }
  [[noreturn]] void End() override;
  int Run() override;

 private:
  friend class FakeForm;
  struct Queued {
    int k;
    std::function<void()> action;
  };
  void Record(std::string line) { log_.push_back(std::move(line)); }
  std::string ControlName(int id) const;
  FakeForm& Named(const std::string& form) const;
  void Forget(FakeForm* form);

  platform::Version version_{VELTRANE_VERSION_MAJOR, VELTRANE_VERSION_MINOR, VELTRANE_VERSION_REVISION};
  std::map<int, std::string> names_;
  std::vector<int> answers_;
  std::vector<Queued> atEvents_;
  std::vector<std::function<void()>> loop_;
  std::vector<std::string> log_;
  std::vector<MessageBoxCall> boxes_;
  std::vector<FakeForm*> forms_;
  int doEvents_ = 0;
  int nextHandle_ = 0x1000;
  bool ended_ = false;
};

}  // namespace veltrane::fake
