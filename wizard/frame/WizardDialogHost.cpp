// The dialogs' host in the library: the application object's folders, icon
// and dimension text, installed as the library loads.
#include <string>

#include "wizard/dialogs/DialogHost.h"
#include "wizard/frame/CWizardDllApp.h"

namespace {

constexpr size_t kPathSize = 260;

class WizardDialogHost : public DialogHost {
 public:
  WizardDialogHost() { SetDialogHost(this); }
  ~WizardDialogHost() override {
    if (&TheDialogHost() == this) SetDialogHost(nullptr);
  }
  std::string ProfilePath(const char* relative) const override {
    char path[kPathSize] = "";
    TheWizardApp().MakeProfilePath(path, relative);
    return path;
  }
  std::string BasePath(const char* relative) const override {
    char path[kPathSize] = "";
    TheWizardApp().MakeBasePath(path, relative);
    return path;
  }
  HICON Icon() const override { return TheWizardApp().GetIcon(); }
  void SetDimText(const char* text) override { TheWizardApp().SetDimText(text); }
};

WizardDialogHost host;

}  // namespace
