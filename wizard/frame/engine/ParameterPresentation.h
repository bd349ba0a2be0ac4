// A product's parameters as the dialogs show them: rows of a list view
// (all parameters in the definition editor, the user's in the product
// dialog), the report of computed results, and single value cells.
//
// Length display mode: 1 metres, 1000 millimetres, anything else plain;
// values are always stored in millimetres.
#pragma once

#include <string>

class CListCtrl;
class CSeznam;
class CValueParam;

// The definition editor's list of computed parameters, which adds its own
// rows.
class CParamRowList {
 public:
  virtual ~CParamRowList() = default;
  virtual void AddParamRow(CValueParam* param) = 0;
};

// Deletes every row, then one row per parameter in list order.
// all: row text the name, item data the parameter, columns 1-3 label, type
//   title and default; the row goes to the parameter's list row, and a
//   computed parameter (status bit 0) also joins definitions.
// user (not all): computed parameters (bit 0 or 1) are skipped and one
//   without label or name ends the fill. Row text "label (name)", item data
//   a new CListItemData of column 0 owning the value cell's (column 1)
//   descriptor; column 1 shows the value (or default) by the length mode.
// False when a row cannot be inserted.
bool FillParamList(CSeznam& params, CListCtrl* view, CParamRowList* definitions, bool all, unsigned lengthMode);

// Appends the parameter to the list and, with a view, a row for it as in
// the all mode above. False for a null parameter or a failed insertion.
bool AppendParamWithRow(CSeznam& params, CValueParam* param, CListCtrl* view);

// The product's title line and CR LF, then "label (name) = value" and CR LF
// for each reported parameter (status bit 1) with label and name: its
// formula's result (metres: / 1000 to four decimals; millimetres: none;
// else two), or the undefined name. On a catalogue error the text stays
// as it was.
void FormatParameterReport(const CSeznam& params, std::string& report, unsigned lengthMode);

// The value cell of a user parameter's row as the product dialog's list
// first shows it: the value (or the default), a length by the mode.
std::string ParamValueCellText(const CValueParam& param, unsigned lengthMode);

// A length for a value cell: "%.4f" of value / 1000 in mode 1, else "%.2f".
std::string FormatLengthCell(double value, unsigned lengthMode);

// Sets column 1 of the row whose item data is the parameter or a row
// descriptor of it; nothing without a view or such a row.
void SetParamValueCell(CListCtrl* view, const CValueParam* param, const std::string& text);
