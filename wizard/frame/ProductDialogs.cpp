#include "wizard/frame/ProductDialogs.h"

#include "wizard/dialogs/CDefParamDlg.h"
#include "wizard/dialogs/CPP2Dlg.h"
#include "wizard/dialogs/CPPDlg.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/ProductConnection.h"
#include "wizard/frame/ProductGeometry.h"
#include "wizard/frame/ProductXData.h"

namespace {

static_assert(ProductDialogHost::kChoices == CWizardDllApp::kRetryIndices);
static_assert(ProductDialogHost::kProducerTexts == CWizardDllApp::kProducerTexts);

class ApplicationHost : public ProductDialogHost {
 public:
  std::string RegistryRoot() const override { return WizardRegistryRoot(); }
  int TradeLetter() const override { return GetTradeLetter(); }
  resbuf*& ResultChain(int which) override {
    return which == 1 ? TheWizardApp().ResultChain1() : TheWizardApp().ResultChain2();
  }
  void GetProducerData(const char* out[kProducerTexts]) const override { TheWizardApp().GetProducerData(out); }
  void SetProducerData(const char* const texts[kProducerTexts]) override { TheWizardApp().SetProducerData(texts); }
  void KeepChoices(const int indices[kChoices]) override { TheWizardApp().SetRetryIndices(indices); }
  void KeptChoices(int out[kChoices]) const override { TheWizardApp().GetRetryIndices(out); }
  const char* PP2Date() const override { return TheWizardApp().GetPP2Date(); }
  const char* Slope() const override { return TheWizardApp().GetSlope(); }
  int Mirror() const override { return TheWizardApp().GetMirror(); }
  void SetMirror(int mirror) override { TheWizardApp().SetMirror(mirror); }
  bool PointText(const char* pointsText, unsigned index, unsigned group, char* out, unsigned size) const override {
    return TheWizardApp().GetPointText(pointsText, index, group, out, size);
  }
  bool ProductPointName(unsigned view, unsigned number, char* out, unsigned size) const override {
    return GetProductPointName(view, number, out, size);
  }
  void ApplyConnectionLevel(unsigned view, unsigned otherIndex, const char* otherPoints, unsigned ownNumber,
                            CObjectSez* params) override {
    TheWizardApp().ApplyConnectionLevel(view, otherIndex, otherPoints, ownNumber, params);
  }
  bool ProductDxf(unsigned view, jovDatabase::resultResbuf& out) override { return GetProductDxf(view, out); }
  bool BuildProductXData(HWND owner, unsigned view, CObjectSez* params, unsigned char* flags, unsigned flagCount,
                         const char* code, const char* slope, const char* branch) override {
    return ::BuildProductXData(owner, view, params, flags, flagCount, code, slope, branch);
  }
  bool FindKorpalinLibrary(char* out, unsigned size) const override {
    return TheWizardApp().FindKorpalinLibrary(out, size);
  }
};

}  // namespace

void UseApplicationAsProductDialogHost() {
  static ApplicationHost host;
  SetProductDialogHost(&host);
}

INT_PTR RunParametricDialog(const ParametricDialogArgs& args) {
  UseApplicationAsProductDialogHost();
  CPPDlg dialog(args.view, CWnd::FromHandle(args.parent), args.editorTest, args.backAllowed);
  dialog.SetPropertyFlags(args.propertyFlags, args.flagCount);
  dialog.SetLengthUnit(args.lengthMode);
  dialog.SetConnection(args.ownNumber, args.otherIndex, args.otherPoints, args.vantrixUse);
  dialog.SetQProd(args.productCode);
  dialog.SetInitialRecalc(args.initialRecalc);
  return dialog.DoModal();
}

INT_PTR RunProducerDialog(const ProducerDialogArgs& args) {
  UseApplicationAsProductDialogHost();
  CPP2Dlg dialog(args.view, args.itemStatus, args.productCode, args.branch, args.arg13, args.typeName,
                 CWnd::FromHandle(args.parent));
  dialog.SetPropertyFlags(args.propertyFlags, args.flagCount);
  dialog.SetConnection(args.ownNumber, args.otherIndex, args.otherPoints, args.retry);
  return dialog.DoModal();
}

INT_PTR RunDefinitionEditor(unsigned view, bool viewOnly, HWND parent) {
  // Its test of the product runs the parametric dialog.
  UseApplicationAsProductDialogHost();
  CDefParamDlg dialog(view, viewOnly, CWnd::FromHandle(parent));
  return dialog.DoModal();
}
