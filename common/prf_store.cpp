#include "common/prf_store.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "common/SettingsWrite.h"
#include "platform/win32/profile.h"

namespace {

// Default text of the profile call that tells a missing key from an empty
// value.
constexpr char kMissing[] = "$EMPTY$";

constexpr char kHexDigits[] = "0123456789ABCDEF";

char* CopyText(const char* text) {
  size_t n = std::strlen(text) + 1;
  char* copy = new char[n];
  std::memcpy(copy, text, n);
  return copy;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

prf_store::prf_store() : file(nullptr), section(nullptr) {}

prf_store::~prf_store() { Close(); }

bool prf_store::Open(const char* fileName, const char* sectionName) {
  Close();
  if (!fileName || !sectionName) return false;
  file = CopyText(fileName);
  section = CopyText(sectionName);
  return true;
}

void prf_store::Close() {
  delete[] file;
  delete[] section;
  file = nullptr;
  section = nullptr;
}

bool prf_store::GetString(const char* key, char** out) {
  if (!out) return false;
  *out = nullptr;
  if (!file || !section || !key) return false;
  DWORD size = 1024;
  std::unique_ptr<char[]> buffer;
  for (;;) {
    buffer.reset(new char[size]);
    DWORD length = GetPrivateProfileStringA(section, key, kMissing, buffer.get(), size, file);
    if (length < size - 1) break;
    if (size > UINT32_MAX / 2) return false;
    size *= 2;
  }
  if (std::strcmp(buffer.get(), kMissing) == 0) return false;
  *out = buffer.release();
  return true;
}

bool prf_store::SetString(const char* key, const char* value) {
  return WriteSettingsString(file, section, key, value);
}

bool prf_store::GetRaw(const char* key, void** data, size_t* size) {
  if (!data || !size) return false;
  *data = nullptr;
  *size = 0;
  if (!file || !section || !key) return false;

  char head[9];
  if (GetPrivateProfileStringA(section, key, kMissing, head, sizeof head, file) != 8) return false;
  size_t n = 0;
  for (int i = 0; i < 8; ++i) {
    const char* digit = std::strchr(kHexDigits, head[i]);
    if (!digit || head[i] == '\0') return false;
    n = n * 16 + static_cast<size_t>(digit - kHexDigits);
  }
  if (n > kMaxRawSize) return false;

  const DWORD textSize = static_cast<DWORD>(2 * n + 10);
  std::unique_ptr<char[]> text(new char[textSize]);
  if (GetPrivateProfileStringA(section, key, kMissing, text.get(), textSize, file) != 8 + 2 * n)
    return false;
  std::unique_ptr<char[]> bytes(new char[n]);
  for (size_t i = 0; i < n; ++i) {
    int high = HexValue(text[8 + 2 * i]);
    int low = HexValue(text[9 + 2 * i]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<char>(high << 4 | low);
  }
  *data = bytes.release();
  *size = n;
  return true;
}

bool prf_store::SetRaw(const char* key, const void* data, size_t size) {
  if (!file || !section || !key) return false;
  if (size > kMaxRawSize || (!data && size)) return false;
  std::string text;
  text.reserve(8 + 2 * size);
  const uint32_t count = static_cast<uint32_t>(size);
  for (int shift = 28; shift >= 0; shift -= 4) text += kHexDigits[(count >> shift) & 0xF];
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    text += kHexDigits[bytes[i] >> 4];
    text += kHexDigits[bytes[i] & 0xF];
  }
  return SetString(key, text.c_str());
}
