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
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CJov_ExportDlg.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CUndoArray.h"
#include "jov_vantrix/tests/PluginResourcesTest.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/headless_driver.h"

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
    const std::string profile = folder_.Path() + "/";
    std::snprintf(TheApp().m_profileFolder, MAX_PATH, "%s", profile.c_str());
  }
  void TearDown() override {
    Close();
    TheApp().m_profileFolder[0] = '\0';
    PluginResourcesTest::TearDown();
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
    for (const Group& g : groups) {
      for (int i = 0; i < g.pipes; ++i)
        for (int type : {kObjectSupplyPipe, kObjectReturnPipe}) {
          auto* r = new CObjDataNew(kEntityLwPolyline, type, nullptr, index++);
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

  TempFolder folder_;
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
