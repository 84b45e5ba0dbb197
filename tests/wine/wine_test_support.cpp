#include "wine_test_support.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace wine_test {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = path + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  static int created = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + "vemtra-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++created);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void CreateEmptyFile(const std::string& path) { std::ofstream(path, std::ios::binary); }

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

std::optional<std::string> WaitForFile(const std::string& path, int seconds) {
  for (int i = 0; i < seconds * 50; ++i) {
    if (std::optional<std::string> content = ReadWholeFile(path)) return content;
    Sleep(20);
  }
  return std::nullopt;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

namespace {
constexpr char kTestWindowClass[] = "VemtraTestWindow";
}

TestWindow::TestWindow(const char* title, WNDPROC procedure) {
  static const ATOM registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTestWindowClass;
    return RegisterClassA(&windowClass);
  }();
  (void)registered;
  handle_ = CreateWindowExA(0, kTestWindowClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 240, 120,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (procedure != DefWindowProcA) {
    SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  }
}

TestWindow::~TestWindow() { DestroyWindow(handle_); }

namespace {

struct DialogSearch {
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<DialogSearch*>(searchAddress);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if (search->title && WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindDialogOf(DWORD threadId, const char* title) {
  DialogSearch search{title, nullptr};
  EnumThreadWindows(threadId, MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

namespace {
const char* ValueName(const std::string& name) { return name.empty() ? nullptr : name.c_str(); }
}  // namespace

DialogAnswerer::DialogAnswerer(std::function<void(HWND dialog)> answer, const char* title)
    : owner_(GetCurrentThreadId()),
      title_(title ? title : ""),
      hasTitle_(title != nullptr),
      thread_([this, answer] {
        JoinDesktopOf(owner_);
        for (int i = 0; i < 30 * 50; ++i) {
          if (HWND dialog = FindDialogOf(owner_, hasTitle_ ? title_.c_str() : nullptr)) {
            answer(dialog);
            answered_ = true;
            return;
          }
          Sleep(20);
        }
      }) {}

DialogAnswerer::~DialogAnswerer() {
  if (thread_.joinable()) thread_.join();
}

bool DialogAnswerer::Finish() {
  if (thread_.joinable()) thread_.join();
  return answered_;
}

RegistryValue::RegistryValue(HKEY root, const std::string& subkey, const std::string& name,
                             const std::string& value)
    : root_(root), subkey_(subkey), name_(name) {
  std::string path;
  size_t begin = 0;
  while (begin <= subkey.size()) {
    size_t end = subkey.find('\\', begin);
    if (end == std::string::npos) end = subkey.size();
    path = subkey.substr(0, end);
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, &disposition) !=
        ERROR_SUCCESS) {
      return;
    }
    RegCloseKey(key);
    if (disposition == REG_CREATED_NEW_KEY) createdKeys_.push_back(path);
    begin = end + 1;
  }
  HKEY key;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
  char former[2048] = {};
  DWORD formerSize = sizeof former - 1;
  if (RegQueryValueExA(key, ValueName(name_), nullptr, &formerType_, reinterpret_cast<BYTE*>(former), &formerSize) ==
      ERROR_SUCCESS) {
    formerValue_ = std::string(former, formerSize);
  }
  ok_ = RegSetValueExA(key, ValueName(name_), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
}

RegistryValue::~RegistryValue() {
  HKEY key;
  if (RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
    if (formerValue_) {
      RegSetValueExA(key, ValueName(name_), 0, formerType_, reinterpret_cast<const BYTE*>(formerValue_->data()),
                     static_cast<DWORD>(formerValue_->size()));
    } else {
      RegDeleteValueA(key, ValueName(name_));
    }
    RegCloseKey(key);
  }
  for (auto created = createdKeys_.rbegin(); created != createdKeys_.rend(); ++created) {
    RegDeleteKeyA(root_, created->c_str());
  }
}

PrivateDesktop::PrivateDesktop(const char* name)
    : size_(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", name, "800x600") {
  HDESK desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (desktop) SetThreadDesktop(desktop);
}

void JoinDesktopOf(DWORD threadId) { SetThreadDesktop(GetThreadDesktop(threadId)); }

}  // namespace wine_test
