// A clean headless desktop with the plug-in's own resource file as the
// current resources, for tests of its dialogs and controls.
#pragma once

#include <string>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"
#include "platform/win32/tests/headless_fixture.h"

class PluginResourcesTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    resources_ = LoadLibraryA((std::string(JOV_TEST_MODULE_DIR) + "/Jov_Vantrix.qmr").c_str());
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    previous_ = AfxSetModuleState(&state_);
  }
  void TearDown() override {
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(resources_);
  }

  // A dialog control's class and, for a button, its button type.
  static std::string KindOf(HWND dialog, UINT id) {
    HWND control = ::GetDlgItem(dialog, static_cast<int>(id));
    if (!control) return "missing";
    char name[32] = "";
    ::GetClassNameA(control, name, sizeof name);
    std::string kind = name;
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE));
    if (kind == "Button") {
      switch (style & BS_TYPEMASK) {
        case BS_AUTOCHECKBOX: return "check box";
        case BS_AUTORADIOBUTTON: return "radio button";
        case BS_GROUPBOX: return "group box";
        default: return "button";
      }
    }
    if (kind == "ComboBox") return (style & 3) == CBS_DROPDOWN ? "combo box" : "other combo box";
    return kind;
  }

  // A string of the resource file.
  std::string Text(UINT id) {
    char text[1024] = "";
    const int n = LoadStringA(resources_, id, text, sizeof text);
    return std::string(text, static_cast<size_t>(n));
  }

  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
};
