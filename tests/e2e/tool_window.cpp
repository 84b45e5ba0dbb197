#include "tool_window.h"

#include "ansi_text.h"
#include "app/controls.h"
#include "platform/win32/kernel_handle.h"
#include "service_probe.h"
#include "ui_driver.h"

namespace e2e {

using namespace controls;

WindowReading ReadWindow(const window_test::WindowSession& session) {
  WindowReading reading;
  const uidriver::ControlInfo apache = session.Describe(选择框Apache);
  const uidriver::ControlInfo mySql = session.Describe(选择框MySQL);
  reading.apacheChecked = apache.checked;
  reading.mySqlChecked = mySql.checked;
  reading.apacheBoxEnabled = apache.enabled;
  reading.mySqlBoxEnabled = mySql.enabled;
  reading.autoStartEnabled = session.Describe(按钮3).enabled;
  reading.uninstallEnabled = session.Describe(按钮7).enabled;
  reading.adminEnabled = session.Describe(按钮5).enabled;
  reading.status = session.Text(透明标签1);
  return reading;
}

std::string Describe(const WindowReading& r) {
  auto flag = [](bool on) { return on ? "1" : "0"; };
  return "Apache checked=" + std::to_string(r.apacheChecked) + " enabled=" + flag(r.apacheBoxEnabled) +
         ", MySQL checked=" + std::to_string(r.mySqlChecked) + " enabled=" + flag(r.mySqlBoxEnabled) +
         ", auto-start enabled=" + flag(r.autoStartEnabled) + ", uninstall enabled=" + flag(r.uninstallEnabled) +
         ", phpMyAdmin enabled=" + flag(r.adminEnabled) + ", status \"" + uidriver::AnsiToUtf8(r.status) + "\"";
}

bool ShowsStates(const WindowReading& r, bool apacheRunning, bool mySqlRunning) {
  if (r.apacheChecked != (apacheRunning ? 1 : 0) || r.mySqlChecked != (mySqlRunning ? 1 : 0)) return false;
  if (apacheRunning && mySqlRunning) {
    return r.status == kAllRunningText && r.apacheBoxEnabled && r.mySqlBoxEnabled && !r.autoStartEnabled &&
           r.uninstallEnabled && r.adminEnabled;
  }
  if (!apacheRunning && !mySqlRunning) {
    return r.status == kNoneRunningText && !r.apacheBoxEnabled && !r.mySqlBoxEnabled && r.autoStartEnabled &&
           !r.uninstallEnabled && !r.adminEnabled;
  }
  return !r.adminEnabled;
}

bool WaitUntilWindowIsTruthful(const window_test::WindowSession& session, DWORD timeoutMs, WindowReading& last) {
  return uidriver::WaitUntil(
      [&] {
        const bool apacheRunning = IsRunning(kApache);
        const bool mySqlRunning = IsRunning(kMySql);
        last = ReadWindow(session);
        return ShowsStates(last, apacheRunning, mySqlRunning) && IsRunning(kApache) == apacheRunning &&
               IsRunning(kMySql) == mySqlRunning;
      },
      timeoutMs);
}

bool ToolIsResponsive(const window_test::WindowSession& session) {
  HWND window = session.Window();
  DWORD processId = 0;
  if (!window || !IsWindow(window) || !GetWindowThreadProcessId(window, &processId)) return false;
  win32::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process.IsValid() || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

}  // namespace e2e
