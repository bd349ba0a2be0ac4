// The parametric product dialog driven as a user would, over the test
// catalogue: values tested, shown and stored by the length mode, the
// connection prefill, the switch, mirror, back and the definition editor's
// test, OK building the chains and the product placed without a dialog.
#include "wizard/dialogs/CPPDlg.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/SettingsWrite.h"
#include "objectgl/GLScene.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/module_loader.h"
#include "wizard/dialogs/ProductPreview.h"
#include "wizard/dialogs/tests/DialogTest.h"
#include "wizard/dialogs/tests/TestCatalogue.h"
#include "wizard/frame/engine/CListItemData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/RecordLookups.h"

using namespace dialog_tests;

namespace {

class ParametricDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    db = Catalogue(TestCatalogue(), 'T', "TXP0001-0001");
  }
  // A dialog on product id in length mode `mode`, run with the actions.
  INT_PTR Run(CPPDlg& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_PP, std::move(actions));
    return dialog.DoModal();
  }
  INT_PTR Open(const char* id, unsigned mode, std::vector<DialogAction> actions, bool back = false) {
    EXPECT_EQ(db->GoIndexID(id), jovDatabase::eOK);
    CPPDlg dialog(1, nullptr, false, back);
    dialog.SetLengthUnit(mode);
    dialog.SetInitialRecalc(true);
    return Run(dialog, std::move(actions));
  }
  static std::string Cell(CPPDlg& d, int row) { return static_cast<const char*>(d.list.GetItemText(row, 1)); }
  static CValueParam* Param(CPPDlg& d, const char* name) { return FindParamByName(*d.params, name); }
  static std::string Value(CPPDlg& d, const char* name) {
    const char* v = Param(d, name)->GetText(ParamText::kValue);
    return v ? v : "";
  }
  static CViewJovGL& Preview(CPPDlg& d) { return static_cast<ViewProductPreview&>(*d.preview).view; }
  // Where the line the preview shows ends (the product is one line from
  // the origin along X).
  static double ShownLineEnd(CPPDlg& d) {
    GLScene* scene = Preview(d).GetScene();
    scene->ComputeExtents();
    return scene->GetExtents().Max().x;
  }
  std::string LastMessage() const {
    const std::vector<std::string> texts = MessageTexts();
    return texts.empty() ? "" : texts.back();
  }
  static double LineEnd() {
    const resbuf* chain = TheWizardApp().ResultChain1();
    double end[3] = {};
    GetEntityPoint(chain, end, 11);
    return end[0];
  }

  jovDatabase::Database* db = nullptr;
};

enum Row { kL, kN, kCT, kDN };

}  // namespace

TEST_F(ParametricDialog, ValuesAreTestedShownAndStoredByTheLengthMode) {
  struct Case {
    unsigned mode;
    Row row;
    const char* typed;
    const char* cell;      // the cell afterwards
    const char* value;     // the parameter's value afterwards
    const char* message;   // a part of the message shown, or null for none
  };
  const Case cases[] = {
      {1000, kL, "1500", "1500.00", "1500.00", nullptr},
      {1000, kL, "1500,5", "1500.50", "1500.50", nullptr},
      {1000, kL, "7000", "1000.00", "1000", "from 100.00 to 6000.00"},
      {1000, kL, "12abc", "1000.00", "1000", "from 100.00 to 6000.00"},
      {1000, kN, "7", "7", "7", nullptr},
      {1000, kDN, "20", "20.00", "20.00", nullptr},
      // A catalogue's allowed value that is no number.
      {1000, kDN, "#3", "15", "15", "from 6.00 to 100.00"},
      {1000, kCT, "VK 33", "VK 33", "VK 33", nullptr},
      {1000, kCT, "VK|33", "22", "22", "| ; ="},
      {1000, kCT, "a=b", "22", "22", "| ; ="},
      // Lengths in metres: tested and stored as millimetres, bounds in metres.
      {1, kL, "0.6", "0.6000", "600.00", nullptr},
      {1, kL, "0,6", "0.6000", "600.00", nullptr},
      {1, kL, "7", "1.0000", "1000", "metres from 0.1000 to 6.0000"},
      // A formula value (bit 5) and a plain size are no lengths.
      {1, kN, "7", "7", "7", nullptr},
      {1, kN, "0.5", "2", "2", "from 1.00 to 10.00"},
      {1, kDN, "20", "20.00", "20.00", nullptr},
      // Other modes keep millimetres.
      {7, kL, "1500", "1500.00", "1500.00", nullptr},
  };
  static const char* const kNames[] = {"L", "N", "CT", "DN"};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + kNames[c.row] + " " + c.typed);
    ClearUiJournal();
    CPPDlg dialog(1, nullptr, false, false);
    dialog.SetLengthUnit(c.mode);
    const DialogAction entry = c.typed[0] == '#' ? DialogAction::ChooseCell(IDC_PP_PARAMS, c.row, 1, c.typed[1] - '0')
                                                 : DialogAction::EditCell(IDC_PP_PARAMS, c.row, 1, c.typed);
    Run(dialog, {entry, DialogAction::Run([&](HWND) {
                   EXPECT_EQ(Cell(dialog, c.row), c.cell);
                   EXPECT_EQ(Value(dialog, kNames[c.row]), c.value);
                   EXPECT_EQ(MessageTexts().size(), c.message ? 1u : 0u);
                   if (c.message) {
                     EXPECT_NE(LastMessage().find(c.message), std::string::npos) << LastMessage();
                   }
                   EXPECT_EQ((Param(dialog, kNames[c.row])->flags & ParamFlag::kNotRecalculated) != 0, !c.message);
                 }),
                 DialogAction::Cancel()});
  }
}

TEST_F(ParametricDialog, RowsTheReportAndOkGiveTheChainsAndTheLastValues) {
  CPPDlg dialog(1, nullptr, false, false);
  dialog.SetInitialRecalc(true);
  std::string before;
  const INT_PTR result =
      Run(dialog, {DialogAction::Run([&](HWND) {
                     ASSERT_EQ(dialog.list.GetItemCount(), 4) << "the computed P has no row";
                     const char* rows[] = {"Length (L)", "Count (N)", "Kind (CT)", "Size (DN)"};
                     for (int i = 0; i < 4; ++i) EXPECT_EQ(std::string(dialog.list.GetItemText(i, 0)), rows[i]);
                     EXPECT_EQ(Cell(dialog, kL), "1000.00");
                     before = static_cast<const char*>(dialog.report);
                     EXPECT_EQ(LineEnd(), 1000);
                     EXPECT_EQ(Preview(dialog).GetKind(), ProductPreview::kProduct);
                     EXPECT_DOUBLE_EQ(ShownLineEnd(dialog), 1000);
                   }),
                   DialogAction::EditCell(IDC_PP_PARAMS, kL, 1, "1500"), DialogAction::Run([&](HWND) {
                     EXPECT_EQ(LineEnd(), 1500) << "chain 1 follows at once";
                     EXPECT_DOUBLE_EQ(ShownLineEnd(dialog), 1500) << "and the preview shows it";
                     EXPECT_NE(before.find("Output (P) = 2000"), std::string::npos) << before;
                     EXPECT_NE(std::string(dialog.report).find("Output (P) = 3000"), std::string::npos);
                   }),
                   DialogAction::Ok()});
  ASSERT_EQ(result, IDOK);
  const std::vector<std::string> data = XDataTexts("JOV_DATA");
  ASSERT_FALSE(data.empty());
  EXPECT_EQ(data[0], "TXP0001-0001");
  const auto l = std::find(data.begin(), data.end(), "L");
  ASSERT_NE(l, data.end());
  EXPECT_EQ(*(l + 1), "1500.00");
  EXPECT_EQ(LineEnd(), 1500);

  std::ifstream file(Profile("Dat/PP_LastT.dat"), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("L|1500.00|N|2|CT|22|DN|15|"), std::string::npos) << text.str();

  // The next dialog of the product starts from the stored values.
  CPPDlg again(1, nullptr, false, false);
  Run(again, {DialogAction::Run([&](HWND) { EXPECT_EQ(Cell(again, kL), "1500.00"); }), DialogAction::Cancel()});
}

TEST_F(ParametricDialog, AConnectedElementsSizesPrefillTheirCellsForGood) {
  struct Case {
    const char* points;
    const char* size;
    const char* length;
    bool prefilled;
  };
  const Case cases[] = {
      {"0\n1\n20/1200\nx\ny\nA\n0\n0\n", "20", "1200.00", true},
      // One value for the two names of the product's point: nothing taken.
      {"0\n1\n20\nx\ny\nA\n0\n0\n", "15", "1000.00", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.points);
    ClearUiJournal();
    CPPDlg dialog(1, nullptr, false, false);
    dialog.SetConnection(1, 0, c.points, false);
    Run(dialog, {DialogAction::Run([&](HWND) {
                   EXPECT_EQ(Cell(dialog, kDN), c.size);
                   EXPECT_EQ(Cell(dialog, kL), c.length);
                   EXPECT_EQ(LineEnd(), c.prefilled ? 1200 : 1000);
                   auto* head = reinterpret_cast<CListItemData*>(dialog.list.GetItemData(kL));
                   EXPECT_EQ(head->ForColumn(1)->flags == 0, c.prefilled);
                   EXPECT_EQ(dialog.list.EditCell(kL, 1, nullptr) != FALSE, !c.prefilled) << "a prefilled cell takes no typing";
                 }),
                 DialogAction::Cancel()});
  }
}

TEST_F(ParametricDialog, AProductWithoutUserParametersIsBuiltWithoutADialog) {
  for (int failing : {0, 1}) {
    SCOPED_TRACE(failing);
    ClearUiJournal();
    Host().failingBuilds = failing;
    ASSERT_EQ(db->GoIndexID("TXP0002-0001"), jovDatabase::eOK);
    CPPDlg dialog(1, nullptr, false, false);
    EXPECT_EQ(dialog.DoModal(), failing ? IDCANCEL : IDOK);
    EXPECT_EQ(MessageTexts().size(), failing ? 1u : 0u);
    if (!failing) {
      EXPECT_EQ(CountOf("JOV_DATA"), 1);
      EXPECT_EQ(LineEnd(), 1000);
    } else {
      EXPECT_NE(LastMessage().find("cannot be placed"), std::string::npos) << LastMessage();
    }
    std::ifstream file(Profile("Dat/PP_LastT.dat"), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str().find("TXP0002-0001"), std::string::npos) << "no last values without a dialog";
    EXPECT_EQ(CountOf("_VANTRIX"), 0);
    TheWizardApp().FreeResultChains();
  }
}

TEST_F(ParametricDialog, TheProducersTextsFollowTheProductsData) {
  const char* producer[] = {"P-100", "1036353", "Panels", "22", "600x1000", "123.50", ""};
  TheWizardApp().SetProducerData(producer);
  CPPDlg dialog(1, nullptr, false, false);
  dialog.SetQProd("Q-1");
  ASSERT_EQ(Run(dialog, {DialogAction::Ok()}), IDOK);
  const std::vector<std::string> data = XDataTexts("JOV_DATA");
  const auto code = std::find(data.begin(), data.end(), "_QPROD");
  ASSERT_NE(code, data.end());
  EXPECT_EQ(*(code + 1), "P-100") << "the stored producer's product, not the request's code";
  EXPECT_EQ(std::vector<std::string>(data.end() - 10, data.end()),
            (std::vector<std::string>{"_QDATE", "1036353", "_GROUP", "Panels", "_QTYPE", "22", "_MEASUREMENT",
                                      "600x1000", "_PRICE", "123.50"}))
      << "in this order at the end, the empty unit left out";
  const char* none[7] = {};
  TheWizardApp().SetProducerData(none);
}

TEST_F(ParametricDialog, AFailedBuildKeepsTheDialogOpenAndTheNextOkStartsAfresh) {
  Host().failingBuilds = 1;
  CPPDlg dialog(1, nullptr, false, false);
  const INT_PTR result = Run(dialog, {DialogAction::Ok(), DialogAction::Run([&](HWND d) {
                                        EXPECT_TRUE(::IsWindowVisible(d));
                                        EXPECT_EQ(MessageTexts().size(), 1u);
                                      }),
                                      DialogAction::Ok()});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(CountOf("JOV_DATA"), 1) << "the failed build's node is gone";
}

TEST_F(ParametricDialog, AValueCellTakes255CharactersAndATextMadeOfValuesNoMore) {
  // The free text CT named twice in a connection point's description.
  db = Catalogue(TestCatalogue() + TestItem("TXP0003-0001", "1", kProductParams, "0\n1\n#CT/#CT\nx\ny\nA\n0\n0\n"), 'T',
                 "TXP0003-0001");
  struct Case {
    size_t typed;    // characters typed into the cell
    size_t kept;     // what the cell keeps
    bool placed;     // whether OK places the product
  };
  const Case cases[] = {{300, 255, false}, {100, 100, true}, {200, 200, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ClearUiJournal();
    TheWizardApp().FreeResultChains();
    CPPDlg dialog(1, nullptr, false, false);
    std::string cell;
    const INT_PTR result =
        Run(dialog, {DialogAction::EditCell(IDC_PP_PARAMS, kCT, 1, std::string(c.typed, 'w')),
                     DialogAction::Run([&](HWND) { cell = Cell(dialog, kCT); }), DialogAction::Ok(),
                     DialogAction::Cancel()});
    EXPECT_EQ(cell.size(), c.kept);
    EXPECT_EQ(result, c.placed ? IDOK : IDCANCEL);
    EXPECT_EQ(MessageTexts().size(), c.placed ? 0u : 1u) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    for (const resbuf* node = TheWizardApp().ResultChain2(); node; node = node->next) {
      if (node->code == 1000 && node->value.text) {
        EXPECT_LE(std::strlen(node->value.text), 255u) << node->value.text;
      }
    }
    if (!c.placed) {
      EXPECT_EQ(CountOf("JOV_DATA"), 0) << "nothing is placed";
    }
  }
}

TEST_F(ParametricDialog, ALastValuesFileThatCannotBeWrittenStillPlacesTheProduct) {
  // A folder where the file should be: the store cannot be written, which
  // costs the next dialog its start values, not this product.
  // The library says it through its own text, set when it loads.
  SetSettingsNotKeptMessage(IDS_SETTINGS_NOT_KEPT);
  std::filesystem::create_directories(Profile("Dat/PP_LastT.dat"));
  CPPDlg dialog(1, nullptr, false, false);
  const INT_PTR result = Run(dialog, {DialogAction::Ok()});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(CountOf("JOV_DATA"), 1) << "the product is built";
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("Dat\\PP_LastT.dat\""), std::string::npos) << MessageTexts()[0];
  SetSettingsNotKeptMessage(0);
}

TEST_F(ParametricDialog, TheSwitchShowsTheCatalogueDrawingAndIsKeptInTheRegistry) {
  for (bool radio : {false, true}) {
    SCOPED_TRACE(radio ? "radio mode" : "check box");
    const RadioEdition edition(radio);
    CPPDlg dialog(1, nullptr, false, false);
    Run(dialog, {DialogAction::Run([&](HWND d) {
                   EXPECT_EQ(dialog.radioMode, radio);
                   EXPECT_EQ(::IsWindowVisible(::GetDlgItem(d, IDC_PP_SWITCH)), !radio);
                   EXPECT_EQ(::IsWindowVisible(::GetDlgItem(d, IDC_PP_SWITCH_CATALOGUE)), radio);
                   EXPECT_EQ(Preview(dialog).GetKind(), ProductPreview::kProduct);
                 }),
                 DialogAction::EditCell(IDC_PP_PARAMS, kL, 1, "1500"),
                 DialogAction::Click(radio ? IDC_PP_SWITCH_CATALOGUE : IDC_PP_SWITCH), DialogAction::Run([&](HWND d) {
                   EXPECT_EQ(Preview(dialog).GetKind(), ProductPreview::kCatalogue);
                   EXPECT_DOUBLE_EQ(ShownLineEnd(dialog), 1000) << "the catalogue's line, not the product's";
                   char caption[64] = "";
                   ::GetWindowTextA(::GetDlgItem(d, IDC_PP_SWITCH), caption, sizeof caption);
                   EXPECT_STREQ(caption, "Catalogue drawing");
                 }),
                 DialogAction::Ok()});
    // Kept for the next dialog, from the radios in radio mode.
    CPPDlg next(1, nullptr, false, false);
    Run(next, {DialogAction::Run([&](HWND) {
                 EXPECT_EQ(radio ? next.switchRadio : next.switchCheck, 1);
                 EXPECT_EQ(Preview(next).GetKind(), ProductPreview::kCatalogue);
               }),
               DialogAction::Click(radio ? IDC_PP_SWITCH_PRODUCT : IDC_PP_SWITCH), DialogAction::Ok()});
  }
}

TEST_F(ParametricDialog, BackIsThereOnlyAfterTheProducerDialogHandedOver) {
  EXPECT_EQ(Open("TXP0001-0001", 1000, {DialogAction::Click(IDC_PP_BACK), DialogAction::Cancel()}), IDCANCEL);
  EXPECT_EQ(FailedActions().size(), 1u) << "a disabled button cannot be clicked";
  EXPECT_EQ(Open("TXP0001-0001", 1000, {DialogAction::Click(IDC_PP_BACK)}, true), -4);
  EXPECT_EQ(TheWizardApp().ResultChain1() != nullptr, true) << "the preview's chain stays the request's";
  EXPECT_EQ(TheWizardApp().ResultChain2(), nullptr) << "back builds nothing";
}

TEST_F(ParametricDialog, TheMirrorIsOfferedByTheWizardsFlag) {
  for (int mirror : {-1, 0, 1}) {
    SCOPED_TRACE(mirror);
    TheWizardApp().SetMirror(mirror);
    CPPDlg dialog(1, nullptr, false, false);
    std::vector<DialogAction> actions = {DialogAction::Run([&](HWND d) {
      EXPECT_EQ(::IsWindowVisible(::GetDlgItem(d, IDC_PP_MIRROR)) != FALSE, mirror != -1);
      EXPECT_EQ(Preview(dialog).IsMirrored(), mirror == 1);
    })};
    if (mirror == 0) {
      actions.push_back(DialogAction::Check(IDC_PP_MIRROR, true));
      actions.push_back(DialogAction::Run([&](HWND) { EXPECT_TRUE(Preview(dialog).IsMirrored()); }));
    }
    actions.push_back(DialogAction::Ok());
    Run(dialog, actions);
    EXPECT_EQ(TheWizardApp().GetMirror(), mirror == -1 ? -1 : 1) << "OK keeps the check";
  }
}

TEST_F(ParametricDialog, TheDefinitionEditorsTestKeepsItsListsAndWritesNothing) {
  CObjectSez params, points;
  {
    CPPDlg dialog(1, nullptr, true, false);
    dialog.SetParamList(&params);
    dialog.SetGeometryObjects(&points);
    LoadProductParameters(params);
    Run(dialog, {DialogAction::Run([&](HWND d) {
                   EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(d, IDOK)));
                   char caption[32] = "";
                   ::GetWindowTextA(::GetDlgItem(d, IDCANCEL), caption, sizeof caption);
                   EXPECT_STREQ(caption, "Close");
                   // Enter still reaches OK.
                   ::SendMessageA(d, WM_COMMAND, IDOK, 0);
                 })});
  }
  EXPECT_EQ(params.GetCount(), 5u) << "the editor's lists outlive the dialog";
  EXPECT_EQ(TheWizardApp().ResultChain2(), nullptr);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, (std::string(WizardRegistryRoot()) + "CPPDlg").c_str(), &key),
            ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_NE(RegQueryValueExA(key, "Rect", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Switch", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(ParametricDialog, RadiiFollowTheDiameterOfPipesAndTheQueryIsAnswered) {
  Settings("[DESC]\r\nZLEVEL_RADIUS=2\r\n");
  ASSERT_EQ(db->GoIndexID("TPT0020-0001"), jovDatabase::eOK);
  CPPDlg dialog(1, nullptr, false, false);
  Run(dialog, {DialogAction::EditCell(IDC_PP_PARAMS, 1, 1, "40"), DialogAction::Run([&](HWND d) {
                 EXPECT_EQ(Value(dialog, "r"), "80.00");
                 EXPECT_EQ(Value(dialog, "r1"), "80.00");
                 EXPECT_EQ(Value(dialog, "rr2"), "30");
                 EXPECT_EQ(Cell(dialog, 2), "80.00");
                 EXPECT_EQ(::SendMessageA(d, 0x7101, 0, 0), 1);
               }),
               DialogAction::Cancel()});
}

TEST_F(ParametricDialog, ABendsSizeSetsItsRadiusOnlyWhenItsIdBeginsWithVPH) {
  const std::string air =
      "[catalogue]\ntrade = V\ntitle = Air\n[names]\nMODI | 0 | 1 | Vzduchotechnika | | 0\n"
      "[partypes]\n1 | Size | 16 | 100 | 2000 | 0\n2 | Radius | 16 | 0 | 1000 | 0\n" +
      TestItem("VPH0200-0001", "1", "A|Size|1|200|200|\nr|Radius|2|100|100|\nL|Size|1|1000|1000|\n", kNoPoints) +
      TestItem("VXVPH00-0001", "1", "A|Size|1|200|200|\nr|Radius|2|100|100|\nL|Size|1|1000|1000|\n", kNoPoints);
  jovDatabase::Database* v = Catalogue(air, 'V', "VPH0200-0001");
  for (const char* id : {"VPH0200-0001", "VXVPH00-0001"}) {
    SCOPED_TRACE(id);
    ASSERT_EQ(v->GoIndexID(id), jovDatabase::eOK);
    CPPDlg dialog(1, nullptr, false, false);
    Run(dialog, {DialogAction::EditCell(IDC_PP_PARAMS, 0, 1, "500"), DialogAction::Run([&](HWND) {
                   const bool bend = std::string(id).rfind("VPH", 0) == 0;
                   EXPECT_EQ(Value(dialog, "r"), bend ? "150.00" : "100");
                   EXPECT_EQ(Cell(dialog, 1), bend ? "150.00" : "100.00");
                 }),
                 DialogAction::Cancel()});
  }
}

TEST_F(ParametricDialog, HelpIsAskedForTheControlUnderF1) {
  CPPDlg dialog(1, nullptr, false, false);
  Run(dialog, {DialogAction::Key(IDC_PP_PARAMS, "F1"), DialogAction::Key(IDOK, "F1"), DialogAction::Click(IDC_PP_HELP),
               DialogAction::Cancel()});
  const std::vector<UiEvent> help = Events(UiEvent::Kind::Help);
  ASSERT_EQ(help.size(), 3u);
  // Without the help file beside the library, its older form.
  EXPECT_TRUE(help[0].help.winHelp);
  EXPECT_EQ(help[0].help.command, HELP_CONTEXTPOPUP);
  EXPECT_EQ(help[0].help.data, 180u);
  EXPECT_EQ(help[1].help.command, HELP_CONTEXT);
  EXPECT_EQ(help[1].help.data, 183u);
  EXPECT_FALSE(help[2].help.winHelp);
  EXPECT_NE(help[2].help.file.find("JOV2D.CHM::/zdroje\\makroeditor-vkladani.htm"), std::string::npos);
}
