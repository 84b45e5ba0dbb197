#include "service_probe.h"

// The seam's own names, not the A/W macros of <windows.h>.
#undef OpenService

#include <gtest/gtest.h>

#include "ui_driver.h"
#include "svcctl/scm.h"

namespace e2e {

namespace {

// A fixture service stops within its switched delay; the longest used is a
// few seconds.
constexpr DWORD kStopTimeoutMs = 15000;
constexpr DWORD kGoneTimeoutMs = 10000;

scm::Handle OpenBundleService(const std::string& name, uint32_t access) {
  scm::Handle manager = scm::OpenManager(scm::kManagerConnect);
  return manager ? scm::OpenService(manager, name, access) : scm::Handle();
}

}  // namespace

uint32_t ServiceState(const std::string& name) {
  scm::Handle service = OpenBundleService(name, scm::kServiceQueryStatus);
  scm::Status status;
  return service && scm::QueryStatus(service, status) ? status.currentState : 0;
}

bool ServiceExists(const std::string& name) { return ServiceState(name) != 0; }

bool IsRunning(const std::string& name) { return ServiceState(name) == scm::kRunning; }

std::optional<std::string> BinaryPathOf(const std::string& name) {
  scm::Handle service = OpenBundleService(name, scm::kServiceQueryConfig);
  scm::Config config;
  if (!service || !scm::QueryConfig(service, config)) return std::nullopt;
  return config.binaryPath;
}

bool WaitForServiceState(const std::string& name, uint32_t state, DWORD timeoutMs) {
  return uidriver::WaitUntil([&] { return ServiceState(name) == state; }, timeoutMs);
}

bool WaitForServiceGone(const std::string& name, DWORD timeoutMs) {
  return uidriver::WaitUntil([&] { return !ServiceExists(name); }, timeoutMs);
}

bool RemoveService(const std::string& name) {
  {
    scm::Handle service = OpenBundleService(name, scm::kServiceAllAccess);
    if (!service) return true;
    scm::Status status;
    scm::ControlService(service, scm::kControlStop, status);
    uidriver::WaitUntil([&] { return scm::QueryStatus(service, status) && status.currentState == scm::kStopped; },
            kStopTimeoutMs);
    scm::DeleteService(service);
  }
  return WaitForServiceGone(name, kGoneTimeoutMs);
}

bool RemoveBundleServices() {
  bool removed = true;
  for (const char* name : {kApache, kMySql}) {
    if (!RemoveService(name)) {
      ADD_FAILURE() << "the service " << name << " cannot be removed";
      removed = false;
    }
  }
  return removed;
}

}  // namespace e2e
