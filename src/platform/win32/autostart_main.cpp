// Entry point of vemtra-autostart.exe.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/dll_search.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  win32::LoadDllsFromSystemDirectoryOnly();
  return ProgramStart();
}
