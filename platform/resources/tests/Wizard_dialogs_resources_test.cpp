// The wizard's resource file as built: the product dialogs', the parameter
// dialog's and the definition editor's templates with every control their
// code binds, of the kind it binds, and the texts and icons they load.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>

#include "platform/resources/tests/BuiltResourceFile.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

namespace {

HMODULE WizardTexts() { return LoadBuiltResourceFile("Wizard.qmr"); }

// Control id -> class name of a template.
std::map<int, std::string> Controls(HMODULE module, UINT id) {
  std::map<int, std::string> out;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
  if (!found) return out;
  DialogTemplate tmpl;
  std::string error;
  if (!ParseDialogTemplate(static_cast<const BYTE*>(LockResource(LoadResource(module, found))),
                           SizeofResource(module, found), &tmpl, &error))
    return out;
  for (const DialogTemplateItem& item : tmpl.items)
    out[item.id] = item.windowClass.kind == TemplateRef::Kind::Number ? PredefinedClassName(item.windowClass.number)
                                                                 : item.windowClass.name;
  return out;
}

// Each control of kinds is in the template, of that class; a missing one
// is fatal.
void ExpectControls(const std::map<int, std::string>& controls, UINT templateId,
                    const std::map<int, const char*>& kinds) {
  for (const auto& [id, kind] : kinds) {
    ASSERT_TRUE(controls.count(id)) << "template " << templateId << " lacks " << id;
    EXPECT_EQ(controls.at(id), kind) << id;
  }
}

}  // namespace

TEST(WizardDialogResources, TheTemplatesHoldEveryControlOfTheirDialogs) {
  HMODULE module = WizardTexts();
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  const std::map<int, std::string> pp = Controls(module, IDD_PP);
  const std::map<int, const char*> ppKinds = {
      {IDOK, "Button"}, {IDCANCEL, "Button"}, {IDC_PP_PREVIEW, "Button"}, {IDC_PP_PARAMS, "SysListView32"},
      {IDC_PP_HELP, "Button"}, {IDC_PP_REPORT, "Edit"}, {IDC_PP_SWITCH, "Button"}, {IDC_PP_BACK, "Button"},
      {IDC_PP_PANEL_BOTTOM, "Static"}, {IDC_PP_SWITCH_PRODUCT, "Button"}, {IDC_PP_SWITCH_CATALOGUE, "Button"},
      {IDC_PP_MIRROR, "Button"}, {IDC_PP_PANEL, "Button"}, {IDC_PP_CATALOGUE, "Button"},
      {IDC_PP_FLOOR, "ComboBox"}, {IDC_PP_ROOM, "ComboBox"}, {IDC_PP_ITEM, "ComboBox"}, {IDC_PP_MARKED, "ComboBox"}};
  ASSERT_NO_FATAL_FAILURE(ExpectControls(pp, IDD_PP, ppKinds));
  for (int id : {1077, 1079, 1080, 1081, 1082, 1083, 1084, 1085, 1086, 1087, 1088, 1089, 1090, 1091, 1092, 1093,
                 1094, 1095, 1097, 1102})
    EXPECT_EQ(pp.count(id) ? pp.at(id) : "none", "Static") << id;

  const std::map<int, std::string> param = Controls(module, IDD_PARAM);
  const std::map<int, const char*> paramKinds = {
      {IDOK, "Button"},         {IDCANCEL, "Button"},          {IDC_PARAM_VALUES, "ListBox"},
      {IDC_PARAM_NAME, "Edit"}, {IDC_PARAM_LABEL, "ComboBox"}, {IDC_PARAM_TYPE, "ComboBox"},
      {IDC_PARAM_DEFAULT, "Edit"}, {IDC_PARAM_VALUE, "Edit"},  {IDC_PARAM_ADD, "Button"},
      {IDC_PARAM_DELETE, "Button"}, {IDC_PARAM_UP, "Button"},  {IDC_PARAM_DOWN, "Button"},
      {IDC_PARAM_HELP, "Button"}};
  ASSERT_NO_FATAL_FAILURE(ExpectControls(param, IDD_PARAM, paramKinds));

  const std::map<int, std::string> producer = Controls(module, IDD_PP2);
  const std::map<int, const char*> producerKinds = {
      {IDOK, "Button"}, {IDCANCEL, "Button"}, {IDC_PP2_PREVIEW, "Button"}, {IDC_PP2_TYPE, "ComboBox"},
      {IDC_PP2_HELP, "Button"}, {IDC_PP2_INFO, "Edit"}, {IDC_PP2_PRODUCER, "ComboBox"},
      {IDC_PP2_TYPE_LABEL, "Static"}, {IDC_PP2_MEASUREMENT_LABEL, "Static"}, {IDC_PP2_MEASUREMENT, "ComboBox"},
      {IDC_PP2_DATE, "ComboBox"}, {IDC_PP2_PARAMETRIC, "Button"}, {IDC_PP2_GROUP1, "ComboBox"},
      {IDC_PP2_SWITCH, "Button"}, {IDC_PP2_GROUP1_LABEL, "Static"}, {IDC_PP2_GROUP2_LABEL, "Static"},
      {IDC_PP2_GROUP2, "ComboBox"}, {IDC_PP2_KEEP_PRODUCER, "Button"}, {IDC_PP2_PANEL_BOTTOM, "Static"},
      {IDC_PP2_SWITCH_PRODUCT, "Button"}, {IDC_PP2_SWITCH_CATALOGUE, "Button"}, {IDC_PP2_PANEL, "Button"},
      {IDC_PP2_CATALOGUE, "Button"}};
  ASSERT_NO_FATAL_FAILURE(ExpectControls(producer, IDD_PP2, producerKinds));

  const std::map<int, std::string> editor = Controls(module, IDD_DEF_PARAM);
  const std::map<int, const char*> editorKinds = {
      {IDOK, "Button"}, {IDCANCEL, "Button"}, {IDC_DEF_PREVIEW, "Button"}, {IDC_DEF_TRY, "Button"},
      {IDC_DEF_PARAMS, "SysListView32"}, {IDC_DEF_PARAMS_FRAME, "Static"}, {IDC_DEF_ADD, "Button"},
      {IDC_DEF_DELETE, "Button"}, {IDC_DEF_EDIT, "Button"}, {IDC_DEF_BASE_POINT, "Button"},
      {IDC_DEF_FORMULAS_FRAME, "Static"}, {IDC_DEF_HELP, "Button"}, {IDC_DEF_VIEW_A, "Button"},
      {IDC_DEF_VIEW_B, "Button"}, {IDC_DEF_VIEW_C, "Button"}, {IDC_DEF_VIEW_3D, "Button"},
      {IDC_DEF_POINTS, "SysListView32"}, {IDC_DEF_ZOOM_IN, "Button"}, {IDC_DEF_FORMULAS, "SysListView32"},
      {IDC_DEF_ZOOM_EXTENTS, "Button"}, {IDC_DEF_ZOOM_OUT, "Button"}, {IDC_DEF_STATUS, "Static"},
      {IDC_DEF_LINE_ENDS, "Button"}, {IDC_DEF_POINTS_FRAME, "Button"}};
  ASSERT_NO_FATAL_FAILURE(ExpectControls(editor, IDD_DEF_PARAM, editorKinds));
  for (UINT icon : {IDI_ZOOM_IN, IDI_ZOOM_EXTENTS, IDI_ZOOM_OUT})
    EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(icon)), nullptr) << "icon " << icon;
  FreeLibrary(module);
}

TEST(WizardDialogResources, TheDialogsTextsAreThereAndTheRangesTakeTwoNumbers) {
  HMODULE module = WizardTexts();
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[feEgG]");
  for (UINT id : {IDS_PARAM_NAME_TAKEN, IDS_PARAM_NAME_MISSING, IDS_PREVIEW_FAILED, IDS_NOT_ENOUGH_MEMORY,
                  IDS_NO_PARAMETER_TYPES, IDS_VALUE_COLUMN, IDS_VALUE_OUT_OF_RANGE, IDS_PRODUCT_SWITCH,
                  IDS_EDITOR_TEST_CLOSE, IDS_VALUE_OUT_OF_RANGE_M, IDS_VALUE_HAS_SEPARATOR, IDS_EVALUATION_ERROR,
                  IDS_EVALUATION_RESULT, IDS_MAKE_BASE_POINT, IDS_TIP_ZOOM_IN, IDS_TIP_ZOOM_OUT, IDS_TIP_ZOOM_EXTENTS,
                  IDS_NO_CHOICE_LABELS, IDS_MEASUREMENT_OUT_OF_RANGE, IDS_NO_GROUP}) {
    char text[1024] = "";
    ASSERT_GT(LoadStringA(module, id, text, sizeof text), 0) << "string " << id;
    const std::string s = text;
    const auto n = std::distance(std::sregex_iterator(s.begin(), s.end(), conversion), std::sregex_iterator());
    const bool range = id == IDS_VALUE_OUT_OF_RANGE || id == IDS_VALUE_OUT_OF_RANGE_M;
    // The evaluation result takes the one value.
    EXPECT_EQ(n, range ? 2 : id == IDS_EVALUATION_RESULT ? 1 : 0) << "string " << id << ": " << s;
    if (!range && id != IDS_EVALUATION_RESULT) {
      EXPECT_EQ(s.find('%'), std::string::npos) << "string " << id;
    }
    if (id == IDS_TIP_ZOOM_IN || id == IDS_TIP_ZOOM_OUT || id == IDS_TIP_ZOOM_EXTENTS) {
      EXPECT_LT(s.size(), 80u) << "a tip holds 80 characters";
    }
  }
  char product[64] = "";
  LoadStringA(module, IDS_PRODUCT_SWITCH, product, sizeof product);
  EXPECT_STRNE(product, "Voransicht") << "this edition's switch is a check box";
  FreeLibrary(module);
}
