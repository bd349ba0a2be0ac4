#include "platform/host/DxfText.h"

#include <gtest/gtest.h>

namespace host {
namespace {

TEST(DxfText, Utf8BecomesCodePage1250) {
  EXPECT_EQ(DxfUtf8ToModel("Potrub\xC3\xAD \xC5\x99" "ez"), "Potrub\xED \xF8" "ez");
  EXPECT_EQ(DxfUtf8ToModel("\xE2\x82\xAC"), "\x80") << "the euro sign is in the page";
}

TEST(DxfText, CharactersOutsideThePageBecomeEscapes) {
  EXPECT_EQ(DxfUtf8ToModel("\xE2\x88\x85 20"), "\\U+2205 20");
  EXPECT_EQ(DxfUtf8ToModel("\xF0\x9F\x98\x80"), "\\U+D83D\\U+DE00");
  EXPECT_EQ(DxfUtf8ToModel("\\U+2205"), "\\U+2205") << "existing escapes stay";
}

TEST(DxfText, MalformedUtf8IsKeptAsBytes) {
  EXPECT_EQ(DxfUtf8ToModel("Potrub\xED"), "Potrub\xED");
  EXPECT_EQ(DxfUtf8ToModel("\xC3"), "\xC3") << "truncated sequence at the end";
  EXPECT_EQ(DxfUtf8ToModel("\xC0\xAF"), "\xC0\xAF") << "overlong form";
  EXPECT_EQ(DxfUtf8ToModel("\xED\xA0\x80"), "\xED\xA0\x80") << "encoded surrogate";
}

TEST(DxfText, ConvertedInPlaceAsAlone) {
  // Written over the text itself or some bytes before it, as a load moves
  // its values together; a text with a letter beyond the page is left.
  const std::string texts[] = {"Potrub\xC3\xAD \xC5\x99" "ez", "\xE2\x82\xAC", "TRUBKY \xC4\x8C\xC3\x81ST",
                               "Potrub\xED", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xC3\xAD\xFF",
                               "\xE2\x88\x85 20", "a \xF0\x9F\x98\x80", "\xC5\x99 \xE2\x88\x85"};
  for (const std::string& text : texts)
    for (size_t before : {0, 1, 5}) {
      std::string buffer = std::string(before, '.') + text;
      const size_t size = DxfUtf8ToModelInPlace(std::string_view(buffer).substr(before), buffer.data());
      const std::string alone = DxfUtf8ToModel(text);
      if (alone.find("\\U+") != std::string::npos) {
        EXPECT_EQ(size, SIZE_MAX) << text;
        EXPECT_EQ(buffer, std::string(before, '.') + text) << "nothing written";
      } else {
        EXPECT_EQ(buffer.substr(0, size), alone) << text << " " << before;
      }
    }
}

TEST(DxfText, ModelTextToUtf8) {
  // A load and save in UTF-8 gives the file's text back, the letters the
  // page lacks included; escapes no load makes stay text.
  const std::string files[] = {"Potrub\xC3\xAD \xC5\x99" "ez", "\xC3\x98 20, m\xC2\xB2 \xE2\x88\x85",
                               "a \xF0\x9F\x98\x80!", "\\\xE2\x88\x85", "\xE2\x88\x85\xE2\x88\x85"};
  for (const std::string& file : files) EXPECT_EQ(DxfModelToUtf8(DxfUtf8ToModel(file)), file) << file;
  EXPECT_EQ(DxfModelToUtf8("\xED\\U+2205x"), "\xC3\xAD\xE2\x88\x85x");
  const std::string kept[] = {"\\U+0041", "\\u+2205", "\\U+00ED", "\\U+D83D", "\\U+DE00\\U+D83D",
                              "\\U+D83D\\U+0041", "\\U+22", "\\U+22G5"};
  for (const std::string& text : kept) EXPECT_EQ(DxfModelToUtf8(text), text) << text;
  for (int b = 0x80; b < 0x100; ++b) {
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(DxfUtf8ToModel(DxfModelToUtf8(one)), one) << "byte " << b;
  }
}

}  // namespace
}  // namespace host
