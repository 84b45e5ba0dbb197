#include "location/version_selection.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "location/bundle_layout.h"
#include "location/existing_directory.h"
#include "support/system.h"
#include "support/text.h"

using namespace controls;

namespace {

// Points both directories at the generation's layout and mirrors them in
// their labels; a folder that does not exist leaves its directory empty.
void DeriveDirectories(const char* generation, const char* subdir, const Text& apacheVersion,
                       const Text& mySqlVersion) {
  ProgramState& state = State();
  ui::ControlModel& window = MainWindow();
  state.LayoutGeneration = generation;
  state.LayoutSubdir = subdir;
  state.ApacheDir = ExistingDirectoryOrEmpty(ConcatText(state.BundleRoot, state.LayoutSubdir, "Apache", apacheVersion));
  window.SetCaption(标签1, state.ApacheDir);
  state.MySqlDir = ExistingDirectoryOrEmpty(ConcatText(state.BundleRoot, state.LayoutSubdir, "MySQL", mySqlVersion));
  window.SetCaption(标签2, state.MySqlDir);
}

}  // namespace

void OnGenerationSelected() {
  ui::ControlModel& window = MainWindow();
  if (window.SelectedIndex(组合框Vemtra版本) == kGenerationBefore8Index) {
    DeriveDirectories(kGenerationBefore8, kSubdirBefore8, Text(), Text());
    window.SetDisabled(组合框apche版本, 1);
    window.SetDisabled(组合框mysql版本, 1);
  }
  if (window.SelectedIndex(组合框Vemtra版本) == kGenerationFrom8Index) {
    DeriveDirectories(kGenerationFrom8, kSubdirFrom8, State().ApacheVersion, State().MySqlVersion);
    window.SetDisabled(组合框apche版本, 0);
    window.SetDisabled(组合框mysql版本, 0);
  }
}

void OnMySqlVersionSelected() {
  ProgramState& state = State();
  ui::ControlModel& window = MainWindow();
  Text shown = window.Caption(标签2);
  Text version = window.Content(组合框mysql版本);
  // The folder name is matched in any letter case, so the lower-case form
  // that detection writes is rebuilt as well.
  Text head = TextBetween(shown, "", "\\MySQL", 0, true);
  Text candidate = ConcatText(head, "\\MySQL", version);
  if (IsDirectory(candidate)) {
    state.MySqlDir = candidate;
    window.SetCaption(标签2, state.MySqlDir);
    window.SetCaption(透明标签1, ConcatText("当前MySQL版本:", version));
  } else {
    window.SetSelectedIndex(组合框mysql版本, state.MySqlPrevIndex);
    window.SetCaption(透明标签1, "选择版本不存在");
  }
}

void OnMySqlListWillPopUp() { State().MySqlPrevIndex = MainWindow().SelectedIndex(组合框mysql版本); }
