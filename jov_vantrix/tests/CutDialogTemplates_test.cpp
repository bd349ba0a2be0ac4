// The section dialogs' templates and texts in the plug-in's resource file:
// every control a setting or a preset list is shown in exists, of the kind
// the setting needs, and every text the section command loads is there.
#include <gtest/gtest.h>

#include <string>

#include "jov_vantrix/section/CutSettings.h"
#include "jov_vantrix/tests/PluginResourcesTest.h"
#include "platform/mfc/CDialog.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/resources.h"

namespace {

using CutDialogTemplates = PluginResourcesTest;

}  // namespace

TEST_F(CutDialogTemplates, EverySettingHasItsControl) {
  for (CutDialog which : {CutDialog::Branch, CutDialog::Riser}) {
    const UINT id = which == CutDialog::Branch ? IDD_JOV_CUTDLG_NEW : IDD_JOV_CUTDLG;
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(id)) << id;
    const HWND d = dialog.m_hWnd;
    for (const CutSettingKey& k : CutSettingKeys(which)) {
      const bool typed = k.kind == CutValueKind::Number || k.kind == CutValueKind::Text ||
                         k.kind == CutValueKind::CutNumber;
      const bool radio = k.control == IDC_CUT_PIPE_SWITCH_ON;
      EXPECT_EQ(KindOf(d, k.control), typed ? "combo box" : radio ? "radio button" : "check box") << id << " " << k.key;
    }
    for (const CutPresetList& list : CutPresetLists(which))
      EXPECT_EQ(KindOf(d, list.control), "combo box") << id << " " << list.section;
    EXPECT_EQ(KindOf(d, IDC_CUT_PIPE_SWITCH_OFF), "radio button");
    EXPECT_EQ(KindOf(d, IDC_CUT_PREVIEW), "button");
    EXPECT_EQ(KindOf(d, IDC_CUT_HELP), "button");
    EXPECT_EQ(KindOf(d, IDC_CUT_RISER_MARKER), "Static");
    EXPECT_EQ(KindOf(d, IDC_CUT_DESC_FLOOR_LABEL), "Static");
    EXPECT_EQ(KindOf(d, IDOK), "button");
    EXPECT_EQ(KindOf(d, IDCANCEL), "button");
    dialog.DestroyWindow();
  }
  // The items the riser section enables with its pipes.
  CDialog riser;
  ASSERT_TRUE(riser.Create(IDD_JOV_CUTDLG));
  for (UINT item : {IDC_CUT_HEIGHT_LABEL, IDC_CUT_DIST_PIPE_LABEL, IDC_CUT_PIPE_FLOOR_LABEL})
    EXPECT_EQ(KindOf(riser.m_hWnd, item), "Static") << item;
  EXPECT_EQ(KindOf(riser.m_hWnd, IDC_CUT_PIPE_SWITCH_GROUP), "group box");
  riser.DestroyWindow();
}

TEST_F(CutDialogTemplates, TheSectionCommandsTextsAreThere) {
  for (UINT id : {IDS_PROMPT_PICK_SECTION_START, IDS_PROMPT_SELECT_SECTION, IDS_NO_SECTION_START,
                  IDS_PROMPT_SECTION_POINT, IDS_ASK_WITHOUT_SECTIONS, IDS_SECTION_NOT_DRAWN, IDS_NUMBER_MISSING,
                  IDS_ASK_SHORTEN_CONNECTIONS, IDS_PIPE_AT_START_POSITION, IDS_SECOND_BRANCH_START,
                  IDS_NOT_A_BRANCH_PIPE, IDS_PROMPT_PICK_PIPE}) {
    const std::string text = Text(id);
    EXPECT_GT(text.size(), 20u) << "string " << id;
    EXPECT_EQ(text.find('%'), std::string::npos) << "string " << id;  // shown through a format
  }
  EXPECT_EQ(Text(IDS_ASK_WITHOUT_SECTIONS).back(), '?') << "asked with Yes and No";
  for (UINT layer : {IDS_LAYER_FIRST_DESCRIPTION, IDS_LAYER_BUBBLES, IDS_LAYER_FLOOR_MARK, IDS_LAYER_BASE_LINE,
                     IDS_LAYER_RISER}) {
    const std::string name = Text(layer);
    EXPECT_FALSE(name.empty()) << layer;
    EXPECT_EQ(name.find_first_of(" <>/\\\":;?*|,=`"), std::string::npos) << "a layer name: " << name;
  }
}
