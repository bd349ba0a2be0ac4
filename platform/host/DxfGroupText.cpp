#include "platform/host/DxfGroupText.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>

namespace host {
namespace {

bool OnlyBlankLeft(std::string_view text, size_t pos) {
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  }
  return true;
}

// A short, printable quotation of a bad line for the error message.
std::string Quote(std::string_view line) {
  std::string out = "'";
  for (char c : line.substr(0, 24)) {
    auto u = static_cast<unsigned char>(c);
    out += (u < 0x20 || u == 0x7F) ? '?' : c;
  }
  if (line.size() > 24) out += "...";
  return out + "'";
}

// The code right-aligned in three columns; returns the length written.
size_t FormatCode(int code, char* out) {
  if (code >= 0 && code < 1000) {
    out[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
    out[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
    out[2] = static_cast<char>('0' + code % 10);
    return 3;
  }
  char digits[16];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, code);
  (void)ec;
  size_t width = static_cast<size_t>(end - digits);
  size_t pad = width < 3 ? 3 - width : 0;
  std::memset(out, ' ', pad);
  std::memcpy(out + pad, digits, width);
  return pad + width;
}

// A group code: an optional sign and decimal digits, as other readers read
// an int; false when that is not all of the text or the number does not
// fit an int.
bool ParseCode(std::string_view text, int& code) {
  const char* p = text.data();
  const char* end = p + text.size();
  bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  if (p == end) return false;
  while (end - p > 1 && *p == '0') ++p;  // leading zeros count for nothing
  if (end - p > 10) return false;
  int64_t value = 0;
  for (; p < end; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return false;
  code = static_cast<int>(value);
  return true;
}

}  // namespace

DxfTokenReader::DxfTokenReader(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

// Next line of text: the line without its end; the position moves past the
// end (LF, CRLF or a lone CR).
std::string_view DxfTokenReader::NextLine() {
  const char* begin = text_.data() + pos_;
  const char* end = text_.data() + text_.size();
  const char* p = begin;
  // Eight bytes at a time while they last: a byte of a word is a line end
  // when the word XOR that byte repeated has a zero byte there.
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    uint64_t lf = word ^ (kOnes * '\n'), cr = word ^ (kOnes * '\r');
    if (((lf - kOnes) & ~lf & kHighs) | ((cr - kOnes) & ~cr & kHighs)) break;
  }
  while (p < end && *p != '\n' && *p != '\r') ++p;
  std::string_view line(begin, static_cast<size_t>(p - begin));
  if (p < end) {
    ++p;
    if (p[-1] == '\r' && p < end && *p == '\n') ++p;
  }
  pos_ = static_cast<size_t>(p - text_.data());
  if (line_ < INT_MAX) ++line_;
  return line;
}

namespace {

// The usual code line at text[pos]: padding, at most five digits, padding
// and a line end. Gives the code and moves pos past the line; false, with
// pos unchanged, for anything else.
bool QuickCode(std::string_view text, size_t& pos, int& code) {
  const char* p = text.data() + pos;
  const char* end = text.data() + text.size();
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  const char* digits = p;
  int value = 0;
  while (p < end && p - digits < 5 && *p >= '0' && *p <= '9') value = value * 10 + (*p++ - '0');
  if (p == digits) return false;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  if (p == end) return false;
  if (*p == '\n') {
    ++p;
  } else if (*p == '\r') {
    ++p;
    if (p < end && *p == '\n') ++p;
  } else {
    return false;
  }
  if (value > INT16_MAX) return false;
  code = value;
  pos = static_cast<size_t>(p - text.data());
  return true;
}

}  // namespace

bool DxfTokenReader::Next(DxfToken& token, DxfError* error) {
  if (done_ || failed_) return false;
  if (pos_ >= text_.size() || OnlyBlankLeft(text_, pos_)) {
    done_ = true;
    return false;
  }
  int code = 0;
  if (QuickCode(text_, pos_, code)) {
    if (line_ < INT_MAX) ++line_;
    if (pos_ < text_.size()) {
      token.code = static_cast<int16_t>(code);
      token.line = line_;
      token.value = NextLine();
      if (code == 0 && TrimDxf(token.value) == "EOF") done_ = true;
      return true;
    }
    failed_ = true;
    return Fail(error, "group code " + std::to_string(code) + " has no value (file truncated?)",
                line_);
  }
  std::string_view codeLine = TrimDxf(NextLine());
  int line = line_;
  if (!ParseCode(codeLine, code)) {
    failed_ = true;
    if (codeLine.empty()) return Fail(error, "group code expected, found an empty line", line);
    return Fail(error, "group code expected, found " + Quote(codeLine), line);
  }
  if (code < INT16_MIN || code > INT16_MAX) {
    failed_ = true;
    return Fail(error, "group code " + std::string(codeLine) + " is out of range", line);
  }
  if (pos_ >= text_.size()) {
    failed_ = true;
    return Fail(error, "group code " + std::to_string(code) + " has no value (file truncated?)",
                line);
  }
  token.code = static_cast<int16_t>(code);
  token.line = line;
  token.value = NextLine();
  if (code == 0 && TrimDxf(token.value) == "EOF") done_ = true;
  return true;
}

bool DxfTokenReader::RestIsWellFormed(DxfError* error) {
  DxfToken token;
  while (Next(token, error)) {
  }
  return !failed_;
}

bool TokenizeDxf(std::string_view text, std::vector<DxfToken>& out, DxfError* error) {
  out.clear();
  DxfTokenReader reader(text);
  DxfToken token;
  while (reader.Next(token, error)) out.push_back(token);
  return !reader.Failed();
}

bool ParsePairs(std::string_view text, PairList& out, DxfError* error) {
  out.clear();
  DxfTokenReader reader(text);
  DxfToken token;
  while (reader.Next(token, error)) {
    if (token.code == 0 && TrimDxf(token.value) == "EOF") break;
    out.push_back({token.code, token.value});
  }
  if (reader.Failed()) out.clear();
  return !reader.Failed();
}

void AppendPair(std::string& out, int code, std::string_view value, std::string_view lineEnd) {
  char buffer[16];
  out.append(buffer, FormatCode(code, buffer));
  out += lineEnd;
  out += value;
  out += lineEnd;
}

std::string FormatPairs(const PairList& pairs) {
  std::string out;
  for (const DxfPair& p : pairs) AppendPair(out, p.code, p.value, "\n");
  return out;
}

DxfPairWriter::DxfPairWriter(std::string_view lineEnd, Sink sink)
    : lineEnd_{'\r', '\n'},
      lineEndSize_(lineEnd == "\r\n" ? 2 : 1),
      sink_(std::move(sink)),
      buffer_(new char[kSize + kFixed]) {
  if (lineEndSize_ == 1) lineEnd_[0] = '\n';
}

DxfPairWriter::~DxfPairWriter() = default;

const DxfPairWriter::CodeText& DxfPairWriter::CodeTextOf(int code) {
  // The codes drawings use, formatted once.
  constexpr int kTable = 2000;
  static const std::unique_ptr<CodeText[]> table = [] {
    auto t = std::make_unique<CodeText[]>(kTable);
    for (int c = 0; c < kTable; ++c) {
      std::memset(t[c].text, ' ', sizeof t[c].text);
      t[c].size = FormatCode(c, t[c].text);
    }
    return t;
  }();
  if (code >= 0 && code < kTable) return table[code];
  rare_.size = FormatCode(code, rare_.text);
  return rare_;
}

void DxfPairWriter::PutLong(int code, std::string_view value) {
  Flush();
  if (value.size() + kFixed <= kSize) return Put(code, value);
  // A value longer than the buffer goes to the sink as it is.
  Put(code, "");
  used_ -= lineEndSize_;
  Flush();
  if (!failed_ && !sink_(value)) failed_ = true;
  std::memcpy(buffer_.get(), lineEnd_, 2);
  used_ = lineEndSize_;
}

void DxfPairWriter::Flush() {
  if (used_ > 0 && !failed_ && !sink_(std::string_view(buffer_.get(), used_))) failed_ = true;
  used_ = 0;
}

bool DxfPairWriter::Finish() {
  Flush();
  return !failed_;
}

}  // namespace host
