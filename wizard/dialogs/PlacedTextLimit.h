// How long a text the product dialogs let into a placed product: a string
// of a drawing's extended data holds at most 255 bytes.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

constexpr int kPlacedTextLimit = 255;

// Whether a typed value is longer than a placed product can keep.
bool ExceedsPlacedTextLimit(const char* text);

// Of the first string of a chain that is longer than the limit, the string
// before it (the key of a key/value pair; "" when there is none that fits);
// null when every string fits.
const char* FirstOverlongPlacedText(const resbuf* chain);

// Why a product's data were not built, over owner: the key of an overlong
// text of chain when it holds one, else that the catalogue failed.
void SayProductDataNotBuilt(HWND owner, const resbuf* chain);
