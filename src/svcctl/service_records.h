// Records that describe one listed service in texts.
#pragma once

#include <cstdint>

#include "support/text.h"

struct ServiceRecord {
  Text Name;
  Text DisplayName;
  Text Description;
  Text BinaryPath;
  Text StartTypeText;
  Text StateText;
  Text AccountText;
};

struct ServiceRecordEx {
  Text Name;
  Text DisplayName;
  Text Description;
  int32_t ProcessId = 0;
  Text BinaryPath;
  Text StartTypeText;
  Text StateText;
  Text AccountText;
};
