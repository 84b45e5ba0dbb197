#include "wine_drive.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

#include "platform/win32/kernel_handle.h"

namespace e2e {

namespace {

// Wine's mount manager extension (include/ddk/mountmgr.h of Wine 8).
constexpr ULONG kMountManagerType = 'm';
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(kMountManagerType, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct MountManagerUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

// The Unix path of a Windows path, or empty.
std::string UnixPathOf(const std::string& windowsPath) {
  using UnixFileNameFn = char*(CDECL*)(LPCWSTR);
  auto unixFileName = reinterpret_cast<UnixFileNameFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixFileName) return {};
  std::wstring wide(MAX_PATH, L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()))));
  char* unixPath = unixFileName(wide.c_str());
  if (!unixPath) return {};
  std::string result = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

// Defines the drive (a Unix path) or, with an empty path, takes it away.
bool DefineUnixDrive(char letter, const std::string& unixPath, DWORD driveType) {
  std::vector<char> request(sizeof(MountManagerUnixDrive) + unixPath.size() + 1, '\0');
  MountManagerUnixDrive header{};
  header.size = static_cast<ULONG>(request.size());
  header.type = driveType;
  header.letter = static_cast<WCHAR>(letter);
  if (!unixPath.empty()) {
    header.mountPointOffset = sizeof(MountManagerUnixDrive);
    std::memcpy(request.data() + header.mountPointOffset, unixPath.c_str(), unixPath.size() + 1);
  }
  std::memcpy(request.data(), &header, sizeof header);
  win32::KernelHandle manager(CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD returned = 0;
  return manager.IsValid() && DeviceIoControl(manager.Get(), kDefineUnixDrive, request.data(),
                                              static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
}

std::string RootOf(char letter) { return std::string(1, letter) + ":\\"; }

}  // namespace

WineDriveMapping::WineDriveMapping(char letter, const std::string& windowsFolder) : letter_(letter) {
  if (GetDriveTypeA(RootOf(letter).c_str()) != DRIVE_NO_ROOT_DIR) {
    error_ = "the drive " + RootOf(letter) + " exists already";
    return;
  }
  const std::string unixPath = UnixPathOf(windowsFolder);
  if (unixPath.empty()) {
    error_ = "no Unix path for " + windowsFolder + " (not running under Wine?)";
    return;
  }
  if (!DefineUnixDrive(letter, unixPath, DRIVE_FIXED)) {
    error_ = "the mount manager refused " + RootOf(letter) + " -> " + unixPath + " (error " +
             std::to_string(GetLastError()) + ")";
    return;
  }
  ok_ = GetDriveTypeA(RootOf(letter).c_str()) == DRIVE_FIXED;
  if (!ok_) error_ = "the drive " + RootOf(letter) + " did not appear";
}

WineDriveMapping::~WineDriveMapping() {
  if (ok_) UnmapWineDrive(letter_);
}

bool UnmapWineDrive(char letter) {
  if (GetDriveTypeA(RootOf(letter).c_str()) == DRIVE_NO_ROOT_DIR) return true;
  return DefineUnixDrive(letter, "", DRIVE_NO_ROOT_DIR) &&
         GetDriveTypeA(RootOf(letter).c_str()) == DRIVE_NO_ROOT_DIR;
}

}  // namespace e2e
