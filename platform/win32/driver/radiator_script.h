// The session script's answers for the outside radiator catalogue: the
// radiator a user would choose in the catalogue's own window.
//
//   radiator T1 T2 T3 T4 N1 N2 N3 L V S N4 N5
//                             chooses a radiator: four texts and eight
//                             whole numbers in the catalogue record's order
//   radiator cancel           the user closes the catalogue choosing nothing
//
// The texts must fit the record's fields with their terminator (code page
// 1250 bytes: 20, 40, 20 and 260); the numbers are 32-bit. A line that does
// not fits fails the script's load.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct RadiatorChoice {
  bool cancelled = true;
  std::array<std::string, 4> texts;    // code page 1250
  std::array<int32_t, 8> numbers{};    // N1 N2 N3 L V S N4 N5
};

// The longest text of each of the four fields, in bytes.
constexpr std::array<size_t, 4> kRadiatorTextLimits = {20, 40, 20, 260};

// Reads a `radiator` line's arguments; false with the reason.
bool ParseRadiatorChoice(const std::vector<std::string>& args, RadiatorChoice* out, std::string* why);

// Makes `radiator` a keyword of every script loaded afterwards (the
// catalogue library is loaded only when a dialog asks for it, long after
// the script). Repeating it is harmless.
void RegisterRadiatorScriptKeyword();
