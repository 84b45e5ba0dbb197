#include "app/main_window.h"

#include <cassert>

namespace {
ui::ControlModel* g_window = nullptr;
}

ui::ControlModel& MainWindow() {
  assert(g_window && "no main window attached");
  return *g_window;
}

void AttachMainWindow(ui::ControlModel* window) { g_window = window; }
