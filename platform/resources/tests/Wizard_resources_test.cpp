// The wizard's resource file as built: the texts its controls load.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/resources/tests/BuiltResourceFile.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

TEST(WizardResources, TheParameterListsTitlesAreThere) {
  HMODULE module = LoadBuiltResourceFile("Wizard.qmr");
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  std::set<std::string> titles;
  for (UINT id : {IDS_PARAM_COLUMN_NAME, IDS_PARAM_COLUMN_LABEL, IDS_PARAM_COLUMN_TYPE, IDS_PARAM_COLUMN_DEFAULT}) {
    char text[256] = "";
    const int n = LoadStringA(module, id, text, sizeof text);
    EXPECT_GT(n, 0) << "string " << id;
    EXPECT_LT(n, 20) << "a column title: " << text;
    titles.insert(text);
  }
  EXPECT_EQ(titles.size(), 4u) << "four different titles";
  FreeLibrary(module);
}

namespace {

HMODULE LoadWizardResources() { return LoadBuiltResourceFile("Wizard.qmr"); }

std::string Text(HMODULE module, UINT id) {
  char text[1024] = "";
  const int n = LoadStringA(module, id, text, sizeof text);
  return std::string(text, static_cast<size_t>(n > 0 ? n : 0));
}

}  // namespace

TEST(WizardResources, TheMaskAndDimensionDialogsHaveEveryControlTheirCodeUses) {
  HMODULE module = LoadWizardResources();
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  struct Control {
    int id;
    const char* kind;
  };
  struct Dialog {
    UINT id;
    std::vector<Control> controls;
  };
  const Dialog dialogs[] = {
      {IDD_DIM, {{IDC_DIM_TEXT, "ComboBox"}, {IDC_DIM_UNIT, "ComboBox"}, {IDC_DIM_HIDE, "Button"},
                 {IDC_HELP_BUTTON, "Button"}, {IDOK, "Button"}, {IDCANCEL, "Button"}}},
      {IDD_MASK, {{IDC_MASK_LIST, "ListBox"}, {IDC_MASK_ADD, "Button"}, {IDC_MASK_DELETE, "Button"},
                  {IDC_MOVE_UP, "Button"}, {IDC_MOVE_DOWN, "Button"}, {IDC_MASK_EDIT, "Button"},
                  {IDC_MASK_DEFINITION, "Edit"}, {IDC_MASK_NAME, "Edit"}, {IDC_MASK_KIND, "Static"},
                  {IDC_HELP_BUTTON, "Button"}, {IDOK, "Button"}, {IDCANCEL, "Button"}}},
      {IDD_MASK_DEF, {{IDC_MASK_FIELDS, "SysListView32"}, {IDC_MASK_PARTS, "SysListView32"},
                      {IDC_MASK_PART_ADD, "Button"}, {IDC_MASK_PART_REMOVE, "Button"}, {IDC_MOVE_UP, "Button"},
                      {IDC_MOVE_DOWN, "Button"}, {IDC_MASK_STORED, "ComboBox"}, {IDC_MASK_SAVE, "Button"},
                      {IDC_HELP_BUTTON, "Button"}, {IDOK, "Button"}, {IDCANCEL, "Button"}}},
      {IDD_MASK_NAME, {{IDC_MASK_NAME_TEXT, "Edit"}, {IDC_MASK_NAME_LABEL, "Static"}, {IDOK, "Button"},
                       {IDCANCEL, "Button"}}},
  };
  for (const Dialog& d : dialogs) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(d.id), RT_DIALOG);
    ASSERT_NE(found, nullptr) << "template " << d.id;
    DialogTemplate tmpl;
    std::string error;
    ASSERT_TRUE(ParseDialogTemplate(static_cast<const BYTE*>(LockResource(LoadResource(module, found))),
                                    SizeofResource(module, found), &tmpl, &error))
        << error;
    for (const Control& c : d.controls) {
      auto item = std::find_if(tmpl.items.begin(), tmpl.items.end(), [&](const DialogTemplateItem& i) { return i.id == c.id; });
      ASSERT_NE(item, tmpl.items.end()) << "template " << d.id << " control " << c.id;
      const std::string cls = item->windowClass.kind == TemplateRef::Kind::Number
                                  ? PredefinedClassName(item->windowClass.number)
                                  : item->windowClass.name;
      EXPECT_EQ(cls, c.kind) << "template " << d.id << " control " << c.id;
      if (cls == "SysListView32") {
        EXPECT_EQ(item->style & (LVS_TYPEMASK | LVS_SINGLESEL), LVS_REPORT | LVS_SINGLESEL) << "control " << c.id;
      }
    }
  }
  FreeLibrary(module);
}

TEST(WizardResources, TheMaskTextsAreThereAndFitTheirUse) {
  HMODULE module = LoadWizardResources();
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  for (UINT id = IDS_NEW_MASK_NAME; id <= IDS_MASK_TOO_LONG; ++id) EXPECT_FALSE(Text(module, id).empty()) << id;
  for (UINT id : {IDS_PRESET_MASK_NAME, IDS_MASK_NAME_TAKEN, IDS_NO_ELEMENT_DATA}) EXPECT_FALSE(Text(module, id).empty());
  for (UINT id : {IDS_PRESET_MASK_NAME, IDS_NEW_MASK_NAME})
    EXPECT_EQ(Text(module, id).find(';'), std::string::npos) << "a mask name ends at ';': string " << id;
  for (UINT id : {IDS_FREE_TEXT_FORMAT, IDS_MASK_NAME_TAKEN}) {
    const std::string format = Text(module, id);
    const size_t at = format.find("%s");
    ASSERT_NE(at, std::string::npos) << "string " << id;
    EXPECT_EQ(format.find('%', at + 2), std::string::npos) << "one conversion: string " << id;
    EXPECT_EQ(format.find('%'), at) << "string " << id;
  }
  FreeLibrary(module);
}
