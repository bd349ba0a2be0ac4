#include "wizard/frame/controls/tests/ControlsDialog.h"

#include <cstdlib>
#include <cstring>

#include "common/CLocaleNumber.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/message_queue.h"
#include "wizard/frame/engine/CListItemData.h"
#include "wizard/frame/engine/CValueParam.h"

namespace controls_tests {

namespace {

struct GridLine {
  const char* name;
  const char* label;
  const char* value;
  const char* allowed;
  double low, high;
  uint32_t labelFlags;  // column 0
  uint32_t valueFlags;  // column 1 (0: no descriptor)
  uint32_t valueKind;
};

constexpr GridLine kGrid[kGridRows] = {
    {"L", "Length", "1000", "", 100, 5000, CellFlag::kEditable, CellFlag::kEditable, EditInput::kSignedDecimal},
    {"M", "Material", "steel", "steel|copper|plastic", 0, 0, 0, CellFlag::kChoices, 0},
    {"D", "Diameter", "20", "15|20|25", 10, 30, 0, CellFlag::kEditable | CellFlag::kChoices, EditInput::kSignedDecimal},
    {"V", "Volume", "5.2", "", 0, 0, 0, 0, 0},
    {"H", "Height", "300", "", 0, 1000, 0, CellFlag::kEditable, EditInput::kDigits},
    {"A", "Angle", "0", "0|10|20|30|40|50|60|70|80|90", 0, 90, 0, CellFlag::kChoices, 0},
};

struct OrderLine {
  const char* name;
  const char* label;
  const char* type;
  const char* value;
};

constexpr OrderLine kOrder[] = {{"a", "Length a", "Length", "1"},
                                {"b", "Length b", "Length", "2"},
                                {"c", "Angle c", "Angle", "3"},
                                {"d", "Count d", "Number", "4"}};

CValueParam* NewParam(const char* name, const char* label, const char* value) {
  auto* param = new CValueParam;
  param->SetText(ParamText::kName, name);
  param->SetText(ParamText::kLabel, label);
  param->SetText(ParamText::kValue, value);
  return param;
}

}  // namespace

void FillAllowedValues(CListBox* box, CValueParam* param) {
  const char* allowed = param ? param->GetText(ParamText::kAllowed) : nullptr;
  if (!allowed) return;
  std::string values = allowed;
  for (size_t start = 0; start <= values.size();) {
    size_t end = values.find('|', start);
    if (end == std::string::npos) end = values.size();
    if (end > start) box->AddString(values.substr(start, end - start).c_str());
    start = end + 1;
  }
}

ControlsDialog::ControlsDialog(HMODULE wizardTexts, CWnd* parent)
    : CDialog(IDD_CONTROLS, parent), wizardTexts_(wizardTexts) {}

ControlsDialog::~ControlsDialog() = default;

void ControlsDialog::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PARAMS, grid);
  DDX_Control(dx, IDC_ORDER, order);
  DDX_Control(dx, IDC_NOTE, note);
  DDX_Control(dx, IDC_NUMBER, number);
}

BOOL ControlsDialog::OnInitDialog() {
  // The lists take their texts from the wizard's resources, as in the
  // wizard's own dialogs.
  HINSTANCE dialogs = AfxGetResourceHandle();
  AfxSetResourceHandle(wizardTexts_);
  CDialog::OnInitDialog();
  AfxSetResourceHandle(dialogs);
  FillGrid();
  FillOrder();
  grid.SetTabNavigation(true, false);
  if (afterInit) afterInit();
  return TRUE;
}

void ControlsDialog::FillGrid() {
  grid.InsertColumn(0, "Parameter", LVCFMT_LEFT, 150);
  grid.InsertColumn(1, "Value", LVCFMT_LEFT, 120);
  for (int row = 0; row < kGridRows; ++row) {
    const GridLine& line = kGrid[row];
    CValueParam* param = NewParam(line.name, line.label, line.value);
    param->SetText(ParamText::kAllowed, line.allowed);
    param->lowLimit = line.low;
    param->highLimit = line.high;
    param->listRow = row;
    gridParams.AddTail(param);
    auto* head = new CListItemData(line.labelFlags, 0, EditInput::kIdentifier, param);
    if (line.valueFlags)
      head->AddTail(new CListItemData(line.valueFlags, 1, line.valueKind, param,
                                      (line.valueFlags & CellFlag::kChoices) ? FillChoicesFn{&FillAllowedValues} : nullptr));
    const std::string text = std::string(line.label) + " (" + line.name + ")";
    grid.InsertItem(LVIF_TEXT | LVIF_PARAM, row, text.c_str(), 0, 0, 0, reinterpret_cast<LPARAM>(head));
    grid.SetItemText(row, 1, line.value);
  }
}

void ControlsDialog::FillOrder() {
  int row = 0;
  for (const OrderLine& line : kOrder) {
    CValueParam* param = NewParam(line.name, line.label, nullptr);
    param->SetText(ParamText::kTypeTitle, line.type);
    param->SetText(ParamText::kDefault, line.value);
    param->listRow = row;
    orderParams.AddTail(param);
    order.InsertItem(LVIF_TEXT | LVIF_PARAM, row, line.name, 0, 0, 0, reinterpret_cast<LPARAM>(param));
    order.SetItemText(row, 1, line.label);
    order.SetItemText(row, 2, line.type);
    order.SetItemText(row, 3, line.value);
    ++row;
  }
  order.attached = &orderParams;
}

bool ControlsDialog::AcceptTyped(const Change& change) const {
  if (change.column != 1) return !change.text.empty();
  auto* param = static_cast<CValueParam*>(gridParams.GetHead());
  for (int i = 0; param && i < change.row; ++i) param = static_cast<CValueParam*>(param->GetNext());
  if (!param) return false;
  const char* end = nullptr;
  const double value = StrtodC(change.text.c_str(), &end);
  return !change.text.empty() && *end == '\0' && value >= param->lowLimit && value <= param->highLimit;
}

BOOL ControlsDialog::PreTranslateMessage(MSG* msg) {
  switch (msg->message) {
    case kCellChanged: {
      Change change;
      change.row = static_cast<int>(msg->lParam);
      change.column = static_cast<int>(msg->wParam);
      change.entry = msg->time;
      change.text = static_cast<LPCSTR>(grid.GetItemText(change.row, change.column));
      if (change.entry == kTypedText) change.accepted = AcceptTyped(change);
      changes.push_back(change);
      return change.accepted;
    }
    case kDeleteRowAsked:
      deleteAsked.push_back(static_cast<int>(msg->lParam));
      return allowDelete;
    case kEditEnter:
      if (msg->hwnd != note.m_hWnd && msg->hwnd != number.m_hWnd) break;
      privateMessages.emplace_back(::GetDlgCtrlID(msg->hwnd), msg->message);
      ::SendMessageA(msg->hwnd, EM_SETSEL, 0, -1);
      return TRUE;
    default: break;
  }
  return CDialog::PreTranslateMessage(msg);
}

std::string ControlsDialog::AttachedOrder() const {
  std::string names;
  for (CSeznam* node = orderParams.GetHead(); node; node = node->GetNext())
    names += (names.empty() ? "" : ",") + std::string(static_cast<CValueParam*>(node)->GetText(ParamText::kName));
  return names;
}

std::string ControlsDialog::ChangesText() const {
  std::string text;
  for (const Change& c : changes) {
    const GridLine& line = kGrid[c.row >= 0 && c.row < kGridRows ? c.row : 0];
    text += std::string(line.name) + " " + std::to_string(c.column) + " " +
            (c.entry == kTypedText ? "typed " : "chose " + std::to_string(c.entry) + " ") + c.text +
            (c.accepted ? "" : " refused") + "\n";
  }
  return text;
}

}  // namespace controls_tests
