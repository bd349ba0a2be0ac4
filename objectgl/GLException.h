// The one exception type of the scene library: a numeric code whose message
// comes from the string table of "GLOBJECT.GLR". Thrown by value, caught by
// reference.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/win32_types.h"

enum GLErrorCode : uint32_t {
  GL_ERROR_NOT_SPECIFIED = 0,
  GL_ERROR_OUT_OF_MEMORY = 1002,
  GL_ERROR_INDEX = 1003,
  GL_ERROR_CLASS_REGISTRATION = 1004,
  GL_ERROR_RESOURCE_NOT_FOUND = 1005,
  GL_ERROR_NO_RESOURCE_LIBRARY = 1006,
};

class GLException {
 public:
  // Null texts become empty texts.
  explicit GLException(uint32_t code, const char* first = nullptr, const char* second = nullptr,
                       const char* third = nullptr, uint32_t line = 0);
  GLException(const GLException&) = default;
  GLException& operator=(const GLException&) = default;
  virtual ~GLException() = default;

  // The text Show displays.
  std::string GetText() const;
  // Shows GetText in a message box with the title (null: the default caption).
  int Show(HWND owner, UINT flags) const;

  const char* GetMessage() const { return message_.c_str(); }
  const char* GetFirst() const { return first_.c_str(); }
  const char* GetSecond() const { return second_.c_str(); }
  // Null when the resource file gave none.
  const char* GetTitle() const { return hasTitle_ ? title_.c_str() : nullptr; }
  uint32_t GetCode() const { return code_; }

 private:
  std::string second_, first_, message_, title_, third_, format_;
  bool hasTitle_ = false;
  bool hasFormat_ = false;
  uint32_t line_ = 0;
  uint32_t code_ = 0;
};
