#include "services/status_monitor.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "location/bundle_layout.h"
#include "svcctl/scm.h"

using namespace controls;

namespace {

bool IsRunning(const Text& serviceName) {
  return State().Services->QueryState(serviceName) == static_cast<int32_t>(scm::kRunning);
}

// Sets the box from two readings of the state: checked when the first finds
// the service running, unchecked when the second does not.
void ShowServiceState(const char* box, const Text& serviceName) {
  ui::ControlModel& window = MainWindow();
  if (IsRunning(serviceName)) window.SetChecked(box, 1);
  if (!IsRunning(serviceName)) window.SetChecked(box, 0);
}

bool BothChecked() { return MainWindow().Checked(选择框Apache) && MainWindow().Checked(选择框MySQL); }
bool NeitherChecked() { return !MainWindow().Checked(选择框Apache) && !MainWindow().Checked(选择框MySQL); }

// Starts or stops the service as the box now shows, and says which was asked.
void ToggleService(const char* box, const Text& serviceName, const char* stoppedText, const char* startedText) {
  ui::ControlModel& window = MainWindow();
  ServiceController& services = *State().Services;
  if (window.Checked(box) == 0) {
    services.Stop(serviceName);
    window.SetCaption(透明标签1, stoppedText);
  } else {
    services.Start(serviceName);
    window.SetCaption(透明标签1, startedText);
  }
}

}  // namespace

void OnStatusTimer() {
  ui::ControlModel& window = MainWindow();
  ShowServiceState(选择框Apache, State().ApacheServiceName);
  ShowServiceState(选择框MySQL, kMySqlServiceName);
  if (NeitherChecked()) {
    window.SetCaption(透明标签1, "服务已卸载");
    window.SetDisabled(按钮7, 1);
    window.SetDisabled(按钮3, 0);
    window.SetDisabled(选择框Apache, 1);
    window.SetDisabled(选择框MySQL, 1);
  }
  if (BothChecked()) {
    window.SetCaption(透明标签1, "服务已启动");
    window.SetDisabled(按钮7, 0);
    window.SetDisabled(按钮3, 1);
    window.SetDisabled(选择框Apache, 0);
    window.SetDisabled(选择框MySQL, 0);
    window.SetDisabled(按钮5, 0);
  }
  if (!BothChecked()) window.SetDisabled(按钮5, 1);
}

void OnApacheToggled() {
  ToggleService(选择框Apache, State().ApacheServiceName, "Apache服务已停止", "Apache服务已启动");
}

void OnMySqlToggled() { ToggleService(选择框MySQL, kMySqlServiceName, "MySQL服务已停止", "MySQL服务已启动"); }
