// The driver's reading of a preview through its messages, against a window
// that answers them from a table.
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <string>
#include <vector>

#include "platform/win32/preview_messages.h"
#include "platform/win32/driver/preview_reader.h"
#include "platform/win32/tests/headless_fixture.h"

namespace {

struct Entry {
  bool present;
  UINT flags;
  UINT name;
  LPCSTR className;
  UINT material;
  std::vector<std::string> lines;
};

// What the test preview shows.
PVVIEW g_view;
std::vector<Entry> g_entries;
bool g_points = false;

LRESULT PreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool slot = wParam < g_entries.size() && g_entries[wParam].present;
  switch (message) {
    case PVM_GETVIEW: *reinterpret_cast<PVVIEW*>(lParam) = g_view; return TRUE;
    case PVM_GETITEMS: {
      // Two at a time at most, so that the reader asks again.
      auto* items = reinterpret_cast<PVITEMS*>(lParam);
      if (wParam > g_entries.size()) return FALSE;
      items->count = UINT(std::min<size_t>({items->count, 2, g_entries.size() - wParam}));
      for (UINT k = 0; k < items->count; ++k) {
        const Entry& e = g_entries[wParam + k];
        items->items[k] = e.present ? PVITEM{e.flags, e.name, e.className, e.material, UINT(e.lines.size())}
                                    : PVITEM{PVIF_EMPTY, 0, nullptr, 0, 0};
      }
      return TRUE;
    }
    case PVM_GETITEMLINE: {
      auto* line = reinterpret_cast<PVITEMLINE*>(lParam);
      if (!slot || line->line >= g_entries[wParam].lines.size()) return FALSE;
      line->text = g_entries[wParam].lines[line->line].c_str();
      line->length = UINT(g_entries[wParam].lines[line->line].size());
      return TRUE;
    }
    case PVM_GETITEMPOINT:
      if (wParam != 3) return FALSE;
      *reinterpret_cast<POINT*>(lParam) = {12, 34};
      return TRUE;
    case PVM_GETPOINTSTATE:
      if (!g_points) return FALSE;
      *reinterpret_cast<PVPOINTSTATE*>(lParam) = {3, 2, TRUE, 2};
      return TRUE;
    case PVM_GETPOINT:
      if (!g_points || wParam > 1) return FALSE;
      *reinterpret_cast<PVPOINT*>(lParam) = wParam == 0 ? PVPOINT{1, 50, 0, 1, std::numbers::pi / 2, PVPM_NONE}
                                                        : PVPOINT{2, -1.5, 2.25, 0, 0, PVPM_HIDDEN};
      return TRUE;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

class PreviewReaderTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = PreviewProc;
    wc.lpszClassName = "TestPreview";
    RegisterClassA(&wc);
    parent_ = TopLevel();
    preview_ = CreateWindowExA(0, "TestPreview", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, parent_, nullptr, nullptr,
                               nullptr);
    g_view = {TRUE, TRUE, 10.0, 5.0, 1.0, -2.5, 0};
    g_entries.clear();
    g_points = false;
  }
  HWND parent_ = nullptr;
  HWND preview_ = nullptr;
};

TEST_F(PreviewReaderTest, TellsGroupsByNameClassAndMaterialAndTheTexts) {
  g_entries = {{true, 0, 0, "GLLine", 7, {}},
               {true, PVIF_NAME, 5, nullptr, 0, {}},
               {true, 0, 0, "GLLine", 7, {}},
               {false, 0, 0, "GLLine", 7, {}},  // an empty slot
               {true, PVIF_TEXT, 0, "GLText", 2, {"a\x9A", "b"}},
               {true, 0, 0, "GLLine", 7, {}},
               {true, PVIF_NAME, 0xFFFFFFFF, nullptr, 0, {}},
               {true, 0, 0, nullptr, 1, {}}};  // no class name
  g_view.itemCount = UINT(g_entries.size());
  g_points = true;
  EXPECT_TRUE(IsPreview(preview_));
  EXPECT_EQ(DescribePreview(preview_),
            "view 200 x 100 pixels showing 10.000 x 5.000 around (1.000, -2.500)\n"
            "no name: GLLine 7 x1\n"
            "name 5: GLLine 7 x2, GLText 2 x1; texts \"a\xC5\xA1\\nb\"\n"
            "name none: ? 1 x1\n"
            "kind 3, selected 2, mirrored\n"
            "connection 1 at (50.000, 0.000, 1.000) pointing 90.000 degrees, no marker\n"
            "connection 2 at (-1.500, 2.250, 0.000) pointing 0.000 degrees, marker hidden\n");
}

TEST_F(PreviewReaderTest, ViewsWithoutCameraOrSceneAndOtherWindows) {
  g_view.hasCamera = FALSE;
  EXPECT_EQ(DescribePreview(preview_), "view 200 x 100 pixels\n");
  g_view.hasScene = FALSE;
  EXPECT_EQ(DescribePreview(preview_), "no scene\n");
  EXPECT_FALSE(IsPreview(parent_));
  EXPECT_EQ(DescribePreview(parent_), "");
  POINT p{};
  EXPECT_FALSE(FindPreviewItemPoint(parent_, 3, &p));
}

TEST_F(PreviewReaderTest, FindsTheClickPointOfAGroup) {
  POINT p{};
  ASSERT_TRUE(FindPreviewItemPoint(preview_, 3, &p));
  EXPECT_EQ(p.x, 12);
  EXPECT_EQ(p.y, 34);
  EXPECT_FALSE(FindPreviewItemPoint(preview_, 4, &p));
}

}  // namespace
