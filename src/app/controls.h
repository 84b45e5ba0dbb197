// The names of the main window's controls, as the window template spells them.
#pragma once

namespace controls {
inline constexpr const char* 选择框Apache = "选择框Apache";
inline constexpr const char* 选择框MySQL = "选择框MySQL";
inline constexpr const char* 时钟1 = "时钟1";
inline constexpr const char* 透明标签1 = "透明标签1";
inline constexpr const char* 透明标签2 = "透明标签2";
inline constexpr const char* 透明标签3 = "透明标签3";
inline constexpr const char* 透明标签4 = "透明标签4";
inline constexpr const char* 按钮1 = "按钮1";
inline constexpr const char* 按钮2 = "按钮2";
inline constexpr const char* 按钮3 = "按钮3";
inline constexpr const char* 按钮4 = "按钮4";
inline constexpr const char* 按钮5 = "按钮5";
inline constexpr const char* 按钮7 = "按钮7";
inline constexpr const char* 标签1 = "标签1";
inline constexpr const char* 标签2 = "标签2";
inline constexpr const char* 标签3 = "标签3";
inline constexpr const char* 组合框Vemtra版本 = "组合框Vemtra版本";
inline constexpr const char* 组合框apche版本 = "组合框apche版本";
inline constexpr const char* 组合框mysql版本 = "组合框mysql版本";
}  // namespace controls
