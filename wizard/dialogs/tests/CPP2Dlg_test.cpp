// The producer dialog driven as a user would, over a catalogue of one
// radiator by three producers: the versions and choices it offers, the
// measurement given to the parameters, OK with the choice after the
// product's data, the choice found again, the hand-over to the parametric
// dialog and the return from it; and its texts from outside as tables.
#include <filesystem>

#include "platform/mfc/tests/control_texts.h"
#include "common/SettingsWrite.h"
#include "wizard/dialogs/CPP2Dlg.h"

#include "platform/win32/module_loader.h"
#include "platform/mfc/CComDATE.h"
#include "platform/resources/wizard/resource_ids.h"
#include "wizard/dialogs/CPPDlg.h"
#include "wizard/dialogs/ComboSelection.h"
#include "wizard/dialogs/ProducerTexts.h"
#include "wizard/dialogs/tests/DialogTest.h"
#include "wizard/dialogs/tests/TestCatalogue.h"
#include "wizard/frame/engine/CPropData.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/RecordLookups.h"

using namespace dialog_tests;

namespace {

class ProducerDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    db = Catalogue(ProducerCatalogue(), 'T', "TXR0600-0001");
  }
  void TearDown() override {
    EXPECT_EQ(FailedActions(), std::vector<std::string>{}) << "every step was carried out";
    DialogTest::TearDown();
  }
  INT_PTR Run(std::vector<DialogAction> actions, const char* productCode = nullptr, bool retry = false) {
    driver.OnDialog(IDD_PP2, std::move(actions));
    CPP2Dlg dialog(1, 0x4A000000, productCode, "branch", nullptr, nullptr, nullptr);
    current = &dialog;
    dialog.SetConnection(1, 0, nullptr, retry);
    const INT_PTR result = dialog.DoModal();
    current = nullptr;
    return result;
  }
  // A step that checks the open dialog.
  DialogAction Check(std::function<void(CPP2Dlg&)> check) {
    return DialogAction::Run([this, check](HWND) { check(*current); });
  }
  static std::string Text(const CComboBox& box) { return SelectedText(box).GetString(); }
  static CViewJovGL& View(CPP2Dlg& d) { return static_cast<ViewProductPreview&>(*d.preview).view; }
  static std::string Value(CPP2Dlg& d, const char* name) {
    const char* v = FindParamByName(*d.params, name)->GetText(ParamText::kValue);
    return v ? v : "";
  }
  static double LineEndY() {
    double end[3] = {};
    GetEntityPoint(TheWizardApp().ResultChain1(), end, 11);
    return end[1];
  }
  static std::string Tail(size_t n) {
    const std::vector<std::string> data = XDataTexts("JOV_DATA");
    return data.size() < n ? "" : Join(std::vector<std::string>(data.end() - static_cast<long>(n), data.end()));
  }
  static std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : "|") + p;
    return out;
  }
  static std::string Producer() {
    const char* texts[7];
    TheWizardApp().GetProducerData(texts);
    std::vector<std::string> parts;
    for (const char* t : texts) parts.emplace_back(t ? t : "-");
    return Join(parts);
  }

  jovDatabase::Database* db = nullptr;
  CPP2Dlg* current = nullptr;
};

}  // namespace

TEST(ProducerTexts, ChoiceRecordsAreFieldsEndedByCarriageReturnsInRecordsEndedByLineFeeds) {
  struct Case {
    const char* comment;
    const char* records;  // per record: type|measurement|description|group|subgroup[|lines...]; ';' between
  };
  const Case cases[] = {
      {"T1\rM1\rD1\r\r\r\n", "T1|M1|D1|-|-"},
      // A field without its CR is lost, the record ends at the LF all the same.
      {"T1\rM1\rD1\n", "T1|M1|(null)|-|-"},
      {"T1\rM1\rD1\rG\rS\r1/2\r718\r\nT2\rM2\r\n", "T1|M1|D1|G|S|1/2|718;T2|M2|(null)|-|-"},
      // The last record needs no LF; a field at the very end without a CR is lost.
      {"T1\rM1\r", "T1|M1|(null)|-|-"},
      {"T1\rM1", "T1|(null)|(null)|-|-"},
      // Empty lines make no record.
      {"\n\nT1\r\n\n", "T1|(null)|(null)|-|-"},
      {"\r\n", "|(null)|(null)|-|-"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.comment);
    CObjectSez records;
    ASSERT_TRUE(ParseChoiceRecords(c.comment, records, "-"));
    std::string got;
    for (const CPropData* r = FirstOf<CPropData>(records); r; r = NextOf(r)) {
      if (!got.empty()) got += ";";
      for (int slot = 0; slot < 5; ++slot) {
        const char* text = r->GetText(slot);
        got += std::string(slot ? "|" : "") + (text ? text : "(null)");
      }
      for (const CPropData* line = FirstOf<CPropData>(*r); line; line = NextOf(line))
        got += std::string("|") + line->GetText(PropText::kName);
    }
    EXPECT_EQ(got, c.records);
  }
  CObjectSez longOne;
  ASSERT_TRUE(ParseChoiceRecords(std::string(300, 'x') + "\r" + std::string(256, 'y') + "\r\n", longOne, "-"));
  const auto* record = FirstOf<CPropData>(longOne);
  EXPECT_EQ(std::string(record->GetText(0)), std::string(255, 'x')) << "fields are cut at 255";
  EXPECT_EQ(std::string(record->GetText(1)), std::string(255, 'y'));
}

TEST(ProducerTexts, DatesPackAndUnpackInDayMonthYearOrder) {
  struct Case {
    const char* packed;
    const char* text;
  };
  const Case cases[] = {
      {"1036065", "01.09.2023"},  // 2023 * 512 + 9 * 32 + 1
      {"1037359", "15.01.2026"},
      {" 1036065abc", "01.09.2023"},  // read as atoi reads
      {"0", "00.00.0"},
      {"-1", "31.15.-1"},
      {"99999999999999999999", "31.15.4194303"},  // held to the int range
      {"", "00.00.0"},
  };
  for (const Case& c : cases) EXPECT_EQ(UnpackDateText(c.packed), c.text) << c.packed;
  EXPECT_EQ(UnpackDateText(nullptr), "");
  EXPECT_EQ(PackedDateText(CComDATE(2023, 9, 1)), "1036065");
  EXPECT_EQ(VersionDateText(CComDATE(2024, 2, 29)), "29.02.2024");
  EXPECT_EQ(PackedDateText(CComDATE(kMaxVariantDate + 1)), "") << "beyond the dates a version can have";
  EXPECT_EQ(VersionDateText(CComDATE(kMinVariantDate - 1)), "");
}

TEST_F(ProducerDialog, AnItemNobodyMakesEndsBeforeItIsSeenAndOneWithoutLabelsWarns) {
  ASSERT_EQ(db->GoIndexID("TXR0601-0001"), jovDatabase::eOK);
  EXPECT_EQ(Run({}), -2);
  EXPECT_TRUE(Events(UiEvent::Kind::DialogOpened).empty()) << "never shown";
  EXPECT_TRUE(MessageTexts().empty());

  db = Catalogue(ProducerCatalogue(false), 'T', "TXR0600-0001");
  EXPECT_EQ(Run({}), -1);
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("names for the fields"), std::string::npos) << MessageTexts()[0];
  EXPECT_EQ(Events(UiEvent::Kind::MessageBox)[0].box.type, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(ProducerDialog, TheLastVersionComesFirstAChosenProducerShowsItsFirstAndTheChoiceFollows) {
  Run({Check([&](CPP2Dlg& d) {
         EXPECT_EQ(ItemTexts(d.producerCombo), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
         EXPECT_EQ(ItemTexts(d.dateCombo), (std::vector<std::string>{"01.03.2023", "15.01.2024"}));
         EXPECT_EQ(Text(d.dateCombo), "15.01.2024") << "nothing stored: the last version";
         EXPECT_EQ(Text(d.typeCombo), "T22");
         EXPECT_EQ(Text(d.measurementCombo), "600/1000") << "the parameters' values pick the measurement";
         char title[128] = "";
         ::GetWindowTextA(d.m_hWnd, title, sizeof title);
         EXPECT_STREQ(title, "Product by producer - Panel radiator");
         EXPECT_EQ(std::string(d.infoText), "Description: Double") << "a record without further lines";
       }),
       DialogAction::Choose(IDC_PP2_PRODUCER, "Alpha"), Check([&](CPP2Dlg& d) {
         EXPECT_EQ(Text(d.dateCombo), "01.03.2023") << "a chosen producer starts at its first version";
         EXPECT_EQ(ItemTexts(d.measurementCombo), (std::vector<std::string>{"600/1000", "600/1400"}));
       }),
       DialogAction::Choose(IDC_PP2_MEASUREMENT, "600/1400"), Check([&](CPP2Dlg& d) {
         EXPECT_EQ(Value(d, "L"), "1400") << "the measurement's values go to #H/#L";
         EXPECT_EQ(LineEndY(), 600);
         double end[3] = {};
         GetEntityPoint(TheWizardApp().ResultChain1(), end, 11);
         EXPECT_EQ(end[0], 1400) << "chain 1 regenerated";
         // The type's record speaks, whichever of its measurements is chosen.
         EXPECT_EQ(std::string(d.infoText), "Description: Double\r\nConnection: 1/2\r\nOutput: 1362");
       }),
       DialogAction::Choose(IDC_PP2_PRODUCER, "Beta"), Check([&](CPP2Dlg& d) {
         EXPECT_EQ(ItemTexts(d.group1Combo), (std::vector<std::string>{"Panel", "Column"}));
         EXPECT_EQ(Text(d.typeCombo), "T11") << "the first group's";
       }),
       DialogAction::Choose(IDC_PP2_GROUP1, "Column"), Check([&](CPP2Dlg& d) {
         EXPECT_EQ(Text(d.typeCombo), "T33");
         EXPECT_EQ(Text(d.measurementCombo), "900/1000");
         EXPECT_EQ(Value(d, "H"), "900");
       }),
       DialogAction::Cancel()});
}

TEST_F(ProducerDialog, ARecordWithoutGroupsAndAMeasurementThatIsNoNumber) {
  Run({DialogAction::Choose(IDC_PP2_PRODUCER, "Alpha"), DialogAction::Choose(IDC_PP2_MEASUREMENT, "600/1400"),
       DialogAction::Choose(IDC_PP2_PRODUCER, "Gamma"), Check([&](CPP2Dlg& d) {
         EXPECT_EQ(ItemTexts(d.group1Combo), (std::vector<std::string>{"(no group)"}));
         EXPECT_EQ(ItemTexts(d.group2Combo), (std::vector<std::string>{"(no group)"}));
         EXPECT_EQ(Text(d.typeCombo), "T1");
         EXPECT_EQ(Text(d.measurementCombo), "M1");
         EXPECT_EQ(std::string(d.infoText), "Description: D1");
         ASSERT_EQ(MessageTexts().size(), 1u) << "M1 is no height";
         EXPECT_NE(MessageTexts()[0].find("does not suit"), std::string::npos);
         EXPECT_EQ(Value(d, "L"), "1400") << "nothing assigned";
         double end[3] = {};
         GetEntityPoint(TheWizardApp().ResultChain1(), end, 11);
         EXPECT_EQ(end[0], 1000) << "chain 1 is the catalogue's drawing, not regenerated with L 1400";
       }),
       DialogAction::Ok()});
  EXPECT_EQ(Tail(10), "_QTYPE|T1|_MEASUREMENT|M1|_QDATE|1035297|_PRICE|100.00|_QUNIT|7");
  const std::vector<std::string> data = XDataTexts("JOV_DATA");
  EXPECT_EQ(std::find(data.begin(), data.end(), "_GROUP"), data.end()) << "no _GROUP for the missing group";
}

TEST_F(ProducerDialog, OkAppendsTheChoiceAndTheNextDialogFindsItAgain) {
  ASSERT_EQ(Run({DialogAction::Choose(IDC_PP2_PRODUCER, "Beta"), DialogAction::Choose(IDC_PP2_GROUP1, "Column"),
                 DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(Tail(12), "_GROUP|Column|_QTYPE|T33|_MEASUREMENT|900/1000|_QDATE|1036065|_PRICE|3310.00|_QUNIT|7");
  const std::vector<std::string> data = XDataTexts("JOV_DATA");
  const auto code = std::find(data.begin(), data.end(), "_QPROD");
  ASSERT_NE(code, data.end());
  EXPECT_EQ(*(code + 1), "Beta") << "the producer is the product's code";
  EXPECT_NE(std::find(data.begin(), data.end(), "_BRANCH"), data.end());

  TheWizardApp().FreeResultChains();
  Run({Check([&](CPP2Dlg& d) {
         EXPECT_EQ(Text(d.producerCombo), "Beta");
         EXPECT_EQ(Text(d.dateCombo), "01.09.2023");
         EXPECT_EQ(Text(d.group1Combo), "Column");
         EXPECT_EQ(Text(d.measurementCombo), "900/1000") << "from the last values H 900, L 1000";
       }),
       DialogAction::Cancel()});

  // A product code and date of the caller's win over what was stored.
  TheWizardApp().SetPP2Date("1035873");  // 1 March 2023
  Run({Check([&](CPP2Dlg& d) {
         EXPECT_EQ(Text(d.producerCombo), "Alpha");
         EXPECT_EQ(Text(d.dateCombo), "01.03.2023");
       }),
       DialogAction::Cancel()},
      "Alpha");
  TheWizardApp().SetPP2Date(nullptr);
}

TEST_F(ProducerDialog, AFailedBuildKeepsTheDialogOpenWithNothingHandedOut) {
  Host().failingBuilds = 1;
  const INT_PTR result = Run({DialogAction::Ok(), DialogAction::Run([&](HWND d) {
                                EXPECT_TRUE(::IsWindowVisible(d)) << "still open";
                                ASSERT_EQ(MessageTexts().size(), 1u);
                                EXPECT_NE(MessageTexts()[0].find("cannot be placed"), std::string::npos);
                              }),
                              DialogAction::Ok()});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(CountOf("JOV_DATA"), 1) << "the failed build's node is gone";
  EXPECT_EQ(Tail(2), "_QUNIT|7");
}

TEST_F(ProducerDialog, ALastValuesFileThatCannotBeWrittenStillHandsOutTheProduct) {
  // The library says it through its own text, set when it loads.
  SetSettingsNotKeptMessage(IDS_SETTINGS_NOT_KEPT);
  std::filesystem::create_directories(Profile("Dat/PP_LastT.dat"));
  const INT_PTR result = Run({DialogAction::Ok()});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(CountOf("JOV_DATA"), 1) << "the product is handed out";
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("Dat\\PP_LastT.dat"), std::string::npos);
  SetSettingsNotKeptMessage(0);
}

TEST_F(ProducerDialog, TheHandOverKeepsTheProducersDataOnlyWhenAskedAndTheReturnRestoresTheChoice) {
  for (bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    const INT_PTR result =
        Run({Check([&](CPP2Dlg& d) { EXPECT_EQ(d.keepProducerData, 0) << "never kept from last time"; }),
             DialogAction::Choose(IDC_PP2_PRODUCER, "Beta"), DialogAction::Choose(IDC_PP2_GROUP1, "Column"),
             DialogAction::Check(IDC_PP2_KEEP_PRODUCER, keep), DialogAction::Click(IDC_PP2_PARAMETRIC)});
    EXPECT_EQ(result, -3);
    EXPECT_EQ(Producer(), keep ? "Beta|1036065|Column|T33|900/1000|3310.00|7" : "-|-|-|-|-|-|-");
  }
  Run({Check([&](CPP2Dlg& d) {
         EXPECT_EQ(Text(d.producerCombo), "Beta");
         EXPECT_EQ(Text(d.group1Combo), "Column");
         EXPECT_EQ(Text(d.typeCombo), "T33");
         EXPECT_EQ(Text(d.measurementCombo), "900/1000");
       }),
       // Once back, a new producer is chosen afresh.
       DialogAction::Choose(IDC_PP2_PRODUCER, "Alpha"), Check([&](CPP2Dlg& d) {
         EXPECT_EQ(Text(d.group1Combo), "Panel");
         EXPECT_EQ(Text(d.dateCombo), "01.03.2023");
       }),
       DialogAction::Cancel()},
      nullptr, true);
}

TEST_F(ProducerDialog, HelpTopicsByControl) {
  const std::pair<int, int> cases[] = {{IDC_PP2_PRODUCER, 180}, {IDC_PP2_GROUP2, 180}, {IDC_PP2_INFO, 181},
                                       {IDC_PP2_PARAMETRIC, 193}, {IDC_PP2_KEEP_PRODUCER, 194}, {IDOK, 195}};
  std::vector<DialogAction> actions;
  for (const auto& [control, topic] : cases) actions.push_back(DialogAction::Key(control, "F1"));
  actions.push_back(DialogAction::Click(IDC_PP2_HELP));
  actions.push_back(DialogAction::Cancel());
  Run(actions);
  const std::vector<UiEvent> help = Events(UiEvent::Kind::Help);
  ASSERT_EQ(help.size(), std::size(cases) + 1);
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(help[i].help.topic, "context " + std::to_string(cases[i].second)) << cases[i].first;
    EXPECT_NE(help[i].help.file.find("JOV2D.HLP"), std::string::npos) << "no CHM here";
  }
  EXPECT_NE(help.back().help.file.find("JOV2D.CHM"), std::string::npos);
}

TEST_F(ProducerDialog, TheSwitchInBothEditionsIsSharedWithTheParametricDialog) {
  for (bool radio : {false, true}) {
    SCOPED_TRACE(radio ? "radio mode" : "check box");
    const RadioEdition edition(radio);
    std::vector<DialogAction> actions = {Check([&](CPP2Dlg& d) {
      EXPECT_EQ(d.radioMode, radio);
      EXPECT_EQ(::IsWindowVisible(::GetDlgItem(d.m_hWnd, IDC_PP2_SWITCH)) != FALSE, !radio);
      EXPECT_EQ(View(d).GetKind(), static_cast<uint32_t>(radio ? ProductPreview::kCatalogue : ProductPreview::kProduct))
          << "the check box edition left it on";
    })};
    if (radio) actions.push_back(DialogAction::Click(IDC_PP2_SWITCH_PRODUCT));
    actions.push_back(DialogAction::Click(radio ? IDC_PP2_SWITCH_CATALOGUE : IDC_PP2_SWITCH));
    actions.push_back(Check([&](CPP2Dlg& d) {
      EXPECT_EQ(View(d).GetKind(), static_cast<uint32_t>(ProductPreview::kCatalogue));
      EXPECT_EQ(View(d).Points().GetCount(), 0u) << "the catalogue's drawing of this radiator has no connection lines";
    }));
    actions.push_back(DialogAction::Ok());
    Run(actions);
    CPPDlg parametric(1, nullptr, false, false);
    driver.OnDialog(IDD_PP, {DialogAction::Run([&](HWND) {
                               EXPECT_EQ(radio ? parametric.switchRadio : parametric.switchCheck, 1) << "one key";
                             }),
                             DialogAction::Cancel()});
    parametric.DoModal();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, (std::string(WizardRegistryRoot()) + "CPPDlg").c_str(), &key),
              ERROR_SUCCESS);
    DWORD keep = 7, size = sizeof keep;
    EXPECT_EQ(RegQueryValueExA(key, "SwitchPP1", nullptr, nullptr, reinterpret_cast<BYTE*>(&keep), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(keep, 0u) << "the keep check, never set here";
    RegCloseKey(key);
  }
}
