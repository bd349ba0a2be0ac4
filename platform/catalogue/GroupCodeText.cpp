#include "platform/catalogue/GroupCodeText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "dataformat/GroupCodeClass.h"
#include "dataformat/HeapCopy.h"

namespace jovDatabase {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The codes a DXF file may hold, with the value kinds the chain code gives
// them. Codes without a named range and the result-buffer codes outside
// 0..1071 are no DXF group codes.
uint32_t ClassOf(int code) {
  if (code < 0 || code > 1071) return GC_CLASS_NONE;
  const uint32_t word = GetGroupCodeClass(code);
  return word & GC_FLAG_UNNAMED ? GC_CLASS_NONE : word;
}

uint32_t KindOf(int code) { return GroupCodeKind(ClassOf(code)); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// from_chars takes no leading '+', which DXF writers sometimes emit.
std::string_view SkipPlus(std::string_view s) {
  if (s.size() > 1 && s.front() == '+' && s[1] != '-') s.remove_prefix(1);
  return s;
}

bool ParseInteger(std::string_view s, int64_t lo, int64_t hi, int64_t& out) {
  s = SkipPlus(Trim(s));
  if (s.empty()) return false;
  int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

// Locale-independent: the value text always has a '.' decimal point.
bool ParseReal(std::string_view s, double& out) {
  s = SkipPlus(Trim(s));
  if (s.empty()) return false;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class PairReader {
 public:
  explicit PairReader(const char* text) : rest_(text ? text : "") {}

  bool AtEnd() const { return Trim(StripLineEnds(rest_)).empty(); }

  // Reads a code line and its value line. False at a malformed pair; the
  // reader's error tells why.
  bool Next(int& code, std::string_view& value) {
    std::string_view codeLine;
    if (!TakeLine(codeLine)) return Fail("missing group code");
    codeLine_ = line_;
    int64_t c = 0;
    if (!ParseInteger(codeLine, std::numeric_limits<int16_t>::min(),
                      std::numeric_limits<int16_t>::max(), c))
      return Fail("group code is not a number");
    if (!TakeLine(value)) return Fail("group code without a value");
    code = static_cast<int>(c);
    return true;
  }

  // The code of the next pair, without consuming it; -1 when none reads.
  int PeekCode() const {
    PairReader copy = *this;
    int code = 0;
    std::string_view value;
    return copy.Next(code, value) ? code : -1;
  }

  // At the line last read, or at the code line of the pair last read.
  bool Fail(const char* what) { return FailAt(line_, what); }
  bool FailAtCode(const char* what) { return FailAt(codeLine_, what); }
  const std::string& Error() const { return error_; }

 private:
  static std::string_view StripLineEnds(std::string_view s) {
    std::string_view out = s;
    while (!out.empty() && (out.front() == '\r' || out.front() == '\n')) out.remove_prefix(1);
    return out;
  }

  bool TakeLine(std::string_view& line) {
    if (rest_.empty()) return false;
    size_t n = rest_.find('\n');
    line = rest_.substr(0, n);
    rest_ = n == std::string_view::npos ? std::string_view() : rest_.substr(n + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++line_;
    return true;
  }

  bool FailAt(int line, const char* what) {
    error_ = "line " + std::to_string(line) + ": " + what;
    return false;
  }

  std::string_view rest_;
  int line_ = 0;
  int codeLine_ = 0;
  std::string error_;
};

resbuf* NewNode(int code) {
  auto* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (node) node->code = static_cast<int16_t>(code);
  return node;
}

bool FillValue(resbuf* node, uint32_t classWord, std::string_view value, PairReader& reader) {
  int64_t n = 0;
  switch (GroupCodeKind(classWord)) {
    case GC_KIND_TEXT:
      node->value.text = DupString(std::string(value).c_str());
      return node->value.text != nullptr || reader.Fail("out of memory");
    case GC_KIND_INT16:
    case GC_KIND_INT16_B:
    case GC_KIND_FLAG16:
      if (!ParseInteger(value, INT16_MIN, INT16_MAX, n)) return reader.Fail("bad 16-bit value");
      node->value.i16 = static_cast<int16_t>(n);
      return true;
    case GC_KIND_INT32:
      if (!ParseInteger(value, INT32_MIN, INT32_MAX, n)) return reader.Fail("bad 32-bit value");
      node->value.i32 = static_cast<int32_t>(n);
      return true;
    case GC_KIND_INT64:
      if (!ParseInteger(value, INT64_MIN, INT64_MAX, n)) return reader.Fail("bad 64-bit value");
      node->value.i64 = n;
      return true;
    case GC_KIND_REAL:
      if (!ParseReal(value, node->value.real)) return reader.Fail("bad real value");
      // Angles are degrees in the text and radians in a chain, as the
      // host's drawing reader hands them out.
      if (classWord & GC_FLAG_ANGLE) node->value.real *= kPi / 180.0;
      return true;
    case GC_KIND_BINARY: {
      std::string_view hex = Trim(value);
      if (hex.size() % 2 != 0 || hex.size() / 2 > static_cast<size_t>(INT16_MAX))
        return reader.Fail("bad binary chunk");
      std::string bytes(hex.size() / 2, '\0');
      for (size_t i = 0; i < bytes.size(); ++i) {
        int hi = HexDigit(hex[2 * i]), lo = HexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return reader.Fail("bad binary chunk");
        bytes[i] = static_cast<char>(hi * 16 + lo);
      }
      node->value.binary.length = static_cast<int16_t>(bytes.size());
      if (!bytes.empty()) {
        node->value.binary.data = static_cast<unsigned char*>(DupBytes(bytes.data(), bytes.size()));
        if (!node->value.binary.data) return reader.Fail("out of memory");
      }
      return true;
    }
    default:
      break;
  }
  return reader.Fail("not a DXF group code");
}

// x is in value; y (code + 10) must follow, z (code + 20) may.
bool FillPoint(resbuf* node, int code, std::string_view value, PairReader& reader) {
  if (!ParseReal(value, node->value.point[0])) return reader.Fail("bad x coordinate");
  int next = 0;
  std::string_view coordinate;
  if (reader.PeekCode() != code + 10) return reader.FailAtCode("point without its y coordinate");
  reader.Next(next, coordinate);
  if (!ParseReal(coordinate, node->value.point[1])) return reader.Fail("bad y coordinate");
  if (reader.PeekCode() == code + 20) {
    reader.Next(next, coordinate);
    if (!ParseReal(coordinate, node->value.point[2])) return reader.Fail("bad z coordinate");
  }
  return true;
}

}  // namespace

bool ParseGroupCodeText(const char* text, resbuf** out, std::string* error) {
  if (!out) return false;
  *out = nullptr;
  PairReader reader(text);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  bool ok = true;
  while (ok && !reader.AtEnd()) {
    int code = 0;
    std::string_view value;
    if (!reader.Next(code, value)) {
      ok = false;
      break;
    }
    const uint32_t classWord = ClassOf(code);
    if (GroupCodeKind(classWord) == GC_KIND_NONE) {
      ok = reader.FailAtCode("not a DXF group code");
      break;
    }
    resbuf* node = NewNode(code);
    if (!node) {
      ok = reader.Fail("out of memory");
      break;
    }
    *tail = node;  // linked first, so a failure below releases it with the rest
    tail = &node->next;
    ok = GroupCodeKind(classWord) == GC_KIND_POINT ? FillPoint(node, code, value, reader)
                                                   : FillValue(node, classWord, value, reader);
  }
  if (!ok) {
    FreeGroupCodeNodes(head);
    if (error) *error = reader.Error();
    return false;
  }
  *out = head;
  return true;
}

void FreeGroupCodeNodes(resbuf* chain) {
  while (chain) {
    resbuf* next = chain->next;
    const uint32_t kind = KindOf(chain->code);
    if (kind == GC_KIND_TEXT) std::free(chain->value.text);
    if (kind == GC_KIND_BINARY) std::free(chain->value.binary.data);
    std::free(chain);
    chain = next;
  }
}

}  // namespace jovDatabase
