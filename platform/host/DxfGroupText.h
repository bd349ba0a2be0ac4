// DXF group-code text in and out: lines of a code and a value, read with
// any of LF, CRLF or CR as line end.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/DxfPair.h"

namespace host {

// One pair of the input with the line of its group code; the value is a
// view into the text, without its line end.
struct DxfToken {
  int16_t code = 0;
  int line = 0;
  std::string_view value;
};

// Reads text pair by pair up to and including a "0 EOF" pair (or to the
// end of the text: the EOF pair may be missing). A leading UTF-8 byte order
// mark and trailing blank lines are ignored. A group code that is not a
// number of 16 bits, or a code without a value line, is an error naming
// its line.
class DxfTokenReader {
 public:
  explicit DxfTokenReader(std::string_view text);
  // The next pair; false at the end of the data, or on an error, which then
  // sets *error (when given) and Failed().
  bool Next(DxfToken& token, DxfError* error);
  bool Failed() const { return failed_; }
  // Where the next pair's code line starts, and how many lines lie before it.
  size_t Position() const { return pos_; }
  size_t Size() const { return text_.size(); }
  int Line() const { return line_; }
  // Reads on from the code line at pos, with line lines before it: a place
  // Position() and Line() gave, or one found as they would have.
  void Seek(size_t pos, int line) {
    pos_ = pos;
    line_ = line;
    done_ = failed_ = false;
  }
  // Reads on to the end: true when the rest has no error (else *error).
  bool RestIsWellFormed(DxfError* error);

 private:
  std::string_view NextLine();

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 0;
  bool done_ = false;
  bool failed_ = false;
};

// All tokens of the text at once (see DxfTokenReader); false, with the
// line, on the first malformed pair.
bool TokenizeDxf(std::string_view text, std::vector<DxfToken>& out, DxfError* error);

// Group-code text of loose pairs (an entity kept as text, for example) as
// pairs. Values are copied as they stand; a "0 EOF" pair ends the text and
// is not returned.
bool ParsePairs(std::string_view text, PairList& out, DxfError* error);

// Appends one pair: the code right-aligned in three columns as DXF writers
// do, the value, each followed by lineEnd.
void AppendPair(std::string& out, int code, std::string_view value, std::string_view lineEnd);

// Pairs as group-code text with LF line ends.
std::string FormatPairs(const PairList& pairs);

// Writes pairs as AppendPair lays them out through a buffer, handing the
// text to a sink piece by piece; once the sink fails, nothing more is
// handed over. The line end is LF or CRLF.
class DxfPairWriter {
 public:
  using Sink = std::function<bool(std::string_view)>;
  DxfPairWriter(std::string_view lineEnd, Sink sink);
  ~DxfPairWriter();
  DxfPairWriter(const DxfPairWriter&) = delete;
  DxfPairWriter& operator=(const DxfPairWriter&) = delete;

  void Put(int code, std::string_view value) {
    if (used_ + value.size() + kFixed > kSize) return PutLong(code, value);
    char* out = buffer_.get() + used_;
    // Whole words for the short parts: the buffer has room past its end.
    const CodeText& c = CodeTextOf(code);
    std::memcpy(out, c.text, sizeof c.text);
    out += c.size;
    std::memcpy(out, lineEnd_, 2);
    out += lineEndSize_;
    if (!value.empty()) std::memcpy(out, value.data(), value.size());
    out += value.size();
    std::memcpy(out, lineEnd_, 2);
    out += lineEndSize_;
    used_ = static_cast<size_t>(out - buffer_.get());
  }
  // Hands over what is buffered; false when the sink failed at any time.
  bool Finish();

  static constexpr size_t kSize = 256 * 1024;

 private:
  struct CodeText {
    char text[8];  // right-aligned in three columns, as AppendPair writes it
    size_t size;
  };
  static constexpr size_t kFixed = sizeof(CodeText::text) + 4;  // code and two line ends

  const CodeText& CodeTextOf(int code);
  void PutLong(int code, std::string_view value);
  void Flush();

  CodeText rare_{};  // a code outside the table
  char lineEnd_[2];
  size_t lineEndSize_;
  Sink sink_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace host
