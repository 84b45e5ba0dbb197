// What tests control and observe of the simulated system facilities:
// fake programs for RunProgram, scripted answers for the message box and the
// folder chooser, and the addresses handed to OpenUrl.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "support/text.h"

namespace sim {

// A fake program: receives its whole command line when it runs.
using FakeProgram = std::function<void(const Text& commandLine)>;

// Registers a program at a Windows path; running it takes `runMilliseconds`
// of virtual time (the waiting caller handles no event meanwhile).
void RegisterProgram(const Text& windowsPath, FakeProgram program, uint64_t runMilliseconds = 0);

struct ProgramRun {
  Text commandLine;
  bool wait;
  int showMode;
};
// Every command line that started a program, in order.
const std::vector<ProgramRun>& ProgramRuns();
// Every command line given to RunProgram, started or not.
const std::vector<Text>& CommandLinesTried();

// The next message box is answered with `answer` after staying open for
// `openMilliseconds`, during which its modal loop dispatches events. An
// unscripted box is closed at once, which counts as Cancel.
void QueueMessageAnswer(int answer, uint64_t openMilliseconds = 0);
struct MessageShown {
  Text message;
  int buttons;
  Text title;
};
const std::vector<MessageShown>& MessagesShown();

// The next folder chooser gives `path` (empty: cancelled) after staying open
// for `openMilliseconds`. An unscripted chooser is cancelled at once.
void QueueFolderChoice(const Text& path, uint64_t openMilliseconds = 0);
const std::vector<Text>& FolderPrompts();

const std::vector<Text>& OpenedUrls();

// The program token of a command line, as the platform splits it: the text
// inside leading quotes, else everything up to the first blank.
Text ProgramOfCommandLine(const Text& commandLine);

// Forgets programs, scripts and records, unmaps the drives and resets the clock.
void ResetSystem();

}  // namespace sim
