// What an input driver does in an open dialog, in the words of the
// session script:
//
//   dialog ID                 the dialog of template ID is the one open
//   set CTRL TEXT             puts the text into an edit or combo box at
//                             once (as a paste over the whole text: no key
//                             filters run)
//   type CTRL TEXT            types the text key by key (through the
//                             message pre-translation, as a keyboard would)
//   key CTRL NAME             presses a named key (headless_input.h names)
//   click CTRL [X Y]          clicks the control (its centre, or the client
//                             point X Y)
//   dblclick CTRL [ROW]       double-clicks the control or a row of a list
//   check CTRL 0|1            sets a check box (by clicking it when needed)
//   check CTRL ROW 0|1        sets the check box of a list view row
//   choose CTRL INDEX|TEXT    picks an item of a combo box, list box or list
//                             view by index or by text (digits only are an
//                             index; write =TEXT to choose such a text)
//   edit-cell CTRL ROW COL TEXT
//                             clicks a cell of a list view (left of an arrow
//                             square at its right end), types the text into
//                             the editor the list opens there and presses
//                             Enter
//   choose-cell CTRL ROW COL INDEX
//                             clicks the arrow square at the right end of a
//                             cell and then the entry INDEX of the choice
//                             list that opens (the window given the focus)
//   drag-row CTRL ROW [CTRL2] ROW2
//                             presses the left button on a row of a list
//                             view, moves with it held and releases it on
//                             row ROW2 of the same list or of list CTRL2;
//                             ROW2 -1 releases below the last row
//   rclick CTRL X Y           right-clicks the client point X Y
//   drag CTRL left|middle X1 Y1 X2 Y2
//                             presses the button at X1 Y1, moves with it
//                             held to X2 Y2 (by way of the middle) and
//                             releases it there
//   wheel CTRL N              turns the wheel N notches over the control's
//                             centre (negative: towards the user)
//   preview-pick CTRL ID      clicks a client point where the control shows
//                             its item ID (a preview's selection name); no
//                             such point is an error
//   snapshot NAME             writes the dialog's picture as NAME.png (in the
//                             run's picture folder when it has one)
//   resize W H                resizes the dialog's window to W by H pixels as
//                             a drag of its corner would: the window's
//                             limits (WM_GETMINMAXINFO) hold, then WM_SIZE
//   menu ID|cancel            (not a dialog action) answers the next popup
//                             menu with a command, or dismisses it
//   ok                        clicks the OK button (IDOK without one)
//   cancel                    clicks the Cancel button (IDCANCEL without one)
//
// CTRL is a control id; for type and key 0 names the window that has the
// focus. set and type first give the control the focus as the Tab
// key would (which selects all text of an edit) unless it already has it.
// Texts are code page 1250 inside the system; the script's UTF-8 words are
// converted when parsed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/geometry.h"

struct DialogAction {
  enum class Kind {
    Expect, Set, Type, Key, Click, DoubleClick, Check, Choose, Ok, Cancel, Run, EditCell, ChooseCell, DragRow,
    RightClick, Drag, Wheel, PreviewPick, Resize, Snapshot
  };
  Kind kind = Kind::Ok;
  int control = 0;
  std::string text;       // Set, Type: the text; Key: the key name; Choose: the item text; Snapshot: the name
  int index = -1;         // Choose: the item; Check, DoubleClick, the cell and drag words: the list row (-1: none)
  int column = -1;        // EditCell, ChooseCell: the cell's column
  int entry = -1;         // ChooseCell: the entry of the choice list
  int dropControl = 0;    // DragRow: the list the row is dropped on (0: the same)
  int dropRow = -1;       // DragRow: the row dropped on (-1: below the last one)
  bool byText = false;    // Choose by text
  bool checked = true;    // Check
  bool hasPoint = false;  // Click at a point of the control's client area
  POINT point{};          // Click, RightClick: the point; Drag: where it starts
  POINT to{};             // Drag: where it ends
  bool middleButton = false;  // Drag with the middle button
  int notches = 0;        // Wheel
  int width = 0;          // Resize: the window's new size
  int height = 0;
  uint32_t item = 0;      // PreviewPick: the item id
  int templateId = -1;    // Expect
  std::function<void(HWND dialog)> run;  // Run: a test's own step

  static DialogAction Expect(int templateId);
  static DialogAction Set(int control, std::string text);
  static DialogAction Type(int control, std::string text);
  static DialogAction Key(int control, std::string keyName);
  static DialogAction Click(int control);
  static DialogAction ClickAt(int control, POINT clientPoint);
  static DialogAction DoubleClick(int control, int row = -1);
  static DialogAction Check(int control, bool checked);
  static DialogAction CheckRow(int control, int row, bool checked);
  static DialogAction Choose(int control, int index);
  static DialogAction Choose(int control, std::string text);
  static DialogAction EditCell(int control, int row, int column, std::string text);
  static DialogAction ChooseCell(int control, int row, int column, int entry);
  static DialogAction DragRow(int control, int row, int dropControl, int dropRow);
  static DialogAction RightClick(int control, POINT clientPoint);
  static DialogAction Drag(int control, bool middleButton, POINT from, POINT to);
  static DialogAction Wheel(int control, int notches);
  static DialogAction PreviewPick(int control, uint32_t item);
  static DialogAction Resize(int width, int height);
  static DialogAction Snapshot(std::string name);
  static DialogAction Ok();
  static DialogAction Cancel();
  static DialogAction Run(std::function<void(HWND dialog)> step);
  // An action of a kind aimed at a control (0: none), the rest as a new
  // action has it: what the words above start from.
  static DialogAction Aimed(Kind kind, int control = 0);

  // The script line of the action (texts converted to UTF-8).
  std::string Describe() const;
};

// The script keywords of dialog actions (dialog, set, type, ...).
const std::vector<std::string>& DialogActionKeywords();
bool IsDialogActionKeyword(std::string_view keyword);
// A script line's keyword and arguments (UTF-8) as an action; false with
// the reason for unknown keywords and bad arguments.
bool ParseDialogAction(std::string_view keyword, const std::vector<std::string>& args, DialogAction* out,
                       std::string* why);

// Carries the action out in an open dialog: what it does through the
// keyboard and mouse is queued for the message loop; the rest happens at
// once. False with the reason when it cannot be done (no such control, a
// hidden or disabled one, an item that does not exist, a wrong dialog).
bool ApplyDialogAction(HWND dialog, const DialogAction& action, std::string* error);

// The cell and drag words (dialog_cell_actions.cpp); control is the list
// view named by the action.
bool ApplyCellAction(HWND dialog, HWND control, const DialogAction& action, std::string* error);

// The mouse words rclick, drag, wheel and preview-pick
// (dialog_mouse_actions.cpp): their keywords, parsing, script lines and
// carrying out in the control named by the action.
bool IsMouseActionKeyword(std::string_view keyword);
bool ParseMouseAction(const std::string& keyword, const std::vector<std::string>& args, DialogAction* out,
                      std::string* why);
std::string DescribeMouseAction(const DialogAction& action);
bool ApplyMouseAction(HWND control, const DialogAction& action, std::string* error);
