// The tool's window as a scenario sees it: the controls that show the
// services, read in one go, and what they must show for given service
// states. The window's display states are those of the status monitor:
// all running, none running, and mixed (exactly one running).
#pragma once

#include <windows.h>

#include <string>

#include "window_session.h"

namespace e2e {

// Status texts of the window.
inline constexpr char kAllRunningText[] = "服务已启动";
inline constexpr char kNoneRunningText[] = "服务已卸载";

struct WindowReading {
  int apacheChecked = -1;
  int mySqlChecked = -1;
  bool apacheBoxEnabled = false;
  bool mySqlBoxEnabled = false;
  bool autoStartEnabled = false;  // 按钮3
  bool uninstallEnabled = false;  // 按钮7
  bool adminEnabled = false;      // 按钮5
  std::string status;             // 透明标签1
};

WindowReading ReadWindow(const window_test::WindowSession& session);

// Readable in a failure message (UTF-8).
std::string Describe(const WindowReading& reading);

// Whether the reading is the monitor's display for these service states.
// In the mixed state only the boxes and 按钮5 are decided by the states.
bool ShowsStates(const WindowReading& reading, bool apacheRunning, bool mySqlRunning);

// Waits until the window shows the states the service manager reports at
// that moment; on failure the last reading is in `last`.
bool WaitUntilWindowIsTruthful(const window_test::WindowSession& session, DWORD timeoutMs, WindowReading& last);

// The tool's process still runs and its window answers within a second.
bool ToolIsResponsive(const window_test::WindowSession& session);

// The one-second tick of the status monitor, and how long a scenario gives
// the window to follow a change: two ticks and a margin.
inline constexpr DWORD kTickMs = 1000;
inline constexpr DWORD kTwoTicksMs = 2 * kTickMs + 700;

}  // namespace e2e
