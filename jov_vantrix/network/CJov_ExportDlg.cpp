#include "jov_vantrix/network/CJov_ExportDlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/AnchorRule.h"
#include "common/CLocaleNumber.h"
#include "common/SettingsWrite.h"
#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "common/ValueRules.h"
#include "common/prf_store.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/DialogMessages.h"
#include "jov_vantrix/frame/HelpTopic.h"
#include "jov_vantrix/frame/PickBanner.h"
#include "jov_vantrix/network/CUndoArray.h"
#include "jov_vantrix/network/ExportSectionList.h"
#include "jov_vantrix/network/NetworkRecords.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/network/SectionFile.h"
#include "jov_vantrix/section/CutSettings.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/file_system.h"
#include "platform/win32/profile.h"
#include "platform/win32/resources.h"
#include "platform/win32/wgl/wgl.h"
#include "platform/win32/ui_services.h"

namespace {

constexpr char kSettingsFile[] = "Jov.ini";
constexpr char kPresetFile[] = "Jov_set.dat";
constexpr char kExportSection[] = "VANTRIX";
constexpr char kHistorySection[] = "CUT_EXPORT_DLG";
constexpr char kHistoryPrefix[] = "HIST";
constexpr uint32_t kHistorySaved = 50;
constexpr char kLayoutKey[] = "windowPosition";
constexpr double kDefaultLabelHeight = 2.5;  // millimetres, as the section dialog proposes

CString DataFile(const char* name) {
  char path[MAX_PATH];
  TheApp().GetDataPath(path, name, MAX_PATH);
  return path;
}

CString ReadSetting(const char* file, const char* section, const char* key, int size = MAX_PATH) {
  std::string value(static_cast<size_t>(size), '\0');
  GetPrivateProfileStringA(section, key, "", value.data(), static_cast<DWORD>(size), file);
  return value.c_str();
}

// A "DESC" number: fallback when it is missing or 0, NaN (refused later)
// when it is no finite number.
double SettingOr(const char* file, const char* key, double fallback) {
  const CString text = ReadSetting(file, "DESC", key);
  double value = 0.0;
  if (text.IsEmpty()) return fallback;
  if (!ReadFiniteNumber(text, value)) return std::nan("");
  return value == 0.0 ? fallback : value;
}

void WriteNumber(const char* file, const char* key, int value) {
  CString text;
  text.Format("%d", value);
  WriteSettingsString(file, kExportSection, key, text);
}

CString LoadText(UINT id) {
  char text[1024] = "";
  LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CJov_ExportDlg, CDialog)
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_DESTROY()
  ON_MESSAGE(kHostDialogQuery, &CJov_ExportDlg::OnHostQuery)
  ON_BN_CLICKED(IDC_EXPORT_BROWSE, &CJov_ExportDlg::OnBrowse)
  ON_BN_CLICKED(IDC_EXPORT_NUMBER_ALL, &CJov_ExportDlg::OnNumberAll)
  ON_CBN_KILLFOCUS(IDC_EXPORT_FILE, &CJov_ExportDlg::OnFileKillFocus)
  ON_CBN_KILLFOCUS(IDC_EXPORT_FIRST_NUMBER, &CJov_ExportDlg::OnFirstNumberKillFocus)
  ON_BN_CLICKED(IDC_EXPORT_UNDO, &CJov_ExportDlg::OnUndoStep)
  ON_BN_CLICKED(IDC_EXPORT_HELP, &CJov_ExportDlg::OnHelp)
END_MESSAGE_MAP()

CJov_ExportDlg::CJov_ExportDlg(CWnd* parent) : CDialog(IDD_JOV_EXPORT, parent) {
  const HostExport2D* host = TheApp().m_pHostTable;
  m_params.units = HostDrawingUnits(host);
  m_params.scale = HostDrawingScale(host);
  // The preview draws once the network is read, which takes a while: its
  // renderer loads meanwhile.
  PrepareOpenGLRenderer();
}

CJov_ExportDlg::~CJov_ExportDlg() {
  m_network.m_scheme.m_pUndo = nullptr;
  delete m_pUndo;
}

void CJov_ExportDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_EXPORT_FIRST_NUMBER, m_firstNumberBox);
  DDX_Control(dx, IDC_EXPORT_FILE, m_fileBox);
  DDX_Control(dx, IDC_EXPORT_DESCRIPTIONS, m_descriptionsCheck);
  DDX_Control(dx, IDC_EXPORT_NUMBER_ALL, m_numberAllButton);
  DDX_Control(dx, IDC_EXPORT_UNDO, m_undoButton);
  DDX_Control(dx, IDOK, m_okButton);
  DDX_Control(dx, IDC_EXPORT_PREVIEW, m_preview);
}

void CJov_ExportDlg::ReadSettings() {
  const CString settings = DataFile(kSettingsFile);
  const CString presets = DataFile(kPresetFile);
  m_descriptionsCheck.SetCheck(GetPrivateProfileIntA(kExportSection, "DESC_SEGM", 0, settings) ? BST_CHECKED
                                                                                                : BST_UNCHECKED);
  // Labels of no height would not be drawn: a missing or zero height is
  // the section dialog's, a missing or zero factor 1. Anything else must
  // be usable as it stands (OK checks it when labels are asked for).
  m_configuredHeight = SettingOr(settings, "HEIGHT", kDefaultLabelHeight);
  m_params.descriptionScaleFactor = SettingOr(settings, "SCFACTOR", 1.0);
  m_params.descriptionLayer = LoadText(IDS_LAYER_SEGMENT_NUMBERS);
  m_configuredLayer = ReadLayerPlaceholder(presets);
  const CString lastFile = ReadSetting(settings, kExportSection, "LAST_FILE");
  m_fileBox.LoadHistory(settings, kHistorySection, kHistoryPrefix);
  m_fileBox.SetWindowText(lastFile);
  for (const CString& number : ReadPresets(presets, "CUT_DLG_NUMBER")) m_firstNumberBox.AddString(number);
  // The proposal comes from the history's section; OK saves under VANTRIX.
  m_params.firstSegmentNumber.Format("%d", GetPrivateProfileIntA(kHistorySection, "SEGM_NUMBER", 0, settings) + 1);
  m_firstNumberBox.SetWindowText(m_params.firstSegmentNumber);
}

BOOL CJov_ExportDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheApp().m_hIcon, FALSE);
  ReadSettings();

  InitSizes(this);
  AddControl(GetDlgItem(IDC_EXPORT_PREVIEW), Anchor::kStretch, false);
  AddControl(GetDlgItem(IDC_EXPORT_FILE), Anchor::kStretchWidth, false);
  AddControl(GetDlgItem(IDC_EXPORT_BROWSE), Anchor::kMoveRight, false);
  for (int id : {IDC_EXPORT_NUMBER_ALL, IDC_EXPORT_UNDO, IDOK, IDCANCEL, IDC_EXPORT_HELP})
    AddControl(GetDlgItem(id), Anchor::kMoveWithCorner, false);
  m_preview.SetPanCursors(IDC_CURSOR_PAN, IDC_CURSOR_PAN);
  m_preview.SetZoomCursors(IDC_CURSOR_ZOOM, IDC_CURSOR_ZOOM);
  m_preview.EnableMouseNavigation(true);

  prf_store layout;
  layout.Open(DataFile(kSettingsFile), kExportSection);
  RestoreWindowLayout(this, this, &layout, kLayoutKey, true);

  UpdateOkState();

  ShowPickBanner(true);
  FillPreview();
  delete m_pUndo;
  m_pUndo = new CUndoArray;
  m_network.m_scheme.m_pUndo = m_pUndo;
  m_undoButton.EnableWindow(m_pUndo->GetSize() > 0);
  ShowPickBanner(false);
  return TRUE;
}

BOOL CJov_ExportDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == kEnterInComboBox && msg->hwnd == m_firstNumberBox.m_hWnd) {
    m_firstNumberBox.SetEditSel(0, -1);
    return TRUE;
  }
  if (msg->message == CMyViewJovGL::kPickMessage && msg->hwnd == m_preview.m_hWnd) {
    OnPreviewPick(static_cast<uint32_t>(msg->lParam));
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

void CJov_ExportDlg::OnFileKillFocus() {
  CString text;
  m_fileBox.GetWindowText(text);
  m_fileBox.AddToHistory(text, 0);
}

void CJov_ExportDlg::OnFirstNumberKillFocus() {
  m_firstNumberBox.GetWindowText(m_params.firstSegmentNumber);
  m_firstNumberBox.AddToHistory(m_params.firstSegmentNumber, 0);
}

int64_t CJov_ExportDlg::FirstNumber() const {
  // Checked: any number past int reads as one past it.
  const long long number = std::strtoll(m_params.firstSegmentNumber, nullptr, 10);
  if (number <= 0) return 0;
  return number > INT32_MAX ? int64_t{INT32_MAX} + 1 : number;
}

bool CJov_ExportDlg::CheckFirstNumber() {
  if (FirstNumber() == 0) {
    MessageBoxRes(m_hWnd, IDS_NUMBER_MISSING, MB_ICONHAND);
    return false;
  }
  CString widest;
  const int64_t largest = LargestFirstNumber(m_network, &widest);
  if (FirstNumber() <= largest) return true;
  if (largest < 1 && !widest.IsEmpty()) {
    // No first number would do: the drawing's number is at fault.
    MessageBoxRes(m_hWnd, IDS_SECTION_NUMBER_UNUSABLE, MB_ICONHAND,
                  widest + " carries a number too large to number the network with");
    return false;
  }
  CString bound;
  bound.Format("%lld", static_cast<long long>(std::max<int64_t>(largest, 0)));
  MessageBoxRes(m_hWnd, IDS_FIRST_NUMBER_TOO_LARGE, MB_ICONHAND, bound);
  return false;
}

bool CJov_ExportDlg::StartNumbering() {
  if (m_pUndo && m_pUndo->GetSize() > 0) return true;
  if (!CheckFirstNumber()) return false;
  m_network.m_scheme.m_nextFreeNumber = static_cast<uint32_t>(FirstNumber());
  return true;
}

void CJov_ExportDlg::OnOK() {
  const CString settings = DataFile(kSettingsFile);
  m_params.segmentDescriptions = m_descriptionsCheck.GetCheck() == BST_CHECKED ? 1 : 0;
  // From the millimetres of the settings each time, so that a second OK
  // does not convert again.
  m_params.descriptionHeight = m_configuredHeight * m_params.units / 1000.0 * m_params.scale;
  if (m_configuredLayer == LoadText(IDS_LAYER_SEGMENT_NUMBERS))
    if (const char* current = HostGetVariable(TheApp().m_pHostTable, "CLAYER")) m_params.descriptionLayer = current;

  if (m_params.segmentDescriptions) {
    CString where;
    if (!IsUsableSize(m_configuredHeight))
      where.Format("\"HEIGHT\" in [DESC] of %s", kSettingsFile);
    else if (!IsUsableWidthFactor(m_params.descriptionScaleFactor))
      where.Format("\"SCFACTOR\" in [DESC] of %s", kSettingsFile);
    else if (!IsUsableLayerName(m_params.descriptionLayer))
      where.Format("\"CLAYER\" of the drawing (%s)", m_params.descriptionLayer.GetString());
    if (!where.IsEmpty()) {
      MessageBoxRes(m_hWnd, IDS_SETTING_VALUE_UNUSABLE, MB_ICONHAND, where);
      return;
    }
  }
  // The box's text is the first number whether or not it lost the focus.
  m_firstNumberBox.GetWindowText(m_params.firstSegmentNumber);
  if (!CheckFirstNumber()) return;
  CString file;
  m_fileBox.GetWindowText(file);
  m_fileBox.AddToHistory(file, 0);
  if (file.IsEmpty()) {
    MessageBoxRes(m_hWnd, IDS_EXPORT_FILE_MISSING, MB_ICONHAND);
    return;
  }
  if (!CanCreateSectionFile(file)) {
    MessageBoxRes(m_hWnd, IDS_EXPORT_FILE_NOT_CREATED, MB_ICONHAND, file);
    return;
  }

  // A refused OK keeps nothing; from here on the dialog ends.
  WriteNumber(settings, "DESC_SEGM", static_cast<int>(m_params.segmentDescriptions));
  WriteSettingsString(settings, kExportSection, "SEGM_NUMBER", m_params.firstSegmentNumber);
  // Numbered once, only when the file can be written.
  StartNumbering();
  CompleteExportNumbering(m_network);
  CString unwritable, unusable, misnumbered;
  if (!BuildExportSectionList(m_network, m_params, m_sections, &unwritable, &unusable, &misnumbered)) {
    if (!unwritable.IsEmpty())
      MessageBoxRes(m_hWnd, IDS_EXPORT_TEXT_SEPARATOR, MB_ICONHAND, unwritable);
    else if (!unusable.IsEmpty())
      MessageBoxRes(m_hWnd, IDS_DRAWING_VALUE_UNUSABLE, MB_ICONHAND, unusable);
    else if (!misnumbered.IsEmpty())
      MessageBoxRes(m_hWnd, IDS_SECTION_NUMBER_UNUSABLE, MB_ICONHAND, misnumbered);
    else
      MessageBoxA(m_hWnd, LoadText(IDS_EXPORT_NOT_BUILT), GetHostProductTitle(), MB_ICONHAND);
    EndDialog(IDCANCEL);
    return;
  }
  if (!WriteSectionFile(m_sections, file, false)) {
    // The numbers are not written into the drawing either.
    MessageBoxRes(m_hWnd, IDS_EXPORT_FILE_NOT_CREATED, MB_ICONHAND, file);
    EndDialog(IDCANCEL);
    return;
  }
  // Only a file that was written is proposed next time.
  WriteSettingsString(settings, kExportSection, "LAST_FILE", file);
  m_fileBox.SaveHistory(settings, kHistorySection, kHistoryPrefix, kHistorySaved);
  EndDialog(IDOK);
}

void CJov_ExportDlg::OnBrowse() {
  DWORD size = 0;
  GetOpenFileNameStructSize(nullptr, &size);
  CFileDialog dialog(FALSE, "", "", 0, LoadText(IDS_FILTER_EXPORT_FILES), this, size);
  if (dialog.DoModal() == IDOK) m_fileBox.SetWindowText(dialog.GetPathName());
}

void CJov_ExportDlg::OnHelp() {
  ShowHelpTopic(m_hWnd, "vantrix-6.htm");
}

LRESULT CJov_ExportDlg::OnHostQuery(WPARAM, LPARAM) { return 1; }

void CJov_ExportDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  resizeWnd::OnSize(this, cx, cy, true, nullptr);
}

void CJov_ExportDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  CDialog::OnGetMinMaxInfo(info);
  resizeWnd::OnGetMinMaxInfo(info);
}

void CJov_ExportDlg::OnDestroy() {
  ForgetPreview();
  prf_store layout;
  layout.Open(DataFile(kSettingsFile), kExportSection);
  SaveWindowLayout(this, this, &layout, kLayoutKey);
  CDialog::OnDestroy();
}

void CJov_ExportDlg::FinishExport(INT_PTR result) {
  BeginWrittenChange();
  if (result != IDOK) {
    EndWrittenChange(-1);
    return;
  }
  // The write-back sends chains only: the sections and the extended data
  // read go first, so that the host's new entities take their room.
  m_sections.RemoveAll();
  m_sections.m_branchNames.RemoveAll();
  ForgetReadData(m_network);
  WriteAllRecords(m_network);
  EndWrittenChange(1);
}

void CJov_ExportDlg::ClearLists() {
  CObjSezNew& network = m_network;
  network.m_scheme.m_groups.RemoveAll();
  network.m_scheme.m_risers.RemoveAll();
  network.m_scheme.m_name.Empty();
  network.m_scheme.m_nextFreeNumber = 1;
  network.m_allRecords.RemoveAll();
  network.m_markerCircles.RemoveAll();
  // The floor-plan pipes and the other records no group takes, read again.
  network.m_unassociatedRecords.RemoveAll();
  network.m_heldRecords.RemoveAll();
  network.m_newLabels.Clear();
  network.m_class1Groups.RemoveAll();
  network.m_class2Groups.RemoveAll();
  network.m_pStartPipe = nullptr;
  network.m_readCount = 0;
}
