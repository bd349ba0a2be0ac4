// The templates and texts of the project manager, its modify dialog and
// the export dialog in the plug-in's resource file: every control their
// code takes over is there and of its kind, and every text they load.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "jov_vantrix/tests/PluginResourcesTest.h"
#include "platform/mfc/CDialog.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

using VantrixDialogTemplates = PluginResourcesTest;

TEST_F(VantrixDialogTemplates, EveryControlIsThereAndOfItsKind) {
  using Controls = std::vector<std::pair<UINT, std::string>>;
  const std::vector<std::pair<UINT, Controls>> dialogs = {
      {IDD_JOV_MANAGER,
       {{IDOK, "button"}, {IDCANCEL, "button"}, {IDC_MANAGER_CURRENT, "Static"},
        {IDC_PROJECT_LIST, "SysListView32"}, {IDC_MANAGER_USE, "check box"}, {IDC_MANAGER_DELETE, "button"},
        {IDC_MANAGER_MODIFY, "button"}, {IDC_MANAGER_IMPORT, "button"}, {IDC_MANAGER_MAKE_CURRENT, "button"},
        {IDC_MANAGER_HELP, "button"}}},
      {IDD_JOV_MODIFY,
       {{IDOK, "button"}, {IDCANCEL, "button"}, {IDC_PROJECT_LIST, "SysListView32"},
        {IDC_MODIFY_TICK_ALL, "button"}, {IDC_MODIFY_CLEAR_ALL, "button"}}},
      {IDD_JOV_EXPORT,
       {{IDOK, "button"}, {IDCANCEL, "button"}, {IDC_EXPORT_HELP, "button"}, {IDC_EXPORT_FIRST_NUMBER, "combo box"},
        {IDC_EXPORT_FILE, "combo box"}, {IDC_EXPORT_BROWSE, "button"}, {IDC_EXPORT_DESCRIPTIONS, "check box"},
        {IDC_EXPORT_NUMBER_ALL, "button"}, {IDC_EXPORT_UNDO, "button"}, {IDC_EXPORT_PREVIEW, "button"}}},
  };
  for (const auto& [id, controls] : dialogs) {
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(id)) << id;
    for (const auto& [control, kind] : controls) EXPECT_EQ(KindOf(dialog.m_hWnd, control), kind) << id << " " << control;
    dialog.DestroyWindow();
  }
}

TEST_F(VantrixDialogTemplates, TheTextsTheyLoad) {
  for (UINT id : {IDS_EXPORT_NOT_BUILT, IDS_EXPORT_FILE_MISSING, IDS_PROMPT_SELECT_EXPORT}) {
    EXPECT_GT(Text(id).size(), 20u) << id;
    EXPECT_EQ(Text(id).find('%'), std::string::npos) << id;
  }
  // Shown through a format with the name.
  for (UINT id : {IDS_PROJECT_ALREADY_REGISTERED, IDS_EXPORT_FILE_NOT_CREATED, IDS_RESULT_FILE_MALFORMED,
                  IDS_EXPORT_TEXT_SEPARATOR, IDS_FIRST_NUMBER_TOO_LARGE, IDS_PROJECT_LIST_DAMAGED,
                  IDS_SETTINGS_NOT_WRITTEN, IDS_SETTINGS_NOT_KEPT, IDS_CAD_TEXT_ENDS_EARLY,
                  IDS_SECTION_NUMBER_UNUSABLE}) {
    const std::string text = Text(id);
    EXPECT_NE(text.find("%s"), std::string::npos) << id;
    EXPECT_EQ(text.find('%'), text.rfind('%')) << id;
  }
  for (UINT id : {IDS_FILTER_CAD_FILES, IDS_FILTER_EXPORT_FILES}) {
    const std::string filter = Text(id);
    ASSERT_GE(filter.size(), 2u) << id;
    EXPECT_EQ(filter.substr(filter.size() - 2), "||") << filter;
    EXPECT_NE(filter.find("*.*"), std::string::npos) << filter;
  }
  EXPECT_NE(Text(IDS_FILTER_CAD_FILES).find("*.cad"), std::string::npos);
  const std::string layer = Text(IDS_LAYER_SEGMENT_NUMBERS);
  EXPECT_FALSE(layer.empty());
  EXPECT_EQ(layer.find_first_of(" <>/\\\":;?*|,=`"), std::string::npos) << "a layer name: " << layer;
}
