#include "app/program_state.h"

namespace {
ProgramState g_state;
}

ProgramState& State() { return g_state; }

void ResetProgramState() { g_state = ProgramState(); }
