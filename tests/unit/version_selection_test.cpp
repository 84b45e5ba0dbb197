// Switching the layout generation and choosing the MySQL version.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "window_fixture.h"

using namespace controls;

namespace {

constexpr int kIndex5_5_29 = 2;
constexpr int kIndex5_7_26 = 3;
constexpr int kIndex8_0_12 = 4;

class VersionSelection : public MainWindowTest {
 protected:
  void Make(const Text& windowsPath) { sim::CreateDirectories(windowsPath); }

  // Chooses a MySQL version the way a user does: open the list, pick.
  void ChooseMySql(int index) { ASSERT_TRUE(Window().PickFromOpenList(组合框mysql版本, index)); }
};

TEST_F(VersionSelection, RebuildsTheDirectoryAGenerationSwitchWrote) {
  Make("D:\\vemtra_pro\\Extensions\\MySQL5.7.26");
  Make("D:\\vemtra_pro\\Extensions\\mysql5.5.29");
  Window().Open();
  ASSERT_TRUE(Window().Pick(组合框Vemtra版本, 1));
  ASSERT_TRUE(Window().Pick(组合框Vemtra版本, 0));
  ASSERT_EQ(Model().Caption(标签2), "D:\\vemtra_pro\\Extensions\\MySQL5.7.26");

  ChooseMySql(kIndex5_5_29);
  EXPECT_EQ(State().MySqlDir, "D:\\vemtra_pro\\Extensions\\MySQL5.5.29");
  EXPECT_EQ(Model().Caption(标签2), "D:\\vemtra_pro\\Extensions\\MySQL5.5.29");
  EXPECT_EQ(Model().Caption(透明标签1), "当前MySQL版本:5.5.29");
}

TEST_F(VersionSelection, AMissingVersionTakesTheChoiceBack) {
  Make("D:\\vemtra_pro\\Extensions\\mysql5.7.26");
  Window().Open();
  ChooseMySql(kIndex8_0_12);
  EXPECT_EQ(Model().SelectedIndex(组合框mysql版本), kIndex5_7_26);  // as it was when it opened
  EXPECT_EQ(Model().Content(组合框mysql版本), "5.7.26");
  EXPECT_EQ(Model().Caption(透明标签1), "选择版本不存在");
  EXPECT_EQ(State().MySqlDir, "D:\\vemtra_pro\\Extensions\\mysql5.7.26");
  EXPECT_EQ(Model().Caption(标签2), "D:\\vemtra_pro\\Extensions\\mysql5.7.26");
}

TEST_F(VersionSelection, WorksOnTheLowerCaseFolderThatDetectionWrites) {
  Make("C:\\vemtra_pro\\Extensions\\mysql5.7.26");
  Make("C:\\vemtra_pro\\Extensions\\mysql5.5.29");
  Window().Open();
  ASSERT_EQ(Model().Caption(标签2), "C:\\vemtra_pro\\Extensions\\mysql5.5.29");  // first in list order
  ChooseMySql(kIndex5_7_26);
  EXPECT_EQ(State().MySqlDir, "C:\\vemtra_pro\\Extensions\\MySQL5.7.26");
  EXPECT_EQ(Model().Caption(透明标签1), "当前MySQL版本:5.7.26");
}

struct RebuildCase {
  const char* label;
  const char* existing;  // folder made on disk, or nullptr
  const char* expectedDir;  // nullptr: the choice is taken back
};

TEST_F(VersionSelection, TheHeadIsWhatStandsBeforeTheFirstMySqlFolderName) {
  // Chosen version: 5.5.29.
  const RebuildCase cases[] = {
      {"E:\\db\\MySQL5.7.26", "E:\\db\\MySQL5.5.29", "E:\\db\\MySQL5.5.29"},
      {"D:\\MySQL\\Extensions\\MySQL5.7.26", "D:\\MySQL5.5.29", "D:\\MySQL5.5.29"},
      {"", "C:\\MySQL5.5.29", "\\MySQL5.5.29"},  // the root of the current drive
      {"", nullptr, nullptr},
      {"E:\\db\\mariadb", nullptr, nullptr},  // no "\MySQL" at all: "\MySQL5.5.29"
      {"\\MySQL5.7.26", nullptr, nullptr},
      // 運 ends in 0x5C: the "\MySQL" after it is not a folder name.
      {"D:\\x運MySQL\\Extensions\\MySQL5.7.26", "D:\\x運MySQL\\Extensions\\MySQL5.5.29",
       "D:\\x運MySQL\\Extensions\\MySQL5.5.29"},
  };
  for (const RebuildCase& c : cases) {
    TearDown();
    SetUp();
    if (c.existing) Make(c.existing);
    Window().Open();
    Model().SetCaption(标签2, c.label);
    State().MySqlDir = "before";
    ChooseMySql(kIndex5_5_29);
    if (c.expectedDir) {
      EXPECT_EQ(State().MySqlDir, c.expectedDir) << c.label;
      EXPECT_EQ(Model().Caption(标签2), c.expectedDir) << c.label;
      EXPECT_EQ(Model().Caption(透明标签1), "当前MySQL版本:5.5.29");
    } else {
      EXPECT_EQ(State().MySqlDir, "before") << c.label;
      EXPECT_EQ(Model().Caption(标签2), c.label);
      EXPECT_EQ(Model().Caption(透明标签1), "选择版本不存在") << c.label;
      EXPECT_EQ(Model().SelectedIndex(组合框mysql版本), kIndex5_7_26);
    }
  }
}

TEST_F(VersionSelection, AKeyboardChoiceBeforeTheListEverOpenedGoesBackToTheFirstItem) {
  Window().Open();
  ASSERT_TRUE(Window().Pick(组合框mysql版本, kIndex8_0_12));
  EXPECT_EQ(Model().SelectedIndex(组合框mysql版本), 0);
  EXPECT_EQ(Model().Content(组合框mysql版本), "5.0.96");
  EXPECT_EQ(Model().Caption(透明标签1), "选择版本不存在");
}

TEST_F(VersionSelection, SwitchingBackToFrom8UsesTheVersionsCapturedAtStart) {
  Make("C:\\vemtra_pro\\Extensions\\Apache2.4.39");
  Make("C:\\vemtra_pro\\Extensions\\mysql5.7.26");
  Make("C:\\vemtra_pro\\Extensions\\mysql5.5.29");
  Window().Open();
  ChooseMySql(kIndex5_5_29);
  ASSERT_EQ(Model().Caption(透明标签1), "当前MySQL版本:5.5.29");
  Window().Pick(组合框Vemtra版本, 1);
  Window().Pick(组合框Vemtra版本, 0);
  EXPECT_EQ(State().MySqlDir, "C:\\vemtra_pro\\Extensions\\MySQL5.7.26");
  EXPECT_EQ(State().ApacheDir, "C:\\vemtra_pro\\Extensions\\Apache2.4.39");
  EXPECT_EQ(Model().Content(组合框mysql版本), "5.5.29");  // the list keeps the user's choice
}

TEST_F(VersionSelection, SwitchingToBefore8) {
  Make("D:\\vemtra\\DIRAvizaver\\Apache");
  Make("D:\\vemtra\\DIRAvizaver\\mysql");
  Make("D:\\vemtra\\Extensions");
  Window().Open();
  ASSERT_EQ(State().LayoutGeneration, "8.0后");
  Window().Pick(组合框Vemtra版本, 1);
  EXPECT_EQ(State().LayoutGeneration, "8.0前");
  EXPECT_EQ(State().LayoutSubdir, "\\DIRAvizaver\\");
  EXPECT_EQ(State().ApacheDir, "D:\\vemtra\\DIRAvizaver\\Apache");
  EXPECT_EQ(State().MySqlDir, "D:\\vemtra\\DIRAvizaver\\MySQL");
  EXPECT_EQ(Model().Caption(标签2), "D:\\vemtra\\DIRAvizaver\\MySQL");
  EXPECT_TRUE(Model().Disabled(组合框apche版本));
  EXPECT_TRUE(Model().Disabled(组合框mysql版本));
  EXPECT_EQ(Model().Caption(透明标签1), "");
}

TEST_F(VersionSelection, SwitchingToFrom8ForARootOfTheOldLayout) {
  Make("D:\\vemtra\\DIRAvizaver\\Apache");
  Make("D:\\vemtra\\DIRAvizaver\\mysql");
  Window().Open();
  ASSERT_TRUE(Model().Disabled(组合框mysql版本));
  Window().Pick(组合框Vemtra版本, 0);
  EXPECT_EQ(State().LayoutGeneration, "8.0后");
  EXPECT_EQ(State().ApacheDir, "");
  EXPECT_EQ(State().MySqlDir, "");
  EXPECT_EQ(Model().Caption(标签1), "");
  EXPECT_EQ(Model().Caption(标签2), "");
  EXPECT_FALSE(Model().Disabled(组合框apche版本));
  EXPECT_FALSE(Model().Disabled(组合框mysql版本));
  EXPECT_EQ(State().BundleRoot, "D:\\vemtra");
}

TEST_F(VersionSelection, SwitchingWithoutAnyLayoutFound) {
  Window().Open();
  ASSERT_EQ(State().LayoutGeneration, "");
  Make("C:\\DIRAvizaver\\Apache");  // appears at the root of the current drive later
  Window().Pick(组合框Vemtra版本, 1);
  EXPECT_EQ(State().LayoutGeneration, "8.0前");
  EXPECT_EQ(State().ApacheDir, "\\DIRAvizaver\\Apache");  // built on the empty root
  EXPECT_EQ(State().ApacheServiceName, "");
}

}  // namespace
