#include "services/service_setup.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "location/bundle_layout.h"
#include "support/system.h"
#include "svcctl/scm.h"

using namespace controls;

namespace {

constexpr const char* kApacheInstaller = "\\bin\\httpd.exe";
constexpr const char* kApacheInstallArguments = " -k install";
constexpr const char* kMySqlInstaller = "\\bin\\mysqld.exe";
constexpr const char* kMySqlInstallArguments = "  install";

// Registers the service with its installer when it is missing, then makes
// sure it starts with Windows and is started.
void InstallAndStart(const Text& serviceName, const Text& directory, const char* installer,
                     const char* arguments) {
  ServiceController& services = *State().Services;
  if (!services.Exists(serviceName)) {
    // With no directory there is no installer to run; the rest goes on.
    if (!directory.empty()) RunProgram(InstallerCommandLine(directory, installer, arguments), true, kShowHidden);
    services.Start(serviceName);
  }
  if (services.QueryState(serviceName) != static_cast<int32_t>(scm::kRunning)) {
    services.SetStartType(serviceName, static_cast<int32_t>(scm::kAutoStart));
    services.Start(serviceName);
  }
}

bool IsKnownGeneration(const Text& generation) {
  return CompareText(generation, kGenerationFrom8) == 0 || CompareText(generation, kGenerationBefore8) == 0;
}

}  // namespace

Text InstallerCommandLine(const Text& directory, const char* program, const char* arguments) {
  return ConcatText("\"", directory, program, "\"", arguments);
}

void OnAutoStartClicked() {
  ProgramState& state = State();
  ServiceController& services = *state.Services;
  if (IsKnownGeneration(state.LayoutGeneration)) {
    InstallAndStart(state.ApacheServiceName, state.ApacheDir, kApacheInstaller, kApacheInstallArguments);
  }
  InstallAndStart(kMySqlServiceName, state.MySqlDir, kMySqlInstaller, kMySqlInstallArguments);
  if (services.Exists(state.ApacheServiceName) && services.Exists(kMySqlServiceName)) {
    MainWindow().SetCaption(透明标签1, "服务已安装");
  }
}

void OnUninstallClicked() {
  ProgramState& state = State();
  ServiceController& services = *state.Services;
  if (ShowMessage("确定准备卸载吗", kButtonsOkCancel) != kAnswerOk) return;
  services.Stop(state.ApacheServiceName);
  services.Delete(state.ApacheServiceName);
  services.Stop(kMySqlServiceName);
  services.Delete(kMySqlServiceName);
  if (!services.Exists(state.ApacheServiceName)) MainWindow().SetCaption(透明标签1, "Apache服务未安装");
  if (!services.Exists(kMySqlServiceName)) MainWindow().SetCaption(透明标签1, "MySQL服务未安装");
}
