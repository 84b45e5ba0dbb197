// The end-to-end scenarios' entry point:
//   vemtra_e2e_tests VEMTRA-AUTOSTART-EXE BUNDLE-PROGRAM-DIR URL-RECORDER-EXE [gtest options]
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e_env.h"
#include "program_launch.h"
#include "window_session.h"

namespace e2e {

namespace {
Environment g_environment;
}

const Environment& Env() { return g_environment; }

}  // namespace e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s VEMTRA-AUTOSTART-EXE BUNDLE-PROGRAM-DIR URL-RECORDER-EXE [gtest options]\n",
                 argv[0]);
    return 2;
  }
  window_test::g_programPath = uidriver::WindowsPathOf(argv[1]);
  e2e::g_environment.bundleProgramDir = uidriver::WindowsPathOf(argv[2]);
  e2e::g_environment.urlRecorder = uidriver::WindowsPathOf(argv[3]);
  return RUN_ALL_TESTS();
}
