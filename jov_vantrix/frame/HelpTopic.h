// The plug-in's help: topics of "Help\jov2d.chm" in its module folder.
#pragma once

#include "platform/win32/win32_types.h"

// Shows the topic ("vantrix-2.htm") of the "zdroje" folder of the help.
void ShowHelpTopic(HWND caller, const char* topic);
