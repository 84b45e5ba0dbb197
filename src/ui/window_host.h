// The window seam: what shows a control model to the user. The native
// Win32 window and the headless test window each implement it.
#pragma once

#include "ui/control_model.h"

namespace ui {

// Prepares the platform's windowing before any window exists.
void InitWindowing();

// Creates and shows the window for `model`, raises its created event once
// every control exists, and runs the message loop until the window closes.
void RunWindow(ControlModel& model);

}  // namespace ui
