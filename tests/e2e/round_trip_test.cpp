// The services' round trip through the tool's window, in both bundle
// generations: auto-start, one service toggled off and on, the phpMyAdmin
// page, and removal. With the bundle from 8.0 on: removal answered with
// Cancel or the box closed, and the window closed while the services run
// and the tool started again.
#include <gtest/gtest.h>

#include "ansi_text.h"
#include "app/controls.h"
#include "bundle/admin_pages.h"
#include "bundle/fixture_paths.h"
#include "bundle/server_profiles.h"
#include "e2e_env.h"
#include "http_get.h"
#include "scenario_support.h"
#include "service_probe.h"
#include "test_bundle.h"
#include "tool_window.h"

namespace e2e {
namespace {

using namespace controls;

constexpr DWORD kServiceTimeoutMs = 10000;
constexpr DWORD kHttpTimeoutMs = 3000;
constexpr char kToolProgram[] = "vemtra-autostart.exe";
constexpr char kServiceManagerProgram[] = "services.exe";

struct GenerationCase {
  const char* name;
  bundle::Generation generation;
  const char* root;
  const char* adminAddress;
};

const GenerationCase kGenerationCases[] = {
    {"From80On", bundle::Generation::From8, kRootFrom8, "http://localhost/phpMyAdmin4.8.5/"},
    {"Before80OnDriveD", bundle::Generation::Before8, kRootOnD, "http://localhost/phpMyAdmin/"},
};

std::string CaseName(const ::testing::TestParamInfo<GenerationCase>& info) { return info.param.name; }
void PrintTo(const GenerationCase& c, std::ostream* out) { *out << c.name; }

// The ground of a scenario: a clean slate, drive D: where the bundle lies
// there, the bundle itself and the tool, made in this order.
class BundleScenario {
 public:
  explicit BundleScenario(const GenerationCase& generation) {
    if (std::string(generation.root).rfind("D:", 0) == 0) driveD_.emplace();
    bundle_.emplace(generation.root, bundle::BundleContents{generation.generation});
  }

  // The tool started on the laid-out bundle; false with a reason.
  bool Ready(std::string& failure) {
    if (driveD_ && !driveD_->Ok()) {
      failure = driveD_->Error();
      return false;
    }
    if (!bundle_->Ok()) {
      failure = "no bundle";
      return false;
    }
    return StartTool(kNoneRunningText, failure);
  }

  // Starts the tool (again); its first tick must write `firstStatus`.
  bool StartTool(const char* firstStatus, std::string& failure) {
    tool_.emplace();
    if (!tool_->Started()) {
      failure = "the tool did not start";
      return false;
    }
    const std::string first = tool_->WaitForFirstTick();
    if (first != firstStatus) {
      failure = "the first tick wrote \"" + uidriver::AnsiToUtf8(first) + "\"";
      return false;
    }
    return true;
  }

  const TestBundle& Bundle() const { return *bundle_; }
  Tool& TheTool() { return *tool_; }
  const window_test::WindowSession& Window() const { return tool_->Session(); }
  WindowReading Reading() const { return ReadWindow(Window()); }

 private:
  CleanSlate slate_;
  std::optional<ScenarioDriveD> driveD_;
  std::optional<TestBundle> bundle_;
  std::optional<Tool> tool_;
};

class RoundTrip : public ::testing::TestWithParam<GenerationCase> {};

TEST_P(RoundTrip, AutoStartToggleAdminPageAndUninstall) {
  BundleScenario scenario(GetParam());
  std::string failure;
  ASSERT_TRUE(scenario.Ready(failure)) << failure;
  const TestBundle& bundle = scenario.Bundle();
  Tool& tool = scenario.TheTool();
  const window_test::WindowSession& window = scenario.Window();
  wine_test::ScratchFolder scratch;
  const std::string report = scratch / "opened.txt";
  wine_test::RegistryValue browser(HKEY_LOCAL_MACHINE, "Software\\Classes\\http\\shell\\open\\command", "",
                                   "\"" + Env().urlRecorder + "\" \"" + report + "\" \"%1\"");
  ASSERT_TRUE(browser.Ok());

  // Auto-start: both installers run once, straight from the tool, and both
  // services run with the binary paths the installers registered.
  ASSERT_TRUE(AutoStartBothServices(tool, failure)) << failure;
  EXPECT_EQ(BinaryPathOf(kApache), ExpectedBinaryPath(bundle.Httpd(), bundle::kApacheProfile.serviceArguments));
  EXPECT_EQ(BinaryPathOf(kMySql), ExpectedBinaryPath(bundle.Mysqld(), bundle::kMySqlProfile.serviceArguments));
  const std::vector<bundle::RunRecord> httpdRuns = bundle.Runs(bundle.Httpd());
  ASSERT_EQ(httpdRuns.size(), 2u);
  EXPECT_EQ(httpdRuns[0].parent, kToolProgram);
  EXPECT_EQ(httpdRuns[0].commandLine, "\"" + bundle.Httpd() + "\" -k install");
  EXPECT_EQ(httpdRuns[1].parent, kServiceManagerProgram);
  const std::vector<bundle::RunRecord> mysqldRuns = bundle.Runs(bundle.Mysqld());
  ASSERT_EQ(mysqldRuns.size(), 2u);
  EXPECT_EQ(mysqldRuns[0].parent, kToolProgram);
  EXPECT_EQ(mysqldRuns[0].commandLine, "\"" + bundle.Mysqld() + "\"  install");
  EXPECT_EQ(mysqldRuns[1].parent, kServiceManagerProgram);

  // Apache unchecked: the service stops, the window turns mixed and keeps
  // the toggle's text.
  ASSERT_TRUE(ClickControl(tool, 选择框Apache));
  ASSERT_TRUE(WaitForServiceState(kApache, 1, kServiceTimeoutMs)) << "state " << ServiceState(kApache);
  ASSERT_TRUE(uidriver::WaitUntil([&] { return !window.Describe(按钮5).enabled; }, kTwoTicksMs));
  WindowReading mixed = ReadWindow(window);
  EXPECT_EQ(mixed.status, "Apache服务已停止") << Describe(mixed);
  EXPECT_EQ(mixed.apacheChecked, 0) << Describe(mixed);
  EXPECT_EQ(mixed.mySqlChecked, 1) << Describe(mixed);
  EXPECT_TRUE(mixed.apacheBoxEnabled && mixed.mySqlBoxEnabled && mixed.uninstallEnabled) << Describe(mixed);
  EXPECT_FALSE(mixed.autoStartEnabled) << Describe(mixed);
  EXPECT_TRUE(IsRunning(kMySql));

  // Checked again: all running once more.
  ASSERT_TRUE(ClickControl(tool, 选择框Apache));
  ASSERT_TRUE(WaitForServiceState(kApache, 4, kServiceTimeoutMs)) << "state " << ServiceState(kApache);
  WindowReading reading;
  ASSERT_TRUE(WaitUntilWindowIsTruthful(window, kTwoTicksMs, reading)) << Describe(reading);
  ASSERT_TRUE(ShowsStates(reading, true, true)) << Describe(reading);

  // phpMyAdmin: the generation's address goes to the browser, and the page is there.
  ASSERT_TRUE(ClickControl(tool, 按钮5));
  const std::optional<std::string> opened = wine_test::WaitForFile(report, 10);
  ASSERT_TRUE(opened) << "no address was opened";
  EXPECT_EQ(*opened, GetParam().adminAddress);
  const HttpAnswer page = HttpGet(*opened, kHttpTimeoutMs);
  EXPECT_EQ(page.status, 200) << page.error << "; the fake Apache's notes: "
                              << ::testing::PrintToString(bundle::ReadNotes(bundle::RunLogPathOf(bundle.Httpd())));
  EXPECT_NE(page.body.find(bundle::kAdminPageMarker), std::string::npos) << page.body;

  // Uninstall, confirmed: both services go, and the next tick says so.
  std::string boxText;
  ASSERT_TRUE(UninstallAnswering(tool, uidriver::Answer::Ok, boxText));
  EXPECT_EQ(boxText, "确定准备卸载吗");
  EXPECT_TRUE(WaitForServiceGone(kApache, kServiceTimeoutMs));
  EXPECT_TRUE(WaitForServiceGone(kMySql, kServiceTimeoutMs));
  ASSERT_TRUE(WaitUntilWindowIsTruthful(window, kTwoTicksMs, reading)) << Describe(reading);
  EXPECT_TRUE(ShowsStates(reading, false, false)) << Describe(reading);
}

// Neither the answer to the confirmation nor closing the window depends on
// the generation: these run with the bundle from 8.0 on.
TEST(KeepRunning, UninstallCancelledOrClosed) {
  BundleScenario scenario(kGenerationCases[0]);
  std::string failure;
  ASSERT_TRUE(scenario.Ready(failure)) << failure;
  ASSERT_TRUE(AutoStartBothServices(scenario.TheTool(), failure)) << failure;
  for (uidriver::Answer answer : {uidriver::Answer::Cancel, uidriver::Answer::Close}) {
    SCOPED_TRACE(answer == uidriver::Answer::Cancel ? "Cancel" : "box closed");
    std::string boxText;
    ASSERT_TRUE(UninstallAnswering(scenario.TheTool(), answer, boxText));
    EXPECT_EQ(boxText, "确定准备卸载吗");
    // A confirmed removal stops the services before the handler returns;
    // here nothing stops, and the window stays as it was past the next tick.
    EXPECT_FALSE(uidriver::WaitUntil([] { return !IsRunning(kApache) || !IsRunning(kMySql); }, kTickMs + 300));
    WindowReading reading = scenario.Reading();
    EXPECT_TRUE(ShowsStates(reading, true, true)) << Describe(reading);
  }
}

TEST(KeepRunning, WindowClosedAndToolStartedAgain) {
  BundleScenario scenario(kGenerationCases[0]);
  std::string failure;
  ASSERT_TRUE(scenario.Ready(failure)) << failure;
  ASSERT_TRUE(AutoStartBothServices(scenario.TheTool(), failure)) << failure;
  ASSERT_TRUE(scenario.TheTool().Close());
  EXPECT_TRUE(IsRunning(kApache));
  EXPECT_TRUE(IsRunning(kMySql));

  // The very first tick of the new window finds both running.
  ASSERT_TRUE(scenario.StartTool(kAllRunningText, failure)) << failure;
  WindowReading reading = scenario.Reading();
  EXPECT_TRUE(ShowsStates(reading, true, true)) << Describe(reading);
  EXPECT_TRUE(IsRunning(kApache));
  EXPECT_TRUE(IsRunning(kMySql));
}

INSTANTIATE_TEST_SUITE_P(Generations, RoundTrip, ::testing::ValuesIn(kGenerationCases), CaseName);

}  // namespace
}  // namespace e2e
