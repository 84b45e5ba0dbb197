#include "platform/sim/sim_clock.h"

namespace sim {

namespace {
constexpr uint64_t kBootTime = 1'000'000;
uint64_t g_now = kBootTime;
EventPump* g_pump = nullptr;
}  // namespace

uint64_t Now() { return g_now; }
void SetNow(uint64_t milliseconds) { g_now = milliseconds; }
void AdvanceClock(uint64_t milliseconds) { g_now += milliseconds; }

void SetEventPump(EventPump* pump) { g_pump = pump; }
EventPump* CurrentEventPump() { return g_pump; }

}  // namespace sim
