#include "folder_chooser.h"

#include <commctrl.h>

#include <cstring>
#include <optional>
#include <vector>

#include "ansi_text.h"
#include "platform/win32/kernel_handle.h"
#include "ui_driver.h"

namespace e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kSelectTimeoutMs = 3000;
constexpr int kMaxItemText = 260;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) return 0;
  return static_cast<LRESULT>(result);
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND FirstChildOfClass(HWND parent, const char* className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (lstrcmpiA(ClassName(child).c_str(), className) == 0) return child;
  }
  return nullptr;
}

std::string WindowTextOf(HWND window) {
  std::wstring text(static_cast<size_t>(Send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
  text.resize(static_cast<size_t>(Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return uidriver::WideToAnsi(text);
}

std::wstring ToWide(const std::string& ansi) {
  std::wstring wide(ansi.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  return wide;
}

// The parts of a path between its separators, stepping over double-byte
// characters (a trail byte of 0x5C is not a separator).
std::vector<std::string> PathParts(const std::string& path) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      parts.back() += path.substr(i++, 2);
    } else if (path[i] == '\\') {
      if (!parts.back().empty()) parts.emplace_back();
    } else {
      parts.back() += path[i];
    }
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

// Memory committed in another process for the lifetime of the owner.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool IsValid() const { return address_ != nullptr; }
  char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) const {
    return WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) const {
    return ReadProcessMemory(process_, At(offset), data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

// The chooser's tree view, read and clicked from this process.
class RemoteTree {
 public:
  explicit RemoteTree(HWND tree) : tree_(tree), process_(OpenProcess(kAccess, FALSE, ProcessOf(tree))),
                                    buffer_(process_.Get(), kBufferSize) {}

  bool IsValid() const { return process_.IsValid() && buffer_.IsValid(); }

  HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
  HTREEITEM FirstChild(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
  HTREEITEM Sibling(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
  HTREEITEM Selected() const { return Next(nullptr, TVGN_CARET); }

  // Expanding fills the folder's children (the chooser lists them then).
  void Expand(HTREEITEM item) const { Send(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }

  std::wstring Text(HTREEITEM item) const {
    TVITEMW record{};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = reinterpret_cast<LPWSTR>(buffer_.At(sizeof record));
    record.cchTextMax = kMaxItemText;
    std::vector<wchar_t> text(kMaxItemText, L'\0');
    if (!buffer_.Write(0, &record, sizeof record) ||
        !Send(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer_.At(0))) ||
        !buffer_.Read(sizeof record, text.data(), text.size() * sizeof(wchar_t))) {
      return {};
    }
    text.back() = L'\0';
    return text.data();
  }

  // A click in the middle of the item's text, as a user clicks it.
  bool Click(HTREEITEM item) const {
    Send(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);  // the request names the item in the rectangle
    if (!buffer_.Write(0, &rect, sizeof rect) ||
        !Send(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer_.At(0))) ||
        !buffer_.Read(0, &rect, sizeof rect)) {
      return false;
    }
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(tree_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(tree_, WM_LBUTTONUP, 0, point);
    return uidriver::WaitUntil([&] { return Selected() == item; }, kSelectTimeoutMs);
  }

 private:
  static constexpr DWORD kAccess = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION;
  static constexpr size_t kBufferSize = sizeof(TVITEMW) + kMaxItemText * sizeof(wchar_t);

  static DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
  }

  HTREEITEM Next(HTREEITEM item, WPARAM relation) const {
    return reinterpret_cast<HTREEITEM>(Send(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }

  HWND tree_;
  win32::KernelHandle process_;
  RemoteMemory buffer_;
};

std::vector<HTREEITEM> ChildrenOf(const RemoteTree& tree, HTREEITEM item) {
  tree.Expand(item);
  std::vector<HTREEITEM> children;
  for (HTREEITEM child = tree.FirstChild(item); child; child = tree.Sibling(child)) children.push_back(child);
  return children;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The drive's item: the chooser lists drives as "LABEL (C:)" under the
// computer, which lies directly under the desktop at the root.
std::optional<HTREEITEM> FindDrive(const RemoteTree& tree, const std::string& drive) {
  const std::wstring tail = L"(" + ToWide(drive) + L")";
  const HTREEITEM root = tree.Root();
  for (HTREEITEM place : ChildrenOf(tree, root)) {
    for (HTREEITEM candidate : ChildrenOf(tree, place)) {
      if (EndsWith(tree.Text(candidate), tail)) return candidate;
    }
  }
  return std::nullopt;
}

std::optional<HTREEITEM> FindChild(const RemoteTree& tree, HTREEITEM parent, const std::wstring& name) {
  for (HTREEITEM child : ChildrenOf(tree, parent)) {
    if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, tree.Text(child).c_str(), -1, name.c_str(), -1) ==
        CSTR_EQUAL) {
      return child;
    }
  }
  return std::nullopt;
}

struct ChooserSearch {
  HWND found = nullptr;
};

BOOL CALLBACK MatchChooser(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<ChooserSearch*>(searchAddress);
  if (ClassName(window) == "#32770" && IsWindowVisible(window) && FirstChildOfClass(window, WC_TREEVIEWA)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindFolderChooser(DWORD threadId, DWORD timeoutMs) {
  ChooserSearch search;
  uidriver::WaitUntil(
      [&] {
        EnumThreadWindows(threadId, MatchChooser, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

std::string FolderChooserPrompt(HWND chooser) {
  HWND prompt = FirstChildOfClass(chooser, "Static");
  return prompt ? WindowTextOf(prompt) : std::string();
}

bool SelectFolderInChooser(HWND chooser, const std::string& path, std::string& error) {
  const RemoteTree tree(FirstChildOfClass(chooser, WC_TREEVIEWA));
  if (!tree.IsValid()) {
    error = "cannot reach the chooser's tree";
    return false;
  }
  const std::vector<std::string> parts = PathParts(path);
  if (parts.empty()) {
    error = "an empty path";
    return false;
  }
  std::optional<HTREEITEM> item = FindDrive(tree, parts.front());
  if (!item) {
    error = "the chooser lists no drive " + parts.front();
    return false;
  }
  for (size_t i = 1; i < parts.size(); ++i) {
    item = FindChild(tree, *item, ToWide(parts[i]));
    if (!item) {
      error = "the chooser lists no folder " + parts[i] + " on the way to " + path;
      return false;
    }
  }
  if (!tree.Click(*item)) {
    error = "clicking " + path + " in the chooser's tree did not select it";
    return false;
  }
  return true;
}

bool AcceptFolderChooser(HWND chooser) { return uidriver::Click(GetDlgItem(chooser, IDOK)); }

}  // namespace e2e
