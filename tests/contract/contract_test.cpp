// The ServiceController contract. The same cases run natively against the
// simulated manager and, built for Windows, under Wine against the real
// manager with the test service; error codes are compared where both
// managers can show them. Cases that need what Wine's manager cannot show
// (rights, refused access, dependents) run on the simulator only, in the
// SimOnly suites at the end.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contract_env.h"
#include "svcctl/scm.h"

#if VEMTRA_CONTRACT_SIM
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_scm.h"
#endif

namespace {

using contract::ScopedService;

// What the manager reports for a null name (an empty text crosses as one).
constexpr uint32_t kErrorInvalidAddress = 487;

const ServiceRecord* FindRecord(const std::vector<ServiceRecord>& records, const Text& name) {
  for (const ServiceRecord& record : records) {
    if (record.Name == name) return &record;
  }
  return nullptr;
}

const ServiceRecordEx* FindRecord(const std::vector<ServiceRecordEx>& records, const Text& name) {
  for (const ServiceRecordEx& record : records) {
    if (record.Name == name) return &record;
  }
  return nullptr;
}

Text Lowered(Text text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

class ServiceContract : public ::testing::Test {
 protected:
  void SetUp() override { contract::ResetPlatform(); }

  // A unique name whose service, if one gets created, is removed at the end.
  Text GuardedName(const char* stem) {
    guards_.push_back(std::make_unique<ScopedService>(contract::UniqueServiceName(stem)));
    return guards_.back()->Name();
  }

  Text DisplayNameOf(const Text& name) { return "测试服务 " + name; }

  // A stopped, on-demand service of the test program.
  Text NewService(const char* stem, const TestServiceOptions& options = TestServiceOptions()) {
    Text name = GuardedName(stem);
    EXPECT_TRUE(services_.Create(name, DisplayNameOf(name), contract::TestServiceBinaryPath(options)));
    return name;
  }

  Text NewRunningService(const char* stem, const TestServiceOptions& options = TestServiceOptions()) {
    Text name = NewService(stem, options);
    EXPECT_TRUE(services_.Start(name));
    EXPECT_TRUE(contract::WaitForState(services_, name, scm::kRunning));
    return name;
  }

  ServiceController services_;

 private:
  std::vector<std::unique_ptr<ScopedService>> guards_;
};

// ---------------------------------------------------------------------------
// Create

TEST_F(ServiceContract, CreateWithOnlyNamesAndPathGivesTheDefaults) {
  Text name = GuardedName("defaults");
  Text binaryPath = contract::TestServiceBinaryPath();
  ASSERT_TRUE(services_.Create(name, DisplayNameOf(name), binaryPath));

  EXPECT_TRUE(services_.Exists(name));
  EXPECT_EQ(services_.QueryState(name), 1);
  EXPECT_EQ(services_.GetServiceType(name), 16);
  EXPECT_EQ(services_.GetStartTypeCode(name), 3);
  EXPECT_EQ(services_.GetAccountName(name), "本地系统");
  EXPECT_EQ(services_.GetDescription(name), "");
  EXPECT_EQ(services_.GetBinaryPath(name), binaryPath);
  EXPECT_EQ(services_.GetDisplayName(name), DisplayNameOf(name));
}

TEST_F(ServiceContract, CreateTakesTypeStartTypeInteractiveAndDescription) {
  struct Case {
    const char* stem;
    bool interactive;
    std::optional<int32_t> serviceType;
    std::optional<int32_t> startType;
    int32_t expectedType;
    int32_t expectedStartCode;
  };
  const Case cases[] = {
      {"interactive", true, std::nullopt, std::nullopt, 272, 3},
      {"interactive_auto", true, std::nullopt, 2, 272, -1},
      {"interactive_shared", true, 32, 3, 288, 3},
      {"shared_auto", false, 32, 2, 32, 1},
      {"own_auto", false, 16, 2, 16, 2},
      {"disabled", false, std::nullopt, 4, 16, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stem);
    Text name = GuardedName(c.stem);
    ASSERT_TRUE(services_.Create(name, DisplayNameOf(name), contract::TestServiceBinaryPath(), "说明 " + name,
                                 c.interactive, c.serviceType, c.startType));
    EXPECT_EQ(services_.GetServiceType(name), c.expectedType);
    EXPECT_EQ(services_.GetStartTypeCode(name), c.expectedStartCode);
    EXPECT_EQ(services_.GetDescription(name), "说明 " + name);
  }
}

TEST_F(ServiceContract, CreateWithDependenciesSucceeds) {
  Text first = NewService("dep_a");
  Text second = NewService("dep_b");
  Text name = GuardedName("dependent");
  // The library closes the list; the caller may end it or not.
  EXPECT_TRUE(services_.Create(name, DisplayNameOf(name), contract::TestServiceBinaryPath(), "", false,
                               std::nullopt, std::nullopt, first + '\0' + second));
  EXPECT_TRUE(services_.Exists(name));
}

TEST_F(ServiceContract, CreateRefusesBadRequestsWithTheManagersCodes) {
  Text existing = NewService("existing");
  const Text binary = contract::TestServiceBinaryPath();
  struct Case {
    const char* what;
    Text name;
    Text displayName;
    Text binaryPath;
    std::optional<int32_t> serviceType;
    std::optional<int32_t> startType;
    uint32_t error;  // 0: the code differs between managers
  };
  const Case cases[] = {
      {"same name", existing, "其他", binary, std::nullopt, std::nullopt, scm::kErrorServiceExists},
      {"same name in other case", Lowered(existing), "其他", binary, std::nullopt, std::nullopt,
       scm::kErrorServiceExists},
      {"display name taken", GuardedName("dup_display"), DisplayNameOf(existing), binary, std::nullopt, std::nullopt,
       scm::kErrorDuplicateServiceName},
      {"boot start", GuardedName("boot"), "x0", binary, std::nullopt, 0, scm::kErrorInvalidParameter},
      {"system start", GuardedName("system"), "x1", binary, std::nullopt, 1, scm::kErrorInvalidParameter},
      {"start type 5", GuardedName("five"), "x5", binary, std::nullopt, 5, scm::kErrorInvalidParameter},
      {"start type 99", GuardedName("ninety_nine"), "x99", binary, std::nullopt, 99, scm::kErrorInvalidParameter},
      {"service type 0", GuardedName("type0"), "t0", binary, 0, std::nullopt, scm::kErrorInvalidParameter},
      {"empty name", "", "空", binary, std::nullopt, std::nullopt, kErrorInvalidAddress},
      {"backslash", "a\\b", "反斜杠", binary, std::nullopt, std::nullopt, scm::kErrorInvalidName},
      {"slash", "a/b", "斜杠", binary, std::nullopt, std::nullopt, scm::kErrorInvalidName},
      {"300 characters", Text(300, 'x'), "长", binary, std::nullopt, std::nullopt, 0},
      {"empty binary path", GuardedName("no_binary"), "无路径", "", std::nullopt, std::nullopt,
       kErrorInvalidAddress},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(services_.Create(c.name, c.displayName, c.binaryPath, "", false, c.serviceType, c.startType));
    if (c.error != 0) {
      EXPECT_EQ(scm::LastError(), c.error);
    }
    if (c.name != existing && c.name != Lowered(existing)) {
      EXPECT_FALSE(services_.Exists(c.name));
    }
  }
  EXPECT_EQ(services_.GetDisplayName(existing), DisplayNameOf(existing));
}

// ---------------------------------------------------------------------------
// Start, stop, pause, resume, restart

TEST_F(ServiceContract, StartAndStopPassThroughThePendingStates) {
  TestServiceOptions slow;
  slow.startDelayMs = 500;
  slow.stopDelayMs = 500;
  slow.waitHintMs = 2000;
  Text name = NewService("pending", slow);

  ASSERT_TRUE(services_.Start(name));
  EXPECT_EQ(services_.QueryState(name), 2);
  EXPECT_FALSE(services_.Start(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceAlreadyRunning);
  // No control is accepted while starting. (The stop's code differs: Wine
  // says 1052 where Windows documents 1061.)
  EXPECT_FALSE(services_.Stop(name));
  EXPECT_FALSE(services_.Pause(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceCannotAcceptControl);
  ASSERT_TRUE(contract::WaitForState(services_, name, 4));

  EXPECT_FALSE(services_.Start(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceAlreadyRunning);

  ASSERT_TRUE(services_.Stop(name));
  EXPECT_EQ(services_.QueryState(name), 3);
  EXPECT_FALSE(services_.Stop(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceCannotAcceptControl);
  ASSERT_TRUE(contract::WaitForState(services_, name, 1));
  EXPECT_FALSE(services_.Stop(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceNotActive);
}

TEST_F(ServiceContract, PauseAndResume) {
  Text name = NewRunningService("pause");
  ASSERT_TRUE(services_.Pause(name));
  EXPECT_TRUE(contract::WaitForState(services_, name, 7));
  ASSERT_TRUE(services_.Resume(name));
  EXPECT_TRUE(contract::WaitForState(services_, name, 4));

  ASSERT_TRUE(services_.Stop(name));
  ASSERT_TRUE(contract::WaitForState(services_, name, 1));
  EXPECT_FALSE(services_.Pause(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceNotActive);
  EXPECT_FALSE(services_.Resume(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceNotActive);
}

TEST_F(ServiceContract, PauseIsRefusedByAServiceThatDoesNotAcceptIt) {
  TestServiceOptions noPause;
  noPause.acceptsPause = false;
  Text name = NewRunningService("no_pause", noPause);
  EXPECT_FALSE(services_.Pause(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorInvalidServiceControl);
  EXPECT_EQ(services_.QueryState(name), 4);
  EXPECT_TRUE(services_.Stop(name));
}

TEST_F(ServiceContract, RestartIsRefusedWhileTheServiceIsStillStopping) {
  TestServiceOptions slowStop;
  slowStop.stopDelayMs = 800;
  slowStop.waitHintMs = 2000;
  Text name = NewRunningService("restart", slowStop);

  EXPECT_FALSE(services_.Restart(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceAlreadyRunning);
  EXPECT_EQ(services_.QueryState(name), 3);
  ASSERT_TRUE(contract::WaitForState(services_, name, 1));

  // A stopped service refuses the stop, so no start is asked for.
  EXPECT_FALSE(services_.Restart(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceNotActive);
  EXPECT_EQ(services_.QueryState(name), 1);
}

TEST_F(ServiceContract, StartOfADisabledServiceFails) {
  Text name = NewService("disabled");
  ASSERT_TRUE(services_.SetStartType(name, 4));
  EXPECT_FALSE(services_.Start(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDisabled);
}

// ---------------------------------------------------------------------------
// Delete

TEST_F(ServiceContract, DeleteMarksARunningServiceWhichVanishesOnceStopped) {
  Text name = NewRunningService("delete");
  ASSERT_TRUE(services_.Delete(name));
  EXPECT_TRUE(services_.Exists(name));
  EXPECT_EQ(services_.QueryState(name), 4);

  EXPECT_FALSE(services_.Delete(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceMarkedForDelete);
  EXPECT_FALSE(services_.Create(name, "再建", contract::TestServiceBinaryPath()));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceMarkedForDelete);
  EXPECT_FALSE(services_.SetStartType(name, 2));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceMarkedForDelete);

  ASSERT_TRUE(services_.Stop(name));
  EXPECT_TRUE(contract::WaitUntilGone(services_, name));
  EXPECT_EQ(services_.QueryState(name), 0);
  EXPECT_FALSE(services_.Delete(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
}

TEST_F(ServiceContract, AMarkedServiceThatFinishesStoppingIsGoneAtTheFirstQuestion) {
  TestServiceOptions slowStop;
  slowStop.stopDelayMs = 500;
  slowStop.waitHintMs = 1000;
  Text name = NewRunningService("delete_slow", slowStop);
  ASSERT_TRUE(services_.Delete(name));
  ASSERT_TRUE(services_.Stop(name));
  // Nobody asks while it stops; the first question after that finds nothing.
  contract::LetTimePass(2000);
  EXPECT_FALSE(services_.Exists(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
}

TEST_F(ServiceContract, DeleteOfAStoppedServiceRemovesItAtOnce) {
  Text name = NewService("delete_stopped");
  ASSERT_TRUE(services_.Delete(name));
  EXPECT_FALSE(services_.Exists(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
}

// ---------------------------------------------------------------------------
// Configuration

TEST_F(ServiceContract, DescriptionIsSetReadAndLeftAloneByAnEmptyText) {
  Text name = NewService("description");
  EXPECT_EQ(services_.GetDescription(name), "");
  EXPECT_TRUE(services_.SetDescription(name, "第一段说明 first"));
  EXPECT_EQ(services_.GetDescription(name), "第一段说明 first");
  EXPECT_TRUE(services_.SetDescription(name, ""));
  EXPECT_EQ(services_.GetDescription(name), "第一段说明 first");
  EXPECT_TRUE(services_.SetDescription(name, "第二"));
  EXPECT_EQ(services_.GetDescription(name), "第二");

  Text missing = contract::UniqueServiceName("missing");
  EXPECT_FALSE(services_.SetDescription(missing, "x"));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
  EXPECT_EQ(services_.GetDescription(missing), "");
}

TEST_F(ServiceContract, DisplayNameAndKeyNameLookUpEachOther) {
  Text name = NewService("names");
  Text display = DisplayNameOf(name);
  EXPECT_EQ(services_.GetDisplayName(name), display);
  EXPECT_EQ(services_.GetDisplayName(Lowered(name)), display);  // key names ignore letter case
  EXPECT_EQ(services_.GetKeyName(display), name);

  EXPECT_EQ(services_.GetDisplayName(display), "");
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
  EXPECT_EQ(services_.GetKeyName(name), "");
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
  EXPECT_EQ(services_.GetKeyName("没有这个显示名 " + name), "");
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
}

TEST_F(ServiceContract, DisplayNameMustFitIn255Bytes) {
  struct Case {
    const char* what;
    Text display;
    bool fits;
  };
  Text chinese127;
  for (int i = 0; i < 127; ++i) chinese127 += "汉";
  const Case cases[] = {
      {"254 ASCII", Text(254, 'd'), true},
      {"255 ASCII", Text(255, 'e'), false},
      {"127 double-byte", chinese127, true},
      {"128 double-byte", chinese127 + "字", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Text name = GuardedName("long_display");
    ASSERT_TRUE(services_.Create(name, c.display, contract::TestServiceBinaryPath()));
    EXPECT_EQ(services_.GetDisplayName(name), c.fits ? c.display : Text());
    if (!c.fits) {
      EXPECT_EQ(scm::LastError(), scm::kErrorInsufficientBuffer);
    }
    EXPECT_EQ(services_.GetKeyName(c.display), name);
  }
}

TEST_F(ServiceContract, SetStartTypeAcceptsOnlyTheOrdinaryStartTypes) {
  Text name = NewService("start_type");
  for (int32_t refused : {0, 1, 5, 99}) {
    SCOPED_TRACE(refused);
    EXPECT_FALSE(services_.SetStartType(name, refused));
    EXPECT_EQ(scm::LastError(), scm::kErrorInvalidParameter);
    EXPECT_EQ(services_.GetStartTypeCode(name), 3);
  }
  for (int32_t accepted : {2, 4, 3}) {
    SCOPED_TRACE(accepted);
    EXPECT_TRUE(services_.SetStartType(name, accepted));
    EXPECT_EQ(services_.GetStartTypeCode(name), accepted);  // own process: 2 is code 2
  }
  EXPECT_FALSE(services_.SetStartType(contract::UniqueServiceName("missing"), 2));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
  EXPECT_EQ(services_.GetStartTypeCode(contract::UniqueServiceName("missing")), 0);
}

TEST_F(ServiceContract, BinaryPathIsReadAndChanged) {
  Text name = NewService("binary_path");
  TestServiceOptions other;
  other.stopDelayMs = 5;
  Text otherPath = contract::TestServiceBinaryPath(other);
  EXPECT_EQ(services_.GetBinaryPath(name), contract::TestServiceBinaryPath());
  EXPECT_TRUE(services_.SetBinaryPath(name, otherPath));
  EXPECT_EQ(services_.GetBinaryPath(name), otherPath);
  EXPECT_TRUE(services_.SetBinaryPath(name, ""));  // changes nothing
  EXPECT_EQ(services_.GetBinaryPath(name), otherPath);

  Text missing = contract::UniqueServiceName("missing");
  EXPECT_FALSE(services_.SetBinaryPath(missing, otherPath));
  EXPECT_EQ(scm::LastError(), scm::kErrorServiceDoesNotExist);
  EXPECT_EQ(services_.GetBinaryPath(missing), "");
}

TEST_F(ServiceContract, AccountNameLabelsTheWellKnownAccounts) {
  struct Case {
    const char* stem;
    Text account;
    Text password;
    Text label;
  };
  const Case cases[] = {
      {"local_service", "NT AUTHORITY\\LocalService", "", "本地服务"},
      {"network_service", "NT AUTHORITY\\NetworkService", "", "网络服务"},
      {"local_system", "LocalSystem", "", "本地系统"},
      {"user", ".\\VemtraUser", "secret", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stem);
    Text name = GuardedName(c.stem);
    ASSERT_TRUE(services_.Create(name, DisplayNameOf(name), contract::TestServiceBinaryPath(), "", false,
                                 std::nullopt, std::nullopt, "", c.account, c.password));
    EXPECT_EQ(services_.GetAccountName(name), c.label);
  }
}

// ---------------------------------------------------------------------------
// Listings

TEST_F(ServiceContract, EnumerateServicesRefillsTheArrayWithEveryRecord) {
  Text running = NewRunningService("list_running");
  Text stopped = NewService("list_stopped");
  ASSERT_TRUE(services_.SetStartType(stopped, 2));
  ASSERT_TRUE(services_.SetDescription(stopped, "停着的服务"));

  std::vector<ServiceRecord> records(3, ServiceRecord{"old", "old", "", "", "", "", ""});
  int32_t count = services_.EnumerateServices(3, records);
  EXPECT_EQ(count, static_cast<int32_t>(records.size()));
  EXPECT_EQ(FindRecord(records, "old"), nullptr);

  const ServiceRecord* record = FindRecord(records, running);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->DisplayName, DisplayNameOf(running));
  EXPECT_EQ(record->Description, "");
  EXPECT_EQ(record->BinaryPath, contract::TestServiceBinaryPath());
  EXPECT_EQ(record->StartTypeText, "手动");
  EXPECT_EQ(record->StateText, "正运行");
  EXPECT_EQ(record->AccountText, "本地系统");

  record = FindRecord(records, stopped);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Description, "停着的服务");
  EXPECT_EQ(record->StartTypeText, "自动(延迟启动)");
  EXPECT_EQ(record->StateText, "已停止");

  std::vector<ServiceRecord> active;
  EXPECT_GT(services_.EnumerateServices(1, active), 0);
  EXPECT_NE(FindRecord(active, running), nullptr);
  EXPECT_EQ(FindRecord(active, stopped), nullptr);
  std::vector<ServiceRecord> inactive;
  EXPECT_GT(services_.EnumerateServices(2, inactive), 0);
  EXPECT_EQ(FindRecord(inactive, running), nullptr);
  EXPECT_NE(FindRecord(inactive, stopped), nullptr);
}

TEST_F(ServiceContract, EnumerateServicesExCarriesTheProcessIds) {
  Text running = NewRunningService("listex_running");
  Text stopped = NewService("listex_stopped");

  std::vector<ServiceRecordEx> records(2);
  records[0].Name = "old";
  int32_t count = services_.EnumerateServicesEx(3, records);
  EXPECT_EQ(count, static_cast<int32_t>(records.size()));
  EXPECT_EQ(FindRecord(records, "old"), nullptr);

  const ServiceRecordEx* record = FindRecord(records, running);
  ASSERT_NE(record, nullptr);
  EXPECT_GT(record->ProcessId, 0);
  EXPECT_EQ(record->DisplayName, DisplayNameOf(running));
  EXPECT_EQ(record->BinaryPath, contract::TestServiceBinaryPath());
  EXPECT_EQ(record->StartTypeText, "手动");
  EXPECT_EQ(record->StateText, "正运行");
  EXPECT_EQ(record->AccountText, "本地系统");
  record = FindRecord(records, stopped);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->ProcessId, 0);
  EXPECT_EQ(record->StateText, "已停止");

  std::vector<ServiceRecordEx> active;
  EXPECT_GT(services_.EnumerateServicesEx(1, active), 0);
  EXPECT_NE(FindRecord(active, running), nullptr);
  EXPECT_EQ(FindRecord(active, stopped), nullptr);
}

TEST_F(ServiceContract, CountServicesCountsWhatTheListingsList) {
  NewRunningService("count_running");
  NewService("count_stopped");
  // Other programs in the same machine may add or remove services between
  // the calls: a few tries to see one consistent picture.
  int32_t listed = 0, activeListed = 0, all = 0, allGiven = 0, active = 0, inactive = 0;
  bool consistent = false;
  for (int attempt = 0; attempt < 3 && !consistent; ++attempt) {
    std::vector<ServiceRecord> allRecords;
    std::vector<ServiceRecordEx> activeRecords;
    listed = services_.EnumerateServices(3, allRecords);
    activeListed = services_.EnumerateServicesEx(1, activeRecords);
    all = services_.CountServices();
    allGiven = services_.CountServices(3);
    active = services_.CountServices(1);
    inactive = services_.CountServices(2);
    consistent = listed >= 2 && all == listed && allGiven == listed && active == activeListed && active >= 1 &&
                 active + inactive == listed;
  }
  EXPECT_TRUE(consistent) << "listed " << listed << ", active listed " << activeListed << ", counted " << all
                          << " / " << allGiven << ", active " << active << ", inactive " << inactive;
}

TEST_F(ServiceContract, AFailedListingLeavesTheArrayAlone) {
  NewService("listing_failure");
  std::vector<ServiceRecord> records(1, ServiceRecord{"kept", "", "", "", "", "", ""});
  std::vector<ServiceRecordEx> recordsEx(1);
  recordsEx[0].Name = "kept";
  EXPECT_EQ(services_.EnumerateServices(0, records), 0);
  EXPECT_EQ(scm::LastError(), scm::kErrorInvalidParameter);
  EXPECT_EQ(services_.EnumerateServicesEx(0, recordsEx), 0);
  EXPECT_EQ(scm::LastError(), scm::kErrorInvalidParameter);
  EXPECT_EQ(services_.CountServices(0), 0);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Name, "kept");
  ASSERT_EQ(recordsEx.size(), 1u);
  EXPECT_EQ(recordsEx[0].Name, "kept");
}

TEST_F(ServiceContract, FindServiceRecordMatchesTheExactKeyNameOnly) {
  Text running = NewRunningService("find_running");
  Text stopped = NewService("find_stopped");
  ASSERT_TRUE(services_.SetDescription(running, "找到我"));

  ServiceRecordEx record;
  services_.FindServiceRecord(running, 3, record);
  EXPECT_EQ(record.Name, running);
  EXPECT_EQ(record.DisplayName, DisplayNameOf(running));
  EXPECT_EQ(record.Description, "找到我");
  EXPECT_GT(record.ProcessId, 0);
  EXPECT_EQ(record.StateText, "正运行");
  EXPECT_EQ(record.StartTypeText, "手动");

  struct Case {
    const char* what;
    Text name;
    int32_t filter;
  };
  const Case misses[] = {
      {"other letter case", Lowered(running), 3},
      {"display name", DisplayNameOf(running), 3},
      {"stopped, active only", stopped, 1},
      {"running, inactive only", running, 2},
      {"empty name", "", 3},
  };
  for (const Case& c : misses) {
    SCOPED_TRACE(c.what);
    ServiceRecordEx untouched;
    untouched.Name = "untouched";
    untouched.ProcessId = 7;
    services_.FindServiceRecord(c.name, c.filter, untouched);
    EXPECT_EQ(untouched.Name, "untouched");
    EXPECT_EQ(untouched.ProcessId, 7);
  }
}

TEST_F(ServiceContract, AServiceWithoutDependentsListsNoneAndStopsNone) {
  Text name = NewRunningService("no_dependents");
  std::vector<ServiceRecord> records(2);
  EXPECT_EQ(services_.EnumerateDependents(name, records), 0);
  EXPECT_TRUE(records.empty());
  services_.StopDependents(name);
  EXPECT_EQ(services_.QueryState(name), 4);
}

// ---------------------------------------------------------------------------
// Labels and bad input

TEST_F(ServiceContract, StateNameLabelsTheSevenStates) {
  const char* labels[] = {"", "已停止", "启动期间", "停止期间", "正运行", "继续", "暂停期间", "已暂停", ""};
  for (int32_t state = 0; state <= 8; ++state) EXPECT_EQ(services_.StateName(state), labels[state]) << state;
  EXPECT_EQ(services_.StateName(-1), "");
}

TEST_F(ServiceContract, BadNamesGiveEveryFailureValue) {
  Text existing = NewService("bad_names");
  struct Case {
    const char* what;
    Text name;
    uint32_t openError;
  };
  const Case cases[] = {
      {"empty", "", kErrorInvalidAddress},
      {"backslash", "a\\b", scm::kErrorInvalidName},
      {"slash", "a/b", scm::kErrorInvalidName},
      {"300 characters", Text(300, 'n'), scm::kErrorServiceDoesNotExist},
      {"display name", DisplayNameOf(existing), scm::kErrorServiceDoesNotExist},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Text& name = c.name;
    EXPECT_FALSE(services_.Exists(name));
    EXPECT_EQ(scm::LastError(), c.openError);
    EXPECT_EQ(services_.QueryState(name), 0);
    EXPECT_EQ(services_.GetServiceType(name), 0);
    EXPECT_EQ(services_.GetDescription(name), "");
    EXPECT_FALSE(services_.SetDescription(name, "x"));
    EXPECT_EQ(services_.GetDisplayName(name), "");
    EXPECT_FALSE(services_.Delete(name));
    EXPECT_FALSE(services_.Start(name));
    EXPECT_FALSE(services_.Stop(name));
    EXPECT_FALSE(services_.Pause(name));
    EXPECT_FALSE(services_.Resume(name));
    EXPECT_FALSE(services_.Restart(name));
    EXPECT_FALSE(services_.SetStartType(name, 3));
    EXPECT_EQ(services_.GetStartTypeCode(name), 0);
    EXPECT_EQ(services_.GetBinaryPath(name), "");
    EXPECT_FALSE(services_.SetBinaryPath(name, contract::TestServiceBinaryPath()));
    EXPECT_EQ(services_.GetAccountName(name), "");
    std::vector<ServiceRecord> records(1);
    records[0].Name = "kept";
    EXPECT_EQ(services_.EnumerateDependents(name, records), 0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Name, "kept");
    services_.StopDependents(name);
  }
  EXPECT_EQ(services_.GetKeyName(""), "");
  EXPECT_EQ(scm::LastError(), kErrorInvalidAddress);
  EXPECT_EQ(services_.QueryState(existing), 1);  // the display-name row changed nothing
  EXPECT_EQ(services_.GetDisplayName(existing), DisplayNameOf(existing));
}

// ---------------------------------------------------------------------------
// What only the simulator can show: rights, refused access, dependents.

#if VEMTRA_CONTRACT_SIM

class SimOnlyRights : public ServiceContract {};

TEST_F(SimOnlyRights, WithoutRightsToTheManagerEveryOperationFails) {
  Text name = NewRunningService("no_rights");
  sim::SetRights(sim::Rights::None);
  EXPECT_EQ(services_.QueryState(name), 0);
  EXPECT_EQ(scm::LastError(), scm::kErrorAccessDenied);
  EXPECT_FALSE(services_.Exists(name));
  EXPECT_FALSE(services_.Stop(name));
  EXPECT_FALSE(services_.Create(contract::UniqueServiceName("new"), "新", contract::TestServiceBinaryPath()));
  EXPECT_EQ(services_.GetDisplayName(name), "");
  EXPECT_EQ(services_.CountServices(), 0);
  std::vector<ServiceRecord> records(1, ServiceRecord{"kept", "", "", "", "", "", ""});
  std::vector<ServiceRecordEx> recordsEx(1);
  recordsEx[0].Name = "kept";
  EXPECT_EQ(services_.EnumerateServices(3, records), 0);
  EXPECT_EQ(services_.EnumerateServicesEx(3, recordsEx), 0);
  EXPECT_EQ(records[0].Name, "kept");
  EXPECT_EQ(recordsEx[0].Name, "kept");
  sim::SetRights(sim::Rights::Administrator);
  EXPECT_EQ(services_.QueryState(name), 4);
}

TEST_F(SimOnlyRights, AnOrdinaryUserReadsButChangesNothing) {
  Text name = NewRunningService("user");
  ASSERT_TRUE(services_.SetDescription(name, "只读"));
  sim::SetRights(sim::Rights::User);

  EXPECT_EQ(services_.QueryState(name), 4);
  EXPECT_TRUE(services_.Exists(name));
  EXPECT_EQ(services_.GetDescription(name), "只读");
  EXPECT_EQ(services_.GetStartTypeCode(name), 3);
  EXPECT_FALSE(services_.Stop(name));
  EXPECT_EQ(scm::LastError(), scm::kErrorAccessDenied);
  EXPECT_FALSE(services_.Delete(name));
  EXPECT_FALSE(services_.SetDescription(name, "改"));
  EXPECT_FALSE(services_.SetStartType(name, 2));

  // The full-access listing needs an administrator; the other one works
  // but gets only the names of services that refuse full access.
  std::vector<ServiceRecord> records(1, ServiceRecord{"kept", "", "", "", "", "", ""});
  EXPECT_EQ(services_.EnumerateServices(3, records), 0);
  EXPECT_EQ(records[0].Name, "kept");
  std::vector<ServiceRecordEx> recordsEx;
  EXPECT_EQ(services_.EnumerateServicesEx(3, recordsEx), 1);
  ASSERT_EQ(recordsEx.size(), 1u);
  EXPECT_EQ(recordsEx[0].Name, name);
  EXPECT_EQ(recordsEx[0].DisplayName, DisplayNameOf(name));
  EXPECT_GT(recordsEx[0].ProcessId, 0);
  EXPECT_EQ(recordsEx[0].Description, "");
  EXPECT_EQ(recordsEx[0].StateText, "");
  EXPECT_EQ(recordsEx[0].BinaryPath, "");
  EXPECT_EQ(services_.CountServices(), 1);
  sim::SetRights(sim::Rights::Administrator);
}

TEST_F(SimOnlyRights, AServiceThatRefusesAnAccessFailsOnlyWhatNeedsIt) {
  Text refusesStop = NewRunningService("refuses_stop");
  Text refusesRead = NewRunningService("refuses_read");
  sim::RefuseServiceAccess(refusesStop, scm::kServiceStop);
  sim::RefuseServiceAccess(refusesRead, scm::kServiceQueryStatus);

  EXPECT_EQ(services_.QueryState(refusesStop), 4);
  EXPECT_FALSE(services_.Stop(refusesStop));
  EXPECT_EQ(scm::LastError(), scm::kErrorAccessDenied);
  EXPECT_FALSE(services_.Restart(refusesStop));
  EXPECT_EQ(services_.QueryState(refusesStop), 4);

  EXPECT_FALSE(services_.Exists(refusesRead));
  EXPECT_EQ(services_.QueryState(refusesRead), 0);
  EXPECT_TRUE(services_.Stop(refusesRead));  // the stop right alone is not refused

  std::vector<ServiceRecord> records;
  EXPECT_EQ(services_.EnumerateServices(3, records), 2);
  const ServiceRecord* record = FindRecord(records, refusesStop);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->DisplayName, DisplayNameOf(refusesStop));
  EXPECT_EQ(record->StateText, "");  // full access refused: names only
  EXPECT_EQ(record->BinaryPath, "");
}

class SimOnlyDependents : public ServiceContract {
 protected:
  Text NewDependent(const char* stem, const Text& dependency, const TestServiceOptions& options) {
    Text name = GuardedName(stem);
    EXPECT_TRUE(services_.Create(name, DisplayNameOf(name), contract::TestServiceBinaryPath(options), "", false,
                                 std::nullopt, std::nullopt, dependency));
    return name;
  }

  // Counts the dispatches that the library asks for.
  struct CountingPump : sim::EventPump {
    int dispatched = 0;
    void DispatchPending() override { ++dispatched; }
    void RunModalLoop(uint64_t milliseconds) override { sim::AdvanceClock(milliseconds); }
    bool InputWaiting() const override { return false; }
  };
};

TEST_F(SimOnlyDependents, DependentsAreListedAndStoppedBeforeTheirService) {
  Text base = NewRunningService("base");
  Text middle = NewDependent("middle", base, TestServiceOptions());
  Text top = NewDependent("top", middle, TestServiceOptions());
  ASSERT_TRUE(services_.Start(top));  // starts what it depends on first
  ASSERT_EQ(services_.QueryState(middle), 4);

  std::vector<ServiceRecord> records(5);
  ASSERT_EQ(services_.EnumerateDependents(base, records), 2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Name, top);
  EXPECT_EQ(records[1].Name, middle);
  EXPECT_EQ(records[1].DisplayName, DisplayNameOf(middle));
  EXPECT_EQ(records[1].StateText, "正运行");
  EXPECT_EQ(records[1].StartTypeText, "手动");

  EXPECT_FALSE(services_.Stop(base));
  EXPECT_EQ(scm::LastError(), scm::kErrorDependentServicesRunning);
  services_.StopDependents(base);
  EXPECT_EQ(services_.QueryState(top), 1);
  EXPECT_EQ(services_.QueryState(middle), 1);
  EXPECT_EQ(services_.QueryState(base), 4);
  EXPECT_TRUE(services_.Stop(base));
}

TEST_F(SimOnlyDependents, StopDependentsSpendsAtMost30SecondsThenStillStopsTheRest) {
  struct Case {
    uint32_t waitHint;
    uint64_t minElapsed;
    uint64_t maxElapsed;
    int minDispatches;
  };
  // A wait hint of 0 polls without sleeping, dispatching events after every
  // query, until the budget is spent; the second dependent then gets its
  // stop, one sleep of its wait hint and one query.
  const Case cases[] = {
      {0, 30001, 30100, 29000},
      {1000, 31000, 32100, 29},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.waitHint);
    contract::ResetPlatform();
    CountingPump pump;
    sim::SetEventPump(&pump);
    TestServiceOptions stuck;
    stuck.stopDelayMs = 1000000;
    stuck.waitHintMs = c.waitHint;
    Text base = NewRunningService("budget_base");
    Text first = NewDependent("budget_first", base, stuck);
    Text second = NewDependent("budget_second", base, stuck);
    ASSERT_TRUE(services_.Start(first));
    ASSERT_TRUE(services_.Start(second));
    sim::SetCallCost(1);

    uint64_t startedAt = sim::Now();
    services_.StopDependents(base);
    uint64_t elapsed = sim::Now() - startedAt;
    EXPECT_GE(elapsed, c.minElapsed);
    EXPECT_LE(elapsed, c.maxElapsed);
    EXPECT_EQ(services_.QueryState(first), 3);
    EXPECT_EQ(services_.QueryState(second), 3);
    EXPECT_GE(pump.dispatched, c.minDispatches);
    sim::SetCallCost(0);
    sim::SetEventPump(nullptr);
  }
}

TEST_F(SimOnlyDependents, CreateRecordsTheDependencyList) {
  Text first = NewService("list_first");
  Text second = NewService("list_second");
  Text name = NewDependent("list_dependent", first + '\0' + second + '\0', TestServiceOptions());
  for (const Text& dependency : {first, second}) {
    std::vector<ServiceRecord> records;
    ASSERT_EQ(services_.EnumerateDependents(dependency, records), 1);
    EXPECT_EQ(records[0].Name, name);
  }
  std::optional<sim::ServiceSnapshot> snapshot = sim::FindService(name);
  ASSERT_TRUE(snapshot);
  EXPECT_EQ(snapshot->dependencies, (std::vector<Text>{first, second}));
}

#endif  // VEMTRA_CONTRACT_SIM

}  // namespace
