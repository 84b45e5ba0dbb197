// The system facilities on the simulated platform.
#include "platform/sim/sim_system.h"

#include <algorithm>
#include <deque>
#include <filesystem>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "support/system.h"

namespace sim {

namespace {

struct RegisteredProgram {
  Text path;
  FakeProgram run;
  uint64_t runMilliseconds;
};

struct ScriptedAnswer {
  int answer;
  uint64_t openMilliseconds;
};

struct ScriptedChoice {
  Text path;
  uint64_t openMilliseconds;
};

struct SystemState {
  std::vector<RegisteredProgram> programs;
  std::vector<ProgramRun> runs;
  std::vector<Text> commandLinesTried;
  std::deque<ScriptedAnswer> answers;
  std::vector<MessageShown> messages;
  std::deque<ScriptedChoice> choices;
  std::vector<Text> folderPrompts;
  std::vector<Text> urls;
};

SystemState& System() {
  static SystemState state;
  return state;
}

const RegisteredProgram* FindProgram(const Text& program) {
  for (const Text& candidate : {program, program + ".exe"}) {
    for (const RegisteredProgram& registered : System().programs) {
      if (SamePath(registered.path, candidate)) return &registered;
    }
  }
  return nullptr;
}

// Time that a modal loop stays open, with events going on when a window is there.
void KeepModalLoopOpen(uint64_t milliseconds) {
  if (EventPump* pump = CurrentEventPump()) {
    pump->RunModalLoop(milliseconds);
  } else {
    AdvanceClock(milliseconds);
  }
}

}  // namespace

void RegisterProgram(const Text& windowsPath, FakeProgram program, uint64_t runMilliseconds) {
  System().programs.push_back({windowsPath, std::move(program), runMilliseconds});
}

const std::vector<ProgramRun>& ProgramRuns() { return System().runs; }
const std::vector<Text>& CommandLinesTried() { return System().commandLinesTried; }

void QueueMessageAnswer(int answer, uint64_t openMilliseconds) {
  System().answers.push_back({answer, openMilliseconds});
}
const std::vector<MessageShown>& MessagesShown() { return System().messages; }

void QueueFolderChoice(const Text& path, uint64_t openMilliseconds) {
  System().choices.push_back({path, openMilliseconds});
}
const std::vector<Text>& FolderPrompts() { return System().folderPrompts; }

const std::vector<Text>& OpenedUrls() { return System().urls; }

Text ProgramOfCommandLine(const Text& commandLine) {
  size_t start = commandLine.find_first_not_of(" \t");
  if (start == Text::npos) return Text();
  if (commandLine[start] == '"') {
    size_t close = commandLine.find('"', start + 1);
    return commandLine.substr(start + 1, close == Text::npos ? Text::npos : close - start - 1);
  }
  size_t end = commandLine.find_first_of(" \t", start);
  return commandLine.substr(start, end == Text::npos ? Text::npos : end - start);
}

void ResetSystem() {
  System() = SystemState();
  UnmapAllDrives();
  SetNow(1'000'000);
}

}  // namespace sim

bool IsDirectory(const Text& path) {
  std::optional<std::filesystem::path> host = sim::FindHostPath(path);
  std::error_code ec;
  return host && std::filesystem::is_directory(*host, ec);
}

bool RunProgram(const Text& commandLine, bool wait, int showMode) {
  sim::System().commandLinesTried.push_back(commandLine);
  const sim::RegisteredProgram* program = sim::FindProgram(sim::ProgramOfCommandLine(commandLine));
  if (!program) return false;
  sim::System().runs.push_back({commandLine, wait, std::clamp(showMode, 1, 6)});
  program->run(commandLine);
  if (wait) sim::AdvanceClock(program->runMilliseconds);
  return true;
}

int ShowMessage(const Text& message, int buttons, const Text& title) {
  sim::SystemState& system = sim::System();
  system.messages.push_back({message, buttons, title.empty() ? Text("信息：") : title});
  sim::ScriptedAnswer answer{buttons == kButtonsOk ? kAnswerOk : kAnswerCancel, 0};
  if (!system.answers.empty()) {
    answer = system.answers.front();
    system.answers.pop_front();
  }
  sim::KeepModalLoopOpen(answer.openMilliseconds);
  return answer.answer;
}

Text BrowseForFolder(const Text& prompt, bool /*includeFiles*/) {
  sim::SystemState& system = sim::System();
  system.folderPrompts.push_back(prompt);
  sim::ScriptedChoice choice{Text(), 0};
  if (!system.choices.empty()) {
    choice = system.choices.front();
    system.choices.pop_front();
  }
  sim::KeepModalLoopOpen(choice.openMilliseconds);
  return choice.path;
}

void OpenUrl(const Text& address) { sim::System().urls.push_back(address); }

void ProcessEvents() {
  if (sim::EventPump* pump = sim::CurrentEventPump()) pump->DispatchPending();
}

bool IsInputWaiting() {
  sim::EventPump* pump = sim::CurrentEventPump();
  return pump && pump->InputWaiting();
}

uint32_t GetUptime() { return static_cast<uint32_t>(sim::Now()); }

void SleepFor(int32_t milliseconds) { sim::AdvanceClock(static_cast<uint64_t>(std::max(milliseconds, 0))); }
