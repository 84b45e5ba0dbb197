// The label tables of the service library.
#include <gtest/gtest.h>

#include "svcctl/service_controller.h"
#include "svcctl/service_labels.h"

namespace {

TEST(StateLabels, OneLabelPerStateAndNoneOutside) {
  const std::pair<int32_t, const char*> cases[] = {
      {1, "已停止"}, {2, "启动期间"}, {3, "停止期间"}, {4, "正运行"}, {5, "继续"},
      {6, "暂停期间"}, {7, "已暂停"}, {0, ""}, {8, ""}, {-1, ""}, {2147483647, ""},
  };
  ServiceController services;
  for (const auto& [state, label] : cases) {
    EXPECT_EQ(StateLabel(state), label) << state;
    EXPECT_EQ(services.StateName(state), label) << state;
  }
}

TEST(StartTypes, FirstMatchingRowDecides) {
  struct Case {
    uint32_t startType, serviceType;
    int32_t code;
    const char* label;
  };
  const Case cases[] = {
      {2, 32, 1, "自动"},
      {2, 16, 2, "自动(延迟启动)"},
      {2, 272, -1, ""},  // own process and interactive
      {2, 288, -1, ""},
      {3, 16, 3, "手动"},
      {3, 288, 3, "手动"},
      {4, 32, 4, "禁用"},
      {0, 1, -1, ""},
      {1, 2, -1, ""},
      {5, 16, -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StartTypeCode(c.startType, c.serviceType), c.code) << c.startType << "/" << c.serviceType;
    EXPECT_EQ(StartTypeLabel(c.code), c.label) << c.code;
  }
  EXPECT_EQ(StartTypeLabel(0), "");
}

TEST(AccountLabels, SearchWordsAnywhereInTheName) {
  struct Case {
    const char* account;
    const char* label;  // with the empty text as the fallback
  };
  const Case cases[] = {
      {"LocalSystem", "本地系统"},
      {"localsystem", "本地系统"},
      {"NT AUTHORITY\\LocalService", "本地服务"},
      {"NT AUTHORITY\\NetworkService", "网络服务"},
      {".\\builder", ""},
      {"DOMAIN\\someone", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AccountLabel(c.account, Text()), c.label) << c.account;
    Text fallback = *c.label ? Text(c.label) : ToUpper(c.account);
    EXPECT_EQ(AccountLabel(c.account, ToUpper(c.account)), fallback) << c.account;
  }
}

}  // namespace
