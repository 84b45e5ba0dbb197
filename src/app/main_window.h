// The program's one window as its handlers see it: named controls with
// properties (the control model), whatever view shows them.
#pragma once

#include "ui/control_model.h"
#include "ui/window_description.h"

// The window template: every control with its place, texts and colours,
// and the bindings of events to the handlers.
const ui::WindowDescription& MainWindowTemplate();

// The open main window. Only valid while one is attached.
ui::ControlModel& MainWindow();
void AttachMainWindow(ui::ControlModel* window);

// Names used where the code refers to the window or its timer by role.
inline constexpr const char* kMainWindowName = "MainWindow";
