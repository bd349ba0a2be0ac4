// The framework's text value: single-byte code page 1250 text that owns its
// buffer. Lengths and positions are byte counts; the text may hold NUL bytes
// (GetLength counts them) but every operation that takes a const char* reads
// it up to its first NUL. A null const char* is taken as the empty text.
//
// Formatting follows printf and always uses the C locale, whatever the
// process locale is. Arguments of Format are passed through "...": hand a
// CString over as GetString() (or a cast to const char*), never as the object.
//
// Out-of-range indexes of GetAt/SetAt/operator[] throw std::out_of_range, the
// way the framework raises its invalid-argument error.
#pragma once

#include <cstdarg>

#include "platform/win32/win32_types.h"

class CString {
 public:
  CString() noexcept = default;
  CString(const CString& other);
  CString(CString&& other) noexcept;
  CString(const char* text);
  CString(const unsigned char* text);
  CString(const char* text, int length);  // length bytes, NULs included
  explicit CString(char ch, int repeat = 1);
  CString(const WCHAR* text);  // UTF-16 -> code page 1250, '?' for the rest
  ~CString();

  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept;
  CString& operator=(const char* text);
  CString& operator=(const unsigned char* text);
  CString& operator=(char ch);
  CString& operator=(const WCHAR* text);

  // String `id` of the current resource module (AfxGetResourceHandle);
  // FALSE and an empty text when it is missing.
  BOOL LoadString(UINT id);
  BOOL LoadString(HINSTANCE instance, UINT id);

  int GetLength() const { return m_length; }
  bool IsEmpty() const { return m_length == 0; }
  void Empty();  // also releases the buffer

  // Index GetLength() reads the terminating NUL; SetAt needs an index below
  // GetLength().
  char GetAt(int index) const;
  void SetAt(int index, char ch);
  char operator[](int index) const { return GetAt(index); }

  const char* GetString() const { return m_data ? m_data : ""; }
  operator const char*() const { return GetString(); }

  // Direct access to the buffer. GetBuffer(n) gives room for at least n
  // characters plus the NUL, keeping the text; the length is unchanged until
  // ReleaseBuffer, which takes the given length or, with -1, the length up
  // to the first NUL (never beyond the buffer). GetBufferSetLength(n) sets
  // the length to n at once; bytes it adds are NUL.
  char* GetBuffer();
  char* GetBuffer(int minLength);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);
  void Preallocate(int length);
  void FreeExtra();
  void Truncate(int length);  // shortens only

  void SetString(const char* text);
  void SetString(const char* text, int length);
  void Append(const CString& text);
  void Append(const char* text);
  void Append(const char* text, int length);
  void AppendChar(char ch);
  CString& operator+=(const CString& text);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);

  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));
  void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void AppendFormatV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));

  // Negative, 0 or positive. Compare is by bytes; the NoCase forms fold the
  // letters of code page 1250. Collation is that of the C locale.
  int Compare(const char* text) const;
  int CompareNoCase(const char* text) const;
  int Collate(const char* text) const { return Compare(text); }
  int CollateNoCase(const char* text) const { return CompareNoCase(text); }

  // -1 when not found. Find of a character needs start < GetLength(); Find of
  // a text accepts start == GetLength() (an empty text is found there).
  int Find(char ch, int start = 0) const;
  int Find(const char* text, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* charSet) const;

  // Counts and positions are clipped to the text.
  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const char* charSet) const;
  CString SpanExcluding(const char* charSet) const;

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // White space is space, tab, line feed, vertical tab, form feed and
  // carriage return.
  CString& Trim();
  CString& Trim(char target);
  CString& Trim(const char* targets);
  CString& TrimLeft();
  CString& TrimLeft(char target);
  CString& TrimLeft(const char* targets);
  CString& TrimRight();
  CString& TrimRight(char target);
  CString& TrimRight(const char* targets);

  // Return the number of replacements / removals, or the new length.
  int Replace(char oldChar, char newChar);
  int Replace(const char* oldText, const char* newText);
  int Remove(char ch);
  int Insert(int index, char ch);
  int Insert(int index, const char* text);
  int Delete(int index, int count = 1);

  // Next token after start, delimiters skipped; start moves past the
  // token's delimiter. At the end: empty text and start = -1. With no
  // delimiters at all the rest of the text is the one token.
  CString Tokenize(const char* tokens, int& start) const;

 private:
  void Assign(const char* text, int length);
  // Makes room for capacity characters, keeping the text.
  void Reserve(int capacity);
  void SetLength(int length);
  int InsertBytes(int index, const char* text, int length);
  // Whether text points into this text's own buffer.
  bool Holds(const char* text) const;

  char* m_data = nullptr;  // m_capacity + 1 bytes, or null when nothing is held
  int m_length = 0;
  int m_capacity = 0;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);
