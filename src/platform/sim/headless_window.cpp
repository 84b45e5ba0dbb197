#include "platform/sim/headless_window.h"

#include <algorithm>

#include "ui/window_host.h"

namespace sim {

HeadlessWindow::HeadlessWindow(ui::ControlModel& model) : model_(model), previousPump_(CurrentEventPump()) {
  for (const ui::ControlState& control : model_.Controls()) {
    if (control.description->kind == ui::Kind::Timer) timers_.push_back({control.description->name});
  }
  model_.SetObserver(this);
  SetEventPump(this);
}

HeadlessWindow::~HeadlessWindow() {
  model_.SetObserver(nullptr);
  SetEventPump(previousPump_);
}

void HeadlessWindow::Open() { model_.Raise(model_.Description().name, ui::Event::Created); }

bool HeadlessWindow::IsUsable(std::string_view name, ui::Kind kind) const {
  const ui::ControlState& control = model_.Control(name);
  return control.description->kind == kind && !control.disabled;
}

bool HeadlessWindow::Click(std::string_view name) {
  if (IsUsable(name, ui::Kind::Button)) {
    model_.Raise(name, ui::Event::Clicked);
    return true;
  }
  if (IsUsable(name, ui::Kind::CheckBox)) {
    model_.UserSetChecked(name, model_.Checked(name) ? 0 : 1);
    return true;
  }
  return false;
}

bool HeadlessWindow::Pick(std::string_view name, int index) {
  if (!IsUsable(name, ui::Kind::ComboBox) || index < 0 || index >= model_.ItemCount(name)) return false;
  if (index == model_.SelectedIndex(name)) return true;  // nothing changed, nothing to tell
  model_.UserSelected(name, index);
  return true;
}

bool HeadlessWindow::OpenList(std::string_view name) {
  if (!IsUsable(name, ui::Kind::ComboBox)) return false;
  model_.Raise(name, ui::Event::ListWillPopUp);
  return true;
}

bool HeadlessWindow::PickFromOpenList(std::string_view name, int index) {
  if (!OpenList(name) || index < 0 || index >= model_.ItemCount(name)) return false;
  model_.UserSelected(name, index);
  return true;
}

void HeadlessWindow::PostClick(std::string_view name) { posted_.emplace_back(name); }

uint64_t HeadlessWindow::NextDue() const {
  uint64_t next = 0;
  for (const Timer& timer : timers_) {
    if (timer.period > 0 && (next == 0 || timer.due < next)) next = timer.due;
  }
  return next;
}

void HeadlessWindow::FireDueTicks() {
  for (size_t i = 0; i < timers_.size(); ++i) {
    Timer& timer = timers_[i];
    if (timer.period == 0 || Now() < timer.due) continue;
    // However many periods passed, one tick is waiting; the next falls due
    // on the timer's own rhythm.
    timer.due += timer.period * ((Now() - timer.due) / timer.period + 1);
    ++ticks_;
    std::string name = timer.name;  // the handler may change the timers
    model_.Raise(name, ui::Event::Tick);
  }
}

void HeadlessWindow::DispatchPending() {
  while (!posted_.empty()) {
    std::string name = posted_.front();
    posted_.pop_front();
    Click(name);
  }
  FireDueTicks();
}

void HeadlessWindow::RunFor(uint64_t milliseconds) {
  const uint64_t until = Now() + milliseconds;
  DispatchPending();
  while (Now() < until) {
    uint64_t due = NextDue();
    if (due == 0 || due > until) {
      SetNow(until);
    } else if (due > Now()) {
      SetNow(due);
    }
    DispatchPending();
  }
}

void HeadlessWindow::RunModalLoop(uint64_t milliseconds) { RunFor(milliseconds); }

void HeadlessWindow::PropertyChanged(const ui::ControlState& control, ui::Property property) {
  if (property != ui::Property::Period) return;
  for (Timer& timer : timers_) {
    if (timer.name == control.description->name) {
      timer.period = static_cast<uint64_t>(control.period);
      timer.due = Now() + timer.period;
    }
  }
}

namespace {
std::function<void(HeadlessWindow&)> g_script;
}

void SetWindowScript(std::function<void(HeadlessWindow&)> script) { g_script = std::move(script); }

}  // namespace sim

namespace ui {

void InitWindowing() {}

void RunWindow(ControlModel& model) {
  sim::HeadlessWindow window(model);
  window.Open();
  if (sim::g_script) sim::g_script(window);
}

}  // namespace ui
