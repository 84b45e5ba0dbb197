// Entry point of vemtra-autostart.exe.
#include <windows.h>

#include "app/program.h"

namespace {

// DLLs are loaded from the system directory only, never from the program's
// or the current directory. Looked up at run time: a Windows 7 without the
// update that brought the call still starts the program.
void LoadDllsFromSystemDirectoryOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LoadDllsFromSystemDirectoryOnly();
  return ProgramStart();
}
