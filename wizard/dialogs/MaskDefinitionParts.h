// A mask definition cut into the parts the mask editor shows: field tokens
// ("#" or "&" followed by ASCII letters, digits and '_'), line breaks ("\")
// and the free texts between them. The character that ends a field token
// (other than a line break) begins the free text after it, so the space or
// '-' between two fields is a part of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct MaskPart {
  std::string text;
  bool token = false;  // a field token or a line break, else free text
};

// The parts in order; joined they give the text back.
std::vector<MaskPart> SplitMaskDefinition(std::string_view text);

// A character that continues a field token: ASCII letters, digits, '_'.
bool IsMaskTokenChar(unsigned char c);

// Whether a free text put right after `before` would run on into the field
// token that `before` ends with (it begins with a letter, digit or '_').
// The editor keeps one space between them.
bool FreeTextFusesWithField(std::string_view before, std::string_view freeText);
