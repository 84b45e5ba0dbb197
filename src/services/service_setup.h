// Registering and starting the two services with the servers' own
// installers, and stopping and removing them after a confirmation.
#pragma once

#include "support/text.h"

void OnAutoStartClicked();
void OnUninstallClicked();

// The command line that runs an installer inside `directory`: the program's
// full path quoted as the first token, then the arguments as given.
Text InstallerCommandLine(const Text& directory, const char* program, const char* arguments);
