// A user-interface driver for tests: modal dialogs get the actions queued
// for their template, message boxes, file dialogs and popup menus the
// answers queued for them, in order. Each opening of a template takes the
// next list queued for it; a dialog whose list is used up (or that has
// none) is cancelled by the modal loop (modal_loop.h).
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/driver/dialog_actions.h"
#include "platform/win32/driver/ui_driver.h"

class HeadlessDriver : public UiDriver {
 public:
  void OnDialog(int templateId, std::vector<DialogAction> actions);
  void AnswerMessageBox(int button);
  void AnswerFile(std::string path);  // code page 1250
  void CancelFile();
  void ChooseMenu(UINT command);

  // What the dialogs looked like when they closed (DescribeDialogControls).
  const std::vector<std::string>& ClosedDialogs() const { return closed_; }
  // Actions and answers not used.
  size_t PendingDialogs() const;

  std::optional<int> AnswerMessageBox(const MessageBoxCall& box) override;
  std::optional<FileDialogAnswer> AnswerFileDialog(const FileDialogCall& call) override;
  std::optional<UINT> ChooseMenuCommand(const MenuCall& menu) override;
  std::optional<DialogAction> NextDialogAction(const DialogInfo& dialog) override;
  void DialogClosed(const DialogInfo& dialog, INT_PTR result) override;

 private:
  std::map<int, std::deque<std::vector<DialogAction>>> pending_;
  std::map<HWND, std::deque<DialogAction>> running_;
  std::deque<int> boxes_;
  std::deque<FileDialogAnswer> files_;
  std::deque<UINT> menus_;
  std::vector<std::string> closed_;
};

// One line per control of a dialog, in tab order: its id, class and value
// ("5054 ComboBox "12" items=3 selected=-1", "5050 Button check=1
// "Descriptions"", "5033 SysListView32 rows=2 selected=0 checked=1,0
// "a|1" "b|2"": a list view's rows follow, each its cells joined by '|').
// Texts are shown in UTF-8. For the runner's verbose output and tests.
std::string DescribeDialogControls(HWND dialog);
