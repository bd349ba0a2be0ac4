// The parameter dialog of the definition editor driven as a user would:
// the default type, the name's check, the allowed values, OK filling the
// parameter from the chosen type, edit mode, and its failures and help.
#include "platform/mfc/tests/control_texts.h"
#include "wizard/dialogs/CParamDlg.h"

#include "platform/resources/wizard/resource_ids.h"
#include "wizard/dialogs/tests/DialogTest.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"

using namespace dialog_tests;

namespace {

// Types in id order, the first with status bit 4 third.
const char* const kTypes =
    "[catalogue]\ntrade = T\ntitle = Heating\n[names]\nMODI | 0 | 1 | Topeni | | 0\n"
    "PARS | 0 | 20 | Length | | 0\nPARS | 1 | 21 | Height | | 0\nPROP | 0 | 10 | _FLOW | | 0\n"
    "[partypes]\n1 | Text | 4 | 0 | 0 | 0\n2 | Count | 32 | 1 | 10 | 0\n3 | Length | 16 | 100 | 6000 | 0\n"
    "4 | Size | 0 | 6 | 100 | 0\n"
    "[item]\nid = TXP0001-0001\ntitle = Test\ntype = 1\nstatus = 0x08000000\nparams <<\nL|Length|3|1000|1000|\n>>\n";

enum TypeRow { kText, kCount, kLength, kSize };

class ParameterDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    Catalogue(kTypes, 'T', "TXP0001-0001");
    existing = new CValueParam;
    existing->SetText(ParamText::kName, "L");
    params.AddTail(existing);
  }
  INT_PTR Run(CParamDlg& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_PARAM, std::move(actions));
    return dialog.DoModal();
  }
  static std::string Text(const CWnd& control) {
    CString text;
    control.GetWindowText(text);
    return static_cast<const char*>(text);
  }
  static std::string Slot(const CValueParam& p, int slot) { return p.GetText(slot) ? p.GetText(slot) : "<none>"; }
  // Enabled: Delete, Up, Down.
  static std::string Buttons(CParamDlg& d) {
    return std::string(d.deleteButton.IsWindowEnabled() ? "D" : "-") + (d.upButton.IsWindowEnabled() ? "U" : "-") +
           (d.downButton.IsWindowEnabled() ? "W" : "-");
  }

  CObjectSez params;
  CValueParam* existing = nullptr;
  CValueParam param;
};

}  // namespace

TEST_F(ParameterDialog, ANewParameterTakesItsTypesLimitsAndItsValues) {
  CParamDlg dialog(false, &param, &params);
  const INT_PTR result = Run(
      dialog,
      {DialogAction::Run([&](HWND) {
         EXPECT_EQ(dialog.typeIndex, kLength) << "the first type with status bit 4";
         EXPECT_EQ(dialog.labelCombo.GetCount(), 3) << "the parameter names, then the property names";
         EXPECT_EQ(Buttons(dialog), "---");
       }),
       DialogAction::Type(IDC_PARAM_NAME, "HXY"), DialogAction::Run([&](HWND) { EXPECT_EQ(Text(dialog.nameEdit), "HX"); }),
       DialogAction::Set(IDC_PARAM_NAME, "H"), DialogAction::Choose(IDC_PARAM_LABEL, "Height"),
       DialogAction::Set(IDC_PARAM_DEFAULT, "600"),
       // Added with Enter or the button; a value twice, out of the type's
       // limits, not a number, or splitting the stored texts is not.
       DialogAction::Set(IDC_PARAM_VALUE, "300"), DialogAction::Key(IDC_PARAM_VALUE, "Enter"),
       DialogAction::Set(IDC_PARAM_VALUE, "600"), DialogAction::Click(IDC_PARAM_ADD),
       DialogAction::Set(IDC_PARAM_VALUE, "600"), DialogAction::Click(IDC_PARAM_ADD),
       DialogAction::Set(IDC_PARAM_VALUE, "900,5"), DialogAction::Click(IDC_PARAM_ADD),
       DialogAction::Set(IDC_PARAM_VALUE, "9000"), DialogAction::Click(IDC_PARAM_ADD),
       DialogAction::Set(IDC_PARAM_VALUE, "abc"), DialogAction::Click(IDC_PARAM_ADD),
       DialogAction::Set(IDC_PARAM_VALUE, "1|2"), DialogAction::Click(IDC_PARAM_ADD), DialogAction::Run([&](HWND) {
         EXPECT_EQ(ItemTexts(dialog.values), (std::vector<std::string>{"300", "600", "900.5"}));
         const std::vector<std::string> texts = MessageTexts();
         ASSERT_EQ(texts.size(), 3u);
         EXPECT_NE(texts[0].find("from 100.00 to 6000.00"), std::string::npos) << texts[0];
         EXPECT_EQ(texts[1], texts[0]);
         EXPECT_NE(texts[2].find("| ; ="), std::string::npos) << texts[2];
         EXPECT_EQ(::GetFocus(), dialog.valueEdit.m_hWnd);
         EXPECT_EQ(Buttons(dialog), "--W") << "none selected after an add";
       }),
       DialogAction::Choose(IDC_PARAM_VALUES, 0), DialogAction::Run([&](HWND) { EXPECT_EQ(Buttons(dialog), "D-W"); }),
       DialogAction::Click(IDC_PARAM_DOWN), DialogAction::Run([&](HWND) {
         EXPECT_EQ(ItemTexts(dialog.values), (std::vector<std::string>{"600", "300", "900.5"}));
         EXPECT_EQ(dialog.values.GetCurSel(), 1);
         EXPECT_EQ(Buttons(dialog), "DUW");
       }),
       DialogAction::Click(IDC_PARAM_DOWN), DialogAction::Run([&](HWND) { EXPECT_EQ(Buttons(dialog), "DU-"); }),
       DialogAction::Click(IDC_PARAM_DELETE), DialogAction::Run([&](HWND) {
         EXPECT_EQ(ItemTexts(dialog.values), (std::vector<std::string>{"600", "900.5"}));
         EXPECT_EQ(dialog.values.GetCurSel(), 1) << "the one before the deleted last";
       }),
       DialogAction::Click(IDC_PARAM_UP), DialogAction::Ok()});
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(Slot(param, ParamText::kName), "H");
  EXPECT_EQ(Slot(param, ParamText::kDefault), "600");
  EXPECT_EQ(Slot(param, ParamText::kAllowed), "900.5|600");
  EXPECT_EQ(Slot(param, ParamText::kLabel), "Height");
  EXPECT_EQ(Slot(param, ParamText::kTypeTitle), "Length");
  EXPECT_EQ(param.typeId, 3u);
  EXPECT_EQ(param.status, 16u);
  EXPECT_EQ(param.lowLimit, 100);
  EXPECT_EQ(param.highLimit, 6000);
}

TEST_F(ParameterDialog, ATakenNameIsRefusedUnlessLeftForCancelOrHelp) {
  CParamDlg dialog(false, &param, &params);
  EXPECT_EQ(Run(dialog, {DialogAction::Set(IDC_PARAM_NAME, "L"), DialogAction::Click(IDC_PARAM_DEFAULT),
                         DialogAction::Run([&](HWND) {
                           EXPECT_EQ(MessageTexts().size(), 1u);
                           EXPECT_EQ(::GetFocus(), dialog.nameEdit.m_hWnd) << "back to the name";
                         }),
                         // Left for help: no word; OK checks again and stays.
                         DialogAction::Click(IDC_PARAM_HELP), DialogAction::Run([&](HWND) {
                           EXPECT_EQ(MessageTexts().size(), 1u);
                         }),
                         DialogAction::Ok(), DialogAction::Run([&](HWND d) {
                           EXPECT_TRUE(::IsWindowVisible(d));
                           EXPECT_EQ(MessageTexts().size(), 2u);
                           EXPECT_NE(MessageTexts()[1].find("already has a parameter"), std::string::npos);
                         }),
                         DialogAction::Set(IDC_PARAM_NAME, ""), DialogAction::Ok(), DialogAction::Run([&](HWND) {
                           ASSERT_EQ(MessageTexts().size(), 3u);
                           EXPECT_NE(MessageTexts()[2].find("has no name"), std::string::npos);
                         }),
                         DialogAction::Set(IDC_PARAM_NAME, "L"), DialogAction::Click(IDCANCEL)}),
            IDCANCEL);
  EXPECT_EQ(MessageTexts().size(), 3u) << "leaving the name for Cancel says nothing";
  EXPECT_EQ(param.GetText(ParamText::kName), nullptr) << "nothing stored";

  // Editing L itself: its own name is no duplicate.
  ClearUiJournal();
  existing->SetText(ParamText::kDefault, "1000");
  existing->typeId = 3;
  CParamDlg edit(true, existing, &params);
  EXPECT_EQ(Run(edit, {DialogAction::Click(IDC_PARAM_DEFAULT), DialogAction::Ok()}), IDOK);
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(ParameterDialog, EditModeShowsTheStoredTextsAndKeepsTheDefaultTypeForAnUnknownOne) {
  struct Case {
    uint32_t typeId;
    int shownType;
    const char* valid;  // a default the shown type takes
  };
  for (const Case& c : {Case{2, kCount, "5"}, Case{99, kLength, "500"}}) {
    SCOPED_TRACE(c.typeId);
    CValueParam p;
    p.SetText(ParamText::kName, "H");
    p.SetText(ParamText::kDefault, "600");
    p.SetText(ParamText::kAllowed, "300|600");
    p.SetText(ParamText::kLabel, "Height");
    p.typeId = c.typeId;
    p.status = 16;
    // The last product dialog showed metres; the stored values are shown.
    SetLengthDisplayMode(1);
    CParamDlg dialog(true, &p, &params);
    Run(dialog, {DialogAction::Run([&](HWND) {
                   EXPECT_EQ(Text(dialog.nameEdit), "H");
                   EXPECT_EQ(Text(dialog.defaultEdit), "600");
                   EXPECT_EQ(Text(dialog.labelCombo), "Height");
                   EXPECT_EQ(dialog.typeIndex, c.shownType);
                   EXPECT_EQ(ItemTexts(dialog.values), (std::vector<std::string>{"300", "600"}));
                 }),
                 DialogAction::Set(IDC_PARAM_DEFAULT, c.valid), DialogAction::Ok()});
    SetLengthDisplayMode(1000);
    EXPECT_EQ(p.typeId, c.typeId == 2 ? 2u : 3u) << "a type of the list, never the data of no row";
    EXPECT_EQ(Slot(p, ParamText::kAllowed), "300|600");
  }
}

TEST_F(ParameterDialog, TheDefaultIsTestedAsTheChosenTypeTakesIt) {
  struct Case {
    TypeRow type;
    const char* value;
    bool taken;
    const char* label = "Height";
  };
  const Case cases[] = {
      {kText, "VK 22", true},  {kSize, "20", true},    {kSize, "2,5e1", true}, {kSize, "500", false},
      {kSize, "abc", false},   {kSize, "", false},     {kText, "a;b", false},
      // The default of a computed or formula type is a formula, tested as
      // the number it begins with.
      {kCount, "5", true},     {kCount, "2*N", true},  {kCount, "N*2", false}, {kLength, "1500", true},
      {kLength, "V-50", false},
      // The label joins the parameter's stored line as the values do.
      {kText, "1", true, "\x8A\xED\xF8ka"}, {kText, "1", false, "\x8A\xED\xF8ka|x"}, {kText, "1", false, "a;b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " as type " + std::to_string(c.type) + " labelled " + c.label);
    ClearUiJournal();
    CValueParam p;
    CParamDlg dialog(false, &p, &params);
    const INT_PTR result = Run(dialog, {DialogAction::Set(IDC_PARAM_NAME, "X"), DialogAction::Choose(IDC_PARAM_TYPE, c.type),
                                        DialogAction::Set(IDC_PARAM_DEFAULT, c.value),
                                        DialogAction::Set(IDC_PARAM_LABEL, c.label), DialogAction::Ok(),
                                        DialogAction::Cancel()});
    EXPECT_EQ(result, c.taken ? IDOK : IDCANCEL);
    EXPECT_EQ(MessageTexts().size(), c.taken ? 0u : 1u) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    EXPECT_EQ(Slot(p, ParamText::kAllowed), c.taken ? "" : "<none>") << "no values: an empty text";
    if (c.taken) {
      EXPECT_EQ(Slot(p, ParamText::kDefault), std::string(c.value) == "2,5e1" ? "2.5e1" : c.value)
          << "a number as the engine reads it back";
      EXPECT_EQ(Slot(p, ParamText::kLabel), c.label);
    }
  }
}

TEST_F(ParameterDialog, TheValueAndDefaultBoxesTakeWhatAPlacedProductKeeps) {
  CValueParam p;
  CParamDlg dialog(false, &p, &params);
  const INT_PTR result = Run(dialog, {DialogAction::Set(IDC_PARAM_NAME, "X"), DialogAction::Choose(IDC_PARAM_TYPE, kText),
                                      DialogAction::Set(IDC_PARAM_DEFAULT, std::string(300, 'd')),
                                      DialogAction::Type(IDC_PARAM_VALUE, std::string(300, 'v')),
                                      DialogAction::Click(IDC_PARAM_ADD), DialogAction::Ok()});
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(Slot(p, ParamText::kDefault), std::string(255, 'd'));
  EXPECT_EQ(Slot(p, ParamText::kAllowed), std::string(255, 'v'));
}

TEST_F(ParameterDialog, WithoutAParameterOrTypesTheDialogEndsAtOnce) {
  CParamDlg noParam(false, nullptr, &params);
  EXPECT_EQ(Run(noParam, {}), -1);
  ASSERT_EQ(MessageTexts().size(), 1u);

  ClearUiJournal();
  Catalogue("[catalogue]\ntrade = Z\ntitle = Sanitary\n[names]\nMODI | 0 | 1 | Zdravo | | 0\n"
            "[item]\nid = ZXP0001-0001\ntitle = Test\ntype = 1\nstatus = 0\n",
            'Z', "ZXP0001-0001");
  CParamDlg noTypes(false, &param, &params);
  EXPECT_EQ(Run(noTypes, {}), -1);
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("no parameter types"), std::string::npos);
}

TEST_F(ParameterDialog, HelpByTheControlUnderF1) {
  CParamDlg dialog(false, &param, &params);
  Run(dialog, {DialogAction::Key(IDC_PARAM_NAME, "F1"), DialogAction::Key(IDC_PARAM_VALUES, "F1"),
               DialogAction::Click(IDC_PARAM_HELP), DialogAction::Cancel()});
  const std::vector<UiEvent> help = Events(UiEvent::Kind::Help);
  ASSERT_EQ(help.size(), 3u);
  EXPECT_TRUE(help[0].help.winHelp) << "no KX.CHM beside the library: its older form";
  EXPECT_NE(help[0].help.file.find("KX.HLP"), std::string::npos);
  EXPECT_EQ(help[0].help.data, 278u);
  EXPECT_EQ(help[1].help.data, 282u);
  EXPECT_NE(help[2].help.file.find("JOV2D.CHM::/zdroje\\kx-prace-pridani_prvku-makro.htm"), std::string::npos);
}
