#include "platform/win32/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/code_page.h"
#include "platform/win32/file_replace.h"
#include "platform/win32/path_resolver.h"
#include "platform/win32/whole_file.h"

namespace {

constexpr DWORD kErrorPathNotFound = 3;
constexpr DWORD kErrorAccessDenied = 5;
constexpr DWORD kErrorWriteFault = 29;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return TrimRight(s);
}


struct Line {
  enum Kind { kOther, kSection, kKey };
  std::string text;  // as in the file, without its line end
  Kind kind = kOther;
  std::string name;   // section or key name, trimmed
  std::string value;  // keys only, trimmed
};

Line ParseLine(std::string_view text) {
  Line line;
  line.text = text;
  std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    t.remove_prefix(1);
    line.kind = Line::kSection;
    line.name = Trim(t.substr(0, t.find(']')));
    return line;
  }
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = Line::kKey;
  line.name = Trim(t.substr(0, eq));
  line.value = Trim(t.substr(eq + 1));
  return line;
}

enum class LoadResult { kLoaded, kMissing, kUnreadable };

LoadResult Load(const std::string& path, std::vector<Line>& lines) {
  lines.clear();
  std::string data;
  switch (win32::ReadWholeFile(path, data)) {
    case win32::WholeFileRead::kMissing: return LoadResult::kMissing;
    case win32::WholeFileRead::kUnreadable: return LoadResult::kUnreadable;
    case win32::WholeFileRead::kRead: break;
  }
  size_t start = 0;
  while (start < data.size()) {
    size_t nl = data.find('\n', start);
    size_t end = nl == std::string::npos ? data.size() : nl;
    std::string_view text(data.data() + start, end - start);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lines.push_back(ParseLine(text));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return LoadResult::kLoaded;
}

// The lines of a file about to be rewritten; false (access denied) when it
// is there but cannot be read, since rewriting it would lose what it holds.
bool LoadForRewrite(const std::string& path, std::vector<Line>& lines) {
  if (Load(path, lines) != LoadResult::kUnreadable) return true;
  SetLastError(kErrorAccessDenied);
  return false;
}

// [begin, end) of the lines of the first section called `name` from index
// `from` on; begin is its header.
bool FindSection(const std::vector<Line>& lines, std::string_view name, size_t from, size_t& begin,
                 size_t& end) {
  name = Trim(name);  // the file's names are read without their blanks
  for (size_t i = from; i < lines.size(); ++i) {
    if (lines[i].kind != Line::kSection || !EqualsIgnoreCase(lines[i].name, name)) continue;
    begin = i;
    end = i + 1;
    while (end < lines.size() && lines[end].kind != Line::kSection) ++end;
    return true;
  }
  return false;
}

size_t FindKey(const std::vector<Line>& lines, size_t begin, size_t end, std::string_view key) {
  key = Trim(key);
  for (size_t i = begin + 1; i < end; ++i)
    if (lines[i].kind == Line::kKey && EqualsIgnoreCase(lines[i].name, key)) return i;
  return std::string::npos;
}

// The value as the readers give it: one pair of enclosing double quotes
// removed.
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

std::optional<std::string> LookUp(LPCSTR section, LPCSTR key, LPCSTR file) {
  std::vector<Line> lines;
  if (!file || Load(ResolvePath(file), lines) != LoadResult::kLoaded) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
  }
  size_t begin, end;
  if (!FindSection(lines, section, 0, begin, end)) return std::nullopt;
  size_t at = FindKey(lines, begin, end, key);
  if (at == std::string::npos) return std::nullopt;
  return std::string(Unquoted(lines[at].value));
}

DWORD CopyText(std::string_view text, LPSTR buffer, DWORD size) {
  size_t n = std::min<size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// NUL after every name and one more at the end; when that does not fit, the
// last name is cut so that the buffer ends in two NULs.
DWORD CopyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  size_t pos = 0;
  for (const std::string& name : names) {
    if (pos + name.size() + 1 > size - 1) {
      size_t room = pos < size - 2 ? size - 2 - pos : 0;
      std::memcpy(buffer + pos, name.data(), room);
      buffer[size - 2] = '\0';
      buffer[size - 1] = '\0';
      return size - 2;
    }
    std::memcpy(buffer + pos, name.data(), name.size());
    pos += name.size();
    buffer[pos++] = '\0';
  }
  buffer[pos] = '\0';
  return static_cast<DWORD>(pos);
}

std::vector<std::string> ListNames(LPCSTR section, LPCSTR file) {
  std::vector<std::string> names;
  std::vector<Line> lines;
  if (!file || Load(ResolvePath(file), lines) != LoadResult::kLoaded) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return names;
  }
  if (!section) {
    for (const Line& line : lines)
      if (line.kind == Line::kSection) names.push_back(line.name);
    return names;
  }
  size_t begin, end;
  if (FindSection(lines, section, 0, begin, end))
    for (size_t i = begin + 1; i < end; ++i)
      if (lines[i].kind == Line::kKey) names.push_back(lines[i].name);
  return names;
}

void SetErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      SetLastError(kErrorPathNotFound);
      break;
    case EACCES:
    case EPERM:
    case EROFS:
      SetLastError(kErrorAccessDenied);
      break;
    default:
      SetLastError(kErrorWriteFault);
  }
}

// Writes the whole file beside the old one and renames it over, so that
// readers and a crash only ever see the old or the new file.
bool Save(const std::string& path, const std::vector<Line>& lines) {
  std::string data;
  for (const Line& line : lines) {
    data += line.text;
    data += "\r\n";
  }
  if (win32::ReplaceFileContents(path, data)) return true;
  SetErrorFromErrno(errno);
  return false;
}

// Index after the last non-blank line of the section [begin, end), where a
// new key goes so that blank lines before the next section stay there.
size_t EndOfContent(const std::vector<Line>& lines, size_t begin, size_t end) {
  size_t at = end;
  while (at > begin + 1 && Trim(lines[at - 1].text).empty()) --at;
  return at;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR file) {
  if (!buffer || size == 0) return 0;
  if (!section || !key) return CopyList(ListNames(section, file), buffer, size);
  if (std::optional<std::string> value = LookUp(section, key, file))
    return CopyText(*value, buffer, size);
  return CopyText(TrimRight(defaultValue ? defaultValue : ""), buffer, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  if (!section) {
    // All three null asks to flush a cache; there is none.
    if (!key && !value) return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!file) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string path = ResolvePath(file);
  std::vector<Line> lines;
  if (!LoadForRewrite(path, lines)) return FALSE;
  bool changed = false;
  size_t begin, end;
  if (!key) {
    size_t from = 0;
    while (FindSection(lines, section, from, begin, end)) {
      lines.erase(lines.begin() + static_cast<ptrdiff_t>(begin),
                  lines.begin() + static_cast<ptrdiff_t>(end));
      from = begin;
      changed = true;
    }
  } else if (!value) {
    if (FindSection(lines, section, 0, begin, end)) {
      for (size_t i = end; i-- > begin + 1;) {
        if (lines[i].kind == Line::kKey && EqualsIgnoreCase(lines[i].name, Trim(key))) {
          lines.erase(lines.begin() + static_cast<ptrdiff_t>(i));
          changed = true;
        }
      }
    }
  } else if (FindSection(lines, section, 0, begin, end)) {
    size_t at = FindKey(lines, begin, end, key);
    if (at != std::string::npos) {
      std::string text = lines[at].name + "=" + value;
      if (text != lines[at].text) {
        lines[at] = ParseLine(text);
        changed = true;
      }
    } else {
      lines.insert(lines.begin() + static_cast<ptrdiff_t>(EndOfContent(lines, begin, end)),
                   ParseLine(std::string(Trim(key)) + "=" + value));
      changed = true;
    }
  } else {
    lines.push_back(ParseLine("[" + std::string(Trim(section)) + "]"));
    lines.push_back(ParseLine(std::string(Trim(key)) + "=" + value));
    changed = true;
  }
  if (!changed) return TRUE;
  return Save(path, lines) ? TRUE : FALSE;
}

DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
  if (!buffer || size == 0) return 0;
  std::vector<std::string> entries;
  std::vector<Line> lines;
  size_t begin, end;
  if (section && file && Load(ResolvePath(file), lines) == LoadResult::kLoaded &&
      FindSection(lines, section, 0, begin, end)) {
    for (size_t i = begin + 1; i < end; ++i) {
      if (lines[i].kind == Line::kKey) {
        entries.push_back(lines[i].name + "=" + lines[i].value);
        continue;
      }
      const std::string_view text = Trim(lines[i].text);
      if (!text.empty() && text.front() != ';') entries.emplace_back(text);
    }
  }
  return CopyList(entries, buffer, size);
}

BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR entries, LPCSTR file) {
  if (!section || !entries || !file) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string path = ResolvePath(file);
  std::vector<Line> lines;
  if (!LoadForRewrite(path, lines)) return FALSE;
  std::vector<Line> body;
  for (const char* entry = entries; *entry; entry += std::strlen(entry) + 1) body.push_back(ParseLine(entry));
  size_t begin, end;
  if (FindSection(lines, section, 0, begin, end)) {
    // Blank lines before the next section stay where they are.
    const size_t content = EndOfContent(lines, begin, end);
    lines.erase(lines.begin() + static_cast<ptrdiff_t>(begin + 1), lines.begin() + static_cast<ptrdiff_t>(content));
    lines.insert(lines.begin() + static_cast<ptrdiff_t>(begin + 1), body.begin(), body.end());
  } else {
    lines.push_back(ParseLine("[" + std::string(Trim(section)) + "]"));
    lines.insert(lines.end(), body.begin(), body.end());
  }
  return Save(path, lines) ? TRUE : FALSE;
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR file) {
  if (!section || !key) return static_cast<UINT>(defaultValue);
  std::optional<std::string> value = LookUp(section, key, file);
  if (!value || value->empty()) return static_cast<UINT>(defaultValue);
  const char* p = value->c_str();
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  UINT result = 0;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    for (p += 2;; ++p) {
      int digit = *p >= '0' && *p <= '9'   ? *p - '0'
                  : *p >= 'a' && *p <= 'f' ? *p - 'a' + 10
                  : *p >= 'A' && *p <= 'F' ? *p - 'A' + 10
                                           : -1;
      if (digit < 0) break;
      result = result * 16 + static_cast<UINT>(digit);
    }
  } else {
    for (; *p >= '0' && *p <= '9'; ++p) result = result * 10 + static_cast<UINT>(*p - '0');
  }
  return negative ? 0u - result : result;
}
