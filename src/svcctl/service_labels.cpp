#include "svcctl/service_labels.h"

#include <array>

#include "svcctl/scm.h"

Text StateLabel(int32_t state) {
  static constexpr std::array<const char*, 7> kLabels = {
      "已停止", "启动期间", "停止期间", "正运行", "继续", "暂停期间", "已暂停"};
  if (state < 1 || state > 7) return Text();
  return kLabels[state - 1];
}

int32_t StartTypeCode(uint32_t startType, uint32_t serviceType) {
  if (startType == scm::kAutoStart && serviceType == scm::kShareProcess) return 1;
  if (startType == scm::kAutoStart && serviceType == scm::kOwnProcess) return 2;
  if (startType == scm::kDemandStart) return 3;
  if (startType == scm::kDisabled) return 4;
  return -1;
}

Text StartTypeLabel(int32_t code) {
  switch (code) {
    case 1: return "自动";
    case 2: return "自动(延迟启动)";
    case 3: return "手动";
    case 4: return "禁用";
    default: return Text();
  }
}

Text AccountLabel(const Text& accountName, const Text& otherwise) {
  struct Word { const char* search; const char* label; };
  static constexpr std::array<Word, 3> kWords = {{
      {"localservice", "本地服务"},
      {"Networkservice", "网络服务"},
      {"localsystem", "本地系统"},
  }};
  Text upper = ToUpper(accountName);
  for (const Word& word : kWords) {
    if (FindText(upper, ToUpper(word.search)) != -1) return word.label;
  }
  return otherwise;
}
