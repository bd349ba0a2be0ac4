// The radiator catalogue's stand-in as the product dialog calls it: loaded
// from the module folder, its two exports filling a record from the
// session script's `radiator` lines, and the lines checked when the script
// loads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/module_loader.h"
#include "platform/win32/driver/radiator_script.h"
#include "platform/win32/driver/session_script.h"
#include "dataformat/KorpalinData.h"

namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

using Choose1 = int (*)(int, KorpalinData*);
using Choose2 = int (*)(HWND, int, KorpalinData*);

class RadiatorCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterRadiatorScriptKeyword();
    library = LoadLibraryA(JOV_TEST_MODULE_DIR "/Korpalin_stl_x64.dll");
    ASSERT_NE(library, nullptr) << LastLoadErrorText();
    first = reinterpret_cast<Choose1>(GetProcAddress(library, "DejTeleso"));
    second = reinterpret_cast<Choose2>(GetProcAddress(library, "DejTeleso2"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
  }
  void TearDown() override {
    CurrentSessionScript().Clear();
    FreeLibrary(library);
  }
  static void Script(const std::string& text) {
    std::string error;
    ASSERT_TRUE(CurrentSessionScript().LoadText(text, "/", &error)) << error;
  }

  HMODULE library = nullptr;
  Choose1 first = nullptr;
  Choose2 second = nullptr;
};

}  // namespace

TEST_F(RadiatorCatalogue, AChosenRadiatorFillsTheRecordInItsFieldOrder) {
  // Each text as long as its field allows; the second in UTF-8 with Czech
  // letters, which the record holds in code page 1250.
  const std::string t1(20, 'a'), t3(20, 'c'), t4(260, 'd');
  Script("radiator " + t1 + " \"Deskov\xC3\xBD radi\xC3\xA1tor\" " + t3 + " " + t4 +
         " 1 -2 3 1200 600 +100 2147483647 -2147483648\n");
  KorpalinData record;
  std::memset(record.text2, 'x', sizeof record.text2);  // old bytes past the new text go
  EXPECT_EQ(first(0, &record), 1);
  EXPECT_EQ(KorpalinText(record.text1), t1);
  EXPECT_EQ(KorpalinText(record.text2), "Deskov\xFD radi\xE1tor");
  EXPECT_EQ(record.text2[sizeof record.text2 - 1], '\0');
  EXPECT_EQ(KorpalinText(record.text3), t3);
  EXPECT_EQ(KorpalinText(record.text4), t4);
  const int32_t numbers[] = {record.number1, record.number2, record.number3, record.length,
                             record.height,  record.depth,   record.number4, record.number5};
  const int32_t expected[] = {1, -2, 3, 1200, 600, 100, 2147483647, -2147483647 - 1};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(numbers[i], expected[i]) << "number " << i;
  EXPECT_TRUE(CurrentSessionScript().Unanswered().empty());
}

TEST_F(RadiatorCatalogue, NothingChosenLeavesTheRecordAsItWas) {
  Script("radiator cancel\nradiator A B C D 1 2 3 4 5 6 7 8\nradiator A B C D 1 2 3 4 5 6 7 8\n");
  KorpalinData record;
  record.length = 77;
  EXPECT_EQ(second(nullptr, 0, &record), 0) << "cancelled";
  KorpalinData wrongSize, wrongVersion;
  wrongSize.size = 383;
  wrongVersion.version = 1;
  EXPECT_EQ(first(0, &wrongSize), 0);
  EXPECT_EQ(first(0, &wrongVersion), 0);
  EXPECT_EQ(first(0, nullptr), 0);
  EXPECT_EQ(record.length, 77);
  EXPECT_EQ(second(nullptr, 0, &record), 1) << "the refused records took no line";
  EXPECT_EQ(record.length, 4);
  EXPECT_EQ(first(0, &record), 1);
  EXPECT_EQ(first(0, &record), 0) << "the script has run out";
  ASSERT_EQ(CurrentSessionScript().Unanswered().size(), 1u);
  EXPECT_EQ(CurrentSessionScript().Unanswered()[0], "radiator catalogue DejTeleso: the script has no more lines");
}

TEST(RadiatorScript, LinesThatCannotBeAChoiceFailTheScriptsLoad) {
  RegisterRadiatorScriptKeyword();
  const std::string numbers = " 1 2 3 4 5 6 7 8";
  struct Case {
    std::string line;
    const char* error;  // null: loads
  };
  const Case cases[] = {
      {"radiator cancel", nullptr},
      {"radiator \"\" \"\" \"\" \"\"" + numbers, nullptr},
      {"radiator " + std::string(21, 'a') + " B C D" + numbers, "text 1 is longer than its field's 20 characters"},
      {"radiator A " + std::string(41, 'b') + " C D" + numbers, "text 2 is longer than its field's 40 characters"},
      {"radiator A B C " + std::string(261, 'd') + numbers, "text 4 is longer than its field's 260 characters"},
      // Twenty letters of two UTF-8 bytes each are twenty bytes in the record.
      {"radiator " + Repeat("\xC3\xA1", 20) + " B C D" + numbers, nullptr},
      {"radiator " + Repeat("\xC3\xA1", 21) + " B C D" + numbers, "text 1 is longer than its field's 20 characters"},
      {"radiator A B C D 1 2 3 4 5 6 7", "needs 'cancel' or four texts and eight numbers"},
      {"radiator", "needs 'cancel' or four texts and eight numbers"},
      {"radiator A B C D 1 2 3 1.5 5 6 7 8", "L '1.5' is not a 32-bit whole number"},
      {"radiator A B C D 1 2 3 4 5 6 7 2147483648", "N5 '2147483648' is not a 32-bit whole number"},
      {"radiator A B C D 1 2 3 4 5 x 7 8", "S 'x' is not a 32-bit whole number"},
  };
  for (const Case& c : cases) {
    SessionScript script;
    std::string error;
    const bool loaded = script.LoadText(c.line + "\n", "/", &error);
    if (!c.error) {
      EXPECT_TRUE(loaded) << c.line << ": " << error;
    } else {
      EXPECT_FALSE(loaded) << c.line;
      EXPECT_NE(error.find(std::string("line 1: radiator ") + c.error), std::string::npos) << error;
    }
  }
}
