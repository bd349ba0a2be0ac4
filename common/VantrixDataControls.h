// Vantrix project lists shown in controls: the manager's list view and the
// product dialogs' floor, room and item combo boxes. A row of a room and its
// item reads "room - item", cut to 255 characters.
#pragma once

#include "common/CVantrixData.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CListCtrl.h"

// Appends one row per record ("room - item"), with the record as the row's
// item data and its check box ticked for a marked record.
void FillVantrixListCtrl(const CVantrixData& list, CListCtrl& control);

// Adds the floor of every unmarked record that the combo does not hold yet;
// the combo is not emptied first.
void FillVantrixFloorCombo(const CVantrixData& list, CComboBox& combo);
// Empties the combo when floor is not empty, then adds the room of every
// unmarked record of that floor, in list order, repeated rooms included.
void FillVantrixRoomCombo(const CVantrixData& list, CComboBox& combo, const char* floor);
// Empties the combo, then adds the item of every unmarked record of that
// floor and room.
void FillVantrixItemCombo(const CVantrixData& list, CComboBox& combo, const char* floor,
                          const char* room);
// Adds "room - item" of every marked record.
void FillVantrixMarkedList(const CVantrixData& list, CComboBox& combo);
