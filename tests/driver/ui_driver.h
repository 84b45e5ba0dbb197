// Drives a window built from a ui::WindowDescription from another process, the way
// a user would: finds it by its title, reads every control, clicks buttons
// and check boxes, picks list items, answers message boxes, and closes it.
// Controls are named by their control id (platform/win32/control_ids.h).
// Texts are the program's ANSI bytes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/window_description.h"

namespace uidriver {

// A rectangle as left, top, width and height.
struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

struct ControlInfo {
  HWND handle = nullptr;
  int id = 0;
  std::string name;       // the description's name; empty for a window that is not a control of the description
  std::string className;  // the window class, e.g. "Button"
  std::string kind;       // what the class and style make it: Button, CheckBox, ComboBox, Static
  Box box;                // in the parent's client coordinates
  bool visible = false;
  bool enabled = false;
  std::string text;           // the window text; a list's selected item
  bool centered = false;      // a static's text is centred horizontally and vertically
  int checked = -1;           // check boxes: 0 or 1
  int selected = -1;          // lists: the selected index, -1 for none
  std::vector<std::string> items;  // lists
  int listReach = 0;          // lists: how far the open list reaches from the control's top
  bool listOpen = false;      // lists: the list is dropped down
};

struct WindowInfo {
  HWND handle = nullptr;
  std::string title;
  Box outer;         // screen coordinates
  Box client;        // size of the client area, position on the screen
  DWORD style = 0;
  DWORD processId = 0;
  std::vector<ControlInfo> controls;  // in stacking order, topmost first
};

// The top-level window with this title on the thread's desktop, waiting up
// to `timeoutMs` for it to appear.
HWND FindWindowByTitle(const std::string& title, DWORD timeoutMs);

// Everything the driver can read of the window and its child controls.
WindowInfo DescribeWindow(HWND window, const ui::WindowDescription& description);
ControlInfo DescribeControl(HWND control, const ui::WindowDescription& description);

// The child window of the named control; null when there is none.
HWND FindControl(HWND window, const ui::WindowDescription& description, std::string_view name);

// A click on a button or check box, posted: it returns at once even when
// the click opens a modal box.
bool Click(HWND control);

// A keyboard change while the list is closed: the item becomes selected and
// the window hears of the change.
bool Pick(HWND list, int index);

// Opens the list, moves through it with the arrow keys to `index` and
// accepts the item with Enter, as a user does with the keyboard.
bool PickFromOpenList(HWND list, int index);

// Opens the list and clicks the item with the mouse.
bool ClickItemInOpenList(HWND list, int index);

bool OpenList(HWND list);
bool CloseList(HWND list);

struct MessageBoxInfo {
  HWND handle = nullptr;
  std::string title;
  std::string text;
};

// A message box on the thread's desktop; with an empty title, any.
std::optional<MessageBoxInfo> FindMessageBox(const std::string& title, DWORD timeoutMs);

enum class Answer { Ok, Cancel, Close };
bool AnswerMessageBox(HWND box, Answer answer);

// Polls `condition` until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

struct ProcessStats {
  DWORD userObjects = 0;
  DWORD gdiObjects = 0;
  DWORD kernelHandles = 0;
  SIZE_T workingSet = 0;
  SIZE_T privateBytes = 0;
};

// Counts and memory of the process that owns the window.
std::optional<ProcessStats> StatsOfWindowProcess(HWND window);

// Asks the window to close (WM_CLOSE) and waits for its process to end; the
// exit code, or nothing when the process did not end in time.
std::optional<DWORD> CloseAndWait(HWND window, DWORD timeoutMs);

}  // namespace uidriver
