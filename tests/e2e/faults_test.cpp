// Each fault switch of the fake servers, met through the tool's window: the
// window shows the services' real states within two ticks of the end of
// the operation, and the tool survives.
#include <gtest/gtest.h>

#include "ansi_text.h"
#include "app/controls.h"
#include "scenario_support.h"
#include "service_probe.h"
#include "test_bundle.h"
#include "tool_window.h"

namespace e2e {
namespace {

using namespace controls;

constexpr uint32_t kDelaySeconds = 3;
constexpr DWORD kOperationTimeoutMs = 15000;

enum class Program { Httpd, Mysqld };
enum class Operation { AutoStart, Uninstall };

struct FaultCase {
  const char* name;
  Program program;
  bundle::FaultSwitches switches;
  Operation operation;
  // The service states once the operation has ended (0 missing, 1 stopped, 4 running).
  uint32_t apacheAfter;
  uint32_t mySqlAfter;
  // The operation takes at least this long.
  DWORD atLeastMs;
  // With exactly one service running the monitor leaves the status line as
  // it was: the auto-start's "服务已安装" when both services exist, else the
  // none-running text of the ticks before.
  const char* mixedStatus;
};

bundle::FaultSwitches InstallFails() { bundle::FaultSwitches s; s.installFails = true; return s; }
bundle::FaultSwitches InstallHangs() { bundle::FaultSwitches s; s.installHangsSeconds = kDelaySeconds; return s; }
bundle::FaultSwitches StartFails() { bundle::FaultSwitches s; s.startFails = true; return s; }
bundle::FaultSwitches StopTakes() { bundle::FaultSwitches s; s.stopTakesSeconds = kDelaySeconds; return s; }

const FaultCase kFaultCases[] = {
    {"ApacheInstallerExitsWithoutRegistering", Program::Httpd, InstallFails(), Operation::AutoStart, 0, 4, 0,
     kNoneRunningText},
    {"MySqlInstallerHangs", Program::Mysqld, InstallHangs(), Operation::AutoStart, 4, 4, kDelaySeconds * 1000,
     nullptr},
    {"ApacheServiceFailsToStart", Program::Httpd, StartFails(), Operation::AutoStart, 1, 4, 0, "服务已安装"},
    {"MySqlServiceStopsSlowlyDuringUninstall", Program::Mysqld, StopTakes(), Operation::Uninstall, 0, 0,
     kDelaySeconds * 1000, nullptr},
};

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; }
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class Fault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Fault, LeavesTheWindowTruthfulAndTheToolAlive) {
  const FaultCase& fault = GetParam();
  CleanSlate slate;
  TestBundle bundle(kRootFrom8, {bundle::Generation::From8});
  ASSERT_TRUE(bundle.Ok());
  const std::string program = fault.program == Program::Httpd ? bundle.Httpd() : bundle.Mysqld();
  Tool tool;
  ASSERT_TRUE(tool.Started());
  ASSERT_EQ(tool.WaitForFirstTick(), kNoneRunningText);
  const window_test::WindowSession& window = tool.Session();

  // A stop fault is switched on while the services run; it is read when
  // the stop is asked for.
  if (fault.operation == Operation::Uninstall) {
    std::string failure;
    ASSERT_TRUE(AutoStartBothServices(tool, failure)) << failure;
  }
  ASSERT_TRUE(bundle.SetFaults(program, fault.switches));

  const DWORD started = GetTickCount();
  if (fault.operation == Operation::AutoStart) {
    ASSERT_TRUE(ClickControl(tool, 按钮3));
  } else {
    std::string boxText;
    ASSERT_TRUE(UninstallAnswering(tool, uidriver::Answer::Ok, boxText));
  }
  // The end of the operation: both services in their final states.
  ASSERT_TRUE(uidriver::WaitUntil(
      [&] { return ServiceState(kApache) == fault.apacheAfter && ServiceState(kMySql) == fault.mySqlAfter; },
      kOperationTimeoutMs))
      << "Apache state " << ServiceState(kApache) << ", MySQL state " << ServiceState(kMySql);
  const DWORD tookMs = GetTickCount() - started;
  EXPECT_GE(tookMs, fault.atLeastMs) << "the fault did not hold the operation up";
  std::printf("operation ended after %lu ms\n", static_cast<unsigned long>(tookMs));

  WindowReading reading;
  EXPECT_TRUE(WaitUntilWindowIsTruthful(window, kTwoTicksMs, reading)) << Describe(reading);
  EXPECT_TRUE(ShowsStates(reading, fault.apacheAfter == 4, fault.mySqlAfter == 4)) << Describe(reading);
  if (fault.mixedStatus) {
    EXPECT_EQ(reading.status, fault.mixedStatus) << Describe(reading);
  }
  EXPECT_TRUE(ToolIsResponsive(window)) << "the tool is gone or does not answer";
  EXPECT_TRUE(tool.Close()) << "the tool did not end cleanly";
}

INSTANTIATE_TEST_SUITE_P(Switches, Fault, ::testing::ValuesIn(kFaultCases), CaseName);

}  // namespace
}  // namespace e2e
