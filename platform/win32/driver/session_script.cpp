#include "platform/win32/driver/session_script.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/win32/code_page.h"

namespace {

struct KeywordRegistry {
  std::mutex mutex;
  std::map<std::string, ScriptArgumentCheck, std::less<>> checks;
};

bool Numbers(const std::vector<std::string>& args, size_t from, size_t to, std::string* why) {
  for (size_t i = from; i < to && i < args.size(); ++i) {
    double v = 0;
    if (!ParseScriptNumber(args[i], &v)) {
      *why = "'" + args[i] + "' is not a number";
      return false;
    }
  }
  return true;
}

bool Handle(const std::string& arg, std::string* why) {
  uint64_t h = 0;
  if (ParseScriptHandle(arg, &h)) return true;
  *why = "'" + arg + "' is not an entity handle";
  return false;
}

bool Count(const std::vector<std::string>& args, size_t least, size_t most, std::string* why) {
  if (args.size() >= least && args.size() <= most) return true;
  if (least == most)
    *why = "takes " + std::to_string(least) + (least == 1 ? " argument" : " arguments");
  else if (most == SIZE_MAX)
    *why = "takes at least " + std::to_string(least) + (least == 1 ? " argument" : " arguments");
  else
    *why = "takes " + std::to_string(least) + " to " + std::to_string(most) + " arguments";
  return false;
}

KeywordRegistry& Registry() {
  static KeywordRegistry* registry = [] {
    auto* r = new KeywordRegistry;
    r->checks["select"] = [](const std::vector<std::string>& a, std::string* why) {
      if (!Count(a, 1, SIZE_MAX, why)) return false;
      for (const auto& h : a)
        if (!Handle(h, why)) return false;
      return true;
    };
    r->checks["select-window"] = [](const std::vector<std::string>& a, std::string* why) {
      return Count(a, 4, 4, why) && Numbers(a, 0, 4, why);
    };
    r->checks["pick"] = [](const std::vector<std::string>& a, std::string* why) {
      if (a.size() == 2) {
        *why = "takes a handle and optionally the pick point X Y";
        return false;
      }
      return Count(a, 1, 3, why) && Handle(a[0], why) && Numbers(a, 1, 3, why);
    };
    r->checks["point"] = [](const std::vector<std::string>& a, std::string* why) {
      return Count(a, 2, 3, why) && Numbers(a, 0, 3, why);
    };
    r->checks["cancel"] = [](const std::vector<std::string>& a, std::string* why) {
      return Count(a, 0, 0, why);
    };
    r->checks["answer"] = [](const std::vector<std::string>& a, std::string* why) {
      if (!Count(a, 1, 1, why)) return false;
      for (const char* word : {"ok", "cancel", "yes", "no", "abort", "retry", "ignore", "tryagain",
                               "continue"})
        if (a[0] == word) return true;
      *why = "'" + a[0] + "' is not a button (ok, cancel, yes, no, abort, retry, ignore, tryagain, continue)";
      return false;
    };
    r->checks["file"] = [](const std::vector<std::string>& a, std::string* why) {
      if (!Count(a, 1, 1, why)) return false;
      if (a[0].empty()) {
        *why = "needs a file name";
        return false;
      }
      return true;
    };
    return r;
  }();
  return *registry;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits a line into words; false with the reason for an open quote.
bool SplitLine(std::string_view line, std::vector<std::string>& words, std::string& text,
               std::string* why) {
  size_t i = 0;
  size_t end = line.size();
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') {
      end = i;
      break;
    }
    std::string word;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char q = line[i++];
        if (q == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          word += line[i++];
        } else if (q == '"') {
          closed = true;
          break;
        } else {
          word += q;
        }
      }
      if (!closed) {
        *why = "a quoted argument is not closed";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
             line[i] != '#')
        word += line[i++];
    }
    words.push_back(std::move(word));
  }
  text = std::string(Trim(line.substr(0, end)));
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

bool RegisterSessionKeyword(const std::string& keyword, ScriptArgumentCheck check) {
  KeywordRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  std::string key = Lower(keyword);
  if (key.empty() || r.checks.count(key)) return false;
  r.checks[key] = check ? std::move(check)
                        : ScriptArgumentCheck([](const std::vector<std::string>&, std::string*) { return true; });
  return true;
}

bool IsSessionKeyword(std::string_view keyword) {
  KeywordRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  return r.checks.find(Lower(std::string(keyword))) != r.checks.end();
}

bool ParseScriptNumber(std::string_view text, double* out) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
  if (out) *out = v;
  return true;
}

bool ParseScriptHandle(std::string_view text, uint64_t* out) {
  if (text.empty() || text.size() > 16) return false;
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
  if (ec != std::errc() || end != text.data() + text.size() || v == 0) return false;
  if (out) *out = v;
  return true;
}

bool SessionScript::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    Clear();
    if (error) *error = path + ": cannot read the script";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  return LoadText(text.str(), folder, error, path);
}

bool SessionScript::LoadText(std::string_view text, const std::string& folder, std::string* error,
                             const std::string& name) {
  Clear();
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<ScriptLine> lines;
  int number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    std::string_view raw = text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
    pos = eol == std::string_view::npos ? text.size() : eol + 1;
    ++number;
    std::vector<std::string> words;
    ScriptLine line;
    line.number = number;
    std::string why;
    bool ok = SplitLine(raw, words, line.text, &why);
    if (ok && words.empty()) continue;
    if (ok) {
      line.keyword = Lower(words.front());
      line.args.assign(words.begin() + 1, words.end());
      ScriptArgumentCheck check;
      {
        KeywordRegistry& r = Registry();
        std::lock_guard lock(r.mutex);
        auto it = r.checks.find(line.keyword);
        if (it != r.checks.end()) check = it->second;
      }
      if (!check) {
        why = "unknown keyword '" + words.front() + "'";
        ok = false;
      } else if (!check(line.args, &why)) {
        why = line.keyword + " " + why;
        ok = false;
      }
    }
    if (!ok) {
      if (error) *error = name + " line " + std::to_string(number) + ": " + why;
      return false;
    }
    lines.push_back(std::move(line));
  }
  lines_ = std::move(lines);
  folder_ = folder;
  name_ = name;
  loaded_ = true;
  return true;
}

void SessionScript::Clear() {
  loaded_ = false;
  name_.clear();
  folder_.clear();
  lines_.clear();
  next_ = 0;
  unanswered_.clear();
  errors_.clear();
}

const ScriptLine* SessionScript::Peek() const { return next_ < lines_.size() ? &lines_[next_] : nullptr; }

bool SessionScript::NextIs(std::initializer_list<std::string_view> keywords) const {
  const ScriptLine* line = Peek();
  if (!line) return false;
  for (std::string_view k : keywords)
    if (line->keyword == k) return true;
  return false;
}

std::optional<ScriptLine> SessionScript::Take(std::initializer_list<std::string_view> keywords) {
  if (!NextIs(keywords)) return std::nullopt;
  return lines_[next_++];
}

std::optional<ScriptLine> SessionScript::TakeFor(std::initializer_list<std::string_view> keywords,
                                                 const std::string& call) {
  std::optional<ScriptLine> line = Take(keywords);
  if (!line) ReportUnanswered(call);
  return line;
}

void SessionScript::ReportUnanswered(const std::string& call) {
  if (const ScriptLine* line = Peek())
    unanswered_.push_back(call + ": script line " + std::to_string(line->number) + " is \"" +
                          line->text + "\"");
  else if (loaded_)
    unanswered_.push_back(call + ": the script has no more lines");
  else
    unanswered_.push_back(call + ": no script");
}

void SessionScript::ReportError(const ScriptLine& line, const std::string& message) {
  errors_.push_back("line " + std::to_string(line.number) + ": " + message);
}

std::vector<ScriptLine> SessionScript::Remaining() const {
  return std::vector<ScriptLine>(lines_.begin() + static_cast<std::ptrdiff_t>(next_), lines_.end());
}

std::string SessionScript::ResolveFile(const std::string& path) const {
  std::string joined = path;
  bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
  if (!absolute && !folder_.empty()) joined = folder_ + "/" + path;
  return Utf8ToCp1250(joined);
}

SessionScript& CurrentSessionScript() {
  static SessionScript* script = new SessionScript;
  return *script;
}
