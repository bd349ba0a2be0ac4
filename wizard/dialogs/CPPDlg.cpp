#include "wizard/dialogs/CPPDlg.h"

#include <cstring>
#include <string>
#include <vector>

#include "common/CLocaleNumber.h"
#include "dataformat/GroupCodeChain.h"
#include "common/HostModule.h"
#include "common/SettingsWrite.h"
#include "common/VantrixDataList.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CWaitCursor.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/file_access.h"
#include "platform/win32/help.h"
#include "platform/win32/profile.h"
#include "platform/win32/registry.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/CExceptionEx.h"
#include "wizard/dialogs/ComboSelection.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/DialogMessages.h"
#include "wizard/dialogs/PlacedTextLimit.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/dialogs/ProductPlacement.h"
#include "wizard/dialogs/ProductSwitch.h"
#include "wizard/frame/engine/CListItemData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/GeometryRegeneration.h"
#include "wizard/frame/engine/LastValues.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterPresentation.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/ProductFormulas.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueEntry.h"
#include "wizard/frame/engine/ValueRules.h"

namespace {

constexpr UINT kQueryMessage = 0x7101;

// A length: entered in metres in length mode 1, shown by the mode.
bool IsLength(const CValueParam& p) { return p.status != 0 && !(p.status & ParamStatus::kFormula); }

CString LoadText(UINT id) {
  char text[256] = "";
  LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
  return text;
}

}  // namespace

CPPDlg::CPPDlg(unsigned view, CWnd* parent, bool editorTest, bool backAllowed)
    : CDialog(IDD_PP, parent), view(view), editorTest(editorTest), backAllowed(backAllowed) {}

CPPDlg::~CPPDlg() {
  if (!editorTest) {
    delete params;
    delete geometry;
  }
}

void CPPDlg::SetPropertyFlags(unsigned char* flags, unsigned count) {
  propertyFlags = flags;
  flagCount = count;
}

void CPPDlg::SetLengthUnit(unsigned mode) { lengthMode = mode; }

void CPPDlg::SetConnection(unsigned own, unsigned index, const char* points, bool use) {
  ownNumber = own;
  pointIndex = index;
  pointsText = points;
  vantrixUse = use;
}

void CPPDlg::SetQProd(const char* code) { productCode = code; }

BEGIN_MESSAGE_MAP(CPPDlg, CDialog)
  ON_MESSAGE(kQueryMessage, &CPPDlg::OnQuery)
  ON_BN_CLICKED(IDC_PP_SWITCH, &CPPDlg::OnSwitch)
  ON_BN_CLICKED(IDC_PP_SWITCH_PRODUCT, &CPPDlg::OnSwitchRadio)
  ON_BN_CLICKED(IDC_PP_SWITCH_CATALOGUE, &CPPDlg::OnSwitchRadio)
  ON_BN_CLICKED(IDC_PP_MIRROR, &CPPDlg::OnMirror)
  ON_BN_CLICKED(IDC_PP_HELP, &CPPDlg::OnHelpButton)
  ON_BN_CLICKED(IDC_PP_BACK, &CPPDlg::OnBack)
  ON_BN_CLICKED(IDC_PP_CATALOGUE, &CPPDlg::CallKorpalinCatalogue)
  ON_CBN_SELENDOK(IDC_PP_FLOOR, &CPPDlg::OnFloorChanged)
  ON_CBN_SELENDOK(IDC_PP_ROOM, &CPPDlg::OnRoomChanged)
  ON_CBN_SELENDOK(IDC_PP_ITEM, &CPPDlg::OnItemChanged)
  ON_WM_HELPINFO()
END_MESSAGE_MAP()

void CPPDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PP_PARAMS, list);
  DDX_Control(dx, IDC_PP_FLOOR, floorCombo);
  DDX_Control(dx, IDC_PP_ROOM, roomCombo);
  DDX_Control(dx, IDC_PP_ITEM, itemCombo);
  DDX_Control(dx, IDC_PP_MARKED, markedCombo);
  DDX_Text(dx, IDC_PP_REPORT, report);
  DDX_Check(dx, IDC_PP_SWITCH, switchCheck);
  DDX_Radio(dx, IDC_PP_SWITCH_PRODUCT, switchRadio);
  DDX_Check(dx, IDC_PP_MIRROR, mirrorCheck);
  DDX_CBIndex(dx, IDC_PP_ROOM, roomIndex);
  DDX_CBIndex(dx, IDC_PP_FLOOR, floorIndex);
  DDX_CBIndex(dx, IDC_PP_ITEM, itemIndex);
  DDX_CBIndex(dx, IDC_PP_MARKED, markedIndex);
}

LRESULT CPPDlg::OnQuery(WPARAM, LPARAM) { return 1; }

void CPPDlg::LoadProduct() {
  preview = MakeProductPreview();
  if (!preview->Create(this, IDC_PP_PREVIEW)) throw CExceptionEx{IDS_PREVIEW_FAILED, MB_ICONERROR, 0};
  if (!params) {
    params = new (std::nothrow) CObjectSez;
    if (!params) throw CExceptionEx{IDS_NOT_ENOUGH_MEMORY, MB_ICONERROR, 0};
    LoadProductParameters(*params);
    LoadLastValues(*params);
    RecalculateParameters(*params, nullptr, lengthMode, initialRecalc);
  }
  TheProductDialogHost().ProductDxf(view, catalogueGeometry);
  if (!geometry) {
    geometry = new (std::nothrow) CObjectSez;
    if (!geometry) throw CExceptionEx{IDS_NOT_ENOUGH_MEMORY, MB_ICONERROR, 0};
    ParseProductGeometry(*geometry, catalogueGeometry.head, true);
    LoadProductFormulas(*geometry, view);
  }
  jovDatabase::Database* db = CurrentCatalogue();
  qmString id;
  if (db && db->GetIndexID(id) == jovDatabase::eOK && id.GetString()) indexId = id.GetString();
  SetUpVantrixPanel();
  ApplyZLevelRadius(*params, indexId, "d");
}

void CPPDlg::RebuildChain1() {
  CWaitCursor wait;
  resbuf*& chain = TheProductDialogHost().ResultChain(1);
  DeleteGroupCodeChain(&chain);
  DuplicateGroupCodeChain(catalogueGeometry.head, &chain);
  RegenerateProductGeometry(*geometry, *params, chain);
}

const char* CPPDlg::ProducerCode() const {
  const char* producer[ProductDialogHost::kProducerTexts];
  TheProductDialogHost().GetProducerData(producer);
  return producer[0] && *producer[0] ? producer[0] : productCode;
}

bool CPPDlg::BuildChains() {
  ProductDialogHost& host = TheProductDialogHost();
  host.ApplyConnectionLevel(view, pointIndex, pointsText, ownNumber, params);
  // A failed build may have left nodes: a second OK starts afresh.
  DeleteGroupCodeChain(&host.ResultChain(2));
  return host.BuildProductXData(m_hWnd, view, params, propertyFlags, flagCount, ProducerCode(), host.Slope(),
                                nullptr);
}

void CPPDlg::AppendProducerData() {
  const char* producer[ProductDialogHost::kProducerTexts];
  TheProductDialogHost().GetProducerData(producer);
  // The product text (0) is written as the code; the rest in this order.
  static constexpr std::pair<int, const char*> kKeys[] = {
      {1, "_QDATE"}, {2, "_GROUP"}, {3, "_QTYPE"}, {4, "_MEASUREMENT"}, {5, "_PRICE"}, {6, "_QUNIT"}};
  resbuf* last = LastGroupCodeNode(&TheProductDialogHost().ResultChain(2));
  for (const auto& [index, key] : kKeys) {
    if (!producer[index] || !*producer[index]) continue;
    resbuf *keyNode = nullptr, *valueNode = nullptr;
    if (!CreateGroupCodeNode(&keyNode, 1000, key) || !CreateGroupCodeNode(&valueNode, 1000, producer[index])) {
      DeleteGroupCodeChain(&keyNode);
      return;
    }
    keyNode->next = valueNode;
    last->next = keyNode;
    last = valueNode;
  }
}

void CPPDlg::ShowInPreview() {
  if (preview)
    preview->ShowSwitched(SwitchOn(), catalogueGeometry.head, TheProductDialogHost().ResultChain(1), ownNumber);
}

void CPPDlg::RefreshReport() {
  std::string text;
  FormatParameterReport(*params, text, lengthMode);
  report = text.c_str();
}

void CPPDlg::ConnectionPrefill() {
  char line[257] = "", names[1024] = "";
  ProductDialogHost& host = TheProductDialogHost();
  if (!host.PointText(pointsText, pointIndex, view, line, sizeof line)) return;
  std::vector<std::string> values, keys;
  SplitParamValues(line, values);
  if (host.ProductPointName(view, ownNumber, names, sizeof names)) SplitParamNames(names, keys);
  if (values.size() != keys.size()) return;
  for (size_t i = 0; i < keys.size(); ++i) {
    // A value that would split the stored texts is not taken.
    if (BreaksStoredTexts(values[i])) continue;
    for (int row = 0; row < list.GetItemCount(); ++row) {
      auto* head = reinterpret_cast<CListItemData*>(list.GetItemData(row));
      CValueParam* p = head ? head->param : nullptr;
      const char* name = p ? p->GetText(ParamText::kName) : nullptr;
      if (!name || keys[i] != name) continue;
      if (CListItemData* cell = head->ForColumn(1)) cell->flags = 0;
      list.SetItemText(row, 1,
                       IsLength(*p) && !(p->status & ParamStatus::kAnyFree)
                           ? FormatLengthCell(AtofC(values[i].c_str()), lengthMode).c_str()
                           : values[i].c_str());
      p->SetText(ParamText::kValue, values[i].c_str());
      break;
    }
  }
  RebuildChain1();
  RefreshReport();
}

BOOL CPPDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(TheDialogHost().Icon()));
  CWnd* switchBox = GetDlgItem(IDC_PP_SWITCH);
  radioMode = SetUpProductSwitch(this, IDC_PP_SWITCH, IDC_PP_SWITCH_PRODUCT, IDC_PP_SWITCH_CATALOGUE, captionA, captionB);
  if (!backAllowed) GetDlgItem(IDC_PP_BACK)->EnableWindow(FALSE);

  try {
    LoadProduct();
  } catch (const CExceptionEx& e) {
    MessageBoxRes(m_hWnd, e.messageId, e.boxFlags);
    EndDialog(-1);
    return TRUE;
  }

  if (markedCombo.GetCount() > 0) markedIndex = 0;
  RebuildChain1();

  if (!HasUserParams(*params)) {
    // Nothing to ask: the product as it is.
    if (BuildChains()) {
      AppendProducerData();
      EndDialog(IDOK);
    } else {
      MessageBoxRes(m_hWnd, IDS_XDATA_NOT_BUILT, MB_ICONWARNING);
      EndDialog(IDCANCEL);
    }
    return TRUE;
  }

  RestorePlacement();
  CRect client;
  list.GetClientRect(&client);
  list.InsertColumn(0, LoadText(IDS_PARAM_COLUMN_LABEL), LVCFMT_LEFT, 100);
  list.InsertColumn(1, LoadText(IDS_VALUE_COLUMN), LVCFMT_LEFT, client.Width() - 100 - 20);
  list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  list.cellTextLimit = kPlacedTextLimit;
  SetLengthDisplayMode(lengthMode);
  FillParamList(*params, &list, nullptr, false, lengthMode);
  RefreshReport();

  ConnectionPrefill();

  switchBox->SetWindowText(SwitchOn() ? captionA : captionB);
  ShowInPreview();

  if (editorTest) {
    GetDlgItem(IDOK)->ShowWindow(SW_HIDE);
    GetDlgItem(IDCANCEL)->SetWindowText(LoadText(IDS_EDITOR_TEST_CLOSE));
  }

  const int mirror = TheProductDialogHost().Mirror();
  CWnd* mirrorBox = GetDlgItem(IDC_PP_MIRROR);
  if (mirror == -1) {
    mirrorBox->ShowWindow(SW_HIDE);
  } else {
    mirrorCheck = mirror;
    mirrorBox->ShowWindow(SW_SHOW);
    if (mirror == 1) preview->SetMirrored(true);
  }

  list.SetTabNavigation(true, false);
  UpdateData(FALSE);
  return TRUE;
}

BOOL CPPDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message != kCellChanged) return CDialog::PreTranslateMessage(msg);
  return OnCellChanged(static_cast<int>(msg->lParam), msg->time != kTypedText);
}

BOOL CPPDlg::OnCellChanged(int row, bool chosen) {
  auto* head = reinterpret_cast<CListItemData*>(list.GetItemData(row));
  CValueParam* p = head ? head->param : nullptr;
  if (!p) return TRUE;
  const CString typed = list.GetItemText(row, 1);
  const char* text = typed;
  if (!(p->status & ParamStatus::kAnyFree)) {
    // Only lengths are entered in metres; a formula value never is.
    const bool metres = lengthMode == 1 && IsLength(*p);
    double value = 0;
    const bool number = ReadValueEntry(text, value);
    const double tested = metres ? value * 1000.0 : value;
    if (!number || !p->IsValueValid(tested)) {
      double lower = 0, upper = 0;
      p->GetRange(nullptr, lower, upper);
      if (metres)
        ShowRangeMessage(m_hWnd, IDS_VALUE_OUT_OF_RANGE_M, lower / 1000.0, upper / 1000.0);
      else
        ShowRangeMessage(m_hWnd, IDS_VALUE_OUT_OF_RANGE, lower, upper);
      // The list puts typed text back itself, never a choice.
      if (chosen) list.SetItemText(row, 1, ParamValueCellText(*p, lengthMode).c_str());
      return FALSE;
    }
    if (IsLength(*p)) {
      // Modes other than metres keep millimetres.
      const std::string cell = FormatFixed(value, metres ? 4 : 2);
      list.SetItemText(row, 1, cell.c_str());
      p->SetText(ParamText::kValue, FormatFixed(tested, 2).c_str());
      p->flags |= ParamFlag::kNotRecalculated;
      ApplyZLevelRadiusToList(p);
      const char* name = p->GetText(ParamText::kName);
      if (name && std::strcmp(name, "A") == 0 && indexId.Left(3) == "VPH")
        ApplyBendRadiusDefault(*params, &list, p->GetText(ParamText::kValue), lengthMode);
    } else {
      const std::string shown = FormatFixed(value, p->status & ParamStatus::kFormula ? 0 : 2);
      list.SetItemText(row, 1, shown.c_str());
      p->SetText(ParamText::kValue, shown.c_str());
      p->flags |= ParamFlag::kNotRecalculated;
    }
  } else {
    const bool tooLong = ExceedsPlacedTextLimit(text);
    if (tooLong || !TakesParamText(*params, *p, text)) {
      MessageBoxRes(m_hWnd, tooLong ? IDS_VALUE_TOO_LONG : IDS_VALUE_HAS_SEPARATOR, MB_ICONWARNING);
      if (chosen) list.SetItemText(row, 1, ParamValueCellText(*p, lengthMode).c_str());
      return FALSE;
    }
    p->SetText(ParamText::kValue, text);
    p->flags |= ParamFlag::kNotRecalculated;
  }
  RecalculateParameters(*params, &list, lengthMode, false);
  Refresh(false);
  return TRUE;
}

void CPPDlg::Refresh(bool refillList) {
  RebuildChain1();
  if (!SwitchOn()) ShowInPreview();
  ReapplyMirror();
  if (refillList) FillParamList(*params, &list, nullptr, false, lengthMode);
  RefreshReport();
  UpdateData(FALSE);
}

void CPPDlg::ReapplyMirror() {
  if (mirrorCheck && GetDlgItem(IDC_PP_MIRROR)->IsWindowVisible()) preview->SetMirrored(true);
}

void CPPDlg::RefreshPreview() { Refresh(true); }

void CPPDlg::OnSwitch() {
  UpdateData(TRUE);
  switchRadio = switchCheck;
  GetDlgItem(IDC_PP_SWITCH)->SetWindowText(SwitchOn() ? captionA : captionB);
  ShowInPreview();
  ReapplyMirror();
  UpdateData(FALSE);
}

void CPPDlg::OnSwitchRadio() {
  UpdateData(TRUE);
  switchCheck = switchRadio;
  GetDlgItem(IDC_PP_SWITCH)->SetWindowText(SwitchOn() ? captionA : captionB);
  ShowInPreview();
}

void CPPDlg::OnMirror() {
  UpdateData(TRUE);
  preview->SetMirrored(mirrorCheck == 1);
}

void CPPDlg::OnBack() { EndDialog(-4); }

void CPPDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  const std::string lastValues = LastValuesRecord(*params);
  if (!editorTest) {
    if (GetDlgItem(IDC_PP_MIRROR)->IsWindowVisible()) TheProductDialogHost().SetMirror(mirrorCheck == 1);
    if (!BuildChains()) {
      // What was built is no product: nothing of it is handed out.
      SayProductDataNotBuilt(m_hWnd, TheProductDialogHost().ResultChain(2));
      DeleteGroupCodeChain(&TheProductDialogHost().ResultChain(2));
      return;
    }
    AppendProducerData();
    if (!AppendVantrixRecord()) return;
  }
  // Kept only once OK is sure; the product is placed whatever becomes of
  // them, a failed write told once.
  StoreLastValuesRecord(lastValues);
  SavePlacement();
  // Only a project whose every item is placed stops offering its list.
  if (!editorTest && vantrixUse && vantrixList.First() && AreAllVantrixDataMarked(vantrixList))
    WriteSettingsString(MakeProfilePath("Dat\\Jov.ini").c_str(), "VANTRIX", "VANTRIX_USE", "0");
  CDialog::OnOK();
}

void CPPDlg::RestorePlacement() {
  const ProductPlacement placement = ReadProductPlacement();
  if (placement.hasSwitch) (radioMode ? switchRadio : switchCheck) = placement.switchValue;
  if (!editorTest) MoveToStoredPlace(m_hWnd, placement);
  preview->SetBackground(PreviewBackgroundColour());
}

void CPPDlg::SavePlacement() {
  RECT rect{};
  GetWindowRect(&rect);
  WriteProductPlacement(radioMode ? switchRadio : switchCheck, editorTest ? nullptr : &rect, nullptr);
  // Without a list loaded the combos are empty: the stored choice stays.
  if (vantrixUse && roomCombo.IsWindowVisible() && vantrixList.First()) {
    const std::string ini = MakeProfilePath("Dat\\Jov.ini");
    WriteSettingsString(ini.c_str(), "VANTRIX", "LAST_ROOM", SelectedText(roomCombo));
    WriteSettingsString(ini.c_str(), "VANTRIX", "LAST_FLOOR",
                        floorCombo.GetCount() > 0 ? SelectedText(floorCombo) : CString());
  }
}

void CPPDlg::OnHelpButton() {
  ShowWizardHelp(m_hWnd, "makroeditor-vkladani.htm");
}

BOOL CPPDlg::OnHelpInfo(HELPINFO* info) {
  int topic = 0;
  switch (info ? info->iCtrlId : 0) {
    case IDC_PP_PARAMS:
      topic = 180;
      break;
    case IDC_PP_REPORT:
    case IDC_PP_PANEL_BOTTOM:
      topic = 181;
      break;
    case IDC_PP_SWITCH:
      topic = 182;
      break;
  }
  constexpr int kContents = 183;
  const std::string chm = TheDialogHost().BasePath("HELP\\JOV2D.CHM");
  if (_access(chm.c_str(), 0) == 0) {
    if (topic) {
      ShowHelpPopup(m_hWnd, chm, static_cast<UINT>(topic), info);
    } else {
      // A context number, not a topic name.
      HtmlHelpA(m_hWnd, chm.c_str(), HH_HELP_CONTEXT, kContents);
    }
  } else {
    const std::string hlp = TheDialogHost().BasePath("HELP\\JOV2D.HLP");
    if (topic)
      WinHelpA(m_hWnd, hlp.c_str(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(topic));
    else
      WinHelpA(m_hWnd, hlp.c_str(), HELP_CONTEXT, kContents);
  }
  return TRUE;
}
