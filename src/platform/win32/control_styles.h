// How each kind of control is shown on Win32: its window class and styles.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/window_description.h"

namespace win32 {

struct ControlClass {
  const char* className;
  DWORD style;  // besides WS_CHILD and WS_VISIBLE
};

// Nothing for a kind without a window of its own (the timer).
std::optional<ControlClass> ControlClassFor(ui::Kind kind);

}  // namespace win32
