// The headless user-interface driver of scripted runs: answers the
// user-interface services from the process's session script, each taking
// the next line only when it is one of its own keywords:
// - message boxes: `answer BUTTON`; otherwise the box keeps its first
//   button and the journal marks it unanswered;
// - file dialogs: `file PATH` (relative to the script's folder) or
//   `cancel`; otherwise the dialog is cancelled, marked unanswered;
// - popup menus: `menu ID` (a command of the menu) or `menu cancel`;
//   otherwise the menu is dismissed, marked unanswered;
// - modal dialogs: the dialog action words (dialog_actions.h). A `dialog
//   ID` line names the dialog the following lines are for: it is taken
//   when that dialog asks before it took any line (a later one is for the
//   template's next opening). A dialog that finds another dialog's line, a
//   line of something else or the end of the script has run out of input:
//   it is cancelled and reported unanswered. An action that cannot be
//   carried out is reported as a script error.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/win32/driver/session_script.h"
#include "platform/win32/driver/ui_driver.h"

// The button id of an `answer` word ("ok" -> IDOK ...); nothing for others.
std::optional<int> ButtonOfAnswer(std::string_view word);
// The word of a button id ("ok" for IDOK ...); "?" for others.
const char* AnswerOfButton(int button);

// Adds the dialog action words and `menu` to the session script's keywords (their
// arguments checked when a script loads); done by the driver's constructor,
// so make the driver before loading the script. Repeating it is harmless.
void RegisterDialogScriptKeywords();

class ScriptUiDriver : public UiDriver {
 public:
  // Null: the process's session script.
  explicit ScriptUiDriver(SessionScript* script = nullptr);
  std::optional<int> AnswerMessageBox(const MessageBoxCall& box) override;
  std::optional<FileDialogAnswer> AnswerFileDialog(const FileDialogCall& call) override;
  std::optional<UINT> ChooseMenuCommand(const MenuCall& menu) override;
  std::optional<DialogAction> NextDialogAction(const DialogInfo& dialog) override;
  void DialogActionFailed(const DialogInfo& dialog, const DialogAction& action, const std::string& error) override;
  void DialogClosed(const DialogInfo& dialog, INT_PTR result) override;

 private:
  SessionScript& Script() const;
  SessionScript* script_;
  ScriptLine lastAction_;     // the line of the action being carried out
  std::set<HWND> inputTaken_;  // open dialogs that took lines
};

// How a dialog is named in reports: `dialog 5005 "Title"` (UTF-8), or
// `dialog "Title"` for a template without number or name.
std::string DialogCallName(const DialogInfo& dialog);
