// The input driver's and the runner's report's side of a preview control:
// what it shows and where its groups can be clicked, read through the
// messages it answers (preview_messages.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/geometry.h"

// Whether the window answers as a preview whose scene was set up.
bool IsPreview(HWND control);
// The content as the verbose report prints it under the control, each line
// ending in a line feed: the view's size and, per selection name, the
// entities by class and material and the texts; then a product preview's
// kind, selection and connection points. Empty for any other window.
std::string DescribePreview(HWND control);
// The client point (y from the top) where a click picks the group `id`;
// false when no point of the view does.
bool FindPreviewItemPoint(HWND control, uint32_t id, POINT* point);
