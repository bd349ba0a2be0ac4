// The section preview painted in the section dialogs' templates, read back
// from the drawing journal: its layout, the flags, the pipe switch, the
// erased background and the clicks it swallows.
#include "jov_vantrix/section/CViewBtn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "jov_vantrix/tests/PluginResourcesTest.h"
#include "platform/mfc/CDialog.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/driver/window_pictures.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A section dialog that counts the clicks its controls report.
class CountingDialog : public CDialog {
 public:
  int previewClicks = 0;
  int helpClicks = 0;

 protected:
  afx_msg void OnPreview() { ++previewClicks; }
  afx_msg void OnHelpButton() { ++helpClicks; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingDialog, CDialog)
  ON_BN_CLICKED(IDC_CUT_PREVIEW, &CountingDialog::OnPreview)
  ON_BN_CLICKED(IDC_CUT_HELP, &CountingDialog::OnHelpButton)
END_MESSAGE_MAP()

class SectionPreview : public PluginResourcesTest, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    PluginResourcesTest::SetUp();
    ASSERT_TRUE(dialog.Create(GetParam()));
    dialog.ShowWindow(SW_SHOW);
    ASSERT_TRUE(preview.SubclassDlgItem(IDC_CUT_PREVIEW, &dialog));
    preview.MoveWindow(10, 10, 350, 200);
  }
  void TearDown() override {
    if (dialog.m_hWnd) dialog.DestroyWindow();
    PluginResourcesTest::TearDown();
  }

  // What one paint of the preview drew.
  std::vector<GdiRecord> Paint() {
    ClearDrawingJournal();
    preview.Invalidate();
    preview.UpdateWindow();
    return DrawingJournal(preview.m_hWnd);
  }
  static std::vector<std::string> TextsOf(const std::vector<GdiRecord>& drawn) {
    std::vector<std::string> texts;
    for (const GdiRecord& r : drawn)
      if (r.op == "TextOutA") texts.push_back(r.text);
    std::sort(texts.begin(), texts.end());
    return texts;
  }
  static const GdiRecord* Find(const std::vector<GdiRecord>& drawn, const std::string& op, std::vector<int> args) {
    for (const GdiRecord& r : drawn)
      if (r.op == op && r.args == args) return &r;
    return nullptr;
  }
  void AllFlags(int on) {
    preview.SetSameLength(on);
    preview.SetSameHeight(on);
    preview.SetDescriptions(on);
    preview.SetFloor(on);
  }

  CountingDialog dialog;
  CViewBtn preview;
};

}  // namespace

TEST_P(SectionPreview, A350By200ButtonPlacesItsRiserFloorAndBoxes) {
  const std::vector<GdiRecord> drawn = Paint();
  // Erased with the button face, then framed in black.
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].op + " " + drawn[1].op, "FillRect FrameRect");
  EXPECT_EQ(drawn[0].color, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(drawn[1].color, RGB(0, 0, 0));
  EXPECT_EQ(drawn[0].args, (std::vector<int>{0, 0, 350, 200}));
  EXPECT_EQ(drawn[1].args, drawn[0].args);

  const CViewBtn::Layout& l = preview.GetLayout();
  EXPECT_EQ((std::vector<int>{l.riserX, l.floorY, l.branchReach, l.gap, l.riserSpacing, l.boxWidth, l.boxHeight,
                              l.boxLift}),
            (std::vector<int>{116, 150, 35, 43, 10, 35, 26, 35}));

  // Boxes 1, 2 and 3 stand on yF - d = 115 and are 26 high.
  std::vector<std::vector<int>> boxes;
  for (const GdiRecord& r : drawn)
    if (r.op == "Rectangle") boxes.push_back(r.args);
  EXPECT_EQ(boxes, (std::vector<std::vector<int>>{{46, 89, 81, 115}, {161, 89, 196, 115}, {239, 89, 274, 115}}));
  const GdiRecord* floor = Find(drawn, "LineTo", {11, 150, 315, 150});
  ASSERT_NE(floor, nullptr) << "the floor line from mL to xR";
  EXPECT_EQ(floor->color, RGB(0, 0, 0));
  const GdiRecord* riser = Find(drawn, "LineTo", {116, 150, 116, 46});
  ASSERT_NE(riser, nullptr) << "the first riser up to mT + t";
  EXPECT_EQ(riser->color, kRed);
  const GdiRecord* second = Find(drawn, "LineTo", {126, 150, 126, 46});
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->color, kBlue);
  EXPECT_NE(Find(drawn, "Ellipse", {113, 12, 129, 28}), nullptr) << "the riser bubble, r = t / 4";

  // Texts at their reference points: "A" bottom centre under the first
  // dimension, "E" bottom left over the pipe distance, "C" top left.
  const struct {
    const char* text;
    std::vector<int> at;
    UINT align;
  } texts[] = {{"A", {99, 174}, TA_BOTTOM | TA_CENTER},
               {"B", {217, 174}, TA_BOTTOM | TA_CENTER},
               {"E", {136, 62}, TA_BOTTOM | TA_LEFT},
               {"C", {304, 127}, TA_TOP | TA_LEFT},
               {"1NP", {22, 134}, TA_BOTTOM | TA_LEFT}};
  for (const auto& t : texts) {
    auto it = std::find_if(drawn.begin(), drawn.end(), [&](const GdiRecord& r) { return r.text == t.text; });
    ASSERT_NE(it, drawn.end()) << t.text;
    EXPECT_EQ(it->args, t.at) << t.text;
    EXPECT_EQ(it->textAlign, t.align) << t.text;
  }
}

// The button's picture shows the example where the layout puts it: the
// frame, floor, risers and boxes, the dimension lines with their arrows and
// the texts in their colours at their reference points.
TEST_P(SectionPreview, ThePictureShowsTheExampleInPlace) {
  AllFlags(1);
  WindowPicture picture;
  // The button alone: the fixture moved it over other controls.
  ASSERT_TRUE(PaintWindowPicture(preview.m_hWnd, &picture));
  ASSERT_EQ(picture.width, 350);
  ASSERT_EQ(picture.height, 200);
  const CPoint at(0, 0);
  using Test = bool (*)(uint32_t);
  const Test black = [](uint32_t c) { return c == 0; };
  const Test red = [](uint32_t c) { return c == 0xFF0000; };
  const Test blue = [](uint32_t c) { return c == 0x0000FF; };
  const Test magenta = [](uint32_t c) { return (c >> 16) > 0xB0 && (c & 0xFF) > 0xB0 && ((c >> 8) & 0xFF) < 0x90; };
  const Test dark = [](uint32_t c) { return (c >> 16) < 0x80 && ((c >> 8) & 0xFF) < 0x80 && (c & 0xFF) < 0x80; };
  // Pixels passing the test in the button's rectangle [x0, x1) x [y0, y1).
  auto count = [&](int x0, int y0, int x1, int y1, Test test) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += test(picture.At(at.x + x, at.y + y));
    return n;
  };
  EXPECT_EQ(count(0, 0, 350, 1, black), 350) << "the frame's top";
  EXPECT_EQ(count(349, 0, 350, 200, black), 200) << "its right side";
  EXPECT_EQ(count(1, 1, 349, 2, [](uint32_t c) { return c == 0xF0F0F0; }), 348) << "the button face inside";
  EXPECT_GE(count(20, 149, 300, 151, black), 280) << "the floor line at yF = 150, two pixels wide";
  EXPECT_GE(count(115, 60, 117, 140, red), 80) << "the first riser at x0 = 116";
  EXPECT_GE(count(125, 60, 127, 140, blue), 80) << "the second riser at x0 + c";
  EXPECT_GE(count(46, 88, 81, 90, black), 35) << "box 1's top at yF - d - bh = 89";
  // The dimension under the first branch: y = yF + e = 175 from x0 - a to
  // x0, its arrowheads pointing out of the interval from the ticks.
  EXPECT_GE(count(82, 175, 115, 176, black), 30);
  EXPECT_GE(count(81, 171, 90, 180, black), 9) << "the arrowhead at x0 - a";
  EXPECT_GE(count(106, 171, 116, 180, black), 9) << "the arrowhead at x0";
  // "A" stands on the dimension (bottom centre at (99, 174)), "B" likewise
  // at (217, 174), "E" over the pipe distance from (136, 62) up, "1NP" from
  // (22, 134) up, "C" below (304, 127).
  EXPECT_GT(count(92, 160, 107, 175, magenta), 5) << "A";
  EXPECT_GT(count(210, 160, 225, 175, magenta), 5) << "B";
  EXPECT_GT(count(136, 48, 150, 63, magenta), 5) << "E";
  EXPECT_GT(count(304, 127, 318, 142, magenta), 5) << "C";
  EXPECT_GT(count(22, 120, 50, 135, dark), 10) << "1NP";
  EXPECT_EQ(count(92, 120, 107, 135, magenta), 0) << "no text where the layout puts none";
  // The labels over the boxes, "-101-", centred over each.
  EXPECT_GT(count(46, 75, 81, 88, dark), 10);
}

TEST_P(SectionPreview, ThePipeSwitchSwapsTheTwoPipeColoursOnly) {
  const std::vector<GdiRecord> plain = Paint();
  preview.SetPipeSwitch(1);
  const std::vector<GdiRecord> switched = Paint();
  ASSERT_EQ(plain.size(), switched.size());
  int swapped = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(plain[i].op, switched[i].op) << i;
    EXPECT_EQ(plain[i].args, switched[i].args) << i << " " << plain[i].op;
    EXPECT_EQ(plain[i].text, switched[i].text) << i;
    const COLORREF expected = plain[i].color == kRed ? kBlue : plain[i].color == kBlue ? kRed : plain[i].color;
    EXPECT_EQ(switched[i].color, expected) << i << " " << plain[i].op;
    swapped += plain[i].color != switched[i].color;
  }
  EXPECT_EQ(swapped, 2 * 6) << "two risers of six strokes each";
  preview.SetPipeSwitch(0);
  EXPECT_EQ(Paint().front().color, plain.front().color);
}

TEST_P(SectionPreview, FlagsOffLeaveOutTheOptionalItemsAndKeepTheDimensions) {
  AllFlags(1);
  const std::vector<GdiRecord> full = Paint();
  EXPECT_EQ(TextsOf(full), (std::vector<std::string>{"-101-", "-101-", "-101-", "1", "1NP", "A", "A", "B", "C", "E",
                                                      "F", "G", "G", "G", "H"}));
  EXPECT_NE(Find(full, "LineTo", {22, 150, 22, 135}), nullptr) << "the floor mark";
  AllFlags(0);
  const std::vector<GdiRecord> bare = Paint();
  EXPECT_EQ(TextsOf(bare), (std::vector<std::string>{"1", "A", "A", "B", "C", "E", "F"}));
  EXPECT_EQ(Find(bare, "LineTo", {22, 150, 22, 135}), nullptr);
  // Equal lengths add a dimension over each box, equal heights one more
  // vertical one, the floor mark three strokes.
  const auto lines = [](const std::vector<GdiRecord>& drawn) {
    return std::count_if(drawn.begin(), drawn.end(), [](const GdiRecord& r) { return r.op == "LineTo"; });
  };
  EXPECT_EQ(lines(full) - lines(bare), 3 * 7 + 7 + 4);
  preview.SetFloor(1);
  const std::vector<GdiRecord> floor = Paint();
  EXPECT_EQ(lines(floor) - lines(bare), 4);
  EXPECT_EQ(TextsOf(floor).size(), 8u);
}

TEST_P(SectionPreview, ClicksDoNothing) {
  CWnd* help = dialog.GetDlgItem(IDC_CUT_HELP);
  ASSERT_NE(help, nullptr);
  help->SendMessage(BM_CLICK);
  EXPECT_EQ(dialog.helpClicks, 1) << "a plain button reports its click";

  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
    preview.SendMessage(message, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_FALSE(preview.SendMessage(BM_GETSTATE) & BST_PUSHED) << message;
    preview.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  }
  preview.SendMessage(BM_CLICK);
  AfxPumpPendingMessages();
  EXPECT_EQ(dialog.previewClicks, 0);
  EXPECT_NE(::GetFocus(), preview.m_hWnd) << "a click does not take the focus";
  EXPECT_FALSE(preview.GetStyle() & WS_TABSTOP) << "nor does the keyboard reach it";
}

INSTANTIATE_TEST_SUITE_P(BothSectionDialogs, SectionPreview, ::testing::Values(IDD_JOV_CUTDLG_NEW, IDD_JOV_CUTDLG),
                         [](const ::testing::TestParamInfo<UINT>& info) {
                           return info.param == IDD_JOV_CUTDLG ? std::string("Riser") : std::string("Branch");
                         });

class SectionPreviewAlone : public testing_support::HeadlessTest {};

TEST_F(SectionPreviewAlone, WithoutAFontItDrawsNoText) {
  HWND top = TopLevel();
  CViewBtn preview;
  ASSERT_TRUE(preview.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 350, 200), CWnd::FromHandle(top),
                             IDC_CUT_PREVIEW));
  ClearDrawingJournal();
  preview.Invalidate();
  preview.UpdateWindow();
  const std::vector<GdiRecord> drawn = DrawingJournal(preview.m_hWnd);
  EXPECT_GT(std::count_if(drawn.begin(), drawn.end(), [](const GdiRecord& r) { return r.op == "LineTo"; }), 50);
  EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(), [](const GdiRecord& r) { return r.op == "TextOutA"; }), 0);
  preview.DestroyWindow();
  ::DestroyWindow(top);
}
