// The message loop of a modal dialog, shared by DialogBox and the
// framework's dialogs. It runs until the dialog is ended (EndDialog), its
// window is gone or keepRunning says no:
// - every queued message is offered to preTranslate (true: handled), else
//   translated and dispatched;
// - when the queue is empty the first time, a hidden dialog is shown;
// - then, each time it is empty, onIdle runs, the timers fire once, and the
//   installed user-interface driver is asked for the dialog's next action
//   (UiDriver::NextDialogAction), which is carried out (dialog_actions.h)
//   and recorded in the journal. When the driver has none, the dialog is
//   cancelled as the Escape key would (WM_COMMAND IDCANCEL) and the journal
//   says its input ran out; should it still not end, forceEnd ends it.
// The driver is told when the loop starts and ends (the dialog still
// exists then).
#pragma once

#include <functional>

#include "platform/win32/messages.h"

struct ModalLoopHooks {
  std::function<bool(MSG&)> preTranslate;
  std::function<bool()> keepRunning;   // empty: run until ended
  std::function<void()> onIdle;
  std::function<void()> forceEnd;      // empty: EndDialog(dialog, IDCANCEL)
  std::function<INT_PTR()> result;     // empty: what EndDialog was given
};

void RunModalLoop(HWND dialog, const ModalLoopHooks& hooks);

// How many modal loops are running now.
int ModalLoopDepth();
