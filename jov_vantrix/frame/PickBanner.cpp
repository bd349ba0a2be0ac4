#include "jov_vantrix/frame/PickBanner.h"

#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "jov_vantrix/frame/DlgWarning.h"

namespace {

DlgWarning* g_banner = nullptr;

}  // namespace

int ShowPickBanner(bool show) {
  if (!show) {
    if (g_banner) {
      g_banner->DestroyWindow();
      delete g_banner;
      g_banner = nullptr;
    }
    return HOST_NORMAL;
  }
  if (g_banner) {
    g_banner->SetFocus();
    return 1;
  }
  CWnd* parent = CWnd::FromHandle(HostMainWindow(GetHostExportTable()));
  auto* banner = new DlgWarning(parent);
  if (!banner->m_hWnd) {
    delete banner;
    return -1;
  }
  banner->m_pParentWnd = parent;
  g_banner = banner;
  return 1;
}
