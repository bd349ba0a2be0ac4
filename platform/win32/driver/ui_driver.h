// The user-interface services' driver: message boxes, beeps, file dialogs,
// help, cursors, popup menus and the input of modal dialogs. Each call goes
// to the installed driver, which answers it, and is written to a journal
// that runs and tests can read back. The default driver answers nothing: a
// box then gets its first button, a file dialog and a popup menu are
// cancelled, a modal dialog gets no input (and so is cancelled).
// Texts are the system's code page 1250 texts, kept as given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/driver/dialog_actions.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/win32_types.h"

struct MessageBoxCall {
  HWND owner = nullptr;
  std::string caption;  // code page 1250
  std::string text;     // code page 1250
  UINT type = 0;
};

struct FileDialogCall {
  HWND owner = nullptr;
  bool save = false;           // a save dialog, else an open dialog
  std::string title;           // empty: the default title
  std::string filter;          // "description|pattern|..." as given
  int filterIndex = 0;
  std::string defaultExtension;
  std::string initialFile;
  std::string initialFolder;
  DWORD flags = 0;             // OFN_* (common_dialogs.h)
};
struct FileDialogAnswer {
  bool cancelled = false;
  std::string path;  // code page 1250, as the system sees paths
};

struct HelpCall {
  HWND caller = nullptr;
  bool winHelp = false;  // WinHelpA, else HtmlHelpA
  std::string file;      // as given, with any "::/topic" part
  UINT command = 0;
  uintptr_t data = 0;
  std::string topic;     // what would be shown: a topic file, a string id, a context number
};

// One row of a popup menu as it is shown.
struct MenuRow {
  UINT id = 0;
  std::string text;
  bool separator = false;
  bool grayed = false;   // MF_GRAYED or MF_DISABLED
  bool checked = false;
  bool submenu = false;  // opens a submenu (an arrow at its right)
};

struct MenuCall {
  HWND owner = nullptr;
  int x = 0, y = 0;
  // The enabled commands of the menu (submenus included): id and text.
  std::vector<std::pair<UINT, std::string>> commands;
  // The rows of the menu itself, as drawn.
  std::vector<MenuRow> rows;
};

// A modal dialog asking its driver for input.
struct DialogInfo {
  HWND window = nullptr;
  int templateId = -1;       // numbered template, else -1
  std::string templateName;  // named template
  std::string title;
  int depth = 1;             // 1 for a dialog opened from no other dialog
};

// A replaceable back-end: the headless driver of tests and scripted runs,
// later a real window toolkit. Answers come back as the button ids above.
class UiDriver {
 public:
  virtual ~UiDriver();
  // The pressed button, or nothing when the driver has no answer (the box
  // then gets its first button and the journal says it went unanswered).
  virtual std::optional<int> AnswerMessageBox(const MessageBoxCall& box);
  virtual void Beep(UINT type);
  // The chosen file or a cancel; nothing: unanswered (cancelled).
  virtual std::optional<FileDialogAnswer> AnswerFileDialog(const FileDialogCall& call);
  // The chosen command (0: dismissed); nothing: unanswered (dismissed).
  virtual std::optional<UINT> ChooseMenuCommand(const MenuCall& menu);
  // The next action for a modal dialog whose messages have all been
  // handled; nothing when the driver has none left for it: the dialog is
  // then cancelled (IDCANCEL), and ended with IDCANCEL should it refuse.
  virtual std::optional<DialogAction> NextDialogAction(const DialogInfo& dialog);
  // Around a modal dialog's loop; the dialog and its controls still exist
  // when it is told that the dialog closed.
  virtual void DialogOpened(const DialogInfo& dialog);
  virtual void DialogClosed(const DialogInfo& dialog, INT_PTR result);
  // An action it gave could not be carried out (the journal has it too).
  virtual void DialogActionFailed(const DialogInfo& dialog, const DialogAction& action, const std::string& error);
};

// Installs a driver (null restores the default) and returns the previous
// one; the caller keeps ownership.
UiDriver* SetUiDriver(UiDriver* driver);

struct UiEvent {
  enum class Kind {
    MessageBox,
    Beep,
    FileDialog,
    Help,
    Cursor,
    Menu,
    DialogOpened,
    DialogAction,
    DialogRanOut,  // the driver had no more input: the dialog is cancelled
    DialogClosed,
  };
  Kind kind = Kind::MessageBox;
  MessageBoxCall box;     // MessageBox
  int answer = 0;         // MessageBox: the button returned; Menu: the command
  bool answered = false;  // MessageBox, FileDialog, Menu: the driver answered
  std::optional<int> refused;  // MessageBox: a driver answer that is not a button of the box
  UINT beepType = 0;      // Beep
  FileDialogCall file;    // FileDialog
  FileDialogAnswer fileAnswer;
  HelpCall help;          // Help
  std::string cursor;     // Cursor: which cursor was made current ("IDC_WAIT", "resource 5060")
  MenuCall menu;          // Menu
  DialogInfo dialog;      // Dialog*
  std::string detail;     // DialogAction: the action; DialogRanOut: what was done; DialogClosed: its
                          // controls at closing (DescribeDialogControls); any: why it failed
  bool failed = false;    // DialogAction, FileDialog: could not be carried out
  INT_PTR result = 0;     // DialogClosed
};

std::vector<UiEvent> UiJournal();
void ClearUiJournal();
// Whether a dialog's closing entry describes its controls (on until turned
// off). The description reads every item of every preview; a runner that
// shows it only when verbose turns it off otherwise.
void SetUiJournalDescribesDialogs(bool describe);
bool UiJournalDescribesDialogs();

// For the platform's service calls: the driver in charge and the journal.
UiDriver& CurrentUiDriver();
void RecordUiEvent(UiEvent event);

// Installs a driver for the life of a scope.
class ScopedUiDriver {
 public:
  explicit ScopedUiDriver(UiDriver* driver) : previous_(SetUiDriver(driver)) {}
  ~ScopedUiDriver() { SetUiDriver(previous_); }
  ScopedUiDriver(const ScopedUiDriver&) = delete;
  ScopedUiDriver& operator=(const ScopedUiDriver&) = delete;

 private:
  UiDriver* previous_;
};
