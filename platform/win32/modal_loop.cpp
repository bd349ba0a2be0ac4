#include "platform/win32/modal_loop.h"

#include "platform/win32/control_messages.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/input_queue.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/window_api.h"
#include "platform/win32/driver/window_pictures.h"

namespace {

int g_depth = 0;

struct DepthGuard {
  DepthGuard() { ++g_depth; }
  ~DepthGuard() { --g_depth; }
};

DialogInfo Describe(HWND dialog) {
  DialogInfo info;
  info.window = dialog;
  GetDialogTemplateOf(dialog, &info.templateId, &info.templateName);
  char title[512];
  GetWindowTextA(dialog, title, sizeof title);
  info.title = title;
  info.depth = g_depth;
  return info;
}

void Journal(UiEvent::Kind kind, const DialogInfo& info, std::string detail = {}, bool failed = false,
             INT_PTR result = 0) {
  UiEvent event;
  event.kind = kind;
  event.dialog = info;
  event.detail = std::move(detail);
  event.failed = failed;
  event.result = result;
  RecordUiEvent(std::move(event));
}

bool Running(HWND dialog, const ModalLoopHooks& hooks) {
  if (!IsWindow(dialog) || IsDialogEnded(dialog, nullptr)) return false;
  return !hooks.keepRunning || hooks.keepRunning();
}

}  // namespace

int ModalLoopDepth() { return g_depth; }

void RunModalLoop(HWND dialog, const ModalLoopHooks& hooks) {
  DepthGuard depth;
  const DialogInfo info = Describe(dialog);
  UiDriver& driver = CurrentUiDriver();
  Journal(UiEvent::Kind::DialogOpened, info);
  driver.DialogOpened(info);
  bool shown = false, timersDue = true, ranOut = false, pictured = false;
  MSG msg;
  while (Running(dialog, hooks)) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // The loop ends and the quit request goes on to the outer loop.
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (!(hooks.preTranslate && hooks.preTranslate(msg))) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      continue;
    }
    if (!shown) {
      shown = true;
      if (!IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
      continue;
    }
    if (hooks.onIdle) hooks.onIdle();
    if (timersDue) {
      timersDue = false;
      headless::FireTimers();
      if (winmodel::HasQueuedMessages()) continue;
    }
    if (!Running(dialog, hooks)) break;
    if (!pictured) {
      // Initialised, shown and every message handled: as the user first sees it.
      pictured = true;
      PictureDialog(dialog, "open");
    }
    std::optional<DialogAction> action = driver.NextDialogAction(info);
    timersDue = true;
    if (!action) {
      if (!ranOut) {
        ranOut = true;
        Journal(UiEvent::Kind::DialogRanOut, info, "cancelled (IDCANCEL)");
        headless::QueueDirect(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      } else {
        Journal(UiEvent::Kind::DialogRanOut, info, "the dialog refused to close: ended with IDCANCEL", true);
        if (hooks.forceEnd)
          hooks.forceEnd();
        else
          EndDialog(dialog, IDCANCEL);
      }
      continue;
    }
    std::string error;
    const bool ok = ApplyDialogAction(dialog, *action, &error);
    Journal(UiEvent::Kind::DialogAction, info, ok ? action->Describe() : action->Describe() + ": " + error, !ok);
    if (!ok) driver.DialogActionFailed(info, *action, error);
  }
  INT_PTR result = -1;
  if (hooks.result)
    result = hooks.result();
  else
    IsDialogEnded(dialog, &result);
  std::string controls;
  if (IsWindow(dialog)) {
    if (UiJournalDescribesDialogs()) controls = DescribeDialogControls(dialog);
    if (pictured) PictureDialog(dialog, "close");
    driver.DialogClosed(info, result);
  }
  Journal(UiEvent::Kind::DialogClosed, info, std::move(controls), false, result);
}
