// A dialog laid out from its pivot control: each child's anchor from where
// it lies beside the pivot, the children following the frame, and the
// layout kept under one value name of a settings store.
#include "common/ChildAnchors.h"

#include <memory>
#include <string>

#include "common/AnchorRule.h"
#include "common/resizeWnd.h"
#include "common/tests/UtilityDialogTest.h"
#include "platform/win32/profile.h"

using namespace utility_tests;

namespace {

constexpr char kSection[] = "WIZARD";
constexpr char kValueName[] = "PLACEMENT";

// The tests' dialog laid out from its letters box alone, as the wizard's
// resizable dialog is.
class PivotDialog : public CDialog, public resizeWnd {
 public:
  explicit PivotDialog(std::string settingsFile) : CDialog(IDD_UTILITIES), settings(std::move(settingsFile)) {}

  std::string settings;
  bool added = false;
  bool restored = false;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    InitSizes(this);
    added = AddAllControls(this, GetDlgItem(IDC_TYPE_LETTERS));
    prf_store store;
    store.Open(settings.c_str(), kSection);
    restored = RestoreWindowLayout(this, this, &store, kValueName, true);
    return TRUE;
  }
  afx_msg void OnDestroy() {
    prf_store store;
    store.Open(settings.c_str(), kSection);
    SaveWindowLayout(this, this, &store, kValueName);
    CDialog::OnDestroy();
  }
  afx_msg void OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    resizeWnd::OnSize(this, cx, cy, true, nullptr);
  }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info) {
    CDialog::OnGetMinMaxInfo(info);
    resizeWnd::OnGetMinMaxInfo(info);
  }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PivotDialog, CDialog)
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

class PivotLayout : public OpenDialogTest<PivotDialog> {
 protected:
  PivotDialog& Open() {
    Close();
    dialog = std::make_unique<PivotDialog>(settings);
    EXPECT_TRUE(dialog->Create(IDD_UTILITIES));
    return *dialog;
  }
  uint32_t AnchorOf(int id) const {
    for (INT_PTR i = 0; i < dialog->anchors.GetSize(); ++i)
      if (::GetDlgCtrlID(dialog->anchors[i].window) == id) return dialog->anchors[i].anchor;
    return 0xFFFFFFFF;
  }
  void Store(const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringA(kSection, kValueName, value.c_str(), settings.c_str()));
  }
  std::string Stored() const {
    char value[256] = "";
    GetPrivateProfileStringA(kSection, kValueName, "", value, sizeof value, settings.c_str());
    return value;
  }
};

}  // namespace

TEST(ChildAnchors, EachPlaceBesideThePivotHasItsAnchor) {
  const RECT pivot = {100, 100, 300, 200};
  struct Case {
    RECT child;
    uint32_t anchor;
    const char* place;
  };
  const Case cases[] = {
      {{50, 210, 150, 230}, 6, "below, starting left of its right edge"},
      {{299, 210, 350, 230}, 6, "below, starting just inside its right edge"},
      {{300, 210, 350, 230}, 12, "below, starting at its right edge"},
      {{50, 50, 150, 90}, 3, "above, left of its right edge"},
      {{300, 50, 350, 90}, 9, "above, at its right edge"},
      {{250, 120, 320, 140}, 15, "level, overlapping it"},
      {{10, 120, 100, 140}, 3, "level, ending at its left edge"},
      {{10, 120, 101, 140}, 15, "level, ending just inside it"},
      {{300, 120, 350, 140}, 9, "level, right of it"},
      {{50, 200, 150, 230}, 15, "starting on its bottom edge: level"},
      {{50, 50, 150, 100}, 15, "ending on its top edge: level"},
  };
  for (const Case& c : cases) EXPECT_EQ(AnchorOfChild(c.child, pivot, false), c.anchor) << c.place;
  EXPECT_EQ(AnchorOfChild(pivot, pivot, true), 15u);
}

TEST_F(PivotLayout, EveryChildFollowsTheFrameByItsPlaceBesideThePivot) {
  Open();
  ASSERT_TRUE(dialog->added);
  EXPECT_EQ(AnchorOf(IDC_TYPE_LETTERS), 15u) << "the pivot";
  EXPECT_EQ(AnchorOf(IDC_LEFT_PANE), 6u);
  EXPECT_EQ(AnchorOf(IDOK), 12u);
  EXPECT_EQ(AnchorOf(IDC_TYPE_ANY), 3u);
  EXPECT_EQ(AnchorOf(IDC_PICKER), 9u);
  EXPECT_EQ(dialog->anchors.GetSize(), 13) << "each direct child once";

  const CRect pane = Place(IDC_LEFT_PANE), ok = Place(IDOK), any = Place(IDC_TYPE_ANY), picker = Place(IDC_PICKER),
              pivot = Place(IDC_TYPE_LETTERS);
  const CRect frame = WindowRect();
  headless::SizeWindowAsUser(dialog->m_hWnd, frame.Width() + 100, frame.Height() + 50);
  EXPECT_EQ(Place(IDC_LEFT_PANE), CRect(pane.left, pane.top + 50, pane.right, pane.bottom + 50))
      << "below the pivot, left of its right edge: moves down and keeps its size";
  EXPECT_EQ(Place(IDOK), CRect(ok.left + 100, ok.top + 50, ok.right + 100, ok.bottom + 50));
  EXPECT_EQ(Place(IDC_TYPE_ANY), any);
  EXPECT_EQ(Place(IDC_PICKER), CRect(picker.left + 100, picker.top, picker.right + 100, picker.bottom));
  EXPECT_EQ(Place(IDC_TYPE_LETTERS).Width(), pivot.Width() + 100);

  // Added again: the entries held stay, new ones join.
  EXPECT_TRUE(dialog->AddAllControls(dialog.get(), dialog->GetDlgItem(IDC_TYPE_LETTERS)));
  EXPECT_EQ(dialog->anchors.GetSize(), 26);
  EXPECT_FALSE(dialog->AddAllControls(dialog.get(), nullptr));
  EXPECT_FALSE(dialog->AddAllControls(nullptr, dialog->GetDlgItem(IDC_TYPE_LETTERS)));
}

TEST_F(PivotLayout, TheLayoutComesBackUnderItsValueNameAtTheSameDotsPerInchOnly) {
  Open();
  EXPECT_FALSE(dialog->restored) << "nothing stored yet";
  const CRect first = WindowRect();
  headless::SizeWindowAsUser(dialog->m_hWnd, first.Width() + 80, first.Height() + 40);
  const CRect grown = WindowRect();
  Close();
  EXPECT_EQ(Stored(), std::to_string(grown.left) + ";" + std::to_string(grown.top) + ";" +
                          std::to_string(grown.Width()) + ";" + std::to_string(grown.Height()) + ";96;8")
      << "six numbers: no edge-linked controls";

  Open();
  EXPECT_TRUE(dialog->restored);
  EXPECT_EQ(WindowRect(), grown);
  Close();

  SetHeadlessMetrics({1920, 1080, 120});
  Open();
  EXPECT_FALSE(dialog->restored) << "saved at 96 dots per inch";
  EXPECT_EQ(WindowRect().Size(), first.Size());
}

TEST_F(PivotLayout, AStoredPlaceBeyondTheRightEdgeComesBackOnIt) {
  Store("1800;50;700;500;96;8");
  Open();
  ASSERT_TRUE(dialog->restored);
  EXPECT_EQ(WindowRect(), CRect(1920 - 700, 50, 1920, 550));
}

TEST_F(PivotLayout, ATooNarrowStoredSizeComesBackAtExactlyTheMinimum) {
  Open();
  const CSize minimum = WindowRect().Size();
  Close();
  Store("100;50;" + std::to_string(minimum.cx - 50) + ";" + std::to_string(minimum.cy + 300) + ";96;8");
  Open();
  ASSERT_TRUE(dialog->restored);
  EXPECT_EQ(WindowRect(), CRect(100, 50, 100 + minimum.cx, 50 + minimum.cy))
      << "both sides take the minimum together";
}
