// Ownership of a kernel object handle (process, thread, event, file, ...):
// closed exactly once, when its owner goes away.
#pragma once

#include <windows.h>

namespace win32 {

class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  KernelHandle(KernelHandle&& other) noexcept : handle_(other.Release()) {}
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  ~KernelHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  // Both null and INVALID_HANDLE_VALUE mean "no object", depending on the call that gave it.
  bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void Reset(HANDLE handle = nullptr) {
    if (IsValid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace win32
