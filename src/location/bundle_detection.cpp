#include "location/bundle_detection.h"

#include <array>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "location/bundle_layout.h"
#include "location/existing_directory.h"
#include "support/system.h"
#include "support/text.h"

using namespace controls;

namespace {

struct CandidateRoot {
  const char* tested;
  const char* stored;  // what the label shows and every path begins with
};

constexpr std::array<CandidateRoot, 6> kCandidateRoots = {{
    {"C:\\vemtra_pro", "C:\\vemtra_pro"},
    {"D:\\vemtra_pro", "D:\\vemtra_pro"},
    {"C:\\vemTra", "C:\\vemtra"},
    {"D:\\vemTra", "D:\\vemtra"},
    {"E:\\vemTra", "E:\\vemtra"},
    {"E:\\vemTra_pro", "E:\\vemtra_pro"},
}};

// The MySQL folder is probed for the first five versions of the list.
constexpr int kMySqlProbeCount = 5;

void SetBundleRoot(const Text& root) {
  State().BundleRoot = root;
  MainWindow().SetCaption(标签3, State().BundleRoot);
}

void SetApacheDir(const Text& candidate) {
  State().ApacheDir = ExistingDirectoryOrEmpty(candidate);
  MainWindow().SetCaption(标签1, State().ApacheDir);
}

}  // namespace

void OnWindowCreated() {
  ui::ControlModel& window = MainWindow();
  window.SetPeriod(时钟1, 1000);
  DetectBundleRoot();
  ResolveApacheDir();
  ResolveMySqlDir();
  State().ApacheVersion = window.Content(组合框apche版本);
  State().MySqlVersion = window.Content(组合框mysql版本);
}

void DetectBundleRoot() {
  for (const CandidateRoot& candidate : kCandidateRoots) {
    if (IsDirectory(candidate.tested)) {
      SetBundleRoot(candidate.stored);
      return;
    }
  }
}

void ResolveApacheDir() {
  ProgramState& state = State();
  ui::ControlModel& window = MainWindow();
  if (IsDirectory(ConcatText(state.BundleRoot, kMarkerBefore8))) {
    state.LayoutSubdir = kSubdirBefore8;
    state.ApacheServiceName = kApacheServiceName;
    state.LayoutGeneration = kGenerationBefore8;
    window.SetSelectedIndex(组合框Vemtra版本, kGenerationBefore8Index);
    SetApacheDir(ConcatText(state.BundleRoot, state.LayoutSubdir, "Apache"));
    window.SetDisabled(组合框apche版本, 1);
  }
  if (IsDirectory(ConcatText(state.BundleRoot, kMarkerFrom8))) {
    state.LayoutSubdir = kSubdirFrom8;
    state.ApacheServiceName = kApacheServiceName;
    state.LayoutGeneration = kGenerationFrom8;
    window.SetSelectedIndex(组合框Vemtra版本, kGenerationFrom8Index);
    SetApacheDir(ConcatText(state.BundleRoot, state.LayoutSubdir, "Apache", window.Content(组合框apche版本)));
    window.SetDisabled(组合框apche版本, 0);
  }
}

void ResolveMySqlDir() {
  ProgramState& state = State();
  ui::ControlModel& window = MainWindow();
  if (CompareText(state.LayoutGeneration, kGenerationBefore8) == 0) {
    state.LayoutSubdir = kSubdirBefore8;
    state.MySqlDir = ExistingDirectoryOrEmpty(ConcatText(state.BundleRoot, state.LayoutSubdir, "mysql"));
    window.SetCaption(标签2, state.MySqlDir);
    window.SetDisabled(组合框mysql版本, 1);
  }
  if (CompareText(state.LayoutGeneration, kGenerationFrom8) == 0) {
    state.LayoutSubdir = kSubdirFrom8;
    for (int k = 0; k < kMySqlProbeCount; ++k) {
      Text candidate =
          ConcatText(state.BundleRoot, state.LayoutSubdir, "mysql", window.ListItemText(组合框mysql版本, k));
      if (IsDirectory(candidate)) {
        state.MySqlDir = candidate;
        window.SetCaption(标签2, state.MySqlDir);
        return;
      }
    }
    state.MySqlDir.clear();
    window.SetCaption(标签2, state.MySqlDir);
    window.SetDisabled(组合框mysql版本, 0);
  }
}

void OnBrowseRootClicked() {
  SetBundleRoot(BrowseForFolder("选择Vemtra安装位置"));
  ResolveApacheDir();
  ResolveMySqlDir();
}

void OnBrowseApacheClicked() {
  MainWindow().SetCaption(标签1, BrowseForFolder("选择Apache安装位置"));
  ResolveApacheDir();
}

void OnBrowseMySqlClicked() {
  MainWindow().SetCaption(标签2, BrowseForFolder("选择MySQL安装位置"));
  ResolveMySqlDir();
}
