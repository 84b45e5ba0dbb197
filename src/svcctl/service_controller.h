// ServiceController: the one road to Windows services. Every operation opens
// the service manager (and the service), does one job, closes what it opened
// and returns a plain value: 0, false or the empty text on failure. The class
// holds no data, so copies are equivalent and nesting calls is safe.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "support/text.h"
#include "svcctl/service_records.h"

class ServiceController {
 public:
  ServiceController() = default;
  ServiceController(const ServiceController&) = default;
  ServiceController& operator=(const ServiceController&) = default;
  virtual ~ServiceController();
  virtual std::unique_ptr<ServiceController> Clone() const;

  // State code 1..7 of the service; 0 when it cannot be read.
  virtual int32_t QueryState(const Text& name);
  virtual int32_t GetServiceType(const Text& name);
  virtual Text GetDescription(const Text& name);
  // An empty description leaves the description as it was.
  virtual bool SetDescription(const Text& name, const Text& description);
  virtual Text GetDisplayName(const Text& name);
  virtual Text GetKeyName(const Text& displayName);
  // Own-process and on-demand unless told otherwise; `interactive` adds the
  // interactive flag to any type. `dependencies` are names each ended by a
  // NUL (the closing empty name is added here).
  virtual bool Create(const Text& name, const Text& displayName, const Text& binaryPath,
                      const Text& description = Text(), bool interactive = false,
                      std::optional<int32_t> serviceType = std::nullopt,
                      std::optional<int32_t> startType = std::nullopt,
                      const Text& dependencies = Text(), const Text& account = Text(),
                      const Text& password = Text());
  virtual bool Delete(const Text& name);
  virtual bool Start(const Text& name);
  virtual bool Stop(const Text& name);
  virtual bool Pause(const Text& name);
  virtual bool Resume(const Text& name);
  virtual bool Exists(const Text& name);
  // The platform's start type (2 automatic, 3 on demand, 4 disabled), unchecked.
  virtual bool SetStartType(const Text& name, int32_t startType);
  // 1 automatic shared, 2 automatic own process, 3 on demand, 4 disabled,
  // -1 anything else, 0 when the configuration cannot be read.
  virtual int32_t GetStartTypeCode(const Text& name);
  virtual Text GetBinaryPath(const Text& name);
  virtual bool SetBinaryPath(const Text& name, const Text& binaryPath);
  virtual Text GetAccountName(const Text& name);
  virtual int32_t EnumerateServices(int32_t stateFilter, std::vector<ServiceRecord>& records);
  virtual int32_t CountServices(int32_t stateFilter = 3);
  virtual void FindServiceRecord(const Text& name, int32_t stateFilter, ServiceRecordEx& record);
  virtual int32_t EnumerateServicesEx(int32_t stateFilter, std::vector<ServiceRecordEx>& records);
  virtual int32_t EnumerateDependents(const Text& name, std::vector<ServiceRecord>& records);
  // Stops each active dependent and waits for it, 30 s for the whole call.
  virtual void StopDependents(const Text& name);
  virtual Text StateName(int32_t state);
  virtual bool Restart(const Text& name);
};
