// Installing, watching, switching and removing the two services, and the
// phpMyAdmin launcher, with fake installers on the simulated platform.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_scm.h"
#include "platform/sim/sim_system.h"
#include "services/service_setup.h"
#include "support/system.h"
#include "svcctl/scm.h"
#include "window_fixture.h"

using namespace controls;

namespace {

const Text kRoot = "C:\\vemtra_pro";
const Text kApacheDir = "C:\\vemtra_pro\\Extensions\\Apache2.4.39";
const Text kMySqlDir = "C:\\vemtra_pro\\Extensions\\mysql5.7.26";

class ServiceFlows : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    sim::CreateDirectories(kApacheDir + "\\bin");
    sim::CreateDirectories(kMySqlDir + "\\bin");
  }

  // A server whose installer registers `service` with its own quoted path
  // and which then runs as that service with `behaviour`.
  void InstallableServer(const Text& dir, const char* program, const Text& service,
                         sim::ServiceBehaviour behaviour = {}, uint64_t installMs = 200) {
    Text path = dir + "\\bin\\" + program;
    sim::RegisterProgram(
        path,
        [path, service](const Text&) {
          ServiceController().Create(service, service, "\"" + path + "\" --run-as-service");
        },
        installMs);
    sim::RegisterServiceProgram(path, [behaviour](const Text&) { return behaviour; });
  }

  void BothServersInstallable(sim::ServiceBehaviour apache = {}, sim::ServiceBehaviour mysql = {}) {
    InstallableServer(kApacheDir, "httpd.exe", "Apache2.4", apache);
    InstallableServer(kMySqlDir, "mysqld.exe", "MySQL", mysql);
  }

  // Both services registered (as their installers would) but not started.
  void BothRegistered(sim::ServiceBehaviour apache = {}, sim::ServiceBehaviour mysql = {}) {
    BothServersInstallable(apache, mysql);
    ASSERT_TRUE(RunProgram("\"" + kApacheDir + "\\bin\\httpd.exe\" -k install", true, kShowHidden));
    ASSERT_TRUE(RunProgram("\"" + kMySqlDir + "\\bin\\mysqld.exe\"  install", true, kShowHidden));
  }

  // Both services registered and running before the window opens.
  void BothRunning(sim::ServiceBehaviour apache = {}, sim::ServiceBehaviour mysql = {}) {
    BothRegistered(apache, mysql);
    ASSERT_TRUE(ServiceController().Start("Apache2.4"));
    ASSERT_TRUE(ServiceController().Start("MySQL"));
  }

  void OpenWindow() {
    Window().Open();
    ASSERT_EQ(State().LayoutGeneration, "8.0后");
  }

  static int Count(const Text& service, const Text& what) {
    const auto& requests = sim::Requests();
    return static_cast<int>(std::count_if(requests.begin(), requests.end(), [&](const sim::Request& r) {
      return r.service == service && r.what == what;
    }));
  }

  static uint32_t StateOf(const Text& service) {
    auto found = sim::FindService(service);
    return found ? found->state : 0;
  }

  Text Status() { return Model().Caption(透明标签1); }

  // What the controls show in one of the two decisive display states.
  struct Display {
    const char* status;
    int checked;  // both boxes
    bool boxesDisabled;
    bool autoStartDisabled;
    bool uninstallDisabled;
    bool adminDisabled;
  };
  static constexpr Display kAllRunning{"服务已启动", 1, false, true, false, false};
  static constexpr Display kNoneRunning{"服务已卸载", 0, true, false, true, true};

  // The display state the last tick left, as the controls show it.
  void ExpectDisplay(const Display& expected) {
    EXPECT_EQ(Status(), expected.status);
    for (const char* box : {选择框Apache, 选择框MySQL}) {
      EXPECT_EQ(Model().Checked(box), expected.checked) << box;
      EXPECT_EQ(Model().Disabled(box), expected.boxesDisabled) << box;
    }
    EXPECT_EQ(Model().Disabled(按钮3), expected.autoStartDisabled);
    EXPECT_EQ(Model().Disabled(按钮7), expected.uninstallDisabled);
    EXPECT_EQ(Model().Disabled(按钮5), expected.adminDisabled);
  }
  void ExpectAllRunning() { ExpectDisplay(kAllRunning); }
  void ExpectNoneRunning() { ExpectDisplay(kNoneRunning); }
};

TEST_F(ServiceFlows, InstallerCommandLinesQuoteTheProgram) {
  struct Case {
    Text dir;
    const char* program;
    const char* arguments;
    Text expected;
  };
  const Case cases[] = {
      {"D:\\web\\Extensions\\Apache2.4.39", "\\bin\\httpd.exe", " -k install",
       "\"D:\\web\\Extensions\\Apache2.4.39\\bin\\httpd.exe\" -k install"},
      {"D:\\web dir\\Extensions\\mysql5.7.26", "\\bin\\mysqld.exe", "  install",
       "\"D:\\web dir\\Extensions\\mysql5.7.26\\bin\\mysqld.exe\"  install"},
      {"D:\\a&b (%OS%)\\運", "\\bin\\httpd.exe", " -k install", "\"D:\\a&b (%OS%)\\運\\bin\\httpd.exe\" -k install"},
  };
  for (const Case& c : cases) EXPECT_EQ(InstallerCommandLine(c.dir, c.program, c.arguments), c.expected);
}

TEST_F(ServiceFlows, MissingServicesAreInstalledHiddenAndStarted) {
  sim::ServiceBehaviour slowStart;
  slowStart.startDelayMs = 1500;
  BothServersInstallable(slowStart, {});
  OpenWindow();
  ASSERT_TRUE(Window().Click(按钮3));

  ASSERT_EQ(sim::ProgramRuns().size(), 2u);
  EXPECT_EQ(sim::ProgramRuns()[0].commandLine, "\"" + kApacheDir + "\\bin\\httpd.exe\" -k install");
  EXPECT_EQ(sim::ProgramRuns()[1].commandLine, "\"" + kMySqlDir + "\\bin\\mysqld.exe\"  install");
  for (const sim::ProgramRun& run : sim::ProgramRuns()) {
    EXPECT_TRUE(run.wait);
    EXPECT_EQ(run.showMode, kShowHidden);
  }
  // Apache was still starting, so it got the start-type change and a second
  // request that had no effect; MySQL ran at once.
  EXPECT_EQ(Count("Apache2.4", "start"), 2);
  EXPECT_EQ(Count("Apache2.4", "config"), 1);
  EXPECT_EQ(Count("MySQL", "start"), 1);
  EXPECT_EQ(Count("MySQL", "config"), 0);
  EXPECT_EQ(sim::FindService("Apache2.4")->startType, scm::kAutoStart);
  EXPECT_EQ(Status(), "服务已安装");

  Window().RunFor(1000);  // still starting: counts as not running
  EXPECT_EQ(Model().Checked(选择框Apache), 0);
  EXPECT_EQ(Model().Checked(选择框MySQL), 1);
  EXPECT_TRUE(Model().Disabled(按钮5));
  EXPECT_EQ(Status(), "服务已安装");  // mixed: the status line keeps its text
  Window().RunFor(1000);
  ExpectAllRunning();
}

TEST_F(ServiceFlows, RunningServicesGetNoInstallerAndNoRequest) {
  BothRunning();
  size_t runsBefore = sim::ProgramRuns().size();
  size_t requestsBefore = sim::Requests().size();
  OpenWindow();
  Window().Click(按钮3);
  EXPECT_EQ(sim::ProgramRuns().size(), runsBefore);
  EXPECT_EQ(sim::Requests().size(), requestsBefore);
  EXPECT_EQ(Status(), "服务已安装");
}

TEST_F(ServiceFlows, StoppedServicesAreMadeAutomaticAndStarted) {
  BothRegistered();
  size_t runsBefore = sim::ProgramRuns().size();
  OpenWindow();
  Window().RunFor(1000);
  ExpectNoneRunning();
  Window().Click(按钮3);
  EXPECT_EQ(sim::ProgramRuns().size(), runsBefore);
  for (const char* service : {"Apache2.4", "MySQL"}) {
    EXPECT_EQ(Count(service, "config"), 1) << service;
    EXPECT_EQ(Count(service, "start"), 1) << service;
    EXPECT_EQ(sim::FindService(service)->startType, scm::kAutoStart);
    EXPECT_EQ(StateOf(service), scm::kRunning);
  }
  EXPECT_EQ(Status(), "服务已安装");
  Window().RunFor(1000);
  ExpectAllRunning();
}

TEST_F(ServiceFlows, AServiceThatWillNotStartStillReadsInstalled) {
  sim::ServiceBehaviour broken;
  broken.failsToStart = true;
  BothRegistered({}, broken);
  OpenWindow();
  Window().Click(按钮3);
  EXPECT_EQ(Status(), "服务已安装");
  Window().RunFor(1000);
  EXPECT_EQ(Model().Checked(选择框Apache), 1);
  EXPECT_EQ(Model().Checked(选择框MySQL), 0);
  EXPECT_EQ(Status(), "服务已安装");
  EXPECT_TRUE(Model().Disabled(按钮5));
}

TEST_F(ServiceFlows, AFailingInstallerLeavesTheServiceMissing) {
  InstallableServer(kMySqlDir, "mysqld.exe", "MySQL");
  sim::RegisterProgram(kApacheDir + "\\bin\\httpd.exe", [](const Text&) {});  // registers nothing
  OpenWindow();
  Window().Click(按钮3);
  EXPECT_FALSE(ServiceController().Exists("Apache2.4"));
  EXPECT_EQ(Status(), "");  // "服务已安装" needs both
  Window().RunFor(1000);
  EXPECT_EQ(Model().Checked(选择框MySQL), 1);
  EXPECT_EQ(Model().Checked(选择框Apache), 0);
}

TEST_F(ServiceFlows, NoLayoutInstallsOnlyMySql) {
  BothServersInstallable();
  Window().Open();
  State().LayoutGeneration.clear();
  State().ApacheServiceName.clear();
  Window().Click(按钮3);
  ASSERT_EQ(sim::ProgramRuns().size(), 1u);
  EXPECT_NE(sim::ProgramRuns()[0].commandLine.find("mysqld.exe"), Text::npos);
  EXPECT_EQ(StateOf("MySQL"), scm::kRunning);
  EXPECT_FALSE(ServiceController().Exists("Apache2.4"));
  EXPECT_EQ(Status(), "");
}

TEST_F(ServiceFlows, AGenerationPickedLaterRunsTheApacheInstallerUnderAnEmptyName) {
  BothServersInstallable();
  Window().Open();
  State().ApacheServiceName.clear();  // no layout was found at start
  Window().Click(按钮3);
  EXPECT_EQ(sim::ProgramRuns().size(), 2u);  // Exists("") is false
  EXPECT_TRUE(ServiceController().Exists("Apache2.4"));
  EXPECT_EQ(Count("Apache2.4", "start"), 0);  // every call on the empty name fails
  EXPECT_EQ(Status(), "");
}

TEST_F(ServiceFlows, AnEmptyDirectoryRunsNoInstaller) {
  BothServersInstallable();
  sim::RegisterProgram("C:\\bin\\httpd.exe", [](const Text&) { ADD_FAILURE() << "ran the drive root's httpd.exe"; });
  sim::RegisterProgram("C:\\bin\\mysqld.exe", [](const Text&) { ADD_FAILURE() << "ran the drive root's mysqld.exe"; });
  OpenWindow();
  State().ApacheDir.clear();
  State().MySqlDir.clear();
  Window().Click(按钮3);
  EXPECT_TRUE(sim::CommandLinesTried().empty());
  // The rest of the flow still runs: each missing service gets its start requests.
  EXPECT_FALSE(ServiceController().Exists("MySQL"));
}

TEST_F(ServiceFlows, TheWindowIsDeafWhileAnInstallerRuns) {
  InstallableServer(kApacheDir, "httpd.exe", "Apache2.4", {}, 4500);
  InstallableServer(kMySqlDir, "mysqld.exe", "MySQL", {}, 0);
  OpenWindow();
  Window().Click(按钮3);
  EXPECT_EQ(Window().TicksRaised(), 0);
  Window().RunFor(0);
  EXPECT_EQ(Window().TicksRaised(), 1);  // the periods that passed give one tick
  ExpectAllRunning();
}

TEST_F(ServiceFlows, RemovalAnsweredWithCancelTouchesNothing) {
  BothRunning();
  OpenWindow();
  Window().RunFor(1000);
  ExpectAllRunning();
  size_t requestsBefore = sim::Requests().size();
  for (int answer : {int(kAnswerCancel), -1}) {
    if (answer != -1) sim::QueueMessageAnswer(answer);  // -1: the box is closed
    Window().Click(按钮7);
    EXPECT_EQ(sim::MessagesShown().back().message, "确定准备卸载吗");
    EXPECT_EQ(sim::MessagesShown().back().buttons, kButtonsOkCancel);
  }
  EXPECT_EQ(sim::Requests().size(), requestsBefore);
  EXPECT_EQ(Status(), "服务已启动");
}

TEST_F(ServiceFlows, ConfirmedRemovalStopsAndDeletesBoth) {
  BothRunning();
  OpenWindow();
  Window().RunFor(1000);
  sim::QueueMessageAnswer(kAnswerOk, 2500);  // the box stays open: ticks go on
  Window().Click(按钮7);
  EXPECT_EQ(Window().TicksRaised(), 3);
  EXPECT_FALSE(ServiceController().Exists("Apache2.4"));
  EXPECT_FALSE(ServiceController().Exists("MySQL"));
  EXPECT_EQ(Status(), "MySQL服务未安装");
  Window().RunFor(1000);
  ExpectNoneRunning();
}

TEST_F(ServiceFlows, AServiceStillStoppingGetsNoRemovalText) {
  sim::ServiceBehaviour slowStop;
  slowStop.stopDelayMs = 3000;
  BothRunning({}, slowStop);
  OpenWindow();
  sim::QueueMessageAnswer(kAnswerOk);
  Window().Click(按钮7);
  EXPECT_TRUE(ServiceController().Exists("MySQL"));  // marked, still stopping
  EXPECT_EQ(Status(), "Apache服务未安装");
  Window().RunFor(4000);
  EXPECT_FALSE(ServiceController().Exists("MySQL"));
  ExpectNoneRunning();
}

TEST_F(ServiceFlows, RemovalWithoutAnApacheNameSaysApacheIsNotInstalled) {
  sim::ServiceBehaviour slowStop;
  slowStop.stopDelayMs = 3000;
  BothRunning({}, slowStop);
  OpenWindow();
  State().ApacheServiceName.clear();
  sim::QueueMessageAnswer(kAnswerOk);
  Window().Click(按钮7);
  EXPECT_EQ(Status(), "Apache服务未安装");
  EXPECT_EQ(StateOf("Apache2.4"), scm::kRunning);  // untouched under its real name
}

TEST_F(ServiceFlows, TogglesSwitchOneServiceAndTheMessageStaysThroughMixedTicks) {
  BothRunning();
  OpenWindow();
  Window().RunFor(1000);
  ExpectAllRunning();

  ASSERT_TRUE(Window().Click(选择框Apache));
  EXPECT_EQ(StateOf("Apache2.4"), scm::kStopped);
  EXPECT_EQ(Status(), "Apache服务已停止");
  Window().RunFor(3000);
  EXPECT_EQ(Status(), "Apache服务已停止");
  EXPECT_EQ(Model().Checked(选择框Apache), 0);
  EXPECT_FALSE(Model().Disabled(选择框Apache));
  EXPECT_FALSE(Model().Disabled(选择框MySQL));
  EXPECT_TRUE(Model().Disabled(按钮5));
  EXPECT_TRUE(Model().Disabled(按钮3));  // as the last all-running tick left it

  ASSERT_TRUE(Window().Click(选择框Apache));
  EXPECT_EQ(Status(), "Apache服务已启动");
  Window().RunFor(1000);
  ExpectAllRunning();

  Window().Click(选择框MySQL);
  EXPECT_EQ(Status(), "MySQL服务已停止");
  Window().Click(选择框Apache);
  Window().RunFor(1000);
  ExpectNoneRunning();
  EXPECT_FALSE(Window().Click(选择框Apache));  // disabled: the way back is 自启
}

TEST_F(ServiceFlows, AToggleThatFailsStillSaysWhatWasAsked) {
  sim::ServiceBehaviour broken;
  broken.failsToStart = true;
  BothRegistered({}, broken);
  ServiceController().Start("Apache2.4");
  OpenWindow();
  Window().RunFor(1000);  // mixed: boxes keep the template's enabled state
  ASSERT_TRUE(Window().Click(选择框MySQL));
  EXPECT_EQ(Status(), "MySQL服务已启动");
  Window().RunFor(1000);
  EXPECT_EQ(Model().Checked(选择框MySQL), 0);
}

TEST_F(ServiceFlows, PendingAndPausedStatesCountAsNotRunning) {
  BothRunning();
  OpenWindow();
  for (uint32_t state : {scm::kStartPending, scm::kStopPending, scm::kContinuePending, scm::kPausePending,
                         scm::kPaused}) {
    sim::ForceServiceState("MySQL", scm::kRunning);
    Window().RunFor(1000);
    ExpectAllRunning();
    sim::ForceServiceState("MySQL", state);
    Window().RunFor(1000);
    EXPECT_EQ(Model().Checked(选择框MySQL), 0) << state;
    EXPECT_EQ(Status(), "服务已启动") << state;  // mixed keeps the line
    EXPECT_TRUE(Model().Disabled(按钮5));
  }
}

TEST_F(ServiceFlows, InstalledTextIsReplacedAtTheNextDecisiveTick) {
  BothRegistered();
  OpenWindow();
  Window().Click(按钮3);
  EXPECT_EQ(Status(), "服务已安装");
  Window().RunFor(1000);
  EXPECT_EQ(Status(), "服务已启动");
}

struct LauncherCase {
  const char* generation;
  bool apacheChecked;
  bool mysqlChecked;
  const char* expectedUrl;  // nullptr: nothing opens
};

TEST_F(ServiceFlows, TheAdminPageDependsOnGenerationAndBothBoxes) {
  const LauncherCase cases[] = {
      {"8.0后", true, true, "http://localhost/phpMyAdmin4.8.5/"},
      {"8.0前", true, true, "http://localhost/phpMyAdmin/"},
      {"", true, true, nullptr},
      {"8.0后", false, true, nullptr},
      {"8.0后", true, false, nullptr},
      {"8.0前", false, false, nullptr},
  };
  for (const LauncherCase& c : cases) {
    TearDown();
    SetUp();
    Window().Open();
    State().LayoutGeneration = c.generation;
    Model().SetChecked(选择框Apache, c.apacheChecked);
    Model().SetChecked(选择框MySQL, c.mysqlChecked);
    Model().Raise(按钮5, ui::Event::Clicked);
    if (c.expectedUrl) {
      ASSERT_EQ(sim::OpenedUrls().size(), 1u) << c.generation;
      EXPECT_EQ(sim::OpenedUrls()[0], c.expectedUrl);
    } else {
      EXPECT_TRUE(sim::OpenedUrls().empty()) << c.generation << c.apacheChecked << c.mysqlChecked;
    }
  }
}

TEST_F(ServiceFlows, TheAdminButtonWorksOnlyAfterATickFindsBothRunning) {
  BothRegistered();
  OpenWindow();
  Window().Click(按钮3);
  Window().RunFor(1000);
  ASSERT_TRUE(Window().Click(按钮5));
  ASSERT_EQ(sim::OpenedUrls().size(), 1u);
  EXPECT_EQ(sim::OpenedUrls()[0], "http://localhost/phpMyAdmin4.8.5/");
  Window().Click(选择框MySQL);
  Window().RunFor(1000);
  EXPECT_FALSE(Window().Click(按钮5));
}

}  // namespace
