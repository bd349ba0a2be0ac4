#include "platform/win32/driver/dialog_actions.h"
#include "platform/win32/driver/window_pictures.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/win32/code_page.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/driver/dialog_targets.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

namespace {

using namespace dialog_targets;
using Kind = DialogAction::Kind;

std::string Quoted(const std::string& cp1250) {
  const std::string text = Cp1250ToUtf8(cp1250);
  bool plain = !text.empty();
  for (char c : text)
    if (c == ' ' || c == '\t' || c == '"' || c == '\\' || c == '#') plain = false;
  if (plain) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool ToCp1250(const std::string& utf8, std::string* out, std::string* why) {
  *out = Utf8ToCp1250(utf8);
  if (Cp1250ToUtf8(*out) != utf8) {
    if (why) *why = "\"" + utf8 + "\" has characters outside code page 1250";
    return false;
  }
  return true;
}

bool HasFocus(HWND control) {
  HWND focus = GetFocus();
  return focus && (focus == control || IsChild(control, focus));
}

// Gives the control the focus as the dialog manager would (Tab).
bool Focus(HWND dialog, HWND control, std::string* error) {
  if (HasFocus(control)) return true;
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  if (!HasFocus(control)) return Fail(error, "control " + std::to_string(GetDlgCtrlID(control)) + " takes no focus");
  return true;
}

// The item a script word names: by number, or by text, the first item of
// exactly that text, else the first of it in another case. `noun` names the
// items in the error ("item", "row").
template <class TextOf>
int ItemIndex(int count, const DialogAction& a, const char* noun, TextOf textOf, std::string* error) {
  const std::string control = "control " + std::to_string(a.control) + " has no " + noun + " ";
  if (!a.byText) {
    if (a.index >= 0 && a.index < count) return a.index;
    return Fail(error, control + std::to_string(a.index)), -1;
  }
  int loose = -1;
  for (int i = 0; i < count; ++i) {
    const std::string text = textOf(i);
    if (text == a.text) return i;
    if (loose < 0 && _mbsicmp(text.c_str(), a.text.c_str()) == 0) loose = i;
  }
  if (loose < 0) Fail(error, control + "\"" + Cp1250ToUtf8(a.text) + "\"");
  return loose;
}

// An item's text from a list that reports its length first (list and combo boxes).
std::string ListText(HWND list, UINT lengthMessage, UINT textMessage, int index) {
  const int n = static_cast<int>(SendMessageA(list, lengthMessage, static_cast<WPARAM>(index), 0));
  std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  SendMessageA(list, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max(n, 0)));
  return text;
}

int ComboIndex(HWND combo, const DialogAction& a, std::string* error) {
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  return ItemIndex(count, a, "item", [combo](int i) { return ListText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i); },
                   error);
}

int ListBoxIndex(HWND list, const DialogAction& a, std::string* error) {
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  return ItemIndex(count, a, "item", [list](int i) { return ListText(list, LB_GETTEXTLEN, LB_GETTEXT, i); }, error);
}

int ListViewIndex(HWND list, const DialogAction& a, std::string* error) {
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  const auto label = [list](int i) {
    char buffer[1024] = "";
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    return std::string(buffer);
  };
  return ItemIndex(count, a, "row", label, error);
}

bool Choose(HWND dialog, HWND control, const DialogAction& a, std::string* error) {
  const std::string cls = ClassOf(control);
  if (cls == "combobox") {
    const int index = ComboIndex(control, a, error);
    if (index < 0) return false;
    const DWORD type = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & 3;
    if (type == CBS_SIMPLE) {
      if (!Focus(dialog, control, error)) return false;
    } else if (!SendMessageA(control, CB_GETDROPPEDSTATE, 0, 0)) {
      RECT client;
      GetClientRect(control, &client);
      ClickAt(control, {client.right - 4, client.bottom / 2}, false);
    }
    headless::QueueDirect(control, winmodel::kHeadlessComboPick, static_cast<WPARAM>(index), 0);
    return true;
  }
  if (cls == "listbox") {
    const int index = ListBoxIndex(control, a, error);
    if (index < 0) return false;
    ClickAt(control, ListBoxPoint(control, index), false);
    return true;
  }
  if (cls == "syslistview32") {
    const int index = ListViewIndex(control, a, error);
    if (index < 0) return false;
    ClickAt(control, RowPoint(control, index, false), false);
    return true;
  }
  return Fail(error, "control " + std::to_string(a.control) + " has no items to choose from");
}

bool Check(HWND control, const DialogAction& a, std::string* error) {
  const std::string cls = ClassOf(control);
  if (a.index >= 0) {
    if (cls != "syslistview32" || !(SendMessageA(control, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES))
      return Fail(error, "control " + std::to_string(a.control) + " has no check boxes in its rows");
    if (ListViewIndex(control, a, error) < 0) return false;
    const UINT state = static_cast<UINT>(SendMessageA(control, LVM_GETITEMSTATE, static_cast<WPARAM>(a.index), LVIS_STATEIMAGEMASK)) >> 12;
    if ((state == 2) != a.checked) ClickAt(control, RowPoint(control, a.index, true), false);
    return true;
  }
  if (cls != "button") return Fail(error, "control " + std::to_string(a.control) + " is no check box");
  const DWORD type = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & BS_TYPEMASK;
  const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
  if (type != BS_CHECKBOX && type != BS_AUTOCHECKBOX && type != BS_3STATE && type != BS_AUTO3STATE && !radio)
    return Fail(error, "control " + std::to_string(a.control) + " is no check box");
  const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (checked == a.checked) return true;
  if (radio && !a.checked)
    return Fail(error, "radio button " + std::to_string(a.control) + " is cleared by checking another one");
  ClickAt(control, Center(control), false);
  return true;
}

bool PressButton(HWND dialog, int id, const char* name, std::string* error) {
  HWND button = FindControl(dialog, id);
  if (!button) {
    headless::QueueDirect(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return true;
  }
  if (!IsWindowVisible(button) || !IsWindowEnabled(button))
    return Fail(error, std::string("the ") + name + " button is " + (IsWindowVisible(button) ? "disabled" : "hidden"));
  ClickAt(button, Center(button), false);
  return true;
}

}  // namespace

DialogAction DialogAction::Aimed(Kind kind, int control) {
  DialogAction a;
  a.kind = kind;
  a.control = control;
  return a;
}
DialogAction DialogAction::Expect(int templateId) {
  DialogAction a = Aimed(Kind::Expect);
  a.templateId = templateId;
  return a;
}
DialogAction DialogAction::Set(int control, std::string text) {
  DialogAction a = Aimed(Kind::Set, control);
  a.text = std::move(text);
  return a;
}
DialogAction DialogAction::Type(int control, std::string text) {
  DialogAction a = Set(control, std::move(text));
  a.kind = Kind::Type;
  return a;
}
DialogAction DialogAction::Key(int control, std::string keyName) {
  DialogAction a = Set(control, std::move(keyName));
  a.kind = Kind::Key;
  return a;
}
DialogAction DialogAction::Click(int control) { return Aimed(Kind::Click, control); }
DialogAction DialogAction::ClickAt(int control, POINT clientPoint) {
  DialogAction a = Click(control);
  a.hasPoint = true;
  a.point = clientPoint;
  return a;
}
DialogAction DialogAction::DoubleClick(int control, int row) {
  DialogAction a = Click(control);
  a.kind = Kind::DoubleClick;
  a.index = row;
  return a;
}
DialogAction DialogAction::Check(int control, bool checked) {
  DialogAction a = Aimed(Kind::Check, control);
  a.checked = checked;
  return a;
}
DialogAction DialogAction::CheckRow(int control, int row, bool checked) {
  DialogAction a = Check(control, checked);
  a.index = row;
  return a;
}
DialogAction DialogAction::Choose(int control, int index) {
  DialogAction a = Aimed(Kind::Choose, control);
  a.index = index;
  return a;
}
DialogAction DialogAction::Choose(int control, std::string text) {
  DialogAction a = Choose(control, -1);
  a.byText = true;
  a.text = std::move(text);
  return a;
}
DialogAction DialogAction::EditCell(int control, int row, int column, std::string text) {
  DialogAction a = Aimed(Kind::EditCell, control);
  a.index = row;
  a.column = column;
  a.text = std::move(text);
  return a;
}
DialogAction DialogAction::ChooseCell(int control, int row, int column, int entry) {
  DialogAction a = Aimed(Kind::ChooseCell, control);
  a.index = row;
  a.column = column;
  a.entry = entry;
  return a;
}
DialogAction DialogAction::DragRow(int control, int row, int dropControl, int dropRow) {
  DialogAction a = Aimed(Kind::DragRow, control);
  a.index = row;
  a.dropControl = dropControl;
  a.dropRow = dropRow;
  return a;
}
DialogAction DialogAction::Snapshot(std::string name) {
  DialogAction a = Aimed(Kind::Snapshot);
  a.text = std::move(name);
  return a;
}

DialogAction DialogAction::Resize(int width, int height) {
  DialogAction a = Aimed(Kind::Resize);
  a.width = width;
  a.height = height;
  return a;
}

DialogAction DialogAction::Ok() { return Aimed(Kind::Ok); }
DialogAction DialogAction::Cancel() { return Aimed(Kind::Cancel); }
DialogAction DialogAction::Run(std::function<void(HWND)> step) {
  DialogAction a = Aimed(Kind::Run);
  a.run = std::move(step);
  return a;
}

std::string DialogAction::Describe() const {
  const std::string ctrl = std::to_string(control);
  switch (kind) {
    case Kind::Expect: return "dialog " + std::to_string(templateId);
    case Kind::Set: return "set " + ctrl + " " + Quoted(text);
    case Kind::Type: return "type " + ctrl + " " + Quoted(text);
    case Kind::Key: return "key " + ctrl + " " + text;
    case Kind::Click:
      return "click " + ctrl + (hasPoint ? " " + std::to_string(point.x) + " " + std::to_string(point.y) : "");
    case Kind::DoubleClick: return "dblclick " + ctrl + (index >= 0 ? " " + std::to_string(index) : "");
    case Kind::Check:
      return "check " + ctrl + (index >= 0 ? " " + std::to_string(index) : "") + (checked ? " 1" : " 0");
    case Kind::Choose:
      if (!byText) return "choose " + ctrl + " " + std::to_string(index);
      return "choose " + ctrl + " " + Quoted(AllDigits(text) ? "=" + text : text);
    case Kind::EditCell:
      return "edit-cell " + ctrl + " " + std::to_string(index) + " " + std::to_string(column) + " " + Quoted(text);
    case Kind::ChooseCell:
      return "choose-cell " + ctrl + " " + std::to_string(index) + " " + std::to_string(column) + " " +
             std::to_string(entry);
    case Kind::DragRow:
      return "drag-row " + ctrl + " " + std::to_string(index) +
             (dropControl ? " " + std::to_string(dropControl) : "") + " " + std::to_string(dropRow);
    case Kind::Ok: return "ok";
    case Kind::Cancel: return "cancel";
    case Kind::Run: return "(a test step)";
    case Kind::Resize: return "resize " + std::to_string(width) + " " + std::to_string(height);
    case Kind::Snapshot: return "snapshot " + Quoted(text);
    case Kind::RightClick:
    case Kind::Drag:
    case Kind::Wheel:
    case Kind::PreviewPick: return DescribeMouseAction(*this);
  }
  return {};
}

const std::vector<std::string>& DialogActionKeywords() {
  static const std::vector<std::string> words = {"dialog", "set",    "type", "key",       "click",
                                                 "dblclick", "check", "choose", "edit-cell", "choose-cell",
                                                 "drag-row", "ok",    "cancel", "rclick",    "drag",
                                                 "wheel",    "preview-pick", "resize", "snapshot"};
  return words;
}

bool IsDialogActionKeyword(std::string_view keyword) {
  for (const std::string& w : DialogActionKeywords())
    if (w == keyword) return true;
  return false;
}

bool ParseDialogAction(std::string_view keyword, const std::vector<std::string>& args, DialogAction* out,
                       std::string* why) {
  auto fail = [&](std::string reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  const std::string word(keyword);
  auto count = [&](size_t low, size_t high) {
    return args.size() >= low && args.size() <= high;
  };
  int control = 0;
  if (word == "ok" || word == "cancel") {
    if (!args.empty()) return fail(word + " takes no arguments");
    *out = word == "ok" ? DialogAction::Ok() : DialogAction::Cancel();
    return true;
  }
  if (word == "dialog") {
    int id;
    if (args.size() != 1 || !ParseInt(args[0], &id)) return fail("dialog needs a template id");
    *out = DialogAction::Expect(id);
    return true;
  }
  if (word == "resize") {
    int width, height;
    if (args.size() != 2 || !ParseInt(args[0], &width) || !ParseInt(args[1], &height) || width <= 0 || height <= 0)
      return fail("resize needs a width and a height in pixels");
    *out = DialogAction::Resize(width, height);
    return true;
  }
  if (word == "snapshot") {
    if (args.size() != 1 || args[0].empty()) return fail("snapshot needs a picture name");
    *out = DialogAction::Snapshot(args[0]);
    return true;
  }
  if (!IsDialogActionKeyword(word)) return fail("unknown dialog action '" + word + "'");
  if (args.empty() || !ParseInt(args[0], &control)) return fail(word + " needs a control id first");
  if (IsMouseActionKeyword(word)) return ParseMouseAction(word, args, out, why);
  if (word == "set" || word == "type") {
    if (args.size() != 2) return fail(word + " needs a control id and a text");
    std::string text;
    if (!ToCp1250(args[1], &text, why)) return false;
    *out = word == "set" ? DialogAction::Set(control, text) : DialogAction::Type(control, text);
    return true;
  }
  if (word == "key") {
    UINT vk, mods;
    if (args.size() != 2 || !headless::ParseKeyName(args[1], &vk, &mods)) return fail("key needs a control id and a key name");
    *out = DialogAction::Key(control, args[1]);
    return true;
  }
  if (word == "click") {
    if (args.size() == 1) {
      *out = DialogAction::Click(control);
      return true;
    }
    int x, y;
    if (args.size() != 3 || !ParseInt(args[1], &x) || !ParseInt(args[2], &y))
      return fail("click needs a control id and, optionally, X and Y");
    *out = DialogAction::ClickAt(control, {x, y});
    return true;
  }
  if (word == "dblclick") {
    int row = -1;
    if (!count(1, 2) || (args.size() == 2 && (!ParseInt(args[1], &row) || row < 0)))
      return fail("dblclick needs a control id and, optionally, a row");
    *out = DialogAction::DoubleClick(control, row);
    return true;
  }
  if (word == "check") {
    const std::string& state = args.back();
    if (!count(2, 3) || (state != "0" && state != "1")) return fail("check needs a control id, [a row,] and 0 or 1");
    int row = -1;
    if (args.size() == 3 && (!ParseInt(args[1], &row) || row < 0)) return fail("check needs a row number");
    *out = row >= 0 ? DialogAction::CheckRow(control, row, state == "1") : DialogAction::Check(control, state == "1");
    return true;
  }
  if (word == "edit-cell" || word == "choose-cell") {
    int row, column;
    if (args.size() != 4 || !ParseInt(args[1], &row) || row < 0 || !ParseInt(args[2], &column) || column < 0)
      return fail(word + (word == "edit-cell" ? " needs a control id, a row, a column and a text"
                                              : " needs a control id, a row, a column and an entry"));
    if (word == "choose-cell") {
      int entry;
      if (!ParseInt(args[3], &entry) || entry < 0) return fail("choose-cell needs an entry number");
      *out = DialogAction::ChooseCell(control, row, column, entry);
      return true;
    }
    std::string text;
    if (!ToCp1250(args[3], &text, why)) return false;
    *out = DialogAction::EditCell(control, row, column, text);
    return true;
  }
  if (word == "drag-row") {
    int row, dropControl = 0, dropRow;
    if (!count(3, 4) || !ParseInt(args[1], &row) || row < 0 || (args.size() == 4 && !ParseInt(args[2], &dropControl)) ||
        !ParseInt(args.back(), &dropRow) || dropRow < -1)
      return fail("drag-row needs a control id, a row, optionally a second control id, and a row or -1");
    *out = DialogAction::DragRow(control, row, dropControl, dropRow);
    return true;
  }
  // choose
  if (args.size() != 2) return fail("choose needs a control id and an index or a text");
  if (AllDigits(args[1])) {
    int index;
    if (!ParseInt(args[1], &index)) return fail("choose: index out of range");
    *out = DialogAction::Choose(control, index);
    return true;
  }
  std::string text = args[1];
  if (!text.empty() && text[0] == '=') text.erase(0, 1);
  std::string cp;
  if (!ToCp1250(text, &cp, why)) return false;
  *out = DialogAction::Choose(control, cp);
  return true;
}

bool ApplyDialogAction(HWND dialog, const DialogAction& a, std::string* error) {
  if (!IsWindow(dialog)) return Fail(error, "the dialog is gone");
  switch (a.kind) {
    case Kind::Expect: {
      int id = -1;
      GetDialogTemplateOf(dialog, &id, nullptr);
      if (id != a.templateId)
        return Fail(error, "dialog " + std::to_string(a.templateId) + " expected, dialog " + std::to_string(id) + " is open");
      return true;
    }
    case Kind::Ok: return PressButton(dialog, IDOK, "OK", error);
    case Kind::Cancel: return PressButton(dialog, IDCANCEL, "Cancel", error);
    case Kind::Run:
      if (a.run) a.run(dialog);
      return true;
    case Kind::Snapshot:
      // The loop asks for an action once every message is handled: the
      // picture shows the dialog as it stands after the steps before.
      return SnapshotWindow(dialog, a.text, error);
    case Kind::Resize:
      // In its turn, after the input queued before it.
      headless::QueueStep([dialog, w = a.width, h = a.height] { headless::SizeWindowAsUser(dialog, w, h); });
      return true;
    case Kind::Key: {
      UINT vk, mods;
      if (!headless::ParseKeyName(a.text, &vk, &mods)) return Fail(error, "unknown key '" + a.text + "'");
      if (a.control) {
        HWND control = Control(dialog, a.control, error);
        if (!control || !Focus(dialog, control, error)) return false;
      }
      headless::QueueKey(vk, mods);
      return true;
    }
    case Kind::Type:
      if (a.control) break;
      headless::QueueText(a.text);
      return true;
    default: break;
  }
  HWND control = Control(dialog, a.control, error);
  if (!control) return false;
  switch (a.kind) {
    case Kind::Set: {
      HWND target = control;
      if (ClassOf(control) == "combobox") {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        if (!info.hwndItem) return Choose(dialog, control, DialogAction::Choose(a.control, a.text), error);
        target = info.hwndItem;
      } else if (ClassOf(control) != "edit") {
        return Fail(error, "control " + std::to_string(a.control) + " takes no text");
      }
      if (GetWindowLongA(target, GWL_STYLE) & ES_READONLY)
        return Fail(error, "control " + std::to_string(a.control) + " is read-only");
      if (!Focus(dialog, control, error)) return false;
      SendMessageA(target, EM_SETSEL, 0, -1);
      SendMessageA(target, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(a.text.c_str()));
      return true;
    }
    case Kind::Type:
      if (!Focus(dialog, control, error)) return false;
      headless::QueueText(a.text);
      return true;
    case Kind::Click:
      ClickAt(control, a.hasPoint ? a.point : Center(control), false);
      return true;
    case Kind::DoubleClick: {
      if (a.index < 0) {
        ClickAt(control, Center(control), true);
        return true;
      }
      const std::string cls = ClassOf(control);
      if (cls == "syslistview32" && ListViewIndex(control, a, error) >= 0) {
        ClickAt(control, RowPoint(control, a.index, false), true);
        return true;
      }
      if (cls == "listbox" && ListBoxIndex(control, a, error) >= 0) {
        ClickAt(control, ListBoxPoint(control, a.index), true);
        return true;
      }
      return error && !error->empty() ? false : Fail(error, "control " + std::to_string(a.control) + " has no rows");
    }
    case Kind::Check: return Check(control, a, error);
    case Kind::Choose: return Choose(dialog, control, a, error);
    case Kind::EditCell:
    case Kind::ChooseCell:
    case Kind::DragRow: return ApplyCellAction(dialog, control, a, error);
    case Kind::RightClick:
    case Kind::Drag:
    case Kind::Wheel:
    case Kind::PreviewPick: return ApplyMouseAction(control, a, error);
    default: return Fail(error, "unknown action");
  }
}
