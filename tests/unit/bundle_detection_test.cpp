// Finding the bundle at start and through the browse buttons, on the
// simulated file system.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "location/bundle_detection.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "window_fixture.h"

using namespace controls;

namespace {

class BundleDetection : public MainWindowTest {
 protected:
  void Make(const Text& windowsPath) { sim::CreateDirectories(windowsPath); }

  // Both layouts' folders for a root.
  void MakeLayoutFrom8(const Text& root, std::initializer_list<const char*> mysqlVersions = {"5.7.26"}) {
    Make(root + "\\Extensions\\Apache2.4.39");
    for (const char* version : mysqlVersions) Make(root + "\\Extensions\\mysql" + version);
  }
  void MakeLayoutBefore8(const Text& root) {
    Make(root + "\\DIRAvizaver\\Apache");
    Make(root + "\\DIRAvizaver\\mysql");
  }

  void ExpectLabels(const Text& root, const Text& apache, const Text& mysql) {
    EXPECT_EQ(State().BundleRoot, root);
    EXPECT_EQ(Model().Caption(标签3), root);
    EXPECT_EQ(State().ApacheDir, apache);
    EXPECT_EQ(Model().Caption(标签1), apache);
    EXPECT_EQ(State().MySqlDir, mysql);
    EXPECT_EQ(Model().Caption(标签2), mysql);
  }
};

TEST_F(BundleDetection, LayoutFrom8AtTheFirstCandidate) {
  MakeLayoutFrom8("C:\\vemtra_pro");
  Window().Open();
  ExpectLabels("C:\\vemtra_pro", "C:\\vemtra_pro\\Extensions\\Apache2.4.39", "C:\\vemtra_pro\\Extensions\\mysql5.7.26");
  EXPECT_EQ(State().LayoutGeneration, "8.0后");
  EXPECT_EQ(State().LayoutSubdir, "\\Extensions\\");
  EXPECT_EQ(State().ApacheServiceName, "Apache2.4");
  EXPECT_EQ(State().ApacheVersion, "2.4.39");
  EXPECT_EQ(State().MySqlVersion, "5.7.26");
  EXPECT_EQ(Model().SelectedIndex(组合框Vemtra版本), 0);
  EXPECT_FALSE(Model().Disabled(组合框apche版本));
  EXPECT_FALSE(Model().Disabled(组合框mysql版本));
  EXPECT_EQ(Model().Period(时钟1), 1000);
  EXPECT_EQ(Window().TicksRaised(), 0);  // the first tick comes a period later
}

TEST_F(BundleDetection, NoCandidateLeavesEverythingEmpty) {
  Window().Open();
  ExpectLabels("", "", "");
  EXPECT_EQ(State().LayoutGeneration, "");
  EXPECT_EQ(State().ApacheServiceName, "");
  for (const char* list : {组合框Vemtra版本, 组合框apche版本, 组合框mysql版本}) EXPECT_FALSE(Model().Disabled(list));
  EXPECT_EQ(Model().Content(组合框Vemtra版本), "8.0后");
}

TEST_F(BundleDetection, WithoutARootTheMarkersAreProbedAtTheCurrentDriveRoot) {
  sim::SetCurrentDrive('D');
  Make("D:\\Extensions\\Apache2.4.39");
  Window().Open();
  EXPECT_EQ(State().BundleRoot, "");
  EXPECT_EQ(State().LayoutGeneration, "8.0后");
  EXPECT_EQ(State().ApacheDir, "\\Extensions\\Apache2.4.39");
}

struct CandidateCase {
  std::vector<Text> existing;  // folders as they are spelled on disk
  Text expectedRoot;
};

TEST_F(BundleDetection, CandidatesAreProbedInOrderAndStoredInTheirOwnSpelling) {
  const CandidateCase cases[] = {
      {{"C:\\vemtra_pro", "D:\\vemtra_pro"}, "C:\\vemtra_pro"},
      {{"D:\\vemtra_pro", "C:\\vemtra"}, "D:\\vemtra_pro"},
      {{"C:\\VEMTRA"}, "C:\\vemtra"},
      {{"C:\\vemTra", "D:\\vemtra"}, "C:\\vemtra"},
      {{"D:\\VemTra", "E:\\vemtra"}, "D:\\vemtra"},
      {{"E:\\VEMTRA", "E:\\vemtra_pro"}, "E:\\vemtra"},
      {{"E:\\Vemtra_Pro"}, "E:\\vemtra_pro"},
  };
  for (const CandidateCase& c : cases) {
    TearDown();
    SetUp();
    for (const Text& folder : c.existing) Make(folder);
    DetectBundleRoot();
    EXPECT_EQ(State().BundleRoot, c.expectedRoot) << c.existing.front();
    EXPECT_EQ(Model().Caption(标签3), c.expectedRoot);
  }
}

TEST_F(BundleDetection, AFileNamedLikeARootIsNotARoot) {
  sim::CreateFile("C:\\vemtra_pro");
  Make("D:\\vemtra_pro");
  DetectBundleRoot();
  EXPECT_EQ(State().BundleRoot, "D:\\vemtra_pro");
}

TEST_F(BundleDetection, ARootWithBothMarkersIsTheLayoutFrom8) {
  MakeLayoutBefore8("C:\\vemtra_pro");
  MakeLayoutFrom8("C:\\vemtra_pro", {"5.7.26"});
  Window().Open();
  EXPECT_EQ(State().LayoutGeneration, "8.0后");
  EXPECT_EQ(State().LayoutSubdir, "\\Extensions\\");
  ExpectLabels("C:\\vemtra_pro", "C:\\vemtra_pro\\Extensions\\Apache2.4.39", "C:\\vemtra_pro\\Extensions\\mysql5.7.26");
  EXPECT_EQ(Model().SelectedIndex(组合框Vemtra版本), 0);
  EXPECT_FALSE(Model().Disabled(组合框apche版本));
  // The MySQL folder was looked for in the 8.0 layout only, so the list
  // was never disabled by the older layout.
  EXPECT_FALSE(Model().Disabled(组合框mysql版本));
}

TEST_F(BundleDetection, LayoutBefore8WithoutItsApacheFolder) {
  Make("D:\\vemtra\\DIRAvizaver\\mysql");
  Window().Open();
  EXPECT_EQ(State().LayoutGeneration, "8.0前");
  EXPECT_EQ(State().LayoutSubdir, "\\DIRAvizaver\\");
  ExpectLabels("D:\\vemtra", "", "D:\\vemtra\\DIRAvizaver\\mysql");
  EXPECT_EQ(Model().SelectedIndex(组合框Vemtra版本), 1);
  EXPECT_TRUE(Model().Disabled(组合框apche版本));
  EXPECT_TRUE(Model().Disabled(组合框mysql版本));
}

TEST_F(BundleDetection, FirstMySqlVersionInListOrderIsTaken) {
  MakeLayoutFrom8("C:\\vemtra_pro", {"8.0.12", "5.5.29"});
  Window().Open();
  EXPECT_EQ(State().MySqlDir, "C:\\vemtra_pro\\Extensions\\mysql5.5.29");
  EXPECT_EQ(Model().Content(组合框mysql版本), "5.7.26");
}

TEST_F(BundleDetection, NoneOfTheFiveMySqlFoldersEnablesTheList) {
  MakeLayoutFrom8("C:\\vemtra_pro", {"5.6.0"});
  Model().SetDisabled(组合框mysql版本, 1);
  Window().Open();
  EXPECT_EQ(State().MySqlDir, "");
  EXPECT_EQ(Model().Caption(标签2), "");
  EXPECT_FALSE(Model().Disabled(组合框mysql版本));
}

TEST_F(BundleDetection, BrowsingFromTheOldLayoutToTheNewOne) {
  MakeLayoutBefore8("D:\\vemtra");
  MakeLayoutFrom8("E:\\web", {"5.7.26"});
  Window().Open();
  EXPECT_TRUE(Model().Disabled(组合框apche版本));
  EXPECT_TRUE(Model().Disabled(组合框mysql版本));

  sim::QueueFolderChoice("E:\\web");
  ASSERT_TRUE(Window().Click(按钮4));
  EXPECT_EQ(sim::FolderPrompts().back(), "选择Vemtra安装位置");
  ExpectLabels("E:\\web", "E:\\web\\Extensions\\Apache2.4.39", "E:\\web\\Extensions\\mysql5.7.26");
  EXPECT_EQ(State().LayoutGeneration, "8.0后");
  EXPECT_FALSE(Model().Disabled(组合框apche版本));
  EXPECT_TRUE(Model().Disabled(组合框mysql版本));  // a MySQL folder was found: left as it was
}

TEST_F(BundleDetection, BrowsingToARootWithoutMarkersKeepsTheOldLayout) {
  MakeLayoutBefore8("D:\\vemtra");
  Make("E:\\elsewhere");
  Window().Open();
  sim::QueueFolderChoice("E:\\elsewhere");
  Window().Click(按钮4);
  EXPECT_EQ(State().BundleRoot, "E:\\elsewhere");
  EXPECT_EQ(State().ApacheDir, "D:\\vemtra\\DIRAvizaver\\Apache");
  EXPECT_EQ(Model().Caption(标签1), "D:\\vemtra\\DIRAvizaver\\Apache");
  EXPECT_EQ(State().LayoutGeneration, "8.0前");
  EXPECT_EQ(State().ApacheServiceName, "Apache2.4");
  // MySQL is looked for under the new root with the old generation.
  EXPECT_EQ(State().MySqlDir, "");
  EXPECT_EQ(Model().Caption(标签2), "");
}

TEST_F(BundleDetection, ACancelledChooserEmptiesTheRoot) {
  MakeLayoutFrom8("C:\\vemtra_pro");
  Window().Open();
  Window().Click(按钮4);  // nothing scripted: the chooser is cancelled
  EXPECT_EQ(State().BundleRoot, "");
  EXPECT_EQ(Model().Caption(标签3), "");
  EXPECT_EQ(State().ApacheDir, "C:\\vemtra_pro\\Extensions\\Apache2.4.39");  // no marker at "\"
  EXPECT_EQ(State().MySqlDir, "");  // "\Extensions\mysql..." does not exist on C:
}

TEST_F(BundleDetection, ADriveRootGivesDoubledSeparators) {
  Make("D:\\Extensions\\Apache2.4.39");
  Make("D:\\Extensions\\mysql5.0.96");
  Window().Open();
  sim::QueueFolderChoice("D:\\");
  Window().Click(按钮4);
  ExpectLabels("D:\\", "D:\\\\Extensions\\Apache2.4.39", "D:\\\\Extensions\\mysql5.0.96");
}

TEST_F(BundleDetection, BrowsingForApacheAndMySqlFolders) {
  Make("E:\\apache");
  Make("E:\\db");
  Window().Open();  // no bundle: the chosen folders stay in the labels
  sim::QueueFolderChoice("E:\\apache");
  Window().Click(按钮1);
  EXPECT_EQ(sim::FolderPrompts().back(), "选择Apache安装位置");
  EXPECT_EQ(Model().Caption(标签1), "E:\\apache");
  EXPECT_EQ(State().ApacheDir, "");  // only the label shows the choice

  sim::QueueFolderChoice("E:\\db");
  Window().Click(按钮2);
  EXPECT_EQ(sim::FolderPrompts().back(), "选择MySQL安装位置");
  EXPECT_EQ(Model().Caption(标签2), "E:\\db");

  // With a bundle found, the derivation that follows writes its own result.
  MakeLayoutFrom8("C:\\vemtra_pro");
  DetectBundleRoot();
  sim::QueueFolderChoice("E:\\apache");
  Window().Click(按钮1);
  EXPECT_EQ(Model().Caption(标签1), "C:\\vemtra_pro\\Extensions\\Apache2.4.39");
}

}  // namespace
