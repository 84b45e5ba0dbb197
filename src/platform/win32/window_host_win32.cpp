// The window seam on Win32: common controls, the native window and the
// message loop.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/native_window.h"
#include "ui/window_host.h"

namespace ui {

void InitWindowing() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  win32::NativeWindow::RegisterWindowClass();
}

void RunWindow(ControlModel& model) {
  win32::NativeWindow window(model);
  if (!window.Handle()) return;
  window.Open();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // Tab, the arrow keys and Enter move between and press the controls.
    HWND dialog = window.Handle();
    if (dialog && IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace ui
