// Finding the bundle: the tool started with a bundle at one of its fixed
// candidate roots shows the three directories, the generation and the
// state of the version lists, and switches the MySQL version through the
// real list.
#include <gtest/gtest.h>

#include "ansi_text.h"
#include "app/controls.h"
#include "scenario_support.h"
#include "test_bundle.h"
#include "tool_window.h"

namespace e2e {
namespace {

using namespace controls;

// The status line keeps a handler's text only until the next tick, which
// writes the none-running text again (no service runs here). Picking right
// after a tick leaves the better part of a second to read it.
bool WaitForTickAfterHandlerText(const Tool& tool) {
  return tool.Session().WaitForText(透明标签1, kNoneRunningText, kTwoTicksMs);
}

TEST(Location, FindsTheBundleFrom80OnAtCAndSwitchesTheMySqlVersionThroughTheList) {
  CleanSlate slate;
  TestBundle bundle(kRootFrom8, {bundle::Generation::From8, {"5.5.29", "5.7.26"}});
  ASSERT_TRUE(bundle.Ok());
  Tool tool;
  ASSERT_TRUE(tool.Started());
  ASSERT_EQ(tool.WaitForFirstTick(), kNoneRunningText);
  const window_test::WindowSession& window = tool.Session();

  EXPECT_EQ(window.Text(标签3), "C:\\vemtra_pro");
  EXPECT_EQ(window.Text(标签1), "C:\\vemtra_pro\\Extensions\\Apache2.4.39");
  // The first of the list's versions whose folder exists, whatever the list shows.
  EXPECT_EQ(window.Text(标签2), "C:\\vemtra_pro\\Extensions\\mysql5.5.29");
  const uidriver::ControlInfo generations = window.Describe(组合框Vemtra版本);
  EXPECT_EQ(generations.items, (std::vector<std::string>{"8.0后", "8.0前"}));
  EXPECT_EQ(generations.selected, 0);
  EXPECT_TRUE(window.Describe(组合框apche版本).enabled);
  const uidriver::ControlInfo versions = window.Describe(组合框mysql版本);
  EXPECT_TRUE(versions.enabled);
  ASSERT_EQ(versions.items, (std::vector<std::string>{"5.0.96", "5.1.60", "5.5.29", "5.7.26", "8.0.12"}));
  EXPECT_EQ(versions.selected, 3);

  // 5.5.29, whose folder exists: taken, with the folder name rebuilt.
  HWND list = window.Control(组合框mysql版本);
  ASSERT_TRUE(uidriver::ClickItemInOpenList(list, 2));
  EXPECT_TRUE(window.WaitForText(透明标签1, "当前MySQL版本:5.5.29", kTickMs))
      << uidriver::AnsiToUtf8(window.Text(透明标签1));
  EXPECT_EQ(window.Text(标签2), "C:\\vemtra_pro\\Extensions\\MySQL5.5.29");
  EXPECT_EQ(window.Describe(组合框mysql版本).selected, 2);

  // 8.0.12, whose folder does not exist: the list goes back to the item it
  // showed when it opened, and the label keeps its directory.
  ASSERT_TRUE(WaitForTickAfterHandlerText(tool));
  ASSERT_TRUE(uidriver::PickFromOpenList(list, 4));
  EXPECT_TRUE(window.WaitForText(透明标签1, "选择版本不存在", kTickMs))
      << uidriver::AnsiToUtf8(window.Text(透明标签1));
  EXPECT_EQ(window.Describe(组合框mysql版本).selected, 2);
  EXPECT_EQ(window.Text(标签2), "C:\\vemtra_pro\\Extensions\\MySQL5.5.29");
}

TEST(Location, FindsTheBundleBefore80OnDriveD) {
  CleanSlate slate;
  ScenarioDriveD driveD;
  ASSERT_TRUE(driveD.Ok()) << driveD.Error();
  TestBundle bundle(kRootOnD, {bundle::Generation::Before8, {}});
  ASSERT_TRUE(bundle.Ok());
  Tool tool;
  ASSERT_TRUE(tool.Started());
  ASSERT_EQ(tool.WaitForFirstTick(), kNoneRunningText);
  const window_test::WindowSession& window = tool.Session();

  // Probed as D:\vemTra, shown as D:\vemtra.
  EXPECT_EQ(window.Text(标签3), "D:\\vemtra");
  EXPECT_EQ(window.Text(标签1), "D:\\vemtra\\DIRAvizaver\\Apache");
  EXPECT_EQ(window.Text(标签2), "D:\\vemtra\\DIRAvizaver\\mysql");
  const uidriver::ControlInfo generations = window.Describe(组合框Vemtra版本);
  EXPECT_EQ(generations.selected, 1);
  EXPECT_EQ(generations.text, "8.0前");
  EXPECT_FALSE(window.Describe(组合框apche版本).enabled);
  EXPECT_FALSE(window.Describe(组合框mysql版本).enabled);
}

}  // namespace
}  // namespace e2e
