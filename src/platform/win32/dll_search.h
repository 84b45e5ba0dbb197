// Where the programs load DLLs from.
#pragma once

namespace win32 {

// DLLs are loaded from the system directory only, never from the program's
// or the current directory. Called first thing in every program.
void LoadDllsFromSystemDirectoryOnly();

}  // namespace win32
