#include "wizard/dialogs/CDimDlg.h"

#include "common/HostModule.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"
#include "wizard/dialogs/DialogHost.h"

namespace {

constexpr int kLastDimLength = 255;

}  // namespace

BEGIN_MESSAGE_MAP(CDimDlg, CDialog)
  ON_CBN_SELCHANGE(IDC_DIM_UNIT, &CDimDlg::OnUnitChange)
  ON_WM_SHOWWINDOW()
  ON_BN_CLICKED(IDC_HELP_BUTTON, &CDimDlg::OnHelp)
END_MESSAGE_MAP()

CDimDlg::CDimDlg(char kind, CWnd* parent) : CDialog(IDD_DIM, parent), kind(kind) {}

CDimDlg::~CDimDlg() = default;

void CDimDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_DIM_HIDE, hideBox);
  DDX_Control(dx, IDC_DIM_UNIT, unitCombo);
  DDX_Control(dx, IDC_DIM_TEXT, dimensionCombo);
  DDX_Check(dx, IDC_DIM_HIDE, hide);
}

BOOL CDimDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheDialogHost().Icon(), FALSE);
  data.SetFolder(TheDialogHost().ProfilePath("Dat").c_str());
  if (data.GetShowDimDlg() == 0) {
    EndDialog(IDOK);
    return TRUE;
  }
  const int lastUnit = data.GetLastUnit();
  if (kind != 'E') {
    data.LoadUnitList(kind, &unitCombo);
    unitCombo.SetCurSel(lastUnit);
  } else {
    unitCombo.EnableWindow(FALSE);
  }
  data.LoadDimensionList(kind, lastUnit, &dimensionCombo);
  char lastDim[kLastDimLength + 1] = "";
  if (data.GetLastDim(lastDim, sizeof lastDim) > 0) dimensionCombo.SetWindowText(lastDim);
  return TRUE;
}

void CDimDlg::OnUnitChange() {
  const int unit = unitCombo.GetCurSel();
  if (unit < 0) return;
  data.LoadDimensionList(kind, unit, &dimensionCombo);
  dimensionCombo.SetCurSel(0);
}

void CDimDlg::OnShowWindow(BOOL show, UINT) {
  Default();
  if (show) CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
}

void CDimDlg::OnOK() {
  UpdateData(TRUE);
  const int unit = unitCombo.GetCurSel();
  CString text;
  dimensionCombo.GetWindowText(text);
  if (!(unit < 0 || data.SetLastUnit(unit)) || !data.SetShowDimDlg(hideBox.GetCheck() == 1 ? 0 : 1) ||
      !data.SetLastDim(text)) {
    MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_SAVED, MB_ICONERROR, data.SettingsPath().c_str());
    return;
  }
  if (!text.IsEmpty()) TheDialogHost().SetDimText(text);
  CDialog::OnOK();
}

void CDimDlg::OnHelp() { ShowWizardHelp(m_hWnd, "makroeditor-vkladani.htm"); }
