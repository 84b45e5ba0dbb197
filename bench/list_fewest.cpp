// The same records as `vemtra-svc list --all` with the fewest calls: one
// manager handle for everything, the listing in one call into a buffer that
// is large enough (grown only if the manager says so), and per service one
// open, one configuration read and one description read into fixed buffers
// of the largest size the manager gives, and one close.
#include <windows.h>

#include <vector>

#include "bench_output.h"
#include "svcctl/service_labels.h"

namespace {

// QueryServiceConfig and QueryServiceConfig2 return at most 8 KB.
constexpr DWORD kConfigBufferSize = 8 * 1024;

}  // namespace

int main() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE | SC_MANAGER_CONNECT);
  if (!manager) return 1;
  std::vector<BYTE> buffer(256 * 1024);
  DWORD needed = 0;
  DWORD count = 0;
  while (!EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL,
                              reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()),
                              static_cast<DWORD>(buffer.size()), &needed, &count, nullptr)) {
    if (GetLastError() != ERROR_MORE_DATA) return 1;
    buffer.resize(needed);
  }
  std::vector<BYTE> config(kConfigBufferSize);
  std::vector<BYTE> description(kConfigBufferSize);
  std::vector<bench::ListedService> listed;
  const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    bench::ListedService s;
    s.name = entries[i].lpServiceName;
    s.displayName = entries[i].lpDisplayName;
    SC_HANDLE service = OpenServiceA(manager, entries[i].lpServiceName, SERVICE_QUERY_CONFIG);
    DWORD size = 0;
    if (service && QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(config.data()),
                                       kConfigBufferSize, &size)) {
      const auto* c = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(config.data());
      if (QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, description.data(), kConfigBufferSize, &size)) {
        const char* text = reinterpret_cast<SERVICE_DESCRIPTIONA*>(description.data())->lpDescription;
        if (text) s.description = text;
      }
      s.stateText = StateLabel(static_cast<int32_t>(entries[i].ServiceStatus.dwCurrentState));
      s.binaryPath = c->lpBinaryPathName ? c->lpBinaryPathName : "";
      s.startTypeText = StartTypeLabel(StartTypeCode(c->dwStartType, entries[i].ServiceStatus.dwServiceType));
      std::string account = c->lpServiceStartName ? c->lpServiceStartName : "";
      s.accountText = AccountLabel(account, ToUpper(account));
    }
    if (service) CloseServiceHandle(service);
    listed.push_back(std::move(s));
  }
  CloseServiceHandle(manager);
  bench::PrintList(listed);
  return 0;
}
