// Helpers for the Windows tests of the system facilities: a scratch folder,
// plain top-level windows, a second thread that answers a modal dialog, and
// a registry value that is put back afterwards.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace wine_test {

// The folder that holds this test program and the fixtures built with it.
std::string ProgramFolder();

// A new folder under the temporary folder, removed with all it holds.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void CreateEmptyFile(const std::string& path);
bool FileExists(const std::string& path);
// The whole file, or nothing when it does not exist (yet).
std::optional<std::string> ReadWholeFile(const std::string& path);
// Polls for the file for up to `seconds`.
std::optional<std::string> WaitForFile(const std::string& path, int seconds = 30);
std::vector<std::string> Lines(const std::string& text);

// A visible top-level window of the calling thread, destroyed with its owner.
class TestWindow {
 public:
  explicit TestWindow(const char* title, WNDPROC procedure = DefWindowProcA);
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow();
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

// The visible dialog ("#32770") of a thread, optionally with the given title.
HWND FindDialogOf(DWORD threadId, const char* title = nullptr);
std::string WindowText(HWND window);

// Waits on a second thread for a dialog of the calling thread to appear and
// hands it to `answer`, which must close it. Observations made by `answer`
// are safe to read after Finish().
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::function<void(HWND dialog)> answer, const char* title = nullptr);
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  ~DialogAnswerer();
  // Joins the thread; whether a dialog was found and answered.
  bool Finish();

 private:
  DWORD owner_;
  std::string title_;
  bool hasTitle_;
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

// Sets a string value of a key (creating the key where needed) and puts
// back the former value, or removes what it created, on destruction. An
// empty name stands for the key's default value.
class RegistryValue {
 public:
  RegistryValue(HKEY root, const std::string& subkey, const std::string& name, const std::string& value);
  RegistryValue(const RegistryValue&) = delete;
  RegistryValue& operator=(const RegistryValue&) = delete;
  ~RegistryValue();
  bool Ok() const { return ok_; }

 private:
  HKEY root_;
  std::string subkey_;
  std::string name_;
  std::vector<std::string> createdKeys_;  // outermost first
  std::optional<std::string> formerValue_;
  DWORD formerType_ = REG_SZ;
  bool ok_ = false;
};

// Moves the calling thread onto a desktop of its own, shown by Wine as a
// virtual desktop: windows there close in milliseconds (not the seconds
// that the X server without a window manager takes) and no other program
// of the session takes the activation away. Threads that look for this
// thread's windows join it with JoinDesktopOf.
class PrivateDesktop {
 public:
  explicit PrivateDesktop(const char* name);
  PrivateDesktop(const PrivateDesktop&) = delete;
  PrivateDesktop& operator=(const PrivateDesktop&) = delete;

 private:
  RegistryValue size_;
};

void JoinDesktopOf(DWORD threadId);

}  // namespace wine_test
