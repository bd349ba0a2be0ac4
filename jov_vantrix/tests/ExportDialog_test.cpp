// The export dialog on networks built here: its numbering of segment
// groups (picks in any order, number all, undo, the OK state and its walk
// along the links, each with the first segment number typed in the dialog)
// and an OK whose file cannot be written after all.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CJov_ExportDlg.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CUndoArray.h"
#include "dataformat/tests/ChainFixtures.h"
#include "jov_vantrix/tests/PluginResourcesTest.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "objectgl/tests/GLTestSupport.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/headless_input.h"

namespace {

struct Group {
  const char* assoc;
  int pipes;  // supply pipes, each with its return pipe
  bool fixed;
};

class ExportDialog : public PluginResourcesTest {
 protected:
  void SetUp() override {
    PluginResourcesTest::SetUp();
    registry_ = std::make_unique<gltest::ScopedRegistry>(true);
    const std::string profile = folder_.Path() + "/";
    std::snprintf(TheApp().m_profileFolder, MAX_PATH, "%s", profile.c_str());
  }
  void TearDown() override {
    Close();
    TheApp().m_profileFolder[0] = '\0';
    PluginResourcesTest::TearDown();
    registry_.reset();
  }
  void Close() {
    if (dialog_ && dialog_->m_hWnd) dialog_->DestroyWindow();
    dialog_.reset();
    ClearUiJournal();
  }

  // The groups filed as the export reader files them, each pipe read as
  // numbered 1.. within its group, then the dialog opened on them.
  void Open(std::initializer_list<Group> groups, const char* first) {
    Fill(groups);
    ASSERT_TRUE(dialog_->Create(IDD_JOV_EXPORT));
    TypeFirstNumber(first);
  }
  void Fill(std::initializer_list<Group> groups) {
    Close();
    dialog_ = std::make_unique<CJov_ExportDlg>(nullptr);
    uint32_t index = 0;
    double y = 0.0;
    for (const Group& g : groups) {
      y += 2.0;
      for (int i = 0; i < g.pipes; ++i)
        for (int type : {kObjectSupplyPipe, kObjectReturnPipe}) {
          // A run along X, the return pipe 0.1 below the supply pipe.
          const double at = type == kObjectSupplyPipe ? y : y - 0.1;
          TestChain chain;
          chain.Text(0, "LWPOLYLINE").Text(8, "0").Point(10, 3.0 * i, at, 0).Point(10, 3.0 * i + 3, at, 0);
          auto* r = new CObjDataNew(kEntityLwPolyline, type, chain.Head(), index++);
          r->m_assoc = g.assoc;
          r->m_riserNumber = "1";
          r->SetReadNumber(i + 1);
          r->SetNumber(i + 1);
          r->SetReadConnect(i);
          r->SetConnect(i);
          Scheme().FileRecord(r);
        }
      Scheme().FindGroup(Scheme().GetGroupCount())->m_flagA = g.fixed;
    }
  }
  // Typed into the box, which then loses the focus.
  void TypeFirstNumber(const char* text) {
    dialog_->m_firstNumberBox.SetWindowText(text);
    ::SendMessageA(dialog_->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_FIRST_NUMBER, CBN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(dialog_->m_firstNumberBox.m_hWnd));
  }

  CSchSezNew& Scheme() { return dialog_->m_network.m_scheme; }
  // The numbers of a group's supply pipes.
  std::vector<int> Numbers(uint32_t group) {
    std::vector<int> out;
    for (CObjDataNew* r = Scheme().FindGroup(group)->GetFirstRecord(); r; r = r->GetNextRecord())
      if (r->m_objectType == kObjectSupplyPipe) out.push_back(r->GetNumber());
    return out;
  }
  // The smallest number of the numbered groups; 0 when none is.
  int Smallest() {
    int smallest = 0;
    for (CNumSezNew* g = Scheme().GetFirstGroup(); g; g = g->GetNextGroup())
      for (CObjDataNew* r = g->GetFirstRecord(); g->m_changed && r; r = r->GetNextRecord())
        if (smallest == 0 || r->GetNumber() < smallest) smallest = r->GetNumber();
    return smallest;
  }
  bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(dialog_->m_hWnd, id)); }
  int Steps() { return static_cast<int>(Scheme().m_pUndo->GetSize()); }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == UiEvent::Kind::MessageBox) out.push_back(e.box.text);
    return out;
  }

  // The preview's entities under each name: "material/width" of each
  // line, "text:material" of each label.
  std::map<uint32_t, std::vector<std::string>> Scene() {
    std::map<uint32_t, std::vector<std::string>> out;
    GLScene* scene = dialog_->m_preview.GetScene();
    uint32_t name = 0;
    for (uint32_t i = 0; scene && i < scene->GetEntityCount(); ++i) {
      GLEntity* e = scene->GetEntity(i);
      char item[64];
      if (auto* marker = GLDynamicCast<GLName>(e)) {
        name = marker->GetId();
        continue;
      }
      if (auto* text = GLDynamicCast<GLText>(e))
        std::snprintf(item, sizeof item, "%s:%u", text->GetLineCount() ? text->GetLine(0).c_str() : "",
                      text->GetMaterial());
      else
        std::snprintf(item, sizeof item, "%u/%g", e->GetMaterial(), e->GetLineWidth());
      out[name].push_back(item);
    }
    return out;
  }

  TempFolder folder_;
  std::unique_ptr<gltest::ScopedRegistry> registry_;  // where the scene library finds its resources
  std::unique_ptr<CJov_ExportDlg> dialog_;
};

}  // namespace

TEST_F(ExportDialog, PicksInAnyOrderNumberFromTheFirstNumberWithoutGapsOrRepeats) {
  std::array<uint32_t, 3> order{2, 3, 4};
  do {
    SCOPED_TRACE(testing::Message() << "picked " << order[0] << order[1] << order[2]);
    Open({{"R", 1, true}, {"A", 2, false}, {"B", 1, false}, {"C", 2, false}}, "10");
    std::vector<int> all;
    int next = 10;
    for (uint32_t group : order) {
      dialog_->OnPreviewPick(group - 1);
      EXPECT_EQ(Smallest(), 10);
      std::vector<int> numbers = Numbers(group);
      for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], next + static_cast<int>(i));
      EXPECT_EQ(Scheme().FindGroup(group)->GetFirstRecord()->GetConnect(), 0) << "a start, whatever came before";
      next += static_cast<int>(numbers.size());
      all.insert(all.end(), numbers.begin(), numbers.end());
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<int>{10, 11, 12, 13, 14}));
    EXPECT_EQ(Numbers(1), std::vector<int>{1}) << "the fixed group waits for OK";
    EXPECT_TRUE(Enabled(IDOK));
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(ExportDialog, PicksThatNumberNothing) {
  Open({{"R", 1, true}, {"A", 1, false}, {"B", 1, false}}, "5");
  dialog_->OnPreviewPick(0);  // fixed
  dialog_->OnPreviewPick(7);  // no such group
  EXPECT_EQ(Steps(), 0);
  dialog_->OnPreviewPick(1);
  dialog_->OnPreviewPick(1);  // numbered already
  EXPECT_EQ(Steps(), 1);
  EXPECT_EQ(Numbers(2), std::vector<int>{5});
  EXPECT_EQ(Scheme().m_nextFreeNumber, 6u);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ExportDialog, AClickOnAFixedGroupStartsNoNumbering) {
  Open({{"R", 1, true}, {"A", 1, false}}, "");
  // The preview reports a name above its pick limit exactly under the
  // cursor: fixed group 1 is name 10001.
  auto pick = [&](LPARAM id) {
    MSG msg{};
    msg.hwnd = dialog_->m_preview.m_hWnd;
    msg.message = CMyViewJovGL::kPickMessage;
    msg.lParam = id;
    return static_cast<CWnd*>(dialog_.get())->PreTranslateMessage(&msg);
  };
  EXPECT_TRUE(pick(10000));
  EXPECT_TRUE(Messages().empty()) << "nothing to number, nothing missing";
  EXPECT_EQ(Steps(), 0);
  EXPECT_TRUE(pick(1));
  EXPECT_EQ(Messages().size(), 1u) << "a pickable group without a first number";
  EXPECT_EQ(Steps(), 0);
}

TEST_F(ExportDialog, NumberAllTakesTheGroupsFromTheLastAndKeepsTheFirstNumber) {
  struct Case {
    const char* first;
    std::vector<int> group1, group2, group3;
  };
  const Case cases[] = {
      {"1", {5, 6}, {3, 4}, {1, 2}},
      // Above 1 the counter starts there: no repeats, no gaps.
      {"3", {7, 8}, {5, 6}, {3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    Open({{"A", 2, false}, {"B", 2, false}, {"C", 2, false}}, c.first);
    EXPECT_FALSE(Enabled(IDOK));
    dialog_->OnNumberAll();
    EXPECT_EQ(Numbers(1), c.group1);
    EXPECT_EQ(Numbers(2), c.group2);
    EXPECT_EQ(Numbers(3), c.group3);
    ASSERT_EQ(Steps(), 3);
    EXPECT_EQ(Scheme().m_pUndo->GetAt(0)->groupIndex, 2) << "group 3 first";
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_TRUE(Enabled(IDC_EXPORT_UNDO));
    EXPECT_FALSE(Enabled(IDC_EXPORT_FIRST_NUMBER));
  }
}

TEST_F(ExportDialog, UndoGivesTheNumbersBackAndReopensTheFirstNumber) {
  Open({{"R", 1, true}, {"A", 1, false}, {"B", 2, false}, {"C", 1, false}}, "10");
  EXPECT_TRUE(Enabled(IDC_EXPORT_FIRST_NUMBER));
  EXPECT_FALSE(Enabled(IDC_EXPORT_UNDO));
  dialog_->OnPreviewPick(2);
  dialog_->OnPreviewPick(1);
  EXPECT_FALSE(Enabled(IDC_EXPORT_FIRST_NUMBER));
  EXPECT_FALSE(Enabled(IDOK)) << "group 4 is not numbered";
  EXPECT_EQ(Numbers(3), (std::vector<int>{10, 11}));
  EXPECT_EQ(Numbers(2), std::vector<int>{12});

  dialog_->OnUndoStep();
  EXPECT_EQ(Numbers(2), std::vector<int>{1});
  EXPECT_TRUE(Enabled(IDC_EXPORT_UNDO));
  dialog_->OnUndoStep();
  EXPECT_EQ(Numbers(3), (std::vector<int>{1, 2}));
  EXPECT_EQ(Steps(), 0);
  EXPECT_TRUE(Enabled(IDC_EXPORT_FIRST_NUMBER));
  EXPECT_FALSE(Enabled(IDC_EXPORT_UNDO));
  dialog_->OnUndoStep();  // nothing left
  EXPECT_EQ(Steps(), 0);

  // A new first number counts from the start again.
  TypeFirstNumber("20");
  dialog_->OnPreviewPick(3);
  EXPECT_EQ(Numbers(4), std::vector<int>{20});
}

TEST_F(ExportDialog, ANetworkOfFixedGroupsCanBeConfirmedAtOnce) {
  Open({{"R", 1, true}, {"S", 2, true}}, "1");
  EXPECT_TRUE(Enabled(IDOK));
  dialog_->OnNumberAll();
  EXPECT_EQ(Steps(), 0);
  EXPECT_TRUE(Enabled(IDOK));
  EXPECT_TRUE(Enabled(IDC_EXPORT_FIRST_NUMBER)) << "nothing to undo";
}

TEST_F(ExportDialog, NoCounterFromAnEmptyOrZeroFirstNumber) {
  for (const char* first : {"0", ""}) {
    SCOPED_TRACE(std::string("first number '") + first + "'");
    Open({{"A", 1, false}, {"B", 1, false}}, first);
    dialog_->OnPreviewPick(0);
    dialog_->OnNumberAll();
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(Numbers(1), std::vector<int>{1});
    const std::vector<std::string> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("The number is missing", 0), 0u) << messages[0];
  }
}

TEST_F(ExportDialog, TheOkStateWalksTheLinksOnceAndSkipsUnlinkedRecords) {
  Open({{"R", 2, true}}, "1");
  CNumSezNew* riser = Scheme().FindGroup(1);
  std::vector<CObjDataNew*> r;
  for (CObjDataNew* x = riser->GetFirstRecord(); x; x = x->GetNextRecord()) r.push_back(x);
  // r: supply 1, return 1, supply 2, return 2 (read connects 0, 0, 1, 1).
  CObjDataNew above(kEntityLwPolyline, kObjectSupplyPipe, nullptr, 99);
  above.SetNumber(7);
  riser->m_pPreviousRecord = r[2];
  r[2]->m_pLinkA = r[2]->m_pFurther1 = &above;
  r[2]->m_pLinkB = r[0];
  r[0]->m_pLinkB = r[2];  // back to where the walk began
  dialog_->UpdateOkState();
  EXPECT_EQ(r[2]->GetConnect(), 7);
  EXPECT_EQ(r[1]->GetConnect(), 7) << "the return pipe read as its number";
  EXPECT_EQ(r[0]->GetConnect(), 0) << "no link A: passed over";
  EXPECT_EQ(r[3]->GetConnect(), 1);
  r[2]->m_pLinkA = r[2]->m_pFurther1 = nullptr;
}

TEST_F(ExportDialog, AFileThatCannotBeWrittenAfterAllCancelsTheExport) {
  Fill({{"A", 2, false}});
  // Floor-plan pipes the section pipes stand for.
  CObjSezNew& network = dialog_->m_network;
  for (int type : {kObjectSupplyPipe, kObjectReturnPipe}) {
    auto* floorPlan = new CObjDataNew(kEntityLwPolyline, type, nullptr, 100);
    floorPlan->m_linkHandle = "4123";
    network.m_heldRecords.AddTail(floorPlan);
    network.m_unassociatedRecords.Add(floorPlan);
  }
  for (CObjDataNew* r = Scheme().GetFirstGroup()->GetFirstRecord(); r; r = r->GetNextRecord()) r->m_linkHandle = "4123";

  const std::string file = folder_.File("out/F.txt");
  std::filesystem::create_directories(folder_.File("out"));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  signal(SIGXFSZ, SIG_IGN);
  HeadlessDriver driver;
  ScopedUiDriver scoped(&driver);
  // The disk fills up between the check and the writing: empty files are
  // made, the exchange file is not.
  driver.OnDialog(IDD_JOV_EXPORT, {DialogAction::Set(IDC_EXPORT_FILE, file), DialogAction::Click(IDC_EXPORT_NUMBER_ALL),
                                   DialogAction::Run([&](HWND) {
                                     rlimit small = saved;
                                     small.rlim_cur = 16;
                                     setrlimit(RLIMIT_FSIZE, &small);
                                   }),
                                   DialogAction::Ok()});
  driver.AnswerMessageBox(IDOK);
  const INT_PTR result = dialog_->DoModal();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(result, IDCANCEL);
  for (const UiEvent& e : UiJournal()) EXPECT_NE(e.kind, UiEvent::Kind::DialogRanOut) << "ended by OK itself";
  const std::vector<std::string> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\"" + file + "\" cannot be written"), std::string::npos) << messages[0];
  EXPECT_TRUE(std::filesystem::is_empty(folder_.File("out"))) << "neither the file nor a part of it";
}

TEST_F(ExportDialog, ThePreviewShowsTheGroupsAndFollowsTheirNumbering) {
  // The product library need only be there; no insert asks it here.
  struct Bound {
    Bound() { TheApp().m_pPPGetResbufEx = [](auto...) { return 2; }; }
    ~Bound() { TheApp().m_pPPGetResbufEx = nullptr; }
  } bound;
  Fill({{"R", 1, true}, {"A", 1, false}, {"B", 1, false}});
  Scheme().FindGroup(2)->m_class = 2;
  ASSERT_TRUE(dialog_->Create(IDD_JOV_EXPORT));
  TypeFirstNumber("10");
  using Items = std::vector<std::string>;
  std::map<uint32_t, Items> scene = Scene();
  EXPECT_EQ(scene.size(), 3u);
  EXPECT_EQ(scene[10001], (Items{"1/0.5", "5/0.5"})) << "the fixed group, not pickable, in the pipes' colours";
  EXPECT_EQ(scene[2], (Items{"254/2", "254/2", "1:254"})) << "class 2, labelled with its number";
  EXPECT_EQ(scene[3], (Items{"7/2", "7/2", "1:7"}));

  // A click on group 3 numbers it: recoloured and relabelled.
  POINT at{};
  ASSERT_TRUE(dialog_->m_preview.FindPickPoint(3, &at));
  headless::QueueClick(dialog_->m_preview.m_hWnd, at);
  Pump();
  EXPECT_EQ(Numbers(3), std::vector<int>{10});
  EXPECT_EQ(Scene()[3], (Items{"1/2", "5/2", "10:7"}));
  dialog_->OnUndoStep();
  EXPECT_EQ(Scene()[3], (Items{"7/2", "7/2", "1:7"}));
  // A click right on the fixed group reaches the dialog, which numbers
  // nothing: its name is no group.
  if (dialog_->m_preview.FindPickPoint(10001, &at)) {
    headless::QueueClick(dialog_->m_preview.m_hWnd, at);
    Pump();
  }
  EXPECT_EQ(Steps(), 0);
  EXPECT_EQ(Numbers(1), std::vector<int>{1});
  EXPECT_EQ(Scene()[10001], (Items{"1/0.5", "5/0.5"}));
}

TEST_F(ExportDialog, TheBackgroundComesFromTheViewSettings) {
  struct Bound {
    Bound() { TheApp().m_pPPGetResbufEx = [](auto...) { return 2; }; }
    ~Bound() { TheApp().m_pPPGetResbufEx = nullptr; }
  } bound;
  std::filesystem::create_directories(folder_.File("Dat"));
  const struct {
    const char* value;
    uint32_t scheme;
  } cases[] = {{"1", 1}, {"2", 2}, {"grey", 0}, {"", 0}, {"3", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    // Each dialog starts from the scheme the last one left (3 changes none).
    folder_.Write("Dat/Jov.ini", std::string("[VIEW]\r\nBGCOLOR=") + c.value + "\r\n");
    Fill({{"A", 1, false}});
    if (std::string(c.value) == "3") dialog_->m_preview.SetBackground(2, false);
    ASSERT_TRUE(dialog_->Create(IDD_JOV_EXPORT));
    EXPECT_EQ(dialog_->m_preview.GetBackground(), c.scheme);
  }
}
