// Creates or removes the benchmark's services: "VemtraBench000" onwards,
// on demand, never started, each with a display name and a description.
//   bench_services.exe create COUNT BINARY_PATH
//   bench_services.exe delete COUNT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "svcctl/service_controller.h"

namespace {

std::string Name(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "VemtraBench%03d", i);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  const int count = argc > 2 ? std::atoi(argv[2]) : 0;
  ServiceController services;
  int failed = 0;
  if (command == "create" && argc == 4) {
    for (int i = 0; i < count; ++i) {
      std::string name = Name(i);
      if (!services.Create(name, "基准服务 " + name, argv[3], "基准测试用的服务 " + name)) ++failed;
    }
  } else if (command == "delete" && argc == 3) {
    for (int i = 0; i < count; ++i) {
      if (services.Exists(Name(i)) && !services.Delete(Name(i))) ++failed;
    }
  } else {
    std::fprintf(stderr, "usage: bench_services.exe create COUNT BINARY_PATH | delete COUNT\n");
    return 2;
  }
  if (failed) std::fprintf(stderr, "bench_services: %d of %d failed\n", failed, count);
  return failed ? 1 : 0;
}
