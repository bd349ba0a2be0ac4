// Group-code/value pairs as the host's drawing keeps them, and the small
// value conversions shared by its reader and writer.
#pragma once

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/PairArena.h"

namespace host {

// A pair's value: raw text, code page 1250 inside the model. A value read
// from a file is a view of the text the drawing keeps from its load for as
// long as it (or a clone of it) lives, as is a value the host wrote into
// the drawing from a plug-in's chain (of the bytes it keeps with the
// drawing's written pair lists); every other value, and every copy, holds
// its own bytes, so a copy is safe anywhere.
//
// One word on 2-byte alignment, so that a pair takes 10 bytes: a large
// drawing holds millions, and every byte of them is a page to clear on
// load. The word holds the address (user addresses fit in 48 bits), the
// size up to kLongSize and whether the bytes are the value's own. A value
// of kLongSize bytes or more is always its own, its size in a word before
// its bytes.
#pragma pack(push, 2)
class DxfValue {
 public:
  DxfValue() noexcept : bits_(Pack("", 0, false)) {}
  DxfValue(std::string_view text) { Copy(text); }
  DxfValue(const char* text) { Copy(text ? std::string_view(text) : std::string_view()); }
  DxfValue(const std::string& text) { Copy(text); }
  DxfValue(const DxfValue& other) { Copy(other.View()); }
  DxfValue(DxfValue&& other) noexcept : bits_(other.bits_) { other.Forget(); }
  DxfValue& operator=(const DxfValue& other);
  // Inline: lists move their values one by one when a pair is put in or
  // taken out before them.
  DxfValue& operator=(DxfValue&& other) noexcept {
    if (this != &other) {
      if (IsOwned()) Release();
      bits_ = other.bits_;
      other.Forget();
    }
    return *this;
  }
  DxfValue& operator=(std::string_view text) { return *this = DxfValue(text); }
  DxfValue& operator=(const char* text) { return *this = DxfValue(text); }
  DxfValue& operator=(const std::string& text) { return *this = DxfValue(text); }
  ~DxfValue() {
    if (IsOwned()) Release();
  }

  // A view of text that the drawing holding the value keeps alive (at most
  // kMaxSize bytes); text too long for a view is copied.
  static DxfValue Borrow(std::string_view text) {
    DxfValue value;
    if (text.size() >= kLongSize) {
      value.Copy(text);
    } else if (!text.empty()) {
      CheckAddress(text.data());
      value.bits_ = Pack(text.data(), text.size(), false);
    }
    return value;
  }
  // A view whose bytes were moved to `to` by the drawing keeping them.
  void MovedTo(const char* to) noexcept {
    if (!IsOwned() && ShortSize()) bits_ = Pack(to, ShortSize(), false);
  }
  // For a copy inside a drawing that keeps the same text: a view stays a
  // view, owned bytes are copied.
  DxfValue Share() const { return IsOwned() ? DxfValue(View()) : Borrow(View()); }
  // Takes text, in the bytes it owns when they are as many (a value
  // rewritten thousands of times then asks for no memory each time).
  void Set(std::string_view text) {
    const size_t size = ShortSize();
    if (IsOwned() && size == text.size() && size != kLongSize) std::memmove(const_cast<char*>(Address()), text.data(), size);
    else *this = DxfValue(text);
  }

  static constexpr size_t kMaxSize = (size_t{1} << 31) - 1;

  std::string_view View() const noexcept {
    const size_t size = ShortSize();
    if (size != kLongSize) return {Address(), size};
    return LongView();
  }
  operator std::string_view() const noexcept { return View(); }
  const char* data() const noexcept { return View().data(); }
  size_t size() const noexcept { return View().size(); }
  bool empty() const noexcept { return ShortSize() == 0; }
  // Bytes of its own rather than a view.
  bool IsOwned() const noexcept { return (bits_ & kOwned) != 0; }

  friend bool operator==(const DxfValue& a, const DxfValue& b) noexcept { return a.View() == b.View(); }
  friend bool operator==(const DxfValue& a, std::string_view b) noexcept { return a.View() == b; }
  friend bool operator==(const DxfValue& a, const char* b) noexcept { return a.View() == b; }

 private:
  static constexpr int kAddressBits = 48;
  static constexpr uint64_t kAddressMask = (uint64_t{1} << kAddressBits) - 1;
  static constexpr uint64_t kOwned = uint64_t{1} << 63;
  static constexpr size_t kLongSize = 0x7FFF;

  static uint64_t Pack(const char* address, size_t size, bool owned) noexcept {
    return reinterpret_cast<uintptr_t>(address) | (uint64_t{size} << kAddressBits) | (owned ? kOwned : 0);
  }
  static void CheckAddress(const char* address) {
    if (reinterpret_cast<uintptr_t>(address) >> kAddressBits) AddressTooHigh();
  }
  const char* Address() const noexcept { return reinterpret_cast<const char*>(bits_ & kAddressMask); }
  size_t ShortSize() const noexcept { return static_cast<size_t>((bits_ >> kAddressBits) & kLongSize); }
  std::string_view LongView() const noexcept;
  void Copy(std::string_view text);
  void Release() noexcept;
  [[noreturn]] static void TooLong();
  [[noreturn]] static void AddressTooHigh();
  void Forget() noexcept { bits_ = Pack("", 0, false); }

  uint64_t bits_;
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
static_assert(sizeof(DxfPair) == 10, "a pair is kept in 10 bytes");
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

// Byte for byte, the usual unequal answer without a call: names and
// handles compared entity after entity differ in their length or their
// last letter ("PIPES_1", "PIPES_2") more often than not.
inline bool SameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  return a.back() == b.back() && std::memcmp(a.data(), b.data(), a.size()) == 0;
}

// Case-insensitive comparison of code page 1250 names (layers, blocks,
// tables and applications are matched this way).
bool SameName(std::string_view a, std::string_view b);

// Handles are upper-case hexadecimal of up to 64 bits; 0 is no handle.
std::optional<uint64_t> ParseHandle(std::string_view text);
std::string FormatHandle(uint64_t handle);
// Whether text is FormatHandle(handle), without making it.
bool IsHandleText(std::string_view text, uint64_t handle);
// Whether text is FormatHandle of the handle it reads as: upper-case
// hexadecimal, no padding, no leading zero.
bool IsOwnHandleText(std::string_view text);

// Numbers in the C locale whatever the process locale is.
std::optional<int64_t> ParseDxfInt(std::string_view text);
std::optional<double> ParseDxfReal(std::string_view text);
// Shortest text that reads back to the same double, always with a decimal
// point or exponent ("1.0", "0.001", "1e+20").
std::string FormatDxfReal(double value);
// The same text into buffer, without an allocation; its length.
constexpr size_t kDxfRealSize = 40;
size_t FormatDxfReal(double value, char (&buffer)[kDxfRealSize]);

}  // namespace host
