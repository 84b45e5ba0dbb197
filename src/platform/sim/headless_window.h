// The window of the simulated platform: the control model plus the verbs a
// test uses as the user, and the event timing of a real message loop on the
// virtual clock. A timer ticks one period after its period was written and
// then every period; ticks that fall due while the thread is busy coalesce
// into one; ticks run nested inside modal loops and ProcessEvents.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "ui/control_model.h"

namespace sim {

class HeadlessWindow final : public ui::ControlObserver, public EventPump {
 public:
  explicit HeadlessWindow(ui::ControlModel& model);
  ~HeadlessWindow();
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

  ui::ControlModel& Model() { return model_; }

  // Raises the created event; the window and all its controls exist.
  void Open();

  // The user's actions. Each returns false, doing nothing, when the control
  // is disabled or cannot take that action.
  bool Click(std::string_view name);                     // button or check box
  bool Pick(std::string_view name, int index);           // keyboard change, list closed
  bool OpenList(std::string_view name);                  // the list drops down
  bool PickFromOpenList(std::string_view name, int index);  // open, then pick

  // A click that waits in the queue until events are next dispatched.
  void PostClick(std::string_view name);

  // The message loop is idle for `milliseconds`: ticks fall due and run.
  void RunFor(uint64_t milliseconds);

  int TicksRaised() const { return ticks_; }

  // EventPump
  void DispatchPending() override;
  void RunModalLoop(uint64_t milliseconds) override;
  bool InputWaiting() const override { return !posted_.empty(); }

  // ControlObserver
  void PropertyChanged(const ui::ControlState& control, ui::Property property) override;

 private:
  struct Timer {
    std::string name;
    uint64_t period = 0;
    uint64_t due = 0;
  };

  bool IsUsable(std::string_view name, ui::Kind kind) const;
  // The earliest time a timer falls due, or 0 when none runs.
  uint64_t NextDue() const;
  void FireDueTicks();

  ui::ControlModel& model_;
  std::vector<Timer> timers_;
  std::deque<std::string> posted_;
  EventPump* previousPump_;
  int ticks_ = 0;
};

// The script that stands for the user while ui::RunWindow runs the headless
// window; when it returns, the window closes.
void SetWindowScript(std::function<void(HeadlessWindow&)> script);

}  // namespace sim
