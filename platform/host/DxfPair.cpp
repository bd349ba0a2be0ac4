#include "platform/host/DxfPair.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <stdexcept>

#include "platform/win32/code_page.h"

namespace host {

void DxfValue::Copy(std::string_view text) {
  if (text.empty()) {
    Forget();
    return;
  }
  if (text.size() > kMaxSize) TooLong();
  const bool isLong = text.size() >= kLongSize;
  const size_t head = isLong ? sizeof(uint64_t) : 0;
  auto* bytes = static_cast<char*>(std::malloc(head + text.size() + 1));
  if (!bytes) throw std::bad_alloc();
  if (reinterpret_cast<uintptr_t>(bytes) >> kAddressBits) {
    std::free(bytes);
    AddressTooHigh();
  }
  if (isLong) {
    const uint64_t size = text.size();
    std::memcpy(bytes, &size, sizeof size);
  }
  std::memcpy(bytes + head, text.data(), text.size());
  bytes[head + text.size()] = '\0';
  bits_ = Pack(bytes, isLong ? kLongSize : text.size(), true);
}

std::string_view DxfValue::LongView() const noexcept {
  uint64_t size;
  std::memcpy(&size, Address(), sizeof size);
  return {Address() + sizeof size, static_cast<size_t>(size)};
}

void DxfValue::Release() noexcept {
  if (IsOwned()) std::free(const_cast<char*>(Address()));
  Forget();
}

DxfValue& DxfValue::operator=(const DxfValue& other) {
  if (this != &other) {
    DxfValue copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void DxfValue::TooLong() { throw std::length_error("a DXF value longer than 2 GB"); }

void DxfValue::AddressTooHigh() { throw std::bad_alloc(); }

std::ostream& operator<<(std::ostream& out, const DxfValue& value) { return out << value.View(); }

std::string DxfError::ToString() const {
  if (line > 0) return "line " + std::to_string(line) + ": " + message;
  return message;
}

bool Fail(DxfError* error, std::string message, int line) {
  if (error) {
    error->line = line;
    error->message = std::move(message);
  }
  return false;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (SameBytes(a, b)) return true;  // the usual answer, without folding letter by letter
  for (size_t i = 0; i < a.size(); ++i)
    if (Cp1250ToLower(static_cast<unsigned char>(a[i])) !=
        Cp1250ToLower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::optional<uint64_t> ParseHandle(std::string_view text) {
  text = TrimDxf(text);
  // Leading zeros count for nothing: a long handle written with them is
  // still one in use.
  while (text.size() > 1 && text[0] == '0') text.remove_prefix(1);
  if (text.empty() || text.size() > 16) return std::nullopt;
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

namespace {

// The handle's text into buffer; its length.
size_t HandleText(uint64_t handle, char (&buffer)[16]) {
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
  (void)ec;
  for (char* c = buffer; c != end; ++c)
    if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
  return static_cast<size_t>(end - buffer);
}

}  // namespace

std::string FormatHandle(uint64_t handle) {
  char buffer[16];
  return std::string(buffer, HandleText(handle, buffer));
}

bool IsHandleText(std::string_view text, uint64_t handle) {
  char buffer[16];
  return SameBytes(text, std::string_view(buffer, HandleText(handle, buffer)));
}

bool IsOwnHandleText(std::string_view text) {
  if (text.empty() || text.size() > 16 || (text[0] == '0' && text.size() > 1)) return false;
  for (const char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}

std::optional<int64_t> ParseDxfInt(std::string_view text) {
  text = TrimDxf(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseDxfReal(std::string_view text) {
  text = TrimDxf(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

size_t FormatDxfReal(double value, char (&buffer)[kDxfRealSize]) {
  if (!std::isfinite(value)) value = 0.0;  // DXF has no text for these
  if (value == 0.0) value = 0.0;           // no "-0.0"
  auto [end, ec] = std::to_chars(buffer, buffer + kDxfRealSize - 2, value);
  (void)ec;
  const std::string_view text(buffer, static_cast<size_t>(end - buffer));
  if (text.find_first_of(".e") != std::string_view::npos) return text.size();
  *end++ = '.';
  *end++ = '0';
  return static_cast<size_t>(end - buffer);
}

std::string FormatDxfReal(double value) {
  char buffer[kDxfRealSize];
  return std::string(buffer, FormatDxfReal(value, buffer));
}

}  // namespace host
