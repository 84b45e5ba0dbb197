// Text conversions for the driver: controls are read with the wide calls
// (they cross process boundaries intact) and compared as the program's ANSI
// bytes; the command line prints UTF-8 for the host's terminal.
#pragma once

#include <string>

namespace uidriver {

std::string WideToAnsi(const std::wstring& text);
std::string AnsiToUtf8(const std::string& text);

}  // namespace uidriver
