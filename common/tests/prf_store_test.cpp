#include "common/prf_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class PrfStore : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "prf-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
    file = root.string() + "\\Jov.ini";
    ASSERT_TRUE(store.Open(file.c_str(), "VANTRIX"));
  }
  void TearDown() override { fs::remove_all(root); }

  void WriteFile(const std::string& bytes) {
    std::ofstream(root / "Jov.ini", std::ios::binary) << bytes;
  }
  void WriteValue(const std::string& key, const std::string& value) {
    WriteFile("[vantrix]\r\n" + key + "=" + value + "\r\n");
  }
  std::string ReadFile() const {
    std::ifstream in(root / "Jov.ini", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The raw value as bytes, or "<none>".
  std::string Raw(const char* key) {
    void* data = reinterpret_cast<void*>(1);
    size_t size = 99;
    if (!store.GetRaw(key, &data, &size)) {
      EXPECT_EQ(data, nullptr);
      EXPECT_EQ(size, 0u);
      return "<none>";
    }
    std::string bytes(static_cast<char*>(data), size);
    delete[] static_cast<char*>(data);
    return bytes;
  }
  std::string Text(const char* key) {
    char* text = nullptr;
    if (!store.GetString(key, &text)) {
      EXPECT_EQ(text, nullptr);
      return "<none>";
    }
    std::string result(text);
    delete[] text;
    return result;
  }

  fs::path root;
  std::string file;
  prf_store store;
};

TEST_F(PrfStore, ClosedStoreRefusesEverything) {
  WriteValue("K", "1");
  prf_store closed;
  char* text = nullptr;
  int n = 0;
  EXPECT_FALSE(closed.GetString("K", &text));
  EXPECT_FALSE(closed.GetInt("K", &n));
  EXPECT_FALSE(closed.SetString("K", "2"));
  EXPECT_FALSE(closed.SetRaw("K", "x", 1));
  EXPECT_FALSE(closed.Open(nullptr, "VANTRIX"));
  EXPECT_FALSE(closed.Open(file.c_str(), nullptr));

  ASSERT_TRUE(closed.Open(file.c_str(), "VANTRIX"));
  EXPECT_TRUE(closed.GetInt("K", &n));
  EXPECT_EQ(n, 1);
  closed.Close();
  EXPECT_FALSE(closed.GetInt("K", &n));
  EXPECT_FALSE(store.SetString(nullptr, "x")) << "a null key would delete the section";
  EXPECT_EQ(ReadFile(), "[vantrix]\r\nK=1\r\n");
}

TEST_F(PrfStore, KeepsItsOwnCopiesOfFileAndSection) {
  std::string name = file;
  std::string section = "OTHER";
  prf_store s;
  ASSERT_TRUE(s.Open(name.c_str(), section.c_str()));
  name.assign(name.size(), 'z');
  section = "WRONG";
  ASSERT_TRUE(s.SetInt("K", 3));
  EXPECT_EQ(ReadFile(), "[OTHER]\r\nK=3\r\n");
}

TEST_F(PrfStore, EmptyMarkerReadsAsMissingEverywhere) {
  WriteValue("K", "$EMPTY$");
  int n = 0;
  double d = 0;
  int* ints = nullptr;
  size_t count = 0;
  EXPECT_EQ(Text("K"), "<none>");
  EXPECT_FALSE(store.GetInt("K", &n));
  EXPECT_FALSE(store.GetDouble("K", &d));
  EXPECT_FALSE(store.GetIntArray("K", &ints, &count));
  EXPECT_EQ(Raw("K"), "<none>");
  EXPECT_EQ(Text("missing"), "<none>");

  WriteValue("K", "");
  EXPECT_EQ(Text("K"), "") << "an empty value is there";
}

TEST_F(PrfStore, ReadsLongValuesWhole) {
  for (size_t length : {1022u, 1023u, 1024u, 2000u, 2047u, 5000u}) {
    std::string value(length, 'v');
    value.back() = 'e';
    WriteValue("K", value);
    EXPECT_EQ(Text("K"), value) << length;
  }
}

TEST_F(PrfStore, WritesRawValuesAsHexText) {
  const unsigned char bytes[] = {0x01, 0xAB, 0xFF};
  ASSERT_TRUE(store.SetRaw("R", bytes, 3));
  ASSERT_TRUE(store.SetRaw("E", nullptr, 0));
  EXPECT_EQ(ReadFile(), "[VANTRIX]\r\nR=0000000301ABFF\r\nE=00000000\r\n");
  EXPECT_EQ(Raw("R"), "\x01\xAB\xFF");
  EXPECT_EQ(Raw("E"), "");
}

TEST_F(PrfStore, RefusesMalformedRawTexts) {
  WriteValue("K", "00000002abcd");
  EXPECT_EQ(Raw("K"), "\xAB\xCD") << "data digits may be lower case";
  for (const char* bad : {"00000002ABC", "0000000gABCD", "00000002ABCDEF", "0000000aABCD",
                          "00000002AB C", "00000002ABCG", "0000002", "", "1"}) {
    WriteValue("K", bad);
    EXPECT_EQ(Raw("K"), "<none>") << bad;
  }
  WriteValue("K", std::string("0000") + '\0' + "002AB");
  EXPECT_EQ(Raw("K"), "<none>") << "a NUL among the count digits";
  WriteValue("K", std::string("00000002AB\0D", 12));
  EXPECT_EQ(Raw("K"), "<none>") << "a NUL among the data digits";
  WriteValue("K", "00008000" + std::string(0x10000, '0'));
  EXPECT_EQ(Raw("K"), "<none>") << "32768 bytes are too many";
  WriteValue("K", "00007FFF" + std::string(0xFFFE, 'A'));
  EXPECT_EQ(Raw("K"), std::string(0x7FFF, '\xAA'));
}

TEST_F(PrfStore, RefusesToWriteWhatCouldNotBeReadBack) {
  ASSERT_TRUE(store.SetString("K", "old"));
  const std::string before = ReadFile();

  std::string big(32768, 'b');
  EXPECT_FALSE(store.SetRaw("K", big.data(), big.size()));
  EXPECT_EQ(ReadFile(), before);

  std::string parts[3] = {std::string(20000, 'x'), std::string(12765, 'y'), "z"};
  const char* strings[] = {parts[0].c_str(), parts[1].c_str(), parts[2].c_str()};
  EXPECT_FALSE(store.SetStringArray("K", strings, 3)) << "32769 bytes with the NULs";
  EXPECT_EQ(ReadFile(), before);

  // The largest value that fits goes both ways.
  ASSERT_TRUE(store.SetStringArray("L", strings, 2));
  char** list = nullptr;
  size_t count = 0;
  ASSERT_TRUE(store.GetStringArray("L", &list, &count));
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(list[0], parts[0]);
  EXPECT_EQ(list[1], parts[1]);
  delete[] list;
}

TEST_F(PrfStore, TypedValuesRoundTripInBothModes) {
  const int layout[] = {10, 20, 640, 480, 96, 8};
  ASSERT_TRUE(store.SetInt("I", -5));
  ASSERT_TRUE(store.SetDouble("D", 0.1234567));
  ASSERT_TRUE(store.SetIntArray("windowPosition", layout, 6));
  ASSERT_TRUE(store.SetIntArray("Empty", layout, 0));
  EXPECT_EQ(ReadFile(),
            "[VANTRIX]\r\nI=-5\r\nD=0.123457\r\nwindowPosition=10;20;640;480;96;8\r\nEmpty=\r\n");

  int* ints = nullptr;
  size_t count = 0;
  ASSERT_TRUE(store.GetIntArray("WINDOWPOSITION", &ints, &count));
  EXPECT_EQ(std::vector<int>(ints, ints + count), std::vector<int>(layout, layout + 6));
  delete[] ints;
  ASSERT_TRUE(store.GetIntArray("empty", &ints, &count));
  EXPECT_EQ(count, 0u);
  delete[] ints;

  store.textMode = false;
  ASSERT_TRUE(store.SetInt("R", 258));
  ASSERT_TRUE(store.SetDouble("S", 2.5));
  int n = 0;
  double d = 0;
  ASSERT_TRUE(store.GetInt("R", &n));
  EXPECT_EQ(n, 258);
  ASSERT_TRUE(store.GetDouble("S", &d));
  EXPECT_EQ(d, 2.5);
  ASSERT_TRUE(store.GetInt("I", &n)) << "no raw value: the text";
  EXPECT_EQ(n, -5);
  EXPECT_NE(ReadFile().find("R=0000000402010000\r\n"), std::string::npos);

  // In text mode the hex text of a raw value is found first and, being all
  // digits, reads as a decimal number.
  store.textMode = true;
  ASSERT_TRUE(store.GetInt("R", &n));
  EXPECT_EQ(n, 402010000);
}

}  // namespace
