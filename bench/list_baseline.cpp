// The baseline of `vemtra-svc list --all`: exactly the platform calls that
// the command line makes, in the same order, with nothing around them: the
// full-access manager, the two-call listing, and per service a full-access
// open, the two-call configuration read, the description read on its own
// manager and service handles, the closes, and the dispatch of pending
// messages. It prints the same table.
#include <windows.h>

#include <vector>

#include "bench_output.h"
#include "svcctl/service_labels.h"

namespace {

void DispatchPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string Description(const char* name) {
  std::string description;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, GENERIC_READ);
  if (!manager) return description;
  SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_CONFIG);
  if (service) {
    DWORD needed = 0;
    QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, buffer.empty() ? nullptr : buffer.data(), needed,
                             &needed)) {
      const char* text = reinterpret_cast<SERVICE_DESCRIPTIONA*>(buffer.data())->lpDescription;
      if (text) description = text;
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return description;
}

}  // namespace

int main() {
  DWORD mode = 0;
  GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode);
  GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode);

  std::vector<bench::ListedService> listed;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return 1;
  DWORD needed = 0;
  DWORD count = 0;
  EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, nullptr);
  std::vector<BYTE> buffer(needed);
  if (!EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL,
                           reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()), needed, &needed, &count, nullptr)) {
    CloseServiceHandle(manager);
    return 1;
  }
  const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    bench::ListedService s;
    s.name = entries[i].lpServiceName;
    s.displayName = entries[i].lpDisplayName;
    SC_HANDLE service = OpenServiceA(manager, entries[i].lpServiceName, SERVICE_ALL_ACCESS);
    if (service) {
      DWORD configSize = 0;
      QueryServiceConfigA(service, nullptr, 0, &configSize);
      std::vector<BYTE> config(configSize);
      if (QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(config.data()), configSize,
                              &configSize)) {
        const auto* c = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(config.data());
        s.description = Description(entries[i].lpServiceName);
        s.stateText = StateLabel(static_cast<int32_t>(entries[i].ServiceStatus.dwCurrentState));
        s.binaryPath = c->lpBinaryPathName ? c->lpBinaryPathName : "";
        s.startTypeText = StartTypeLabel(StartTypeCode(c->dwStartType, entries[i].ServiceStatus.dwServiceType));
        std::string account = c->lpServiceStartName ? c->lpServiceStartName : "";
        s.accountText = AccountLabel(account, ToUpper(account));
      }
      CloseServiceHandle(service);
    }
    DispatchPending();
    listed.push_back(std::move(s));
  }
  CloseServiceHandle(manager);
  bench::PrintList(listed);
  return 0;
}
