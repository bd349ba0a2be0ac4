// The length of a picked line, copied to the clipboard for the host's input.
#pragma once

#include "common/CDravikFunc.h"

// Format under which the length travels on the clipboard.
constexpr const char* kVantrixClipboardFormat = "CF_VANTRIX_CAD";

// Reads the first selected entity through the host's by-name table; with a
// LINE, puts its length ("%.4f", divided by 1000 when unit is 1000) on the
// clipboard. 0 when it did, else -1 (a line with a coordinate or a length
// that is no finite number included). Always gives the host's chain back.
int CopyLineLengthToClipboard(CDravikFunc& host, int unit);
