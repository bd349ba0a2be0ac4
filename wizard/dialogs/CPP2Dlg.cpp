#include "wizard/dialogs/CPP2Dlg.h"

#include <cstring>
#include <string>
#include <vector>

#include "common/CLocaleNumber.h"
#include "dataformat/GroupCodeChain.h"
#include "common/HostModule.h"
#include "common/SettingsWrite.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CWaitCursor.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/file_access.h"
#include "platform/win32/help.h"
#include "platform/win32/registry.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/CExceptionEx.h"
#include "wizard/dialogs/CParamDlg.h"
#include "wizard/dialogs/ComboSelection.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/KorpalinLibrary.h"
#include "wizard/dialogs/ProducerTexts.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/dialogs/PlacedTextLimit.h"
#include "wizard/dialogs/ProductPlacement.h"
#include "wizard/dialogs/ProductSwitch.h"
#include "wizard/frame/engine/CPropData.h"
#include "wizard/frame/engine/ChoiceFills.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/GeometryRegeneration.h"
#include "wizard/frame/engine/LastValues.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/ProductFormulas.h"
#include "wizard/frame/engine/RecordLookups.h"

namespace {

constexpr UINT kQueryMessage = 0x7101;
constexpr unsigned kParametric = 1u << 27;

using Choice = ProductDialogHost::Choice;

std::string ChoiceKey() { return TheProductDialogHost().RegistryRoot() + "CPP2Dlg"; }

// A text value of the choice key (256 bytes at most); "" without one.
std::string StoredChoice(const char* name) {
  std::string text;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, ChoiceKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return text;
  char value[256] = "";
  DWORD type = 0, size = sizeof value - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
      type == REG_SZ)
    text = value;
  RegCloseKey(key);
  return text;
}

// The entry of exactly that text, -1 without one.
int Exact(const CComboBox& combo, const char* text) {
  if (!text) return -1;
  const int at = combo.FindStringExact(-1, text);
  return at == CB_ERR ? -1 : at;
}

// An index kept for a box of count entries, -1 when the box has no such
// entry any more.
int Kept(int index, int count) { return index >= 0 && index < count ? index : -1; }

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

// Adds a producer of the item's versions once, with its id.
int AddProducer(const jovDatabase::TNameStruct* record, void* combo) {
  auto* box = static_cast<CComboBox*>(combo);
  const char* name = record->name ? record->name : "";
  if (box->FindStringExact(-1, name) != CB_ERR) return 1;
  const int at = box->AddString(name);
  if (at < 0) return 0;
  box->SetItemData(at, record->number[1]);
  return 1;
}

// What the positioned version gives the producer's data: its packed date
// ("" when it has none or one out of range), its price ("%.2f", 0 when it
// has none) and the code of its unit ("" when it has none).
struct VersionTexts {
  std::string date;
  std::string price = "0.00";
  std::string unit;
};

VersionTexts ReadVersionTexts() {
  VersionTexts texts;
  jovDatabase::Database* db = CurrentCatalogue();
  if (!db) return texts;
  CComDATE when;
  if (db->GetProdsDate(when) == jovDatabase::eOK) texts.date = PackedDateText(when);
  double amount = 0;
  if (db->GetProdsPrice(amount) == jovDatabase::eOK) texts.price = FormatFixed(amount, 2);
  unsigned unitNames = 0, status = 0;
  if (db->GetProdsMJ(unitNames) == jovDatabase::eOK && db->GoNamesIDI(unitNames) == jovDatabase::eOK &&
      db->GetNamesStatus(status) == jovDatabase::eOK)
    texts.unit = std::to_string(status);
  return texts;
}

}  // namespace

CPP2Dlg::CPP2Dlg(unsigned view, unsigned itemStatus, const char* productCode, const char* branch,
                 const char* arg13, const char* typeName, CWnd* parent)
    : CDialog(IDD_PP2, parent),
      view(view),
      itemStatus(itemStatus),
      productCode(productCode),
      branch(branch),
      arg13(arg13),
      typeName(typeName) {}

CPP2Dlg::~CPP2Dlg() {
  delete params;
  delete geometry;
}

void CPP2Dlg::SetPropertyFlags(unsigned char* flags, unsigned count) {
  propertyFlags = flags;
  flagCount = count;
}

void CPP2Dlg::SetConnection(unsigned groupIndex, unsigned index, const char* points, bool again) {
  ownNumber = groupIndex;
  pointIndex = index;
  pointsText = points;
  retry = again;
  dateText = UnpackDateText(TheProductDialogHost().PP2Date()).c_str();
}

BEGIN_MESSAGE_MAP(CPP2Dlg, CDialog)
  ON_MESSAGE(kQueryMessage, &CPP2Dlg::OnQuery)
  ON_CBN_SELENDOK(IDC_PP2_TYPE, &CPP2Dlg::OnTypeChanged)
  ON_CBN_SELENDOK(IDC_PP2_MEASUREMENT, &CPP2Dlg::OnMeasurementChanged)
  ON_CBN_SELENDOK(IDC_PP2_DATE, &CPP2Dlg::OnDateChanged)
  ON_CBN_SELENDOK(IDC_PP2_PRODUCER, &CPP2Dlg::OnProducerChanged)
  ON_CBN_SELENDOK(IDC_PP2_GROUP1, &CPP2Dlg::OnGroupChanged)
  ON_CBN_SELENDOK(IDC_PP2_GROUP2, &CPP2Dlg::OnGroupChanged)
  ON_BN_CLICKED(IDC_PP2_PARAMETRIC, &CPP2Dlg::OnParametric)
  ON_BN_CLICKED(IDC_PP2_SWITCH, &CPP2Dlg::OnSwitch)
  ON_BN_CLICKED(IDC_PP2_SWITCH_PRODUCT, &CPP2Dlg::OnSwitchRadio)
  ON_BN_CLICKED(IDC_PP2_SWITCH_CATALOGUE, &CPP2Dlg::OnSwitchRadio)
  ON_BN_CLICKED(IDC_PP2_HELP, &CPP2Dlg::OnHelpButton)
  ON_BN_CLICKED(IDC_PP2_CATALOGUE, &CPP2Dlg::OnCatalogue)
  ON_WM_HELPINFO()
END_MESSAGE_MAP()

void CPP2Dlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PP2_TYPE, typeCombo);
  DDX_Control(dx, IDC_PP2_INFO, infoEdit);
  DDX_Control(dx, IDC_PP2_PRODUCER, producerCombo);
  DDX_Control(dx, IDC_PP2_TYPE_LABEL, typeLabel);
  DDX_Control(dx, IDC_PP2_MEASUREMENT_LABEL, measurementLabel);
  DDX_Control(dx, IDC_PP2_GROUP1_LABEL, group1Label);
  DDX_Control(dx, IDC_PP2_GROUP2_LABEL, group2Label);
  DDX_Control(dx, IDC_PP2_MEASUREMENT, measurementCombo);
  DDX_Control(dx, IDC_PP2_DATE, dateCombo);
  DDX_Control(dx, IDC_PP2_GROUP1, group1Combo);
  DDX_Control(dx, IDC_PP2_GROUP2, group2Combo);
  DDX_CBIndex(dx, IDC_PP2_DATE, dateIndex);
  DDX_CBIndex(dx, IDC_PP2_PRODUCER, producerIndex);
  DDX_CBIndex(dx, IDC_PP2_MEASUREMENT, measurementIndex);
  DDX_CBIndex(dx, IDC_PP2_TYPE, typeIndex);
  DDX_Text(dx, IDC_PP2_INFO, infoText);
  DDX_Check(dx, IDC_PP2_SWITCH, switchCheck);
  DDX_CBIndex(dx, IDC_PP2_GROUP1, group1Index);
  DDX_CBIndex(dx, IDC_PP2_GROUP2, group2Index);
  DDX_Check(dx, IDC_PP2_KEEP_PRODUCER, keepProducerData);
  DDX_Radio(dx, IDC_PP2_SWITCH_PRODUCT, switchRadio);
}

LRESULT CPP2Dlg::OnQuery(WPARAM, LPARAM) { return 1; }

bool CPP2Dlg::LoadItem() {
  preview = MakeProductPreview();
  if (!preview->Create(this, IDC_PP2_PREVIEW)) throw CExceptionEx{IDS_PREVIEW_FAILED, MB_ICONERROR, 0};

  params = new (std::nothrow) CObjectSez;
  if (!params) throw CExceptionEx{IDS_NOT_ENOUGH_MEMORY, MB_ICONERROR, 0};
  LoadProductParameters(*params);
  LoadLastValues(*params);
  if (!(itemStatus & kParametric) || !HasUserParams(*params)) {
    GetDlgItem(IDC_PP2_PARAMETRIC)->EnableWindow(FALSE);
    GetDlgItem(IDC_PP2_KEEP_PRODUCER)->EnableWindow(FALSE);
  }

  TheProductDialogHost().ProductDxf(view, catalogueGeometry);
  geometry = new (std::nothrow) CObjectSez;
  if (!geometry) throw CExceptionEx{IDS_NOT_ENOUGH_MEMORY, MB_ICONERROR, 0};
  ParseProductGeometry(*geometry, catalogueGeometry.head, true);
  LoadProductFormulas(*geometry, view);

  jovDatabase::Database* db = CurrentCatalogue();
  if (!db || db->GetIndexIDI(indexIdi) != jovDatabase::eOK ||
      db->EnumUsedProducers(&AddProducer, &producerCombo, indexIdi) != jovDatabase::eOK ||
      db->EnumNames("SQUE", &AddEnumNameAsPropData, &squeNames, true) != jovDatabase::eOK)
    throw CExceptionEx{IDS_NOT_ENOUGH_MEMORY, MB_ICONERROR, 0};
  if (squeNames.GetCount() == 0) throw CExceptionEx{IDS_NO_CHOICE_LABELS, MB_ICONWARNING, 0};

  const std::pair<CStatic*, int> labels[] = {{&typeLabel, 0}, {&measurementLabel, 1}, {&group1Label, 3},
                                             {&group2Label, 4}};
  for (const auto& [label, entry] : labels) {
    const auto* record = static_cast<const CPropData*>(squeNames.GetAt(entry));
    const char* name = record ? record->GetText(PropText::kName) : nullptr;
    if (name) label->SetWindowText(CString(name) + ":");
  }
  return producerCombo.GetCount() > 0;
}

void CPP2Dlg::ChooseProducerAndDate() {
  if (restoring) {
    producerIndex = Kept(kept[Choice::kProducer], producerCombo.GetCount());
    if (producerIndex < 0) producerIndex = 0;
    FillDates(producerIndex);
    dateIndex = Kept(kept[Choice::kDate], dateCombo.GetCount());
  } else if (productCode && *productCode) {
    producerIndex = std::max(Exact(producerCombo, productCode), 0);
    FillDates(producerIndex);
    dateIndex = dateText.IsEmpty() ? -1 : Exact(dateCombo, dateText);
  } else {
    producerIndex = std::max(Exact(producerCombo, StoredChoice("Producer").c_str()), 0);
    FillDates(producerIndex);
    dateIndex = Exact(dateCombo, StoredChoice("Date").c_str());
  }
  if (dateIndex == -1) dateIndex = dateCombo.GetCount() - 1;
  producerCombo.SetCurSel(producerIndex);
  dateCombo.SetCurSel(dateIndex);
}

BOOL CPP2Dlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(TheDialogHost().Icon()));
  CWnd* switchBox = GetDlgItem(IDC_PP2_SWITCH);
  radioMode =
      SetUpProductSwitch(this, IDC_PP2_SWITCH, IDC_PP2_SWITCH_PRODUCT, IDC_PP2_SWITCH_CATALOGUE, captionA, captionB);
  GetWindowText(title);
  restoring = retry;
  if (restoring) TheProductDialogHost().KeptChoices(kept);

  try {
    if (!LoadItem()) {
      EndDialog(-2);
      return TRUE;
    }
    {
      CWaitCursor wait;
      resbuf*& chain = TheProductDialogHost().ResultChain(1);
      DeleteGroupCodeChain(&chain);
      DuplicateGroupCodeChain(catalogueGeometry.head, &chain);
    }
    ChooseProducerAndDate();
    EnableBySelection(SelectProduct(dateIndex, true));
    if (measurementIndex >= 0 &&
        AssignMeasurement(namesComment, SelectedText(measurementCombo))) {
      CWaitCursor wait;
      RegenerateProductGeometry(*geometry, *params, TheProductDialogHost().ResultChain(1));
    }
  } catch (const CExceptionEx& e) {
    MessageBoxRes(m_hWnd, e.messageId, e.boxFlags);
    EndDialog(-1);
    return TRUE;
  }
  restoring = false;

  // Only an installed radiator catalogue can be asked.
  char path[516];
  GetDlgItem(IDC_PP2_CATALOGUE)->EnableWindow(FindInstalledKorpalinLibrary(path, sizeof path));
  RestorePlacement();
  switchBox->SetWindowText(SwitchOn() ? captionA : captionB);
  ShowInPreview();
  UpdateData(FALSE);
  return TRUE;
}

void CPP2Dlg::FillDates(int producer) {
  dateCombo.ResetContent();
  jovDatabase::Database* db = CurrentCatalogue();
  if (!db || producer < 0 || producer >= producerCombo.GetCount()) return;
  const auto producerId = static_cast<unsigned>(producerCombo.GetItemData(producer));
  for (jovDatabase::eCode found = db->NextProduct(0, producerId, indexIdi); found == jovDatabase::eOK;
       found = db->NextProduct(1, producerId, indexIdi)) {
    CComDATE date;
    if (db->GetProdsDate(date) != jovDatabase::eOK) continue;
    unsigned id = 0;
    if (db->GetProdsIDI(id) != jovDatabase::eOK) id = 0;
    const int at = dateCombo.AddString(VersionDateText(date).c_str());
    if (at >= 0) dateCombo.SetItemData(at, id);
  }
}

CPropData* CPP2Dlg::RecordOf(const CComboBox& combo, int index) const {
  if (index < 0 || index >= combo.GetCount()) return nullptr;
  return static_cast<CPropData*>(combo.GetItemDataPtr(index));
}

int CPP2Dlg::MeasurementOf(const CPropData* record) const {
  return record ? Exact(measurementCombo, record->GetText(PropText::kSecond)) : -1;
}

int CPP2Dlg::SelectProduct(int date, bool useRegistry) {
  jovDatabase::Database* db = CurrentCatalogue();
  if (date == -1 || !db) return -1;
  if (db->GoProdsIDI(static_cast<unsigned>(dateCombo.GetItemData(date))) != jovDatabase::eOK) return -1;

  group1Index = group2Index = typeIndex = measurementIndex = -1;
  typeCombo.ResetContent();
  measurementCombo.ResetContent();
  group1Combo.ResetContent();
  group2Combo.ResetContent();
  choices.RemoveAll();
  infoText.Empty();

  namesComment.Empty();
  if (db->GetProdsStatus(namesId) == jovDatabase::eOK && namesId != 0 &&
      db->GoNamesIDI(namesId) == jovDatabase::eOK) {
    qmString name, comment;
    db->GetNamesName(name);
    SetWindowText(title + " - " + (name.GetString() ? name.GetString() : ""));
    if (db->GetNamesComment(comment) == jovDatabase::eOK && comment.GetString()) namesComment = comment.GetString();
  }

  qmString comment;
  if (db->GetProdsComment(comment) != jovDatabase::eOK || !comment.GetString() || !*comment.GetString()) return 0;
  if (!ParseChoiceRecords(comment.GetString(), choices, LoadText(IDS_NO_GROUP))) return -1;

  FillGroupCombos(choices, &group1Combo, &group2Combo);
  if (group1Combo.GetCount() == 0) return 0;
  if (restoring) {
    group1Index = Kept(kept[Choice::kGroup1], group1Combo.GetCount());
    group2Index = Kept(kept[Choice::kGroup2], group2Combo.GetCount());
  } else if (typeName) {
    if (const CPropData* named = FindPropDataByName(choices, typeName)) {
      group1Index = Exact(group1Combo, named->GetText(PropText::kGroup1));
      group2Index = Exact(group2Combo, named->GetText(PropText::kGroup2));
    }
  } else if (useRegistry) {
    group1Index = Exact(group1Combo, StoredChoice("Group").c_str());
    group2Index = Exact(group2Combo, StoredChoice("Group2").c_str());
  }
  if (group1Index == -1) group1Index = 0;
  if (group2Index == -1) group2Index = 0;
  group1Combo.SetCurSel(group1Index);
  group2Combo.SetCurSel(group2Index);

  const CString group1 = SelectedText(group1Combo), group2 = SelectedText(group2Combo);
  FillCombosByGroups(choices, &typeCombo, &measurementCombo, group1, group2);
  if (typeCombo.GetCount() == 0) {
    typeIndex = -1;
    return 2;
  }

  typeIndex = 0;
  measurementIndex = -1;
  if (restoring) {
    typeIndex = std::max(Kept(kept[Choice::kType], typeCombo.GetCount()), 0);
    measurementIndex = Kept(kept[Choice::kMeasurement], measurementCombo.GetCount());
  } else if (typeName) {
    typeIndex = std::max(Exact(typeCombo, typeName), 0);
    measurementIndex = MeasurementOf(RecordOf(typeCombo, typeIndex));
  } else {
    const std::string values = JoinParamValues(*params, static_cast<const char*>(namesComment));
    if (FindPropDataByGroups(choices, group1, values.c_str())) {
      measurementIndex = Exact(measurementCombo, values.c_str());
      if (measurementIndex < 0 && measurementCombo.GetCount() > 0) measurementIndex = 0;
      const CPropData* record = RecordOf(measurementCombo, measurementIndex);
      if (record) typeIndex = std::max(Exact(typeCombo, record->GetText(PropText::kName)), 0);
    } else {
      measurementIndex = MeasurementOf(RecordOf(typeCombo, 0));
    }
  }
  typeCombo.SetCurSel(typeIndex);
  measurementCombo.SetCurSel(measurementIndex);
  BuildInfoText();
  return 1;
}

void CPP2Dlg::EnableBySelection(int found) {
  GetDlgItem(IDC_PP2_DATE)->EnableWindow(found != -1);
  if (found == -1) return;
  const bool groups = found != 0, types = found == 1;
  group1Combo.EnableWindow(groups);
  group2Combo.EnableWindow(groups);
  typeCombo.EnableWindow(types);
  measurementCombo.EnableWindow(types && measurementCombo.GetCount() > 0);
}

void CPP2Dlg::BuildInfoText() {
  infoText.Empty();
  const CPropData* record = RecordOf(typeCombo, typeCombo.GetCurSel());
  if (record) {
    std::string text;
    if (const CPropData* label = FindPropDataByAttribute(squeNames, 2)) {
      const char* description = record->GetText(2);
      text = std::string(label->GetText(PropText::kName) ? label->GetText(PropText::kName) : "") + ": " +
             (description ? description : "");
    }
    uint32_t k = 5;
    for (const CPropData* line = FirstOf<CPropData>(*record); line; line = NextOf(line), ++k) {
      const CPropData* label = FindPropDataByAttribute(squeNames, k);
      if (!label) continue;
      const char* name = label->GetText(PropText::kName);
      const char* value = line->GetText(PropText::kName);
      text += std::string("\r\n") + (name ? name : "") + ": " + (value ? value : "");
    }
    infoText = text.c_str();
  }
  if (infoEdit.m_hWnd) infoEdit.SetWindowText(infoText);
}

bool CPP2Dlg::AssignMeasurement(const char* names, const char* values) {
  if (!names || !*names || !values || !*values) return false;
  std::vector<std::string> nameList, valueList;
  if (!SplitParamNames(names, nameList) || !SplitParamValues(values, valueList)) return false;
  if (AssignValuesByName(*params, nameList, valueList)) return true;
  MessageBoxRes(m_hWnd, IDS_MEASUREMENT_OUT_OF_RANGE, MB_ICONWARNING);
  return false;
}

void CPP2Dlg::RefreshPreview(bool assigned) {
  CWaitCursor wait;
  resbuf*& chain = TheProductDialogHost().ResultChain(1);
  DeleteGroupCodeChain(&chain);
  DuplicateGroupCodeChain(catalogueGeometry.head, &chain);
  if (assigned) RegenerateProductGeometry(*geometry, *params, chain);
  if (!SwitchOn()) ShowInPreview();
}

void CPP2Dlg::ShowInPreview() {
  if (preview)
    preview->ShowSwitched(SwitchOn(), catalogueGeometry.head, TheProductDialogHost().ResultChain(1), ownNumber);
}

void CPP2Dlg::AssignAndShow() {
  const bool assigned =
      measurementCombo.GetCurSel() >= 0 && AssignMeasurement(namesComment, SelectedText(measurementCombo));
  RefreshPreview(assigned);
}

void CPP2Dlg::ShowVersion(int found) {
  EnableBySelection(found);
  AssignAndShow();
  UpdateData(FALSE);
}

void CPP2Dlg::OnProducerChanged() {
  if (!UpdateData(TRUE)) return;
  FillDates(producerIndex);
  dateIndex = 0;
  dateCombo.SetCurSel(dateIndex);
  ShowVersion(SelectProduct(dateIndex, false));
}

void CPP2Dlg::OnDateChanged() {
  if (!UpdateData(TRUE)) return;
  ShowVersion(SelectProduct(dateIndex, false));
}

void CPP2Dlg::OnGroupChanged() {
  if (!UpdateData(TRUE)) return;
  FillCombosByGroups(choices, &typeCombo, &measurementCombo, SelectedText(group1Combo), SelectedText(group2Combo));
  if (typeCombo.GetCount() == 0) {
    typeIndex = measurementIndex = -1;
    typeCombo.EnableWindow(FALSE);
    measurementCombo.EnableWindow(FALSE);
  } else {
    typeIndex = 0;
    measurementIndex = MeasurementOf(RecordOf(typeCombo, 0));
    typeCombo.EnableWindow(TRUE);
    measurementCombo.EnableWindow(measurementCombo.GetCount() > 0);
  }
  typeCombo.SetCurSel(typeIndex);
  measurementCombo.SetCurSel(measurementIndex);
  BuildInfoText();
  AssignAndShow();
  UpdateData(FALSE);
}

void CPP2Dlg::OnTypeChanged() {
  if (!UpdateData(TRUE)) return;
  measurementIndex = MeasurementOf(RecordOf(typeCombo, typeIndex));
  measurementCombo.SetCurSel(measurementIndex);
  BuildInfoText();
  AssignAndShow();
  UpdateData(FALSE);
}

void CPP2Dlg::OnMeasurementChanged() {
  if (!UpdateData(TRUE)) return;
  const CPropData* record = RecordOf(measurementCombo, measurementIndex);
  typeIndex = record ? Exact(typeCombo, record->GetText(PropText::kName)) : -1;
  typeCombo.SetCurSel(typeIndex);
  BuildInfoText();
  AssignAndShow();
  UpdateData(FALSE);
}

void CPP2Dlg::OnSwitch() {
  if (!UpdateData(TRUE)) return;
  switchRadio = switchCheck;
  GetDlgItem(IDC_PP2_SWITCH)->SetWindowText(SwitchOn() ? captionA : captionB);
  ShowInPreview();
  UpdateData(FALSE);
}

void CPP2Dlg::OnSwitchRadio() {
  if (!UpdateData(TRUE)) return;
  switchCheck = switchRadio;
  GetDlgItem(IDC_PP2_SWITCH)->SetWindowText(SwitchOn() ? captionA : captionB);
  ShowInPreview();
}

void CPP2Dlg::OnCatalogue() {
  // The choice is the catalogue's to make; this dialog takes nothing of it.
  char path[516];
  if (!FindInstalledKorpalinLibrary(path, sizeof path)) return;
  ChooseFromKorpalinCatalogue(path, m_hWnd, &catalogueRecord);
}

void CPP2Dlg::KeepProducerData() {
  const VersionTexts version = ReadVersionTexts();
  const CString producer = SelectedText(producerCombo), group = SelectedText(group1Combo),
                type = SelectedText(typeCombo), measurement = SelectedText(measurementCombo);
  const char* texts[ProductDialogHost::kProducerTexts] = {
      producer, version.date.c_str(), group, type, measurement, version.price.c_str(), version.unit.c_str()};
  TheProductDialogHost().SetProducerData(keepProducerData ? texts : nullptr);
}

void CPP2Dlg::OnParametric() {
  if (!UpdateData(TRUE)) return;
  StoreLastValues(*params);
  KeepProducerData();
  const int indices[Choice::kChoices] = {producerIndex, dateIndex, group1Index, group2Index, typeIndex,
                                         measurementIndex};
  TheProductDialogHost().KeepChoices(indices);
  SavePlacement();
  EndDialog(-3);
}

bool CPP2Dlg::AppendChoiceData() {
  const VersionTexts version = ReadVersionTexts();
  std::vector<std::pair<const char*, std::string>> pairs;
  const CString group = SelectedText(group1Combo);
  if (group1Combo.GetCurSel() >= 0 && group != LoadText(IDS_NO_GROUP))
    pairs.emplace_back("_GROUP", static_cast<const char*>(group));
  if (typeCombo.GetCurSel() >= 0) pairs.emplace_back("_QTYPE", static_cast<const char*>(SelectedText(typeCombo)));
  if (measurementCombo.GetCurSel() >= 0)
    pairs.emplace_back("_MEASUREMENT", static_cast<const char*>(SelectedText(measurementCombo)));
  pairs.emplace_back("_QDATE", version.date);
  pairs.emplace_back("_PRICE", version.price);
  pairs.emplace_back("_QUNIT", version.unit);

  resbuf* last = LastGroupCodeNode(&TheProductDialogHost().ResultChain(2));
  for (const auto& [key, value] : pairs) {
    resbuf *keyNode = nullptr, *valueNode = nullptr;
    if (!CreateGroupCodeNode(&keyNode, 1000, key) || !CreateGroupCodeNode(&valueNode, 1000, value.c_str())) {
      DeleteGroupCodeChain(&keyNode);
      return false;
    }
    keyNode->next = valueNode;
    last->next = keyNode;
    last = valueNode;
  }
  return true;
}

void CPP2Dlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  ProductDialogHost& host = TheProductDialogHost();
  host.ApplyConnectionLevel(view, pointIndex, pointsText, ownNumber, params);
  // A failed build may have left nodes: the next OK starts afresh.
  const std::string lastValues = LastValuesRecord(*params);
  DeleteGroupCodeChain(&host.ResultChain(2));
  if (!host.BuildProductXData(m_hWnd, view, params, propertyFlags, flagCount, SelectedText(producerCombo), host.Slope(),
                              branch) ||
      !AppendChoiceData()) {
    // An incomplete chain is no product: the user may try again or cancel.
    SayProductDataNotBuilt(m_hWnd, host.ResultChain(2));
    return;
  }
  if (const char* key = FirstOverlongPlacedText(host.ResultChain(2))) {
    MessageBoxRes(m_hWnd, IDS_PLACED_TEXT_TOO_LONG, MB_ICONWARNING, key);
    DeleteGroupCodeChain(&host.ResultChain(2));
    return;
  }
  // Kept only once OK is sure; the product is placed whatever becomes of
  // them, a failed write told once.
  SavePlacement();
  StoreLastValuesRecord(lastValues);
  SaveChoice();
  CDialog::OnOK();
}

void CPP2Dlg::SaveChoice() {
  const std::string path = ChoiceKey();
  WriteRegistrySettings(path, [&] {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS) return false;
    bool written = true;
    auto put = [&](const char* name, const CString& text) {
      written = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<const char*>(text)),
                               static_cast<DWORD>(text.GetLength() + 1)) == ERROR_SUCCESS &&
                written;
    };
    put("Producer", SelectedText(producerCombo));
    put("Date", SelectedText(dateCombo));
    if (group1Combo.GetCurSel() >= 0) put("Group", SelectedText(group1Combo));
    if (group2Combo.GetCurSel() >= 0) put("Group2", SelectedText(group2Combo));
    RegCloseKey(key);
    return written;
  });
}

void CPP2Dlg::RestorePlacement() {
  const ProductPlacement placement = ReadProductPlacement();
  if (placement.hasSwitch) (radioMode ? switchRadio : switchCheck) = placement.switchValue;
  keepProducerData = 0;
  MoveToStoredPlace(m_hWnd, placement);
  preview->SetBackground(PreviewBackgroundColour());
}

void CPP2Dlg::SavePlacement() {
  RECT rect{};
  GetWindowRect(&rect);
  WriteProductPlacement(radioMode ? switchRadio : switchCheck, &rect, &keepProducerData);
}

void CPP2Dlg::OnHelpButton() { ShowWizardHelp(m_hWnd, "makroeditor-vkladani.htm"); }

BOOL CPP2Dlg::OnHelpInfo(HELPINFO* info) {
  UINT topic = 195;
  switch (info ? info->iCtrlId : 0) {
    case IDC_PP2_TYPE:
    case IDC_PP2_PRODUCER:
    case IDC_PP2_MEASUREMENT_LABEL:
    case IDC_PP2_MEASUREMENT:
    case IDC_PP2_DATE:
    case IDC_PP2_GROUP1:
    case IDC_PP2_GROUP2: topic = 180; break;
    case IDC_PP2_INFO:
    case IDC_PP2_PANEL_BOTTOM: topic = 181; break;
    case IDC_PP2_PARAMETRIC: topic = 193; break;
    case IDC_PP_SWITCH: topic = 182; break;  // the parametric dialog's switch
    case IDC_PP2_KEEP_PRODUCER: topic = 194; break;
    default: break;
  }
  const std::string chm = TheDialogHost().BasePath("HELP\\JOV2D.CHM");
  if (_access(chm.c_str(), 0) == 0)
    ShowHelpPopup(m_hWnd, chm, topic, info);
  else
    WinHelpA(m_hWnd, TheDialogHost().BasePath("HELP\\JOV2D.HLP").c_str(), HELP_CONTEXTPOPUP, topic);
  return TRUE;
}
