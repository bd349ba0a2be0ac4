#include "platform/win32/clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/win32/code_page.h"

namespace {

// Each test starts from an empty, closed clipboard.
class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(CloseClipboard());
  }
};

HGLOBAL TextBlock(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

std::string ReadText(UINT format) {
  HANDLE data = GetClipboardData(format);
  if (!data) return "<none>";
  std::string text(static_cast<const char*>(GlobalLock(data)));
  GlobalUnlock(data);
  return text;
}

}  // namespace

TEST_F(Clipboard, FormatNamesRegisterOnceInAnyCase) {
  UINT format = RegisterClipboardFormatA("CF_VANTRIX_CAD");
  EXPECT_GE(format, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormatA("cf_vantrix_cad"), format);
  EXPECT_NE(RegisterClipboardFormatA("CF_OTHER"), format);
  EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
  EXPECT_EQ(RegisterClipboardFormatA(nullptr), 0u);

  char name[64];
  EXPECT_EQ(GetClipboardFormatNameA(format, name, sizeof name), 14);
  EXPECT_STREQ(name, "CF_VANTRIX_CAD") << "the name as first registered";
  EXPECT_EQ(GetClipboardFormatNameA(format, name, 5), 4);
  EXPECT_STREQ(name, "CF_V");
  EXPECT_EQ(GetClipboardFormatNameA(CF_TEXT, name, sizeof name), 0) << "predefined formats have no name";
  EXPECT_EQ(GetClipboardFormatNameA(0xFFF0, name, sizeof name), 0);
}

TEST_F(Clipboard, OnlyTheOpenerThatEmptiedItSetsData) {
  UINT format = RegisterClipboardFormatA("CF_VANTRIX_CAD");
  HGLOBAL block = TextBlock("5.0000");

  SetLastError(0);
  EXPECT_EQ(SetClipboardData(format, block), nullptr) << "not open";
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(SetClipboardData(format, block), nullptr) << "open but not emptied";
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(format, block), block);
  EXPECT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(format));
  EXPECT_EQ(GetClipboardData(format), nullptr) << "reading needs the clipboard open";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(ReadText(format), "5.0000");
  EXPECT_EQ(SetClipboardData(format, TextBlock("x")), nullptr) << "a new opening must empty it first";
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_FALSE(EmptyClipboard());
}

TEST_F(Clipboard, TheClipboardOwnsWhatItAccepted) {
  UINT format = RegisterClipboardFormatA("CF_VANTRIX_CAD");
  HGLOBAL first = TextBlock("1");
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_EQ(SetClipboardData(format, first), first);
  EXPECT_EQ(GlobalFree(first), first) << "the caller may no longer free it";
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetClipboardData(CF_TEXT, first), nullptr) << "one block cannot serve two formats";

  HGLOBAL second = TextBlock("2");
  ASSERT_EQ(SetClipboardData(format, second), second);
  EXPECT_EQ(GlobalSize(first), 0u) << "replaced data is freed";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(ReadText(format), "2");

  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(GlobalSize(second), 0u) << "emptying frees the data";
  EXPECT_EQ(CountClipboardFormats(), 0);
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, UnknownHandlesAreRefused) {
  int notABlock = 0;
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(CF_TEXT, &notABlock), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr) << "rendering on request is not offered";
  EXPECT_EQ(SetClipboardData(CF_BITMAP, &notABlock), &notABlock) << "drawing objects are not global blocks";
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, AnotherThreadCannotOpenItMeanwhile) {
  HWND window = reinterpret_cast<HWND>(0x10);
  ASSERT_TRUE(OpenClipboard(window));
  EXPECT_TRUE(OpenClipboard(window)) << "the same opener again";
  EXPECT_EQ(GetOpenClipboardWindow(), window);
  BOOL otherOpened = TRUE;
  DWORD otherError = 0;
  std::thread([&] {
    otherOpened = OpenClipboard(nullptr);
    otherError = GetLastError();
  }).join();
  EXPECT_FALSE(otherOpened);
  EXPECT_EQ(otherError, ERROR_ACCESS_DENIED);
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardOwner(), window);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
  std::thread([&] {
    otherOpened = OpenClipboard(nullptr);
    if (otherOpened) CloseClipboard();
  }).join();
  EXPECT_TRUE(otherOpened);
}

TEST_F(Clipboard, TextFormatsAreMadeFromEachOther) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_NE(SetClipboardData(CF_TEXT, TextBlock("\x8Elu\x9d")), nullptr);  // "Žluť"
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(CountClipboardFormats(), 2);
  EXPECT_EQ(EnumClipboardFormats(0), CF_TEXT);
  EXPECT_EQ(EnumClipboardFormats(CF_TEXT), CF_UNICODETEXT);
  EXPECT_EQ(EnumClipboardFormats(CF_UNICODETEXT), 0u);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(wide))), u"\u017Dlu\u0165");
  GlobalUnlock(wide);
  EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), wide) << "made once";
  EXPECT_EQ(GlobalFree(wide), wide) << "made data belongs to the clipboard too";
  EXPECT_TRUE(CloseClipboard());
}

TEST(GlobalMemory, FixedAndMoveableBlocks) {
  HGLOBAL fixed = GlobalAlloc(GPTR, 16);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(GlobalLock(fixed), fixed) << "a fixed block's handle is its address";
  EXPECT_TRUE(GlobalUnlock(fixed));
  const auto* bytes = static_cast<const BYTE*>(fixed);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0) << "zero-filled";
  EXPECT_EQ(GlobalSize(fixed), 16u);
  EXPECT_EQ(GlobalFree(fixed), nullptr);
  EXPECT_EQ(GlobalFree(fixed), fixed) << "freed twice";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

  HGLOBAL moveable = GlobalAlloc(GHND, 8);
  void* address = GlobalLock(moveable);
  ASSERT_NE(address, nullptr);
  EXPECT_NE(address, moveable);
  EXPECT_EQ(GlobalLock(moveable), address);
  EXPECT_TRUE(GlobalUnlock(moveable)) << "still locked once";
  SetLastError(123);
  EXPECT_FALSE(GlobalUnlock(moveable));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "unlocked now";
  EXPECT_FALSE(GlobalUnlock(moveable));
  EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
  EXPECT_EQ(GlobalFree(moveable), nullptr);

  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalLock(empty), nullptr) << "no bytes, no memory";
  EXPECT_EQ(GlobalSize(empty), 0u);
  EXPECT_EQ(GlobalFree(empty), nullptr);

  EXPECT_EQ(GlobalAlloc(0x80000, 4), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}
