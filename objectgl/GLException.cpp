#include "objectgl/GLException.h"

#include <cstring>

#include "objectgl/GLResourceSupp.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

namespace {

constexpr int kStringSize = 500;

std::string LoadText(HMODULE module, UINT id) {
  char buffer[kStringSize] = {};
  LoadStringA(module, id, buffer, kStringSize);
  return buffer;
}

// A format from the resource file is used only when it takes what Show
// hands it: four texts, then one number, and nothing else.
bool IsFormatOfShape(const std::string& format) {
  std::string seen;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 >= format.size()) return false;
    const char c = format[++i];
    if (c == '%') continue;
    if (c != 's' && c != 'd') return false;
    seen += c;
  }
  return seen == "ssssd";
}

std::string Fill(const std::string& format, const std::string* texts, uint32_t line) {
  std::string out;
  int next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    const char c = format[++i];
    if (c == '%')
      out += '%';
    else if (c == 's')
      out += texts[next++];
    else
      out += std::to_string(line);
  }
  return out;
}

}  // namespace

GLException::GLException(uint32_t code, const char* first, const char* second, const char* third, uint32_t line)
    : second_(second ? second : ""),
      first_(first ? first : ""),
      third_(third ? third : ""),
      line_(line),
      code_(code) {
  if (code == GL_ERROR_NOT_SPECIFIED) {
    message_ = "Error is not specified.";
    return;
  }
  HMODULE glr = LoadObjectGLResources(kObjectGLResourceFile, nullptr);
  if (!glr) {
    message_ = "*** I cannot find resource file \"GLOBJECT.GLR\". ***";
    return;
  }
  title_ = LoadText(glr, 1) + " " + LoadText(glr, 1000);
  hasTitle_ = true;
  format_ = LoadText(glr, 1001);
  hasFormat_ = IsFormatOfShape(format_);
  message_ = LoadText(glr, code);
  FreeLibrary(glr);
}

std::string GLException::GetText() const {
  if (hasFormat_) {
    const std::string texts[4] = {message_, first_, second_, third_};
    return Fill(format_, texts, line_);
  }
  return message_ + "\n" + third_ + "\n" + std::to_string(line_);
}

int GLException::Show(HWND owner, UINT flags) const {
  return MessageBoxA(owner, GetText().c_str(), GetTitle(), flags);
}
