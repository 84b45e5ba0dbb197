// The service-manager seam on the simulated platform.
#include "platform/sim/sim_scm.h"

#include <algorithm>
#include <memory>
#include <set>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"

namespace sim {

namespace {

constexpr uint32_t kReadControl = 0x20000;
constexpr uint32_t kManagerLock = 0x8;
constexpr uint32_t kManagerQueryLockStatus = 0x10;
constexpr uint32_t kManagerModifyBootConfig = 0x20;
constexpr uint32_t kServiceUserDefinedControl = 0x100;
constexpr uint32_t kGenericAll = 0x10000000;
constexpr uint32_t kErrorServiceDependencyFail = 1068;
constexpr uint32_t kErrorServiceDependencyDeleted = 1075;
// An empty text reaches the manager as a null pointer, which it refuses
// with this code before anything else.
constexpr uint32_t kErrorInvalidAddress = 487;
constexpr size_t kMaxNameLength = 256;

struct Service {
  Text name;
  Text displayName;
  Text description;
  Text binaryPath;
  Text account;
  Text loadOrderGroup;
  std::vector<Text> dependencies;
  uint32_t serviceType = 0;
  uint32_t startType = 0;
  uint32_t errorControl = 0;
  uint32_t state = scm::kStopped;
  uint32_t nextState = 0;
  uint64_t pendingUntil = 0;  // 0: the state stays until something changes it
  uint32_t waitHint = 0;
  uint32_t processId = 0;
  ServiceBehaviour behaviour;
  bool markedForDelete = false;
  int openHandles = 0;
};

struct HandleData {
  std::shared_ptr<Service> service;  // empty for a manager handle
  uint32_t granted = 0;
};

struct Manager {
  std::vector<std::shared_ptr<Service>> services;
  std::set<HandleData*> handles;
  std::vector<std::pair<Text, ServiceProgram>> programs;
  std::vector<std::pair<Text, uint32_t>> refusedRights;
  std::vector<Request> requests;
  Rights rights = Rights::Administrator;
  uint64_t callCost = 0;
  uint32_t lastError = 0;
  uint32_t nextProcessId = 1000;
};

Manager& TheManager() {
  static Manager manager;
  return manager;
}

Text Folded(const Text& name) {
  Text folded = name;
  for (size_t i = 0; i < folded.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folded[i]);
    if (c >= 0x80) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      folded[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return folded;
}

bool SameName(const Text& a, const Text& b) { return Folded(a) == Folded(b); }

bool Fail(uint32_t error) {
  TheManager().lastError = error;
  return false;
}

scm::Handle FailHandle(uint32_t error) {
  Fail(error);
  return scm::Handle();
}

// Every call to the manager takes its (configurable) share of virtual time.
void Call() { AdvanceClock(TheManager().callCost); }

uint32_t MapServiceRights(uint32_t access) {
  uint32_t rights = access & 0x0FFFFFFF;
  if (access & scm::kGenericRead) {
    rights |= kReadControl | scm::kServiceQueryConfig | scm::kServiceQueryStatus | scm::kServiceInterrogate |
              scm::kServiceEnumerateDependents;
  }
  if (access & scm::kGenericWrite) rights |= kReadControl | scm::kServiceChangeConfig;
  if (access & scm::kGenericExecute) {
    rights |= kReadControl | scm::kServiceStart | scm::kServiceStop | scm::kServicePauseContinue |
              kServiceUserDefinedControl;
  }
  if (access & kGenericAll) rights |= scm::kServiceAllAccess;
  return rights;
}

uint32_t MapManagerRights(uint32_t access) {
  uint32_t rights = (access & 0x0FFFFFFF) | scm::kManagerConnect;
  if (access & scm::kGenericRead) rights |= kReadControl | scm::kManagerEnumerateService | kManagerQueryLockStatus;
  if (access & scm::kGenericWrite) rights |= kReadControl | scm::kManagerCreateService | kManagerModifyBootConfig;
  if (access & scm::kGenericExecute) rights |= kReadControl | scm::kManagerConnect | kManagerLock;
  if (access & kGenericAll) rights |= scm::kManagerAllAccess;
  return rights;
}

constexpr uint32_t kUserManagerRights =
    scm::kManagerConnect | scm::kManagerEnumerateService | kManagerQueryLockStatus | kReadControl;
constexpr uint32_t kUserServiceRights = kReadControl | scm::kServiceQueryConfig | scm::kServiceQueryStatus |
                                        scm::kServiceInterrogate | scm::kServiceEnumerateDependents |
                                        kServiceUserDefinedControl;

void RemoveIfDone(const std::shared_ptr<Service>& service) {
  if (service->markedForDelete && service->state == scm::kStopped && service->openHandles == 0) {
    auto& services = TheManager().services;
    services.erase(std::remove(services.begin(), services.end(), service), services.end());
  }
}

// Ends a pending phase whose time has come.
void Refresh(Service& service) {
  if (service.pendingUntil != 0 && Now() >= service.pendingUntil) {
    service.state = service.nextState;
    service.pendingUntil = 0;
    service.waitHint = 0;
    if (service.state == scm::kStopped) service.processId = 0;
  }
}

void RefreshAll() {
  std::vector<std::shared_ptr<Service>> services = TheManager().services;
  for (const auto& service : services) {
    Refresh(*service);
    RemoveIfDone(service);
  }
}

// The service of that name as the manager holds it now: a service whose
// deletion has completed in the meantime is gone.
std::shared_ptr<Service> Lookup(const Text& name) {
  RefreshAll();
  for (const auto& service : TheManager().services) {
    if (SameName(service->name, name)) return service;
  }
  return nullptr;
}

void EnterState(Service& service, uint32_t pendingState, uint32_t finalState, uint64_t delay) {
  if (delay == 0) {
    service.state = finalState;
    service.pendingUntil = 0;
  } else {
    service.state = pendingState;
    service.nextState = finalState;
    service.pendingUntil = Now() + delay;
    service.waitHint = service.behaviour.waitHint;
  }
  if (service.state == scm::kStopped) service.processId = 0;
}

HandleData* ValidHandle(const scm::Handle& handle, bool wantManager) {
  auto* data = static_cast<HandleData*>(handle.Raw());
  if (!data || !TheManager().handles.count(data) || bool(data->service) == wantManager) return nullptr;
  return data;
}

// The service behind a handle that holds `needed`; sets the error otherwise.
Service* ServiceFor(const scm::Handle& handle, uint32_t needed) {
  HandleData* data = ValidHandle(handle, false);
  if (!data) return Fail(scm::kErrorInvalidHandle), nullptr;
  if ((data->granted & needed) != needed) return Fail(scm::kErrorAccessDenied), nullptr;
  Refresh(*data->service);
  return data->service.get();
}

void Record(const Service& service, const char* what) { TheManager().requests.push_back({service.name, what}); }

scm::Status StatusOf(const Service& service) {
  scm::Status status;
  status.serviceType = service.serviceType;
  status.currentState = service.state;
  if (service.state == scm::kRunning || service.state == scm::kPaused) {
    if (service.behaviour.acceptsStop) status.controlsAccepted |= scm::kAcceptStop;
    if (service.behaviour.acceptsPauseContinue) status.controlsAccepted |= scm::kAcceptPauseContinue;
  }
  status.waitHint = service.waitHint;
  return status;
}

bool IsValidName(const Text& name) {
  return !name.empty() && name.size() <= kMaxNameLength && name.find_first_of("\\/") == Text::npos;
}

// Why a name cannot name a service at all, or 0. A name too long to exist
// is no error of its own: looking it up finds nothing.
uint32_t NameError(const Text& name) {
  if (name.empty()) return kErrorInvalidAddress;
  if (name.find_first_of("\\/") != Text::npos) return scm::kErrorInvalidName;
  return 0;
}

bool IsValidServiceType(uint32_t type) {
  uint32_t base = type & ~scm::kInteractiveProcess;
  bool isDriver = type == 1 || type == 2;
  return isDriver || base == scm::kOwnProcess || base == scm::kShareProcess;
}

bool IsValidStartType(uint32_t startType, uint32_t serviceType) {
  if (startType > scm::kDisabled) return false;
  bool isDriver = serviceType == 1 || serviceType == 2;
  return isDriver || startType >= scm::kAutoStart;
}

std::vector<Text> SplitDependencies(const Text& list) {
  std::vector<Text> names;
  size_t at = 0;
  while (at < list.size()) {
    size_t end = list.find('\0', at);
    if (end == Text::npos) end = list.size();
    if (end == at) break;  // the empty name closes the list
    names.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

Text JoinDependencies(const std::vector<Text>& names) {
  Text list;
  for (const Text& name : names) list += name + '\0';
  return list;
}

std::vector<std::shared_ptr<Service>> DirectDependents(const Service& service) {
  std::vector<std::shared_ptr<Service>> dependents;
  for (const auto& candidate : TheManager().services) {
    for (const Text& dependency : candidate->dependencies) {
      if (SameName(dependency, service.name)) {
        dependents.push_back(candidate);
        break;
      }
    }
  }
  return dependents;
}

// Dependents at every depth, each listed before the services it depends on,
// so that stopping them in order never stops a service something still needs.
void CollectDependents(const Service& service, std::vector<std::shared_ptr<Service>>& out,
                       std::set<const Service*>& visited) {
  for (const auto& dependent : DirectDependents(service)) {
    if (!visited.insert(dependent.get()).second) continue;
    CollectDependents(*dependent, out, visited);
    out.push_back(dependent);
  }
}

bool HasActiveDependents(const Service& service) {
  for (const auto& dependent : DirectDependents(service)) {
    Refresh(*dependent);
    if (dependent->state != scm::kStopped) return true;
  }
  return false;
}

bool MatchesStateFilter(uint32_t state, uint32_t filter) {
  bool active = state != scm::kStopped;
  return (filter & scm::kStateActive && active) || (filter & scm::kStateInactive && !active);
}

bool StartNow(Service& service, int depth);

bool StartDependencies(Service& service, int depth) {
  for (const Text& name : service.dependencies) {
    std::shared_ptr<Service> dependency = Lookup(name);
    if (!dependency) return Fail(kErrorServiceDependencyDeleted);
    Refresh(*dependency);
    if (dependency->state == scm::kStopped && !StartNow(*dependency, depth + 1)) {
      return Fail(kErrorServiceDependencyFail);
    }
  }
  return true;
}

bool StartNow(Service& service, int depth) {
  if (depth > 16) return Fail(kErrorServiceDependencyFail);
  if (service.markedForDelete) return Fail(scm::kErrorServiceMarkedForDelete);
  if (service.startType == scm::kDisabled) return Fail(scm::kErrorServiceDisabled);
  if (service.state != scm::kStopped) return Fail(scm::kErrorServiceAlreadyRunning);
  if (!StartDependencies(service, depth)) return false;
  Text program = ProgramOfCommandLine(service.binaryPath);
  const ServiceProgram* found = nullptr;
  for (const auto& [path, registered] : TheManager().programs) {
    if (SamePath(path, program)) found = &registered;
  }
  if (!found) return Fail(scm::kErrorFileNotFound);
  service.behaviour = (*found)(service.binaryPath);
  if (service.behaviour.failsToStart) return Fail(scm::kErrorServiceRequestTimeout);
  service.processId = TheManager().nextProcessId += 4;
  EnterState(service, scm::kStartPending, scm::kRunning, service.behaviour.startDelayMs);
  return true;
}

scm::Entry EntryOf(const Service& service) {
  scm::Entry entry;
  entry.name = service.name;
  entry.displayName = service.displayName;
  entry.status = StatusOf(service);
  entry.processId = service.processId;
  return entry;
}

scm::Listing ListServices(const scm::Handle& manager, uint32_t serviceType, uint32_t stateFilter) {
  Call();
  scm::Listing listing;
  HandleData* data = ValidHandle(manager, true);
  if (!data) return Fail(scm::kErrorInvalidHandle), listing;
  if (!(data->granted & scm::kManagerEnumerateService)) return Fail(scm::kErrorAccessDenied), listing;
  if (stateFilter < scm::kStateActive || stateFilter > scm::kStateAll) {
    return Fail(scm::kErrorInvalidParameter), listing;
  }
  RefreshAll();
  std::vector<std::shared_ptr<Service>> sorted = TheManager().services;
  std::sort(sorted.begin(), sorted.end(),
            [](const auto& a, const auto& b) { return Folded(a->name) < Folded(b->name); });
  for (const auto& service : sorted) {
    if ((service->serviceType & serviceType) && MatchesStateFilter(service->state, stateFilter)) {
      listing.entries.push_back(EntryOf(*service));
    }
  }
  listing.ok = true;
  listing.reportedCount = static_cast<uint32_t>(listing.entries.size());
  return listing;
}

}  // namespace

void RegisterServiceProgram(const Text& programPath, ServiceProgram program) {
  TheManager().programs.emplace_back(programPath, std::move(program));
}

void SetRights(Rights rights) { TheManager().rights = rights; }

void RefuseServiceAccess(const Text& name, uint32_t rights) { TheManager().refusedRights.emplace_back(name, rights); }

void SetCallCost(uint64_t milliseconds) { TheManager().callCost = milliseconds; }

std::optional<ServiceSnapshot> FindService(const Text& name) {
  RefreshAll();
  std::shared_ptr<Service> service = Lookup(name);
  if (!service) return std::nullopt;
  return ServiceSnapshot{service->name,       service->displayName, service->description,
                         service->binaryPath, service->account,     service->dependencies,
                         service->serviceType, service->startType,  service->state,
                         service->processId,  service->markedForDelete};
}

std::vector<ServiceSnapshot> AllServices() {
  RefreshAll();
  std::vector<ServiceSnapshot> all;
  for (const auto& service : TheManager().services) all.push_back(*FindService(service->name));
  return all;
}

void ForceServiceState(const Text& name, uint32_t state, uint32_t waitHint) {
  std::shared_ptr<Service> service = Lookup(name);
  if (!service) return;
  service->state = state;
  service->pendingUntil = 0;
  service->waitHint = waitHint;
  if (state != scm::kStopped && service->processId == 0) service->processId = TheManager().nextProcessId += 4;
  if (state == scm::kStopped) service->processId = 0;
}

int OpenHandleCount() { return static_cast<int>(TheManager().handles.size()); }

const std::vector<Request>& Requests() { return TheManager().requests; }

void ResetServiceManager() {
  for (HandleData* data : TheManager().handles) delete data;
  TheManager() = Manager();
}

}  // namespace sim

namespace scm {

using namespace sim;

bool CloseRawHandle(void* raw) {
  Call();
  auto* data = static_cast<HandleData*>(raw);
  if (!TheManager().handles.erase(data)) return Fail(kErrorInvalidHandle);
  if (std::shared_ptr<Service> service = data->service) {
    --service->openHandles;
    Refresh(*service);
    RemoveIfDone(service);
  }
  delete data;
  return true;
}

Handle OpenManager(uint32_t access) {
  Call();
  Manager& manager = TheManager();
  uint32_t rights = MapManagerRights(access);
  if (manager.rights == Rights::None) return FailHandle(kErrorAccessDenied);
  if (manager.rights == Rights::User && (rights & ~kUserManagerRights)) return FailHandle(kErrorAccessDenied);
  auto* data = new HandleData{nullptr, rights};
  manager.handles.insert(data);
  return Handle(data);
}

Handle OpenService(const Handle& manager, const Text& name, uint32_t access) {
  Call();
  if (!ValidHandle(manager, true)) return FailHandle(kErrorInvalidHandle);
  if (uint32_t error = NameError(name)) return FailHandle(error);
  std::shared_ptr<Service> service = Lookup(name);
  if (!service) return FailHandle(kErrorServiceDoesNotExist);
  uint32_t rights = MapServiceRights(access);
  if (TheManager().rights == Rights::User && (rights & ~kUserServiceRights)) return FailHandle(kErrorAccessDenied);
  for (const auto& [refusedName, refused] : TheManager().refusedRights) {
    if (SameName(refusedName, name) && (rights & refused)) return FailHandle(kErrorAccessDenied);
  }
  ++service->openHandles;
  auto* data = new HandleData{service, rights};
  TheManager().handles.insert(data);
  return Handle(data);
}

Handle CreateService(const Handle& manager, const NewService& request) {
  Call();
  HandleData* data = ValidHandle(manager, true);
  if (!data) return FailHandle(kErrorInvalidHandle);
  if (!(data->granted & kManagerCreateService)) return FailHandle(kErrorAccessDenied);
  if (uint32_t error = NameError(request.name)) return FailHandle(error);
  if (!IsValidName(request.name)) return FailHandle(kErrorInvalidName);
  if (request.binaryPath.empty()) return FailHandle(kErrorInvalidAddress);
  if (!IsValidServiceType(request.serviceType) || !IsValidStartType(request.startType, request.serviceType)) {
    return FailHandle(kErrorInvalidParameter);
  }
  RefreshAll();
  if (std::shared_ptr<Service> existing = Lookup(request.name)) {
    return FailHandle(existing->markedForDelete ? kErrorServiceMarkedForDelete : kErrorServiceExists);
  }
  Text displayName = request.displayName.empty() ? request.name : request.displayName;
  for (const auto& other : TheManager().services) {
    if (SameName(other->displayName, displayName) || SameName(other->name, displayName)) {
      return FailHandle(kErrorDuplicateServiceName);
    }
  }
  auto service = std::make_shared<Service>();
  service->name = request.name;
  service->displayName = displayName;
  service->binaryPath = request.binaryPath;
  service->serviceType = request.serviceType;
  service->startType = request.startType;
  service->errorControl = request.errorControl;
  service->dependencies = SplitDependencies(request.dependencies);
  service->account = request.account.empty() ? Text("LocalSystem") : request.account;
  service->openHandles = 1;
  TheManager().services.push_back(service);
  auto* handle = new HandleData{service, MapServiceRights(request.desiredAccess)};
  TheManager().handles.insert(handle);
  return Handle(handle);
}

bool DeleteService(const Handle& handle) {
  Call();
  Service* service = ServiceFor(handle, kDelete);
  if (!service) return false;
  Record(*service, "delete");
  if (service->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  service->markedForDelete = true;
  return true;
}

bool StartService(const Handle& handle) {
  Call();
  Service* service = ServiceFor(handle, kServiceStart);
  if (!service) return false;
  Record(*service, "start");
  return StartNow(*service, 0);
}

bool ControlService(const Handle& handle, uint32_t control, Status& status) {
  Call();
  uint32_t needed = control == kControlStop                                      ? kServiceStop
                    : (control == kControlPause || control == kControlContinue) ? kServicePauseContinue
                    : control == kControlInterrogate                             ? kServiceInterrogate
                                                                                 : 0;
  if (needed == 0) return Fail(kErrorInvalidParameter);
  Service* service = ServiceFor(handle, needed);
  if (!service) return false;
  const char* names[] = {"", "stop", "pause", "continue", "interrogate"};
  Record(*service, names[control]);
  if (service->state == kStopped) return Fail(kErrorServiceNotActive);
  bool pending = service->state == kStartPending || service->state == kStopPending ||
                 service->state == kPausePending || service->state == kContinuePending;
  switch (control) {
    case kControlStop:
      if (pending) return Fail(kErrorServiceCannotAcceptControl);
      if (HasActiveDependents(*service)) return Fail(kErrorDependentServicesRunning);
      if (!service->behaviour.acceptsStop) return Fail(kErrorInvalidServiceControl);
      EnterState(*service, kStopPending, kStopped, service->behaviour.stopDelayMs);
      break;
    case kControlPause:
    case kControlContinue:
      if (pending) return Fail(kErrorServiceCannotAcceptControl);
      if (!service->behaviour.acceptsPauseContinue) return Fail(kErrorInvalidServiceControl);
      service->state = control == kControlPause ? kPaused : kRunning;
      break;
    default:
      break;
  }
  status = StatusOf(*service);
  return true;
}

bool QueryStatus(const Handle& handle, Status& status) {
  Call();
  Service* service = ServiceFor(handle, kServiceQueryStatus);
  if (!service) return false;
  status = StatusOf(*service);
  return true;
}

bool QueryConfig(const Handle& handle, Config& config) {
  Call();
  Service* service = ServiceFor(handle, kServiceQueryConfig);
  if (!service) return false;
  config.serviceType = service->serviceType;
  config.startType = service->startType;
  config.errorControl = service->errorControl;
  config.binaryPath = service->binaryPath;
  config.loadOrderGroup = service->loadOrderGroup;
  config.dependencies = JoinDependencies(service->dependencies);
  config.serviceStartName = service->account;
  config.displayName = service->displayName;
  return true;
}

bool QueryDescription(const Handle& handle, Text& description) {
  Call();
  Service* service = ServiceFor(handle, kServiceQueryConfig);
  if (!service) return false;
  description = service->description;
  return true;
}

bool ChangeDescription(const Handle& handle, const Text& description) {
  Call();
  Service* service = ServiceFor(handle, kServiceChangeConfig);
  if (!service) return false;
  if (service->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  if (!description.empty()) service->description = description;
  return true;
}

bool ChangeConfig(const Handle& handle, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                  const Text& binaryPath) {
  Call();
  Service* service = ServiceFor(handle, kServiceChangeConfig);
  if (!service) return false;
  Record(*service, "config");
  if (service->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  uint32_t newType = serviceType == kNoChange ? service->serviceType : serviceType;
  if (!IsValidServiceType(newType)) return Fail(kErrorInvalidParameter);
  if (startType != kNoChange && !IsValidStartType(startType, newType)) return Fail(kErrorInvalidParameter);
  service->serviceType = newType;
  if (startType != kNoChange) service->startType = startType;
  if (errorControl != kNoChange) service->errorControl = errorControl;
  if (!binaryPath.empty()) service->binaryPath = binaryPath;
  return true;
}

bool GetDisplayName(const Handle& manager, const Text& keyName, uint32_t capacity, Text& displayName) {
  Call();
  if (!ValidHandle(manager, true)) return Fail(kErrorInvalidHandle);
  if (keyName.empty()) return Fail(kErrorInvalidAddress);
  std::shared_ptr<Service> service = IsValidName(keyName) ? Lookup(keyName) : nullptr;
  if (!service) return Fail(kErrorServiceDoesNotExist);
  if (service->displayName.size() + 1 > capacity) return Fail(kErrorInsufficientBuffer);
  displayName = service->displayName;
  return true;
}

bool GetKeyName(const Handle& manager, const Text& displayName, Text& keyName) {
  Call();
  if (!ValidHandle(manager, true)) return Fail(kErrorInvalidHandle);
  if (displayName.empty()) return Fail(kErrorInvalidAddress);
  for (const auto& service : TheManager().services) {
    if (SameName(service->displayName, displayName)) {
      keyName = service->name;
      return true;
    }
  }
  return Fail(kErrorServiceDoesNotExist);
}

Listing EnumServices(const Handle& manager, uint32_t serviceType, uint32_t stateFilter) {
  return ListServices(manager, serviceType, stateFilter);
}

Listing EnumServicesWithProcess(const Handle& manager, uint32_t serviceType, uint32_t stateFilter) {
  return ListServices(manager, serviceType, stateFilter);
}

Listing EnumDependents(const Handle& handle, uint32_t stateFilter) {
  Call();
  Listing listing;
  Service* service = ServiceFor(handle, kServiceEnumerateDependents);
  if (!service) return listing;
  if (stateFilter < kStateActive || stateFilter > kStateAll) return Fail(kErrorInvalidParameter), listing;
  std::vector<std::shared_ptr<Service>> dependents;
  std::set<const Service*> visited{service};
  CollectDependents(*service, dependents, visited);
  for (const auto& dependent : dependents) {
    Refresh(*dependent);
    if (MatchesStateFilter(dependent->state, stateFilter)) listing.entries.push_back(EntryOf(*dependent));
  }
  listing.ok = true;
  listing.reportedCount = static_cast<uint32_t>(listing.entries.size());
  return listing;
}

uint32_t LastError() { return TheManager().lastError; }

}  // namespace scm
