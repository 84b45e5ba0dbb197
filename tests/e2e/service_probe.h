// The truth about the bundle's two services, read straight from the
// service manager, and their removal before and after every scenario.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace e2e {

inline constexpr char kApache[] = "Apache2.4";
inline constexpr char kMySql[] = "MySQL";

// The state code (4 running, 1 stopped, ...); 0 when the service is missing.
uint32_t ServiceState(const std::string& name);
bool ServiceExists(const std::string& name);
bool IsRunning(const std::string& name);
std::optional<std::string> BinaryPathOf(const std::string& name);

bool WaitForServiceState(const std::string& name, uint32_t state, DWORD timeoutMs);
bool WaitForServiceGone(const std::string& name, DWORD timeoutMs);

// Stops the service (waiting for it to stop), deletes it and waits until it
// is gone; true when it is gone.
bool RemoveService(const std::string& name);

// Removes both bundle services; true when both are gone.
bool RemoveBundleServices();

}  // namespace e2e
