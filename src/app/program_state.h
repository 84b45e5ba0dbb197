// The state that the main window's handlers share for the whole run.
#pragma once

#include <cstdint>
#include <memory>

#include "support/text.h"
#include "svcctl/service_controller.h"

struct ProgramState {
  std::unique_ptr<ServiceController> Services;
  Text ApacheServiceName;
  Text MySqlDir;
  int32_t MySqlPrevIndex = 0;
  Text BundleRoot;
  Text LayoutSubdir;
  Text LayoutGeneration;
  Text ApacheDir;
  Text ApacheVersion;
  Text MySqlVersion;
};

// The one instance; its fields hold their initial values until the window loads.
ProgramState& State();

// Back to the initial values, dropping the service controller (for tests).
void ResetProgramState();
