// The test window's description, shared by the test window program (with
// its handlers) and the tests that drive it (without them).
#pragma once

#include <utility>
#include <vector>

#include "ui/window_description.h"

namespace test_window {

inline constexpr const char* kWindowName = "TestWindow";
inline constexpr const char* kTitle = "界面驱动测试";
inline constexpr const char* kButton = "按钮";
inline constexpr const char* kSwitch = "开关";
inline constexpr const char* kList = "列表";
inline constexpr const char* kTimer = "钟";
inline constexpr const char* kWrite = "写属性";
inline constexpr const char* kStartTimer = "计时";
inline constexpr const char* kAsk = "弹框";
inline constexpr const char* kStatus = "状态";
inline constexpr const char* kLog = "记录";

inline ui::WindowDescription Description(std::vector<ui::Binding> bindings = {}) {
  using ui::Kind;
  constexpr ui::Rgb kBlack{0, 0, 0};
  constexpr ui::Rgb kRed{255, 0, 0};
  ui::WindowDescription description{kWindowName, kTitle, 420, 300, {0, 136, 255}, {}, std::move(bindings)};
  description.controls = {
      {kButton, Kind::Button, {10, 10, 80, 28}, "按下"},
      {kSwitch, Kind::CheckBox, {100, 12, 100, 24}, "开关", {}, -1, kBlack},
      {kList, Kind::ComboBox, {210, 12, 80, 20}, "", {"甲", "乙", "丙", "丁", "戊"}, 1, kBlack, 160},
      {kTimer, Kind::Timer, {300, 10, 26, 26}},
      {kWrite, Kind::Button, {10, 50, 80, 28}, "写属性"},
      {kStartTimer, Kind::Button, {100, 50, 80, 28}, "计时"},
      {kAsk, Kind::Button, {190, 50, 80, 28}, "弹框"},
      {kStatus, Kind::TransLabel, {10, 90, 200, 24}, "就绪", {}, -1, kRed},
      {kLog, Kind::Label, {10, 120, 390, 130}},
  };
  return description;
}

}  // namespace test_window
