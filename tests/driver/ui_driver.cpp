#include "ui_driver.h"

#include <psapi.h>

#include "ansi_text.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/kernel_handle.h"

namespace uidriver {

namespace {

// Sent messages wait at most this long for a window that is busy.
constexpr UINT kSendTimeoutMs = 5000;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

std::string WindowText(HWND window) {
  const LRESULT length = Send(window, WM_GETTEXTLENGTH);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return WideToAnsi(text);
}

std::string ListItemText(HWND list, int index) {
  const LRESULT length = Send(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = Send(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return WideToAnsi(text);
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string KindOf(const std::string& className, DWORD style) {
  if (lstrcmpiA(className.c_str(), "Button") == 0) {
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) return "CheckBox";
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return "Button";
    return className;
  }
  if (lstrcmpiA(className.c_str(), "ComboBox") == 0) {
    return (style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST ? "ComboBox" : className;
  }
  if (lstrcmpiA(className.c_str(), "Static") == 0) return "Static";
  return className;
}

Box ToBox(const RECT& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

std::string NameOfControlId(const ui::WindowDescription& description, int id) {
  const long long index = win32::IndexOfControlId(id);
  if (index < 0 || index >= static_cast<long long>(description.controls.size())) return {};
  return description.controls[static_cast<size_t>(index)].name;
}

bool IsUsable(HWND control) { return control && IsWindow(control) && IsWindowEnabled(control); }

void PostKey(HWND window, WPARAM key) { PostMessageW(window, WM_KEYDOWN, key, 1); }

struct DroppedListSearch {
  HWND found = nullptr;
};

BOOL CALLBACK MatchDroppedList(HWND window, LPARAM data) {
  if (ClassName(window) != "ComboLBox" || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<DroppedListSearch*>(data)->found = window;
  return FALSE;
}

// The window that shows a list's items while it is open: a child of the
// list (Wine) or a window of the same thread (Windows).
HWND DroppedListOf(HWND list) {
  DroppedListSearch search;
  EnumChildWindows(list, MatchDroppedList, reinterpret_cast<LPARAM>(&search));
  if (!search.found) {
    EnumThreadWindows(GetWindowThreadProcessId(list, nullptr), MatchDroppedList, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

}  // namespace

HWND FindWindowByTitle(const std::string& title, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowA(nullptr, title.c_str())) != nullptr; }, timeoutMs);
  return window;
}

ControlInfo DescribeControl(HWND control, const ui::WindowDescription& description) {
  ControlInfo info;
  info.handle = control;
  info.id = GetDlgCtrlID(control);
  info.name = NameOfControlId(description, info.id);
  info.className = ClassName(control);
  const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  info.kind = KindOf(info.className, style);
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  info.box = ToBox(rect);
  info.visible = (style & WS_VISIBLE) != 0;
  info.enabled = IsWindowEnabled(control) != FALSE;
  info.text = WindowText(control);
  if (info.kind == "Static") info.centered = (style & SS_TYPEMASK) == SS_CENTER && (style & SS_CENTERIMAGE) != 0;
  if (info.kind == "CheckBox") info.checked = Send(control, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
  if (info.kind == "ComboBox") {
    const LRESULT count = Send(control, CB_GETCOUNT);
    for (int i = 0; i < count; ++i) info.items.push_back(ListItemText(control, i));
    info.selected = static_cast<int>(Send(control, CB_GETCURSEL));
    info.listOpen = Send(control, CB_GETDROPPEDSTATE) > 0;
    RECT dropped{};
    if (Send(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) >= 0) {
      info.listReach = dropped.bottom - dropped.top;
    }
  }
  return info;
}

WindowInfo DescribeWindow(HWND window, const ui::WindowDescription& description) {
  WindowInfo info;
  info.handle = window;
  info.title = WindowText(window);
  RECT rect;
  GetWindowRect(window, &rect);
  info.outer = ToBox(rect);
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  info.client = ToBox(rect);
  info.style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  GetWindowThreadProcessId(window, &info.processId);
  // The window's own children in stacking order, topmost first.
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    info.controls.push_back(DescribeControl(child, description));
  }
  return info;
}

HWND FindControl(HWND window, const ui::WindowDescription& description, std::string_view name) {
  for (size_t i = 0; i < description.controls.size(); ++i) {
    if (name == description.controls[i].name) return GetDlgItem(window, win32::ControlId(i));
  }
  return nullptr;
}

bool Click(HWND control) { return IsUsable(control) && PostMessageW(control, BM_CLICK, 0, 0); }

bool Pick(HWND list, int index) {
  if (!IsUsable(list) || Send(list, CB_SETCURSEL, static_cast<WPARAM>(index)) != index) return false;
  return PostMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(list)) != FALSE;
}

bool PickFromOpenList(HWND list, int index) {
  const LRESULT count = Send(list, CB_GETCOUNT);
  if (!IsUsable(list) || index < 0 || index >= count || !OpenList(list)) return false;
  int current = static_cast<int>(Send(list, CB_GETCURSEL));
  if (current < 0) {
    PostKey(list, VK_HOME);
    current = 0;
  }
  for (; current < index; ++current) PostKey(list, VK_DOWN);
  for (; current > index; --current) PostKey(list, VK_UP);
  PostKey(list, VK_RETURN);
  return true;
}

bool ClickItemInOpenList(HWND list, int index) {
  const LRESULT count = Send(list, CB_GETCOUNT);
  if (!IsUsable(list) || index < 0 || index >= count || !OpenList(list)) return false;
  HWND items = DroppedListOf(list);
  if (!items) return false;
  const LRESULT itemHeight = Send(items, LB_GETITEMHEIGHT, 0);
  const LRESULT top = Send(items, LB_GETTOPINDEX);
  RECT client;
  GetClientRect(items, &client);
  const auto y = static_cast<int>((index - top) * itemHeight + itemHeight / 2);
  if (itemHeight <= 0 || y < 0 || y >= client.bottom) return false;
  const LPARAM point = MAKELPARAM(client.right / 2, y);
  return PostMessageW(items, WM_LBUTTONDOWN, MK_LBUTTON, point) && PostMessageW(items, WM_LBUTTONUP, 0, point);
}

bool OpenList(HWND list) { return IsUsable(list) && Send(list, CB_SHOWDROPDOWN, TRUE) >= 0; }

bool CloseList(HWND list) { return IsUsable(list) && Send(list, CB_SHOWDROPDOWN, FALSE) >= 0; }

std::optional<MessageBoxInfo> FindMessageBox(const std::string& title, DWORD timeoutMs) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindWindowA("#32770", title.empty() ? nullptr : title.c_str())) != nullptr; },
            timeoutMs);
  if (!box) return std::nullopt;
  MessageBoxInfo info;
  info.handle = box;
  info.title = WindowText(box);
  if (HWND text = GetDlgItem(box, 0xFFFF)) info.text = WindowText(text);
  return info;
}

bool AnswerMessageBox(HWND box, Answer answer) {
  if (answer == Answer::Close) return PostMessageW(box, WM_CLOSE, 0, 0) != FALSE;
  const int id = answer == Answer::Ok ? IDOK : IDCANCEL;
  return PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id))) !=
         FALSE;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(pollMs);
  }
}

std::optional<ProcessStats> StatsOfWindowProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  win32::KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process.IsValid()) return std::nullopt;
  ProcessStats stats;
  stats.userObjects = GetGuiResources(process.Get(), GR_USEROBJECTS);
  stats.gdiObjects = GetGuiResources(process.Get(), GR_GDIOBJECTS);
  GetProcessHandleCount(process.Get(), &stats.kernelHandles);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
    stats.workingSet = memory.WorkingSetSize;
    stats.privateBytes = memory.PrivateUsage;
  }
  return stats;
}

std::optional<DWORD> CloseAndWait(HWND window, DWORD timeoutMs) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  win32::KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.IsValid() || !PostMessageW(window, WM_CLOSE, 0, 0)) return std::nullopt;
  if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.Get(), &exitCode)) return std::nullopt;
  return exitCode;
}

}  // namespace uidriver
