#include "desktop_scope.h"

namespace uidriver {

DesktopScope::DesktopScope(const std::string& name, DWORD timeoutMs) : previous_(GetThreadDesktop(GetCurrentThreadId())) {
  const DWORD start = GetTickCount();
  for (;;) {
    desktop_ = OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL);
    if (desktop_ || GetTickCount() - start >= timeoutMs) break;
    Sleep(50);
  }
  entered_ = desktop_ && SetThreadDesktop(desktop_);
}

DesktopScope::~DesktopScope() {
  if (entered_) SetThreadDesktop(previous_);
  if (desktop_) CloseDesktop(desktop_);
}

}  // namespace uidriver
