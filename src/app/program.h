// Start and end of the program.
#pragma once

// Creates the service controller, shows the main window and runs its message
// loop; returns 0 once the window has closed.
int ProgramStart();

// Runs once when the program ends: drops the service controller and the texts.
void OnProgramExit();
