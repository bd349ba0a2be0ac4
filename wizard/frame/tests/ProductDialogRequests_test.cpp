// The interactive product request: which dialog the item status and the
// settings open, in what order, with which flags, and what the export
// answers; the product placed without a dialog.
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "objectgl/tests/SharedGlr.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/DialogSeams.h"
#include "wizard/frame/ProductDialogRequests.h"
#include "wizard/frame/WizardExports.h"
#include "wizard/frame/tests/WizardTestSupport.h"

namespace {

std::string CatalogueOf(char trade, const char* modi) {
  const std::string t(1, trade);
  auto item = [&](int n, const char* status, const char* points) {
    return "[item]\nid = " + t + "XD000" + std::to_string(n) + "-0001\nidi = " + std::to_string(n) +
           "\ntitle = Prvek\ntype = 1\nstatus = " + status + "\nparams <<\nL|Délka|1|100|100|\n>>\n" + points +
           kLineInViewB;
  };
  const char* points = "points <<\n0\n1\n20\nCu\nx\nA\n0\n0\n>>\n";
  return CatalogueHead(trade, modi) +
         item(1, "0x4A000000", "") +     // producer choice and parametric
         item(2, "0x42000000", "") +     // producer choice
         item(3, "0x48000000", "") +     // parametric
         item(4, "0x40000000", points);  // neither
}

// The dialogs as doubles: each answers the next scripted result and notes
// what it was opened with.
struct Recorder {
  std::deque<INT_PTR> producerResults, parametricResults;
  std::vector<std::string> calls;

  static Recorder*& Current() {
    static Recorder* current = nullptr;
    return current;
  }
  static INT_PTR Next(std::deque<INT_PTR>& results) {
    const INT_PTR r = results.empty() ? 2 : results.front();
    if (!results.empty()) results.pop_front();
    if (r == 1) {
      // A dialog's OK leaves both chains built.
      CWizardDllApp& app = TheWizardApp();
      CreateGroupCodeNode(&app.ResultChain1(), 0, "LINE");
      CreateGroupCodeNode(&app.ResultChain2(), 1001, "JOV_DATA");
    }
    return r;
  }
  static INT_PTR Producer(const ProducerDialogArgs& a) {
    Current()->calls.push_back(std::string("producer") + (a.retry ? " retry" : ""));
    const INT_PTR r = Next(Current()->producerResults);
    if (r == -3) {
      // Handed over with the producer's data kept.
      const char* texts[CWizardDllApp::kProducerTexts] = {"Maker", "1036065", "", "", "", "", ""};
      TheWizardApp().SetProducerData(texts);
    }
    return r;
  }
  static INT_PTR Parametric(const ParametricDialogArgs& a) {
    const char* producer[CWizardDllApp::kProducerTexts];
    TheWizardApp().GetProducerData(producer);
    Current()->calls.push_back(std::string("parametric") + (a.backAllowed ? " back" : "") +
                               (a.vantrixUse ? " vantrix" : "") + (a.initialRecalc ? "" : " no-recalc") +
                               (producer[0] ? std::string(" of ") + producer[0] : ""));
    return Next(Current()->parametricResults);
  }
};

class ProductDialogs : public WizardCatalogueTest {
 protected:
  void SetUp() override {
    WizardCatalogueTest::SetUp();
    // The real parametric dialog makes its preview's scene.
    gltest::InstallSharedGlr(folder.Path());
    Recorder::Current() = &recorder;
    DialogSeams().producer = &Recorder::Producer;
    DialogSeams().parametric = &Recorder::Parametric;
  }
  void TearDown() override {
    DialogSeams() = DefaultDialogSeams();
    Recorder::Current() = nullptr;
    WizardCatalogueTest::TearDown();
  }
  void Settings(const std::string& lines) {
    std::ofstream(folder.Path() + "/Dat/Jov.ini", std::ios::binary) << "[VANTRIX]\r\n" << lines;
  }
  int Request(jovDatabase::Database* db, const char* id, const char* points = nullptr, const char* arg13 = "a",
              bool recalc = true) {
    if (db) {
      EXPECT_EQ(db->GoIndexID(id), jovDatabase::eOK);
    }
    geometry = data = reinterpret_cast<resbuf*>(&sentinel);
    auto export_ = recalc ? &PPDlg : &PPDlgNoInitialRecalc;
    return export_(nullptr, db, 1, &geometry, &data, nullptr, 0, 1000, 0, points, 1, "Q", "B", arg13, "G");
  }
  bool Untouched() const { return geometry == reinterpret_cast<const resbuf*>(&sentinel) && data == geometry; }

  ScopedRegistry registry;
  Recorder recorder;
  resbuf* geometry = nullptr;
  resbuf* data = nullptr;
  int sentinel = 0;
};

}  // namespace

TEST_F(ProductDialogs, EachResultOfTheTwoDialogsLeadsOn) {
  jovDatabase::Database* db = Catalogue(CatalogueOf('T', "Topení"), 'T', "TXD0001-0001");
  struct Case {
    const char* item;
    std::vector<INT_PTR> producer, parametric;
    int result;
    std::vector<std::string> calls;
  } const cases[] = {
      {"TXD0001-0001", {1}, {}, 1, {"producer"}},
      {"TXD0001-0001", {2}, {}, 2, {"producer"}},
      {"TXD0001-0001", {-1}, {}, 3, {"producer"}},
      // Handed over: the parametric dialog may go back, and going back shows
      // the producer dialog again, now as a retry.
      {"TXD0001-0001", {-3, 2}, {-4}, 2, {"producer", "parametric back of Maker", "producer retry"}},
      {"TXD0001-0001", {-3}, {1}, 1, {"producer", "parametric back of Maker"}},
      {"TXD0001-0001", {-2}, {7}, 7, {"producer", "parametric"}},
      {"TXD0001-0001", {0}, {-1}, -1, {"producer", "parametric"}},
      // The producer's data kept by the request before are not this one's.
      {"TXD0003-0001", {}, {2}, 2, {"parametric"}},
      // No producer and not parametric: placed without a dialog.
      {"TXD0002-0001", {-2}, {}, 1, {"producer"}},
      {"TXD0004-0001", {}, {}, 1, {}},
  };
  for (const Case& c : cases) {
    recorder = Recorder{};
    recorder.producerResults.assign(c.producer.begin(), c.producer.end());
    recorder.parametricResults.assign(c.parametric.begin(), c.parametric.end());
    const int result = Request(db, c.item);
    EXPECT_EQ(result, c.result) << c.item;
    EXPECT_EQ(recorder.calls, c.calls) << c.item;
    if (result == 1) {
      EXPECT_EQ(geometry, TheWizardApp().ResultChain1());
      EXPECT_EQ(data, TheWizardApp().ResultChain2());
      EXPECT_NE(data, nullptr);
    } else {
      EXPECT_TRUE(Untouched()) << c.item << ": the out-pointers are set only with 1";
    }
  }
}

TEST_F(ProductDialogs, TheProjectListSkipsTheProducerDialogInHeatingOnly) {
  Settings("VANTRIX_USE=1\r\n");
  jovDatabase::Database* heating = Catalogue(CatalogueOf('T', "Topení"), 'T', "TXD0001-0001");
  recorder.parametricResults = {2};
  EXPECT_EQ(Request(heating, "TXD0001-0001"), 2);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"parametric vantrix"}));

  Settings("VANTRIX_CAT=1\r\n");
  recorder = Recorder{};
  EXPECT_EQ(Request(heating, "TXD0001-0001"), 2);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"parametric"}));

  Settings("VANTRIX_USE=1\r\nVANTRIX_CAT=1\r\n");
  jovDatabase::Database* sanitary = Catalogue(CatalogueOf('Z', "Zdravotechnika"), 'Z', "ZXD0001-0001");
  recorder = Recorder{};
  recorder.producerResults = {2};
  EXPECT_EQ(Request(sanitary, "ZXD0001-0001"), 2);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"producer"}));
}

TEST_F(ProductDialogs, TheOneShotFlagLastsOneRequest) {
  jovDatabase::Database* db = Catalogue(CatalogueOf('T', "Topení"), 'T', "TXD0001-0001");
  setPPDisplayPP2OnlyWithValidProd();
  recorder.parametricResults = {2};
  EXPECT_EQ(Request(db, "TXD0001-0001", nullptr, nullptr, false), 2);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"parametric no-recalc"})) << "argument 13 is missing";
  recorder = Recorder{};
  EXPECT_EQ(Request(db, "TXD0001-0001", nullptr, nullptr), 2);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"producer"})) << "the flag is gone";
  setPPDisplayPP2OnlyWithValidProd();
  recorder = Recorder{};
  EXPECT_EQ(Request(db, "TXD0001-0001"), 2);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"producer"})) << "every text given";
}

TEST_F(ProductDialogs, WithoutADialogTheConnectionIsCheckedFirst) {
  jovDatabase::Database* db = Catalogue(CatalogueOf('T', "Topení"), 'T', "TXD0004-0001");
  EXPECT_EQ(Request(db, "TXD0004-0001", "0\n1\n25\nx\ny\nA\n0\n0\n"), 3);
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(TheWizardApp().ResultChain1(), nullptr);
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("sizes differ"), std::string::npos) << MessageTexts()[0];
  ASSERT_EQ(UiJournal()[0].box.type & MB_ICONMASK, MB_ICONERROR);

  ClearUiJournal();
  EXPECT_EQ(Request(db, "TXD0004-0001", "0\n1\n20.0\nx\ny\nA\n0\n0\n"), 1);
  EXPECT_TRUE(MessageTexts().empty());
  ASSERT_NE(geometry, nullptr);
  EXPECT_STREQ(geometry->value.text, "LINE");
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(data->value.text, "JOV_DATA");
  EXPECT_STREQ(data->next->value.text, "TXD0004-0001");
}

TEST_F(ProductDialogs, TheDialogsAsBuiltOpen) {
  DialogSeams() = DefaultDialogSeams();
  jovDatabase::Database* db = Catalogue(CatalogueOf('T', "Topení"), 'T', "TXD0001-0001");
  EXPECT_EQ(Request(db, "TXD0002-0001"), 3) << "the producer dialog failed: this catalogue names no choice fields";
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("names for the fields"), std::string::npos) << MessageTexts()[0];
  EXPECT_EQ(Request(db, "TXD0003-0001"), 2) << "the parametric dialog, given no input, was cancelled";
  int opened = 0;
  for (const UiEvent& e : UiJournal())
    if (e.kind == UiEvent::Kind::DialogOpened && e.dialog.templateId == 1006) ++opened;
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(Request(nullptr, nullptr), 3);
  EXPECT_TRUE(Untouched());
}
