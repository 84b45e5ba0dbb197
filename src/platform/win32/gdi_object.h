// Ownership of a GDI object the program made (a brush, a font, ...):
// deleted exactly once, when its owner goes away. Stock objects from
// GetStockObject belong to the system and need no owner.
#pragma once

#include <windows.h>

namespace win32 {

template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }

 private:
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

  Handle handle_ = nullptr;
};

}  // namespace win32
