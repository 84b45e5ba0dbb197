// What the list benchmarks print: the table of `vemtra-svc list --all`,
// written the way vemtra-svc writes it (one WriteFile per line), so that
// every program's output can be compared with the command line's.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

struct ListedService {
  std::string name;
  std::string displayName;
  std::string description;
  std::string binaryPath;
  std::string startTypeText;
  std::string stateText;
  std::string accountText;
};

inline void WriteLine(HANDLE out, const std::string& line) {
  DWORD written = 0;
  WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

inline void PrintList(const std::vector<ListedService>& services) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  std::vector<std::vector<std::string>> rows = {{"服务名", "状态", "启动类型", "登录账户", "显示名称"}};
  for (const ListedService& s : services) rows.push_back({s.name, s.stateText, s.startTypeText, s.accountText, s.displayName});
  std::vector<size_t> widths(5, 0);
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  for (const auto& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
    }
    WriteLine(out, line + '\n');
  }
  WriteLine(out, "共 " + std::to_string(services.size()) + " 个服务\n");
}

}  // namespace bench
