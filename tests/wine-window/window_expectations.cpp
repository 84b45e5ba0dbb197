#include "window_expectations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "ansi_text.h"

namespace window_test {

namespace {

std::string KindName(ui::Kind kind) {
  switch (kind) {
    case ui::Kind::Button:
      return "Button";
    case ui::Kind::CheckBox:
      return "CheckBox";
    case ui::Kind::ComboBox:
      return "ComboBox";
    case ui::Kind::Label:
    case ui::Kind::TransLabel:
      return "Static";
    case ui::Kind::Window:
    case ui::Kind::Timer:
      break;
  }
  return {};
}

}  // namespace

std::vector<ExpectedControl> ExpectedControls(const ui::WindowDescription& description) {
  std::vector<ExpectedControl> controls;
  for (const ui::ControlDescription& control : description.controls) {
    if (control.kind == ui::Kind::Timer || control.kind == ui::Kind::Window) continue;
    ExpectedControl expected;
    expected.name = control.name;
    expected.kind = KindName(control.kind);
    expected.box = {control.rect.left, control.rect.top, control.rect.width, control.rect.height};
    expected.centered = control.kind == ui::Kind::TransLabel;
    if (control.kind == ui::Kind::CheckBox) expected.checked = 0;
    if (control.kind == ui::Kind::ComboBox) {
      expected.items.assign(control.items.begin(), control.items.end());
      expected.selected = control.selected;
      expected.text = control.selected >= 0 ? control.items[static_cast<size_t>(control.selected)] : "";
      expected.dropDownHeight = control.dropDownHeight;
    } else {
      expected.text = control.caption ? control.caption : "";
    }
    controls.push_back(std::move(expected));
  }
  return controls;
}

ExpectedControl& Named(std::vector<ExpectedControl>& controls, std::string_view name) {
  auto found = std::find_if(controls.begin(), controls.end(), [&](const ExpectedControl& c) { return c.name == name; });
  if (found == controls.end()) throw std::logic_error("no expected control " + std::string(name));
  return *found;
}

void ExpectControls(const std::vector<uidriver::ControlInfo>& actual, const std::vector<ExpectedControl>& expected) {
  ASSERT_EQ(actual.size(), expected.size()) << "number of control windows";
  for (size_t i = 0; i < expected.size(); ++i) {
    const ExpectedControl& want = expected[i];
    const uidriver::ControlInfo& got = actual[i];
    SCOPED_TRACE("stacking position " + std::to_string(i) + ", expected " + uidriver::AnsiToUtf8(want.name));
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_TRUE(got.visible);
    EXPECT_EQ(got.enabled, want.enabled);
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.checked, want.checked);
    if (want.kind == "Static") {
      EXPECT_EQ(got.centered, want.centered);
    }
    if (want.kind == "ComboBox") {
      EXPECT_EQ(got.items, want.items);
      EXPECT_EQ(got.selected, want.selected);
      EXPECT_FALSE(got.listOpen);
      EXPECT_EQ(got.box.left, want.box.left);
      EXPECT_EQ(got.box.top, want.box.top);
      EXPECT_EQ(got.box.width, want.box.width);
      EXPECT_GT(got.box.height, 0);
      // Wine 8 reports the dropped rectangle as tall as the open list
      // alone (Windows reports it from the control's top), so the list
      // reaches the closed height plus that.
      EXPECT_EQ(got.box.height + got.listReach, want.dropDownHeight);
    } else {
      EXPECT_EQ(got.box, want.box);
    }
  }
}

void ExpectWindowFrame(const uidriver::WindowInfo& window, const ui::WindowDescription& description, int desktopWidth,
                       int desktopHeight) {
  EXPECT_EQ(window.title, description.title);
  EXPECT_EQ(window.outer.width, description.outerWidth);
  EXPECT_EQ(window.outer.height, description.outerHeight);
  EXPECT_EQ(window.outer.left, (desktopWidth - description.outerWidth) / 2);
  EXPECT_EQ(window.outer.top, (desktopHeight - description.outerHeight) / 2);
  EXPECT_EQ(window.style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(window.style & WS_SYSMENU);
  EXPECT_TRUE(window.style & WS_MINIMIZEBOX);
  EXPECT_FALSE(window.style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(window.style & WS_THICKFRAME) << "the border is fixed";
  EXPECT_TRUE(window.style & WS_VISIBLE);
}

}  // namespace window_test
