// Group-code/value pairs as the host's drawing keeps them, and the small
// value conversions shared by its reader and writer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// One pair as it stands in the file. The value stays raw text (code page
// 1250 inside the model) so that an untouched pair is written back byte for
// byte; it converts one to one to a group-code chain node.
struct DxfPair {
  int16_t code = 0;
  std::string value;
};
using PairList = std::vector<DxfPair>;

// A failed load, save or edit. line is the 1-based line of the input the
// message is about, 0 when it is not tied to a line.
struct DxfError {
  int line = 0;
  std::string message;
  std::string ToString() const;
};

// Sets *error (when given) and returns false, for one-line failure paths.
bool Fail(DxfError* error, std::string message, int line = 0);

// Spaces and tabs off both ends: codes and numbers may be padded.
std::string_view TrimDxf(std::string_view text);

// Case-insensitive comparison of code page 1250 names (layers, blocks,
// tables and applications are matched this way).
bool SameName(std::string_view a, std::string_view b);

// Handles are upper-case hexadecimal of up to 64 bits; 0 is no handle.
std::optional<uint64_t> ParseHandle(std::string_view text);
std::string FormatHandle(uint64_t handle);

// Numbers in the C locale whatever the process locale is.
std::optional<int64_t> ParseDxfInt(std::string_view text);
std::optional<double> ParseDxfReal(std::string_view text);
// Shortest text that reads back to the same double, always with a decimal
// point or exponent ("1.0", "0.001", "1e+20").
std::string FormatDxfReal(double value);

}  // namespace host
