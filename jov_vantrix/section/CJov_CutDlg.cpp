#include "jov_vantrix/section/CJov_CutDlg.h"

#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

CJov_CutDlg::CJov_CutDlg(CWnd* parent, JovClock clock) : CDialog(IDD_JOV_CUTDLG, parent), m_params(clock) {
  m_params.m_unit = HostDrawingUnits(TheApp().m_pHostTable);
  m_params.m_scale = HostDrawingScale(TheApp().m_pHostTable);
}

CJov_CutDlg::~CJov_CutDlg() = default;
