// Where masks are stored and how their entries read; the field codes; the
// definition proposed from an element's data.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/catalogue/tests/TempFolder.h"
#include "platform/win32/profile.h"
#include "wizard/dialogs/MaskFieldCodes.h"
#include "wizard/dialogs/MaskPreset.h"
#include "wizard/dialogs/MaskStorage.h"

namespace {

class MaskFiles : public ::testing::Test {
 protected:
  std::string File() const { return folder_.File("Jov_set.dat"); }
  void Put(const char* section, int key, const std::string& value) const {
    WritePrivateProfileStringA(section, MaskKeyName(key), value.c_str(), File().c_str());
  }

 private:
  TempFolder folder_;
};

std::string Listed(const std::vector<StoredMask>& masks) {
  std::string out;
  for (const StoredMask& m : masks) out += std::to_string(m.key) + ":" + m.name.GetString() + "|" + m.definition.GetString() + " ";
  return out;
}

// A chain of (code, text) nodes; a null text makes a node of no text kind.
class Chain {
 public:
  Chain(std::initializer_list<std::pair<int16_t, const char*>> nodes) {
    for (const auto& [code, text] : nodes) {
      resbuf node{};
      node.code = code;
      if (text) node.value.text = texts_.emplace_back(text).data();
      nodes_.push_back(node);
    }
    for (size_t i = 0; i + 1 < nodes_.size(); ++i) nodes_[i].next = &nodes_[i + 1];
  }
  const resbuf* Head() const { return nodes_.empty() ? nullptr : &nodes_.front(); }

 private:
  std::deque<std::string> texts_;
  std::vector<resbuf> nodes_;
};

}  // namespace

TEST_F(MaskFiles, TheListStopsAtItsFirstGapSkipsValuesWithoutASemicolonAndSeesTwoHundredFiftyFourCharacters) {
  Put("DESC_TOP", 0, "First;&CM-&CT");
  Put("DESC_TOP", 1, "no separator");
  Put("DESC_TOP", 2, "Second;a;b");
  Put("DESC_TOP", 4, "Behind the gap;#1");
  int free = -1;
  EXPECT_EQ(Listed(ReadMaskList(File().c_str(), "DESC_TOP", &free)), "0:First|&CM-&CT 2:Second|a;b ");
  EXPECT_EQ(free, 3) << "where reading stopped";

  const std::string longDefinition(300, 'x');
  Put("DESC_ZDRAVO", 0, "Long;" + longDefinition);
  const std::vector<StoredMask> cut = ReadMaskList(File().c_str(), "DESC_ZDRAVO");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].definition.GetLength(), 254 - 5) << "name, ';' and definition: 254 characters";
  EXPECT_FALSE(MaskFitsStorage("Long", longDefinition.c_str()));
  EXPECT_TRUE(MaskFitsStorage("Long", std::string(249, 'x').c_str()));
  EXPECT_FALSE(MaskFitsStorage("Long", std::string(250, 'x').c_str()));

  for (int key = 0; key < kMaxMasks + 5; ++key) Put("DESC_VZDUCH", key, "m;d");
  EXPECT_EQ(ReadMaskList(File().c_str(), "DESC_VZDUCH", &free).size(), 100u);
  EXPECT_EQ(free, 100) << "no free key among MASK0-MASK99";
}

TEST_F(MaskFiles, FieldEntriesReadAllTwoHundredKeysAndStoreTheirTokensShort) {
  const std::pair<const char*, const char*> entries[] = {
      {"Material;CM", "&CM"}, {"Break;\\", "\\"}, {"Code;#R3", "#R3"}, {"Key;&VE", "&VE"},
      {"Odd;\\x", "&\\x"},    {";", "&"},         {"Last;_QPROD", "&_QPROD"},
  };
  int key = 0;
  std::string expected;
  for (const auto& [value, definition] : entries) {
    Put("MASK_TOP", key, value);
    key += 3;  // gaps do not stop the reading
    expected += std::string(value).substr(0, std::string(value).find(';')) + "=" + definition + " ";
  }
  Put("MASK_TOP", 199, "Far;FAR");
  Put("MASK_TOP", 200, "Beyond;NO");
  Put("MASK_TOP", 1, "without separator");
  std::string read;
  for (const FieldEntry& e : ReadFieldEntries(File().c_str(), "MASK_TOP"))
    read += std::string(e.name) + "=" + e.definition.GetString() + " ";
  EXPECT_EQ(read, expected + "Far=&FAR ");
}

TEST_F(MaskFiles, FieldCodesAreReadOnceAndMatchTheirInstalledKeysIgnoringCase) {
  WritePrivateProfileStringA("INFO", "_MATERIAL", "CM", File().c_str());
  WritePrivateProfileStringA("INFO", "_QPROD", "_QPROD", File().c_str());
  WritePrivateProfileStringA("INFO", "_DIM", "cm", File().c_str());  // a second row naming the same key
  ReadMaskFieldCodes(File().c_str());
  LoadMaskFieldCodes(File().c_str());  // the first load of the process, or a later one
  WritePrivateProfileStringA("INFO", "_MATERIAL", "XX", File().c_str());
  LoadMaskFieldCodes(File().c_str());

  int rows = 0;
  while (MaskFieldCodes[rows].code) ++rows;
  EXPECT_EQ(rows, kMaskFieldCodeCount);
  ASSERT_NE(FindMaskFieldCode("cm"), nullptr);
  EXPECT_STREQ(FindMaskFieldCode("cm")->code, "1") << "the first row that matches, as first read";
  EXPECT_STREQ(FindMaskFieldCode("_qprod")->code, "P");
  EXPECT_EQ(FindMaskFieldCode("XX"), nullptr) << "changes after the first read are not seen";
  EXPECT_EQ(FindMaskFieldCode(""), nullptr) << "rows without an installed key match nothing";
  EXPECT_EQ(FindMaskFieldCode("_LABEL"), nullptr);
}

TEST_F(MaskFiles, AnElementsDataProposesOneFieldPerKey) {
  WritePrivateProfileStringA("INFO", "_MATERIAL", "CM", File().c_str());
  WritePrivateProfileStringA("INFO", "_QPROD", "_QPROD", File().c_str());
  ReadMaskFieldCodes(File().c_str());

  struct Case {
    const char* what;
    Chain chain;
    bool found;
    const char* preset;
    char letter;
  };
  const Case cases[] = {
      {"the keys in order, _TYPE and _PTS left out",
       {{0, "LINE"}, {1001, "JOV_DATA"}, {1000, "TPP0015-0001"}, {1000, "_TYPE"}, {1000, "128"}, {1000, "_pts"},
        {1000, "1\n"}, {1000, "CM"}, {1000, "steel"}, {1000, "VE"}, {1000, "15"}},
       true, "#1 &VE ", 'T'},
      {"empty values skipped, field codes by their installed key",
       {{1001, "jov_data"}, {1000, "Zx"}, {1000, "DN"}, {1000, ""}, {1000, "_QPROD"}, {1000, "P1"}, {1000, "cm"},
        {1000, "x"}},
       true, "#P #1 ", 'Z'},
      {"the data ends at the next application",
       {{1001, "OTHER"}, {1000, "A"}, {1001, "JOV_DATA"}, {1000, "E1"}, {1000, "K"}, {1000, "v"}, {1001, "X"},
        {1000, "L"}, {1000, "w"}},
       true, "&K ", 'E'},
      {"a pair cut by the chain's end", {{1001, "JOV_DATA"}, {1000, "V1"}, {1000, "A"}, {1000, "1"}, {1000, "B"}},
       true, "&A ", 'V'},
      {"a value that is no text ends the walk",
       {{1001, "JOV_DATA"}, {1000, "S1"}, {1000, "A"}, {1000, "1"}, {1000, "B"}, {1070, nullptr}, {1000, "C"},
        {1000, "3"}},
       true, "&A ", 'S'},
      {"a pair cut by the next application", {{1001, "JOV_DATA"}, {1000, "W"}, {1000, "A"}, {1001, "B"}}, true, "", 'W'},
      {"no JOV_DATA", {{0, "LINE"}, {8, "0"}, {1001, "OTHER"}, {1000, "JOV_DATA"}}, false, "", 0},
      {"JOV_DATA without its type code", {{0, "LINE"}, {1001, "JOV_DATA"}}, false, "", 0},
      {"JOV_DATA followed by another application", {{1001, "JOV_DATA"}, {1001, "X"}, {1000, "T"}}, false, "", 0},
      {"no chain", {}, false, "", 0},
  };
  for (const Case& c : cases) {
    CString preset = "unchanged";
    char letter = 0;
    EXPECT_EQ(ProposeMaskDefinition(c.chain.Head(), &preset, &letter), c.found) << c.what;
    if (!c.found) continue;
    EXPECT_EQ(std::string(preset), c.preset) << c.what;
    EXPECT_EQ(letter, c.letter) << c.what;
  }

  const std::string kinds = "EeTtVvZzSWx";
  std::string mapped;
  for (char letter : kinds) mapped += MaskKindOfLetter(letter) ? MaskKindOfLetter(letter) : '0';
  EXPECT_EQ(mapped, "EETTVVZZ000") << "S, W and others use the heating sections";
}
