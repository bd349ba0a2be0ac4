// Every dialog of the library in each of its modes, opened as a user opens
// it: no control that can be reached (enabled) or seen lies outside the
// dialog's client area, and no two visible controls overlap (a group box
// holds the controls inside it).
#include <strings.h>

#include <string>
#include <vector>

#include "platform/resources/wizard/resource_ids.h"
#include "wizard/dialogs/CDefParamDlg.h"
#include "wizard/dialogs/CDimDlg.h"
#include "wizard/dialogs/CMaskDefDlg.h"
#include "wizard/dialogs/CMaskDlg.h"
#include "wizard/dialogs/CMaskNameDlg.h"
#include "wizard/dialogs/CPP2Dlg.h"
#include "wizard/dialogs/CPPDlg.h"
#include "wizard/dialogs/CParamDlg.h"
#include "wizard/dialogs/tests/DialogTest.h"
#include "wizard/dialogs/tests/TestCatalogue.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"

using namespace dialog_tests;

namespace {

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool Holds(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

// What is wrong with the layout of an open dialog: "ID outside", "ID over ID".
std::vector<std::string> LayoutFaults(HWND dialog) {
  std::vector<HWND> shown;
  std::vector<std::string> faults;
  RECT client{};
  ::GetClientRect(dialog, &client);
  auto rectOf = [dialog](HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  auto groupBox = [](HWND control) {
    char kind[32] = "";
    ::GetClassNameA(control, kind, sizeof kind);
    return strcasecmp(kind, "Button") == 0 && (::GetWindowLongA(control, GWL_STYLE) & 0xF) == BS_GROUPBOX;
  };
  for (HWND a = ::GetWindow(dialog, GW_CHILD); a; a = ::GetWindow(a, GW_HWNDNEXT)) {
    const bool visible = ::IsWindowVisible(a) != FALSE;
    if ((visible || ::IsWindowEnabled(a)) && !Holds(client, rectOf(a)))
      faults.push_back(std::to_string(::GetDlgCtrlID(a)) + " outside");
    if (!visible) continue;
    for (HWND b : shown) {
      const RECT ra = rectOf(a), rb = rectOf(b);
      if (Overlap(ra, rb) && !(groupBox(a) && Holds(ra, rb)) && !(groupBox(b) && Holds(rb, ra)))
        faults.push_back(std::to_string(::GetDlgCtrlID(b)) + " over " + std::to_string(::GetDlgCtrlID(a)));
    }
    shown.push_back(a);
  }
  return faults;
}

class WizardDialogLayout : public DialogTest {
 protected:
  // Runs the dialog of the template, noting the faults of its layout under
  // the name, then cancels it.
  void Look(CDialog& dialog, UINT templateId, const std::string& name) {
    driver.OnDialog(templateId, {DialogAction::Run([this, name](HWND d) {
                                   for (const std::string& fault : LayoutFaults(d)) faults.push_back(name + ": " + fault);
                                   ++looked;
                                 }),
                                 DialogAction::Cancel()});
    dialog.DoModal();
  }
  void TearDown() override {
    EXPECT_EQ(faults, std::vector<std::string>{});
    EXPECT_EQ(driver.PendingDialogs(), 0u) << "every dialog opened";
    DialogTest::TearDown();
  }

  std::vector<std::string> faults;
  int looked = 0;
};

}  // namespace

TEST_F(WizardDialogLayout, MasksNamesAndDimensions) {
  Settings("[DESC]\r\nMASK_TOP=&CM\r\n");
  for (const char kind : {'T', 'W'}) {
    CMaskDlg masks(static_cast<unsigned>(kind), nullptr);
    Look(masks, IDD_MASK, std::string("mask list ") + kind);
  }
  for (unsigned mode : {0u, 1u, 2u}) {
    CMaskDefDlg editor('T', "&CM-x", mode, nullptr);
    Look(editor, IDD_MASK_DEF, "mask editor mode " + std::to_string(mode));
  }
  for (unsigned mode : {0u, 1u}) {
    CMaskNameDlg name(nullptr, mode);
    Look(name, IDD_MASK_NAME, "name mode " + std::to_string(mode));
  }
  for (const char kind : {'T', 'E'}) {
    CDimDlg dimension(kind, nullptr);
    Look(dimension, IDD_DIM, std::string("dimension ") + kind);
  }
  EXPECT_EQ(looked, 9);
}

TEST_F(WizardDialogLayout, ProductsInEachPanelModeAndTheParameterDialog) {
  jovDatabase::Database* db = Catalogue(TestCatalogue(), 'T', "TXP0001-0001");
  Settings("[VANTRIX]\r\nVANTRIX_USE=1\r\n");
  struct Case {
    const char* item;
    bool vantrix, installed, radio;
  };
  const Case cases[] = {{"TXP0001-0001", false, false, false}, {"TXR0001-0001", false, true, false},
                        {"TXR0001-0001", false, false, false}, {"TXR0001-0001", true, true, false},
                        {"TXR0001-0001", true, false, true}};
  for (const Case& c : cases) {
    ASSERT_EQ(db->GoIndexID(c.item), jovDatabase::eOK);
    Host().korpalinPath = c.installed ? JOV_TEST_MODULE_DIR "/Korpalin_stl_x64.dll" : "";
    RadioEdition edition(c.radio);
    CPPDlg dialog(1, nullptr, false, true);
    dialog.SetConnection(0, 0, nullptr, c.vantrix);
    Look(dialog, IDD_PP, std::string(c.item) + (c.vantrix ? " project" : "") + (c.installed ? " catalogue" : "") +
                             (c.radio ? " radio" : ""));
  }
  CObjectSez params;
  CValueParam param;
  CParamDlg parameter(false, &param, &params);
  Look(parameter, IDD_PARAM, "parameter");
  EXPECT_EQ(looked, 6);
}

TEST_F(WizardDialogLayout, TheProducerDialog) {
  Catalogue(ProducerCatalogue(), 'T', "TXR0600-0001");
  CPP2Dlg dialog(1, 0x4A000000, nullptr, "branch", nullptr, nullptr, nullptr);
  dialog.SetConnection(1, 0, nullptr, false);
  Look(dialog, IDD_PP2, "producer");
  EXPECT_EQ(looked, 1);
}

TEST_F(WizardDialogLayout, TheDefinitionEditorInBothModes) {
  Catalogue(DefinitionCatalogue(), 'T', "TXD0001-0001");
  for (bool viewOnly : {false, true}) {
    CDefParamDlg dialog(1, viewOnly, nullptr);
    Look(dialog, IDD_DEF_PARAM, viewOnly ? "definition view only" : "definition");
  }
  EXPECT_EQ(looked, 2);
}
