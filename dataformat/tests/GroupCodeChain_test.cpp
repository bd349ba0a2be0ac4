#include "dataformat/GroupCodeChain.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dataformat/tests/ChainFixtures.h"

namespace {

bool InPool(const void* p, const char* pool, size_t size) {
  auto* c = static_cast<const char*>(p);
  return c >= pool && c < pool + size;
}

TEST(GroupCodeClass, EdgeCodes) {
  EXPECT_EQ(GetGroupCodeClass(10), 1544u);
  EXPECT_EQ(GetGroupCodeClass(1070), 770u);
  EXPECT_EQ(GetGroupCodeClass(1071), 516u);
  EXPECT_EQ(GetGroupCodeClass(330), 256u | 0x10000u | 0x40000u);
  EXPECT_EQ(GetGroupCodeClass(5020), 525832u);
  EXPECT_EQ(GetGroupCodeClass(6000), 0u);
  EXPECT_EQ(GetGroupCodeClass(-6), 0u);
  EXPECT_EQ(GetGroupCodeClass(5024), 0u);
  EXPECT_EQ(GetGroupCodeClass(-5), 256u);
  EXPECT_EQ(GetGroupCodeClass(5023), 525832u);
}

TEST(GroupCodeClass, EveryNamedRangeAndFlag) {
  struct Case {
    int code;
    uint32_t word;
  };
  const Case cases[] = {
      {-3, 2320},   {-1, 2320},   {5006, 2320},  {0, 256},     {5, 256 | 0x10000},
      {9, 256},     {100, 256},   {103, 525832}, {105, 256},   {309, 256},
      {320, 256 | 0x10000},       {329, 256 | 0x10000},        {369, 256 | 0x50000},
      {390, 256 | 0x40000},       {399, 256 | 0x40000},        {1000, 256},
      {1005, 256},  {5005, 256},  {310, 1280},   {319, 1280},  {1004, 1280},
      {270, 1026},  {389, 1026},  {290, 2050},   {299, 2050},  {60, 770},
      {179, 770},   {409, 770},   {1060, 770},   {5003, 770},  {90, 516},
      {420, 516},   {459, 516},   {5010, 516},   {19, 1544},   {110, 1544},
      {219, 1544},  {1010, 1544}, {1019, 1544},  {5002, 1544}, {5009, 1544},
      {160, 2568},  {169, 2568},  {50, 132872},  {58, 132872}, {5004, 132872},
      {20, 1800},   {49, 1800},   {59, 1800},    {149, 1800},  {239, 1800},
      {469, 1800},  {1020, 1800}, {1059, 1800},  {5001, 1800}, {1006, 525832},
      {4999, 525832}, {-4, 256},    {51, 0x20708}, {70, 770},
  };
  for (const auto& c : cases) EXPECT_EQ(GetGroupCodeClass(c.code), c.word) << "code " << c.code;
}

TEST(GroupCodeClass, KindsAndSizes) {
  EXPECT_TRUE(SameGroupCodeKind(GetGroupCodeClass(10), GetGroupCodeClass(4999)));
  EXPECT_TRUE(SameGroupCodeKind(GetGroupCodeClass(40), GetGroupCodeClass(50)));
  EXPECT_FALSE(SameGroupCodeKind(GetGroupCodeClass(70), GetGroupCodeClass(280)));
  EXPECT_EQ(GroupCodeValueSize(GetGroupCodeClass(10)), 24u);
  EXPECT_EQ(GroupCodeValueSize(GetGroupCodeClass(4999)), 24u);
  EXPECT_EQ(GroupCodeValueSize(GetGroupCodeClass(-1)), 16u);
  EXPECT_EQ(GroupCodeValueSize(GetGroupCodeClass(40)), 8u);
  EXPECT_EQ(GroupCodeValueSize(GetGroupCodeClass(160)), 8u);
  EXPECT_EQ(GroupCodeValueSize(GetGroupCodeClass(90)), 4u);
  EXPECT_EQ(GroupCodeValueSize(GetGroupCodeClass(1070)), 2u);

  TestChain c;
  c.Text(8, "0").I16(70, 1).Text(330, nullptr);
  resbuf* h = c.Head();
  EXPECT_TRUE(IsStringNode(h));
  EXPECT_FALSE(IsStringNode(h->next));
  EXPECT_TRUE(IsStringNode(h->next->next));
  EXPECT_FALSE(IsStringNode(nullptr));
}

TEST(TakeFromPool, StepsTheCursorAndRefusesWhatIsNotLeft) {
  char block[10];
  char* cursor = block;
  size_t left = sizeof block;
  EXPECT_EQ(TakeFromPool(&cursor, &left, 4), block);
  EXPECT_EQ(cursor, block + 4);
  EXPECT_EQ(left, 6u);
  EXPECT_EQ(TakeFromPool(&cursor, &left, 7), nullptr);
  EXPECT_EQ(cursor, block + 4);
  EXPECT_EQ(left, 6u);
  EXPECT_EQ(TakeFromPool(&cursor, &left, 6), block + 4);
  EXPECT_EQ(left, 0u);
}

TEST(CopyGroupCodeChain, CopiesEveryKindDeeply) {
  const unsigned char bytes[5] = {1, 2, 0, 254, 255};
  TestChain c;
  c.Name(-1, 0x1111, 0x2222)
      .Text(0, "LINE")
      .Text(8, nullptr)
      .Point(10, 1.5, -2.5, 3.25)
      .Real(40, 0.125)
      .I16(70, -7)
      .I32(90, 123456789)
      .I64(160, int64_t{1} << 40)
      .Binary(310, bytes, 5)
      .Text(330, "1F")
      .Point(4999, 7, 8, 9);
  resbuf* src = c.Head();
  resbuf* copy = CopyGroupCodeChain(src);
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(ChainLength(copy), 11);

  const resbuf* n = copy;
  EXPECT_EQ(n->code, -1);
  EXPECT_EQ(n->value.name[0], 0x1111);
  EXPECT_EQ(n->value.name[1], 0x2222);
  n = n->next;
  EXPECT_STREQ(n->value.text, "LINE");
  EXPECT_NE(n->value.text, src->next->value.text);
  n = n->next;
  EXPECT_STREQ(n->value.text, "");  // a null text comes back empty
  n = n->next;
  EXPECT_EQ(n->value.point[0], 1.5);
  EXPECT_EQ(n->value.point[1], -2.5);
  EXPECT_EQ(n->value.point[2], 3.25);
  n = n->next;
  EXPECT_EQ(n->value.real, 0.125);
  n = n->next;
  EXPECT_EQ(n->value.i16, -7);
  n = n->next;
  EXPECT_EQ(n->value.i32, 123456789);
  n = n->next;
  EXPECT_EQ(n->value.i64, int64_t{1} << 40);
  n = n->next;
  EXPECT_EQ(n->value.binary.length, 5);
  ASSERT_NE(n->value.binary.data, bytes);
  EXPECT_EQ(std::memcmp(n->value.binary.data, bytes, 5), 0);
  n = n->next;
  EXPECT_STREQ(n->value.text, "1F");
  n = n->next;
  EXPECT_EQ(n->value.point[2], 9.0);
  EXPECT_EQ(n->next, nullptr);
  EXPECT_EQ(FreeGroupCodeChain(copy, false), HOST_NORMAL);
}

TEST(CopyGroupCodeChain, StopsBeforeACodeOfNoKind) {
  TestChain c;
  c.Text(0, "LINE").Text(8, "0").I16(6000, 1).Text(8, "after");
  resbuf* copy = CopyGroupCodeChain(c.Head());
  ASSERT_EQ(ChainLength(copy), 2);
  EXPECT_STREQ(copy->next->value.text, "0");
  FreeGroupCodeChain(copy);

  TestChain bad;
  bad.I16(6000, 1).Text(8, "0");
  EXPECT_EQ(CopyGroupCodeChain(bad.Head()), nullptr);
  EXPECT_EQ(CopyGroupCodeChain(nullptr), nullptr);
}

TEST(CopyGroupCodeChain, SingleNodeCopiesOnlyTheFirst) {
  TestChain c;
  c.Text(0, "LINE").Text(8, "0");
  resbuf* copy = CopyGroupCodeChain(c.Head(), false, true);
  ASSERT_EQ(ChainLength(copy), 1);
  EXPECT_STREQ(copy->value.text, "LINE");
  FreeGroupCodeChain(copy);
}

TEST(CopyGroupCodeChain, PoolOfEightyBytesHoldsTwoNumericNodes) {
  alignas(8) char pool[80];
  TestChain two;
  two.I16(70, 1).Real(40, 2.0);
  resbuf* copy = CopyGroupCodeChain(two.Head(), false, false, false, pool, sizeof pool);
  ASSERT_EQ(ChainLength(copy), 2);
  EXPECT_TRUE(InPool(copy, pool, sizeof pool));
  EXPECT_TRUE(InPool(copy->next, pool, sizeof pool));
  EXPECT_EQ(copy->value.i16, 1);
  EXPECT_EQ(copy->next->value.real, 2.0);

  TestChain three;
  three.I16(70, 1).Real(40, 2.0).I32(90, 3);
  EXPECT_EQ(CopyGroupCodeChain(three.Head(), false, false, false, pool, sizeof pool), nullptr);
}

TEST(CopyGroupCodeChain, BinaryChunkIntoAPool) {
  const unsigned char chunk[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  alignas(8) char pool[40 + 10];
  TestChain c;
  c.Binary(310, chunk, 10);
  resbuf* copy = CopyGroupCodeChain(c.Head(), false, false, false, pool, sizeof pool);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->value.binary.length, 10);
  EXPECT_TRUE(InPool(copy->value.binary.data, pool, sizeof pool));
  EXPECT_EQ(std::memcmp(copy->value.binary.data, chunk, 10), 0);
  // One byte short of the chunk: the copy fails.
  EXPECT_EQ(CopyGroupCodeChain(c.Head(), false, false, false, pool, sizeof pool - 1), nullptr);
}

TEST(CopyGroupCodeChain, TextsAndFollowingNodesInAPool) {
  alignas(8) char pool[256];
  TestChain c;
  c.Text(0, "LINE").Point(10, 1, 2, 3).Text(8, "Layer");
  resbuf* copy = CopyGroupCodeChain(c.Head(), false, false, false, pool, sizeof pool);
  ASSERT_EQ(ChainLength(copy), 3);
  EXPECT_STREQ(copy->value.text, "LINE");
  EXPECT_TRUE(InPool(copy->value.text, pool, sizeof pool));
  // The node after a 5-byte text sits on an 8-byte boundary.
  EXPECT_EQ(reinterpret_cast<uintptr_t>(copy->next) % alignof(resbuf), 0u);
  EXPECT_EQ(copy->next->value.point[1], 2.0);
  EXPECT_STREQ(copy->next->next->value.text, "Layer");
}

// Texts of every length up to an unreadable page: to 15 bytes in the node, its other bytes 0.
TEST(CopyGroupCodeChain, TextsOfEveryLengthUpToAPageEnd) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  auto* end = static_cast<char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) + page;
  ASSERT_EQ(mprotect(end, page, PROT_NONE), 0);
  alignas(8) char pool[128];
  for (size_t length = 0, gap = 0; length <= 20; gap = gap == 18 ? 0 : gap + 1, length += gap == 0) {
    char* text = static_cast<char*>(std::memset(end - gap - length - 1, 'x', gap + length + 1));
    text[length] = '\0';
    resbuf node{nullptr, 1000, {.text = text}}, *copy = CopyGroupCodeChain(&node, false, false, false, pool, sizeof pool);
    const char* at = reinterpret_cast<const char*>(&copy->value) + sizeof(char*);
    EXPECT_TRUE(std::strcmp(copy->value.text, text) == 0 && (copy->value.text == at) == (length < 16) &&
                (length >= 16 || std::string(at + length, 16 - length) == std::string(16 - length, '\0')))
        << length << " " << gap;
  }
  munmap(end - page, 2 * page);
}

// The size measured is what the copy takes: it fits exactly and fails
// one byte short, whatever the mix of nodes, texts and chunks.
TEST(GroupCodeChainPoolBytes, IsExactlyWhatAPoolCopyTakes) {
  const unsigned char chunk[3] = {7, 8, 9};
  TestChain empty;
  TestChain numbers;
  numbers.I16(70, 1).Real(40, 2.0);
  TestChain texts;
  // Up to 15 characters a text lies in its node, longer ones after it.
  texts.Text(0, "LINE").Text(8, nullptr).Point(10, 1, 2, 3).Text(1000, "fifteen bytes..").Text(1000, "sixteen bytes...");
  TestChain mixed;
  mixed.Name(-1, 1, 2).Binary(310, chunk, 3).I32(90, 4).Text(1000, "x").Binary(310, nullptr, 0);
  TestChain endsEarly;  // the copy stops at the first node of no kind
  endsEarly.Text(0, "LINE").I16(-9999, 0).Text(8, "never copied");
  const struct {
    const char* what;
    TestChain& chain;
    size_t bytes;
    int nodes;
  } cases[] = {
      {"empty", empty, 0, 0},
      {"numbers", numbers, 80, 2},
      {"texts", texts, 40 + 40 + 40 + 40 + 40 + 17, 5},
      {"mixed", mixed, 40 + 40 + 3 + 5 + 40 + 40 + 40, 5},
      {"ends early", endsEarly, 40, 1},
  };
  for (const auto& c : cases) {
    const size_t bytes = GroupCodeChainPoolBytes(c.chain.Head());
    EXPECT_EQ(bytes, c.bytes) << c.what;
    if (bytes == 0) continue;
    std::vector<uint64_t> pool(bytes / 8 + 2);
    char* at = reinterpret_cast<char*>(pool.data());
    size_t taken = 0;
    resbuf* copy = CopyGroupCodeChain(c.chain.Head(), false, false, false, at, bytes + 8, &taken);
    EXPECT_EQ(ChainLength(copy), c.nodes) << c.what;
    EXPECT_EQ(taken, bytes) << c.what << ": what the copy says it took";
    EXPECT_EQ(CopyGroupCodeChain(c.chain.Head(), false, false, false, at, bytes - 1), nullptr) << c.what;
  }
}

TEST(CopyGroupCodeChain, ReferenceNamesInline) {
  TestChain c;
  c.Name(330, 0x0102030405060708, 0x1112131415161718).Text(8, "0");
  resbuf* copy = CopyGroupCodeChain(c.Head(), true);
  ASSERT_EQ(ChainLength(copy), 2);
  EXPECT_EQ(copy->value.name[0], 0x0102030405060708);
  EXPECT_EQ(copy->value.name[1], 0x1112131415161718);
  EXPECT_STREQ(copy->next->value.text, "0");
  // With namesInline the inline value is not a heap text to free.
  FreeGroupCodeChain(copy, true);
}

TEST(CopyGroupCodeChain, WideModeConvertsCodePageText) {
  // "Šíř" in code page 1250.
  const char text[] = "\x8a\xed\xf8";
  const char16_t expected[] = u"\u0160\u00ed\u0159";
  TestChain c;
  c.Text(1000, text).I16(1070, 5);
  resbuf* copy = CopyGroupCodeChain(c.Head(), false, false, true);
  ASSERT_EQ(ChainLength(copy), 2);
  EXPECT_EQ(std::u16string(copy->value.wtext), std::u16string(expected));
  EXPECT_EQ(copy->next->value.i16, 5);
  FreeGroupCodeChain(copy);

  // In a pool the text takes (3 + 1) * 2 bytes after its node.
  alignas(8) char pool[40 + 8 + 40];
  resbuf* pooled = CopyGroupCodeChain(c.Head(), false, false, true, pool, sizeof pool);
  ASSERT_EQ(ChainLength(pooled), 2);
  EXPECT_EQ(std::u16string(pooled->value.wtext), std::u16string(expected));
  EXPECT_EQ(CopyGroupCodeChain(c.Head(), false, false, true, pool, sizeof pool - 1), nullptr);
}

TEST(DuplicateGroupCodeChain, NullSourceIsNotAFailure) {
  resbuf dummy{};
  resbuf* out = &dummy;
  EXPECT_TRUE(DuplicateGroupCodeChain(nullptr, &out));
  EXPECT_EQ(out, nullptr);

  TestChain c;
  c.Text(0, "LINE").Text(8, "0");
  EXPECT_TRUE(DuplicateGroupCodeChain(c.Head(), &out));
  EXPECT_EQ(ChainLength(out), 2);
  FreeGroupCodeChain(out);

  TestChain bad;
  bad.I16(6000, 0);
  EXPECT_FALSE(DuplicateGroupCodeChain(bad.Head(), &out));
}

TEST(DeleteGroupCodeChain, ReleasesTextsAndNodesButNotChunks) {
  const unsigned char chunk[3] = {7, 8, 9};
  TestChain c;
  c.Text(0, "LINE").Binary(310, chunk, 3).Point(10, 0, 0, 0);
  resbuf* copy = CopyGroupCodeChain(c.Head());
  ASSERT_EQ(ChainLength(copy), 3);
  unsigned char* heapChunk = copy->next->value.binary.data;
  DeleteGroupCodeChain(&copy);
  EXPECT_EQ(copy, nullptr);
  // Still ours: freeing it here would be a double free had Delete taken it.
  std::free(heapChunk);
  DeleteGroupCodeChain(nullptr);
}

TEST(CreateGroupCodeNode, TextOnlyForTextCodes) {
  resbuf* node = nullptr;
  ASSERT_TRUE(CreateGroupCodeNode(&node, 70, nullptr));
  EXPECT_EQ(node->code, 70);
  EXPECT_EQ(node->next, nullptr);
  EXPECT_EQ(node->value.i64, 0);
  std::free(node);

  node = nullptr;
  EXPECT_FALSE(CreateGroupCodeNode(&node, 70, "x"));
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->value.text, nullptr);
  std::free(node);

  char layer[] = "Pipes";
  ASSERT_TRUE(CreateGroupCodeNode(&node, 8, layer));
  EXPECT_NE(node->value.text, layer);
  EXPECT_STREQ(node->value.text, "Pipes");
  DeleteGroupCodeChain(&node);
  EXPECT_FALSE(CreateGroupCodeNode(nullptr, 8, "x"));
}

// Two entities: a line without a layer node, then a circle on "Layer".
TestChain TwoEntities() {
  TestChain c;
  c.Name(-1, 1, 0)
      .Text(0, "LINE")
      .Point(10, 1, 2, 3)
      .Text(0, "CIRCLE")
      .Text(8, "Layer")
      .Point(10, 4, 5, 6);
  return c;
}

TEST(EntitySearch, StopsAtTheNextEntity) {
  TestChain c = TwoEntities();
  resbuf* chain = c.Head();
  EXPECT_EQ(GetEntityString(chain, 8), nullptr);
  EXPECT_STREQ(GetEntityString(chain, 0), "LINE");
  EXPECT_EQ(GetEntityString(chain, -1), nullptr);  // leading names are passed over
  const resbuf* circle = FindGroupCode(chain->next->next, 0);
  EXPECT_STREQ(GetEntityString(circle, 8), "Layer");
  EXPECT_EQ(GetEntityString(nullptr, 8), nullptr);

  double p[3] = {-1, -1, -1};
  GetEntityPoint(chain, p, 10);
  EXPECT_EQ(p[0], 1.0);
  EXPECT_EQ(p[2], 3.0);
  GetEntityPoint(chain, p, 11);
  EXPECT_EQ(p[0], 1.0);  // absent: unchanged
  GetEntityPoint(circle, p, 10);
  EXPECT_EQ(p[1], 5.0);
}

TEST(EntitySearch, FindGroupCodeSearchesTheWholeChain) {
  TestChain c = TwoEntities();
  resbuf* chain = c.Head();
  resbuf* layer = FindGroupCode(chain, 8);
  ASSERT_NE(layer, nullptr);
  EXPECT_STREQ(layer->value.text, "Layer");
  EXPECT_EQ(FindGroupCode(chain, 62), nullptr);
}

TEST(EntitySearch, SkipToNextEntity) {
  TestChain c = TwoEntities();
  resbuf* cursor = c.Head();
  SkipToNextEntity(&cursor);  // from the name node to the LINE
  ASSERT_NE(cursor, nullptr);
  EXPECT_STREQ(cursor->value.text, "LINE");
  SkipToNextEntity(&cursor);
  ASSERT_NE(cursor, nullptr);
  EXPECT_STREQ(cursor->value.text, "CIRCLE");
  SkipToNextEntity(&cursor);
  EXPECT_EQ(cursor, nullptr);
  SkipToNextEntity(&cursor);
  EXPECT_EQ(cursor, nullptr);
}

TEST(ChainEdit, SpliceInsertsAWholeChainAfterANode) {
  TestChain outer;
  outer.I16(70, 1).I16(70, 4);
  TestChain inner;
  inner.I16(70, 2).I16(70, 3);
  resbuf* a = outer.Head();
  resbuf* x = inner.Head();
  EXPECT_EQ(SpliceGroupChain(a, x), a);
  std::string order;
  for (const resbuf* n = a; n; n = n->next) order += std::to_string(n->value.i16);
  EXPECT_EQ(order, "1234");
  EXPECT_EQ(SpliceGroupChain(nullptr, x), nullptr);
}

TEST(ChainEdit, LastNodeOrTheHeadSlot) {
  resbuf* head = nullptr;
  resbuf* node = nullptr;
  ASSERT_TRUE(CreateGroupCodeNode(&node, 8, "A"));
  // Appending through the result works for an empty chain too.
  LastGroupCodeNode(&head)->next = node;
  EXPECT_EQ(head, node);
  resbuf* second = nullptr;
  ASSERT_TRUE(CreateGroupCodeNode(&second, 8, "B"));
  EXPECT_EQ(LastGroupCodeNode(&head), node);
  LastGroupCodeNode(&head)->next = second;
  EXPECT_EQ(LastGroupCodeNode(&head), second);
  EXPECT_EQ(ChainLength(head), 2);
  DeleteGroupCodeChain(&head);
}

TEST(CopyGroupCodeChain, PoolOfExactlyTheBytesNeeded) {
  // Three 40-byte nodes, "LINE" and its NUL in the first, and three chunk
  // bytes.
  const unsigned char chunk[3] = {7, 8, 9};
  TestChain c;
  c.Text(0, "LINE").Point(10, 1, 2, 3).Binary(310, chunk, 3);
  alignas(8) char pool[40 * 3 + 3];
  resbuf* copy = CopyGroupCodeChain(c.Head(), false, false, false, pool, sizeof pool);
  ASSERT_EQ(ChainLength(copy), 3);
  EXPECT_STREQ(copy->value.text, "LINE");
  EXPECT_EQ(copy->value.text, reinterpret_cast<char*>(&copy->value) + sizeof(char*));
  EXPECT_EQ(copy->next->value.point[2], 3.0);
  const resbuf* third = copy->next->next;
  ASSERT_EQ(third->value.binary.length, 3);
  EXPECT_TRUE(InPool(third->value.binary.data, pool, sizeof pool));
  EXPECT_EQ(std::memcmp(third->value.binary.data, chunk, 3), 0);
  EXPECT_EQ(CopyGroupCodeChain(c.Head(), false, false, false, pool, sizeof pool - 1), nullptr);
  EXPECT_EQ(CopyGroupCodeChain(c.Head(), false, false, false, pool, sizeof pool - 40), nullptr);
}

TEST(EntitySearch, ExtendedDataByApplicationOrText) {
  TestChain c;
  c.Text(0, "INSERT").Text(8, "_ZLEVEL").Text(1001, "QM_KEY").Text(1000, "_ZLEVEL");
  c.Text(1001, "JOV_DATA").Text(1000, "TPP0015").Text(1000, "_ZLEVEL").Text(1000, "1200");
  resbuf* head = c.Head();
  const resbuf* app = FindXDataByAppName(head, "JOV_DATA");
  ASSERT_NE(app, nullptr);
  EXPECT_STREQ(app->next->value.text, "TPP0015");
  EXPECT_EQ(FindXDataByAppName(head, "jov_data"), nullptr);

  // The first 1000 node of that text anywhere; the value follows the key.
  const resbuf* key = FindXDataByString(app, "_ZLEVEL");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->code, 1000);
  EXPECT_STREQ(key->next->value.text, "1200");
  EXPECT_EQ(FindXDataByString(head, "_ZLEVEL"), head->next->next->next);
  EXPECT_EQ(FindXDataByString(head, "1201"), nullptr);
  EXPECT_EQ(FindXDataByString(head, nullptr), nullptr);
  EXPECT_EQ(FindXDataByAppName(nullptr, "JOV_DATA"), nullptr);
}

}  // namespace
