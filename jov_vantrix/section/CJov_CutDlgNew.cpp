#include "jov_vantrix/section/CJov_CutDlgNew.h"

#include "common/ComboInputFilter.h"
#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/DialogMessages.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/section/CutDialogControls.h"
#include "jov_vantrix/section/CutDrawing.h"
#include "jov_vantrix/section/CutObjectsReader.h"
#include "jov_vantrix/section/CutParamsRules.h"
#include "jov_vantrix/section/EarlierSection.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "jov_vantrix/section/ProductNames.h"
#include "jov_vantrix/section/SettingsFileText.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/ui_services.h"

namespace {

const HostExport2D* Host() { return TheApp().m_pHostTable; }

}  // namespace

BEGIN_MESSAGE_MAP(CJov_CutDlgNew, CDialog)
  ON_MESSAGE(kHostDialogQuery, &CJov_CutDlgNew::OnHostDialogQuery)
  ON_BN_CLICKED(IDC_CUT_DRAW_FLOOR, &CJov_CutDlgNew::OnFloorSwitch)
  ON_CBN_KILLFOCUS(IDC_CUT_DESC_FLOOR, &CJov_CutDlgNew::OnFloorDescriptionKillFocus)
  ON_BN_CLICKED(IDC_CUT_HELP, &CJov_CutDlgNew::OnHelpButton)
  ON_BN_CLICKED(IDC_CUT_ENABLE_SAME_LENGTH, &CJov_CutDlgNew::OnSameLength)
  ON_BN_CLICKED(IDC_CUT_ENABLE_SAME_HEIGHT, &CJov_CutDlgNew::OnSameHeight)
  ON_BN_CLICKED(IDC_CUT_DESC_ELM, &CJov_CutDlgNew::OnDescriptions)
  ON_BN_CLICKED(IDC_CUT_PIPE_SWITCH_OFF, &CJov_CutDlgNew::OnPipeSwitch)
  ON_BN_CLICKED(IDC_CUT_PIPE_SWITCH_ON, &CJov_CutDlgNew::OnPipeSwitch)
  ON_BN_CLICKED(IDC_CUT_DESC_RISER, &CJov_CutDlgNew::OnDescribeRisers)
  ON_BN_CLICKED(IDC_CUT_DESC_LASTRISER, &CJov_CutDlgNew::OnDescribeLastRiser)
END_MESSAGE_MAP()

CJov_CutDlgNew::CJov_CutDlgNew(CWnd* parent, JovClock clock)
    : CDialog(IDD_JOV_CUTDLG_NEW, parent),
      m_distElm(0, ComboInput::kUnsignedDecimal),
      m_distPipe(0, ComboInput::kUnsignedDecimal),
      m_distRiser(0, ComboInput::kUnsignedDecimal),
      m_descFloor(0, ComboInput::kAny),
      m_heightFloor(0, ComboInput::kUnsignedDecimal),
      m_pipeFloorDist(0, ComboInput::kSignedDecimal),
      m_sameLength(0, ComboInput::kUnsignedDecimal),
      m_sameHeight(0, ComboInput::kUnsignedDecimal),
      m_params(clock) {
  m_params.m_units = HostDrawingUnits(Host());
  m_params.m_scale = HostDrawingScale(Host());
}

CJov_CutDlgNew::~CJov_CutDlgNew() = default;

int CJov_CutDlgNew::ReadSelection() { return ReadCutObjects(m_list, m_riserMarker, m_start); }

void CJov_CutDlgNew::BeginChange() {
  BeginWrittenChange();
  m_changeOpen = true;
}

void CJov_CutDlgNew::EndChange(int status) {
  if (!m_changeOpen) return;
  m_changeOpen = false;
  EndWrittenChange(status);
}

void CJov_CutDlgNew::CloseUnchanged() { EndChange(-1); }

void CJov_CutDlgNew::GenerateSection(INT_PTR modalResult) {
  if (modalResult != IDOK) {
    CloseUnchanged();
    return;
  }
  if (StopOnUtf8SettingsFile(HostMainWindow(Host()))) {
    EndChange(-1);
    return;
  }
  ApplyLayerRules(m_params, m_layerPlaceholder, HostGetVariable(Host(), "CLAYER"));
  // Settings from the profile's files that no drawing can hold stop here,
  // before anything is drawn.
  if (const CutSettingFault fault = CheckDrawingSettings(m_params, m_list.m_marker1, m_list.m_marker2)) {
    MessageBoxRes(HostMainWindow(Host()), fault.message, MB_ICONHAND, fault.what);
    EndChange(-1);
    return;
  }
  ConvertForGeneration(m_params);
  m_params.m_text1 = CutResourceText(IDS_LAYER_FIRST_DESCRIPTION);
  m_params.m_riserCircleLayer = CutResourceText(IDS_LAYER_RISER);
  if (ReplaceEarlierSection(HostMainWindow(Host()), SectionKind::Branch, ReadChains(m_list)) != 1) {
    EndChange(-1);
    return;
  }
  CutDrawingFailure failure;
  CStringArray leftOut;
  if (BuildCutDrawing(m_list, m_params, &failure, &leftOut) == 1) {
    // Products left out are named; the user may rather draw nothing.
    if (!leftOut.IsEmpty() && MessageBoxRes(HostMainWindow(Host()), IDS_CUT_PRODUCTS_LEFT_OUT,
                                            MB_OKCANCEL | MB_ICONQUESTION, LeftOutText(leftOut)) == IDCANCEL) {
      EndChange(-1);
      return;
    }
    StampSectionEntities(m_list, m_params.m_assocStamp);
    WriteRecordsToDrawing(m_list, false);
    EndChange(1);
    return;
  }
  // The generator has already linked the read pipes to pieces that are
  // never drawn: nothing of it may reach the drawing.
  if (failure.message)
    MessageBoxRes(HostMainWindow(Host()), failure.message, MB_ICONHAND, failure.what);
  else
    MessageBoxRes(HostMainWindow(Host()), IDS_SECTION_NOT_DRAWN, MB_ICONHAND);
  EndChange(-1);
}

int CJov_CutDlgNew::IncludeExclude(bool exclude) {
  const int result = SetIncludeFlag(m_list, exclude);
  if (result == 1) {
    BeginChange();
    WriteRecordsToDrawing(m_list, false);
  }
  EndChange(1);
  return result;
}

void CJov_CutDlgNew::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_CUT_DIST_ELM, m_distElm);
  DDX_Control(dx, IDC_CUT_DIST_PIPE, m_distPipe);
  DDX_Control(dx, IDC_CUT_DIST_RISER, m_distRiser);
  DDX_Control(dx, IDC_CUT_DESC_FLOOR, m_descFloor);
  DDX_Control(dx, IDC_CUT_HEIGHT_FLOOR, m_heightFloor);
  DDX_Control(dx, IDC_CUT_PIPE_FLOOR_DIST, m_pipeFloorDist);
  DDX_Control(dx, IDC_CUT_SAME_LENGTH, m_sameLength);
  DDX_Control(dx, IDC_CUT_SAME_HEIGHT, m_sameHeight);
  DDX_Control(dx, IDC_CUT_DESC_ELM, m_descElm);
  DDX_Control(dx, IDC_CUT_DESC_RISER, m_descRiser);
  DDX_Control(dx, IDC_CUT_DESC_LASTRISER, m_descLastRiser);
  DDX_Control(dx, IDC_CUT_DRAW_FLOOR, m_drawFloor);
  DDX_Control(dx, IDC_CUT_PREVIEW, m_preview);
  DDX_Control(dx, IDC_CUT_RISER_MARKER, m_markerText);
  DDX_Control(dx, IDC_CUT_ENABLE_SAME_LENGTH, m_enableSameLength);
  DDX_Control(dx, IDC_CUT_ENABLE_SAME_HEIGHT, m_enableSameHeight);
}

BOOL CJov_CutDlgNew::PreTranslateMessage(MSG* msg) {
  // Enter in a box selects its text instead of closing the dialog.
  if (SelectTextOnEnter(msg, {&m_distElm, &m_distPipe, &m_distRiser, &m_descFloor, &m_heightFloor, &m_pipeFloorDist,
                              &m_sameLength, &m_sameHeight}))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

BOOL CJov_CutDlgNew::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheApp().m_hIcon, FALSE);
  LoadCutPresetsNew(*this, CutSettingsPath(kCutPresetFile));
  LoadCutSettingsNew(*this);
  OnFloorSwitch();
  m_markerText.SetWindowText(m_riserMarker);
  return TRUE;
}

void CJov_CutDlgNew::OnOK() { SaveCutSettingsNew(*this); }

LRESULT CJov_CutDlgNew::OnHostDialogQuery(WPARAM, LPARAM) { return 1; }

void CJov_CutDlgNew::RedrawPreview() { m_preview.Invalidate(TRUE); }

void CJov_CutDlgNew::OnFloorSwitch() {
  const bool on = m_drawFloor.GetCheck() == BST_CHECKED;
  EnableCutControls(*this, {IDC_CUT_DESC_FLOOR, IDC_CUT_DESC_FLOOR_LABEL}, on);
  m_preview.SetFloor(on);
  RedrawPreview();
}

void CJov_CutDlgNew::OnFloorDescriptionKillFocus() { KeepTypedText(m_descFloor); }

void CJov_CutDlgNew::OnHelpButton() { ShowCutHelp(m_hWnd); }

void CJov_CutDlgNew::OnSameLength() {
  const bool on = m_enableSameLength.GetCheck() == BST_CHECKED;
  m_sameLength.EnableWindow(on);
  m_preview.SetSameLength(on);
  RedrawPreview();
}

void CJov_CutDlgNew::OnSameHeight() {
  const bool on = m_enableSameHeight.GetCheck() == BST_CHECKED;
  m_sameHeight.EnableWindow(on);
  m_preview.SetSameHeight(on);
  RedrawPreview();
}

void CJov_CutDlgNew::OnDescriptions() {
  m_preview.SetDescriptions(m_descElm.GetCheck() == BST_CHECKED);
  RedrawPreview();
}

void CJov_CutDlgNew::OnPipeSwitch() {
  m_params.m_pipeSwitch = IsDlgButtonChecked(IDC_CUT_PIPE_SWITCH_ON) == BST_CHECKED;
  m_preview.SetPipeSwitch(m_params.m_pipeSwitch);
  RedrawPreview();
}

void CJov_CutDlgNew::OnDescribeRisers() { m_descLastRiser.EnableWindow(m_descRiser.GetCheck() != BST_CHECKED); }

void CJov_CutDlgNew::OnDescribeLastRiser() { m_descRiser.EnableWindow(m_descLastRiser.GetCheck() != BST_CHECKED); }

void LoadCutPresetsNew(CJov_CutDlgNew& dialog, const char* presetFile) {
  LoadCutPresetLists(dialog, CutDialog::Branch, presetFile);
  dialog.m_layerPlaceholder = ReadLayerPlaceholder(presetFile);
}

void LoadCutSettingsNew(CJov_CutDlgNew& dialog) {
  const CString settings = CutSettingsPath(kCutSettingsFile);
  CutDialogValues values = ReadCutValues(settings, CutDialog::Branch);
  // A picked pipe sets the distance between the pipes and their order; one
  // whose distance was refused leaves the box to the user.
  const bool pickedDistance = dialog.m_pipePicked && !dialog.m_pickedPipeDistance.IsEmpty();
  if (dialog.m_pipePicked) values.pipeSwitch = dialog.m_pipeSide ? 1 : 0;
  if (pickedDistance) values.pipeDistance = dialog.m_pickedPipeDistance;
  ShowCutValues(dialog, CutDialog::Branch, values);
  dialog.m_distPipe.EnableWindow(!pickedDistance);
  dialog.OnSameLength();
  dialog.OnSameHeight();
  dialog.OnDescriptions();
  dialog.OnDescribeRisers();
  dialog.OnDescribeLastRiser();

  ReadDrawingSettings(settings, dialog.m_params);
  dialog.m_descFloor.LoadHistory(settings, kCutHistorySection, kCutHistoryPrefix);

  dialog.m_params.m_pipeSwitch = values.pipeSwitch != 0;
  EnableCutControls(dialog, {IDC_CUT_PIPE_SWITCH_ON, IDC_CUT_PIPE_SWITCH_OFF}, !dialog.m_pipePicked);
  dialog.m_preview.SetPipeSwitch(dialog.m_params.m_pipeSwitch);

  ReadPipeTypes(CutSettingsPath(kPipeTypeFile), dialog.m_list.m_marker1, dialog.m_list.m_marker2, dialog.m_params);
}

void SaveCutSettingsNew(CJov_CutDlgNew& dialog) {
  const CString settings = CutSettingsPath(kCutSettingsFile);
  CutDialogValues values = CollectCutValues(dialog, CutDialog::Branch);
  if (const CutSettingFault fault = CheckCutValues(values, CutDialog::Branch)) {
    MessageBoxRes(dialog.m_hWnd, fault.message, MB_ICONHAND, fault.what);
    return;
  }
  JovCutParams& block = dialog.m_params;
  StoreCutValues(values, block);
  block.m_text2 = CutResourceText(IDS_LAYER_BASE_LINE);
  block.m_text3 = CutResourceText(IDS_LAYER_FLOOR_MARK);
  block.m_text4 = CutResourceText(IDS_LAYER_BUBBLES);

  if (!ConfirmShortening(block, HostMainWindow(Host()))) return;
  // Only a confirmed OK keeps its values.
  SaveCutValues(settings, CutDialog::Branch, values);
  dialog.m_descFloor.SaveHistory(settings, kCutHistorySection, kCutHistoryPrefix, kCutHistorySaved);
  RecomputePipeBeginLength(block);
  dialog.CDialog::OnOK();
}
