// Starting a Windows program for a test inside a Wine virtual desktop of its
// own (`explorer /desktop=NAME,WxH program`): windows there get a title bar,
// and closing one takes milliseconds instead of seconds.
#pragma once

#include <string>

#include "platform/win32/kernel_handle.h"

namespace uidriver {

// A Windows path for a host path ("/x/y.exe" becomes "Z:\x\y.exe"); a
// Windows path is returned as it is.
std::string WindowsPathOf(const std::string& path);

class VirtualDesktopProgram {
 public:
  // Starts `program` (a host or Windows path) with `arguments` in the
  // virtual desktop `desktop` of the given size.
  VirtualDesktopProgram(const std::string& desktop, const std::string& program, const std::string& arguments = "",
                        int width = 800, int height = 600);
  // Waits a few seconds for the desktop to end after its last window has
  // closed, and ends it when it does not.
  ~VirtualDesktopProgram();
  VirtualDesktopProgram(const VirtualDesktopProgram&) = delete;
  VirtualDesktopProgram& operator=(const VirtualDesktopProgram&) = delete;

  bool Started() const { return desktopProcess_.IsValid(); }
  const std::string& Desktop() const { return desktop_; }

 private:
  std::string desktop_;
  win32::KernelHandle desktopProcess_;
};

}  // namespace uidriver
