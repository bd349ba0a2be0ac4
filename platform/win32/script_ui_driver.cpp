#include "platform/win32/script_ui_driver.h"

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

ScriptUiDriver::ScriptUiDriver(SessionScript* script) : script_(script) {}

SessionScript& ScriptUiDriver::Script() const { return script_ ? *script_ : CurrentSessionScript(); }

std::optional<int> ScriptUiDriver::AnswerMessageBox(const MessageBoxCall&) {
  // The line is taken even when its button is not one of the box's: it was
  // meant for this box, and the journal records the refusal.
  std::optional<ScriptLine> line = Script().Take({"answer"});
  if (!line) return std::nullopt;
  return ButtonOfAnswer(line->args.at(0));
}
