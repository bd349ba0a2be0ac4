#include "platform/host/runner/RunReport.h"

#include <cstring>

#include "platform/win32/clipboard.h"
#include "platform/win32/code_page.h"
#include "platform/win32/script_ui_driver.h"

std::string QuoteForReport(std::string_view cp1250) {
  std::string out = "\"";
  for (char c : Cp1250ToUtf8(cp1250)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::vector<std::string> MessageLines(const std::vector<UiEvent>& journal) {
  std::vector<std::string> lines;
  for (const UiEvent& e : journal) {
    if (e.kind == UiEvent::Kind::Beep) {
      lines.push_back("beep: type=" + std::to_string(e.beepType));
      continue;
    }
    std::string line = "message: caption=" + QuoteForReport(e.box.caption) +
                       " type=" + std::to_string(e.box.type) + " text=" + QuoteForReport(e.box.text);
    line += std::string(" answer=") + (e.answer ? AnswerOfButton(e.answer) : "none");
    if (e.refused) line += std::string(" (refused ") + AnswerOfButton(*e.refused) + ")";
    else if (!e.answered) line += " (unanswered)";
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> ClipboardLines() {
  std::vector<std::string> lines;
  if (!OpenClipboard(nullptr)) return {"clipboard: (held open by the plug-in)"};
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    char name[256] = {};
    if (format < 0xC000 || GetClipboardFormatNameA(format, name, sizeof name) == 0) continue;
    HANDLE data = GetClipboardData(format);
    if (!data) continue;
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    size_t size = GlobalSize(data);
    std::string text = bytes ? std::string(bytes, strnlen(bytes, size)) : std::string();
    GlobalUnlock(data);
    lines.push_back("clipboard " + Cp1250ToUtf8(name) + ": " + Cp1250ToUtf8(text));
  }
  CloseClipboard();
  return lines;
}
