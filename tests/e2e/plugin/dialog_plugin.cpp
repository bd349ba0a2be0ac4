// A plug-in for the runner's end-to-end tests of the dialog utilities. Its
// Jov_Vantrix_Export shows the pick banner (with the real plug-in's
// resources) while the host takes a selection, then runs the utility
// tests' dialog (history boxes, resizable layout) over the profile's
// "Dat\Jov.ini" (which keeps the histories and the layout), and tells what
// it saw in two message boxes:
//   banner title=T owner=host|other text=T selection=N
//   dialog R restored=yes|no owner=host|other enter=N
// It returns 1 when the dialog was ended with OK, else -1.
#include <string>

#include "common/HostModule.h"
#include "common/tests/UtilityDialog.h"
#include "jov_vantrix/frame/DlgWarning.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/ui_services.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

CWinApp theApp("DialogPlugin");

// The dialog, noting whose it is.
class OwnedDialog : public utility_tests::UtilityDialog {
 public:
  OwnedDialog(std::string settings, CWnd* parent) : UtilityDialog(std::move(settings), parent) {}
  HWND owner = nullptr;

 protected:
  BOOL OnInitDialog() override {
    owner = ::GetParent(m_hWnd);
    return UtilityDialog::OnInitDialog();
  }
};

std::string TextOf(HWND window) {
  char text[512] = "";
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

PLUGIN_EXPORT int Jov_Vantrix_Export(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HostExport2D* table = GetHostExportTable();
  const HWND main = HostMainWindow(table);
  auto getProfile = reinterpret_cast<GetProfilePathFn>(GetProcAddress(GetHostModule(), "GetProfilePath"));
  char profile[MAX_PATH] = "";
  if (!getProfile || getProfile(0, profile, sizeof profile) != HOST_NORMAL) return -1;
  HMODULE banners = LoadLibraryA(JOV_PLUGIN_BANNER_RESOURCES);
  HMODULE dialogs = LoadLibraryA(JOV_PLUGIN_DIALOG_RESOURCES);
  if (!banners || !dialogs) return -1;

  AfxSetResourceHandle(banners);
  auto* banner = new DlgWarning(CWnd::FromHandle(main));
  std::string seen = "banner title=" + TextOf(banner->m_hWnd) +
                     " owner=" + (::GetParent(banner->m_hWnd) == main ? "host" : "other") +
                     " text=" + TextOf(banner->m_textControl.m_hWnd);
  const int selection = HostSelect(table, "Select the network: ", 2, 0, nullptr);
  banner->DestroyWindow();
  delete banner;
  MessageBoxA(main, (seen + " selection=" + std::to_string(selection)).c_str(), HostProductTitle(table),
              MB_ICONINFORMATION);

  AfxSetResourceHandle(dialogs);
  OwnedDialog dialog(std::string(profile) + "Dat\\Jov.ini", CWnd::FromHandle(main));
  const INT_PTR result = dialog.DoModal();
  int enter = 0;
  for (const auto& [id, message] : dialog.privateMessages) enter += message == kEnterInComboBox;
  MessageBoxA(main,
              ("dialog " + std::to_string(result) + " restored=" + (dialog.restored ? "yes" : "no") +
               " owner=" + (dialog.owner == main ? "host" : "other") + " enter=" + std::to_string(enter))
                  .c_str(),
              HostProductTitle(table), MB_ICONINFORMATION);
  FreeLibrary(dialogs);
  FreeLibrary(banners);
  return result == IDOK ? 1 : -1;
}
