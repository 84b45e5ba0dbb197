#include "contract_env.h"

#include "svcctl/scm.h"

namespace contract {

namespace {
constexpr uint32_t kPollMs = 10;
}

bool WaitForState(ServiceController& services, const Text& name, int32_t state, uint32_t timeoutMs) {
  for (uint32_t waited = 0;; waited += kPollMs) {
    if (services.QueryState(name) == state) return true;
    if (waited >= timeoutMs) return false;
    LetTimePass(kPollMs);
  }
}

bool WaitUntilGone(ServiceController& services, const Text& name, uint32_t timeoutMs) {
  for (uint32_t waited = 0;; waited += kPollMs) {
    if (!services.Exists(name)) return true;
    if (waited >= timeoutMs) return false;
    LetTimePass(kPollMs);
  }
}

ScopedService::~ScopedService() {
  ServiceController services;
  if (!services.Exists(name_)) return;
  services.Delete(name_);
  for (uint32_t waited = 0; waited < 15000 && services.Exists(name_); waited += kPollMs) {
    int32_t state = services.QueryState(name_);
    if (state == scm::kRunning || state == scm::kPaused) services.Stop(name_);
    LetTimePass(kPollMs);
  }
}

}  // namespace contract
