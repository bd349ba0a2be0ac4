// The Vantrix panel of the parametric dialog: for heating radiators the
// size comes from the current Vantrix project list (floor, room, item) or
// from the outside radiator catalogue, and is recorded as "_VANTRIX".
#include <cstdlib>
#include <string>

#include "common/CLocaleNumber.h"
#include "dataformat/GroupCodeChain.h"
#include "common/VantrixDataControls.h"
#include "common/VantrixDataList.h"
#include "platform/catalogue/Database.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/profile.h"
#include "wizard/dialogs/CPPDlg.h"
#include "wizard/dialogs/ComboSelection.h"
#include "wizard/dialogs/KorpalinLibrary.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/dialogs/VantrixXData.h"
#include "wizard/frame/engine/CListItemData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ParameterPresentation.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueRules.h"

namespace {

constexpr unsigned kRadiatorKindBit = 1u << 20;
constexpr int kHeating = 3;

// The record statics in the order of the fields they show (1, 2, 3, 7, 8,
// 9, 11, 12).
constexpr int kRecordStatics[] = {IDC_PP_FIELD1, IDC_PP_FIELD2, IDC_PP_FIELD3,  IDC_PP_FIELD7,
                                  IDC_PP_FIELD8, IDC_PP_FIELD9, IDC_PP_FIELD11, IDC_PP_FIELD12};
constexpr uint32_t kRecordFields[] = {1, 2, 3, 7, 8, 9, 11, 12};

// Everything of the panel but its group box.
constexpr int kPanelControls[] = {
    IDC_PP_FLOOR,         IDC_PP_FLOOR_LABEL,   IDC_PP_ROOM,         IDC_PP_ROOM_LABEL,   IDC_PP_FIELD11_LABEL,
    IDC_PP_FIELD11,       IDC_PP_FIELD12_LABEL, IDC_PP_FIELD12,      IDC_PP_ITEM,         IDC_PP_ITEM_LABEL,
    IDC_PP_FIELD1_LABEL,  IDC_PP_FIELD1,        IDC_PP_FIELD2_LABEL, IDC_PP_FIELD2,       IDC_PP_FIELD3_LABEL,
    IDC_PP_FIELD3,        IDC_PP_FIELD7_LABEL,  IDC_PP_FIELD7,       IDC_PP_FIELD8_LABEL, IDC_PP_FIELD8,
    IDC_PP_FIELD9_LABEL,  IDC_PP_FIELD9,        IDC_PP_MARKED,       IDC_PP_MARKED_LABEL};

std::string VantrixSetting(const char* key, const char* fallback) {
  char text[1024] = "";
  GetPrivateProfileStringA("VANTRIX", key, fallback, text, sizeof text, MakeProfilePath("Dat\\Jov.ini").c_str());
  return text;
}

}  // namespace

void CPPDlg::ShowVantrixRecord(const CVantrixData* record) {
  for (size_t i = 0; i < std::size(kRecordStatics); ++i)
    GetDlgItem(kRecordStatics[i])->SetWindowText(record ? record->Text(kRecordFields[i]) : "");
}

void CPPDlg::HidePanel(bool keepGroup) {
  if (!keepGroup) GetDlgItem(IDC_PP_PANEL)->ShowWindow(SW_HIDE);
  for (int id : kPanelControls) GetDlgItem(id)->ShowWindow(SW_HIDE);
}

void CPPDlg::SetUpVantrixPanel() {
  jovDatabase::Database* db = CurrentCatalogue();
  unsigned type = 0;
  radiatorKind = db && db->GetIndexType(type) == jovDatabase::eOK && (type & kRadiatorKindBit);
  if (TheProductDialogHost().TradeLetter() != kHeating || !radiatorKind || radioMode) vantrixUse = false;

  CRect listRect, group;
  list.GetWindowRect(&listRect);
  ScreenToClient(&listRect);
  CWnd* panel = GetDlgItem(IDC_PP_PANEL);
  panel->GetWindowRect(&group);
  ScreenToClient(&group);

  if (radioMode || !radiatorKind) {
    vantrixUse = false;
    HidePanel(false);
    list.SetWindowPos(nullptr, 0, 0, listRect.Width(), group.bottom - 2 - listRect.top,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }

  if (!vantrixUse) {
    ShowVantrixRecord(nullptr);
    for (CWnd* combo : {static_cast<CWnd*>(&roomCombo), static_cast<CWnd*>(&floorCombo),
                        static_cast<CWnd*>(&itemCombo), static_cast<CWnd*>(&markedCombo)})
      combo->EnableWindow(FALSE);
    HidePanel(true);
    // The group shrinks to the catalogue button, just above the reference.
    CWnd* button = GetDlgItem(IDC_PP_CATALOGUE);
    CRect buttonRect, reference;
    button->GetWindowRect(&buttonRect);
    const int h = buttonRect.Height();
    GetDlgItem(IDC_PP_PANEL_BOTTOM)->GetWindowRect(&reference);
    ScreenToClient(&reference);
    panel->SetWindowPos(nullptr, reference.left, reference.top - 2 * h - 2, reference.Width(), 2 * h,
                        SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    button->SetWindowPos(nullptr, reference.left + 4, reference.top - 6 - h, reference.Width() - 8, h,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    list.SetWindowPos(nullptr, 0, 0, listRect.Width(), reference.top - 2 * h - 2 - 2 - listRect.top,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    const std::string lastFloor = VantrixSetting("LAST_FLOOR", "");
    const std::string lastRoom = VantrixSetting("LAST_ROOM", "0");
    const std::string actual = VantrixSetting("VANTRIX_ACTUAL", "");
    if (actual.empty()) {
      ShowVantrixRecord(nullptr);
      floorCombo.EnableWindow(FALSE);
      roomCombo.EnableWindow(FALSE);
      itemCombo.EnableWindow(FALSE);
      markedCombo.EnableWindow(FALSE);
    } else {
      vantrixListPath = MakeProfilePath(("Vantrix\\" + actual).c_str()).c_str();
      vantrixLoaded = LoadVantrixDataList(vantrixList, vantrixListPath);
      // Offering less than a list holds would look like a smaller project.
      ShowVantrixListLoad(vantrixListPath, vantrixLoaded);
      FillVantrixFloorCombo(vantrixList, floorCombo);
      floorIndex = -1;
      CString floor;
      if (floorCombo.GetCount() > 0) {
        const int found = floorCombo.FindStringExact(-1, lastFloor.c_str());
        floorIndex = found >= 0 ? found : 0;
        floorCombo.GetLBText(floorIndex, floor);
        floorCombo.SetCurSel(floorIndex);
      } else {
        floorCombo.EnableWindow(FALSE);
      }
      FillVantrixRoomsAndItems(floor, lastRoom.c_str());
      FillVantrixMarkedList(vantrixList, markedCombo);
    }
  }
  char path[516];
  const bool installed = FindInstalledKorpalinLibrary(path, sizeof path);
  CWnd* button = GetDlgItem(IDC_PP_CATALOGUE);
  button->ShowWindow(installed ? SW_SHOW : SW_HIDE);
  button->EnableWindow(installed);
  // The group shrunk to the catalogue button would stand empty without it:
  // it goes, and the list takes its place.
  if (!vantrixUse && !installed) {
    panel->GetWindowRect(&group);
    ScreenToClient(&group);
    panel->ShowWindow(SW_HIDE);
    list.SetWindowPos(nullptr, 0, 0, listRect.Width(), group.bottom - 2 - listRect.top,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Rooms of the floor with the next unplaced room from lastRoom on chosen,
// then that room's items with the first one shown and applied. False when
// the floor has no rooms.
void CPPDlg::FillVantrixRoomsAndItems(const CString& floor, const CString& lastRoom) {
  FillVantrixRoomCombo(vantrixList, roomCombo, floor);
  if (roomCombo.GetCount() == 0) {
    ShowVantrixRecord(nullptr);
    roomCombo.EnableWindow(FALSE);
    itemCombo.EnableWindow(FALSE);
    return;
  }
  roomCombo.EnableWindow(TRUE);
  roomIndex = 0;
  CString room = lastRoom;
  if (FindNextVantrixRoom(vantrixList, floor, room)) {
    const int found = roomCombo.FindStringExact(-1, room);
    roomIndex = found >= 0 ? found : 0;
  }
  roomCombo.SetCurSel(roomIndex);
  roomCombo.GetLBText(roomIndex, room);
  FillVantrixItemCombo(vantrixList, itemCombo, floor, room);
  if (itemCombo.GetCount() == 0) {
    itemCombo.EnableWindow(FALSE);
    return;
  }
  itemCombo.EnableWindow(TRUE);
  itemIndex = 0;
  itemCombo.SetCurSel(0);
  CString item;
  itemCombo.GetLBText(0, item);
  const CVantrixData* record = FindVantrixData(vantrixList, floor, room, item);
  ShowVantrixRecord(record);
  ApplyVantrixRecord(*params, record);
}

void CPPDlg::OnFloorChanged() {
  if (!UpdateData(TRUE)) return;
  catalogueUsed = false;
  const CString oldRoom = SelectedText(roomCombo);
  FillVantrixRoomsAndItems(SelectedText(floorCombo), oldRoom);
  if (roomCombo.GetCount() > 0 && itemCombo.GetCount() > 0) RefreshPreview();
  UpdateData(FALSE);
}

void CPPDlg::OnRoomChanged() {
  if (!UpdateData(TRUE)) return;
  catalogueUsed = false;
  const CString floor = SelectedText(floorCombo), room = SelectedText(roomCombo);
  FillVantrixItemCombo(vantrixList, itemCombo, floor, room);
  if (itemCombo.GetCount() == 0) return;
  itemIndex = 0;
  itemCombo.SetCurSel(0);
  const CVantrixData* record = FindVantrixData(vantrixList, floor, room, SelectedText(itemCombo));
  ShowVantrixRecord(record);
  ApplyVantrixRecord(*params, record);
  RefreshPreview();
}

void CPPDlg::OnItemChanged() {
  if (!UpdateData(TRUE)) return;
  catalogueUsed = false;
  const CVantrixData* record =
      FindVantrixData(vantrixList, SelectedText(floorCombo), SelectedText(roomCombo), SelectedText(itemCombo));
  ShowVantrixRecord(record);
  ApplyVantrixRecord(*params, record);
  RefreshPreview();
}

void CPPDlg::CallKorpalinCatalogue() {
  char path[516];
  if (!FindInstalledKorpalinLibrary(path, sizeof path)) return;
  if (!ChooseFromKorpalinCatalogue(path, m_hWnd, &catalogueRecord)) return;
  catalogueUsed = true;
  ApplyCatalogueDimensions(*params, &catalogueRecord);
  RefreshPreview();
}

void CPPDlg::ApplyZLevelRadiusToList(CValueParam* edited) {
  const char* name = edited ? edited->GetText(ParamText::kName) : nullptr;
  if (!name || std::string(name) != "d") return;
  const std::string id = static_cast<const char*>(indexId);
  if (id.find("TPT") == std::string::npos && id.find("VPS") == std::string::npos &&
      id.find("VPK") == std::string::npos)
    return;
  char factorText[256] = "";
  GetPrivateProfileStringA("DESC", "ZLEVEL_RADIUS", "1.5", factorText, sizeof factorText,
                           MakeProfilePath("Dat\\Jov.ini").c_str());
  const double radius = AtofC(edited->GetText(ParamText::kValue)) * AtofC(factorText);
  for (int row = 0; row < list.GetItemCount(); ++row) {
    auto* head = reinterpret_cast<CListItemData*>(list.GetItemData(row));
    CValueParam* p = head ? head->param : nullptr;
    const char* other = p ? p->GetText(ParamText::kName) : nullptr;
    if (!other || other[0] != 'r' || std::string(other).size() > 2) continue;
    p->SetText(ParamText::kValue, FormatFixed(radius, 2).c_str());
    list.SetItemText(row, 1, FormatLengthCell(radius, lengthMode).c_str());
  }
}

bool CPPDlg::AppendVantrixRecord() {
  if (!vantrixUse && !catalogueUsed) return true;
  VantrixFields fields;
  CVantrixData* record = nullptr;
  if (catalogueUsed) {
    char ct[257] = "";
    GetParamValueText(*params, "CT", ct, sizeof ct);
    fields = CatalogueVantrixFields(catalogueRecord, ct);
  } else {
    record = FindVantrixData(vantrixList, SelectedText(floorCombo), SelectedText(roomCombo), SelectedText(itemCombo));
    if (!record) return true;
    fields = ProjectVantrixFields(*record);
  }
  resbuf* xdata = MakeVantrixXData(fields);
  if (!xdata) return true;
  LastGroupCodeNode(&TheProductDialogHost().ResultChain(2))->next = xdata;
  if (record) {
    record->marked = 1;
    if (!SaveVantrixDataList(vantrixList, vantrixListPath, vantrixLoaded)) {
      // Said by the list's writer. Not placed after all: the item stays offered.
      record->marked = 0;
      return false;
    }
  }
  return true;
}
