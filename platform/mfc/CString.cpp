#include "platform/mfc/CString.h"

#include <locale.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "platform/mfc/module_state.h"
#include "platform/win32/code_page.h"
#include "platform/win32/resources.h"

namespace {

int TextLength(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

std::string_view View(const char* text) { return text ? std::string_view(text) : std::string_view(); }

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Upper-case partners of the code page's lower-case letters, derived from the
// page's lower-case fold so that both directions agree.
const std::array<unsigned char, 256>& UpperTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
    for (int b = 0; b < 256; ++b) {
      unsigned char lower = Cp1250ToLower(static_cast<unsigned char>(b));
      if (lower != b) t[lower] = static_cast<unsigned char>(b);
    }
    return t;
  }();
  return table;
}

// Numbers are formatted in the C locale whatever the process or thread
// locale is: the thread switches to it for the duration of one format.
class CLocaleScope {
 public:
  CLocaleScope() {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (cLocale) m_previous = uselocale(cLocale);
  }
  ~CLocaleScope() {
    if (m_previous) uselocale(m_previous);
  }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t m_previous = static_cast<locale_t>(0);
};

// printf into a fresh text; false when the format cannot be applied.
bool FormatText(CString& out, const char* format, va_list args) {
  if (!format) return false;
  CLocaleScope cLocale;
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (needed < 0) return false;
  char* buffer = out.GetBuffer(needed);
  std::vsnprintf(buffer, static_cast<size_t>(needed) + 1, format, args);
  out.ReleaseBuffer(needed);
  return true;
}

int CompareBytes(std::string_view a, std::string_view b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::string_view View(const CString& text) { return {text.GetString(), static_cast<size_t>(text.GetLength())}; }

}  // namespace

CString::CString(const CString& other) { Assign(other.m_data, other.m_length); }

CString::CString(CString&& other) noexcept
    : m_data(other.m_data), m_length(other.m_length), m_capacity(other.m_capacity) {
  other.m_data = nullptr;
  other.m_length = other.m_capacity = 0;
}

CString::CString(const char* text) { Assign(text, TextLength(text)); }

CString::CString(const unsigned char* text) : CString(reinterpret_cast<const char*>(text)) {}

CString::CString(const char* text, int length) { Assign(text, text && length > 0 ? length : 0); }

CString::CString(char ch, int repeat) {
  if (repeat <= 0) return;
  Reserve(repeat);
  std::memset(m_data, ch, static_cast<size_t>(repeat));
  SetLength(repeat);
}

CString::CString(const WCHAR* text) { *this = text; }

CString::~CString() { delete[] m_data; }

CString& CString::operator=(const CString& other) {
  if (this != &other) Assign(other.m_data, other.m_length);
  return *this;
}

CString& CString::operator=(CString&& other) noexcept {
  if (this != &other) {
    delete[] m_data;
    m_data = other.m_data;
    m_length = other.m_length;
    m_capacity = other.m_capacity;
    other.m_data = nullptr;
    other.m_length = other.m_capacity = 0;
  }
  return *this;
}

CString& CString::operator=(const char* text) {
  Assign(text, TextLength(text));
  return *this;
}

CString& CString::operator=(const unsigned char* text) {
  return *this = reinterpret_cast<const char*>(text);
}

CString& CString::operator=(char ch) {
  Assign(&ch, 1);
  return *this;
}

CString& CString::operator=(const WCHAR* text) {
  if (!text || !*text) {
    SetLength(0);
    return *this;
  }
  const int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 1) {
    SetLength(0);
    return *this;
  }
  CString converted;
  char* buffer = converted.GetBuffer(needed - 1);
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, needed, nullptr, nullptr);
  converted.ReleaseBuffer(needed - 1);
  return *this = std::move(converted);
}

void CString::Assign(const char* text, int length) {
  if (length <= 0 || !text) {
    SetLength(0);
    return;
  }
  if (Holds(text)) {
    // The text lies in this very buffer: move it down in place.
    std::memmove(m_data, text, static_cast<size_t>(length));
  } else {
    Reserve(length);
    std::memcpy(m_data, text, static_cast<size_t>(length));
  }
  SetLength(length);
}

bool CString::Holds(const char* text) const {
  const std::less<const char*> before;
  return m_data && !before(text, m_data) && !before(m_data + m_capacity, text);
}

void CString::Reserve(int capacity) {
  if (capacity <= m_capacity && m_data) return;
  int grown = m_capacity < std::numeric_limits<int>::max() / 2 ? m_capacity * 2 : capacity;
  const int newCapacity = std::max({capacity, grown, 15});
  char* data = new char[static_cast<size_t>(newCapacity) + 1]();
  if (m_data) std::memcpy(data, m_data, static_cast<size_t>(m_length));
  delete[] m_data;
  m_data = data;
  m_capacity = newCapacity;
}

void CString::SetLength(int length) {
  if (!m_data) {
    if (length == 0) return;
    Reserve(length);
  }
  m_length = length;
  m_data[length] = '\0';
}

void CString::Empty() {
  delete[] m_data;
  m_data = nullptr;
  m_length = m_capacity = 0;
}

char CString::GetAt(int index) const {
  if (index < 0 || index > m_length) throw std::out_of_range("CString index");
  return GetString()[index];
}

void CString::SetAt(int index, char ch) {
  if (index < 0 || index >= m_length) throw std::out_of_range("CString index");
  m_data[index] = ch;
}

char* CString::GetBuffer() { return GetBuffer(0); }

char* CString::GetBuffer(int minLength) {
  Reserve(std::max(minLength, m_length));
  m_data[m_capacity] = '\0';  // bounds the length search of ReleaseBuffer
  return m_data;
}

char* CString::GetBufferSetLength(int length) {
  length = std::max(length, 0);
  char* buffer = GetBuffer(length);
  if (length > m_length)
    std::memset(buffer + m_length, 0, static_cast<size_t>(length - m_length));
  SetLength(length);
  return buffer;
}

void CString::ReleaseBuffer(int newLength) {
  if (!m_data) return;
  if (newLength < 0) newLength = static_cast<int>(strnlen(m_data, static_cast<size_t>(m_capacity)));
  SetLength(std::min(newLength, m_capacity));
}

void CString::Preallocate(int length) {
  if (length > 0) Reserve(length);
}

void CString::FreeExtra() {
  if (!m_data || m_capacity == m_length) return;
  if (m_length == 0) {
    Empty();
    return;
  }
  char* data = new char[static_cast<size_t>(m_length) + 1];
  std::memcpy(data, m_data, static_cast<size_t>(m_length) + 1);
  delete[] m_data;
  m_data = data;
  m_capacity = m_length;
}

void CString::Truncate(int length) {
  if (length >= 0 && length < m_length) SetLength(length);
}

void CString::SetString(const char* text) { Assign(text, TextLength(text)); }

void CString::SetString(const char* text, int length) {
  Assign(text, text && length > 0 ? length : 0);
}

void CString::Append(const CString& text) { Append(text.m_data, text.m_length); }

void CString::Append(const char* text) { Append(text, TextLength(text)); }

void CString::Append(const char* text, int length) {
  if (!text || length <= 0) return;
  // The text may lie in this buffer, which growing moves.
  const bool inside = Holds(text);
  const ptrdiff_t offset = inside ? text - m_data : 0;
  const int oldLength = m_length;
  Reserve(oldLength + length);
  std::memmove(m_data + oldLength, inside ? m_data + offset : text, static_cast<size_t>(length));
  SetLength(oldLength + length);
}

void CString::AppendChar(char ch) { Append(&ch, 1); }

CString& CString::operator+=(const CString& text) {
  Append(text);
  return *this;
}

CString& CString::operator+=(const char* text) {
  Append(text);
  return *this;
}

CString& CString::operator+=(char ch) {
  AppendChar(ch);
  return *this;
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
  // Formatted apart first: an argument may be this text itself.
  CString result;
  FormatText(result, format, args);
  *this = std::move(result);
}

void CString::AppendFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(format, args);
  va_end(args);
}

void CString::AppendFormatV(const char* format, va_list args) {
  CString result;
  if (FormatText(result, format, args)) Append(result);
}

int CString::Compare(const char* text) const { return CompareBytes(View(*this), View(text)); }

int CString::CompareNoCase(const char* text) const { return _mbsicmp(GetString(), text ? text : ""); }

int CString::Find(char ch, int start) const {
  if (start < 0 || start >= m_length) return -1;
  const void* hit = std::memchr(m_data + start, ch, static_cast<size_t>(m_length - start));
  return hit ? static_cast<int>(static_cast<const char*>(hit) - m_data) : -1;
}

int CString::Find(const char* text, int start) const {
  if (start < 0 || start > m_length) return -1;
  const size_t hit = View(*this).find(View(text), static_cast<size_t>(start));
  return hit == std::string_view::npos ? -1 : static_cast<int>(hit);
}

int CString::ReverseFind(char ch) const {
  const size_t hit = View(*this).rfind(ch);
  return hit == std::string_view::npos ? -1 : static_cast<int>(hit);
}

int CString::FindOneOf(const char* charSet) const {
  const std::string_view set = View(charSet);
  if (set.empty()) return -1;
  const size_t hit = View(*this).find_first_of(set);
  return hit == std::string_view::npos ? -1 : static_cast<int>(hit);
}

CString CString::Left(int count) const {
  count = std::clamp(count, 0, m_length);
  return CString(GetString(), count);
}

CString CString::Mid(int first) const { return Mid(first, m_length - std::max(first, 0)); }

CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, m_length);
  count = std::clamp(count, 0, m_length - first);
  return CString(GetString() + first, count);
}

CString CString::Right(int count) const {
  count = std::clamp(count, 0, m_length);
  return CString(GetString() + m_length - count, count);
}

CString CString::SpanIncluding(const char* charSet) const {
  return Left(static_cast<int>(std::strspn(GetString(), charSet ? charSet : "")));
}

CString CString::SpanExcluding(const char* charSet) const {
  return Left(static_cast<int>(std::strcspn(GetString(), charSet ? charSet : "")));
}

CString& CString::MakeUpper() {
  const auto& upper = UpperTable();
  for (int i = 0; i < m_length; ++i)
    m_data[i] = static_cast<char>(upper[static_cast<unsigned char>(m_data[i])]);
  return *this;
}

CString& CString::MakeLower() {
  for (int i = 0; i < m_length; ++i)
    m_data[i] = static_cast<char>(Cp1250ToLower(static_cast<unsigned char>(m_data[i])));
  return *this;
}

CString& CString::MakeReverse() {
  if (m_data) std::reverse(m_data, m_data + m_length);
  return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::Trim(char target) { return TrimRight(target).TrimLeft(target); }

CString& CString::Trim(const char* targets) { return TrimRight(targets).TrimLeft(targets); }

CString& CString::TrimLeft() {
  int n = 0;
  while (n < m_length && IsWhiteSpace(m_data[n])) ++n;
  Delete(0, n);
  return *this;
}

CString& CString::TrimLeft(char target) {
  int n = 0;
  while (n < m_length && m_data[n] == target) ++n;
  Delete(0, n);
  return *this;
}

CString& CString::TrimLeft(const char* targets) {
  const std::string_view set = View(targets);
  int n = 0;
  while (n < m_length && set.find(m_data[n]) != std::string_view::npos) ++n;
  Delete(0, n);
  return *this;
}

CString& CString::TrimRight() {
  int n = m_length;
  while (n > 0 && IsWhiteSpace(m_data[n - 1])) --n;
  Truncate(n);
  return *this;
}

CString& CString::TrimRight(char target) {
  int n = m_length;
  while (n > 0 && m_data[n - 1] == target) --n;
  Truncate(n);
  return *this;
}

CString& CString::TrimRight(const char* targets) {
  const std::string_view set = View(targets);
  int n = m_length;
  while (n > 0 && set.find(m_data[n - 1]) != std::string_view::npos) --n;
  Truncate(n);
  return *this;
}

int CString::Replace(char oldChar, char newChar) {
  if (oldChar == newChar) return 0;
  int count = 0;
  for (int i = 0; i < m_length; ++i) {
    if (m_data[i] == oldChar) {
      m_data[i] = newChar;
      ++count;
    }
  }
  return count;
}

int CString::Replace(const char* oldText, const char* newText) {
  const std::string_view from = View(oldText);
  if (from.empty() || m_length == 0) return 0;
  // Built apart: either text may lie in this buffer.
  const std::string_view to = View(newText);
  const std::string_view self = View(*this);
  CString result;
  int count = 0;
  size_t pos = 0;
  for (size_t hit; (hit = self.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
    result.Append(self.data() + pos, static_cast<int>(hit - pos));
    result.Append(to.data(), static_cast<int>(to.size()));
    ++count;
  }
  if (count == 0) return 0;
  result.Append(self.data() + pos, static_cast<int>(self.size() - pos));
  *this = std::move(result);
  return count;
}

int CString::Remove(char ch) {
  if (!m_data) return 0;
  char* end = std::remove(m_data, m_data + m_length, ch);
  const int removed = static_cast<int>(m_data + m_length - end);
  SetLength(m_length - removed);
  return removed;
}

int CString::Insert(int index, char ch) { return InsertBytes(index, &ch, 1); }

int CString::Insert(int index, const char* text) { return InsertBytes(index, text, TextLength(text)); }

int CString::InsertBytes(int index, const char* text, int length) {
  if (length <= 0) return m_length;
  index = std::clamp(index, 0, m_length);
  CString inserted(text, length);  // the text may lie in this buffer
  const int oldLength = m_length;
  Reserve(oldLength + length);
  std::memmove(m_data + index + length, m_data + index, static_cast<size_t>(oldLength - index));
  std::memcpy(m_data + index, inserted.m_data, static_cast<size_t>(length));
  SetLength(oldLength + length);
  return m_length;
}

int CString::Delete(int index, int count) {
  index = std::max(index, 0);
  count = std::max(count, 0);
  if (index >= m_length || count == 0) return m_length;
  count = std::min(count, m_length - index);
  std::memmove(m_data + index, m_data + index + count,
               static_cast<size_t>(m_length - index - count));
  SetLength(m_length - count);
  return m_length;
}

CString CString::Tokenize(const char* tokens, int& start) const {
  if (start >= 0 && start < m_length) {
    const std::string_view rest = View(*this).substr(static_cast<size_t>(start));
    const std::string_view delimiters = View(tokens);
    if (delimiters.empty()) {
      // The framework would hand the rest out again on every call; here the
      // next call ends the walk.
      start = m_length + 1;
      return CString(rest.data(), static_cast<int>(rest.size()));
    }
    const size_t from = rest.find_first_not_of(delimiters);
    if (from != std::string_view::npos) {
      size_t until = rest.find_first_of(delimiters, from);
      if (until == std::string_view::npos) until = rest.size();
      const int tokenStart = start + static_cast<int>(from);
      start = start + static_cast<int>(until) + 1;
      return Mid(tokenStart, static_cast<int>(until - from));
    }
  }
  start = -1;
  return CString();
}

CString operator+(const CString& a, const CString& b) {
  CString r;
  r.Preallocate(a.GetLength() + b.GetLength());
  r.Append(a);
  r.Append(b);
  return r;
}

CString operator+(const CString& a, const char* b) {
  CString r(a);
  r.Append(b);
  return r;
}

CString operator+(const char* a, const CString& b) {
  CString r(a);
  r.Append(b);
  return r;
}

CString operator+(const CString& a, char b) {
  CString r(a);
  r.AppendChar(b);
  return r;
}

CString operator+(char a, const CString& b) {
  CString r(a);
  r.Append(b);
  return r;
}

bool operator==(const CString& a, const CString& b) { return View(a) == View(b); }
bool operator==(const CString& a, const char* b) { return View(a) == View(b); }
bool operator==(const char* a, const CString& b) { return View(a) == View(b); }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return CompareBytes(View(a), View(b)) < 0; }
bool operator<(const CString& a, const char* b) { return CompareBytes(View(a), View(b)) < 0; }
bool operator<(const char* a, const CString& b) { return CompareBytes(View(a), View(b)) < 0; }
bool operator>(const CString& a, const CString& b) { return b < a; }
bool operator>(const CString& a, const char* b) { return b < a; }
bool operator>(const char* a, const CString& b) { return b < a; }
bool operator<=(const CString& a, const CString& b) { return !(b < a); }
bool operator<=(const CString& a, const char* b) { return !(b < a); }
bool operator<=(const char* a, const CString& b) { return !(b < a); }
bool operator>=(const CString& a, const CString& b) { return !(a < b); }
bool operator>=(const CString& a, const char* b) { return !(a < b); }
bool operator>=(const char* a, const CString& b) { return !(a < b); }

BOOL CString::LoadString(UINT id) { return LoadString(AfxGetResourceHandle(), id); }

BOOL CString::LoadString(HINSTANCE instance, UINT id) {
  // The buffer grows until the whole text fits.
  for (int size = 256;; size *= 2) {
    char* buffer = GetBuffer(size);
    const int n = LoadStringA(instance, id, buffer, size + 1);
    if (n < size) {
      ReleaseBuffer(n);
      return n > 0 ? TRUE : FALSE;
    }
  }
}
