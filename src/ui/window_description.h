// A window described as data: its controls (in stacking order, topmost
// first) and the bindings of their events to handlers. The native window,
// the headless window and the UI test driver all read the same description.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ui {

enum class Kind { Window, Button, CheckBox, ComboBox, Timer, Label, TransLabel };

enum class Event { Created, Clicked, ListItemSelected, ListWillPopUp, Tick };

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ControlDescription {
  const char* name;
  Kind kind;
  Rect rect;
  const char* caption = "";
  std::vector<const char*> items = {};
  int selected = -1;
  std::optional<Rgb> textColor = std::nullopt;
  // Height the open drop-down list reaches, measured from the control's top.
  int dropDownHeight = 0;
};

using Handler = void (*)();

struct Binding {
  const char* control;
  Event event;
  Handler handler;
};

struct WindowDescription {
  const char* name;
  const char* title;
  int outerWidth;
  int outerHeight;
  Rgb background;
  std::vector<ControlDescription> controls;
  std::vector<Binding> bindings;
};

}  // namespace ui
