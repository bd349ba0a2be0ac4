// Every dialog template of both resource files, built and painted at 96 dots
// per inch as the template lays it out: each visible control shows something
// (pixels other than the dialog's face) in its rectangle, lies inside the
// client area and overlaps no other control unless one holds the other (a
// group box or frame around its controls). Controls the system fills or
// draws itself when the dialog runs (texts left empty in the template,
// owner-drawn ones) are only checked for their place. Painted alone, a
// control paints within its template box, and one with a frame (a border,
// an edge, a push button, a combo box's field) paints its whole box; no
// text is cut.
#include <gtest/gtest.h>

#include <filesystem>
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
#include "platform/win32/gdi_raster.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/resource_file.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"
#include "platform/win32/driver/window_pictures.h"

namespace {

struct Control {
  HWND window = nullptr;
  size_t item = 0;  // its place in the template
  int id = 0;
  std::string cls;
  DWORD style = 0;
  DWORD exStyle = 0;
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

uint32_t FaceRgb() {
  const uint32_t face = GetSysColor(COLOR_BTNFACE);
  return ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
}

// Whether the control paints its whole box: a frame of its own or of its
// window.
bool PaintsWholeBox(const Control& c) {
  if ((c.style & WS_BORDER) || (c.exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) || Is(c, "ComboBox")) return true;
  return Is(c, "Button") && (c.style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
}

// The box of what the control paints with the dialog's other controls
// hidden; empty when it paints nothing.
RECT PaintedBox(HWND dialog, const Control& c, const std::vector<Control>& all) {
  for (const Control& o : all)
    if (o.window != c.window) ShowWindow(o.window, SW_HIDE);
  WindowPicture picture;
  RECT box{0, 0, 0, 0};
  if (PaintWindowPicture(dialog, &picture)) {
    const uint32_t face = FaceRgb();
    box = {picture.width, picture.height, 0, 0};
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x)
        if (picture.At(x, y) != face) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    if (box.right <= box.left) box = {0, 0, 0, 0};
  }
  for (const Control& o : all)
    if (o.window != c.window) ShowWindow(o.window, SW_SHOWNA);
  return box;
}

std::string Box(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// The template's own box of each control, in the dialog's pixels, in the
// template's order.
std::vector<RECT> TemplateBoxes(HWND dialog, const std::vector<BYTE>& bytes) {
  std::vector<RECT> boxes;
  DialogTemplate t;
  std::string error;
  if (!ParseDialogTemplate(bytes.data(), bytes.size(), &t, &error)) return boxes;
  for (const DialogTemplateItem& item : t.items) {
    // Place and size each in dialog units, as the dialog maps them.
    RECT r{item.x, item.y, item.cx, item.cy};
    MapDialogRect(dialog, &r);
    boxes.push_back({r.left, r.top, r.left + r.right, r.top + r.bottom});
  }
  return boxes;
}

// The problems of one template's picture in a mode, as "CTRL: what".
std::vector<std::string> CheckTemplate(HMODULE module, WORD id, const Mode& mode, const std::vector<BYTE>& bytes) {
  std::vector<std::string> problems;
  HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, Quiet, 0);
  if (!dialog) return {"cannot be built"};
  for (int control : mode.hidden) ShowWindow(GetDlgItem(dialog, control), SW_HIDE);
  if (mode.cutFrom) CutBand(dialog, mode);
  ShowWindow(dialog, SW_SHOWNORMAL);
  WindowPicture picture;
  raster::ClearCutTexts();
  if (!PaintWindowPicture(dialog, &picture)) {
    DestroyWindow(dialog);
    return {"cannot be painted"};
  }
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(picture.width, client.right);
  EXPECT_EQ(picture.height, client.bottom);
  std::vector<Control> controls;
  size_t item = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++item) {
    if (!IsWindowVisible(child)) continue;
    Control c;
    c.window = child;
    c.item = item;
    c.id = GetDlgCtrlID(child);
    char buffer[256] = {};
    GetClassNameA(child, buffer, sizeof buffer);
    c.cls = buffer;
    c.style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    c.exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
    GetWindowTextA(child, buffer, sizeof buffer);
    c.text = buffer;
    GetWindowRect(child, &c.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.rect), 2);
    if (Is(c, "ComboBox")) c.rect.bottom = std::min<LONG>(c.rect.bottom, c.rect.top + headless::kComboFieldHeight);
    controls.push_back(c);
  }
  const uint32_t faceRgb = FaceRgb();
  // Every text of the template shows whole: none cut, none shortened.
  for (const raster::CutText& cut : raster::CutTexts())
    problems.push_back("\"" + cut.text + "\" cut" + (cut.ellipsis ? " (with an ellipsis)" : ""));
  // Painted alone, in its template box (a combo box's field; a list box of
  // whole rows may be shorter by less than a row), its whole box when framed.
  const std::vector<RECT> boxes = TemplateBoxes(dialog, bytes);
  EXPECT_EQ(boxes.size(), item) << "template " << id;
  for (const Control& c : controls) {
    if (c.item >= boxes.size() || mode.cutFrom) continue;
    RECT expected = boxes[c.item];
    if (Is(c, "ComboBox")) expected.bottom = std::min<LONG>(expected.bottom, expected.top + headless::kComboFieldHeight);
    if (Is(c, "ListBox") && c.rect.bottom < expected.bottom &&
        expected.bottom - c.rect.bottom < headless::kListBoxItemHeight)
      expected.bottom = c.rect.bottom;
    const RECT painted = PaintedBox(dialog, c, controls);
    const std::string name = std::to_string(c.id) + " (" + c.cls + ")";
    if (!EqualRect(&c.rect, &expected)) problems.push_back(name + ": window " + Box(c.rect) + ", template " + Box(expected));
    if (painted.right <= painted.left) continue;
    RECT inside;
    IntersectRect(&inside, &painted, &expected);
    if (PaintsWholeBox(c) ? !EqualRect(&painted, &expected) : !EqualRect(&inside, &painted))
      problems.push_back(name + ": painted " + Box(painted) + ", template " + Box(expected));
  }
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
        for (const std::string& problem : CheckTemplate(module, id, *mode, entry->data)) {
          const std::string finding = std::to_string(id) + (*mode->name ? " " : "") + mode->name + ": " + problem;
          if (!file.known.count(finding)) ADD_FAILURE() << file.name << " template " << finding;
        }
      }
    }
  }
  EXPECT_GE(checked, 17);
}

// Texts a record field of the Vantrix panel gets at run time: a 40-character
// radiator name shows whole; a longer one ends with an ellipsis, never
// mid-word.
TEST(DialogTemplatePictures, RecordFieldsShowTheirTextsOrAnEllipsis) {
  HMODULE module = LoadBuiltResourceFile("Wizard.qmr");
  ASSERT_NE(module, nullptr);
  HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_PP), nullptr, Quiet, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOWNORMAL);
  const std::string name40 = "Deskov\xE9 otopn\xE9 t\xECleso RADIK VKM 22/600/1";
  ASSERT_EQ(name40.size(), 40u);
  struct Row {
    int control;
    std::string text;
    bool cut;
  } const rows[] = {
      {IDC_PP_FIELD2, name40, false},
      {IDC_PP_FIELD7, "VK 22/600/1400 Ventil Kompakt pravy", false},
      {IDC_PP_FIELD2, name40 + " " + name40, true},
  };
  for (const Row& row : rows) {
    SetWindowTextA(GetDlgItem(dialog, row.control), row.text.c_str());
    raster::ClearCutTexts();
    WindowPicture picture;
    ASSERT_TRUE(PaintWindowPicture(dialog, &picture));
    std::vector<raster::CutText> cuts;
    for (const raster::CutText& c : raster::CutTexts())
      if (c.text == row.text) cuts.push_back(c);
    EXPECT_EQ(cuts.size(), row.cut ? 1u : 0u) << row.text;
    for (const raster::CutText& c : cuts) EXPECT_TRUE(c.ellipsis) << row.text;
    SetWindowTextA(GetDlgItem(dialog, row.control), "");
  }
  DestroyWindow(dialog);
}

// A long message wraps at word boundaries within the box, which grows as
// tall as its lines: every line of words is in the picture, above the
// buttons, and nothing reaches the right margin.
TEST(DialogTemplatePictures, MessageBoxHoldsAllItsWords) {
  std::string text;
  while (text.size() < 600) text += "The section exchange file could not be written to the folder. ";
  text.resize(600);
  const WindowPicture picture = PaintMessageBoxPicture("Vantrix", text, MB_OK | MB_ICONWARNING);
  ASSERT_GT(picture.width, 0);
  EXPECT_LE(picture.width, GetHeadlessMetrics().screenWidth * 5 / 8);
  // Bands of rows with ink in the text column (right of the icon).
  const uint32_t face = FaceRgb();
  const int buttonsTop = picture.height - 12 - 23;
  int bands = 0, right = 0;
  bool inBand = false;
  for (int y = headless::kCaption; y < buttonsTop; ++y) {
    bool ink = false;
    for (int x = 62; x < picture.width; ++x)
      if (picture.At(x, y) != face) {
        ink = true;
        right = std::max(right, x);
      }
    bands += ink && !inBand;
    inBand = ink;
  }
  // The words laid end to end need at least this many lines of the box.
  const double words = 600 * 5.0;  // more than 5 pixels a character at 8 points
  EXPECT_GE(bands, static_cast<int>(words / (picture.width - 62 - 12)));
  EXPECT_GE(bands, 2);
  EXPECT_LT(right, picture.width - 12);
}

// A snapshot's name stays inside the picture folder.
TEST(DialogTemplatePictures, SnapshotNamesStayInsideThePictureFolder) {
  HMODULE module = LoadBuiltResourceFile("Wizard.qmr");
  ASSERT_NE(module, nullptr);
  HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_PP), nullptr, Quiet, 0);
  ASSERT_NE(dialog, nullptr);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "snapshot_names" / "pictures";
  std::filesystem::remove_all(folder.parent_path());
  SetDialogPictureFolder(folder.string());
  const struct {
    const char* name;
    const char* file;  // written, relative to the folder; null: refused
  } rows[] = {
      {"inside/one", "inside/one.png"}, {"a/../two", "two.png"},       {"../outside", nullptr},
      {"a/../../outside", nullptr},     {"/tmp/snapshot_abs", nullptr}, {"..", nullptr},
      {"", nullptr},
  };
  for (const auto& row : rows) {
    std::string why;
    EXPECT_EQ(SnapshotWindow(dialog, row.name, &why), row.file != nullptr) << row.name << ": " << why;
    if (row.file) {
      EXPECT_TRUE(std::filesystem::exists(folder / row.file)) << row.name;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder.parent_path() / "outside.png"));
  SetDialogPictureFolder("");
  DestroyWindow(dialog);
  std::filesystem::remove_all(folder.parent_path());
}
