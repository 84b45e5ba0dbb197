// The real vemtra-autostart.exe in a fresh prefix (no bundle, no service):
// its window against the window template, and how it ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/main_window.h"
#include "window_expectations.h"
#include "window_session.h"

namespace window_test {
namespace {

using namespace controls;

std::string DesktopName() {
  return std::string("vemtra-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// The first tick of the status monitor finds neither service running: it
// reports them uninstalled, offers the auto-start button only and
// disables the toggles, the uninstall and the phpMyAdmin buttons.
std::vector<ExpectedControl> AfterFirstTick(std::vector<ExpectedControl> controls) {
  Named(controls, 透明标签1).text = "服务已卸载";
  for (const char* disabled : {按钮7, 选择框Apache, 选择框MySQL, 按钮5}) Named(controls, disabled).enabled = false;
  Named(controls, 按钮3).enabled = true;
  return controls;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : session_(DesktopName(), MainWindowTemplate()) {}
  void SetUp() override { ASSERT_NE(session_.Window(), nullptr); }

  WindowSession session_;
};

TEST_F(MainWindowTest, OpensAsTheTemplateDescribes) {
  const ui::WindowDescription& description = MainWindowTemplate();
  const std::vector<ExpectedControl> opened = ExpectedControls(description);

  // Read at once, the window is most likely still before its first tick
  // (one second after it opened); the status line tells which it is.
  const uidriver::WindowInfo first = session_.DescribeWindow();
  ExpectWindowFrame(first, description, kDesktopWidth, kDesktopHeight);
  const bool beforeFirstTick = session_.Text(透明标签1).empty();
  std::printf("first reading taken %s the first tick\n", beforeFirstTick ? "before" : "after");
  ExpectControls(first.controls, beforeFirstTick ? opened : AfterFirstTick(opened));

  // After the first tick, exactly the monitor's changes.
  ASSERT_TRUE(session_.WaitForText(透明标签1, "服务已卸载", 10000)) << session_.Text(透明标签1);
  ExpectControls(session_.DescribeWindow().controls, AfterFirstTick(opened));
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
  const std::optional<DWORD> exitCode = session_.Close();
  ASSERT_TRUE(exitCode) << "the program did not end";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
}  // namespace window_test

int main(int argc, char** argv) { return window_test::RunTestsOnProgram(argc, argv, "VEMTRA-AUTOSTART-EXE"); }
