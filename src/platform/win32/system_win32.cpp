// The system facilities on the real Windows calls (ANSI entry points).
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/win32/kernel_handle.h"
#include "support/system.h"

namespace {

// ShowWindow commands for the show modes 1 to 6.
constexpr WORD kShowCommands[] = {
    SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE,
};
static_assert(std::size(kShowCommands) == kShowMinNoActive - kShowHidden + 1);

WORD ShowCommandOf(int showMode) {
  return kShowCommands[std::clamp(showMode, int{kShowHidden}, int{kShowMinNoActive}) - kShowHidden];
}

constexpr char kDefaultMessageTitle[] = "信息：";

// Every top-level window of the calling thread disabled for the owner's
// lifetime; each gets its former enabled state back afterwards.
class DisabledThreadWindows {
 public:
  DisabledThreadWindows() {
    EnumThreadWindows(GetCurrentThreadId(), &DisabledThreadWindows::Disable,
                      reinterpret_cast<LPARAM>(&windows_));
  }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;
  ~DisabledThreadWindows() {
    for (const Window& window : windows_) {
      if (IsWindow(window.handle)) EnableWindow(window.handle, window.wasEnabled);
    }
  }

 private:
  struct Window {
    HWND handle;
    BOOL wasEnabled;
  };

  static BOOL CALLBACK Disable(HWND handle, LPARAM windows) {
    reinterpret_cast<std::vector<Window>*>(windows)->push_back({handle, IsWindowEnabled(handle)});
    EnableWindow(handle, FALSE);
    return TRUE;
  }

  std::vector<Window> windows_;
};

// COM in a single-threaded apartment, as the folder chooser needs it.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }

 private:
  bool initialised_;
};

// The folder chooser's result; empty for a cancel or an item that is not in the file system.
Text PathOfChoice(PIDLIST_ABSOLUTE chosen) {
  if (!chosen) return Text();
  char path[MAX_PATH] = {};
  bool hasPath = SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);
  return hasPath ? Text(path) : Text();
}

}  // namespace

bool IsDirectory(const Text& path) {
  return !path.empty() && PathIsDirectoryA(path.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

bool RunProgram(const Text& commandLine, bool wait, int showMode) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ShowCommandOf(showMode);
  std::vector<char> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back('\0');
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return false;
  }
  win32::KernelHandle process(started.hProcess);
  win32::KernelHandle thread(started.hThread);
  if (wait) {
    WaitForSingleObject(process.Get(), INFINITE);
  } else {
    WaitForInputIdle(process.Get(), 1000);
  }
  return true;
}

int ShowMessage(const Text& message, int buttons, const Text& title) {
  UINT style = static_cast<UINT>(buttons);
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  int pressed = MessageBoxA(nullptr, message.c_str(), title.empty() ? kDefaultMessageTitle : title.c_str(), style);
  // A box with only OK has no Cancel: closing it counts as OK.
  if ((style & MB_TYPEMASK) == MB_OK && pressed == IDCANCEL) pressed = IDOK;
  if (pressed < IDOK || pressed > IDNO) return kAnswerCancel;  // the box could not be shown
  return pressed - IDOK;
}

Text BrowseForFolder(const Text& prompt, bool includeFiles) {
  HWND active = GetActiveWindow();
  HWND foreground = GetForegroundWindow();
  ComApartment com;
  char displayName[MAX_PATH] = {};
  BROWSEINFOA browse = {};
  browse.hwndOwner = active;
  browse.pidlRoot = nullptr;  // the desktop
  browse.pszDisplayName = displayName;
  browse.lpszTitle = prompt.c_str();
  browse.ulFlags = BIF_EDITBOX | (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);
  PIDLIST_ABSOLUTE chosen;
  {
    DisabledThreadWindows disabled;
    chosen = SHBrowseForFolderA(&browse);
  }
  if (active && IsWindow(active)) SetActiveWindow(active);
  if (foreground && IsWindow(foreground)) SetForegroundWindow(foreground);
  return PathOfChoice(chosen);
}

void OpenUrl(const Text& address) {
  ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ProcessEvents() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // left for the message loop
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool IsInputWaiting() { return GetInputState() != FALSE; }

uint32_t GetUptime() { return GetTickCount(); }

void SleepFor(int32_t milliseconds) { Sleep(static_cast<DWORD>(std::max(milliseconds, int32_t{0}))); }
