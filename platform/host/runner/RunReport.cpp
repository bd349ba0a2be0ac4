#include "platform/host/runner/RunReport.h"

#include <cstring>

#include "platform/win32/clipboard.h"
#include "platform/win32/code_page.h"
#include "platform/win32/driver/script_ui_driver.h"

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

namespace {

std::string MessageLine(const UiEvent& e) {
  std::string line = "message: caption=" + QuoteForReport(e.box.caption) + " type=" + std::to_string(e.box.type) +
                     " text=" + QuoteForReport(e.box.text);
  line += std::string(" answer=") + (e.answer ? AnswerOfButton(e.answer) : "none");
  if (e.refused)
    line += std::string(" (refused ") + AnswerOfButton(*e.refused) + ")";
  else if (!e.answered)
    line += " (unanswered)";
  return line;
}

std::string Failure(const UiEvent& e) {
  return e.failed ? " (failed: " + Cp1250ToUtf8(e.detail) + ")" : std::string();
}

std::string FileLine(const UiEvent& e) {
  std::string line = std::string("file: ") + (e.file.save ? "save" : "open");
  if (!e.file.title.empty()) line += " title=" + QuoteForReport(e.file.title);
  line += " answer=" + (e.fileAnswer.cancelled ? std::string("cancel") : QuoteForReport(e.fileAnswer.path));
  if (!e.answered) line += " (unanswered)";
  return line + Failure(e);
}

std::string MenuLine(const UiEvent& e) {
  std::string line = "menu: ";
  std::string text;
  for (const auto& c : e.menu.commands)
    if (c.first == static_cast<UINT>(e.answer)) text = c.second;
  line += e.answer ? "command=" + std::to_string(e.answer) + " " + QuoteForReport(text) : std::string("dismissed");
  if (!e.answered) line += " (unanswered)";
  return line + Failure(e);
}

}  // namespace

std::vector<std::string> UiLines(const std::vector<UiEvent>& journal, bool verbose) {
  std::vector<std::string> lines;
  for (const UiEvent& e : journal) {
    const std::string dialog = DialogCallName(e.dialog) + ": ";
    switch (e.kind) {
      case UiEvent::Kind::MessageBox: lines.push_back(MessageLine(e)); break;
      case UiEvent::Kind::Beep: lines.push_back("beep: type=" + std::to_string(e.beepType)); break;
      case UiEvent::Kind::FileDialog: lines.push_back(FileLine(e)); break;
      case UiEvent::Kind::Help:
        lines.push_back("help: file=" + QuoteForReport(e.help.file) + " topic=" + QuoteForReport(e.help.topic));
        break;
      case UiEvent::Kind::Menu: lines.push_back(MenuLine(e)); break;
      case UiEvent::Kind::Cursor:
        if (verbose) lines.push_back("cursor: " + e.cursor);
        break;
      case UiEvent::Kind::DialogOpened:
        if (verbose) lines.push_back(dialog + "opened");
        break;
      case UiEvent::Kind::DialogAction:
        // The detail is already UTF-8 (the action as a script line).
        if (e.failed)
          lines.push_back(dialog + "failed: " + e.detail);
        else if (verbose)
          lines.push_back(dialog + e.detail);
        break;
      case UiEvent::Kind::DialogRanOut: lines.push_back(dialog + "ran out of input, " + e.detail); break;
      case UiEvent::Kind::DialogClosed: {
        lines.push_back(dialog + "closed result=" + std::to_string(e.result));
        if (!verbose) break;
        size_t start = 0;
        while (start < e.detail.size()) {
          size_t end = e.detail.find('\n', start);
          if (end == std::string::npos) end = e.detail.size();
          if (end > start) lines.push_back(e.detail.substr(start, end - start));
          start = end + 1;
        }
        break;
      }
    }
  }
  return lines;
}

bool WentOffScript(const std::vector<UiEvent>& journal) {
  for (const UiEvent& e : journal) {
    switch (e.kind) {
      case UiEvent::Kind::MessageBox:
      case UiEvent::Kind::FileDialog:
      case UiEvent::Kind::Menu:
        if (!e.answered || e.refused) return true;
        break;
      case UiEvent::Kind::DialogRanOut: return true;
      default: break;
    }
  }
  return false;
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
