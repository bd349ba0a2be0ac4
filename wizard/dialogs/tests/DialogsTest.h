// The wizard dialogs' tests: the wizard's own resources current on a clean
// headless desktop, a profile folder of the test's own with its "Dat"
// folder, and a host that answers from it and keeps the dimension texts
// handed to it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/catalogue/tests/TempFolder.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/path_resolver.h"
#include "platform/win32/profile.h"
#include "platform/win32/resources.h"
#include "wizard/dialogs/DialogHost.h"

namespace dialogs_tests {

class TestDialogHost : public DialogHost {
 public:
  std::string ProfilePath(const char* relative) const override { return profile + relative; }
  std::string BasePath(const char* relative) const override { return "C:\\Wizard\\" + std::string(relative); }
  HICON Icon() const override { return nullptr; }
  void SetDimText(const char* text) override { dimTexts.emplace_back(text ? text : "(null)"); }

  std::string profile;  // ends in '\'
  std::vector<std::string> dimTexts;
};

class DialogsTest : public ModuleTest {
 protected:
  DialogsTest() : ModuleTest(JOV_WIZARD_RESOURCES, "WizardDialogs") {}
  void SetUp() override {
    ModuleTest::SetUp();
    std::filesystem::create_directory(folder_.File("Dat"));
    host.profile = folder_.Path() + "\\";
    previousHost_ = SetDialogHost(&host);
  }
  void TearDown() override {
    SetDialogHost(previousHost_);
    ModuleTest::TearDown();
  }

  std::string SetFile() const { return host.ProfilePath("Dat\\Jov_set.dat"); }
  std::string IniFile() const { return host.ProfilePath("Dat\\Jov.ini"); }
  static void Write(const std::string& file, const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, file.c_str());
  }
  // A value as a reader sees it; "(none)" when it is missing.
  static std::string Read(const std::string& file, const char* section, const char* key) {
    char value[2048];
    GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, file.c_str());
    return value;
  }
  // The keys of a section, "MASK0=a;b|MASK1=..." in file order.
  static std::string Section(const std::string& file, const char* section) {
    char keys[8192];
    GetPrivateProfileStringA(section, nullptr, "", keys, sizeof keys, file.c_str());
    std::string out;
    for (const char* k = keys; *k; k += std::strlen(k) + 1)
      out += (out.empty() ? "" : "|") + std::string(k) + "=" + Read(file, section, k);
    return out;
  }

  // A settings file's bytes.
  static std::string FileText(const std::string& file) {
    std::ifstream in(ResolvePath(file), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // The message boxes shown: "caption|text|type".
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const UiEvent& e : Events(UiEvent::Kind::MessageBox))
      out.push_back(e.box.caption + "|" + e.box.text + "|" + std::to_string(e.box.type));
    return out;
  }
  static std::string String(UINT id) {
    char text[1024] = "";
    LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
    return text;
  }

  TestDialogHost host;

 private:
  TempFolder folder_;
  DialogHost* previousHost_ = nullptr;
};

}  // namespace dialogs_tests
