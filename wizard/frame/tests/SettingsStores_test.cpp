// The wizard's registry stores: the typed store over one key and the key
// wrapper with its base path.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "wizard/frame/CRegister.h"
#include "common/reg_store.h"
#include "wizard/frame/tests/WizardTestSupport.h"

namespace {

constexpr const char* kKey = "Software\\Quenlor\\Dravik 2d\\CPPDlg";

void SetValue(const char* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(SeedRegistryValue(HKEY_CURRENT_USER, kKey, name, type, data, size), ERROR_SUCCESS);
}

std::string ReadString(reg_store& store, const char* name) {
  char* text = nullptr;
  if (!store.GetString(name, &text)) return "(none)";
  std::unique_ptr<char[]> hold(text);
  return text;
}

}  // namespace

TEST(RegStore, TextsOfAnyLengthComeBackWholeAndOnlyTextsAreTexts) {
  ScopedRegistry registry;
  const std::string long3000(2999, 'x');
  SetValue("Long", REG_SZ, long3000.c_str(), 3000);
  SetValue("Expand", REG_EXPAND_SZ, "%HOME%", 7);
  // Stored without its terminator: the read still ends the text.
  SetValue("Bare", REG_SZ, "abc", 3);
  const DWORD number = 42;
  SetValue("Number", REG_DWORD, &number, 4);

  reg_store store;
  EXPECT_FALSE(store.GetString("Long", nullptr)) << "closed";
  ASSERT_TRUE(store.Open(HKEY_CURRENT_USER, kKey, false));
  EXPECT_EQ(ReadString(store, "Long"), long3000);
  EXPECT_EQ(ReadString(store, "Expand"), "%HOME%");
  EXPECT_EQ(ReadString(store, "Bare"), "abc");
  EXPECT_EQ(ReadString(store, "Number"), "(none)") << "a REG_DWORD is no text";
  EXPECT_EQ(ReadString(store, "Missing"), "(none)");
  void* raw = nullptr;
  size_t size = 0;
  EXPECT_FALSE(store.GetRaw("Long", &raw, &size)) << "a text is no binary value";
  EXPECT_EQ(raw, nullptr);
  EXPECT_FALSE(store.SetString("New", "x")) << "opened for reading";

  EXPECT_FALSE(store.Open(HKEY_CURRENT_USER, "Software\\Nowhere", false));
  EXPECT_FALSE(store.IsOpen()) << "a failed open leaves the store closed";
  EXPECT_TRUE(store.Open(HKEY_CURRENT_USER, "Software\\Nowhere", true)) << "and usable";
}

TEST(RegStore, IntegersAreDwordsInRawModeAndTextInTextMode) {
  ScopedRegistry registry;
  reg_store store;
  ASSERT_TRUE(store.Open(HKEY_CURRENT_USER, kKey, true));
  ASSERT_TRUE(store.textMode);
  ASSERT_TRUE(store.SetInt("AsText", -7));
  EXPECT_EQ(ReadString(store, "AsText"), "-7");
  store.textMode = false;
  ASSERT_TRUE(store.SetInt("AsDword", 0x12345678));

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExA(key, "AsDword", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(size, 4u);
  const BYTE four[4] = {1, 0, 0, 0};
  ASSERT_EQ(RegSetValueExA(key, "Binary4", 0, REG_BINARY, four, 4), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "Short", 0, REG_SZ, reinterpret_cast<const BYTE*>("12"), 3), ERROR_SUCCESS);
  RegCloseKey(key);

  struct Case {
    bool textMode;
    const char* name;
    bool found;
    int value;
  } const cases[] = {
      {false, "AsDword", true, 0x12345678},
      {false, "Binary4", true, 1},
      // A short text is not taken as four raw bytes: it is read as text.
      {false, "Short", true, 12},
      {false, "AsText", true, -7},
      {true, "AsText", true, -7},
      {true, "Binary4", true, 1},  // through the base's raw fallback
      {true, "AsDword", false, 0},
      {false, "Missing", false, 0},
  };
  for (const Case& c : cases) {
    store.textMode = c.textMode;
    int value = 0;
    EXPECT_EQ(store.GetInt(c.name, &value), c.found) << c.name << " text mode " << c.textMode;
    if (c.found) {
      EXPECT_EQ(value, c.value) << c.name;
    }
  }
}

TEST(RegStore, ArraysGoThroughTheBaseAndRawValuesAreBinary) {
  ScopedRegistry registry;
  reg_store store;
  ASSERT_TRUE(store.Open(HKEY_CURRENT_USER, kKey, true));
  const int placement[] = {10, 20, 300, 400, 96, 8};
  ASSERT_TRUE(store.SetIntArray("PLACEMENT", placement, 6));
  EXPECT_EQ(ReadString(store, "PLACEMENT"), "10;20;300;400;96;8");
  int* back = nullptr;
  size_t count = 0;
  ASSERT_TRUE(store.GetIntArray("PLACEMENT", &back, &count));
  std::unique_ptr<int[]> hold(back);
  ASSERT_EQ(count, 6u);
  EXPECT_EQ(std::memcmp(back, placement, sizeof placement), 0);

  const char bytes[] = {'a', 0, 'b', 0};
  ASSERT_TRUE(store.SetRaw("Bytes", bytes, sizeof bytes));
  void* raw = nullptr;
  size_t size = 0;
  ASSERT_TRUE(store.GetRaw("Bytes", &raw, &size));
  std::unique_ptr<char[]> holdRaw(static_cast<char*>(raw));
  ASSERT_EQ(size, sizeof bytes);
  EXPECT_EQ(std::memcmp(raw, bytes, size), 0);
  char** strings = nullptr;
  ASSERT_TRUE(store.GetStringArray("Bytes", &strings, &count));
  std::unique_ptr<char*[]> holdStrings(strings);
  ASSERT_EQ(count, 2u);
  EXPECT_STREQ(strings[1], "b");
}

TEST(CRegisterTest, BasePathGetsOneSeparatorAndValuesRoundTrip) {
  ScopedRegistry registry;
  struct Case {
    const char* path;
    const char* stored;
  } const cases[] = {{"Software\\Quenlor\\Dravik 2d", "Software\\Quenlor\\Dravik 2d\\"},
                     {"Software\\Quenlor\\Dravik 2d\\", "Software\\Quenlor\\Dravik 2d\\"},
                     {"", "\\"}};
  for (const Case& c : cases) {
    CRegister reg(c.path);
    EXPECT_STREQ(reg.GetBasePath(), c.stored);
  }
  CRegister reg("Software\\Quenlor\\Dravik 2d");
  EXPECT_FALSE(reg.SetBasePath(nullptr));
  EXPECT_STREQ(reg.GetBasePath(), "Software\\Quenlor\\Dravik 2d\\") << "null keeps the old path";
  EXPECT_FALSE(reg.SetString("Producer", "x")) << "no key open";

  ASSERT_TRUE(reg.Open("CPP2Dlg"));
  const char producer[] = "Termalis s.r.o. CZ";  // 18 characters
  ASSERT_EQ(std::strlen(producer), 18u);
  ASSERT_TRUE(reg.SetString("Producer", producer));
  char text[256];
  std::memset(text, 'z', sizeof text);
  ASSERT_TRUE(reg.GetValue("Producer", text, sizeof text));
  EXPECT_STREQ(text, producer);

  const DWORD on = 1;
  const int rect[4] = {10, 20, 610, 420};
  ASSERT_TRUE(reg.Open("CPPDlg"));
  ASSERT_TRUE(reg.SetDword("Switch", &on));
  ASSERT_TRUE(reg.SetBinary("Rect", rect, sizeof rect));
  reg.Close();

  CRegister reader("Software\\Quenlor\\Dravik 2d\\", HKEY_CURRENT_USER, true);
  ASSERT_TRUE(reader.Open("CPPDlg"));
  DWORD got = 0;
  ASSERT_TRUE(reader.GetDword("Switch", &got));
  EXPECT_EQ(got, 1u);
  int back[4] = {};
  ASSERT_TRUE(reader.GetValue("Rect", back, sizeof back));
  EXPECT_EQ(std::memcmp(back, rect, sizeof rect), 0);
  EXPECT_FALSE(reader.GetValue("Rect", back, 8)) << "too small a buffer";
  EXPECT_FALSE(reader.SetDword("Switch", &on)) << "read-only";
  EXPECT_FALSE(reader.GetDword("Missing", &got));
  reader.Close();

  // Opened read-only, a missing key is not made; a path past 1023
  // characters is refused.
  EXPECT_FALSE(reader.Open("CPP2Dlg", "Group"));
  EXPECT_FALSE(reader.IsOpen());
  HKEY made = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(reader.GetBasePath()) + "CPP2Dlg\\Group").c_str(), 0,
                          KEY_READ, &made),
            ERROR_SUCCESS);
  EXPECT_FALSE(reader.Open(std::string(1100, 'k').c_str()));
  EXPECT_FALSE(reader.IsOpen());
}

TEST(CRegisterTest, ATextThatFillsTheBufferWithoutItsEndIsRefused) {
  ScopedRegistry registry;
  ASSERT_EQ(SeedRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Vantrix\\Common\\Path", "Spolecne soubory", REG_SZ,
                              "C:\\Vantrix", 10),
            ERROR_SUCCESS);
  CRegister reg("Software\\Vantrix\\Common", HKEY_LOCAL_MACHINE, true);
  ASSERT_TRUE(reg.Open("Path"));
  char exact[10];
  EXPECT_FALSE(reg.GetValue("Spolecne soubory", exact, sizeof exact));
  char roomy[11];
  ASSERT_TRUE(reg.GetValue("Spolecne soubory", roomy, sizeof roomy));
  EXPECT_STREQ(roomy, "C:\\Vantrix");
}
