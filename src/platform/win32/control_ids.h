// Identifiers of the controls of a window built from a ui::WindowDescription: the
// control's index in the description plus a base. A driver that finds a control
// window maps its identifier back to the control's name; a timer, which has
// no window, uses its identifier as the timer id.
#pragma once

#include <cstddef>

namespace win32 {

inline constexpr int kFirstControlId = 1000;

constexpr int ControlId(size_t specIndex) { return kFirstControlId + static_cast<int>(specIndex); }

// The description index of an identifier; negative or too large for ids that are not a control's.
constexpr long long IndexOfControlId(int id) { return static_cast<long long>(id) - kFirstControlId; }

}  // namespace win32
