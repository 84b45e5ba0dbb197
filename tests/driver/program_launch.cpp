#include "program_launch.h"

#include <windows.h>

#include <vector>

namespace uidriver {

namespace {

// The desktop ends 1 to 4 s after its last window closes.
constexpr DWORD kDesktopEndTimeoutMs = 8000;

}  // namespace

std::string WindowsPathOf(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windowsPath = "Z:" + path;
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  return windowsPath;
}

VirtualDesktopProgram::VirtualDesktopProgram(const std::string& desktop, const std::string& program,
                                             const std::string& arguments, int width, int height)
    : desktop_(desktop) {
  std::string commandLine = "explorer.exe /desktop=" + desktop + "," + std::to_string(width) + "x" +
                            std::to_string(height) + " \"" + WindowsPathOf(program) + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    desktopProcess_.Reset(process.hProcess);
  }
}

VirtualDesktopProgram::~VirtualDesktopProgram() {
  if (!desktopProcess_.IsValid()) return;
  if (WaitForSingleObject(desktopProcess_.Get(), kDesktopEndTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(desktopProcess_.Get(), 1);
    WaitForSingleObject(desktopProcess_.Get(), kDesktopEndTimeoutMs);
  }
}

}  // namespace uidriver
