#include "svcctl/service_controller.h"

#include <type_traits>

#include "support/system.h"
#include "svcctl/scm.h"
#include "svcctl/service_labels.h"

namespace {

// The manager and one service, opened together and closed service first.
struct OpenedService {
  scm::Handle manager;
  scm::Handle service;
  explicit operator bool() const { return bool(service); }
};

OpenedService OpenWithManager(uint32_t managerAccess, const Text& name, uint32_t serviceAccess) {
  OpenedService opened;
  opened.manager = scm::OpenManager(managerAccess);
  if (opened.manager) opened.service = scm::OpenService(opened.manager, name, serviceAccess);
  return opened;
}

bool ReadConfig(uint32_t managerAccess, const Text& name, uint32_t serviceAccess, scm::Config& config) {
  OpenedService opened = OpenWithManager(managerAccess, name, serviceAccess);
  return opened && scm::QueryConfig(opened.service, config);
}

bool SendControl(uint32_t managerAccess, const Text& name, uint32_t serviceAccess, uint32_t control) {
  OpenedService opened = OpenWithManager(managerAccess, name, serviceAccess);
  if (!opened) return false;
  scm::Status status;
  return scm::ControlService(opened.service, control, status);
}

constexpr uint32_t kDeleteAccess = scm::kServiceStart | scm::kServiceStop | scm::kDelete;
constexpr uint32_t kDependentsAccess =
    scm::kServiceStop | scm::kServiceEnumerateDependents | scm::kServiceQueryStatus;
constexpr uint32_t kDependentStopAccess = scm::kServiceStop | scm::kServiceQueryStatus;
constexpr uint32_t kStopDependentsBudgetMs = 30000;
constexpr uint32_t kDisplayNameCapacity = 255;

// Fills the texts that come from a service's configuration; the caller has
// already copied the names from the listing entry.
template <class Record>
bool FillFromConfig(ServiceController& services, const scm::Handle& manager,
                    const scm::Entry& entry, uint32_t serviceAccess, Record& record) {
  scm::Handle service = scm::OpenService(manager, record.Name, serviceAccess);
  scm::Config config;
  if (!service || !scm::QueryConfig(service, config)) return false;
  record.Description = services.GetDescription(record.Name);
  record.StateText = services.StateName(static_cast<int32_t>(entry.status.currentState));
  record.BinaryPath = config.binaryPath;
  record.StartTypeText = StartTypeLabel(StartTypeCode(config.startType, entry.status.serviceType));
  record.AccountText = AccountLabel(config.serviceStartName, ToUpper(config.serviceStartName));
  return true;
}

// When a listing lets pending window events run between its records.
enum class Dispatch { AfterEveryRecord, AfterRecordsRead, Never };

// Replaces the caller's records with one per listed service, in the
// platform's order, each opened on `manager` with `serviceAccess`.
template <class Record>
int32_t FillRecords(ServiceController& services, const scm::Handle& manager, const scm::Listing& listing,
                    uint32_t serviceAccess, Dispatch dispatch, std::vector<Record>& records) {
  records.assign(listing.entries.size(), Record());
  for (size_t i = 0; i < listing.entries.size(); ++i) {
    const scm::Entry& entry = listing.entries[i];
    Record& record = records[i];
    record.Name = entry.name;
    record.DisplayName = entry.displayName;
    if constexpr (std::is_same_v<Record, ServiceRecordEx>) record.ProcessId = static_cast<int32_t>(entry.processId);
    bool read = FillFromConfig(services, manager, entry, serviceAccess, record);
    if (dispatch == Dispatch::AfterEveryRecord || (dispatch == Dispatch::AfterRecordsRead && read)) ProcessEvents();
  }
  return static_cast<int32_t>(records.size());
}

}  // namespace

ServiceController::~ServiceController() = default;

std::unique_ptr<ServiceController> ServiceController::Clone() const {
  return std::make_unique<ServiceController>(*this);
}

int32_t ServiceController::QueryState(const Text& name) {
  OpenedService opened = OpenWithManager(scm::kGenericRead, name, scm::kGenericRead);
  scm::Status status;
  if (!opened || !scm::QueryStatus(opened.service, status)) return 0;
  return static_cast<int32_t>(status.currentState);
}

int32_t ServiceController::GetServiceType(const Text& name) {
  scm::Config config;
  if (!ReadConfig(scm::kGenericRead, name, scm::kGenericRead, config)) return 0;
  return static_cast<int32_t>(config.serviceType);
}

Text ServiceController::GetDescription(const Text& name) {
  OpenedService opened = OpenWithManager(scm::kGenericRead, name, scm::kServiceQueryConfig);
  Text description;
  if (!opened || !scm::QueryDescription(opened.service, description)) return Text();
  return description;
}

bool ServiceController::SetDescription(const Text& name, const Text& description) {
  OpenedService opened = OpenWithManager(scm::kGenericExecute, name, scm::kServiceChangeConfig);
  return opened && scm::ChangeDescription(opened.service, description);
}

Text ServiceController::GetDisplayName(const Text& name) {
  scm::Handle manager = scm::OpenManager(scm::kGenericRead);
  Text displayName;
  if (!manager || !scm::GetDisplayName(manager, name, kDisplayNameCapacity, displayName)) return Text();
  return displayName;
}

Text ServiceController::GetKeyName(const Text& displayName) {
  scm::Handle manager = scm::OpenManager(scm::kGenericRead);
  Text keyName;
  if (!manager || !scm::GetKeyName(manager, displayName, keyName)) return Text();
  return keyName;
}

bool ServiceController::Create(const Text& name, const Text& displayName, const Text& binaryPath,
                               const Text& description, bool interactive,
                               std::optional<int32_t> serviceType, std::optional<int32_t> startType,
                               const Text& dependencies, const Text& account, const Text& password) {
  scm::NewService request;
  request.name = name;
  request.displayName = displayName;
  request.desiredAccess = scm::kServiceAllAccess;
  request.serviceType = serviceType ? static_cast<uint32_t>(*serviceType) : scm::kOwnProcess;
  if (interactive) request.serviceType |= scm::kInteractiveProcess;
  request.startType = startType ? static_cast<uint32_t>(*startType) : scm::kDemandStart;
  request.errorControl = scm::kErrorNormal;
  request.binaryPath = binaryPath;
  // The platform reads the list up to an empty name; the NUL that the string
  // keeps behind its last byte closes it once every name ends in a NUL.
  request.dependencies = dependencies;
  if (!request.dependencies.empty() && request.dependencies.back() != '\0') request.dependencies += '\0';
  request.account = account;
  request.password = password;

  scm::Handle manager = scm::OpenManager(scm::kManagerAllAccess);
  if (!manager) return false;
  scm::Handle service = scm::CreateService(manager, request);
  if (!service) return false;
  SetDescription(name, description);
  return true;
}

bool ServiceController::Delete(const Text& name) {
  OpenedService opened = OpenWithManager(scm::kManagerAllAccess, name, kDeleteAccess);
  return opened && scm::DeleteService(opened.service);
}

bool ServiceController::Start(const Text& name) {
  OpenedService opened = OpenWithManager(scm::kManagerAllAccess, name, scm::kServiceStart);
  return opened && scm::StartService(opened.service);
}

bool ServiceController::Stop(const Text& name) {
  return SendControl(scm::kManagerConnect, name, scm::kServiceStop, scm::kControlStop);
}

bool ServiceController::Pause(const Text& name) {
  return SendControl(scm::kManagerAllAccess, name, scm::kServiceAllAccess, scm::kControlPause);
}

bool ServiceController::Resume(const Text& name) {
  return SendControl(scm::kManagerAllAccess, name, scm::kServiceAllAccess, scm::kControlContinue);
}

bool ServiceController::Exists(const Text& name) {
  return bool(OpenWithManager(scm::kGenericRead, name, scm::kGenericRead));
}

bool ServiceController::SetStartType(const Text& name, int32_t startType) {
  OpenedService opened = OpenWithManager(scm::kManagerAllAccess, name, scm::kServiceAllAccess);
  return opened && scm::ChangeConfig(opened.service, scm::kNoChange, static_cast<uint32_t>(startType),
                                     scm::kNoChange, Text());
}

int32_t ServiceController::GetStartTypeCode(const Text& name) {
  scm::Config config;
  if (!ReadConfig(scm::kGenericRead, name, scm::kServiceQueryConfig, config)) return 0;
  int32_t code = StartTypeCode(config.startType, config.serviceType);
  ProcessEvents();
  return code;
}

Text ServiceController::GetBinaryPath(const Text& name) {
  scm::Config config;
  if (!ReadConfig(scm::kGenericRead, name, scm::kServiceQueryConfig, config)) return Text();
  return config.binaryPath;
}

bool ServiceController::SetBinaryPath(const Text& name, const Text& binaryPath) {
  OpenedService opened = OpenWithManager(scm::kManagerAllAccess, name, scm::kServiceAllAccess);
  return opened && scm::ChangeConfig(opened.service, scm::kNoChange, scm::kNoChange, scm::kNoChange, binaryPath);
}

Text ServiceController::GetAccountName(const Text& name) {
  scm::Config config;
  if (!ReadConfig(scm::kGenericRead, name, scm::kServiceQueryConfig, config)) return Text();
  Text label = AccountLabel(config.serviceStartName, Text());
  ProcessEvents();
  return label;
}

int32_t ServiceController::EnumerateServices(int32_t stateFilter, std::vector<ServiceRecord>& records) {
  scm::Handle manager = scm::OpenManager(scm::kManagerAllAccess);
  if (!manager) return 0;
  scm::Listing listing = scm::EnumServices(manager, scm::kWin32, static_cast<uint32_t>(stateFilter));
  if (!listing.ok) return 0;
  return FillRecords(*this, manager, listing, scm::kServiceAllAccess, Dispatch::AfterEveryRecord, records);
}

int32_t ServiceController::CountServices(int32_t stateFilter) {
  scm::Handle manager = scm::OpenManager(scm::kGenericRead);
  if (!manager) return 0;
  return static_cast<int32_t>(
      scm::EnumServices(manager, scm::kWin32, static_cast<uint32_t>(stateFilter)).reportedCount);
}

void ServiceController::FindServiceRecord(const Text& name, int32_t stateFilter, ServiceRecordEx& record) {
  std::vector<ServiceRecordEx> listed;
  ServiceController().EnumerateServicesEx(stateFilter, listed);
  for (const ServiceRecordEx& candidate : listed) {
    if (CompareText(candidate.Name, name) == 0) record = candidate;
    if (IsInputWaiting()) ProcessEvents();
  }
}

int32_t ServiceController::EnumerateServicesEx(int32_t stateFilter, std::vector<ServiceRecordEx>& records) {
  scm::Handle manager = scm::OpenManager(scm::kGenericRead);
  if (!manager) return 0;
  scm::Listing listing =
      scm::EnumServicesWithProcess(manager, scm::kWin32, static_cast<uint32_t>(stateFilter));
  if (!listing.ok) return 0;
  return FillRecords(*this, manager, listing, scm::kServiceAllAccess, Dispatch::Never, records);
}

int32_t ServiceController::EnumerateDependents(const Text& name, std::vector<ServiceRecord>& records) {
  OpenedService opened = OpenWithManager(scm::kManagerAllAccess, name, kDependentsAccess);
  if (!opened) return 0;
  scm::Listing listing = scm::EnumDependents(opened.service, scm::kStateAll);
  if (!listing.ok) return 0;
  return FillRecords(*this, opened.manager, listing, scm::kGenericRead, Dispatch::AfterRecordsRead, records);
}

void ServiceController::StopDependents(const Text& name) {
  const uint32_t startedAt = GetUptime();
  OpenedService opened = OpenWithManager(scm::kGenericRead, name, kDependentsAccess);
  if (!opened) return;
  scm::Listing listing = scm::EnumDependents(opened.service, scm::kStateActive);
  if (!listing.ok) return;
  for (const scm::Entry& entry : listing.entries) {
    scm::Handle dependent = scm::OpenService(opened.manager, entry.name, kDependentStopAccess);
    if (!dependent) continue;
    scm::Status status;
    if (!scm::ControlService(dependent, scm::kControlStop, status)) continue;
    while (status.currentState != scm::kStopped) {
      SleepFor(static_cast<int32_t>(status.waitHint));
      scm::QueryStatus(dependent, status);
      if (status.currentState == scm::kStopped) break;
      if (GetUptime() - startedAt > kStopDependentsBudgetMs) break;
      ProcessEvents();
    }
  }
}

Text ServiceController::StateName(int32_t state) { return StateLabel(state); }

bool ServiceController::Restart(const Text& name) {
  if (!Stop(name)) return false;
  return Start(name);
}
