// What tests control and observe of the simulated service manager. It keeps
// services in memory, passes them through pending states on the virtual
// clock, checks access on every call the way the real manager does, and
// fails with the real manager's error codes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "support/text.h"
#include "svcctl/scm.h"

namespace sim {

// How a service program behaves once the manager starts it.
struct ServiceBehaviour {
  uint64_t startDelayMs = 0;  // start pending this long, then running
  uint64_t stopDelayMs = 0;   // stop pending this long, then stopped
  uint32_t waitHint = 0;      // reported while pending
  bool failsToStart = false;  // never reports running: the start fails with 1053
  bool acceptsStop = true;
  bool acceptsPauseContinue = true;
};

// A service program installed at a Windows path; it decides its behaviour
// from the service's whole binary path (its arguments included). A service
// whose program is not registered fails to start with error 2.
using ServiceProgram = std::function<ServiceBehaviour(const Text& binaryPath)>;
void RegisterServiceProgram(const Text& programPath, ServiceProgram program);

enum class Rights {
  Administrator,  // the default: every open succeeds
  User,           // only reading opens succeed
  None,           // the manager cannot be opened at all
};
void SetRights(Rights rights);

// The service refuses these rights to everyone: an open that asks for any of
// them fails with 5.
void RefuseServiceAccess(const Text& name, uint32_t rights);

// Virtual time that each call to the manager takes (0 by default).
void SetCallCost(uint64_t milliseconds);

struct ServiceSnapshot {
  Text name;
  Text displayName;
  Text description;
  Text binaryPath;
  Text account;
  std::vector<Text> dependencies;
  uint32_t serviceType = 0;
  uint32_t startType = 0;
  uint32_t state = 0;
  uint32_t processId = 0;
  bool markedForDelete = false;
};
// The service as the manager holds it now, if it exists.
std::optional<ServiceSnapshot> FindService(const Text& name);
std::vector<ServiceSnapshot> AllServices();

// Puts a service straight into a state (a service program stuck in a
// pending state, for example); `waitHint` is what it reports.
void ForceServiceState(const Text& name, uint32_t state, uint32_t waitHint = 0);

// Number of handles opened and not yet closed.
int OpenHandleCount();

// Names of the services that received a control or a start, in order.
struct Request {
  Text service;
  Text what;  // "start", "stop", "pause", "continue", "delete", "config"
};
const std::vector<Request>& Requests();

// Removes every service, handle, program and setting.
void ResetServiceManager();

}  // namespace sim
