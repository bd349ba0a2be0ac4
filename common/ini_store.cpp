#include "common/ini_store.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/CLocaleNumber.h"

namespace {

// Number at the start of text (strtol base 10 / strtod, in the C locale);
// returns where the conversion stopped. Integers saturate at 32 bits, as the
// settings' writers had a 32-bit long.
const char* ParseNumber(const char* text, int* out) {
  const char* end = nullptr;
  *out = StrtoiC(text, &end);
  return end;
}

const char* ParseNumber(const char* text, double* out) {
  const char* end = nullptr;
  *out = StrtodC(text, &end);
  return end;
}

// "%i" and "%g", independent of the locale.
void AppendNumber(std::string& text, int value) {
  char buf[16];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  text.append(buf, r.ptr);
}

void AppendNumber(std::string& text, double value) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
  text.append(buf, r.ptr);
}

struct RawBlock {
  void* data = nullptr;
  size_t size = 0;
  ~RawBlock() { delete[] static_cast<char*>(data); }
};

// Reads one number from the text or the raw value, whichever the mode
// tries first; the first source found decides.
template <typename T>
bool GetNumber(ini_store& store, const char* key, T* out) {
  if (!out) return false;
  for (int pass = 0; pass < 2; ++pass) {
    if ((pass == 0) == store.textMode) {
      char* text = nullptr;
      if (store.GetString(key, &text)) {
        std::unique_ptr<char[]> hold(text);
        return text && *ParseNumber(text, out) == '\0';
      }
    } else {
      RawBlock raw;
      if (store.GetRaw(key, &raw.data, &raw.size)) {
        if (!raw.data || raw.size != sizeof(T)) return false;
        std::memcpy(out, raw.data, sizeof(T));
        return true;
      }
    }
  }
  return false;
}

template <typename T>
bool SetNumber(ini_store& store, const char* key, const T& value) {
  if (!store.textMode) return store.SetRaw(key, &value, sizeof value);
  std::string text;
  AppendNumber(text, value);
  return store.SetString(key, text.c_str());
}

// "1;2;3": a number, then ';' and more or the end. Empty parts read as 0, a
// trailing ';' adds nothing.
template <typename T>
bool ParseArray(const char* text, std::vector<T>& values) {
  const char* p = text;
  while (*p) {
    T value;
    const char* end = ParseNumber(p, &value);
    values.push_back(value);
    if (*end == '\0') break;
    if (*end != ';') return false;
    p = end + 1;
  }
  return true;
}

template <typename T>
bool GetArray(ini_store& store, const char* key, T** out, size_t* count) {
  if (!out || !count) return false;
  *out = nullptr;
  *count = 0;
  {
    RawBlock raw;
    if (store.GetRaw(key, &raw.data, &raw.size) && (raw.data || raw.size == 0) &&
        raw.size % sizeof(T) == 0) {
      size_t n = raw.size / sizeof(T);
      T* block = new T[n];
      if (n) std::memcpy(block, raw.data, raw.size);
      *out = block;
      *count = n;
      return true;
    }
  }
  char* text = nullptr;
  if (!store.GetString(key, &text)) return false;
  std::unique_ptr<char[]> hold(text);
  std::vector<T> values;
  if (!text || !ParseArray(text, values)) return false;
  T* block = new T[values.size()];
  std::copy(values.begin(), values.end(), block);
  *out = block;
  *count = values.size();
  return true;
}

template <typename T>
bool SetArray(ini_store& store, const char* key, const T* values, size_t count) {
  if (!values && count) return false;
  if (!store.textMode) return store.SetRaw(key, values, count * sizeof(T));
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    if (i) text += ';';
    AppendNumber(text, values[i]);
  }
  return store.SetString(key, text.c_str());
}

constexpr size_t kMaxListString = 32767;

}  // namespace

ini_store::ini_store() : textMode(true) {}

ini_store::~ini_store() = default;

bool ini_store::GetInt(const char* key, int* out) { return GetNumber(*this, key, out); }

bool ini_store::SetInt(const char* key, int value) { return SetNumber(*this, key, value); }

bool ini_store::GetIntArray(const char* key, int** out, size_t* count) {
  return GetArray(*this, key, out, count);
}

bool ini_store::SetIntArray(const char* key, const int* values, size_t count) {
  return SetArray(*this, key, values, count);
}

bool ini_store::GetDouble(const char* key, double* out) { return GetNumber(*this, key, out); }

bool ini_store::SetDouble(const char* key, const double& value) {
  return SetNumber(*this, key, value);
}

bool ini_store::GetDoubleArray(const char* key, double** out, size_t* count) {
  return GetArray(*this, key, out, count);
}

bool ini_store::SetDoubleArray(const char* key, const double* values, size_t count) {
  return SetArray(*this, key, values, count);
}

bool ini_store::GetStringArray(const char* key, char*** out, size_t* count) {
  if (!out || !count) return false;
  *out = nullptr;
  *count = 0;
  RawBlock raw;
  if (!GetRaw(key, &raw.data, &raw.size)) return false;
  if (!raw.data && raw.size) return false;
  const char* bytes = static_cast<const char*>(raw.data);

  // Pieces end at a NUL or at the end of the data; a final NUL ends the
  // last piece rather than starting an empty one.
  std::vector<std::pair<size_t, size_t>> pieces;  // start, length
  size_t textBytes = 0;
  for (size_t i = 0; i < raw.size;) {
    const void* nul = std::memchr(bytes + i, '\0', raw.size - i);
    size_t length =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - (bytes + i)) : raw.size - i;
    pieces.emplace_back(i, length);
    textBytes += length + 1;
    i += length + 1;
  }

  // One block: the pointers, then the strings they point at.
  const size_t textSlots = (textBytes + sizeof(char*) - 1) / sizeof(char*);
  char** block = new char*[pieces.size() + textSlots];
  char* text = reinterpret_cast<char*>(block + pieces.size());
  for (size_t k = 0; k < pieces.size(); ++k) {
    block[k] = text;
    std::memcpy(text, bytes + pieces[k].first, pieces[k].second);
    text[pieces[k].second] = '\0';
    text += pieces[k].second + 1;
  }
  *out = block;
  *count = pieces.size();
  return true;
}

bool ini_store::SetStringArray(const char* key, const char* const* strings, size_t count) {
  if (count == 0 || !strings) return false;
  std::string bytes;
  for (size_t i = 0; i < count; ++i) {
    const char* s = strings[i] ? strings[i] : "";
    bytes.append(s, strnlen(s, kMaxListString));
    bytes += '\0';
  }
  return SetRaw(key, bytes.data(), bytes.size());
}
