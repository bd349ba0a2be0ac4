// The dimension dialog's data: the unit and dimension table of a network
// kind ("JOV_LIN.DAT") and the dialog's own settings ("JOV.INI" section
// "DIM_DLG"), both in one data folder. Without a folder nothing is read or
// written: reads give 0 or nothing.
//
// JOV_LIN.DAT, section "MODULE_" + kind ('Z', 'E', 'V' or 'T'):
//   MJ0 .. MJ59    unit names
//   DIM0 .. DIM59  dimension texts, one column per unit, each column ended
//                  by ';' ("15;0.015;"); a line without ';' serves every unit
#pragma once

#include <string>

class CComboBox;

class CDimData {
 public:
  explicit CDimData(const char* folder = nullptr) { SetFolder(folder); }

  // A copy of folder ending in '\'; a null or empty folder gives an empty one.
  void SetFolder(const char* folder);
  const std::string& GetFolder() const { return m_folder; }

  // The units of a kind (item data: the key number); false without a folder
  // or for a kind that has no table.
  bool LoadUnitList(char kind, CComboBox* combo) const;
  // first (when given and not empty), then the unit's text of every
  // dimension line that has one; false as LoadUnitList.
  bool LoadDimensionList(char kind, int unitRow, CComboBox* combo, const char* first = nullptr) const;

  // The setters are false when the settings file could not be written.
  int GetShowDimDlg() const;  // 1 unless set
  bool SetShowDimDlg(int show) const;
  int GetLastUnit() const;  // a negative value reads as 0
  bool SetLastUnit(int unit) const;
  // At most size - 1 characters; the characters copied.
  int GetLastDim(char* buffer, int size) const;
  bool SetLastDim(const char* text) const;  // null writes nothing
  std::string SettingsPath() const { return m_folder + "JOV.INI"; }

 private:
  std::string TablePath() const { return m_folder + "JOV_LIN.DAT"; }

  std::string m_folder;
};

// The text of unit column `unit` of a dimension line: false when the line
// has no such ';'-ended column; a line without ';' gives its whole text.
bool DimensionColumn(const char* line, int unit, std::string* text);
