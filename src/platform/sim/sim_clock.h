// The virtual clock of the simulated platform, and the hook through which
// the system facilities reach the (headless) window's event dispatch.
#pragma once

#include <cstdint>

namespace sim {

// Virtual milliseconds since the simulated system started.
uint64_t Now();
void SetNow(uint64_t milliseconds);
// Time passes while the thread is busy: nothing is dispatched.
void AdvanceClock(uint64_t milliseconds);

// The window's event dispatch, as the facilities need it.
class EventPump {
 public:
  // Handles what is pending now: queued input, then a tick that fell due.
  virtual void DispatchPending() = 0;
  // A modal loop that stays open for `milliseconds` while events go on.
  virtual void RunModalLoop(uint64_t milliseconds) = 0;
  virtual bool InputWaiting() const = 0;

 protected:
  ~EventPump() = default;
};

void SetEventPump(EventPump* pump);
EventPump* CurrentEventPump();

}  // namespace sim
