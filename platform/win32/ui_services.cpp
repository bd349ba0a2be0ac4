#include "platform/win32/ui_services.h"

#include <algorithm>

#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/driver/window_pictures.h"

std::vector<int> MessageBoxButtons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return {IDOK};
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE: return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default: return {};
  }
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  UiEvent event;
  event.kind = UiEvent::Kind::MessageBox;
  event.box.owner = owner;
  event.box.text = text ? text : "";
  event.box.caption = caption ? caption : "Error";  // the caption Windows gives a box without one
  event.box.type = type;
  const std::vector<int> buttons = MessageBoxButtons(type);
  if (buttons.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    RecordUiEvent(event);
    return 0;
  }
  PictureMessageBox(event.box.caption, event.box.text, type);
  // The driver runs unlocked: it may show further boxes while answering.
  std::optional<int> answer = CurrentUiDriver().AnswerMessageBox(event.box);
  if (answer && std::find(buttons.begin(), buttons.end(), *answer) != buttons.end()) {
    event.answer = *answer;
    event.answered = true;
  } else {
    event.refused = answer;
    event.answer = buttons.front();
  }
  int result = event.answer;
  RecordUiEvent(std::move(event));
  return result;
}

BOOL MessageBeep(UINT type) {
  CurrentUiDriver().Beep(type);
  UiEvent event;
  event.kind = UiEvent::Kind::Beep;
  event.beepType = type;
  RecordUiEvent(std::move(event));
  return TRUE;
}
