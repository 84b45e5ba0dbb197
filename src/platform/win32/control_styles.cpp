#include "platform/win32/control_styles.h"

namespace win32 {

std::optional<ControlClass> ControlClassFor(ui::Kind kind) {
  switch (kind) {
    case ui::Kind::Button:
      return ControlClass{"BUTTON", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | WS_TABSTOP};
    case ui::Kind::CheckBox:
      // The box on the left, the caption to its right, left-aligned.
      return ControlClass{"BUTTON", BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER | WS_TABSTOP};
    case ui::Kind::ComboBox:
      // A list without an edit field, items in the order given.
      return ControlClass{"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
    case ui::Kind::Label:
      return ControlClass{"STATIC", SS_LEFT | SS_NOPREFIX};
    case ui::Kind::TransLabel:
      // One line, centred both ways; the window's colour behind it.
      return ControlClass{"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX};
    case ui::Kind::Window:
    case ui::Kind::Timer:
      break;
  }
  return std::nullopt;
}

}  // namespace win32
