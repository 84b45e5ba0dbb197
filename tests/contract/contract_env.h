// What the contract suite needs from the platform it runs on. The cases are
// written once; contract_env_sim.cpp backs them with the simulated manager,
// contract_env_win32.cpp with the real one and the Windows test service.
#pragma once

#include <cstdint>
#include <utility>

#include "support/text.h"
#include "svcctl/service_controller.h"
#include "testsvc/test_service_options.h"

namespace contract {

// Per platform -------------------------------------------------------------

// A clean start for one case (the simulator forgets everything; the real
// manager keeps its own services).
void ResetPlatform();

// The binary path that runs the test service with these options.
Text TestServiceBinaryPath(const TestServiceOptions& options = TestServiceOptions());

// A service name no other case or run uses: "VemtraCt<run>_<n>_<stem>".
Text UniqueServiceName(const char* stem);

// Lets time pass: the virtual clock on the simulator, a sleep on Windows.
void LetTimePass(uint32_t milliseconds);

// Shared ----------------------------------------------------------------------

// Polls QueryState until it gives `state`; false when the time runs out.
bool WaitForState(ServiceController& services, const Text& name, int32_t state, uint32_t timeoutMs = 10000);

// Polls Exists until the service is gone; false when the time runs out.
bool WaitUntilGone(ServiceController& services, const Text& name, uint32_t timeoutMs = 10000);

// Removes the service when it goes, also when the case failed half way:
// marks it for deletion, stops it when it runs and waits until it is gone.
class ScopedService {
 public:
  explicit ScopedService(Text name) : name_(std::move(name)) {}
  ScopedService(const ScopedService&) = delete;
  ScopedService& operator=(const ScopedService&) = delete;
  ~ScopedService();
  const Text& Name() const { return name_; }

 private:
  Text name_;
};

}  // namespace contract
