// Every dialog template of both resource files, built and painted at 96 dots
// per inch as the template lays it out: each visible control shows something
// (pixels other than the dialog's face) in its rectangle, lies inside the
// client area and overlaps no other control unless one holds the other (a
// group box or frame around its controls). Controls the system fills or
// draws itself when the dialog runs (texts left empty in the template,
// owner-drawn ones) are only checked for their place.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/resources/tests/BuiltResourceFile.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/resource_file.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"
#include "platform/win32/driver/window_pictures.h"

namespace {

struct Control {
  int id = 0;
  std::string cls;
  DWORD style = 0;
  std::string text;
  RECT rect{};  // client coordinates; a combo box's selection field only
};

bool Is(const Control& c, const char* cls) { return EqualsIgnoreCase(c.cls, cls); }

bool Holds(const Control& outer, const Control& inner) {
  const bool container = (Is(outer, "Button") && (outer.style & BS_TYPEMASK) == BS_GROUPBOX) ||
                         (Is(outer, "Static") && ((outer.style & SS_TYPEMASK) == SS_ETCHEDFRAME ||
                                                  (outer.style & SS_TYPEMASK) == SS_BLACKFRAME ||
                                                  (outer.style & SS_TYPEMASK) == SS_GRAYFRAME ||
                                                  (outer.style & SS_TYPEMASK) == SS_WHITEFRAME));
  return container && inner.rect.left >= outer.rect.left && inner.rect.top >= outer.rect.top &&
         inner.rect.right <= outer.rect.right && inner.rect.bottom <= outer.rect.bottom;
}

// Whether the template alone gives the control something to show.
bool ShowsContent(const Control& c) {
  if (Is(c, "Button")) return (c.style & BS_TYPEMASK) != BS_OWNERDRAW && (!c.text.empty() ||
         (c.style & BS_TYPEMASK) == BS_CHECKBOX || (c.style & BS_TYPEMASK) == BS_AUTOCHECKBOX ||
         (c.style & BS_TYPEMASK) == BS_RADIOBUTTON || (c.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON ||
         (c.style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON);
  if (Is(c, "Static")) {
    const DWORD type = c.style & SS_TYPEMASK;
    if (type == SS_OWNERDRAW || type == SS_ICON || type == SS_BITMAP) return false;
    return !c.text.empty() || (type >= SS_BLACKRECT && type <= SS_WHITEFRAME) || type >= SS_ETCHEDHORZ;
  }
  return Is(c, "Edit") || Is(c, "ComboBox") || Is(c, "ListBox") || Is(c, WC_LISTVIEWA) || Is(c, "msctls_updown32");
}

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }


// The modes in which a dialog shows itself otherwise than its template: the
// controls each mode hides, and a lower band it cuts off (from the top of
// control `cutFrom` to the bottom: the `movedUp` controls rise by the
// band's height and the window loses it).
struct Mode {
  WORD templateId;
  const char* name;
  std::set<int> hidden;
  int cutFrom = 0;
  std::set<int> movedUp;
};
const Mode kModes[] = {
    // The product dialogs switch between catalogue drawing and product with
    // a check box, or with two radio buttons in its place ("radio mode").
    {IDD_PP, "check", {IDC_PP_SWITCH_PRODUCT, IDC_PP_SWITCH_CATALOGUE}, 0, {}},
    {IDD_PP, "radio", {IDC_PP_SWITCH}, 0, {}},
    {IDD_PP2, "check", {IDC_PP2_SWITCH_PRODUCT, IDC_PP2_SWITCH_CATALOGUE}, 0, {}},
    {IDD_PP2, "radio", {IDC_PP2_SWITCH}, 0, {}},
    // The mask editor run from the mask list (mode 0) hides its stored
    // masks and cuts their band off; run to preset the active mask (modes 1
    // and 2) it shows them.
    {IDD_MASK_DEF, "mode 0", {IDC_MASK_STORED_LABEL, IDC_MASK_STORED, IDC_MASK_SAVE}, IDC_MASK_SAVE,
     {IDOK, IDCANCEL, IDC_HELP_BUTTON}},
    {IDD_MASK_DEF, "modes 1 and 2", {}, 0, {}},
};

// Cuts the mode's lower band off the dialog.
void CutBand(HWND dialog, const Mode& mode) {
  RECT from, client;
  GetWindowRect(GetDlgItem(dialog, mode.cutFrom), &from);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&from), 2);
  GetClientRect(dialog, &client);
  const int h = client.bottom - from.top;
  for (int id : mode.movedUp) {
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left, r.top - h, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT frame;
  GetWindowRect(dialog, &frame);
  SetWindowPos(dialog, nullptr, frame.left, frame.top + h / 2, frame.right - frame.left, frame.bottom - frame.top - h,
               SWP_NOZORDER);
}

// The problems of one template's picture in a mode, as "CTRL: what".
std::vector<std::string> CheckTemplate(HMODULE module, WORD id, const Mode& mode) {
  std::vector<std::string> problems;
  HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, Quiet, 0);
  if (!dialog) return {"cannot be built"};
  for (int control : mode.hidden) ShowWindow(GetDlgItem(dialog, control), SW_HIDE);
  if (mode.cutFrom) CutBand(dialog, mode);
  ShowWindow(dialog, SW_SHOWNORMAL);
  WindowPicture picture;
  if (!PaintWindowPicture(dialog, &picture)) {
    DestroyWindow(dialog);
    return {"cannot be painted"};
  }
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(picture.width, client.right);
  EXPECT_EQ(picture.height, client.bottom);
  std::vector<Control> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    Control c;
    c.id = GetDlgCtrlID(child);
    char buffer[256] = {};
    GetClassNameA(child, buffer, sizeof buffer);
    c.cls = buffer;
    c.style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    GetWindowTextA(child, buffer, sizeof buffer);
    c.text = buffer;
    GetWindowRect(child, &c.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.rect), 2);
    if (Is(c, "ComboBox")) c.rect.bottom = std::min<LONG>(c.rect.bottom, c.rect.top + headless::kComboFieldHeight);
    controls.push_back(c);
  }
  const uint32_t face = GetSysColor(COLOR_BTNFACE);
  const uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
  for (const Control& c : controls) {
    const std::string name = std::to_string(c.id) + " (" + c.cls + ")";
    if (c.rect.left < 0 || c.rect.top < 0 || c.rect.right > client.right || c.rect.bottom > client.bottom)
      problems.push_back(name + ": outside the client area");
    else if (ShowsContent(c)) {
      int shown = 0;
      for (int y = std::max<LONG>(0, c.rect.top); y < std::min<LONG>(picture.height, c.rect.bottom); ++y)
        for (int x = std::max<LONG>(0, c.rect.left); x < std::min<LONG>(picture.width, c.rect.right); ++x)
          shown += picture.At(x, y) != faceRgb;
      if (shown == 0) problems.push_back(name + ": shows nothing");
    }
  }
  for (size_t i = 0; i < controls.size(); ++i)
    for (size_t k = i + 1; k < controls.size(); ++k) {
      const Control &a = controls[i], &b = controls[k];
      RECT both;
      if (!IntersectRect(&both, &a.rect, &b.rect) || Holds(a, b) || Holds(b, a)) continue;
      problems.push_back(std::to_string(a.id) + " and " + std::to_string(b.id) + ": overlap");
    }
  DestroyWindow(dialog);
  return problems;
}

struct ResourceFile {
  const char* name;
  // Layout faults known to be there, until their mend lands: "TEMPLATE:
  // problem".
  std::set<std::string> known;
};

}  // namespace

TEST(DialogTemplatePictures, EveryTemplateShowsItsControlsInPlace) {
  const HeadlessMetrics metrics = GetHeadlessMetrics();
  ASSERT_EQ(metrics.dotsPerInch, 96);
  const ResourceFile files[] = {
      {"Jov_Vantrix.qmr", {}},
      {"Wizard.qmr", {}}};
  int checked = 0;
  for (const ResourceFile& file : files) {
    HMODULE module = LoadBuiltResourceFile(file.name);
    ASSERT_NE(module, nullptr) << file.name;
    ResourceTable table;
    std::string error;
    ASSERT_TRUE(ReadResourceFile(BuiltModuleFolder() + "/" + file.name, table, error)) << error;
    for (const auto& entry : table.entries) {
      if (!entry->type.isNumber || entry->type.id != kRtDialog || !entry->name.isNumber) continue;
      const WORD id = entry->name.id;
      std::vector<const Mode*> modes;
      for (const Mode& m : kModes)
        if (m.templateId == id) modes.push_back(&m);
      const Mode whole{id, "", {}, 0, {}};
      if (modes.empty()) modes.push_back(&whole);
      for (const Mode* mode : modes) {
        ++checked;
        for (const std::string& problem : CheckTemplate(module, id, *mode)) {
          const std::string finding = std::to_string(id) + (*mode->name ? " " : "") + mode->name + ": " + problem;
          if (!file.known.count(finding)) ADD_FAILURE() << file.name << " template " << finding;
        }
      }
    }
  }
  EXPECT_GE(checked, 17);
}
