// The Chinese labels of service states, start types and logon accounts.
#pragma once

#include <cstdint>

#include "support/text.h"

// "已停止" ... "已暂停" for states 1..7; empty otherwise.
Text StateLabel(int32_t state);

// 1 automatic (shared process), 2 automatic (own process), 3 on demand,
// 4 disabled, -1 anything else.
int32_t StartTypeCode(uint32_t startType, uint32_t serviceType);

// The label of a start-type code; empty for -1 and unknown codes.
Text StartTypeLabel(int32_t code);

// The label of a logon account: the first of LocalService, NetworkService
// and LocalSystem found anywhere in the upper-cased name decides;
// `otherwise` when none is found.
Text AccountLabel(const Text& accountName, const Text& otherwise);
