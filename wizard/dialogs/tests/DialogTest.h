// What the product dialogs' tests share: a test catalogue made current, a
// profile and a registry of their own (with the scene library's resources),
// the wizard's resources current, the application object as the dialogs'
// host behind a host that can stand in for the outside library and a
// failing build, and a driver for the dialogs.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "objectgl/tests/SharedGlr.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/help.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/profile.h"
#include "platform/win32/registry.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/ProductDialogs.h"
#include "wizard/frame/tests/WizardTestSupport.h"

namespace dialog_tests {

// The application's host, with the radiator catalogue's path and the
// product data's build under the test's control.
class TestHost : public ProductDialogHost {
 public:
  explicit TestHost(ProductDialogHost& app) : app_(app) {}
  std::string RegistryRoot() const override { return app_.RegistryRoot(); }
  int TradeLetter() const override { return app_.TradeLetter(); }
  resbuf*& ResultChain(int which) override { return app_.ResultChain(which); }
  void GetProducerData(const char* out[kProducerTexts]) const override { app_.GetProducerData(out); }
  void SetProducerData(const char* const texts[kProducerTexts]) override { app_.SetProducerData(texts); }
  void KeepChoices(const int indices[kChoices]) override { app_.KeepChoices(indices); }
  void KeptChoices(int out[kChoices]) const override { app_.KeptChoices(out); }
  const char* PP2Date() const override { return app_.PP2Date(); }
  const char* Slope() const override { return app_.Slope(); }
  int Mirror() const override { return app_.Mirror(); }
  void SetMirror(int mirror) override { app_.SetMirror(mirror); }
  bool PointText(const char* points, unsigned index, unsigned group, char* out, unsigned size) const override {
    return app_.PointText(points, index, group, out, size);
  }
  bool ProductPointName(unsigned view, unsigned number, char* out, unsigned size) const override {
    return app_.ProductPointName(view, number, out, size);
  }
  void ApplyConnectionLevel(unsigned view, unsigned index, const char* points, unsigned own,
                            CObjectSez* params) override {
    app_.ApplyConnectionLevel(view, index, points, own, params);
  }
  bool ProductDxf(unsigned view, jovDatabase::resultResbuf& out) override { return app_.ProductDxf(view, out); }
  bool BuildProductXData(HWND owner, unsigned view, CObjectSez* params, unsigned char* flags, unsigned count,
                         const char* code, const char* slope, const char* branch) override {
    if (failingBuilds > 0) {
      // A build that fails half-way: its first node stays.
      --failingBuilds;
      CreateGroupCodeNode(&ResultChain(2), 1001, "JOV_DATA");
      return false;
    }
    return app_.BuildProductXData(owner, view, params, flags, count, code, slope, branch);
  }
  bool FindKorpalinLibrary(char* out, unsigned size) const override {
    if (korpalinPath.empty() || korpalinPath.size() >= size) return false;
    std::copy(korpalinPath.c_str(), korpalinPath.c_str() + korpalinPath.size() + 1, out);
    return true;
  }

  int failingBuilds = 0;
  std::string korpalinPath;  // empty: not installed

 private:
  ProductDialogHost& app_;
};

// The edition whose product switch is two radio buttons: its resources
// are the current ones while the object lives (nothing when off).
class RadioEdition {
 public:
  explicit RadioEdition(bool on) : wizard_(AfxGetResourceHandle()) {
    if (!on) return;
    module_ = LoadLibraryA(JOV_RADIO_RESOURCES);
    EXPECT_NE(module_, nullptr) << LastLoadErrorText();
    if (module_) AfxSetResourceHandle(module_);
  }
  ~RadioEdition() {
    if (!module_) return;
    AfxSetResourceHandle(wizard_);
    FreeLibrary(module_);
  }
  RadioEdition(const RadioEdition&) = delete;
  RadioEdition& operator=(const RadioEdition&) = delete;

 private:
  HINSTANCE wizard_;
  HMODULE module_ = nullptr;
};

class DialogTest : public WizardCatalogueTest {
 protected:
  void SetUp() override {
    WizardCatalogueTest::SetUp();
    // The product preview's palette and texts.
    gltest::InstallSharedGlr(folder.Path());
    previousDriver_ = SetUiDriver(&driver);
    ASSERT_TRUE(EnsureWizardResources());
    UseApplicationAsProductDialogHost();
    host_ = std::make_unique<TestHost>(TheProductDialogHost());
    SetProductDialogHost(host_.get());
  }
  void TearDown() override {
    SetProductDialogHost(nullptr);
    SetUiDriver(previousDriver_);
    WizardCatalogueTest::TearDown();
  }

  TestHost& Host() { return *host_; }
  std::string Profile(const std::string& relative) const { return folder.Path() + "/" + relative; }
  // Section "VANTRIX" and others of the profile's "Dat\Jov.ini".
  void Settings(const std::string& text) const {
    std::ofstream(Profile("Dat/Jov.ini"), std::ios::binary) << text;
  }
  std::string Setting(const char* section, const char* key) const {
    char value[256] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, MakeProfilePath("Dat\\Jov.ini").c_str());
    return value;
  }
  // The texts of chain 2's 1000 nodes from its first node of name on.
  static std::vector<std::string> XDataTexts(const char* application) {
    std::vector<std::string> texts;
    const resbuf* node = FindXDataByAppName(TheWizardApp().ResultChain2(), application);
    for (node = node ? node->next : nullptr; node && node->code != 1001; node = node->next)
      texts.push_back(node->code == 1000 && node->value.text ? node->value.text : "#" + std::to_string(node->value.i16));
    return texts;
  }
  static int CountOf(const char* application) {
    int n = 0;
    for (const resbuf* node = TheWizardApp().ResultChain2(); node; node = node->next)
      if (node->code == 1001 && std::string(node->value.text) == application) ++n;
    return n;
  }
  std::vector<UiEvent> Events(UiEvent::Kind kind) const {
    std::vector<UiEvent> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  std::vector<std::string> FailedActions() const {
    std::vector<std::string> out;
    for (const UiEvent& e : Events(UiEvent::Kind::DialogAction))
      if (e.failed) out.push_back(e.detail);
    return out;
  }

  ScopedRegistry registry;
  HeadlessDriver driver;

 private:
  UiDriver* previousDriver_ = nullptr;
  std::unique_ptr<TestHost> host_;
};

}  // namespace dialog_tests
