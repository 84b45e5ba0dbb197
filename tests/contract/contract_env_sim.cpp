// The contract's platform on the simulator: the test service is a simulated
// service program at a fixed path that reads the same options as the
// Windows test service.
#include <string>

#include "contract_env.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_scm.h"
#include "platform/sim/sim_system.h"

namespace contract {

namespace {

const char kTestServiceProgram[] = "C:\\Vemtra Tests\\vemtra-testsvc.exe";

sim::ServiceBehaviour TestServiceBehaviour(const Text& binaryPath) {
  const TestServiceOptions options = ParseTestServiceOptions(binaryPath);
  sim::ServiceBehaviour behaviour;
  behaviour.startDelayMs = options.startDelayMs;
  behaviour.stopDelayMs = options.stopDelayMs;
  behaviour.waitHint = options.waitHintMs;
  behaviour.acceptsPauseContinue = options.acceptsPause;
  return behaviour;
}

int g_serviceCount = 0;

}  // namespace

void ResetPlatform() {
  sim::ResetSystem();
  sim::ResetServiceManager();
  sim::RegisterServiceProgram(kTestServiceProgram, TestServiceBehaviour);
}

Text TestServiceBinaryPath(const TestServiceOptions& options) {
  return TestServiceCommandLine(kTestServiceProgram, options);
}

Text UniqueServiceName(const char* stem) {
  return "VemtraCt0_" + std::to_string(++g_serviceCount) + "_" + stem;
}

void LetTimePass(uint32_t milliseconds) { sim::AdvanceClock(milliseconds); }

}  // namespace contract
