// The resizable layout in the tests' dialog: anchored controls following
// the frame, the minimum size, edge-linked panes, and the saved layout.
#include "common/resizeWnd.h"

#include <memory>
#include <string>

#include "common/tests/UtilityDialogTest.h"
#include "common/WindowLayoutCodec.h"
#include "platform/mfc/CDC.h"
#include "platform/win32/profile.h"
#include "platform/win32/resources.h"

using namespace utility_tests;

namespace {

class ResizableDialog : public OpenDialogTest<UtilityDialog> {
 protected:
  UtilityDialog& Open(bool stackedPanes = false) {
    Close();
    dialog = std::make_unique<UtilityDialog>(settings);
    if (stackedPanes) dialog->registerMore = [this] { AddStackedPanes(); };
    EXPECT_TRUE(dialog->Create(IDD_UTILITIES));
    return *dialog;
  }
  void Grow(int dx, int dy) {
    const CRect r = WindowRect();
    headless::SizeWindowAsUser(dialog->m_hWnd, r.Width() + dx, r.Height() + dy);
  }
  void SaveLayout(const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringA(kLayoutSection, kLayoutKey, value.c_str(), settings.c_str()));
  }
  std::string SavedLayout() const {
    char value[512] = "";
    GetPrivateProfileStringA(kLayoutSection, kLayoutKey, "", value, sizeof value, settings.c_str());
    return value;
  }
  // The edge-linked entry of a control.
  resizeCtrl* Linked(int id, uint32_t group) {
    for (INT_PTR i = 0; i < dialog->anchors.GetSize(); ++i) {
      resizeCtrl& e = dialog->anchors[i];
      if (e.group == group && ::GetDlgCtrlID(e.window) == id) return &e;
    }
    return nullptr;
  }
  // Two list boxes stacked in the dialog sharing an edge: the top one's
  // bottom edge and the bottom one's top edge. The bottom one grows with
  // the dialog.
  void AddStackedPanes() {
    top = ::CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 500, 10, 80, 60,
                            dialog->m_hWnd, reinterpret_cast<HMENU>(intptr_t{kTopPane}), nullptr, nullptr);
    bottom = ::CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 500, 70, 80, 60,
                               dialog->m_hWnd, reinterpret_cast<HMENU>(intptr_t{kBottomPane}), nullptr, nullptr);
    dialog->AddControl(CWnd::FromHandle(bottom), Anchor::kTop | Anchor::kLeft | Anchor::kBottom, false);
    resizeCtrl upper, lower;
    upper.Set(CWnd::FromHandle(top), 0, CWnd::FromHandle(bottom), 3);
    lower.Set(CWnd::FromHandle(bottom), 0, CWnd::FromHandle(top), 1);
    dialog->anchors.Add(upper);
    dialog->anchors.Add(lower);
  }

  static constexpr int kTopPane = 7100;
  static constexpr int kBottomPane = 7101;
  HWND top = nullptr, bottom = nullptr;
};

}  // namespace

TEST_F(ResizableDialog, EnlargingMovesAndStretchesEachControlByItsAnchor) {
  Open();
  const CRect combo = Place(IDC_TYPE_DIGITS), browse = Place(IDC_BROWSE), ok = Place(IDOK),
              left = Place(IDC_LEFT_PANE), right = Place(IDC_RIGHT_PANE);
  Grow(120, 45);
  EXPECT_EQ(Place(IDC_TYPE_DIGITS), CRect(combo.left, combo.top, combo.right + 120, combo.bottom)) << "anchor 11";
  EXPECT_EQ(Place(IDC_BROWSE), browse + CPoint(120, 0)) << "anchor 9";
  EXPECT_EQ(Place(IDOK), ok + CPoint(120, 45)) << "anchor 12";
  EXPECT_EQ(Place(IDC_RIGHT_PANE), CRect(right.left, right.top, right.right + 120, right.bottom + 45)) << "anchor 15";
  EXPECT_EQ(Place(IDC_LEFT_PANE), CRect(left.left, left.top, left.right, left.bottom + 45));
  EXPECT_EQ(dialog->clientSize, dialog->clientAtInit + CSize(120, 45));
  // The edge-linked entries of a pane follow its anchored one.
  EXPECT_EQ(Linked(IDC_RIGHT_PANE, 2)->rect, Place(IDC_RIGHT_PANE));
}

TEST_F(ResizableDialog, ASizeWhileMinimisedChangesNothing) {
  Open();
  dialog->ShowWindow(SW_SHOW);
  Grow(60, 0);
  const CRect ok = Place(IDOK);
  const CSize before = dialog->clientSize;
  dialog->ShowWindow(SW_MINIMIZE);
  ASSERT_TRUE(dialog->IsIconic());
  EXPECT_EQ(dialog->clientSize, before);
  EXPECT_EQ(Place(IDOK), ok);
  dialog->ShowWindow(SW_RESTORE);
  EXPECT_EQ(Place(IDOK), ok) << "the next size is measured from the one before minimising";
  Grow(10, 20);
  EXPECT_EQ(Place(IDOK), ok + CPoint(10, 20));
}

TEST_F(ResizableDialog, TheDialogCannotBeDraggedSmallerThanAtInitialisation) {
  Open();
  const CRect initial = WindowRect();
  EXPECT_EQ(dialog->minWindowSize, initial.Size());
  headless::SizeWindowAsUser(dialog->m_hWnd, 120, 80);
  EXPECT_EQ(WindowRect().Size(), initial.Size());
  headless::SizeWindowAsUser(dialog->m_hWnd, initial.Width() + 30, 80);
  EXPECT_EQ(WindowRect().Size(), initial.Size() + CSize(30, 0)) << "each side on its own";
}

TEST_F(ResizableDialog, ReplacingAControlsEntriesAndNullControls) {
  Open();
  const INT_PTR before = dialog->anchors.GetSize();
  dialog->AddControl(nullptr, Anchor::kStretch, true);
  EXPECT_EQ(dialog->anchors.GetSize(), before);
  // The right pane has an anchored and an edge-linked entry: both go.
  dialog->AddControl(dialog->GetDlgItem(IDC_RIGHT_PANE), Anchor::kMoveWithCorner, true);
  EXPECT_EQ(dialog->anchors.GetSize(), before - 1);
  EXPECT_EQ(Linked(IDC_RIGHT_PANE, 2), nullptr);
  const CRect right = Place(IDC_RIGHT_PANE);
  Grow(40, 40);
  EXPECT_EQ(Place(IDC_RIGHT_PANE), right + CPoint(40, 40));
}

TEST_F(ResizableDialog, ASharedEdgeMovesNoFurtherThanTheNeighboursSizeAllows) {
  Open();
  const CRect left = Place(IDC_LEFT_PANE), right = Place(IDC_RIGHT_PANE);
  int delta = -20;
  dialog->ResizeLinked(dialog.get(), Linked(IDC_LEFT_PANE, 4), &delta, nullptr);
  EXPECT_EQ(Place(IDC_LEFT_PANE), left) << "the left pane is at its registered width: nothing moves";
  EXPECT_EQ(Place(IDC_RIGHT_PANE), right);

  Grow(100, 0);  // the right pane is now 100 wider than registered
  delta = 150;
  dialog->ResizeLinked(dialog.get(), Linked(IDC_LEFT_PANE, 4), &delta, nullptr);
  EXPECT_EQ(delta, 100) << "reduced until the right pane keeps its size";
  EXPECT_EQ(Place(IDC_LEFT_PANE), CRect(left.left, left.top, left.right + 100, left.bottom));
  EXPECT_EQ(Place(IDC_RIGHT_PANE), CRect(right.left + 100, right.top, right.right + 100, right.bottom));
  EXPECT_EQ(Linked(IDC_RIGHT_PANE, 2)->rect, Place(IDC_RIGHT_PANE));

  delta = -30;
  dialog->ResizeLinked(dialog.get(), Linked(IDC_RIGHT_PANE, 2), &delta, nullptr);
  EXPECT_EQ(delta, -30);
  EXPECT_EQ(Place(IDC_LEFT_PANE).right, left.right + 70) << "from the right pane's side the same edge moves";
  EXPECT_EQ(Place(IDC_RIGHT_PANE).left, right.left + 70);

  // Shrinking the dialog would make the right pane too narrow: the shared
  // edge gives way at the left pane's expense.
  Grow(-100, 0);
  EXPECT_EQ(Place(IDC_RIGHT_PANE).Width(), right.Width());
  EXPECT_EQ(Place(IDC_LEFT_PANE).right, left.right);
}

TEST_F(ResizableDialog, ALayoutSavedAtTheSameDotsPerInchComesBackMaximised) {
  SaveLayout("100;50;640;480;96;3");
  Open();
  EXPECT_TRUE(dialog->restored);
  EXPECT_TRUE(dialog->IsZoomed());
  EXPECT_TRUE(dialog->IsWindowVisible());
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  dialog->GetWindowPlacement(&placement);
  EXPECT_EQ(CRect(placement.rcNormalPosition), CRect(100, 50, 740, 530));

  Close();
  SetHeadlessMetrics({1920, 1080, 120});
  SaveLayout("100;50;640;480;96;3");
  UtilityDialog& other = Open();
  EXPECT_FALSE(other.restored) << "saved at another screen setting";
  EXPECT_FALSE(other.IsZoomed());
  EXPECT_EQ(WindowRect().Size(), other.minWindowSize) << "the template's size";
}

TEST_F(ResizableDialog, ShortLayoutsAndOtherShowCommandsShowTheDialogNormally) {
  for (const char* value : {"100;50;640;480;96", "100;50;640;480;96;1", "100;50;640;480;96;2"}) {
    Close();
    SaveLayout(value);
    Open();
    EXPECT_TRUE(dialog->restored) << value;
    EXPECT_TRUE(dialog->IsWindowVisible()) << value;
    EXPECT_FALSE(dialog->IsZoomed()) << value;
    EXPECT_FALSE(dialog->IsIconic()) << value << ": a dialog saved minimised opens usable";
    EXPECT_EQ(WindowRect(), CRect(100, 50, 740, 530)) << value;
  }
  Close();
  SaveLayout("100;50;640");
  Open();
  EXPECT_FALSE(dialog->restored) << "fewer than five entries";
  EXPECT_FALSE(dialog->IsWindowVisible()) << "not shown by the restore";
}

TEST_F(ResizableDialog, ARestoredLayoutStaysOnTheScreenAndAboveTheMinimum) {
  SaveLayout("100;900;640;480;96;8");
  Open();
  EXPECT_EQ(WindowRect(), CRect(100, 600, 740, 1080)) << "shifted up to end at the screen's bottom";

  Close();
  SaveLayout("20;30;100;900;96;8");
  Open();
  const CSize minimum = dialog->minWindowSize;
  ASSERT_GT(minimum.cx, 100);
  ASSERT_LT(minimum.cy, 900);
  EXPECT_EQ(WindowRect(), CRect(20, 30, 20 + minimum.cx, 30 + minimum.cy))
      << "too narrow: the width and the height take the minimum together";

  Close();
  SaveLayout("2147483600;30;640;480;96;8");
  Open();
  EXPECT_FALSE(dialog->restored) << "no screen reaches that far";
  EXPECT_EQ(WindowRect().Size(), minimum) << "the template's size";
}

TEST_F(ResizableDialog, AnIntegerKeyIsStoredAsItsTextForm) {
  Open();
  prf_store store;
  ASSERT_TRUE(store.Open(settings.c_str(), kLayoutSection));
  ASSERT_TRUE(SaveWindowLayout(dialog.get(), dialog.get(), &store, MAKEINTRESOURCEA(5005)));
  char value[256] = "";
  GetPrivateProfileStringA(kLayoutSection, "#5005_WINDOW_SIZE", "", value, sizeof value, settings.c_str());
  const CRect r = WindowRect();
  const std::string expected = std::to_string(r.left) + ";" + std::to_string(r.top) + ";" +
                               std::to_string(r.Width()) + ";" + std::to_string(r.Height()) + ";96;8;" +
                               std::to_string(IDC_RIGHT_PANE) + ";0";
  EXPECT_EQ(std::string(value), expected) << "the right pane's left edge: its id and width change";
  EXPECT_TRUE(RestoreWindowLayout(dialog.get(), dialog.get(), &store, MAKEINTRESOURCEA(5005), false));
}

TEST_F(ResizableDialog, TheSavedStateAndADialogBeyondTheScreen) {
  Open();
  dialog->ShowWindow(SW_SHOW);
  const CRect initial = WindowRect();
  const std::string normal = std::to_string(initial.left) + ";" + std::to_string(initial.top) + ";" +
                             std::to_string(initial.Width()) + ";" + std::to_string(initial.Height()) + ";96;";
  prf_store store;
  ASSERT_TRUE(store.Open(settings.c_str(), kLayoutSection));

  dialog->ShowWindow(SW_MINIMIZE);
  ASSERT_TRUE(SaveWindowLayout(dialog.get(), dialog.get(), &store, kLayoutKey));
  EXPECT_EQ(SavedLayout().rfind(normal + "2;", 0), 0u) << SavedLayout();
  dialog->ShowWindow(SW_RESTORE);
  dialog->ShowWindow(SW_MAXIMIZE);
  ASSERT_TRUE(SaveWindowLayout(dialog.get(), dialog.get(), &store, kLayoutKey));
  EXPECT_EQ(SavedLayout().rfind(normal + "3;", 0), 0u) << "the normal rectangle and the maximised state";
  dialog->ShowWindow(SW_RESTORE);
  ASSERT_FALSE(dialog->IsZoomed());

  // Moved beyond the right edge without a size change, so nothing was
  // recorded since: the placement recorded last is saved.
  dialog->MoveWindow(1800, 40, initial.Width(), initial.Height());
  ASSERT_TRUE(SaveWindowLayout(dialog.get(), dialog.get(), &store, kLayoutKey));
  EXPECT_EQ(SavedLayout().rfind(normal + "8;", 0), 0u) << SavedLayout();
}

TEST_F(ResizableDialog, SavedHeightsOfLinkedControlsComeBackByTheirId) {
  Open(true);
  Grow(0, 50);  // the bottom pane follows: 110 high
  int delta = 30;  // the shared edge 30 down: the top pane 90, the bottom one 80
  dialog->ResizeLinked(dialog.get(), Linked(kBottomPane, 1), &delta, nullptr);
  ASSERT_EQ(delta, 30);
  const CRect grown = WindowRect();
  CRect r;
  ::GetWindowRect(bottom, &r);
  ASSERT_EQ(r.Height(), 80);
  Close();  // saves the layout
  const std::string saved = SavedLayout();
  EXPECT_NE(saved.find(";" + std::to_string(static_cast<int>(0x80000000u | kBottomPane)) + ";20"), std::string::npos)
      << "the height change is saved with the control's id: " << saved;

  Open(true);
  ASSERT_TRUE(dialog->restored);
  EXPECT_EQ(WindowRect(), grown);
  ::GetWindowRect(bottom, &r);
  EXPECT_EQ(r.Height(), 80) << "grown with the dialog, then its saved height";
  ::GetWindowRect(top, &r);
  EXPECT_EQ(r.Height(), 90);
}
