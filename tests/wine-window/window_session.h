// A window program under test: started in a Wine virtual desktop of its
// own, the test's thread moved onto that desktop, the window found by its
// title. The window is closed (and its process ended) when the session ends.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "desktop_scope.h"
#include "program_launch.h"
#include "ui/window_description.h"
#include "ui_driver.h"

namespace window_test {

// The size of the virtual desktop the programs run in.
inline constexpr int kDesktopWidth = 800;
inline constexpr int kDesktopHeight = 600;

// The program under test: the first argument of the test program, a host
// or Windows path, set by RunTestsOnProgram.
extern std::string g_programPath;

// The test program's main: GoogleTest's options, then the program under
// test (`role` names it in the usage line).
int RunTestsOnProgram(int argc, char** argv, const char* role);

class WindowSession {
 public:
  WindowSession(const std::string& desktop, const ui::WindowDescription& description);
  ~WindowSession();
  WindowSession(const WindowSession&) = delete;
  WindowSession& operator=(const WindowSession&) = delete;

  HWND Window() const { return window_; }
  HWND Control(std::string_view name) const;
  uidriver::ControlInfo Describe(std::string_view name) const;
  uidriver::WindowInfo DescribeWindow() const;
  std::string Text(std::string_view name) const { return Describe(name).text; }

  // Waits until the control's text equals `text`.
  bool WaitForText(std::string_view name, const std::string& text, DWORD timeoutMs = 5000) const;

  // Posts WM_CLOSE and waits for the program to end; its exit code.
  std::optional<DWORD> Close();

 private:
  const ui::WindowDescription& description_;
  uidriver::VirtualDesktopProgram program_;
  uidriver::DesktopScope desktop_;
  HWND window_ = nullptr;
};

}  // namespace window_test
