// Framework windows outside dialogs: which handler a message reaches
// (own map, base map, reflection with and without the parent seeing it,
// ranges), subclassing a window made elsewhere, timers, the module state
// handlers run under, painting through a device context, and windows that
// delete their own object.
#include <string>
#include <vector>

#include "platform/mfc/CButton.h"
#include "platform/mfc/CDC.h"
#include "platform/mfc/CEdit.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/virtual_keys.h"

namespace {

std::vector<std::string>& Heard() {
  static std::vector<std::string> heard;
  return heard;
}

// A button that hears its own click and lets the parent hear it too when
// asked to.
class SharingButton : public CButton {
 public:
  BOOL share = FALSE;

 protected:
  afx_msg BOOL OnClicked() {
    Heard().push_back("button " + std::to_string(GetDlgCtrlID()));
    return !share;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SharingButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, &SharingButton::OnClicked)
END_MESSAGE_MAP()

class KeyList : public CListCtrl {
 public:
  BOOL share = FALSE;

 protected:
  afx_msg BOOL OnKey(NMHDR* header, LRESULT* result) {
    Heard().push_back("list key " + std::to_string(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey));
    *result = 0;
    return !share;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyList, CListCtrl)
  ON_NOTIFY_REFLECT_EX(LVN_KEYDOWN, &KeyList::OnKey)
END_MESSAGE_MAP()

class BaseFrame : public CWnd {
 public:
  UINT_PTR lastTimer = 0;
  int timers = 0;

 protected:
  afx_msg void OnTimer(UINT_PTR id) {
    lastTimer = id;
    ++timers;
  }
  afx_msg LRESULT OnPrivate(WPARAM wParam, LPARAM) {
    Heard().push_back("base private " + std::to_string(wParam));
    return 10;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseFrame, CWnd)
  ON_WM_TIMER()
  ON_MESSAGE(WM_APP + 1, &BaseFrame::OnPrivate)
  ON_MESSAGE(WM_APP + 2, &BaseFrame::OnPrivate)
END_MESSAGE_MAP()

class Frame : public BaseFrame {
 public:
  SharingButton first, second;
  KeyList list;
  CButton plain[3];
  const AFX_MODULE_STATE* stateInHandler = nullptr;

  void Build() {
    CreateEx(0, AfxRegisterWndClass(0), "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 610, 410), nullptr,
             0);
    first.Create("First", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 5, 80, 30), this, 101);
    second.Create("Second", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(85, 5, 160, 30), this, 102);
    for (int i = 0; i < 3; ++i)
      plain[i].Create("Plain", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5 + 80 * i, 40, 80 + 80 * i, 65), this,
                      201 + i);
    list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(5, 80, 300, 300), this, 300);
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertItem(0, "one");
  }

 protected:
  afx_msg void OnFirst() { Heard().push_back("frame 101"); }
  afx_msg void OnPlain(UINT id) { Heard().push_back("frame range " + std::to_string(id)); }
  afx_msg void OnListKey(NMHDR* header, LRESULT* result) {
    Heard().push_back("frame list key " + std::to_string(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey));
    *result = 0;
  }
  afx_msg LRESULT OnOwnPrivate(WPARAM, LPARAM) {
    stateInHandler = AfxGetModuleState();
    return 20;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, BaseFrame)
  ON_BN_CLICKED(101, &Frame::OnFirst)
  ON_BN_CLICKED(102, &Frame::OnFirst)
  ON_CONTROL_RANGE(BN_CLICKED, 201, 202, &Frame::OnPlain)
  ON_NOTIFY(LVN_KEYDOWN, 300, &Frame::OnListKey)
  ON_MESSAGE(WM_APP + 2, &Frame::OnOwnPrivate)
END_MESSAGE_MAP()

class FrameworkWindows : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    Heard().clear();
  }
};

void Click(CWnd& button) {
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

}  // namespace

TEST_F(FrameworkWindows, ReflectedNotificationsReachTheParentOnlyWhenTheControlSharesThem) {
  Frame frame;
  frame.Build();
  Click(frame.first);
  frame.second.share = TRUE;
  Click(frame.second);
  const std::vector<std::string> clicks = {"button 101", "button 102", "frame 101"};
  EXPECT_EQ(Heard(), clicks);

  Heard().clear();
  frame.list.SetFocus();
  frame.list.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  frame.list.share = TRUE;
  frame.list.SendMessage(WM_KEYDOWN, VK_INSERT, 0);
  const std::vector<std::string> keys = {"list key " + std::to_string(VK_DELETE),
                                         "list key " + std::to_string(VK_INSERT),
                                         "frame list key " + std::to_string(VK_INSERT)};
  EXPECT_EQ(Heard(), keys);
  frame.DestroyWindow();
}

TEST_F(FrameworkWindows, RangesAndBaseMapsAnswerWhatTheClassDoesNotList) {
  Frame frame;
  frame.Build();
  for (CButton& b : frame.plain) Click(b);
  const std::vector<std::string> clicks = {"frame range 201", "frame range 202"};
  EXPECT_EQ(Heard(), clicks) << "203 is outside the range";

  Heard().clear();
  EXPECT_EQ(frame.SendMessage(WM_APP + 1, 7), 10) << "from the base class's map";
  EXPECT_EQ(frame.SendMessage(WM_APP + 2, 7), 20) << "the derived entry wins";
  EXPECT_EQ(Heard(), std::vector<std::string>{"base private 7"});
  EXPECT_EQ(frame.SendMessage(WM_APP + 3), 0) << "unlisted: the default procedure";

  frame.SetTimer(5, 100, nullptr);
  headless::FireTimers();
  AfxPumpPendingMessages();
  EXPECT_EQ(frame.timers, 1);
  EXPECT_EQ(frame.lastTimer, 5u);
  frame.KillTimer(5);
  headless::FireTimers();
  AfxPumpPendingMessages();
  EXPECT_EQ(frame.timers, 1);
  frame.DestroyWindow();
}

TEST_F(FrameworkWindows, HandlersRunUnderTheModuleThatMadeTheWindow) {
  Frame frame;
  frame.Build();
  AFX_MODULE_STATE other{};
  other.m_lpszCurrentAppName = "Other";
  AFX_MODULE_STATE* before = AfxSetModuleState(&other);
  EXPECT_EQ(frame.SendMessage(WM_APP + 2), 20);
  EXPECT_EQ(frame.stateInHandler, &state_);
  EXPECT_EQ(AfxGetModuleState(), &other) << "the caller's state comes back";
  AfxSetModuleState(before);
  frame.DestroyWindow();
}

TEST_F(FrameworkWindows, ASubclassedWindowHearsItsMapFirstAndTheOldProcedureAfter) {
  HWND parent = TopLevel();
  HWND made = Child(parent, 55, {0, 0, 50, 20}, WS_VISIBLE, "Button", "Plain");
  SharingButton wrapper;
  ASSERT_TRUE(wrapper.SubclassWindow(made));
  EXPECT_EQ(CWnd::FromHandlePermanent(made), &wrapper);
  EXPECT_EQ(wrapper.GetDlgCtrlID(), 55);
  wrapper.SetWindowText("Changed");
  char text[32] = "";
  ::GetWindowTextA(made, text, sizeof text);
  EXPECT_STREQ(text, "Changed") << "the button's own procedure keeps its text";
  // The recording parent is no framework window: nothing reflects, so the
  // button's reflected handler stays silent.
  Click(wrapper);
  EXPECT_TRUE(Heard().empty());
  EXPECT_EQ(testing_support::SeenBy(parent, WM_COMMAND).size(), 1u);

  EXPECT_EQ(wrapper.UnsubclassWindow(), made);
  EXPECT_EQ(wrapper.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(made), nullptr);
  ::SetWindowTextA(made, "Again");
  ::GetWindowTextA(made, text, sizeof text);
  EXPECT_STREQ(text, "Again");
}

namespace {

class Canvas : public CWnd {
 public:
  int paints = 0;

 protected:
  afx_msg void OnPaint() {
    ++paints;
    CPaintDC dc(this);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* old = dc.SelectObject(&red);
    dc.MoveTo(1, 2);
    dc.LineTo(30, 40);
    dc.SelectObject(old);
    dc.SetTextColor(RGB(0, 0, 255));
    dc.TextOut(5, 6, CString("V\xFDkres"));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Canvas, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// Deletes itself as its window goes, as modeless framework windows do.
class SelfDeleting : public CWnd {
 public:
  static int alive;
  SelfDeleting() { ++alive; }
  ~SelfDeleting() override { --alive; }

 protected:
  void PostNcDestroy() override { delete this; }
};
int SelfDeleting::alive = 0;

}  // namespace

TEST_F(FrameworkWindows, PaintingGoesThroughTheDeviceContextIntoTheJournal) {
  HWND parent = TopLevel();
  Canvas canvas;
  ASSERT_TRUE(canvas.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 90), CWnd::FromHandle(parent), 7));
  canvas.UpdateWindow();
  ASSERT_EQ(canvas.paints, 1) << "a new visible window paints once";
  canvas.UpdateWindow();
  EXPECT_EQ(canvas.paints, 1) << "nothing left to paint";

  ClearDrawingJournal();
  canvas.InvalidateRect(CRect(0, 0, 10, 10));
  AfxPumpPendingMessages();
  EXPECT_EQ(canvas.paints, 2);
  std::vector<GdiRecord> drawn = DrawingJournal(canvas.m_hWnd);
  std::vector<std::string> ops;
  for (const GdiRecord& r : drawn)
    if (r.op == "LineTo" || r.op == "TextOutA") ops.push_back(r.op);
  ASSERT_EQ(ops, (std::vector<std::string>{"LineTo", "TextOutA"}));
  for (const GdiRecord& r : drawn) {
    if (r.op == "LineTo") {
      EXPECT_EQ(r.args, (std::vector<int>{1, 2, 30, 40})) << "from the current point to the end";
      EXPECT_EQ(r.color, RGB(255, 0, 0));
    }
    if (r.op == "TextOutA") {
      EXPECT_EQ(r.text, "V\xFDkres") << "code page 1250";
      EXPECT_EQ(r.color, RGB(0, 0, 255));
    }
  }
  CRect update;
  EXPECT_FALSE(canvas.GetUpdateRect(&update)) << "painting validated the window";
  canvas.DestroyWindow();
}

TEST_F(FrameworkWindows, AWindowThatOwnsItsObjectDeletesItWhenDestroyedWithItsParent) {
  HWND parent = TopLevel();
  auto* child = new SelfDeleting;
  ASSERT_TRUE(child->Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), CWnd::FromHandle(parent), 1));
  EXPECT_EQ(SelfDeleting::alive, 1);
  ::DestroyWindow(parent);
  EXPECT_EQ(SelfDeleting::alive, 0);
}

TEST_F(FrameworkWindows, TemporaryObjectsStandForWindowsTheFrameworkDidNotMake) {
  HWND parent = TopLevel();
  HWND button = Child(parent, 9, {0, 0, 40, 20}, WS_VISIBLE, "Button");
  CWnd* wrapped = CWnd::FromHandle(button);
  ASSERT_NE(wrapped, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(button), nullptr);
  EXPECT_TRUE(wrapped->IsKindOf(RUNTIME_CLASS(CButton)));
  EXPECT_EQ(CWnd::FromHandle(button), wrapped) << "one object per window while it lives";
  EXPECT_EQ(wrapped->GetParent()->m_hWnd, parent);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

namespace {

// An editor over a list cell: it writes its text back and goes away when it
// loses the focus, from inside its own notification.
class CellEditor : public CEdit {
 public:
  CListCtrl* list = nullptr;
  int row = 0, column = 0;
  int keysSeen = 0;

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd) {
      ++keysSeen;
      if (msg->wParam == VK_RETURN) {
        list->SetFocus();
        return TRUE;
      }
    }
    return CEdit::PreTranslateMessage(msg);
  }

 protected:
  afx_msg void OnKillFocus() {
    CString text;
    GetWindowText(text);
    list->SetItemText(row, column, text);
    DestroyWindow();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CellEditor, CEdit)
  ON_CONTROL_REFLECT(EN_KILLFOCUS, &CellEditor::OnKillFocus)
END_MESSAGE_MAP()

}  // namespace

TEST_F(FrameworkWindows, AnEditorOverAListCellWritesBackAndGoesWhenItLosesTheFocus) {
  Frame frame;
  frame.Build();
  frame.list.InsertColumn(1, "Size", LVCFMT_LEFT, 80);
  frame.list.SetItemText(0, 1, "15");
  CRect cell;
  ASSERT_TRUE(frame.list.GetSubItemRect(0, 1, LVIR_LABEL, cell));
  EXPECT_EQ(cell.left, 100) << "after the first column";

  CellEditor editor;
  editor.list = &frame.list;
  editor.column = 1;
  ASSERT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell, &frame.list, 1));
  editor.SetWindowText(frame.list.GetItemText(0, 1));
  editor.SetFocus();
  editor.SetSel(0, -1);
  headless::QueueText("42");
  headless::QueueKey(VK_RETURN);
  AfxPumpPendingMessages();

  EXPECT_EQ(editor.keysSeen, 3) << "two characters and Enter, each seen before the edit";
  EXPECT_EQ(editor.m_hWnd, nullptr) << "gone";
  EXPECT_EQ(frame.list.GetItemText(0, 1), "42");
  EXPECT_EQ(CWnd::GetFocus(), &frame.list);
  frame.DestroyWindow();
}
