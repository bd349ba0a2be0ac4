#include "platform/win32/ui_services.h"

#include <algorithm>
#include <mutex>

#include "platform/win32/driver/window_pictures.h"

namespace {

struct State {
  std::mutex mutex;
  UiDriver* driver = nullptr;
  std::vector<UiEvent> journal;
};

State& S() {
  static State* state = new State;
  return *state;
}

UiDriver& DefaultDriver() {
  static UiDriver* driver = new UiDriver;
  return *driver;
}

}  // namespace

UiDriver& CurrentUiDriver() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  return s.driver ? *s.driver : DefaultDriver();
}

void RecordUiEvent(UiEvent event) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  s.journal.push_back(std::move(event));
}

UiDriver::~UiDriver() = default;

std::optional<int> UiDriver::AnswerMessageBox(const MessageBoxCall&) { return std::nullopt; }

void UiDriver::Beep(UINT) {}

std::optional<FileDialogAnswer> UiDriver::AnswerFileDialog(const FileDialogCall&) { return std::nullopt; }

std::optional<UINT> UiDriver::ChooseMenuCommand(const MenuCall&) { return std::nullopt; }

std::optional<DialogAction> UiDriver::NextDialogAction(const DialogInfo&) { return std::nullopt; }

void UiDriver::DialogOpened(const DialogInfo&) {}

void UiDriver::DialogClosed(const DialogInfo&, INT_PTR) {}

void UiDriver::DialogActionFailed(const DialogInfo&, const DialogAction&, const std::string&) {}

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

UiDriver* SetUiDriver(UiDriver* driver) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  UiDriver* previous = s.driver;
  s.driver = driver;
  return previous;
}

std::vector<UiEvent> UiJournal() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  return s.journal;
}

void ClearUiJournal() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  s.journal.clear();
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
