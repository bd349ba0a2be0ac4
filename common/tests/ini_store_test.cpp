#include "common/ini_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// Keeps texts and raw values apart, so that a key can have both and the
// order in which the getters look is visible.
class MemoryStore : public ini_store {
 public:
  std::map<std::string, std::string> texts;
  std::map<std::string, std::string> raws;

  void Close() override {}
  bool GetString(const char* key, char** out) override {
    *out = nullptr;
    auto it = texts.find(key);
    if (it == texts.end()) return false;
    *out = new char[it->second.size() + 1];
    std::memcpy(*out, it->second.c_str(), it->second.size() + 1);
    return true;
  }
  bool SetString(const char* key, const char* value) override {
    texts[key] = value;
    return true;
  }
  bool GetRaw(const char* key, void** data, size_t* size) override {
    *data = nullptr;
    *size = 0;
    auto it = raws.find(key);
    if (it == raws.end()) return false;
    char* block = new char[it->second.size()];
    std::memcpy(block, it->second.data(), it->second.size());
    *data = block;
    *size = it->second.size();
    return true;
  }
  bool SetRaw(const char* key, const void* data, size_t size) override {
    raws[key] = std::string(static_cast<const char*>(data), size);
    return true;
  }
};

template <typename T>
std::string Bytes(const std::vector<T>& values) {
  return std::string(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

std::vector<int> IntArray(ini_store& store, const char* key, bool* ok) {
  int* values = nullptr;
  size_t count = 99;
  *ok = store.GetIntArray(key, &values, &count);
  if (!*ok) {
    EXPECT_EQ(values, nullptr);
    return {};
  }
  std::vector<int> result(values, values + count);
  delete[] values;
  return result;
}

TEST(IniStore, TextModeTriesTheTextFirstRawModeTheRawValue) {
  MemoryStore store;
  store.texts["N"] = "5";
  store.raws["N"] = Bytes(std::vector<int>{7});
  store.raws["D"] = Bytes(std::vector<double>{2.5});
  int n = 0;
  ASSERT_TRUE(store.GetInt("N", &n));
  EXPECT_EQ(n, 5);
  double d = 0;
  ASSERT_TRUE(store.GetDouble("D", &d)) << "no text: the raw value";
  EXPECT_EQ(d, 2.5);

  store.textMode = false;
  ASSERT_TRUE(store.GetInt("N", &n));
  EXPECT_EQ(n, 7);

  // The first source found decides, even when it is unusable.
  store.raws["N"] = "abc";
  EXPECT_FALSE(store.GetInt("N", &n));
  store.textMode = true;
  store.texts.erase("N");
  EXPECT_FALSE(store.GetInt("N", &n)) << "raw value of the wrong size";
  EXPECT_FALSE(store.GetInt("missing", &n));
}

TEST(IniStore, TextNumbersMustEndTheText) {
  MemoryStore store;
  store.texts = {{"A", "12x"}, {"B", ""}, {"C", "-3.5e2"}, {"D", "1,5"}, {"E", "99999999999"}};
  int n = 0;
  EXPECT_FALSE(store.GetInt("A", &n));
  EXPECT_EQ(n, 12) << "the number is stored even when refused";
  n = 4;
  EXPECT_TRUE(store.GetInt("B", &n));
  EXPECT_EQ(n, 0);
  EXPECT_TRUE(store.GetInt("E", &n));
  EXPECT_EQ(n, 2147483647) << "saturates like a 32-bit strtol";
  double d = 0;
  EXPECT_TRUE(store.GetDouble("C", &d));
  EXPECT_EQ(d, -350.0);
  EXPECT_FALSE(store.GetDouble("D", &d)) << "the decimal point is always '.'";
  EXPECT_EQ(d, 1.0);
}

TEST(IniStore, WritesTextOrRawForms) {
  MemoryStore store;
  ASSERT_TRUE(store.SetInt("I", -42));
  ASSERT_TRUE(store.SetDouble("D", 0.1234567));
  ASSERT_TRUE(store.SetDouble("E", 1e20));
  ASSERT_TRUE(store.SetDouble("F", 100000.0));
  EXPECT_EQ(store.texts["I"], "-42");
  EXPECT_EQ(store.texts["D"], "0.123457");
  EXPECT_EQ(store.texts["E"], "1e+20");
  EXPECT_EQ(store.texts["F"], "100000");

  store.textMode = false;
  ASSERT_TRUE(store.SetInt("I", 0x01020304));
  ASSERT_TRUE(store.SetDouble("D", 2.5));
  EXPECT_EQ(store.raws["I"], "\x04\x03\x02\x01");
  EXPECT_EQ(store.raws["D"], Bytes(std::vector<double>{2.5}));
  EXPECT_EQ(store.texts["I"], "-42") << "raw mode leaves the text alone";
}

TEST(IniStore, ParsesArrayTexts) {
  MemoryStore store;
  store.texts = {{"a", "10;-3;7"}, {"b", "10;x"}, {"c", "1;2;"}, {"d", "1;;2"},
                 {"e", "1,2"},     {"f", ""},     {"g", ";"}};
  bool ok = false;
  EXPECT_EQ(IntArray(store, "a", &ok), (std::vector<int>{10, -3, 7}));
  EXPECT_TRUE(ok);
  IntArray(store, "b", &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(IntArray(store, "c", &ok), (std::vector<int>{1, 2}));
  EXPECT_EQ(IntArray(store, "d", &ok), (std::vector<int>{1, 0, 2}));
  IntArray(store, "e", &ok);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(IntArray(store, "f", &ok).empty());
  EXPECT_TRUE(ok);
  EXPECT_EQ(IntArray(store, "g", &ok), (std::vector<int>{0}));
  IntArray(store, "missing", &ok);
  EXPECT_FALSE(ok);

  store.texts["h"] = "0.5;-1e3";
  double* values = nullptr;
  size_t count = 0;
  ASSERT_TRUE(store.GetDoubleArray("h", &values, &count));
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(values[0], 0.5);
  EXPECT_EQ(values[1], -1000.0);
  delete[] values;
}

TEST(IniStore, ArraysPreferAWholeRawValueInEitherMode) {
  MemoryStore store;
  store.raws["d"] = Bytes(std::vector<double>{1.0, 2.0, 3.0});
  double* values = nullptr;
  size_t count = 0;
  ASSERT_TRUE(store.GetDoubleArray("d", &values, &count));
  ASSERT_EQ(count, 3u);
  EXPECT_EQ(values[2], 3.0);
  delete[] values;

  // A raw value that is not whole elements falls back to the text.
  store.raws["i"] = "123456";
  bool ok = false;
  IntArray(store, "i", &ok);
  EXPECT_FALSE(ok);
  store.texts["i"] = "4;5";
  EXPECT_EQ(IntArray(store, "i", &ok), (std::vector<int>{4, 5}));
  store.raws["i"] = Bytes(std::vector<int>{8});
  EXPECT_EQ(IntArray(store, "i", &ok), (std::vector<int>{8}));
  store.raws["i"] = "";
  EXPECT_TRUE(IntArray(store, "i", &ok).empty());
  EXPECT_TRUE(ok);
}

TEST(IniStore, WritesArrays) {
  MemoryStore store;
  const int ints[] = {1, -2, 300};
  const double reals[] = {0.5, 1e20, 0.1234567};
  ASSERT_TRUE(store.SetIntArray("i", ints, 3));
  ASSERT_TRUE(store.SetDoubleArray("d", reals, 3));
  ASSERT_TRUE(store.SetIntArray("e", nullptr, 0));
  EXPECT_EQ(store.texts["i"], "1;-2;300");
  EXPECT_EQ(store.texts["d"], "0.5;1e+20;0.123457");
  EXPECT_EQ(store.texts["e"], "") << "an empty array is the empty text";
  bool ok = false;
  EXPECT_TRUE(IntArray(store, "e", &ok).empty());
  EXPECT_TRUE(ok);
  EXPECT_FALSE(store.SetIntArray("x", nullptr, 2));

  store.textMode = false;
  ASSERT_TRUE(store.SetIntArray("i", ints, 3));
  EXPECT_EQ(store.raws["i"], Bytes(std::vector<int>(ints, ints + 3)));
}

TEST(IniStore, SplitsStringListsAtNuls) {
  MemoryStore store;
  store.raws = {{"a", std::string("A\0\0B", 4)},
                {"b", std::string("one\0two\0", 8)},
                {"c", ""},
                {"d", std::string("\0", 1)}};
  auto get = [&](const char* key) {
    char** strings = nullptr;
    size_t count = 0;
    std::vector<std::string> result;
    if (!store.GetStringArray(key, &strings, &count)) return std::vector<std::string>{"<none>"};
    for (size_t i = 0; i < count; ++i) result.emplace_back(strings[i]);
    delete[] strings;
    return result;
  };
  EXPECT_EQ(get("a"), (std::vector<std::string>{"A", "", "B"}));
  EXPECT_EQ(get("b"), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(get("c"), (std::vector<std::string>{}));
  EXPECT_EQ(get("d"), (std::vector<std::string>{""}));
  EXPECT_EQ(get("missing"), (std::vector<std::string>{"<none>"}));
  store.texts["t"] = "text only";
  EXPECT_EQ(get("t"), (std::vector<std::string>{"<none>"}));
}

TEST(IniStore, JoinsStringListsWithNuls) {
  MemoryStore store;
  const std::string longText(40000, 'x');
  const char* strings[] = {"A", "", nullptr, longText.c_str()};
  EXPECT_FALSE(store.SetStringArray("s", strings, 0));
  ASSERT_TRUE(store.SetStringArray("s", strings, 4));
  EXPECT_EQ(store.raws["s"], std::string("A\0\0\0", 4) + std::string(32767, 'x') + '\0')
      << "each string is cut to 32767 characters";
  EXPECT_TRUE(store.texts.empty());
}

}  // namespace
