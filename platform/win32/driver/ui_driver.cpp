#include "platform/win32/driver/ui_driver.h"

#include <mutex>

namespace {

struct State {
  std::mutex mutex;
  UiDriver* driver = nullptr;
  std::vector<UiEvent> journal;
  bool describeDialogs = true;
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

void SetUiJournalDescribesDialogs(bool describe) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  s.describeDialogs = describe;
}

bool UiJournalDescribesDialogs() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  return s.describeDialogs;
}
