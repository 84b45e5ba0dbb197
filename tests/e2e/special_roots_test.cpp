// Installing from bundle roots whose folder names hold characters that a
// command interpreter would act on, or a double-byte character whose trail
// byte is the path separator. The tool finds only its fixed candidate
// roots, so each root is chosen with the root browse button through the
// real folder chooser.
#include <gtest/gtest.h>

#include "ansi_text.h"
#include "app/controls.h"
#include "bundle/server_profiles.h"
#include "folder_chooser.h"
#include "scenario_support.h"
#include "service_probe.h"
#include "test_bundle.h"
#include "tool_window.h"

namespace e2e {
namespace {

using namespace controls;

constexpr DWORD kChooserTimeoutMs = 10000;
constexpr DWORD kServiceTimeoutMs = 10000;

struct RootCase {
  const char* name;
  const char* root;
  // The service manager expands environment variables in a binary path
  // when it starts a service (as Windows does), so a folder named %OS% is
  // looked for as Windows_NT and the services cannot start; they are still
  // registered with the exact path.
  bool servicesCanStart;
};

const RootCase kRootCases[] = {
    {"Blank", "C:\\vemtra-e2e\\web dir", true},
    {"AmpersandAndParentheses", "C:\\vemtra-e2e\\R&D (x86) & calc", true},
    {"EnvironmentVariable", "C:\\vemtra-e2e\\%OS%", false},
    {"TrailByteIsSeparator", "C:\\vemtra-e2e\\運", true},  // 運 is DF 5C in GBK
};

std::string CaseName(const ::testing::TestParamInfo<RootCase>& info) { return info.param.name; }
void PrintTo(const RootCase& c, std::ostream* out) { *out << c.name; }

class SpecialRoot : public ::testing::TestWithParam<RootCase> {};

TEST_P(SpecialRoot, ChosenWithTheFolderChooserInstallsWithExactQuotedPaths) {
  CleanSlate slate;
  TestBundle bundle(GetParam().root, {bundle::Generation::From8});
  ASSERT_TRUE(bundle.Ok());
  Tool tool;
  ASSERT_TRUE(tool.Started());
  ASSERT_EQ(tool.WaitForFirstTick(), kNoneRunningText);
  const window_test::WindowSession& window = tool.Session();
  ASSERT_EQ(window.Text(标签3), "");  // no candidate root exists

  // The root, chosen in the chooser's tree.
  ASSERT_TRUE(ClickControl(tool, 按钮4));
  HWND chooser = FindFolderChooser(tool.ThreadId(), kChooserTimeoutMs);
  ASSERT_NE(chooser, nullptr) << "no folder chooser appeared";
  EXPECT_EQ(FolderChooserPrompt(chooser), "选择Vemtra安装位置");
  std::string error;
  ASSERT_TRUE(SelectFolderInChooser(chooser, bundle.Root(), error)) << uidriver::AnsiToUtf8(error);
  ASSERT_TRUE(AcceptFolderChooser(chooser));
  ASSERT_TRUE(window.WaitForText(标签3, bundle.Root(), kChooserTimeoutMs))
      << uidriver::AnsiToUtf8(window.Text(标签3));
  EXPECT_EQ(window.Text(标签1), bundle.ApacheDir());
  EXPECT_EQ(window.Text(标签2), bundle.MySqlDir());

  // Auto-start: each installer runs straight from the tool (no command
  // interpreter between them) with its quoted path, and registers exactly
  // that path.
  ASSERT_TRUE(ClickControl(tool, 按钮3));
  ASSERT_TRUE(uidriver::WaitUntil([] { return ServiceExists(kApache) && ServiceExists(kMySql); }, kServiceTimeoutMs));
  EXPECT_EQ(BinaryPathOf(kApache), ExpectedBinaryPath(bundle.Httpd(), bundle::kApacheProfile.serviceArguments));
  EXPECT_EQ(BinaryPathOf(kMySql), ExpectedBinaryPath(bundle.Mysqld(), bundle::kMySqlProfile.serviceArguments));
  if (GetParam().servicesCanStart) {
    EXPECT_TRUE(WaitForServiceState(kApache, 4, kServiceTimeoutMs));
    EXPECT_TRUE(WaitForServiceState(kMySql, 4, kServiceTimeoutMs));
  }
  WindowReading reading;
  EXPECT_TRUE(WaitUntilWindowIsTruthful(window, kTwoTicksMs, reading)) << Describe(reading);

  struct Expected {
    std::string program;
    std::string installCommand;
  };
  for (const Expected& expected : {Expected{bundle.Httpd(), "\"" + bundle.Httpd() + "\" -k install"},
                                   Expected{bundle.Mysqld(), "\"" + bundle.Mysqld() + "\"  install"}}) {
    SCOPED_TRACE(uidriver::AnsiToUtf8(expected.program));
    const std::vector<bundle::RunRecord> runs = bundle.Runs(expected.program);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs[0].parent, "vemtra-autostart.exe");
    EXPECT_EQ(uidriver::AnsiToUtf8(runs[0].commandLine), uidriver::AnsiToUtf8(expected.installCommand));
    // Every later run is the service, started by the service manager; the
    // services that cannot start never ran.
    for (size_t i = 1; i < runs.size(); ++i) EXPECT_EQ(runs[i].parent, "services.exe");
    EXPECT_EQ(runs.size() > 1, GetParam().servicesCanStart);
  }
  EXPECT_TRUE(ToolIsResponsive(window));
}

INSTANTIATE_TEST_SUITE_P(Roots, SpecialRoot, ::testing::ValuesIn(kRootCases), CaseName);

}  // namespace
}  // namespace e2e
