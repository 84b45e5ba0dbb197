// What the driver should read of a window built from a ui::WindowDescription, and
// the comparisons of a reading with it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/window_description.h"
#include "ui_driver.h"

namespace window_test {

struct ExpectedControl {
  std::string name;
  std::string kind;  // as the driver names it: Button, CheckBox, ComboBox, Static
  uidriver::Box box;
  std::string text;
  bool enabled = true;
  bool centered = false;  // statics
  int checked = -1;       // check boxes
  int selected = -1;      // lists
  std::vector<std::string> items;
  int dropDownHeight = 0;
};

// Every control of the description that has a window, in stacking order, as the
// window shows it when it opens.
std::vector<ExpectedControl> ExpectedControls(const ui::WindowDescription& description);

ExpectedControl& Named(std::vector<ExpectedControl>& controls, std::string_view name);

// The reading holds exactly the expected controls, in that order, each as
// expected. A closed list's height is the platform's (its font decides it),
// so for lists the height is checked through how far the open list reaches.
void ExpectControls(const std::vector<uidriver::ControlInfo>& actual, const std::vector<ExpectedControl>& expected);

// Title, outer size, centred on a desktop of the given size, a fixed border
// with title bar, system menu and minimise box and no maximise box.
void ExpectWindowFrame(const uidriver::WindowInfo& window, const ui::WindowDescription& description, int desktopWidth,
                       int desktopHeight);

}  // namespace window_test
