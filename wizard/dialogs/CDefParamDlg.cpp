#include "wizard/dialogs/CDefParamDlg.h"

#include <cctype>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "common/HostModule.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CMenu.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/file_access.h"
#include "platform/win32/help.h"
#include "platform/win32/menus.h"
#include "platform/win32/registry.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/CPPDlg.h"
#include "wizard/dialogs/CParamDlg.h"
#include "wizard/dialogs/DefinitionCommit.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/DialogMessages.h"
#include "wizard/dialogs/PointMarkers.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterPresentation.h"
#include "wizard/frame/engine/ProductFormulas.h"
#include "wizard/frame/engine/RecordLookups.h"

namespace {

// The preview menu's commands: the preview kinds 0, 1 and 2, then
// picking again with the whole drawing in view.
constexpr UINT kKindCommand = ID_PRODUCT_PREVIEW_GROUPS;
static_assert(ID_PRODUCT_PREVIEW_GEOMETRY == kKindCommand + 2);
// The margin of a fit to the extents.
constexpr double kFitMargin = 1.25;

constexpr const char* kMachineKey = "SOFTWARE\\QUENLOR\\DRAVIK LT";
constexpr const char* kLayoutKey = "SOFTWARE\\QUENLOR\\DRAVIK LT\\DefParamDlg";

// Anchors: moves down and widens; moves right and lengthens; moves down
// and right.
constexpr uint32_t kBelowWidening = 14;
constexpr uint32_t kRightLengthening = 13;
constexpr uint32_t kBottomRight = 12;

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

// Whether a formula reads the parameter: a name in it (letters, digits and
// '_', begun by a letter, the '_' not counted, as the evaluator reads it)
// that is not a function's.
bool FormulaReads(const char* formula, const char* name) {
  if (!formula || !name || !*name) return false;
  auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; };
  for (const char* p = formula; *p;) {
    if (!word(*p)) {
      ++p;
      continue;
    }
    const bool letter = std::isalpha(static_cast<unsigned char>(*p)) != 0;
    std::string read;
    for (; word(*p); ++p)
      if (*p != '_') read += *p;
    if (letter && *p != '(' && read == name) return true;
  }
  return false;
}

// What the product dialog's try may change in the parameters, to be put
// back when it closes: OK writes the values with the parameters.
struct ParamState {
  CValueParam* param;
  std::string texts[ParamText::kCount];
  bool present[ParamText::kCount];
  uint32_t flags;
  double lowLimit, highLimit, thirdLimit;
};

std::vector<ParamState> SaveParamStates(const CSeznam& params) {
  std::vector<ParamState> states;
  for (CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    ParamState state{p, {}, {}, p->flags, p->lowLimit, p->highLimit, p->thirdLimit};
    for (int slot = 0; slot < ParamText::kCount; ++slot) {
      const char* text = p->GetText(slot);
      state.present[slot] = text != nullptr;
      if (text) state.texts[slot] = text;
    }
    states.push_back(std::move(state));
  }
  return states;
}

void RestoreParamStates(const std::vector<ParamState>& states) {
  for (const ParamState& state : states) {
    for (int slot = 0; slot < ParamText::kCount; ++slot)
      state.param->SetText(slot, state.present[slot] ? state.texts[slot].c_str() : nullptr);
    state.param->flags = state.flags;
    state.param->lowLimit = state.lowLimit;
    state.param->highLimit = state.highLimit;
    state.param->thirdLimit = state.thirdLimit;
  }
}

HICON LoadWizardIcon(UINT id) {
  return LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(id), RT_GROUP_ICON), MAKEINTRESOURCEA(id));
}

}  // namespace

CDefParamDlg::CDefParamDlg(unsigned view, bool viewOnly, CWnd* parent)
    : CDialog(IDD_DEF_PARAM, parent),
      preview(2, 1, IDR_PRODUCT_PREVIEW_MENU, 0),
      view(static_cast<int>(view)),
      viewOnly(viewOnly) {}

CDefParamDlg::~CDefParamDlg() = default;

BEGIN_MESSAGE_MAP(CDefParamDlg, CDialog)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_DEF_POINTS, &CDefParamDlg::OnPointChanged)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_DEF_FORMULAS, &CDefParamDlg::OnFormulaRowChanged)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_DEF_PARAMS, &CDefParamDlg::OnParamChanged)
  ON_NOTIFY(NM_DBLCLK, IDC_DEF_PARAMS, &CDefParamDlg::OnParamDoubleClick)
  ON_BN_CLICKED(IDC_DEF_BASE_POINT, &CDefParamDlg::OnBasePoint)
  ON_BN_CLICKED(IDC_DEF_VIEW_A, &CDefParamDlg::OnView)
  ON_BN_CLICKED(IDC_DEF_VIEW_B, &CDefParamDlg::OnView)
  ON_BN_CLICKED(IDC_DEF_VIEW_C, &CDefParamDlg::OnView)
  ON_BN_CLICKED(IDC_DEF_VIEW_3D, &CDefParamDlg::OnView)
  ON_BN_CLICKED(IDC_DEF_LINE_ENDS, &CDefParamDlg::OnLineEnds)
  ON_BN_CLICKED(IDC_DEF_ADD, &CDefParamDlg::OnAddParam)
  ON_BN_CLICKED(IDC_DEF_EDIT, &CDefParamDlg::OnEditParam)
  ON_BN_CLICKED(IDC_DEF_DELETE, &CDefParamDlg::OnDeleteParam)
  ON_BN_CLICKED(IDC_DEF_TRY, &CDefParamDlg::OnTry)
  ON_BN_CLICKED(IDC_DEF_ZOOM_IN, &CDefParamDlg::OnZoomIn)
  ON_BN_CLICKED(IDC_DEF_ZOOM_OUT, &CDefParamDlg::OnZoomOut)
  ON_BN_CLICKED(IDC_DEF_ZOOM_EXTENTS, &CDefParamDlg::OnZoomExtents)
  ON_BN_CLICKED(IDC_DEF_HELP, &CDefParamDlg::OnHelpButton)
  ON_COMMAND_RANGE(kKindCommand, kKindCommand + 2, &CDefParamDlg::OnKind)
  ON_COMMAND(ID_PRODUCT_PREVIEW_EXTENTS, &CDefParamDlg::OnFitAll)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CDefParamDlg::OnToolTipText)
  ON_WM_HELPINFO()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

void CDefParamDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_DEF_PARAMS, paramList);
  DDX_Control(dx, IDC_DEF_POINTS, pointList);
  DDX_Control(dx, IDC_DEF_FORMULAS, formulaList);
  DDX_Control(dx, IDC_DEF_ZOOM_IN, zoomInButton);
  DDX_Control(dx, IDC_DEF_ZOOM_EXTENTS, zoomExtentsButton);
  DDX_Control(dx, IDC_DEF_ZOOM_OUT, zoomOutButton);
  DDX_Radio(dx, IDC_DEF_VIEW_A, view);
  DDX_Text(dx, IDC_DEF_STATUS, status);
  DDX_Check(dx, IDC_DEF_LINE_ENDS, lineEnds);
}

BOOL CDefParamDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(TheDialogHost().Icon()));

  layout.AddAllControls(this, GetDlgItem(IDC_DEF_PREVIEW));
  for (int id : {IDC_DEF_PARAMS_FRAME, IDC_DEF_FORMULAS, IDC_DEF_FORMULAS_FRAME, IDC_DEF_PARAMS})
    layout.AddControl(GetDlgItem(id), kBelowWidening, true);
  for (int id : {IDC_DEF_POINTS_FRAME, IDC_DEF_POINTS}) layout.AddControl(GetDlgItem(id), kRightLengthening, true);
  for (int id : {IDC_DEF_LINE_ENDS, IDOK, IDCANCEL}) layout.AddControl(GetDlgItem(id), kBottomRight, true);
  layout.InitSizes(this);

  for (const char* path : {kMachineKey, kLayoutKey}) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
      RegCloseKey(key);
  }
  layoutStore.Open(HKEY_CURRENT_USER, kLayoutKey, true);
  RestoreWindowLayout(&layout, this, &layoutStore, "PLACEMENT", true);

  // The scene is made as the button is taken over.
  if (!preview.SubclassDlgItem(IDC_DEF_PREVIEW, this) || !preview.IsReady()) {
    MessageBoxRes(m_hWnd, IDS_PREVIEW_FAILED, MB_ICONEXCLAMATION);
    EndDialog(-1);
    return TRUE;
  }

  tips.Create(this, TTS_ALWAYSTIP);
  for (CButton* button : {&zoomInButton, &zoomOutButton, &zoomExtentsButton}) tips.AddTool(button, LPSTR_TEXTCALLBACK);
  tips.Activate(TRUE);
  zoomInIcon = LoadWizardIcon(IDI_ZOOM_IN);
  zoomExtentsIcon = LoadWizardIcon(IDI_ZOOM_EXTENTS);
  zoomOutIcon = LoadWizardIcon(IDI_ZOOM_OUT);
  zoomInButton.SetIcon(zoomInIcon);
  zoomExtentsButton.SetIcon(zoomExtentsIcon);
  zoomOutButton.SetIcon(zoomOutIcon);
  preview.SetPanCursors(IDC_PRODUCT_PREVIEW_PAN, IDC_PRODUCT_PREVIEW_PAN);
  preview.SetZoomCursors(IDC_PRODUCT_PREVIEW_ZOOM, IDC_PRODUCT_PREVIEW_ZOOM);
  GetDlgItem(IDC_DEF_DELETE)->EnableWindow(FALSE);
  GetDlgItem(IDC_DEF_EDIT)->EnableWindow(FALSE);

  if (!LoadProductParameters(params)) {
    MessageBoxRes(m_hWnd, IDS_NOT_ENOUGH_MEMORY, MB_ICONEXCLAMATION);
    EndDialog(-1);
    return TRUE;
  }
  paramList.attached = &params;
  FillParamList(params, &paramList, &formulaList, true, 1000);

  CRect client;
  pointList.GetClientRect(&client);
  pointList.InsertColumn(0, "", LVCFMT_LEFT, client.Width());
  ShowView();

  EnableOk();
  EnableTry();
  unsigned itemStatus = 0;
  jovDatabase::Database* db = CurrentCatalogue();
  const bool known = db && db->GetItemsStatus(itemStatus) == jovDatabase::eOK;
  const std::pair<int, unsigned> views[] = {
      {IDC_DEF_VIEW_A, 1u << 31}, {IDC_DEF_VIEW_B, 1u << 30}, {IDC_DEF_VIEW_C, 1u << 29}, {IDC_DEF_VIEW_3D, 1u << 28}};
  for (const auto& [id, bit] : views) GetDlgItem(id)->EnableWindow(known && (itemStatus & bit));
  for (int id : {IDC_DEF_BASE_POINT, IDC_DEF_FORMULAS, IDC_DEF_ZOOM_IN, IDC_DEF_ZOOM_OUT})
    GetDlgItem(id)->EnableWindow(FALSE);
  preview.EnableMouseNavigation(true);
  UpdateData(FALSE);
  return TRUE;
}

void CDefParamDlg::ShowView() {
  CObjectSez& list = points[view];
  shownPoint = nullptr;
  for (int id : {IDC_DEF_BASE_POINT, IDC_DEF_FORMULAS, IDC_DEF_ZOOM_IN, IDC_DEF_ZOOM_OUT})
    GetDlgItem(id)->EnableWindow(FALSE);
  ShowFormulas(nullptr);
  const bool read = TheProductDialogHost().ProductDxf(static_cast<unsigned>(view), viewGeometry);
  preview.ShowPreview(read ? viewGeometry.head : nullptr, true);
  if (list.GetCount() == 0 && read) {
    ParseProductGeometry(list, viewGeometry.head, true);
    LoadProductFormulas(list, static_cast<unsigned>(view));
    basePoint[view] = GetBasePointNumber(list);
  }
  FillPointList(list, &pointList, lineEnds, &preview);
}

void CDefParamDlg::EnableOk() { GetDlgItem(IDOK)->EnableWindow(basePoint[view] >= 1); }

void CDefParamDlg::EnableTry() { GetDlgItem(IDC_DEF_TRY)->EnableWindow(HasUserParams(params)); }

CObjectData* CDefParamDlg::SelectedPoint() const {
  const int row = pointList.GetNextItem(-1, LVNI_SELECTED);
  return row < 0 ? nullptr : reinterpret_cast<CObjectData*>(pointList.GetItemData(row));
}

void CDefParamDlg::EndFormulaEdit() {
  if (formulaList.IsEditing()) SetFocus();
}

void CDefParamDlg::ShowFormulas(const CObjectData* point) {
  for (int axis = 0; axis < kFormulaRows; ++axis) {
    const char* formula = point ? point->GetText(axis) : nullptr;
    formulaList.SetItemText(axis, 1, formula ? formula : "");
  }
}

void CDefParamDlg::OnPointChanged(NMHDR* header, LRESULT* result) {
  *result = 0;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if (!(change->uChanged & LVIF_STATE)) return;
  const bool was = (change->uOldState & LVIS_SELECTED) != 0, is = (change->uNewState & LVIS_SELECTED) != 0;
  if (was == is) return;
  EndFormulaEdit();
  if (!is) {
    for (int id : {IDC_DEF_ZOOM_IN, IDC_DEF_ZOOM_OUT, IDC_DEF_BASE_POINT, IDC_DEF_FORMULAS})
      GetDlgItem(id)->EnableWindow(FALSE);
    return;
  }
  auto* point = reinterpret_cast<CObjectData*>(pointList.GetItemData(change->iItem));
  if (!point) return;
  shownPoint = point;
  preview.HighlightGroup(static_cast<int32_t>(point->number), true);
  ShowFormulas(point);
  const bool editable = !(point->flags & PointFlag::kBasePoint);
  GetDlgItem(IDC_DEF_ZOOM_IN)->EnableWindow(TRUE);
  GetDlgItem(IDC_DEF_ZOOM_OUT)->EnableWindow(TRUE);
  GetDlgItem(IDC_DEF_BASE_POINT)->EnableWindow(editable);
  GetDlgItem(IDC_DEF_FORMULAS)->EnableWindow(editable && basePoint[view] >= 1);
}

void CDefParamDlg::OnFormulaRowChanged(NMHDR* header, LRESULT* result) {
  *result = 0;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if (!(change->uChanged & LVIF_STATE)) return;
  const bool was = (change->uOldState & LVIS_SELECTED) != 0, is = (change->uNewState & LVIS_SELECTED) != 0;
  if (was == is) return;
  if (is) {
    OnFormulaCommitted(change->iItem, false);
  } else if (formulaList.GetSelectedCount() == 0) {
    status.Empty();
    UpdateData(FALSE);
  }
}

void CDefParamDlg::OnFormulaCommitted(int row, bool commit) {
  // The rows show the point last selected; a commit that ends with the
  // point list's selection still goes to it.
  CObjectData* point = shownPoint;
  if (!point || row < 0) return;
  CValueParam* param = formulaList.ParamOf(row);
  if (row >= kFormulaRows && !param) return;
  const CString text = formulaList.GetItemText(row, 1);
  if (!DefinitionTextAllowed(row, static_cast<const char*>(text))) {
    // It would split the texts it is stored in: the old text stays.
    const char* old = param ? param->GetText(ParamText::kValue) : point->GetText(row);
    formulaList.SetItemText(row, 1, old ? old : "");
    status = LoadText(IDS_EVALUATION_ERROR);
    UpdateData(FALSE);
    return;
  }
  if (param)
    param->SetText(ParamText::kValue, text);
  else
    point->SetText(row, text);
  double value = 0;
  if (EvaluateDefinitionText(params, !param, param ? param->status : 0, static_cast<const char*>(text), value) != 0) {
    status = LoadText(IDS_EVALUATION_ERROR);
  } else {
    status = FormatTwoNumbers(LoadText(IDS_EVALUATION_RESULT), value, 0).c_str();
    if (commit && row < 2 && !lineEnds) MakeRelativeFormulas(points[view]);
  }
  UpdateData(FALSE);
}

void CDefParamDlg::OnBasePoint() {
  UpdateData(TRUE);
  if (MessageBoxRes(m_hWnd, IDS_MAKE_BASE_POINT, MB_YESNO | MB_ICONQUESTION) == IDNO) return;
  CObjectData* point = SelectedPoint();
  if (!point) {
    basePoint[view] = -1;
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    GetDlgItem(IDC_DEF_TRY)->EnableWindow(FALSE);
    return;
  }
  CObjectSez& list = points[view];
  ClearBasePointMarks(list, &pointList);
  point->flags |= PointFlag::kBasePoint;
  basePoint[view] = static_cast<int>(point->number);
  OffsetObjectFormulas(list, *point);
  if (point->listRow >= 0) pointList.SetItemText(point->listRow, 0, pointList.GetItemText(point->listRow, 0) + " F");
  ShowFormulas(point);
  for (int id : {IDC_DEF_BASE_POINT, IDC_DEF_FORMULAS, IDC_DEF_ZOOM_IN, IDC_DEF_ZOOM_OUT})
    GetDlgItem(id)->EnableWindow(FALSE);
  GetDlgItem(IDOK)->EnableWindow(TRUE);
}

void CDefParamDlg::OnView() {
  EndFormulaEdit();
  UpdateData(TRUE);
  ShowView();
  EnableOk();
  EnableTry();
}

void CDefParamDlg::OnLineEnds() {
  EndFormulaEdit();
  UpdateData(TRUE);
  ShowPointMarkers(points[view], &pointList, lineEnds, &preview);
  preview.Invalidate(TRUE);
  if (pointList.GetItemCount() > 0) pointList.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int CDefParamDlg::SelectedParamRow() const { return paramList.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED); }

void CDefParamDlg::RenumberParamRows() {
  for (int row = 0; row < paramList.GetItemCount(); ++row)
    if (auto* p = reinterpret_cast<CValueParam*>(paramList.GetItemData(row))) p->listRow = row;
}

void CDefParamDlg::OnAddParam() {
  auto* param = new CValueParam;
  CParamDlg dialog(false, param, &params, this);
  if (dialog.DoModal() != IDOK) {
    delete param;
  } else if (AppendParamWithRow(params, param, &paramList)) {
    if (param->status & ParamStatus::kComputed) formulaList.AddParamRow(param);
  } else {
    // In the list without a row: no parameter the user cannot see.
    params.Delete(param);
  }
  EnableTry();
}

void CDefParamDlg::OnEditParam() {
  const int row = SelectedParamRow();
  auto* param = row < 0 ? nullptr : reinterpret_cast<CValueParam*>(paramList.GetItemData(row));
  if (!param) return;
  CParamDlg dialog(true, param, &params, this);
  if (dialog.DoModal() == IDOK) {
    if (param->status & ParamStatus::kComputed) formulaList.AddParamRow(param);
    formulaList.RemoveUnmarkedRows();
    const int slots[] = {ParamText::kName, ParamText::kLabel, ParamText::kTypeTitle, ParamText::kDefault};
    for (int column = 0; column < 4; ++column) {
      const char* text = param->GetText(slots[column]);
      paramList.SetItemText(row, column, text ? text : "");
    }
  }
  EnableTry();
}

std::string CDefParamDlg::FormulasReading(const char* name) {
  static constexpr const char* kViewNames[kViews] = {"A", "B", "C", "3D"};
  static constexpr char kAxes[] = {'X', 'Y', 'Z'};
  std::string found;
  for (int v = 0; v < kViews; ++v) {
    // A view not shown yet has its formulas in the catalogue only.
    CObjectSez read;
    const CObjectSez* list = &points[v];
    if (list->GetCount() == 0) {
      jovDatabase::resultResbuf geometry;
      if (!TheProductDialogHost().ProductDxf(static_cast<unsigned>(v), geometry)) continue;
      ParseProductGeometry(read, geometry.head, true);
      LoadProductFormulas(read, static_cast<unsigned>(v));
      list = &read;
    }
    for (const CObjectData* point = FirstOf<CObjectData>(*list); point; point = NextOf(point))
      for (int axis = 0; axis < 3; ++axis)
        if (FormulaReads(point->GetText(axis), name))
          found += std::string("\n") + kViewNames[v] + " " + std::to_string(point->number) + " " + kAxes[axis] +
                   " = " + point->GetText(axis);
  }
  return found;
}

void CDefParamDlg::OnDeleteParam() {
  const int row = SelectedParamRow();
  auto* param = row < 0 ? nullptr : reinterpret_cast<CValueParam*>(paramList.GetItemData(row));
  if (!param) return;
  const std::string readers = FormulasReading(param->GetText(ParamText::kName));
  if (!readers.empty() &&
      MessageBoxRes(m_hWnd, IDS_PARAM_IN_FORMULAS, MB_YESNO | MB_ICONQUESTION, readers.c_str()) != IDYES)
    return;
  formulaList.RemoveParamRow(param);
  paramList.DeleteItem(row);
  params.Delete(param);
  RenumberParamRows();
  const int count = paramList.GetItemCount();
  if (count > 0) {
    const int next = row < count ? row : count - 1;
    paramList.SetItemState(next, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    paramList.SetFocus();
  }
  EnableTry();
}

void CDefParamDlg::OnParamChanged(NMHDR*, LRESULT* result) {
  *result = 0;
  const bool one = paramList.GetSelectedCount() == 1;
  GetDlgItem(IDC_DEF_DELETE)->EnableWindow(one);
  GetDlgItem(IDC_DEF_EDIT)->EnableWindow(one);
}

void CDefParamDlg::OnParamDoubleClick(NMHDR* header, LRESULT* result) {
  *result = 0;
  if (reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem < 0)
    OnAddParam();
  else
    OnEditParam();
}

void CDefParamDlg::OnTry() {
  UpdateData(TRUE);
  CPPDlg dialog(static_cast<unsigned>(view), this, true, false);
  dialog.SetParamList(&params);
  dialog.SetGeometryObjects(&points[view]);
  // The try's values are for the try only.
  const std::vector<ParamState> before = SaveParamStates(params);
  dialog.DoModal();
  RestoreParamStates(before);
  ProductDialogHost& host = TheProductDialogHost();
  DeleteGroupCodeChain(&host.ResultChain(1));
  DeleteGroupCodeChain(&host.ResultChain(2));
}

void CDefParamDlg::ZoomAtSelected(bool zoomIn) {
  if (const CObjectData* point = SelectedPoint()) preview.ZoomAt(&point->point, zoomIn);
}

void CDefParamDlg::OnZoomIn() { ZoomAtSelected(true); }

void CDefParamDlg::OnZoomOut() { ZoomAtSelected(false); }

void CDefParamDlg::OnZoomExtents() { preview.ZoomExtents(true, &kFitMargin); }

void CDefParamDlg::OnKind(UINT command) {
  preview.SetKind(command - kKindCommand);
  // The kind is the drawing's: the view is drawn anew in it.
  preview.ShowPreview(viewGeometry.head, true);
  FillPointList(points[view], &pointList, lineEnds, &preview);
}

void CDefParamDlg::OnFitAll() {
  preview.SetMode(GLPreviewControl::kSelect);
  preview.ZoomExtents(true, &kFitMargin);
}

void CDefParamDlg::OnPointPicked(uint32_t number) {
  EndFormulaEdit();
  const CObjectData* point = FindObjectByNumber(points[view], number);
  if (!point || point->listRow < 0) return;
  for (int row = pointList.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = pointList.GetNextItem(row, LVNI_SELECTED))
    pointList.SetItemState(row, 0, LVIS_SELECTED);
  pointList.SetItemState(point->listRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  pointList.SetFocus();
}

void CDefParamDlg::OnMenuOpening(CMenu* menu) {
  const uint32_t kind = preview.GetKind();
  if (!menu || kind > 2) return;
  for (uint32_t k = 0; k <= 2; ++k)
    menu->CheckMenuItem(kKindCommand + k, MF_BYCOMMAND | (k == kind ? MF_CHECKED : MF_UNCHECKED));
}

BOOL CDefParamDlg::PreTranslateMessage(MSG* msg) {
  switch (msg->message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      if (tips.m_hWnd) tips.RelayEvent(msg);
      break;
    case kDefinitionCommitted:
      if (msg->hwnd != formulaList.m_hWnd) break;
      OnFormulaCommitted(static_cast<int>(msg->lParam), true);
      return TRUE;
    case CViewJovGL::kPickMessage: OnPointPicked(static_cast<uint32_t>(msg->lParam)); return TRUE;
    case CViewJovGL::kMenuMessage: OnMenuOpening(reinterpret_cast<CMenu*>(msg->lParam)); return TRUE;
    default: break;
  }
  return CDialog::PreTranslateMessage(msg);
}

BOOL CDefParamDlg::OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
  auto* tip = reinterpret_cast<NMTTDISPINFOA*>(header);
  UINT id = static_cast<UINT>(header->idFrom);
  if (tip->uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
  *result = 0;
  UINT text = 0;
  switch (id) {
    case IDC_DEF_ZOOM_IN: text = IDS_TIP_ZOOM_IN; break;
    case IDC_DEF_ZOOM_OUT: text = IDS_TIP_ZOOM_OUT; break;
    case IDC_DEF_ZOOM_EXTENTS: text = IDS_TIP_ZOOM_EXTENTS; break;
    default: return FALSE;
  }
  LoadStringA(AfxGetResourceHandle(), text, tip->szText, sizeof tip->szText);
  tip->lpszText = tip->szText;
  return TRUE;
}

void CDefParamDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (!viewOnly) {
    bool written = true;
    for (int v = 0; v < kViews && written; ++v)
      if (basePoint[v] >= 1) written = StoreProductFormulas(points[v], static_cast<unsigned>(v), basePoint[v]);
    if (written) written = StoreProductParameters(params);
    if (!written) {
      // OK means everything is in the catalogue: the user may try again.
      MessageBoxRes(m_hWnd, IDS_NOT_ENOUGH_MEMORY, MB_ICONEXCLAMATION);
      return;
    }
  }
  // A refused OK keeps nothing; Cancel keeps the layout as OK does.
  SaveWindowLayout(&layout, this, &layoutStore, "PLACEMENT");
  CDialog::OnOK();
}

void CDefParamDlg::OnCancel() {
  SaveWindowLayout(&layout, this, &layoutStore, "PLACEMENT");
  CDialog::OnCancel();
}

void CDefParamDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  layout.OnSize(this, cx, cy, true, nullptr);
}

void CDefParamDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  layout.OnGetMinMaxInfo(info);
  CDialog::OnGetMinMaxInfo(info);
}

void CDefParamDlg::OnHelpButton() { ShowWizardHelp(m_hWnd, "kx-prace-pridani_prvku-makro.htm"); }

BOOL CDefParamDlg::OnHelpInfo(HELPINFO* info) {
  const int control = info ? info->iCtrlId : 0;
  UINT topic = 0;
  switch (control) {
    case IDC_DEF_PREVIEW: topic = 271; break;
    case IDC_DEF_TRY: topic = 285; break;
    case IDC_DEF_PARAMS: topic = 278; break;
    case IDC_DEF_ADD: topic = 282; break;
    case IDC_DEF_DELETE: topic = 283; break;
    case IDC_DEF_EDIT: topic = 284; break;
    case IDC_DEF_BASE_POINT: topic = 274; break;
    case IDC_DEF_VIEW_A:
    case IDC_DEF_VIEW_B:
    case IDC_DEF_VIEW_C:
    case IDC_DEF_VIEW_3D: topic = 275; break;
    case IDC_DEF_POINTS: topic = 272; break;
    case IDC_DEF_ZOOM_IN:
    case IDC_DEF_ZOOM_EXTENTS:
    case IDC_DEF_ZOOM_OUT: topic = 276; break;
    case IDC_DEF_FORMULAS: topic = 277; break;
    case IDC_DEF_LINE_ENDS: topic = 273; break;
    default: break;
  }
  constexpr UINT kContents = 270;
  const std::string chm = TheDialogHost().BasePath("HELP\\KX.CHM");
  if (_access(chm.c_str(), 0) == 0) {
    // Without a topic of its own the help file opens at its start.
    if (topic)
      ShowHelpPopup(m_hWnd, chm, topic, info);
    else
      HtmlHelpA(m_hWnd, chm.c_str(), HH_DISPLAY_TOPIC, 0);
  } else {
    const std::string hlp = TheDialogHost().BasePath("HELP\\KX.HLP");
    if (control == IDC_DEF_ADD)
      WinHelpA(m_hWnd, hlp.c_str(), HELP_CONTEXT, topic);
    else
      WinHelpA(m_hWnd, hlp.c_str(), HELP_CONTEXTPOPUP, topic ? topic : kContents);
  }
  return TRUE;
}
