// Start and end of the program on the headless window.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/program_state.h"
#include "platform/sim/headless_window.h"
#include "platform/sim/sim_scm.h"
#include "platform/sim/sim_system.h"
#include "svcctl/scm.h"
#include "window_fixture.h"

using namespace controls;

namespace {

class ProgramLifecycle : public SimulatedMachine {
 protected:
  void TearDown() override {
    sim::SetWindowScript(nullptr);
    SimulatedMachine::TearDown();
  }

  // A service program that runs until told to stop.
  void InstallRunningService(const Text& name) {
    sim::RegisterServiceProgram("C:\\svc.exe", [](const Text&) { return sim::ServiceBehaviour(); });
    ServiceController services;
    ASSERT_TRUE(services.Create(name, name, "C:\\svc.exe"));
    ASSERT_TRUE(services.Start(name));
  }
};

TEST_F(ProgramLifecycle, RunsTheWindowAndReleasesEverythingAtExit) {
  sim::CreateDirectories("C:\\vemtra_pro\\Extensions\\Apache2.4.39");
  bool ran = false;
  sim::SetWindowScript([&](sim::HeadlessWindow& window) {
    ran = true;
    ASSERT_NE(State().Services, nullptr);
    EXPECT_EQ(&window.Model(), &MainWindow());
    EXPECT_EQ(window.Model().Period(时钟1), 1000);  // the created event has run
    EXPECT_EQ(State().BundleRoot, "C:\\vemtra_pro");
    EXPECT_EQ(State().ApacheVersion, "2.4.39");
    window.RunFor(1000);
    EXPECT_EQ(window.TicksRaised(), 1);
  });
  EXPECT_EQ(ProgramStart(), 0);
  EXPECT_TRUE(ran);

  ProgramState& state = State();
  EXPECT_EQ(state.Services, nullptr);
  for (const Text* field : {&state.ApacheServiceName, &state.MySqlDir, &state.BundleRoot, &state.LayoutSubdir,
                            &state.LayoutGeneration, &state.ApacheDir, &state.ApacheVersion, &state.MySqlVersion}) {
    EXPECT_TRUE(field->empty());
  }
  EXPECT_EQ(sim::OpenHandleCount(), 0);
}

TEST_F(ProgramLifecycle, ClosedRightAwayWithoutABundle) {
  sim::SetWindowScript([](sim::HeadlessWindow&) {});
  EXPECT_EQ(ProgramStart(), 0);
  EXPECT_EQ(State().Services, nullptr);
  EXPECT_TRUE(State().BundleRoot.empty());
  EXPECT_EQ(State().MySqlPrevIndex, 0);
}

TEST_F(ProgramLifecycle, EndingTheProgramLeavesRunningServicesRunning) {
  InstallRunningService("Apache2.4");
  InstallRunningService("MySQL");
  sim::CreateDirectories("C:\\vemtra_pro\\Extensions");
  sim::SetWindowScript([](sim::HeadlessWindow& window) { window.RunFor(1000); });
  ProgramStart();
  EXPECT_EQ(sim::FindService("Apache2.4")->state, scm::kRunning);
  EXPECT_EQ(sim::FindService("MySQL")->state, scm::kRunning);
  for (const sim::Request& request : sim::Requests()) EXPECT_EQ(request.what, "start") << request.service;

  // A new start of the program shows both running at its first tick.
  ResetProgramState();
  sim::SetWindowScript([](sim::HeadlessWindow& window) {
    window.RunFor(1000);
    EXPECT_EQ(window.Model().Checked(选择框Apache), 1);
    EXPECT_EQ(window.Model().Checked(选择框MySQL), 1);
    EXPECT_EQ(window.Model().Caption(透明标签1), "服务已启动");
  });
  ProgramStart();
}

TEST_F(ProgramLifecycle, PreviousIndexStaysZeroUntilTheListOpens) {
  sim::CreateDirectories("C:\\vemtra_pro\\Extensions\\mysql5.7.26");
  sim::SetWindowScript([](sim::HeadlessWindow& window) {
    window.Pick(组合框mysql版本, 2);  // from the keyboard, the list never opened
    EXPECT_EQ(State().MySqlPrevIndex, 0);
    window.OpenList(组合框mysql版本);
    EXPECT_EQ(State().MySqlPrevIndex, 0);  // the failed pick went back to index 0
    window.Pick(组合框mysql版本, 4);
    window.OpenList(组合框mysql版本);
    EXPECT_EQ(State().MySqlPrevIndex, 0);
  });
  ProgramStart();
}

}  // namespace
