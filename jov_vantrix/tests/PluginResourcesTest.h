// A clean headless desktop with the plug-in's own resource file as the
// current resources, for tests of its dialogs and controls.
#pragma once

#include <string>

#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/resources.h"

class PluginResourcesTest : public ModuleResourcesTest {
 protected:
  PluginResourcesTest() : ModuleResourcesTest(std::string(JOV_TEST_MODULE_DIR) + "/Jov_Vantrix.qmr") {}

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
};
