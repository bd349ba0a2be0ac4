#include "platform/host/DxfTextCuts.h"

#include <algorithm>
#include <cstdint>
#include <climits>
#include <cstring>
#include <optional>

#include "platform/host/DxfGroupText.h"
#include "platform/host/ParallelTasks.h"

namespace host {
namespace {

// Where the line after the one holding text[at] starts; nullopt when that
// line is the last.
std::optional<size_t> NextLineStart(std::string_view text, size_t at) {
  for (; at < text.size(); ++at) {
    char c = text[at];
    if (c == '\n') return at + 1;
    if (c == '\r') return at + 1 < text.size() && text[at + 1] == '\n' ? at + 2 : at + 1;
  }
  return std::nullopt;
}

bool InRun(std::string_view type) {
  return SameName(type, "VERTEX") || SameName(type, "ATTRIB") || SameName(type, "SEQEND");
}

int AddLines(int line, size_t more) {
  return static_cast<int>(std::min<size_t>(static_cast<size_t>(line) + more, INT_MAX));
}

// The first object start from the code line at pos on (lines before it)
// that starts before `limit` and outside a run; failing one within `look`
// bytes, the first VERTEX or ATTRIB.
std::optional<DxfTextCut> ObjectFrom(std::string_view text, size_t pos, int line, size_t limit,
                                     size_t look) {
  DxfTokenReader reader(text);
  reader.Seek(pos, line);
  DxfToken token;
  std::optional<DxfTextCut> inRun;
  for (;;) {
    DxfTextCut at{reader.Position(), reader.Line()};
    if (at.pos >= limit || !reader.Next(token, nullptr)) return inRun;
    if (token.code != 0) continue;
    const std::string_view type = TrimDxf(token.value);
    if (!InRun(type)) return at;
    if (!inRun && !SameName(type, "SEQEND")) inRun = at;
    if (inRun && at.pos - inRun->pos >= look) return inRun;
  }
}

}  // namespace

size_t CountLineEnds(std::string_view text, size_t from, size_t to) {
  const char* begin = text.data() + from;
  const char* end = text.data() + to;
  size_t ends = 0;
  // Eight bytes at a time: a 1 in the low bit of each byte that is LF,
  // exactly, summed into the top byte by the multiplication.
  constexpr uint64_t kLows = 0x7F7F7F7F7F7F7F7Full, kLf = 0x0A0A0A0A0A0A0A0Aull,
                     kOnes = 0x0101010101010101ull;
  const char* p = begin;
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    word ^= kLf;
    const uint64_t lf = (~(((word & kLows) + kLows) | word | kLows)) >> 7;
    ends += static_cast<size_t>((lf * kOnes) >> 56);
  }
  ends += static_cast<size_t>(std::count(p, end, '\n'));
  for (const char* cr = begin; (cr = static_cast<const char*>(std::memchr(cr, '\r', end - cr)));
       ++cr)
    if (cr + 1 == text.data() + text.size() || cr[1] != '\n') ++ends;
  return ends;
}

std::vector<DxfTextCut> CutAtObjects(std::string_view text, DxfTextCut first, size_t parts,
                                     unsigned threads) {
  std::vector<DxfTextCut> cuts{first};
  if (parts < 2 || first.pos >= text.size()) return cuts;
  const size_t span = text.size() - first.pos;
  std::vector<size_t> bounds(parts + 1), ends(parts, 0);
  for (size_t i = 0; i <= parts; ++i) bounds[i] = first.pos + span / parts * i + span % parts * i / parts;
  RunTasks(parts - 1, threads, [&](size_t i) { ends[i] = CountLineEnds(text, bounds[i], bounds[i + 1]); });
  // Each bound looks for its cut up to where the next one starts looking: a
  // run of VERTEX or ATTRIB objects over many bounds is read once, not once
  // for each bound it holds (those bounds give no cut).
  std::vector<std::optional<DxfTextCut>> found(parts);
  size_t before = 0;  // line ends from first.pos to bounds[i]
  std::vector<std::pair<size_t, int>> starts(parts, {std::string_view::npos, 0});
  for (size_t i = 1; i < parts; ++i) {
    before += ends[i - 1];
    // The line after the one the bound falls in, and then a code line: the
    // lines from first.pos alternate code and value.
    std::optional<size_t> start = NextLineStart(text, bounds[i]);
    size_t lines = before + 1;
    if (start && lines % 2 == 1) {
      start = NextLineStart(text, *start);
      ++lines;
    }
    if (!start) break;
    starts[i] = {*start, AddLines(first.line, lines)};
  }
  RunTasks(parts - 1, threads, [&](size_t k) {
    const size_t i = k + 1;
    if (starts[i].first != std::string_view::npos)
      found[i] = ObjectFrom(text, starts[i].first, starts[i].second,
                            i + 1 < parts ? std::min(starts[i + 1].first, text.size()) : text.size(),
                            span / parts / 32);
  });
  for (size_t i = 1; i < parts; ++i)
    if (found[i] && found[i]->pos > cuts.back().pos) cuts.push_back(*found[i]);
  return cuts;
}

}  // namespace host
