// The framework's opaque place in a list: null before the first and after
// the last element.
#pragma once

struct POSITION__;
using POSITION = POSITION__*;

#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))
