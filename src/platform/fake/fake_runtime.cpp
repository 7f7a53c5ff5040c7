#include "platform/fake/fake_runtime.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace veltrane::fake {

using platform::ControlKind;

namespace {

bool Focusable(ControlKind kind) {
  return kind == ControlKind::Button || kind == ControlKind::CheckBox ||
         kind == ControlKind::ComboBox || kind == ControlKind::ListBox;
}

bool HasList(ControlKind kind) { return kind == ControlKind::ComboBox || kind == ControlKind::ListBox; }

}  // namespace

FakeForm::FakeForm(FakeRuntime& runtime, const platform::FormDesign& design,
                   platform::FormEvents& events, platform::WindowHandle handle)
    : runtime_(&runtime),
      design_(design),
      events_(events),
      handle_(handle),
      name_(design.caption),
      caption_(design.caption) {
  for (const platform::ControlDesign& row : design.controls) {
    Control c;
    c.design = row;
    c.text = std::string(row.text);
    // Timers run from the moment their window is created, as designed.
    c.timerOn = row.kind == ControlKind::Timer;
    if (!controls_.emplace(row.id, std::move(c)).second)
      throw std::logic_error("design of " + name_ + " repeats id " + std::to_string(row.id));
  }
}

FakeForm::~FakeForm() {
  if (runtime_) runtime_->Forget(this);
}

FakeForm::Control& FakeForm::At(int id) {
  auto it = controls_.find(id);
  if (it == controls_.end())
    throw std::out_of_range(name_ + " has no control " + std::to_string(id));
  return it->second;
}

const FakeForm::Control& FakeForm::At(int id) const { return const_cast<FakeForm*>(this)->At(id); }

void FakeForm::Note(const std::string& what) {
  if (runtime_) runtime_->Record(name_ + ": " + what);
}

void FakeForm::Note(int id, const std::string& what) {
  if (runtime_) runtime_->Record(name_ + "." + runtime_->ControlName(id) + ": " + what);
}

bool FakeForm::TakesUserInput(int id) const {
  const Control& c = At(id);
  return shown_ && c.enabled && c.visible;
}

void FakeForm::SetCaption(const std::string& text) {
  caption_ = text;
  Note("caption " + text);
}

void FakeForm::Show() {
  shown_ = true;
  Note("show");
  // The first control of the tab order that can take the focus gets it.
  if (focus_ == 0) {
    for (const platform::ControlDesign& row : design_.controls) {
      const Control& c = controls_.at(row.id);
      if (Focusable(row.kind) && c.enabled && c.visible) {
        focus_ = row.id;
        break;
      }
    }
  }
}

void FakeForm::Hide() {
  shown_ = false;
  Note("hide");
}

void FakeForm::SetMousePointer(int pointer) {
  pointer_ = pointer;
  Note("pointer " + std::to_string(pointer));
}

void FakeForm::Repaint() {
  ++repaints_;
  Note("repaint");
}

void FakeForm::SetText(int id, const std::string& text) {
  Control& c = At(id);
  c.text = text;
  c.history.push_back(text);
  // A combo box's field selects the item it matches exactly, else none.
  if (c.design.kind == ControlKind::ComboBox) {
    auto it = std::find(c.items.begin(), c.items.end(), text);
    c.listIndex = it == c.items.end() ? -1 : static_cast<int>(it - c.items.begin());
  }
  Note(id, text);
}

void FakeForm::SetEnabled(int id, bool enabled) {
  At(id).enabled = enabled;
  if (!enabled && focus_ == id) focus_ = 0;
  Note(id, enabled ? "enabled" : "disabled");
}

void FakeForm::SetVisible(int id, bool visible) {
  At(id).visible = visible;
  if (!visible && focus_ == id) focus_ = 0;
  Note(id, visible ? "visible" : "hidden");
}

void FakeForm::SetFocus(int id) {
  const Control& c = At(id);
  if (!shown_ || !c.enabled || !c.visible || !Focusable(c.design.kind))
    throw std::logic_error("focus on " + name_ + " control " + std::to_string(id) +
                           ", which cannot take it");
  focus_ = id;
  Note(id, "focus");
}

void FakeForm::SetCheckValue(int id, int value) {
  Control& c = At(id);
  const bool changed = c.value != value;
  c.value = value;
  Note(id, "value " + std::to_string(value));
  if (changed) events_.OnClick(id);
}

void FakeForm::ClearItems(int id) {
  Control& c = At(id);
  c.items.clear();
  c.listIndex = -1;
  if (c.design.kind == ControlKind::ComboBox) c.text.clear();
  Note(id, "clear");
}

void FakeForm::AddItem(int id, const std::string& text) {
  At(id).items.push_back(text);
  Note(id, "item " + text);
}

std::string FakeForm::Item(int id, int index) const {
  const Control& c = At(id);
  if (index < 0 || index >= static_cast<int>(c.items.size()))
    throw std::out_of_range(name_ + " control " + std::to_string(id) + " has no item " +
                            std::to_string(index));
  return c.items[index];
}

void FakeForm::SetListIndex(int id, int index) {
  Control& c = At(id);
  if (index < -1 || index >= static_cast<int>(c.items.size()))
    throw std::out_of_range(name_ + " control " + std::to_string(id) + " has no item " +
                            std::to_string(index));
  c.listIndex = index;
  if (c.design.kind == ControlKind::ComboBox) c.text = index < 0 ? std::string() : c.items[index];
  Note(id, "index " + std::to_string(index));
}

void FakeForm::SetTimerEnabled(int id, bool enabled) {
  At(id).timerOn = enabled;
  Note(id, enabled ? "timer on" : "timer off");
}

std::string FakeForm::ToString() const {
  std::ostringstream out;
  out << name_ << " [" << caption_ << "] " << (shown_ ? "shown" : "hidden") << " pointer "
      << pointer_ << " focus " << focus_ << "\n";
  for (const auto& [id, c] : controls_) {
    out << "  " << (runtime_ ? runtime_->ControlName(id) : std::to_string(id)) << " \"" << c.text
        << "\"" << (c.enabled ? "" : " disabled") << (c.visible ? "" : " invisible");
    if (c.design.kind == ControlKind::CheckBox) out << " value " << c.value;
    if (c.design.kind == ControlKind::Timer) out << (c.timerOn ? " timer on" : " timer off");
    if (HasList(c.design.kind)) {
      out << " index " << c.listIndex << " items";
      for (const std::string& item : c.items) out << " \"" << item << "\"";
    }
    out << "\n";
  }
  return out.str();
}

FakeRuntime::FakeRuntime() = default;

FakeRuntime::~FakeRuntime() {
  for (FakeForm* form : forms_) form->runtime_ = nullptr;
}

std::string FakeRuntime::ControlName(int id) const {
  auto it = names_.find(id);
  return it != names_.end() ? it->second : "#" + std::to_string(id);
}

void FakeRuntime::Forget(FakeForm* form) { std::erase(forms_, form); }

FakeForm* FakeRuntime::FindForm(const std::string& name) const {
  for (FakeForm* form : forms_)
    if (form->Name() == name) return form;
  return nullptr;
}

FakeForm& FakeRuntime::Named(const std::string& form) const {
  FakeForm* found = FindForm(form);
  if (!found) throw std::logic_error("no form named " + form);
  return *found;
}

FakeForm& FakeRuntime::Of(platform::Form& form) { return dynamic_cast<FakeForm&>(form); }

const std::vector<std::string>& FakeRuntime::TextsOf(const platform::Form& form, int id) const {
  return dynamic_cast<const FakeForm&>(form).TextHistory(id);
}

std::vector<std::string> FakeRuntime::LogSince(std::size_t mark) const {
  return {log_.begin() + static_cast<std::ptrdiff_t>(std::min(mark, log_.size())), log_.end()};
}

void FakeRuntime::QueueAt(int k, std::function<void()> action) {
  atEvents_.push_back({k, std::move(action)});
}

void FakeRuntime::QueueClick(int k, const std::string& form, int id) {
  QueueAt(k, [this, form, id] { Click(Named(form), id); });
}

void FakeRuntime::QueueKeyUp(int k, const std::string& form, int id, int key, int shift) {
  QueueAt(k, [this, form, id, key, shift] { KeyUp(Named(form), id, key, shift); });
}

void FakeRuntime::QueueClose(int k, const std::string& form) {
  QueueAt(k, [this, form] { Close(Named(form)); });
}

bool FakeRuntime::Click(platform::Form& form, int id) {
  FakeForm& f = Of(form);
  const std::string target = f.Name() + "." + ControlName(id);
  if (!f.TakesUserInput(id)) {
    Record("refused click " + target);
    return false;
  }
  Record("click " + target);
  FakeForm::Control& c = f.At(id);
  if (c.design.kind == ControlKind::CheckBox) c.value = c.value == 1 ? 0 : 1;
  f.events_.OnClick(id);
  return true;
}

bool FakeRuntime::KeyUp(platform::Form& form, int id, int key, int shift) {
  FakeForm& f = Of(form);
  const std::string target = f.Name() + "." + ControlName(id);
  if (!f.TakesUserInput(id)) {
    Record("refused keyup " + target);
    return false;
  }
  Record("keyup " + target + " " + std::to_string(key));
  f.focus_ = id;  // a key goes to the control with the focus
  f.events_.OnKeyUp(id, key, shift);
  return true;
}

bool FakeRuntime::Close(platform::Form& form) {
  FakeForm& f = Of(form);
  if (!f.shown_) {
    Record("refused close " + f.Name());
    return false;
  }
  Record("close " + f.Name());
  if (f.design_.closeHides) f.Hide();
  f.events_.OnClose();
  return true;
}

bool FakeRuntime::Tick(platform::Form& form, int timerId) {
  FakeForm& f = Of(form);
  if (!f.At(timerId).timerOn) return false;
  Record("tick " + f.Name() + "." + ControlName(timerId));
  f.events_.OnTimer(timerId);
  return true;
}

bool FakeRuntime::ChooseItem(platform::Form& form, int id, int index) {
  FakeForm& f = Of(form);
  FakeForm::Control& c = f.At(id);
  const std::string target = f.Name() + "." + ControlName(id);
  if (!f.TakesUserInput(id) || index < 0 || index >= static_cast<int>(c.items.size())) {
    Record("refused choose " + target);
    return false;
  }
  Record("choose " + target + " " + std::to_string(index));
  c.listIndex = index;
  if (c.design.kind == ControlKind::ComboBox) c.text = c.items[index];
  return true;
}

bool FakeRuntime::PasteText(platform::Form& form, int id, const std::string& text) {
  FakeForm& f = Of(form);
  FakeForm::Control& c = f.At(id);
  const std::string target = f.Name() + "." + ControlName(id);
  if (!f.TakesUserInput(id) || c.design.kind != ControlKind::ComboBox) {
    Record("refused paste " + target);
    return false;
  }
  Record("paste " + target + " " + text);
  c.text = text;
  c.listIndex = -1;
  return true;
}

void FakeRuntime::DoEvents() {
  const int k = ++doEvents_;
  Record("events #" + std::to_string(k));
  // Take this point's actions out first: they may queue more or nest DoEvents.
  std::vector<std::function<void()>> due;
  for (auto it = atEvents_.begin(); it != atEvents_.end();) {
    if (it->k == k) {
      due.push_back(std::move(it->action));
      it = atEvents_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& action : due) action();
}

std::unique_ptr<platform::Form> FakeRuntime::CreateForm(const platform::FormDesign& design,
                                                        platform::FormEvents& events) {
  auto form = std::make_unique<FakeForm>(*this, design, events, nextHandle_);
  nextHandle_ += 0x10;
  forms_.push_back(form.get());
  Record("create " + form->Name());
  return form;
}

int FakeRuntime::ShowMessage(const std::string& text, const std::string& title, int style) {
  int answer = platform::kAnswerOk;
  if (style == platform::kMsgOkCancel && !answers_.empty()) {
    answer = answers_.front();
    answers_.erase(answers_.begin());
  }
  boxes_.push_back({text, title, style, answer});
  Record("msgbox [" + title + "] " + text + (style == platform::kMsgOkCancel ? " (OkCancel)" : " (OkOnly)") +
         " -> " + (answer == platform::kAnswerCancel ? "Cancel" : "Ok"));
  return answer;
}

void FakeRuntime::End() {
  ended_ = true;
  Record("end");
  throw ProgramEnded{};
}

int FakeRuntime::Run() {
  while (!loop_.empty()) {
    auto action = std::move(loop_.front());
    loop_.erase(loop_.begin());
    action();
  }
  return 0;
}

std::string FakeRuntime::ToString() const {
  std::ostringstream out;
  for (const FakeForm* form : forms_) out << form->ToString();
  out << "log (" << log_.size() << " lines):\n";
  for (const std::string& line : log_) out << "  " << line << "\n";
  return out.str();
}

}  // namespace veltrane::fake
