// The service-manager seam on advapi32's ANSI calls. Every variable-size
// record is read with two calls through ReadSized; an empty text crosses as
// a null pointer; scm::Handle owns every SC_HANDLE.
#include <windows.h>

#include <type_traits>
#include <vector>

// The seam's own names, not the A/W macros of <windows.h>.
#undef OpenService
#undef CreateService
#undef StartService

#include "svcctl/scm.h"

namespace {

// The error code of the last failed call; a later success or a close of a
// handle leaves it alone.
uint32_t g_lastError = 0;

bool Failed() {
  g_lastError = GetLastError();
  return false;
}

scm::Handle Wrap(SC_HANDLE raw) {
  if (!raw) Failed();
  return scm::Handle(raw);
}

SC_HANDLE Raw(const scm::Handle& handle) { return static_cast<SC_HANDLE>(handle.Raw()); }

// The platform's null for an empty text.
const char* OrNull(const Text& text) { return text.empty() ? nullptr : text.c_str(); }
char* OrNullMutable(Text& text) { return text.empty() ? nullptr : text.data(); }

Text Copy(const char* text) { return text ? Text(text) : Text(); }

scm::Status ToStatus(const SERVICE_STATUS& status) {
  return {status.dwServiceType,   status.dwCurrentState,           status.dwControlsAccepted,
          status.dwWin32ExitCode, status.dwServiceSpecificExitCode, status.dwCheckPoint,
          status.dwWaitHint};
}

scm::Status ToStatus(const SERVICE_STATUS_PROCESS& status) {
  return {status.dwServiceType,   status.dwCurrentState,           status.dwControlsAccepted,
          status.dwWin32ExitCode, status.dwServiceSpecificExitCode, status.dwCheckPoint,
          status.dwWaitHint};
}

// Reads a record of variable size: `call(buffer, size, &needed)` first with
// no buffer and size 0 to learn the size (that result is not examined), then
// into a zero-filled buffer of exactly that size. `read` sees the buffer only
// when the second call succeeds and copies out what it needs before the
// buffer goes.
template <class Call, class Read>
bool ReadSized(Call call, Read read) {
  DWORD needed = 0;
  call(nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  BYTE* data = buffer.empty() ? nullptr : buffer.data();
  if (!call(data, needed, &needed)) return Failed();
  read(data);
  return true;
}

template <class EntryType>
std::vector<scm::Entry> ToEntries(const BYTE* buffer, DWORD count) {
  std::vector<scm::Entry> entries;
  const auto* raw = reinterpret_cast<const EntryType*>(buffer);
  for (DWORD i = 0; i < count; ++i) {
    scm::Entry entry;
    entry.name = Copy(raw[i].lpServiceName);
    entry.displayName = Copy(raw[i].lpDisplayName);
    if constexpr (std::is_same_v<EntryType, ENUM_SERVICE_STATUS_PROCESSA>) {
      entry.status = ToStatus(raw[i].ServiceStatusProcess);
      entry.processId = raw[i].ServiceStatusProcess.dwProcessId;
    } else {
      entry.status = ToStatus(raw[i].ServiceStatus);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

// Fills a listing from one of the enumeration calls: `call(buffer, size,
// &needed, &count)`. The count is kept also when the filling call fails.
template <class EntryType, class Call>
scm::Listing List(Call call) {
  scm::Listing listing;
  DWORD count = 0;
  listing.ok = ReadSized(
      [&](BYTE* buffer, DWORD size, DWORD* needed) { return call(buffer, size, needed, &count); },
      [&](const BYTE* buffer) { listing.entries = ToEntries<EntryType>(buffer, count); });
  listing.reportedCount = count;
  return listing;
}

}  // namespace

namespace scm {

bool CloseRawHandle(void* raw) { return CloseServiceHandle(static_cast<SC_HANDLE>(raw)) != FALSE; }

Handle OpenManager(uint32_t access) { return Wrap(OpenSCManagerA(nullptr, nullptr, access)); }

Handle OpenService(const Handle& manager, const Text& name, uint32_t access) {
  // A null name fails with ERROR_INVALID_ADDRESS (487) under Wine; Windows
  // refuses it too, so it goes through like any other name.
  return Wrap(OpenServiceA(Raw(manager), OrNull(name), access));
}

Handle CreateService(const Handle& manager, const NewService& service) {
  return Wrap(CreateServiceA(Raw(manager), OrNull(service.name), OrNull(service.displayName),
                             service.desiredAccess, service.serviceType, service.startType,
                             service.errorControl, OrNull(service.binaryPath), nullptr, nullptr,
                             OrNull(service.dependencies), OrNull(service.account),
                             OrNull(service.password)));
}

bool DeleteService(const Handle& service) { return ::DeleteService(Raw(service)) || Failed(); }

bool StartService(const Handle& service) { return StartServiceA(Raw(service), 0, nullptr) || Failed(); }

bool ControlService(const Handle& service, uint32_t control, Status& status) {
  SERVICE_STATUS raw{};
  if (!::ControlService(Raw(service), control, &raw)) return Failed();
  status = ToStatus(raw);
  return true;
}

bool QueryStatus(const Handle& service, Status& status) {
  SERVICE_STATUS raw{};
  if (!QueryServiceStatus(Raw(service), &raw)) return Failed();
  status = ToStatus(raw);
  return true;
}

bool QueryConfig(const Handle& service, Config& config) {
  return ReadSized(
      [&](BYTE* buffer, DWORD size, DWORD* needed) {
        return QueryServiceConfigA(Raw(service), reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer), size,
                                   needed);
      },
      [&](const BYTE* buffer) {
        const auto* raw = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(buffer);
        config.serviceType = raw->dwServiceType;
        config.startType = raw->dwStartType;
        config.errorControl = raw->dwErrorControl;
        config.binaryPath = Copy(raw->lpBinaryPathName);
        config.loadOrderGroup = Copy(raw->lpLoadOrderGroup);
        config.dependencies.clear();
        for (const char* name = raw->lpDependencies; name && *name; name += lstrlenA(name) + 1) {
          config.dependencies += Text(name) + '\0';
        }
        config.serviceStartName = Copy(raw->lpServiceStartName);
        config.displayName = Copy(raw->lpDisplayName);
      });
}

bool QueryDescription(const Handle& service, Text& description) {
  return ReadSized(
      [&](BYTE* buffer, DWORD size, DWORD* needed) {
        return QueryServiceConfig2A(Raw(service), SERVICE_CONFIG_DESCRIPTION, buffer, size, needed);
      },
      [&](const BYTE* buffer) {
        description = Copy(reinterpret_cast<const SERVICE_DESCRIPTIONA*>(buffer)->lpDescription);
      });
}

bool ChangeDescription(const Handle& service, const Text& description) {
  // Never a null record: Wine dies on it. A null text inside leaves the
  // description as it is.
  Text copy = description;
  SERVICE_DESCRIPTIONA record{OrNullMutable(copy)};
  return ChangeServiceConfig2A(Raw(service), SERVICE_CONFIG_DESCRIPTION, &record) || Failed();
}

bool ChangeConfig(const Handle& service, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                  const Text& binaryPath) {
  return ChangeServiceConfigA(Raw(service), serviceType, startType, errorControl, OrNull(binaryPath), nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr) ||
         Failed();
}

bool GetDisplayName(const Handle& manager, const Text& keyName, uint32_t capacity, Text& displayName) {
  // The length that the call writes back is not trusted (Wine reports twice
  // the characters and leaves it alone on success): the text ends at its NUL.
  std::vector<char> buffer(capacity + 1, '\0');
  DWORD size = capacity;
  if (!GetServiceDisplayNameA(Raw(manager), OrNull(keyName), buffer.data(), &size)) return Failed();
  displayName = buffer.data();
  return true;
}

bool GetKeyName(const Handle& manager, const Text& displayName, Text& keyName) {
  DWORD size = 0;
  GetServiceKeyNameA(Raw(manager), OrNull(displayName), nullptr, &size);
  std::vector<char> buffer(size + 1, '\0');
  if (!GetServiceKeyNameA(Raw(manager), OrNull(displayName), buffer.data(), &size)) return Failed();
  keyName = buffer.data();
  return true;
}

Listing EnumServices(const Handle& manager, uint32_t serviceType, uint32_t stateFilter) {
  // The resume handle stays null: Wine never advances it, so everything is
  // read in the one full-size call.
  return List<ENUM_SERVICE_STATUSA>([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumServicesStatusA(Raw(manager), serviceType, stateFilter,
                               reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer), size, needed, count, nullptr);
  });
}

Listing EnumServicesWithProcess(const Handle& manager, uint32_t serviceType, uint32_t stateFilter) {
  return List<ENUM_SERVICE_STATUS_PROCESSA>([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumServicesStatusExA(Raw(manager), SC_ENUM_PROCESS_INFO, serviceType, stateFilter, buffer, size, needed,
                                 count, nullptr, nullptr);
  });
}

Listing EnumDependents(const Handle& service, uint32_t stateFilter) {
  return List<ENUM_SERVICE_STATUSA>([&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
    return EnumDependentServicesA(Raw(service), stateFilter, reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer), size,
                                  needed, count);
  });
}

uint32_t LastError() { return g_lastError; }

}  // namespace scm
