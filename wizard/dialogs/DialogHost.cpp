#include "wizard/dialogs/DialogHost.h"

#include "platform/win32/help.h"

namespace {

class NoHost : public DialogHost {
 public:
  std::string ProfilePath(const char* relative) const override { return relative ? relative : ""; }
  std::string BasePath(const char* relative) const override { return relative ? relative : ""; }
  HICON Icon() const override { return nullptr; }
  void SetDimText(const char*) override {}
};

DialogHost* installed = nullptr;

}  // namespace

DialogHost::~DialogHost() = default;

DialogHost& TheDialogHost() {
  static NoHost none;
  return installed ? *installed : none;
}

DialogHost* SetDialogHost(DialogHost* host) {
  DialogHost* previous = installed;
  installed = host;
  return previous;
}

void ShowWizardHelp(HWND caller, const char* topic) {
  const std::string file = TheDialogHost().BasePath("HELP\\JOV2D.CHM") + "::/zdroje\\" + topic;
  HtmlHelpA(caller, file.c_str(), HH_DISPLAY_TOPIC, 0);
}

void ShowHelpPopup(HWND caller, const std::string& chm, UINT topic, const HELPINFO* request) {
  HH_POPUP popup{};
  popup.cbStruct = sizeof popup;
  popup.idString = topic;
  if (request) popup.pt = request->MousePos;
  popup.clrForeground = popup.clrBackground = static_cast<COLORREF>(-1);
  popup.rcMargins = {-1, -1, -1, -1};
  HtmlHelpA(caller, chm.c_str(), HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
}
