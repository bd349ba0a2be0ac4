// Group-code/value pairs as the host's drawing keeps them, and the small
// value conversions shared by its reader and writer.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/PairArena.h"

namespace host {

// A pair's value: raw text, code page 1250 inside the model. A value read
// from a file is a view of the text the drawing keeps from its load for as
// long as it (or a clone of it) lives; every other value, and every copy,
// holds its own bytes, so a copy is safe anywhere.
//
// Packed to 12 bytes on 2-byte alignment so that a pair takes 14: a large
// drawing holds millions, and every byte of them is a page to clear on load.
#pragma pack(push, 2)
class DxfValue {
 public:
  DxfValue() noexcept : data_(""), size_(0), owned_(0) {}
  DxfValue(std::string_view text) { Copy(text); }
  DxfValue(const char* text) { Copy(text ? std::string_view(text) : std::string_view()); }
  DxfValue(const std::string& text) { Copy(text); }
  DxfValue(const DxfValue& other) { Copy(other.View()); }
  DxfValue(DxfValue&& other) noexcept : data_(other.data_), size_(other.size_), owned_(other.owned_) {
    other.Forget();
  }
  DxfValue& operator=(const DxfValue& other);
  DxfValue& operator=(DxfValue&& other) noexcept;
  DxfValue& operator=(std::string_view text) { return *this = DxfValue(text); }
  DxfValue& operator=(const char* text) { return *this = DxfValue(text); }
  DxfValue& operator=(const std::string& text) { return *this = DxfValue(text); }
  ~DxfValue() {
    if (owned_) Release();
  }

  // A view of text that the drawing holding the value keeps alive (at most
  // kMaxSize bytes).
  static DxfValue Borrow(std::string_view text) {
    DxfValue value;
    if (text.size() > kMaxSize) TooLong();
    if (!text.empty()) {
      value.data_ = text.data();
      value.size_ = static_cast<uint32_t>(text.size()) & kMaxSize;
    }
    return value;
  }
  // A view whose bytes were moved to `to` by the drawing keeping them.
  void MovedTo(const char* to) noexcept {
    if (!owned_ && size_) data_ = to;
  }
  // For a copy inside a drawing that keeps the same text: a view stays a
  // view, owned bytes are copied.
  DxfValue Share() const { return owned_ ? DxfValue(View()) : Borrow(View()); }

  static constexpr size_t kMaxSize = (size_t{1} << 31) - 1;

  std::string_view View() const noexcept { return {data_, size_}; }
  operator std::string_view() const noexcept { return View(); }
  const char* data() const noexcept { return data_; }
  size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  // Bytes of its own rather than a view.
  bool IsOwned() const noexcept { return owned_ != 0; }

  friend bool operator==(const DxfValue& a, const DxfValue& b) noexcept { return a.View() == b.View(); }
  friend bool operator==(const DxfValue& a, std::string_view b) noexcept { return a.View() == b; }
  friend bool operator==(const DxfValue& a, const char* b) noexcept { return a.View() == b; }

 private:
  void Copy(std::string_view text);
  void Release() noexcept;
  [[noreturn]] static void TooLong();
  void Forget() noexcept {
    data_ = "";
    size_ = 0;
    owned_ = 0;
  }

  const char* data_;
  uint32_t size_ : 31;
  uint32_t owned_ : 1;
};
#pragma pack(pop)

std::ostream& operator<<(std::ostream& out, const DxfValue& value);

// One pair as it stands in the file. The value stays raw text so that an
// untouched pair is written back byte for byte; it converts one to one to a
// group-code chain node.
struct DxfPair {
  int16_t code = 0;
  DxfValue value;
};
static_assert(sizeof(DxfPair) == 14, "a pair is kept in 14 bytes");
using PairList = std::vector<DxfPair, PairAllocator<DxfPair>>;

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
inline std::string_view TrimDxf(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return text.substr(b, e - b);
}

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
