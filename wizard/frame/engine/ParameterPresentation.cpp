#include "wizard/frame/engine/ParameterPresentation.h"

#include "common/CLocaleNumber.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/CListCtrl.h"
#include "wizard/frame/engine/CListItemData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ChoiceFills.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"

namespace {

bool IsEmpty(const char* text) { return !text || !*text; }

int AppendRow(CListCtrl* view, const char* text, const void* data) {
  return view->InsertItem(LVIF_TEXT | LVIF_PARAM, view->GetItemCount(), text ? text : "", 0, 0, 0,
                          reinterpret_cast<LPARAM>(data));
}

// The all-mode row of a parameter; false when it cannot be inserted.
bool AppendDefinitionRow(CListCtrl* view, CValueParam* p) {
  const int row = AppendRow(view, p->GetText(ParamText::kName), p);
  if (row < 0) return false;
  p->listRow = row;
  const std::pair<int, int> columns[] = {{1, ParamText::kLabel}, {2, ParamText::kTypeTitle}, {3, ParamText::kDefault}};
  for (const auto& [column, slot] : columns)
    if (const char* text = p->GetText(slot)) view->SetItemText(row, column, text);
  return true;
}

}  // namespace

std::string ParamValueCellText(const CValueParam& p, unsigned lengthMode) {
  const char* value = p.GetText(ParamText::kValue);
  const bool current = !IsEmpty(value);
  const char* text = current ? value : p.GetText(ParamText::kDefault);
  if (!text) return std::string();
  if (p.status == 0 || (p.status & (ParamStatus::kAnyFree | ParamStatus::kFormula))) return text;
  const double number = AtofC(text);
  if (lengthMode == 1) return FormatFixed(number / 1000.0, 4);
  return FormatFixed(number, lengthMode == 1000 || !current ? 2 : 0);
}

std::string FormatLengthCell(double value, unsigned lengthMode) {
  return lengthMode == 1 ? FormatFixed(value / 1000.0, 4) : FormatFixed(value, 2);
}

void SetParamValueCell(CListCtrl* view, const CValueParam* param, const std::string& text) {
  if (!view || !param) return;
  for (int row = 0; row < view->GetItemCount(); ++row) {
    auto* data = reinterpret_cast<CSeznam*>(view->GetItemData(row));
    const auto* cell = dynamic_cast<const CListItemData*>(data);
    if (data == param || (cell && cell->param == param)) {
      view->SetItemText(row, 1, text.c_str());
      return;
    }
  }
}

bool FillParamList(CSeznam& params, CListCtrl* view, CParamRowList* definitions, bool all, unsigned lengthMode) {
  if (!view) return false;
  view->DeleteAllItems();
  for (CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    if (all) {
      if (!AppendDefinitionRow(view, p)) return false;
      if ((p->status & ParamStatus::kComputed) && definitions) definitions->AddParamRow(p);
      continue;
    }
    if (p->status & ParamStatus::kAnyComputed) continue;
    const char* label = p->GetText(ParamText::kLabel);
    const char* name = p->GetText(ParamText::kName);
    if (IsEmpty(label) || IsEmpty(name)) return true;
    auto* head = new CListItemData(0, 0, 0, p);
    const int row = AppendRow(view, (std::string(label) + " (" + name + ")").c_str(), head);
    if (row < 0) {
      delete head;
      return false;
    }
    view->SetItemText(row, 1, ParamValueCellText(*p, lengthMode).c_str());
    auto* cell = new CListItemData(0, 1, 0, p);
    if (!(p->flags & ParamFlag::kGivenByCaller)) {
      cell->flags = CellFlag::kEditable;
      if (!(p->status & (ParamStatus::kAnyComputed | ParamStatus::kAnyFree))) cell->inputKind = 4;
      if (!IsEmpty(p->GetText(ParamText::kAllowed))) {
        cell->flags |= CellFlag::kChoices;
        cell->fill = FillValueListBox;
      }
    }
    head->AddTail(cell);
  }
  return true;
}

bool AppendParamWithRow(CSeznam& params, CValueParam* param, CListCtrl* view) {
  if (!param || !params.AddTail(param)) return false;
  return !view || AppendDefinitionRow(view, param);
}

void FormatParameterReport(const CSeznam& params, std::string& report, unsigned lengthMode) {
  jovDatabase::Database* catalogue = CurrentCatalogue();
  qmString title;
  if (!catalogue || catalogue->GetIndexText(title) != jovDatabase::eOK) return;
  std::string text = std::string(title.GetString() ? title.GetString() : "") + "\r\n";
  std::string definitions, scratch, expression, output;
  BuildDefinitions(params, definitions, false);
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    const char* label = p->GetText(ParamText::kLabel);
    const char* name = p->GetText(ParamText::kName);
    if (!(p->status & ParamStatus::kReported) || !label || !name) continue;
    const char* value = p->GetText(ParamText::kValue);
    const char* formula = IsEmpty(value) ? p->GetText(ParamText::kDefault) : value;
    scratch = definitions;
    expression = std::string(formula ? formula : "") + ";";
    double result = 0;
    const int code = EvaluateExpression(scratch, expression, output, result, kEvaluationDepth);
    const std::string head = std::string(label) + " (" + name + ") = ";
    if (code == EVAL_OK)
      text += head + (lengthMode == 1      ? FormatFixed(result / 1000.0, 4)
                      : lengthMode == 1000 ? FormatFixed(result, 0)
                                           : FormatFixed(result, 2)) + "\r\n";
    else if (code == EVAL_UNDEFINED)
      text += head + output + "\r\n";
  }
  report = std::move(text);
}
