// The headless user-interface driver of scripted runs: answers the
// user-interface services from the process's session script. Message boxes
// take the next line when it is `answer BUTTON`; otherwise the box keeps
// its first button and the journal marks it unanswered. Later services
// (file dialogs, dialog actions) take their own keywords here.
#pragma once

#include <optional>
#include <string_view>

#include "platform/win32/session_script.h"
#include "platform/win32/ui_services.h"

// The button id of an `answer` word ("ok" -> IDOK ...); nothing for others.
std::optional<int> ButtonOfAnswer(std::string_view word);
// The word of a button id ("ok" for IDOK ...); "?" for others.
const char* AnswerOfButton(int button);

class ScriptUiDriver : public UiDriver {
 public:
  // Null: the process's session script.
  explicit ScriptUiDriver(SessionScript* script = nullptr);
  std::optional<int> AnswerMessageBox(const MessageBoxCall& box) override;

 private:
  SessionScript& Script() const;
  SessionScript* script_;
};
