// Private messages every dialog of the plug-in answers.
#pragma once

#include "platform/win32/win32_types.h"

// The host asks whether a window is one of the plug-in's dialogs: 1.
constexpr UINT kHostDialogQuery = 0x7101;
