// Names every resource script knows without an include: the window,
// dialog and control styles, the dialog command ids (IDOK ...) and
// IDC_STATIC, the menu flags.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

const std::vector<std::pair<const char*, int64_t>>& PredefinedSymbols();
