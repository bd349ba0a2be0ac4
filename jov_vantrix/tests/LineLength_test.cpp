#include "jov_vantrix/frame/LineLength.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <future>
#include <thread>

#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/tests/TestHosts.h"
#include "platform/win32/clipboard.h"

namespace {

// An entity as the host hands it out: name node, type, layer, points.
resbuf* Entity(const char* type, const double* a, const double* b) {
  static const int64_t name[2] = {42, 0};
  GroupChainBuilder builder(0);
  if (b)
    return builder.Build(-1, name, 0, type, 8, "0", 10, a, 11, b, -9);
  return builder.Build(-1, name, 0, type, 8, "0", 10, a, 40, 2.0, -9);
}

std::string ClipboardText() {
  UINT format = RegisterClipboardFormatA(kVantrixClipboardFormat);
  std::string text;
  if (!OpenClipboard(nullptr)) return "<busy>";
  if (HANDLE data = GetClipboardData(format)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  } else {
    text = "<none>";
  }
  CloseClipboard();
  return text;
}

void ClearClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

class LineLengthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Loaded());
    ASSERT_TRUE(table_.Resolve());
    ClearClipboard();
  }
  TestHost host_{"full"};
  CDravikFunc table_{TestHostPath("full").c_str(), false, 6};
};

const double kA[3] = {0, 0, 0};
const double kB[3] = {3000, 4000, 0};

}  // namespace

TEST_F(LineLengthTest, LengthInMetresOrDrawingUnits) {
  struct Row {
    double a[3], b[3];
    int unit;
    const char* text;  // when the exact text is known
    double length;
  };
  const Row rows[] = {
      {{0, 0, 0}, {3000, 4000, 0}, 1000, "5.0000", 5},
      {{0, 0, 0}, {3000, 4000, 0}, 1, "5000.0000", 5000},
      // The squares of these coordinates overflow; the lengths do not.
      {{0, 0, 0}, {1e200, 0, 0}, 1, nullptr, 1e200},
      {{0, 0, 0}, {1e308, 1e308, 0}, 1000, nullptr, 1e308 * std::sqrt(2.0) / 1000},
      {{-1e200, 0, 0}, {0, 1e200, 1e200}, 1, nullptr, 1e200 * std::sqrt(3.0)},
  };
  for (const Row& r : rows) {
    resbuf* line = Entity("LINE", r.a, r.b);
    host_.Select(line);
    EXPECT_EQ(CopyLineLengthToClipboard(table_, r.unit), 0);
    const std::string text = ClipboardText();
    if (r.text) {
      EXPECT_EQ(text, r.text);
    }
    EXPECT_NEAR(std::strtod(text.c_str(), nullptr) / r.length, 1.0, 1e-12) << text;
    FreeGroupCodeChain(line, false);
  }
  EXPECT_EQ(host_.Unlinks(), 5) << "the host's chain is given back every time";
}

TEST_F(LineLengthTest, TypeNameIsComparedWithoutCase) {
  resbuf* line = Entity("line", kA, kB);
  host_.Select(line);
  EXPECT_EQ(CopyLineLengthToClipboard(table_, 1000), 0);
  FreeGroupCodeChain(line, false);
}

TEST_F(LineLengthTest, AnythingButACompleteLineLeavesTheClipboardAlone) {
  resbuf* circle = Entity("CIRCLE", kA, nullptr);
  resbuf* halfLine = Entity("LINE", kA, nullptr);  // no code 11
  resbuf* nameOnly = Entity("LINE", kA, kB);
  FreeGroupCodeChain(nameOnly->next, false);
  nameOnly->next = nullptr;  // a chain that stops after its name node
  // No length that is a number.
  const double nan[3] = {std::nan(""), 1, 0}, inf[3] = {HUGE_VAL, 0, 0}, far[3] = {-1e308, 0, 0};
  const double farOther[3] = {1e308, 0, 0};
  resbuf* nanLine = Entity("LINE", kA, nan);
  resbuf* infLine = Entity("LINE", inf, kB);
  resbuf* tooLong = Entity("LINE", far, farOther);
  for (const resbuf* chain : {static_cast<const resbuf*>(nullptr), static_cast<const resbuf*>(circle),
                              static_cast<const resbuf*>(halfLine), static_cast<const resbuf*>(nameOnly),
                              static_cast<const resbuf*>(nanLine), static_cast<const resbuf*>(infLine),
                              static_cast<const resbuf*>(tooLong)}) {
    host_.Select(chain);
    EXPECT_EQ(CopyLineLengthToClipboard(table_, 1000), -1);
    EXPECT_EQ(ClipboardText(), "<none>");
  }
  EXPECT_EQ(host_.Unlinks(), 7);
  for (resbuf* chain : {circle, halfLine, nameOnly, nanLine, infLine, tooLong}) FreeGroupCodeChain(chain, false);
}

TEST_F(LineLengthTest, ClipboardHeldElsewhereIsAFailure) {
  resbuf* line = Entity("LINE", kA, kB);
  host_.Select(line);
  std::promise<bool> opened;
  std::promise<void> release;
  std::thread other([&] {
    opened.set_value(OpenClipboard(nullptr));
    release.get_future().wait();
    CloseClipboard();
  });
  ASSERT_TRUE(opened.get_future().get());
  EXPECT_EQ(CopyLineLengthToClipboard(table_, 1000), -1);
  EXPECT_EQ(host_.Unlinks(), 1);
  release.set_value();
  other.join();
  FreeGroupCodeChain(line, false);
}
