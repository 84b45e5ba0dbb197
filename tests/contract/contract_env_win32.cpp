// The contract's platform on Windows (under Wine): the real service manager
// and the test service program, which is built next to this test program.
#include <windows.h>

#include <string>

#include "contract_env.h"

namespace contract {

namespace {

Text OwnDirectory() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  Text own(path, length);
  return own.substr(0, own.find_last_of('\\') + 1);
}

int g_serviceCount = 0;

}  // namespace

void ResetPlatform() {}

Text TestServiceBinaryPath(const TestServiceOptions& options) {
  return TestServiceCommandLine(OwnDirectory() + "vemtra-testsvc.exe", options);
}

Text UniqueServiceName(const char* stem) {
  return "VemtraCt" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++g_serviceCount) + "_" + stem;
}

void LetTimePass(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace contract
