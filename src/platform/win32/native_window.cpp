#include "platform/win32/native_window.h"

#include "platform/win32/control_ids.h"
#include "platform/win32/control_styles.h"
#include "platform/win32/resource_ids.h"

namespace win32 {

namespace {

constexpr const char* kWindowClassName = "VemtraWindow";

// Posted to itself while a list's notifications come in; handled once the
// notifications of that user action are all there (see ListPickTracker).
constexpr UINT kCheckListPick = WM_APP + 1;

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

COLORREF ToColorRef(const ui::Rgb& color) { return RGB(color.r, color.g, color.b); }

COLORREF TextColorOf(const ui::ControlDescription& description) {
  return description.textColor ? ToColorRef(*description.textColor) : RGB(0, 0, 0);
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

}  // namespace

void NativeWindow::RegisterWindowClass() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = Instance();
  windowClass.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(VEMTRA_ICON_ID));
  if (!windowClass.hIcon) windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClassName;
  // No class brush: the window paints its own background colour.
  RegisterClassExA(&windowClass);
}

NativeWindow::NativeWindow(ui::ControlModel& model)
    : model_(model),
      background_(CreateSolidBrush(ToColorRef(model.Description().background))),
      views_(model.Controls().size()) {
  const ui::WindowDescription& description = model_.Description();
  const int left = (GetSystemMetrics(SM_CXSCREEN) - description.outerWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - description.outerHeight) / 2;
  // WindowProc stores the window handle in window_ as it is created.
  CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClassName, description.title, kWindowStyle, left, top, description.outerWidth,
                  description.outerHeight, nullptr, nullptr, Instance(), this);
  if (!window_) return;
  // New child windows go below their siblings, so creating the controls
  // in the description's order stacks them topmost first.
  for (size_t i = 0; i < views_.size(); ++i) CreateControl(i);
  model_.SetObserver(this);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

NativeWindow::~NativeWindow() {
  model_.SetObserver(nullptr);
  if (window_) DestroyWindow(window_);
}

void NativeWindow::Open() {
  if (!window_ || open_) return;
  open_ = true;
  model_.Raise(model_.Description().name, ui::Event::Created);
}

void NativeWindow::CreateControl(size_t index) {
  const ui::ControlState& control = Control(index);
  const ui::ControlDescription& description = *control.description;
  const std::optional<ControlClass> controlClass = ControlClassFor(description.kind);
  if (!controlClass) return;

  // A list is created as tall as its open list reaches; closed, it takes
  // the height its font needs.
  const bool isList = description.kind == ui::Kind::ComboBox;
  const int height = isList && description.dropDownHeight > 0 ? description.dropDownHeight : description.rect.height;
  DWORD style = WS_CHILD | WS_VISIBLE | controlClass->style;
  if (control.disabled) style |= WS_DISABLED;
  HWND window = CreateWindowExA(0, controlClass->className, isList ? "" : control.caption.c_str(), style,
                                description.rect.left, description.rect.top, description.rect.width, height, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))), Instance(), nullptr);
  if (!window) return;
  views_[index].window = window;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

  if (description.kind == ui::Kind::CheckBox) {
    SendMessageA(window, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (isList) {
    for (const Text& item : control.items) SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(control.selected), 0);
    // The new font changed the closed height; sizing the list to its full
    // height again makes the open list reach that far below its top.
    SetWindowPos(window, nullptr, 0, 0, description.rect.width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(window, &info)) views_[index].listWindow = info.hwndList;
  }
}

void NativeWindow::PropertyChanged(const ui::ControlState& control, ui::Property property) {
  if (!window_) return;
  const auto index = static_cast<size_t>(&control - model_.Controls().data());
  HWND window = views_[index].window;
  switch (property) {
    case ui::Property::Caption:
      if (window && control.description->kind != ui::Kind::ComboBox) SetWindowTextA(window, control.caption.c_str());
      break;
    case ui::Property::Disabled:
      if (window) EnableWindow(window, control.disabled ? FALSE : TRUE);
      break;
    case ui::Property::Checked:
      if (window) SendMessageA(window, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ui::Property::Selection:
      if (window) SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(control.selected), 0);
      break;
    case ui::Property::Period:
      // Setting a timer that exists restarts its countdown with the new period.
      if (control.period > 0) {
        SetTimer(window_, static_cast<UINT_PTR>(ControlId(index)), static_cast<UINT>(control.period), nullptr);
      } else {
        KillTimer(window_, static_cast<UINT_PTR>(ControlId(index)));
      }
      break;
  }
}

LRESULT CALLBACK NativeWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<NativeWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT NativeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.Get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      return OnControlColor(message, wParam, lParam);
    case WM_COMMAND: {
      // Menus and accelerators (no control window) and the dialog keys'
      // IDOK / IDCANCEL are not ours.
      const long long index = IndexOfControlId(LOWORD(wParam));
      if (lParam != 0 && open_ && index >= 0 && index < static_cast<long long>(views_.size())) {
        OnCommand(static_cast<size_t>(index), HIWORD(wParam));
      }
      return 0;
    }
    case kCheckListPick:
      if (wParam < views_.size()) CheckListPick(wParam);
      return 0;
    case WM_TIMER: {
      const long long index = IndexOfControlId(static_cast<int>(wParam));
      if (open_ && index >= 0 && index < static_cast<long long>(views_.size())) OnTimer(static_cast<size_t>(index));
      return 0;
    }
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      // The close request needs no answer: DefWindowProc destroys the window.
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

void NativeWindow::OnCommand(size_t index, int code) {
  const ui::ControlState& control = Control(index);
  const char* name = control.description->name;
  switch (control.description->kind) {
    case ui::Kind::Button:
      if (code == BN_CLICKED && !control.disabled) model_.Raise(name, ui::Event::Clicked);
      break;
    case ui::Kind::CheckBox: {
      if (code != BN_CLICKED) break;
      HWND box = views_[index].window;
      if (control.disabled) {
        // A disabled box ignores the user: keep showing the model's mark.
        SendMessageA(box, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      }
      model_.UserSetChecked(name, SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
      break;
    }
    case ui::Kind::ComboBox:
      OnListNotification(index, code);
      break;
    default:
      break;
  }
}

void NativeWindow::OnListNotification(size_t index, int code) {
  ControlView& view = views_[index];
  switch (code) {
    case CBN_DROPDOWN:
      view.picks.DroppedDown();
      if (!Control(index).disabled) model_.Raise(Control(index).description->name, ui::Event::ListWillPopUp);
      return;
    case CBN_SELCHANGE:
      view.picks.SelectionChanged();
      break;
    case CBN_SELENDOK:
    case CBN_SELENDCANCEL:
      view.picks.SelectionEnded(code == CBN_SELENDOK);
      break;
    case CBN_CLOSEUP:
      view.picks.ClosedUp();
      break;
    default:
      return;
  }
  if (!view.pickCheckPosted) view.pickCheckPosted = PostMessageA(window_, kCheckListPick, index, 0) != FALSE;
}

void NativeWindow::CheckListPick(size_t index) {
  ControlView& view = views_[index];
  view.pickCheckPosted = false;
  const ui::ControlState& control = Control(index);
  const auto current = static_cast<int>(SendMessageA(view.window, CB_GETCURSEL, 0, 0));
  if (!view.picks.TakePick(current, control.selected)) return;
  if (control.disabled) {
    // A disabled list ignores the user: keep showing the model's item.
    SendMessageA(view.window, CB_SETCURSEL, static_cast<WPARAM>(control.selected), 0);
    return;
  }
  model_.UserSelected(control.description->name, current);
}

void NativeWindow::OnTimer(size_t index) {
  const ui::ControlState& control = Control(index);
  if (control.description->kind == ui::Kind::Timer && control.period > 0) model_.Raise(control.description->name, ui::Event::Tick);
}

int NativeWindow::IndexOfWindow(HWND control) const {
  for (size_t i = 0; i < views_.size(); ++i) {
    if (control && (views_[i].window == control || views_[i].listWindow == control)) return static_cast<int>(i);
  }
  return -1;
}

LRESULT NativeWindow::OnControlColor(UINT message, WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  const int index = IndexOfWindow(reinterpret_cast<HWND>(lParam));
  if (index >= 0) {
    const ui::ControlState& state = Control(static_cast<size_t>(index));
    const ui::Kind kind = state.description->kind;
    if (message == WM_CTLCOLORSTATIC && (kind == ui::Kind::CheckBox || kind == ui::Kind::TransLabel)) {
      // The window's own colour behind the text. A solid brush rather than
      // a hollow one, so that a changed caption paints over the old one.
      SetTextColor(dc, TextColorOf(*state.description));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(background_.Get());
    }
    if (message == WM_CTLCOLORLISTBOX && kind == ui::Kind::ComboBox && !state.disabled) {
      SetTextColor(dc, TextColorOf(*state.description));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void NativeWindow::OnActivate(bool active) {
  // Keyboard focus returns to the control that had it, or the first one
  // that takes it.
  if (!active) {
    lastFocus_ = GetFocus();
    return;
  }
  HWND focus = lastFocus_ && IsChild(window_, lastFocus_) && IsWindowEnabled(lastFocus_)
                   ? lastFocus_
                   : GetNextDlgTabItem(window_, nullptr, FALSE);
  if (focus) SetFocus(focus);
}

}  // namespace win32
