// One QueryState of the library against one bare open-query-close of the
// same service (manager and service opened for reading, QueryServiceStatus,
// both closed), measured in alternating rounds in one process.
//   query_bench.exe SERVICE_NAME CALLS_PER_ROUND ROUNDS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "svcctl/service_controller.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

DWORD BareQueryState(const char* name) {
  SERVICE_STATUS status{};
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, GENERIC_READ);
  if (!manager) return 0;
  SC_HANDLE service = OpenServiceA(manager, name, GENERIC_READ);
  if (service) {
    if (!QueryServiceStatus(service, &status)) status.dwCurrentState = 0;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return status.dwCurrentState;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: query_bench.exe SERVICE_NAME CALLS_PER_ROUND ROUNDS\n");
    return 2;
  }
  const char* name = argv[1];
  const int calls = std::max(1, std::atoi(argv[2]));
  const int rounds = std::max(1, std::atoi(argv[3]));
  ServiceController services;
  if (services.QueryState(name) == 0 || BareQueryState(name) == 0) {
    std::fprintf(stderr, "query_bench: cannot read the state of %s\n", name);
    return 1;
  }
  std::vector<double> library;
  std::vector<double> bare;
  for (int round = 0; round < rounds; ++round) {
    double start = Now();
    for (int i = 0; i < calls; ++i) services.QueryState(name);
    library.push_back((Now() - start) / calls);
    start = Now();
    for (int i = 0; i < calls; ++i) BareQueryState(name);
    bare.push_back((Now() - start) / calls);
  }
  const double libraryMs = Median(library);
  const double bareMs = Median(bare);
  std::printf("QueryState %.3f ms, bare open-query-close %.3f ms per call: ratio %.2f\n", libraryMs, bareMs,
              libraryMs / bareMs);
  return 0;
}
