#include "app/program.h"

#include "app/main_window.h"
#include "app/program_state.h"
#include "ui/window_host.h"

namespace {

// Runs OnProgramExit when the program's run ends, after the window is gone.
class ExitHook {
 public:
  ExitHook() = default;
  ExitHook(const ExitHook&) = delete;
  ExitHook& operator=(const ExitHook&) = delete;
  ~ExitHook() { OnProgramExit(); }
};

}  // namespace

int ProgramStart() {
  ui::InitWindowing();
  State().Services = std::make_unique<ServiceController>();
  ExitHook exitHook;
  ui::ControlModel window(MainWindowTemplate());
  AttachMainWindow(&window);
  ui::RunWindow(window);
  AttachMainWindow(nullptr);
  return 0;
}

void OnProgramExit() {
  ProgramState& state = State();
  state.Services.reset();
  for (Text* field : {&state.ApacheServiceName, &state.MySqlDir, &state.BundleRoot, &state.LayoutSubdir,
                      &state.LayoutGeneration, &state.ApacheDir, &state.ApacheVersion, &state.MySqlVersion}) {
    Text().swap(*field);
  }
}
