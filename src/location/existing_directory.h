#pragma once

#include "support/system.h"
#include "support/text.h"

// The path when it names an existing directory, else the empty text.
inline Text ExistingDirectoryOrEmpty(const Text& path) { return IsDirectory(path) ? path : Text(); }
