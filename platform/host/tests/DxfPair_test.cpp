#include "platform/host/DxfPair.h"

#include "platform/host/DxfEntity.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace host {
namespace {

TEST(DxfPair, HandlesAreHexadecimal) {
  EXPECT_EQ(ParseHandle("1F"), 0x1Fu);
  EXPECT_EQ(ParseHandle("  a0 "), 0xA0u);
  EXPECT_EQ(ParseHandle("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  EXPECT_FALSE(ParseHandle(""));
  EXPECT_FALSE(ParseHandle("1G"));
  EXPECT_FALSE(ParseHandle("10000000000000000")) << "more than 64 bits";
  EXPECT_EQ(FormatHandle(0x4B), "4B");
  EXPECT_EQ(FormatHandle(0xABCDEF0123), "ABCDEF0123");
  // Only FormatHandle's own text is the handle's text.
  const struct {
    const char* text;
    uint64_t handle;
    bool same;
  } texts[] = {{"4B", 0x4B, true},  {"4b", 0x4B, false}, {"04B", 0x4B, false}, {" 4B", 0x4B, false},
               {"4C", 0x4B, false}, {"0", 0, true},      {"", 0, false},       {"FFFFFFFFFFFFFFFF", UINT64_MAX, true}};
  for (const auto& t : texts) EXPECT_EQ(IsHandleText(t.text, t.handle), t.same) << t.text;
  // A text in its own form is the handle's text of what it reads as.
  for (const char* text : {"4B", "4b", "04B", " 4B", "0", "00", "", "1G", "FFFFFFFFFFFFFFFF", "10000000000000000"}) {
    const std::optional<uint64_t> h = ParseHandle(text);
    EXPECT_EQ(IsOwnHandleText(text), h && IsHandleText(text, *h)) << text;
  }
}

// Decimal comma for C++ streams.
struct CommaPoint : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(DxfPair, NumbersIgnoreTheProcessLocale) {
  // Under a locale with a decimal comma (C functions and C++ streams alike)
  // values still read and write with a point. scripts/install-deps makes
  // the Czech locale.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  ASSERT_NE(std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8"), nullptr) << "run scripts/install-deps";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  ASSERT_EQ(std::strtod("2,5", nullptr), 2.5) << "the C library follows the locale";
  const std::locale previousGlobal = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  std::ostringstream stream;
  stream << 2.5;
  ASSERT_EQ(stream.str(), "2,5") << "so do new streams";

  EXPECT_EQ(ParseDxfReal(" 2.5 "), 2.5);
  EXPECT_FALSE(ParseDxfReal("2,5"));
  EXPECT_EQ(FormatDxfReal(0.001), "0.001");
  EXPECT_EQ(FormatDxfReal(-1234.5), "-1234.5");
  std::locale::global(previousGlobal);
  std::setlocale(LC_NUMERIC, saved.c_str());

  EXPECT_EQ(ParseDxfReal("+1e3"), 1000.0);
  EXPECT_FALSE(ParseDxfReal("1,5"));
  EXPECT_FALSE(ParseDxfReal(""));
  EXPECT_EQ(ParseDxfInt("     1"), 1);
  EXPECT_EQ(ParseDxfInt("-3"), -3);
  EXPECT_FALSE(ParseDxfInt("1.0"));
}

TEST(DxfPair, RealsRoundTripWithADecimalPoint) {
  EXPECT_EQ(FormatDxfReal(1.0), "1.0");
  EXPECT_EQ(FormatDxfReal(-0.0), "0.0");
  EXPECT_EQ(FormatDxfReal(1e300 * 1e300), "0.0") << "DXF has no infinity";
  for (double v : {0.1, 1.0 / 3.0, 123456.789, -2.5e-7, 6.283185307179586, -2.2250738585072014e-308, 5.0, -0.0}) {
    auto back = ParseDxfReal(FormatDxfReal(v));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, v);
    char text[kDxfRealSize];
    EXPECT_EQ(std::string_view(text, FormatDxfReal(v, text)), FormatDxfReal(v)) << "the same text into a buffer";
  }
}

TEST(DxfPair, NamesCompareWithoutCaseInCodePage1250) {
  EXPECT_TRUE(SameName("Defpoints", "DEFPOINTS"));
  EXPECT_TRUE(SameName("\x8A\xC8", "\x9A\xE8"));  // "ŠČ" and "šč"
  EXPECT_FALSE(SameName("TRUBKY", "TRUBKY1"));
}

TEST(DxfPair, ErrorsNameTheirLine) {
  DxfError error;
  EXPECT_FALSE(Fail(&error, "bad", 12));
  EXPECT_EQ(error.ToString(), "line 12: bad");
  EXPECT_FALSE(Fail(&error, "no file"));
  EXPECT_EQ(error.ToString(), "no file");
  EXPECT_FALSE(Fail(nullptr, "nobody listens"));
}

}  // namespace
}  // namespace host

// A value keeps its bytes whatever its length and origin: views of the
// text, own copies, and values too long to say their size in the word.
TEST(DxfPair, ValuesKeepTheirBytesAtEveryLength) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{32766}, size_t{32767}, size_t{100000}}) {
    std::string text(size, 'x');
    if (size) text.back() = 'y';
    host::DxfValue view = host::DxfValue::Borrow(text), own(text);
    for (const host::DxfValue* v : {&view, &own}) {
      EXPECT_EQ(v->View(), text) << size;
      EXPECT_EQ(v->size(), size);
      EXPECT_EQ(v->empty(), size == 0);
    }
    EXPECT_EQ(view.IsOwned(), size >= 32767) << size;  // a long one is copied
    EXPECT_EQ(own.IsOwned(), size > 0);
    host::DxfValue moved = std::move(own), shared = view.Share();
    EXPECT_EQ(moved.View(), text);
    EXPECT_EQ(shared.View(), text);
    EXPECT_TRUE(own.empty());
    // Set over a view and over own bytes, of the same length and another.
    for (const std::string& next : {std::string(size, 'z'), text + "z"}) {
      host::DxfValue a = host::DxfValue::Borrow(text), b(text);
      a.Set(next);
      b.Set(next);
      EXPECT_TRUE(a.View() == next && b.View() == next && view.View() == text) << size;
    }
  }
}

// Pair lists, objects and runs made in an arena and on the heap take over
// each other's memory and are let go of in any order, the arena going first
// or last; the sanitizers see every heap block freed once.
TEST(DxfPair, ListsOfArenasAndHeapMixFreely) {
  for (bool arenaFirst : {false, true}) {
    auto arena = std::make_unique<host::PairArena>(4096);
    host::PairList fromArena, fromHeap{{1, "heap"}};
    std::unique_ptr<host::DxfEntity> entity;
    {
      host::PairArenaScope scope(arena.get());
      for (int i = 0; i < 2000; ++i) fromArena.push_back({static_cast<int16_t>(i), "a"});  // over several blocks
      entity = std::make_unique<host::DxfEntity>();
      entity->pairs = {{0, "LINE"}};
      entity->children.reserve(2);
      entity->children.emplace_back().pairs = {{0, "VERTEX"}};
    }
    host::DxfEntity copy = *entity;
    host::EntityRun made(std::vector<host::DxfEntity>(2));  // from a heap list
    copy.children.push_back(std::move(made.back()));    // grows onto the heap
    entity->children = std::move(copy.children);
    EXPECT_EQ(entity->children.size(), 2u);
    EXPECT_EQ(entity->children[0].Type(), "VERTEX");
    std::swap(fromArena, fromHeap);
    EXPECT_EQ(fromHeap.size(), 2000u);
    entity->pairs.push_back({8, "0"});  // grows onto the heap
    fromArena = std::move(entity->pairs);
    if (arenaFirst) {
      entity.reset();
      fromHeap.clear();
      fromHeap.shrink_to_fit();
      arena.reset();
    }
    EXPECT_EQ(fromArena.size(), 2u);
  }
}

// Memory taken across blocks and 2 MB steps, mapped as it is reached or
// ahead on a thread, keeps what was written into it; an arena goes while
// its thread maps.
TEST(DxfPair, ArenasMappedAheadKeepWhatTheyHold) {
  for (const bool behind : {false, true}) {
    host::PairArena arena(3 << 20, true, behind);
    std::vector<std::pair<unsigned char*, size_t>> taken;
    for (size_t size = 1, total = 0; total < (size_t{9} << 20); total += size, size = size * 7 % 65521 + 1) {
      taken.push_back({static_cast<unsigned char*>(arena.Take(size)), size});
      ASSERT_NE(taken.back().first, nullptr);
      std::memset(taken.back().first, static_cast<int>(taken.size() & 0xFF), size);
    }
    for (size_t k = 0; k < taken.size(); ++k)
      for (size_t i = 0; i < taken[k].second; i += 97) ASSERT_EQ(taken[k].first[i], (k + 1) & 0xFF) << k;
    host::PairArena(3 << 20, true, behind).Take(1);
  }
}
