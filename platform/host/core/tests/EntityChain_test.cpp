#include "platform/host/core/EntityChain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfText.h"

namespace host {
namespace {

std::string Fixture(const char* name) {
  return std::string(JOV_SOURCE_DIR) + "/platform/host/tests/data/" + name;
}

struct Chain {
  resbuf* head = nullptr;
  explicit Chain(resbuf* c) : head(c) {}
  ~Chain() { FreeGroupCodeChain(head); }
  std::vector<int> Codes() const {
    std::vector<int> out;
    for (const resbuf* n = head; n; n = n->next) out.push_back(n->code);
    return out;
  }
  const resbuf* At(size_t i) const {
    const resbuf* n = head;
    while (n && i--) n = n->next;
    return n;
  }
};

class EntityChainTest : public ::testing::Test {
 protected:
  void Load(const char* name) {
    DxfError error;
    ASSERT_TRUE(d.Load(Fixture(name), &error)) << error.ToString();
  }
  DxfEntity& Entity(uint64_t handle) {
    DxfEntity* e = d.FindByHandle(handle);
    EXPECT_NE(e, nullptr);
    return *e;
  }
  DxfDrawing d;
};

TEST_F(EntityChainTest, NameTypeAndMergedPoints) {
  Load("r2000_network.dxf");
  DxfEntity& line = Entity(0x40);
  Chain c(EntityToChain(line));
  EXPECT_EQ(c.Codes(), (std::vector<int>{-1, 0, 5, 330, 100, 8, 100, 10, 11}));
  EXPECT_EQ(c.At(0)->value.name[0], static_cast<int64_t>(line.id));
  EXPECT_EQ(c.At(0)->value.name[1], 0x40);
  EXPECT_STREQ(c.At(1)->value.text, "LINE");
  EXPECT_STREQ(c.At(2)->value.text, "40");
  EXPECT_EQ(c.At(8)->value.point[0], 1000.0);
  EXPECT_EQ(c.At(8)->value.point[1], 0.0);
  std::optional<EntityName> name = ChainEntityName(c.head);
  ASSERT_TRUE(name);
  EXPECT_EQ(name->id, line.id);
  EXPECT_EQ(name->handle, 0x40u);
}

TEST_F(EntityChainTest, LwPolylineVerticesAndExtendedData) {
  Load("r2000_network.dxf");
  Chain c(EntityToChain(Entity(0x41)));
  EXPECT_EQ(c.Codes(), (std::vector<int>{-1, 0, 5, 330, 100, 8, 62, 100, 90, 70, 43, 10, 10, 10, -3,
                                         1001, 1000, 1000, 1000, 1070, 1010}));
  EXPECT_EQ(c.At(6)->value.i16, 256);
  EXPECT_EQ(c.At(8)->value.i32, 3);
  EXPECT_EQ(c.At(12)->value.point[1], 2000.0);
  EXPECT_EQ(c.At(12)->value.point[2], 0.0) << "2D vertex, z 0";
  EXPECT_STREQ(c.At(16)->value.text, "TCD0000i0001");
  EXPECT_EQ(c.At(19)->value.i16, 3);
  EXPECT_EQ(c.At(20)->value.point[1], 2.0);
}

TEST_F(EntityChainTest, BulgesFollowTheirVertexAndAnglesAreRadians) {
  Load("r2000_network.dxf");
  // A polyline whose second vertex bulges.
  DxfEntity* poly = d.AppendEntity({{0, "LWPOLYLINE"}, {8, "0"}, {90, "3"}, {70, "0"},
                                    {10, "0.0"}, {20, "0.0"}, {10, "10.0"}, {20, "0.0"},
                                    {42, "0.5"}, {10, "10.0"}, {20, "10.0"}},
                                   nullptr);
  ASSERT_NE(poly, nullptr);
  Chain c(EntityToChain(*poly));
  std::vector<int> codes = c.Codes();
  auto second = std::find(std::find(codes.begin(), codes.end(), 10) + 1, codes.end(), 10);
  ASSERT_NE(second, codes.end());
  EXPECT_EQ(*(second + 1), 42);
  EXPECT_EQ(c.At(static_cast<size_t>(second + 1 - codes.begin()))->value.real, 0.5);

  Chain insert(EntityToChain(Entity(0x42)));
  const resbuf* rotation = FindGroupCode(insert.head, 50);
  ASSERT_NE(rotation, nullptr);
  EXPECT_DOUBLE_EQ(rotation->value.real, M_PI / 2);
  EXPECT_EQ(FindGroupCode(insert.head, 1), nullptr) << "the attribute is not part of the chain";
}

TEST_F(EntityChainTest, UnchangedChainsWriteBackTheFilesPairs) {
  for (const char* file : {"r2000_network.dxf", "r12_network.dxf", "r2013_utf8.dxf"}) {
    Load(file);
    for (const auto& e : d.Entities()) {
      if (e->IsType("POLYLINE")) continue;  // handed out as an LWPOLYLINE
      Chain c(EntityToChain(*e));
      PairList pairs;
      std::optional<EntityName> name;
      DxfError error;
      ASSERT_TRUE(ChainToPairs(c.head, e.get(), pairs, &name, &error)) << error.message;
      ASSERT_TRUE(name);
      EXPECT_EQ(name->id, e->id);
      ASSERT_EQ(pairs.size(), e->pairs.size()) << file << " " << e->Type();
      for (size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(pairs[i].code, e->pairs[i].code) << file << " " << e->Type() << " pair " << i;
        EXPECT_EQ(pairs[i].value, e->pairs[i].value) << file << " " << e->Type() << " pair " << i;
        // Shared with the drawing's text, not copied.
        if (!e->pairs[i].value.IsOwned() && !e->pairs[i].value.empty()) {
          EXPECT_EQ(pairs[i].value.data(), e->pairs[i].value.data()) << file << " " << e->Type() << " pair " << i;
        }
      }
    }
  }
}

TEST_F(EntityChainTest, FlatPolylinesReadAsLwPolylines) {
  Load("r12_network.dxf");
  DxfEntity& poly = Entity(0x27);
  Chain c(EntityToChain(poly));
  EXPECT_EQ(c.Codes(), (std::vector<int>{-1, 0, 5, 8, 90, 70, 10, 10, 10}));
  EXPECT_STREQ(c.At(1)->value.text, "LWPOLYLINE");
  EXPECT_EQ(c.At(0)->value.name[0], static_cast<int64_t>(poly.id));
  EXPECT_EQ(c.At(4)->value.i32, 3);
  EXPECT_EQ(c.At(8)->value.point[0], 3000.0);
  EXPECT_EQ(c.At(8)->value.point[1], 2000.0);

  // A closed R2000 polyline keeps its closed flag and its bulges.
  Load("r2000_network.dxf");
  Chain closed(EntityToChain(Entity(0x46)));
  EXPECT_STREQ(closed.At(1)->value.text, "LWPOLYLINE");
  EXPECT_EQ(FindGroupCode(closed.head, 70)->value.i16, 1);
  const resbuf* bulge = FindGroupCode(closed.head, 42);
  ASSERT_NE(bulge, nullptr);
  EXPECT_EQ(FindGroupCode(closed.head, 100)->next->code, 8);
  std::vector<int> codes = closed.Codes();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 100), 2) << "AcDbEntity and AcDbPolyline";
}

TEST(EntityChain, NewChainsBecomeFilePairs) {
  // 0 LINE, 8 layer, 10 point, 50 angle, 1071, 310 binary, 1004 binary.
  auto node = [](int16_t code) {
    auto* n = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    n->code = code;
    return n;
  };
  resbuf* head = node(0);
  head->value.text = DupString("TEXT");
  resbuf* n = head->next = node(10);
  n->value.point[0] = 0.1;
  n->value.point[1] = 1e20;
  n->value.point[2] = -2.5;
  n = n->next = node(50);
  n->value.real = M_PI;
  n = n->next = node(-3);
  n = n->next = node(1001);
  n->value.text = DupString("JOV_DATA");
  n = n->next = node(1071);
  n->value.i32 = -70000;
  n = n->next = node(1004);
  static const unsigned char bytes[] = {0x0A, 0xFF};
  n->value.binary.length = 2;
  n->value.binary.data = static_cast<unsigned char*>(DupBytes(bytes, 2));
  Chain c(head);

  PairList pairs;
  std::optional<EntityName> name;
  DxfError error;
  ASSERT_TRUE(ChainToPairs(c.head, nullptr, pairs, &name, &error));
  EXPECT_FALSE(name);
  PairList expected{{0, "TEXT"},     {10, "0.1"},         {20, "1e+20"}, {30, "-2.5"},
                    {50, "180.0"},   {1001, "JOV_DATA"},  {1071, "-70000"}, {1004, "0AFF"}};
  ASSERT_EQ(pairs.size(), expected.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(pairs[i].code, expected[i].code);
    EXPECT_EQ(pairs[i].value, expected[i].value);
  }
}

TEST_F(EntityChainTest, WriteBackKeepsPointFormAndPairsChainsCannotCarry) {
  Load("r2000_network.dxf");
  DxfEntity& poly = Entity(0x41);
  poly.pairs.insert(poly.pairs.begin() + 5, {480, "1F"});  // a code without a value kind
  Chain c(EntityToChain(poly));
  EXPECT_EQ(FindGroupCode(c.head, 480), nullptr);
  resbuf* vertex = FindGroupCode(c.head, 10);
  vertex->value.point[0] = 1234.5;
  PairList pairs;
  DxfError error;
  ASSERT_TRUE(ChainToPairs(c.head, &poly, pairs, nullptr, &error));
  ASSERT_EQ(pairs.size(), poly.pairs.size());
  EXPECT_EQ(pairs[5].code, 480);
  EXPECT_EQ(pairs[5].value, "1F");
  size_t x = FindPairIndex(pairs, 10);
  EXPECT_EQ(pairs[x].value, "1234.5");
  EXPECT_EQ(pairs[x + 1].code, 20);
  EXPECT_EQ(pairs[x + 2].code, 10) << "no z for an LWPOLYLINE vertex";

  // Without a template an LWPOLYLINE still gets 2D vertices, a LINE 3D points.
  ASSERT_TRUE(ChainToPairs(c.head, nullptr, pairs, nullptr, &error));
  x = FindPairIndex(pairs, 10);
  EXPECT_EQ(pairs[x + 2].code, 10);
  EXPECT_EQ(FindPairIndex(pairs, 480), pairs.size());
}

TEST(EntityChain, ControlCharactersAndCaretsTravelInCaretForm) {
  struct Case {
    const char* chain;
    const char* file;
  } const cases[] = {
      {"2\n20\nCu\r\n", "2^J20^JCu^M^J"},
      {"a^b", "a^ b"},
      {"\t^", "^I^ "},
      {"plain", "plain"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeCaretForm(c.chain), c.file);
    EXPECT_EQ(DecodeCaretForm(c.file), c.chain);
  }
  // What only a caret form can mean is taken back; anything else stays.
  EXPECT_EQ(DecodeCaretForm("^a^~x^"), "^a^~x^");
  EXPECT_EQ(DecodeCaretForm("^@^_"), std::string("\0\x1F", 2));

  // Extended data with line feeds leaves a drawing as one file line and
  // comes back whole.
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.LoadText("  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\n0\n 10\n0\n 20\n0\n 30\n0\n"
                         "1001\nJOV_DATA\n1000\n_PTS\n1000\n1^J15^JCu^Jin^JA^J\n  0\nENDSEC\n  0\nEOF\n",
                         &error))
      << error.ToString();
  ASSERT_EQ(d.Entities().size(), 1u);
  Chain chain(EntityToChain(*d.Entities()[0]));
  const resbuf* value = chain.head;
  while (value && !(value->code == 1000 && value->value.text && std::strchr(value->value.text, '\n')))
    value = value->next;
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value->value.text, "1\n15\nCu\nin\nA\n");
  PairList pairs;
  ASSERT_TRUE(ChainToPairs(chain.head, d.Entities()[0].get(), pairs, nullptr, &error));
  EXPECT_EQ(pairs.back().value, "1^J15^JCu^Jin^JA^J");
}

TEST(EntityChain, EmptyChainsAreRefused) {
  PairList pairs;
  DxfError error;
  EXPECT_FALSE(ChainToPairs(nullptr, nullptr, pairs, nullptr, &error));
  auto* name = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  name->code = -1;
  EXPECT_FALSE(ChainToPairs(name, nullptr, pairs, nullptr, &error));
  EXPECT_EQ(error.message, "the chain holds no entity");
  FreeGroupCodeChain(name);
  EXPECT_TRUE(CodeFitsChain(1004));
  EXPECT_FALSE(CodeFitsChain(480));
  EXPECT_FALSE(CodeFitsChain(-1));
}

}  // namespace
}  // namespace host

namespace host {
namespace {

// Control characters in text values: in caret form in the file, as bytes
// in chains, and back.
TEST(EntityChain, TextValuesCarryControlCharactersInCaretForm) {
  struct Case {
    const char* file;
    std::string chain;
  } const cases[] = {
      {"2^Ja^J^J^J20^J", "2\na\n\n\n20\n"},
      {"cr^Mlf^J", "cr\rlf\n"},
      {"tab^I nul-free", "tab\t nul-free"},
      {"a^ b^ c^ 2", "a^b^c^2"},
      {"plain", "plain"},
  };
  for (const Case& c : cases) {
    DxfDrawing d;
    DxfError error;
    const std::string text = std::string("0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2A\n8\n0\n1\n") +
                             c.file + "\n1001\nJOV_DATA\n1000\n" + c.file + "\n0\nENDSEC\n0\nEOF\n";
    ASSERT_TRUE(d.LoadText(text, &error)) << error.ToString();
    DxfEntity* e = d.FindByHandle(0x2A);
    ASSERT_NE(e, nullptr);
    Chain read(EntityToChain(*e));
    EXPECT_STREQ(FindGroupCode(read.head, 1)->value.text, c.chain.c_str()) << c.file;
    EXPECT_STREQ(FindGroupCode(read.head, 1000)->value.text, c.chain.c_str()) << c.file;

    // A new entity of those texts is written in caret form, which reads back
    // to the same bytes.
    PairList pairs;
    ASSERT_TRUE(ChainToPairs(read.head, nullptr, pairs, nullptr, &error));
    EXPECT_EQ(pairs[FindPairIndex(pairs, 1)].value, c.file);
    ASSERT_EQ(pairs.back().code, 1000);
    EXPECT_EQ(pairs.back().value, c.file);
  }
}

TEST(EntityChain, CaretsThatNameNoCharacterStayAsTheyStood) {
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.LoadText("0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2A\n8\n0\n1\nx^2 and a^\n0\nENDSEC\n0\nEOF\n",
                         &error))
      << error.ToString();
  DxfEntity* e = d.FindByHandle(0x2A);
  ASSERT_NE(e, nullptr);
  Chain read(EntityToChain(*e));
  EXPECT_STREQ(FindGroupCode(read.head, 1)->value.text, "x^2 and a^");
  PairList pairs;
  ASSERT_TRUE(ChainToPairs(read.head, e, pairs, nullptr, &error));
  EXPECT_EQ(pairs[FindPairIndex(pairs, 1)].value, "x^2 and a^") << "written back unchanged";
  ASSERT_TRUE(ChainToPairs(read.head, nullptr, pairs, nullptr, &error));
  EXPECT_EQ(pairs[FindPairIndex(pairs, 1)].value, "x^ 2 and a^ ") << "a new entity: every caret escaped";
}

// A text written back over the file's, each side of the eight bytes told
// at a time: its values set are those a whole write-back changes.
TEST(EntityChain, WrittenTextsSetWhatAWholeWriteBackChanges) {
  struct Case {
    std::string file, chain;
    bool kept;
  };
  std::vector<Case> cases = {
      {"ABCDEFGHIJ", "ABCDEFGHIJ", true},   {"ABCDEFGH", "ABCDEFGHI", false},  {"ABCDEFGHI", "ABCDEFGH", false},
      {"ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOPR", false},                      {"ABCDEFG^JX", "ABCDEFG\nX", true},
      {"ABCDEFGH^ ", "ABCDEFGH^", true},    {"ABCDEFGH^ ", "ABCDEFGH^ ", false}, {"ABCDEFGH\tI", "ABCDEFGH\tI", true},
      {"\x8a\xec\x9a\xe8\xf8 \xe1\xed\xe9", "\x8a\xec\x9a\xe8\xf8 \xe1\xed\xe9", true},
      {"ABCDEFGHIJ", "", false},
      {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP", true},      {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOPQ", false},
  };
  // A caret at every place of texts of every length up to two words.
  for (size_t n = 0; n <= 16; ++n)
    for (size_t at = 0; at <= n; ++at) {
      const std::string before(at, 'x'), after(n - at, 'y');
      cases.push_back({before + "^J" + after, before + "^J" + after, false});
      cases.push_back({before + "^J" + after, before + "\n" + after, true});
    }
  for (const auto& c : cases) {
    DxfDrawing d;
    DxfError error;
    ASSERT_TRUE(d.LoadText("0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2A\n8\n0\n1\nT\n1001\nJOV_DATA\n1000\n" +
                               c.file + "\n0\nENDSEC\n0\nEOF\n",
                           &error))
        << error.ToString();
    const DxfEntity* e = d.FindByHandle(0x2A);
    ASSERT_NE(e, nullptr);
    Chain chain(EntityToChain(*e));
    resbuf* text = const_cast<resbuf*>(FindGroupCode(chain.head, 1000));
    ASSERT_NE(text, nullptr);
    std::free(text->value.text);
    text->value.text = DupString(c.chain.c_str());
    std::vector<uint32_t> places;
    PairList values, whole;
    ASSERT_TRUE(ChainSetsValues(chain.head, *e, places, values)) << c.file;
    EXPECT_EQ(places.empty(), c.kept) << c.file;
    ASSERT_TRUE(ChainToPairs(chain.head, e, whole, nullptr, &error));
    ASSERT_EQ(whole.size(), e->pairs.size());
    for (size_t i = 0, k = 0; i < whole.size(); ++i) {
      const bool set = k < places.size() && places[k] == i;
      EXPECT_EQ(whole[i].value, set ? values[k++].value : e->pairs[i].value) << c.file << " pair " << i;
    }
  }
}

TEST(EntityChain, EveryByteSurvivesTheCaretForm) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string file = EncodeCaretForm(all);
  for (char c : file) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "no control character in the file";
  EXPECT_EQ(DecodeCaretForm(file), all);
}

// Texts of every length past those copied word by word come out whole,
// in blocks and on the heap, the mark before the first 1001.
TEST(EntityChain, TextsOfEveryLengthTravelWhole) {
  ChainBlocks blocks;
  for (std::string text; text.size() <= 40; text += static_cast<char>('a' + text.size() % 26)) {
    DxfEntity e;
    e.pairs = {{0, "TEXT"}, {1, text}, {1001, "A"}};
    Chain heap(EntityToChain(e));
    for (const resbuf* chain : {heap.head, EntityToChain(e, &blocks)}) {
      EXPECT_STREQ(chain->next->next->value.text, text.c_str());
      EXPECT_EQ(chain->next->next->next->code, -3);
    }
  }
}

// A chain made in the host's blocks is the heap chain node for node, value
// byte for byte, for every kind of value and every entity of the drawings.
TEST(EntityChain, ChainsInBlocksEqualHeapChains) {
  auto drawing = [](const char* entities) {
    return std::string("  0\nSECTION\n  2\nENTITIES\n") + entities + "  0\nENDSEC\n  0\nEOF\n";
  };
  const std::string texts[] = {
      drawing("  0\nLINE\n  5\n2A\n  8\nL^J1\n 10\n1.5\n 20\n-2\n 30\n3\n 11\n4\n 21\n5\n"),
      drawing("  0\nINSERT\n  2\nB\n 10\n0\n 20\n0\n 50\n90\n 62\n7\n 90\n-70000\n160\n123456789012\n"
              "290\n1\n280\n4\n310\n0AFF10\n1001\nJOV_DATA\n1000\n\n1002\n{\n1004\nCAFE\n1040\n2.5\n"
              "1071\n99\n1010\n1\n1020\n2\n1030\n3\n"),
      drawing("  0\nPOINT\n 10\n0\n 20\n0\n310\n\n1001\nA\n1000\n^I^ x\n"),
      // Texts longer than a caret is looked for by hand, with and without one.
      drawing("  0\nTEXT\n  1\nA text well over thirty-two letters long^J\n  7\n"
              "A STYLE NAME WELL OVER THIRTY-TWO LETTERS\n1001\nA\n1000\n\n"),
      std::string(std::string(JOV_SOURCE_DIR) + "/platform/host/tests/data/r12_network.dxf"),
      std::string(std::string(JOV_SOURCE_DIR) + "/platform/host/tests/data/r2013_utf8.dxf"),
  };
  ChainBlocks blocks;
  const resbuf* first = nullptr;
  for (const std::string& text : texts) {
    DxfDrawing d;
    DxfError error;
    const bool file = text.rfind("  0", 0) != 0;
    ASSERT_TRUE(file ? d.Load(text, &error) : d.LoadText(text, &error)) << error.ToString();
    ASSERT_FALSE(d.Entities().empty());
    for (const auto& e : d.Entities()) {
      const ChainBlocks::Mark before = blocks.Position();
      Chain heap(EntityToChain(*e));
      const resbuf* kept = EntityToChain(*e, &blocks);
      const resbuf* a = heap.head;
      const resbuf* b = kept;
      for (; a && b; a = a->next, b = b->next) {
        ASSERT_EQ(a->code, b->code) << text;
        const uint32_t kind = GroupCodeKind(GetGroupCodeClass(a->code));
        if (kind == GC_KIND_TEXT) {
          EXPECT_STREQ(a->value.text, b->value.text) << text << " code " << a->code;
        } else if (kind == GC_KIND_BINARY) {
          ASSERT_EQ(a->value.binary.length, b->value.binary.length) << text;
          if (a->value.binary.length > 0) {
            EXPECT_EQ(std::memcmp(a->value.binary.data, b->value.binary.data, a->value.binary.length), 0);
          }
        } else {
          EXPECT_EQ(std::memcmp(&a->value, &b->value, sizeof a->value), 0) << text << " code " << a->code;
        }
      }
      EXPECT_TRUE(!a && !b) << text << ": chains of different lengths";
      // A chain let go at once gives its room back.
      blocks.RollBack(before);
      EXPECT_EQ(EntityToChain(*e, &blocks), kept);
      // Let go with every other, its room is the first taken again.
      if (!first) first = kept;
      blocks.Clear();
      EXPECT_EQ(EntityToChain(*e, &blocks), first);
    }
  }
}

}  // namespace
}  // namespace host
