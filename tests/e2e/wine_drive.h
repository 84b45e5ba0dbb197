// A Wine drive letter mapped to a folder for a scenario, the way winecfg
// maps one (the mount manager's Unix-drive request), and taken away again.
// Wine-only: the request and wine_get_unix_file_name exist only there.
#pragma once

#include <string>

namespace e2e {

class WineDriveMapping {
 public:
  // Maps `letter` to the existing folder `windowsFolder`. A drive of that
  // letter must not exist yet.
  WineDriveMapping(char letter, const std::string& windowsFolder);
  ~WineDriveMapping();
  WineDriveMapping(const WineDriveMapping&) = delete;
  WineDriveMapping& operator=(const WineDriveMapping&) = delete;

  bool Ok() const { return ok_; }
  const std::string& Error() const { return error_; }

 private:
  char letter_;
  bool ok_ = false;
  std::string error_;
};

// Takes a drive letter away (nothing when it is not mapped).
bool UnmapWineDrive(char letter);

}  // namespace e2e
