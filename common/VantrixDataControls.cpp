#include "common/VantrixDataControls.h"

#include <string>

#include "platform/win32/common_controls.h"

namespace {

// The row text was built in a 256-byte buffer: longer texts are cut.
constexpr size_t kRowText = 255;

std::string RoomAndItem(const CVantrixData& record) {
  std::string text = record.Text(CVantrixData::kRoom);
  text += " - ";
  text += record.Text(CVantrixData::kItem);
  if (text.size() > kRowText) text.resize(kRowText);
  return text;
}

}  // namespace

void FillVantrixListCtrl(const CVantrixData& list, CListCtrl& control) {
  for (const CVantrixData* record = list.First(); record; record = record->Next()) {
    const int row = control.InsertItem(LVIF_TEXT | LVIF_PARAM, control.GetItemCount(), RoomAndItem(*record).c_str(),
                                       0, 0, 0, reinterpret_cast<LPARAM>(record));
    if (row >= 0 && record->marked) control.SetCheck(row, TRUE);
  }
}

void FillVantrixFloorCombo(const CVantrixData& list, CComboBox& combo) {
  for (const CVantrixData* record = list.First(); record; record = record->Next()) {
    if (record->marked) continue;
    const char* floor = record->Text(CVantrixData::kFloor);
    if (combo.FindStringExact(-1, floor) == CB_ERR) combo.AddString(floor);
  }
}

void FillVantrixRoomCombo(const CVantrixData& list, CComboBox& combo, const char* floor) {
  if (floor && *floor) combo.ResetContent();
  for (const CVantrixData* record = list.First(); record; record = record->Next()) {
    if (!record->marked && record->FieldEquals(CVantrixData::kFloor, floor))
      combo.AddString(record->Text(CVantrixData::kRoom));
  }
}

void FillVantrixItemCombo(const CVantrixData& list, CComboBox& combo, const char* floor, const char* room) {
  combo.ResetContent();
  for (const CVantrixData* record = list.First(); record; record = record->Next()) {
    if (!record->marked && record->FieldEquals(CVantrixData::kFloor, floor) &&
        record->FieldEquals(CVantrixData::kRoom, room))
      combo.AddString(record->Text(CVantrixData::kItem));
  }
}

void FillVantrixMarkedList(const CVantrixData& list, CComboBox& combo) {
  for (const CVantrixData* record = list.First(); record; record = record->Next())
    if (record->marked) combo.AddString(RoomAndItem(*record).c_str());
}
