#include "jov_vantrix/section/CJov_CutDlg.h"

#include "common/ComboInputFilter.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "common/HostModule.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/DialogMessages.h"
#include "jov_vantrix/section/CutDialogControls.h"
#include "jov_vantrix/section/CutParamsRules.h"
#include "jov_vantrix/section/EarlierSection.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "jov_vantrix/section/OldCutDrawing.h"
#include "jov_vantrix/section/OldCutRecords.h"
#include "jov_vantrix/section/OldRecordLookups.h"
#include "jov_vantrix/section/ProductNames.h"
#include "jov_vantrix/section/SettingsFileText.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/ui_services.h"

namespace {

const HostExport2D* Host() { return TheApp().m_pHostTable; }

}  // namespace

BEGIN_MESSAGE_MAP(CJov_CutDlg, CDialog)
  ON_MESSAGE(kHostDialogQuery, &CJov_CutDlg::OnHostDialogQuery)
  ON_BN_CLICKED(IDC_CUT_DRAW_PIPE, &CJov_CutDlg::OnDrawPipe)
  ON_BN_CLICKED(IDC_CUT_DRAW_FLOOR, &CJov_CutDlg::OnFloorSwitch)
  ON_CBN_KILLFOCUS(IDC_CUT_DESC_FLOOR, &CJov_CutDlg::OnFloorDescriptionKillFocus)
  ON_CBN_KILLFOCUS(IDC_CUT_NUMBER, &CJov_CutDlg::OnCutNumberKillFocus)
  ON_BN_CLICKED(IDC_CUT_HELP, &CJov_CutDlg::OnHelpButton)
  ON_BN_CLICKED(IDC_CUT_ENABLE_SAME_LENGTH, &CJov_CutDlg::OnSameLength)
END_MESSAGE_MAP()

CJov_CutDlg::CJov_CutDlg(CWnd* parent, JovClock clock)
    : CDialog(IDD_JOV_CUTDLG, parent),
      m_height(0, ComboInput::kUnsignedDecimal),
      m_distElm(0, ComboInput::kUnsignedDecimal),
      m_distPipe(0, ComboInput::kUnsignedDecimal),
      m_distRiser(0, ComboInput::kUnsignedDecimal),
      m_descFloor(0, ComboInput::kAny),
      m_heightFloor(0, ComboInput::kUnsignedDecimal),
      m_cutNumber(0, ComboInput::kDigits),
      m_pipeFloorDist(0, ComboInput::kSignedDecimal),
      m_sameLength(0, ComboInput::kUnsignedDecimal),
      m_params(clock) {
  m_params.m_unit = HostDrawingUnits(Host());
  m_params.m_scale = HostDrawingScale(Host());
}

CJov_CutDlg::~CJov_CutDlg() = default;

void CJov_CutDlg::GenerateSection(INT_PTR modalResult) {
  const HostExport2D* host = Host();
  if (modalResult != IDOK) {
    HostEndChange(host, -1);
    return;
  }
  if (StopOnUtf8SettingsFile(HostMainWindow(host))) {
    HostEndChange(host, -1);
    return;
  }
  ApplyLayerRules(m_params, m_layerPlaceholder, HostGetVariable(host, "CLAYER"));
  // Settings from the profile's files that no drawing can hold stop here.
  if (const CutSettingFault fault = CheckDrawingSettings(m_params)) {
    MessageBoxRes(HostMainWindow(host), fault.message, MB_ICONHAND, fault.what);
    HostEndChange(host, -1);
    return;
  }
  ConvertForGeneration(m_params);
  m_params.m_firstLineLayer = CutResourceText(IDS_LAYER_FIRST_DESCRIPTION);
  m_params.m_riserLayer = CutResourceText(IDS_LAYER_RISER);
  if (!m_params.m_sections.BuildFromBranches(m_records) &&
      MessageBoxRes(HostMainWindow(host), IDS_ASK_WITHOUT_SECTIONS, MB_YESNO | MB_ICONQUESTION) == IDNO) {
    HostEndChange(host, -1);
    return;
  }
  if (!BeginWrittenChange()) return;
  if (ReplaceEarlierSection(HostMainWindow(host), SectionKind::Riser, ReadChains(m_records)) != 1) {
    EndWrittenChange(-1);
    return;
  }
  CStringArray leftOut;
  CutDrawingFailure failure;
  const int result = m_params.m_branchOption ? BuildOldCutDrawing(m_records, m_params, &leftOut, &failure)
                                             : BuildOldCutDrawingFlat(m_records, m_params, &leftOut, &failure);
  // Products left out are named; the user may rather draw nothing.
  if (result == 1 && !leftOut.IsEmpty() &&
      MessageBoxRes(HostMainWindow(host), IDS_CUT_PRODUCTS_LEFT_OUT, MB_OKCANCEL | MB_ICONQUESTION,
                    LeftOutText(leftOut)) == IDCANCEL) {
    HostEndChange(host, -1);
    return;
  }
  if (result == 1) {
    StampSectionEntities(m_records, m_params.m_stamp);
    WriteOldRecords(m_records);
    if (EndWrittenChange(1) == 1) SaveCutNumber(CutSettingsPath(kCutSettingsFile), m_params.m_cutNumber);
    return;
  }
  if (failure.message)
    MessageBoxRes(HostMainWindow(host), failure.message, MB_ICONHAND, failure.what);
  else
    MessageBoxRes(nullptr, IDS_SECTION_NOT_DRAWN, MB_ICONHAND);
  HostEndChange(host, -1);
}

void CJov_CutDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_CUT_HEIGHT, m_height);
  DDX_Control(dx, IDC_CUT_DIST_ELM, m_distElm);
  DDX_Control(dx, IDC_CUT_DIST_PIPE, m_distPipe);
  DDX_Control(dx, IDC_CUT_DIST_RISER, m_distRiser);
  DDX_Control(dx, IDC_CUT_DESC_FLOOR, m_descFloor);
  DDX_Control(dx, IDC_CUT_HEIGHT_FLOOR, m_heightFloor);
  DDX_Control(dx, IDC_CUT_NUMBER, m_cutNumber);
  DDX_Control(dx, IDC_CUT_PIPE_FLOOR_DIST, m_pipeFloorDist);
  DDX_Control(dx, IDC_CUT_SAME_LENGTH, m_sameLength);
  DDX_Control(dx, IDC_CUT_DESC_ELM, m_descElm);
  DDX_Control(dx, IDC_CUT_DESC_RISER, m_descRiser);
  DDX_Control(dx, IDC_CUT_DRAW_FLOOR, m_drawFloor);
  DDX_Control(dx, IDC_CUT_DRAW_PIPE, m_drawPipe);
  DDX_Control(dx, IDC_CUT_PREVIEW, m_preview);
  DDX_Control(dx, IDC_CUT_RISER_MARKER, m_markerText);
  DDX_Control(dx, IDC_CUT_ENABLE_SAME_LENGTH, m_enableSameLength);
  DDX_Control(dx, IDC_CUT_LAST_FLOOR, m_lastFloor);
}

BOOL CJov_CutDlg::PreTranslateMessage(MSG* msg) {
  // Enter in a number box selects its text; it does not close the dialog.
  if (SelectTextOnEnter(msg, {&m_height, &m_distElm, &m_distPipe, &m_distRiser, &m_descFloor, &m_heightFloor,
                              &m_pipeFloorDist, &m_sameLength}))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

BOOL CJov_CutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheApp().m_hIcon, FALSE);
  if (ReadOldCutObjects(m_records, m_riserNumber) == kOldCutNoRiser) {
    MessageBoxRes(m_hWnd, IDS_NO_SECTION_START, MB_ICONHAND);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  m_params.m_branchOption = HasDifferentBranchParents(m_records);
  LoadCutPresets(*this, CutSettingsPath(kCutPresetFile));
  LoadCutSettings(*this);
  OnDrawPipe();
  OnFloorSwitch();
  m_markerText.SetWindowText(m_riserNumber);
  return TRUE;
}

void CJov_CutDlg::OnOK() { SaveCutSettings(*this); }

LRESULT CJov_CutDlg::OnHostDialogQuery(WPARAM, LPARAM) { return 1; }

void CJov_CutDlg::OnDrawPipe() {
  EnableCutControls(*this,
                    {IDC_CUT_HEIGHT, IDC_CUT_DIST_PIPE, IDC_CUT_PIPE_FLOOR_DIST, IDC_CUT_DESC_RISER,
                     IDC_CUT_PIPE_SWITCH_ON, IDC_CUT_PIPE_SWITCH_OFF, IDC_CUT_HEIGHT_LABEL, IDC_CUT_DIST_PIPE_LABEL,
                     IDC_CUT_PIPE_FLOOR_LABEL, IDC_CUT_PIPE_SWITCH_GROUP},
                    m_drawPipe.GetCheck() == BST_CHECKED);
}

void CJov_CutDlg::OnFloorSwitch() {
  EnableCutControls(*this, {IDC_CUT_DESC_FLOOR, IDC_CUT_DESC_FLOOR_LABEL}, m_drawFloor.GetCheck() == BST_CHECKED);
}

void CJov_CutDlg::OnFloorDescriptionKillFocus() { KeepTypedText(m_descFloor); }

void CJov_CutDlg::OnCutNumberKillFocus() { KeepTypedText(m_cutNumber); }

void CJov_CutDlg::OnHelpButton() { ShowCutHelp(m_hWnd); }

void CJov_CutDlg::OnSameLength() {
  const bool on = m_enableSameLength.GetCheck() == BST_CHECKED;
  m_sameLength.EnableWindow(on);
  m_preview.SetSameLength(on);
  m_preview.Invalidate(TRUE);
}

void LoadCutPresets(CJov_CutDlg& dialog, const char* presetFile) {
  LoadCutPresetLists(dialog, CutDialog::Riser, presetFile);
  dialog.m_layerPlaceholder = ReadLayerPlaceholder(presetFile);
}

void LoadCutSettings(CJov_CutDlg& dialog) {
  const CString settings = CutSettingsPath(kCutSettingsFile);
  const CutDialogValues values = ReadCutValues(settings, CutDialog::Riser);
  ShowCutValues(dialog, CutDialog::Riser, values);
  dialog.OnSameLength();
  ReadDrawingSettings(settings, dialog.m_params);
  dialog.m_descFloor.LoadHistory(settings, kCutHistorySection, kCutHistoryPrefix);
  dialog.m_params.m_pipeSwitch = values.pipeSwitch != 0;
  ReadPipeTypes(CutSettingsPath(kPipeTypeFile), dialog.m_params);
}

void SaveCutSettings(CJov_CutDlg& dialog) {
  const CString settings = CutSettingsPath(kCutSettingsFile);
  CutDialogValues values = CollectCutValues(dialog, CutDialog::Riser);
  JovCutParamsOld& block = dialog.m_params;
  block.m_cutNumber = values.cutNumber;
  if (values.cutNumber.IsEmpty()) {
    MessageBoxRes(dialog.m_hWnd, IDS_NUMBER_MISSING, MB_ICONHAND);
    return;
  }
  if (const CutSettingFault fault = CheckCutValues(values, CutDialog::Riser)) {
    MessageBoxRes(dialog.m_hWnd, fault.message, MB_ICONHAND, fault.what);
    return;
  }
  StoreCutValues(values, block);
  block.m_baseLineLayer = CutResourceText(IDS_LAYER_BASE_LINE);
  block.m_floorMarkLayer = CutResourceText(IDS_LAYER_FLOOR_MARK);
  block.m_bubbleLayer = CutResourceText(IDS_LAYER_BUBBLES);

  if (!ConfirmShortening(block, dialog.m_hWnd)) return;
  // Only a confirmed OK keeps its values.
  SaveCutValues(settings, CutDialog::Riser, values);
  dialog.m_descFloor.SaveHistory(settings, kCutHistorySection, kCutHistoryPrefix, kCutHistorySaved);
  RecomputePipeBeginLength(block);
  dialog.CDialog::OnOK();
}
