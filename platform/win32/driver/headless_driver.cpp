#include "platform/win32/driver/headless_driver.h"

#include <algorithm>
#include <cstdio>

#include "platform/win32/code_page.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/driver/preview_reader.h"
#include "platform/win32/window_api.h"

void HeadlessDriver::OnDialog(int templateId, std::vector<DialogAction> actions) {
  pending_[templateId].push_back(std::move(actions));
}

void HeadlessDriver::AnswerMessageBox(int button) { boxes_.push_back(button); }

void HeadlessDriver::AnswerFile(std::string path) { files_.push_back({false, std::move(path)}); }

void HeadlessDriver::CancelFile() { files_.push_back({true, {}}); }

void HeadlessDriver::ChooseMenu(UINT command) { menus_.push_back(command); }

size_t HeadlessDriver::PendingDialogs() const {
  size_t n = 0;
  for (const auto& p : pending_) n += p.second.size();
  return n;
}

std::optional<int> HeadlessDriver::AnswerMessageBox(const MessageBoxCall&) {
  if (boxes_.empty()) return std::nullopt;
  int answer = boxes_.front();
  boxes_.pop_front();
  return answer;
}

std::optional<FileDialogAnswer> HeadlessDriver::AnswerFileDialog(const FileDialogCall&) {
  if (files_.empty()) return std::nullopt;
  FileDialogAnswer answer = files_.front();
  files_.pop_front();
  return answer;
}

std::optional<UINT> HeadlessDriver::ChooseMenuCommand(const MenuCall&) {
  if (menus_.empty()) return std::nullopt;
  UINT command = menus_.front();
  menus_.pop_front();
  return command;
}

std::optional<DialogAction> HeadlessDriver::NextDialogAction(const DialogInfo& dialog) {
  auto running = running_.find(dialog.window);
  if (running == running_.end()) {
    std::deque<DialogAction> actions;
    auto queued = pending_.find(dialog.templateId);
    if (queued != pending_.end() && !queued->second.empty()) {
      for (DialogAction& a : queued->second.front()) actions.push_back(std::move(a));
      queued->second.pop_front();
    }
    running = running_.emplace(dialog.window, std::move(actions)).first;
  }
  if (running->second.empty()) return std::nullopt;
  DialogAction next = std::move(running->second.front());
  running->second.pop_front();
  return next;
}

void HeadlessDriver::DialogClosed(const DialogInfo& dialog, INT_PTR) {
  running_.erase(dialog.window);
  closed_.push_back(DescribeDialogControls(dialog.window));
}

namespace {

std::string Text(HWND w) {
  char buffer[4096] = "";
  GetWindowTextA(w, buffer, sizeof buffer);
  return "\"" + Cp1250ToUtf8(buffer) + "\"";
}

std::string Describe(HWND c) {
  char cls[64] = "";
  GetClassNameA(c, cls, sizeof cls);
  const std::string name = cls;
  std::string line = std::to_string(GetDlgCtrlID(c)) + " " + name;
  auto add = [&](const std::string& s) { line += " " + s; };
  auto lower = [](std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
  };
  const std::string kind = lower(name);
  if (kind == "button") {
    const DWORD type = static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)) & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX && type != BS_OWNERDRAW)
      add("check=" + std::to_string(SendMessageA(c, BM_GETCHECK, 0, 0)));
    add(Text(c));
  } else if (kind == "combobox" || kind == "listbox") {
    // The count, the choice, then every item's text as a list view's rows.
    const bool combo = kind == "combobox";
    if (combo) add(Text(c));
    const int items = static_cast<int>(SendMessageA(c, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    add("items=" + std::to_string(items));
    add("selected=" + std::to_string(SendMessageA(c, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)));
    for (int i = 0; i < items; ++i) {
      const LRESULT length = SendMessageA(c, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
      std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
      if (length > 0) SendMessageA(c, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
      add("\"" + Cp1250ToUtf8(text.c_str()) + "\"");
    }
  } else if (kind == "syslistview32") {
    const int rows = static_cast<int>(SendMessageA(c, LVM_GETITEMCOUNT, 0, 0));
    add("rows=" + std::to_string(rows));
    add("selected=" + std::to_string(SendMessageA(c, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
    if (SendMessageA(c, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) {
      std::string checks;
      for (int i = 0; i < rows; ++i) {
        const UINT s = static_cast<UINT>(SendMessageA(c, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK)) >> 12;
        checks += (i ? "," : "") + std::to_string(s == 2 ? 1 : 0);
      }
      add("checked=" + checks);
    }
    // Each row's cells, column by column.
    HWND header = reinterpret_cast<HWND>(SendMessageA(c, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    for (int i = 0; i < rows; ++i) {
      std::string cells;
      for (int column = 0; column < std::max(columns, 1); ++column) {
        LVCOLUMNA col{};
        col.mask = LVCF_SUBITEM;
        col.iSubItem = column;
        SendMessageA(c, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
        char text[1024] = "";
        LVITEMA item{};
        item.iSubItem = col.iSubItem;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(c, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        cells += (column ? "|" : "") + Cp1250ToUtf8(text);
      }
      add("\"" + cells + "\"");
    }
  } else if (kind == "msctls_trackbar32") {
    add("position=" + std::to_string(SendMessageA(c, TBM_GETPOS, 0, 0)));
  } else {
    add(Text(c));
  }
  if (!IsWindowEnabled(c)) add("disabled");
  // Its own state: an ended dialog is hidden with all it holds.
  if (!(GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE)) add("hidden");
  return line;
}

}  // namespace

std::string DescribeDialogControls(HWND dialog) {
  if (!IsWindow(dialog)) return {};
  std::string out;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    out += "  " + Describe(c) + "\n";
    // What a preview shows, indented under it.
    const std::string content = DescribePreview(c);
    for (size_t at = 0; at < content.size();) {
      size_t end = content.find('\n', at);
      if (end == std::string::npos) end = content.size();
      out += "    " + content.substr(at, end - at) + "\n";
      at = end + 1;
    }
  }
  return out;
}
