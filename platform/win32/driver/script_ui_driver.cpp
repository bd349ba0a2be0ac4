#include "platform/win32/driver/script_ui_driver.h"

#include <cstdlib>

#include "platform/win32/code_page.h"
#include "platform/win32/driver/dialog_actions.h"
#include "platform/win32/driver/radiator_script.h"

namespace {

struct Button {
  const char* word;
  int id;
};

constexpr Button kButtons[] = {{"ok", IDOK},         {"cancel", IDCANCEL}, {"abort", IDABORT},
                               {"retry", IDRETRY},   {"ignore", IDIGNORE}, {"yes", IDYES},
                               {"no", IDNO},         {"tryagain", IDTRYAGAIN},
                               {"continue", IDCONTINUE}};

}  // namespace

std::optional<int> ButtonOfAnswer(std::string_view word) {
  for (const Button& b : kButtons)
    if (word == b.word) return b.id;
  return std::nullopt;
}

const char* AnswerOfButton(int button) {
  for (const Button& b : kButtons)
    if (button == b.id) return b.word;
  return "?";
}

void RegisterDialogScriptKeywords() {
  RegisterSessionKeyword("menu", [](const std::vector<std::string>& args, std::string* why) {
    unsigned long id = 0;
    char* end = nullptr;
    if (args.size() == 1 && (args[0] == "cancel" || (!args[0].empty() && args[0][0] != '-' &&
                                                     (id = std::strtoul(args[0].c_str(), &end, 10), !*end) &&
                                                     id > 0 && id <= 0xFFFF)))
      return true;
    if (why) *why = "needs a command id from 1 to 65535, or cancel";
    return false;
  });
  for (const std::string& word : DialogActionKeywords()) {
    // `cancel` is already known (a cancelled prompt): same shape, no arguments.
    if (IsSessionKeyword(word)) continue;
    RegisterSessionKeyword(word, [word](const std::vector<std::string>& args, std::string* why) {
      DialogAction action;
      std::string reason;
      if (ParseDialogAction(word, args, &action, &reason)) return true;
      // The script names the keyword itself.
      if (reason.rfind(word + " ", 0) == 0) reason.erase(0, word.size() + 1);
      if (why) *why = reason;
      return false;
    });
  }
}

std::string DialogCallName(const DialogInfo& dialog) {
  // A template handed over in memory has neither number nor name.
  std::string id = dialog.templateId >= 0 ? std::to_string(dialog.templateId) : Cp1250ToUtf8(dialog.templateName);
  if (!id.empty()) id += " ";
  return "dialog " + id + "\"" + Cp1250ToUtf8(dialog.title) + "\"";
}

ScriptUiDriver::ScriptUiDriver(SessionScript* script) : script_(script) {
  RegisterDialogScriptKeywords();
  // Outside libraries that take their answers from the script are loaded
  // long after it.
  RegisterRadiatorScriptKeyword();
}

SessionScript& ScriptUiDriver::Script() const { return script_ ? *script_ : CurrentSessionScript(); }

std::optional<int> ScriptUiDriver::AnswerMessageBox(const MessageBoxCall&) {
  // The line is taken even when its button is not one of the box's: it was
  // meant for this box, and the journal records the refusal.
  std::optional<ScriptLine> line = Script().Take({"answer"});
  if (!line) return std::nullopt;
  return ButtonOfAnswer(line->args.at(0));
}

std::optional<FileDialogAnswer> ScriptUiDriver::AnswerFileDialog(const FileDialogCall&) {
  std::optional<ScriptLine> line = Script().Take({"file", "cancel"});
  if (!line) return std::nullopt;
  FileDialogAnswer answer;
  if (line->keyword == "cancel")
    answer.cancelled = true;
  else
    answer.path = Script().ResolveFile(line->args.at(0));
  return answer;
}

std::optional<UINT> ScriptUiDriver::ChooseMenuCommand(const MenuCall&) {
  std::optional<ScriptLine> line = Script().Take({"menu"});
  if (!line) return std::nullopt;
  const std::string& answer = line->args.at(0);
  return answer == "cancel" ? 0u : static_cast<UINT>(std::strtoul(answer.c_str(), nullptr, 10));
}

std::optional<DialogAction> ScriptUiDriver::NextDialogAction(const DialogInfo& dialog) {
  SessionScript& script = Script();
  const std::string call = DialogCallName(dialog);
  const ScriptLine* next = script.Peek();
  if (next && next->keyword == "dialog") {
    // Lines for this dialog, or for one that is not open: then this
    // dialog's input has run out.
    const std::string& named = next->args.at(0);
    const bool mine = !inputTaken_.count(dialog.window) &&
                      (dialog.templateId >= 0 ? named == std::to_string(dialog.templateId) : named == dialog.templateName);
    if (!mine) {
      script.ReportUnanswered(call);
      return std::nullopt;
    }
    script.Take({"dialog"});
    inputTaken_.insert(dialog.window);
    next = script.Peek();
  }
  if (!next || next->keyword == "dialog" || !IsDialogActionKeyword(next->keyword)) {
    script.ReportUnanswered(call);
    return std::nullopt;
  }
  const std::string keyword = next->keyword;
  std::optional<ScriptLine> line = script.Take({keyword});
  DialogAction action;
  std::string why;
  if (!ParseDialogAction(line->keyword, line->args, &action, &why)) {
    // Checked when the script loaded; a script loaded before the words
    // were known can still hold a bad one.
    script.ReportError(*line, why);
    return std::nullopt;
  }
  lastAction_ = *line;
  inputTaken_.insert(dialog.window);
  return action;
}

void ScriptUiDriver::DialogClosed(const DialogInfo& dialog, INT_PTR) { inputTaken_.erase(dialog.window); }

void ScriptUiDriver::DialogActionFailed(const DialogInfo& dialog, const DialogAction&, const std::string& error) {
  Script().ReportError(lastAction_, DialogCallName(dialog) + ": " + error);
}
