// Runs the calling thread on a named desktop (a Wine virtual desktop started
// with `explorer /desktop=NAME,WxH`) while the scope lives, so that window
// searches see that desktop's windows. The thread must own no window yet.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

class DesktopScope {
 public:
  // Waits up to `timeoutMs` for the desktop to exist.
  DesktopScope(const std::string& name, DWORD timeoutMs);
  ~DesktopScope();
  DesktopScope(const DesktopScope&) = delete;
  DesktopScope& operator=(const DesktopScope&) = delete;

  bool Entered() const { return entered_; }

 private:
  HDESK desktop_ = nullptr;
  HDESK previous_ = nullptr;
  bool entered_ = false;
};

}  // namespace uidriver
