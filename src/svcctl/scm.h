// The service-manager seam: the primitive calls of the Windows service
// control manager in the project's own types. src/platform/win32 makes
// them on advapi32's ANSI functions (each variable-size read done with two
// calls into a zero-filled buffer); src/platform/sim keeps services in
// memory. An empty text crosses to the platform as a null pointer.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "support/text.h"

namespace scm {

// Access rights.
inline constexpr uint32_t kGenericRead = 0x80000000;
inline constexpr uint32_t kGenericWrite = 0x40000000;
inline constexpr uint32_t kGenericExecute = 0x20000000;
inline constexpr uint32_t kDelete = 0x10000;
inline constexpr uint32_t kManagerConnect = 0x1;
inline constexpr uint32_t kManagerCreateService = 0x2;
inline constexpr uint32_t kManagerEnumerateService = 0x4;
inline constexpr uint32_t kManagerAllAccess = 0xF003F;
inline constexpr uint32_t kServiceQueryConfig = 0x1;
inline constexpr uint32_t kServiceChangeConfig = 0x2;
inline constexpr uint32_t kServiceQueryStatus = 0x4;
inline constexpr uint32_t kServiceEnumerateDependents = 0x8;
inline constexpr uint32_t kServiceStart = 0x10;
inline constexpr uint32_t kServiceStop = 0x20;
inline constexpr uint32_t kServicePauseContinue = 0x40;
inline constexpr uint32_t kServiceInterrogate = 0x80;
inline constexpr uint32_t kServiceAllAccess = 0xF01FF;

// Service types.
inline constexpr uint32_t kKernelDriver = 0x1;
inline constexpr uint32_t kOwnProcess = 0x10;
inline constexpr uint32_t kShareProcess = 0x20;
inline constexpr uint32_t kWin32 = 0x30;
inline constexpr uint32_t kInteractiveProcess = 0x100;

// Start types.
inline constexpr uint32_t kBootStart = 0;
inline constexpr uint32_t kSystemStart = 1;
inline constexpr uint32_t kAutoStart = 2;
inline constexpr uint32_t kDemandStart = 3;
inline constexpr uint32_t kDisabled = 4;

inline constexpr uint32_t kErrorNormal = 1;
inline constexpr uint32_t kNoChange = 0xFFFFFFFF;

// States and state filters.
inline constexpr uint32_t kStopped = 1;
inline constexpr uint32_t kStartPending = 2;
inline constexpr uint32_t kStopPending = 3;
inline constexpr uint32_t kRunning = 4;
inline constexpr uint32_t kContinuePending = 5;
inline constexpr uint32_t kPausePending = 6;
inline constexpr uint32_t kPaused = 7;
inline constexpr uint32_t kStateActive = 1;
inline constexpr uint32_t kStateInactive = 2;
inline constexpr uint32_t kStateAll = 3;

// Controls.
inline constexpr uint32_t kControlStop = 1;
inline constexpr uint32_t kControlPause = 2;
inline constexpr uint32_t kControlContinue = 3;
inline constexpr uint32_t kControlInterrogate = 4;

// Controls a service accepts.
inline constexpr uint32_t kAcceptStop = 0x1;
inline constexpr uint32_t kAcceptPauseContinue = 0x2;

// Platform error codes that callers and tests look at.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorDependentServicesRunning = 1051;
inline constexpr uint32_t kErrorInvalidServiceControl = 1052;
inline constexpr uint32_t kErrorServiceRequestTimeout = 1053;
inline constexpr uint32_t kErrorServiceAlreadyRunning = 1056;
inline constexpr uint32_t kErrorServiceDisabled = 1058;
inline constexpr uint32_t kErrorServiceDoesNotExist = 1060;
inline constexpr uint32_t kErrorServiceCannotAcceptControl = 1061;
inline constexpr uint32_t kErrorServiceNotActive = 1062;
inline constexpr uint32_t kErrorServiceMarkedForDelete = 1072;
inline constexpr uint32_t kErrorServiceExists = 1073;
inline constexpr uint32_t kErrorDuplicateServiceName = 1078;

// Closes a raw handle of the platform; implemented by each platform.
bool CloseRawHandle(void* raw);

// Owns one manager or service handle and closes it when it goes.
class Handle {
 public:
  Handle() = default;
  explicit Handle(void* raw) : raw_(raw) {}
  Handle(Handle&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      Close();
      raw_ = std::exchange(other.raw_, nullptr);
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }

  explicit operator bool() const { return raw_ != nullptr; }
  void* Raw() const { return raw_; }
  void Close() {
    if (raw_) CloseRawHandle(std::exchange(raw_, nullptr));
  }

 private:
  void* raw_ = nullptr;
};

struct Status {
  uint32_t serviceType = 0;
  uint32_t currentState = 0;
  uint32_t controlsAccepted = 0;
  uint32_t win32ExitCode = 0;
  uint32_t serviceSpecificExitCode = 0;
  uint32_t checkPoint = 0;
  uint32_t waitHint = 0;
};

struct Config {
  uint32_t serviceType = 0;
  uint32_t startType = 0;
  uint32_t errorControl = 0;
  Text binaryPath;
  Text loadOrderGroup;
  Text dependencies;  // names each ended by a NUL, as the platform lists them
  Text serviceStartName;
  Text displayName;
};

struct Entry {
  Text name;
  Text displayName;
  Status status;
  uint32_t processId = 0;  // filled by the listing with process ids only
};

struct Listing {
  bool ok = false;
  uint32_t reportedCount = 0;  // what the filling call reported, also on failure
  std::vector<Entry> entries;
};

struct NewService {
  Text name;
  Text displayName;
  uint32_t desiredAccess = 0;
  uint32_t serviceType = 0;
  uint32_t startType = 0;
  uint32_t errorControl = 0;
  Text binaryPath;
  Text dependencies;  // the platform's list: names each ended by a NUL
  Text account;
  Text password;
};

Handle OpenManager(uint32_t access);
Handle OpenService(const Handle& manager, const Text& name, uint32_t access);
Handle CreateService(const Handle& manager, const NewService& service);
bool DeleteService(const Handle& service);
bool StartService(const Handle& service);
bool ControlService(const Handle& service, uint32_t control, Status& status);
bool QueryStatus(const Handle& service, Status& status);
bool QueryConfig(const Handle& service, Config& config);
// The description; empty when the service has none.
bool QueryDescription(const Handle& service, Text& description);
// An empty description leaves the description unchanged.
bool ChangeDescription(const Handle& service, const Text& description);
// kNoChange, or an empty path, leaves that setting unchanged.
bool ChangeConfig(const Handle& service, uint32_t serviceType, uint32_t startType,
                  uint32_t errorControl, const Text& binaryPath);
// Display name into a buffer that holds `capacity` characters with the terminator.
bool GetDisplayName(const Handle& manager, const Text& keyName, uint32_t capacity, Text& displayName);
bool GetKeyName(const Handle& manager, const Text& displayName, Text& keyName);
Listing EnumServices(const Handle& manager, uint32_t serviceType, uint32_t stateFilter);
Listing EnumServicesWithProcess(const Handle& manager, uint32_t serviceType, uint32_t stateFilter);
Listing EnumDependents(const Handle& service, uint32_t stateFilter);

// The platform's error code of the last failed call, for tests and messages.
uint32_t LastError();

}  // namespace scm
