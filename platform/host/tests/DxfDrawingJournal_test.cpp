#include <gtest/gtest.h>

#include <functional>

#include "platform/host/DxfDrawing.h"
#include "platform/host/tests/DxfTestFiles.h"

namespace host {
namespace {

// Edits of every kind, each rolled back to the mark before it: the drawing
// saves as it did there, its seed is as it was and every entity is found
// by its handle. The drawings: with and without handles, a seed written
// with blanks, none at all. Enough edits to fill several journal chunks.
TEST(DxfDrawingJournal, EveryMarkIsReachedAgain) {
  const std::string r2000 = test::ReadFile(test::FixturePath("r2000_network.dxf"));
  std::string padded = r2000, unseeded = r2000;
  padded.replace(padded.find("$HANDSEED\n  5\n4B\n"), 17, "$HANDSEED\n  5\n  4B \n");
  unseeded.replace(unseeded.find("  9\n$HANDSEED\n  5\n4B\n"), 21, "");
  const std::pair<const char*, std::string> drawings[] = {
      {"r2000", r2000}, {"r12", test::ReadFile(test::FixturePath("r12_network.dxf"))},
      {"padded seed", padded}, {"no seed", unseeded},
      {"utf8", test::ReadFile(test::FixturePath("r2013_utf8.dxf"))}};
  const PairList circle{{0, "CIRCLE"}, {8, "NEW_LAYER"}, {10, "1"}, {20, "2"}, {40, "3"}, {1001, "NEW_APP"}};
  using Edit = std::function<void(DxfDrawing&)>;
  auto replace = [](size_t i, PairList more) {
    return [i, more](DxfDrawing& d) {
      DxfEntity& e = *d.ModelSpace()[i % d.ModelSpace().size()];
      PairList pairs = e.pairs;
      pairs.insert(pairs.end(), more.begin(), more.end());
      d.ReplaceEntity(e, std::move(pairs), nullptr);
    };
  };
  std::vector<Edit> edits = {
      replace(0, {}),
      replace(4, {{0, "VERTEX"}, {10, "5"}, {20, "6"}, {0, "VERTEX"}, {10, "7"}, {20, "8"}}),
      [&](DxfDrawing& d) { d.AppendEntity(circle, nullptr); },
      [](DxfDrawing& d) { d.SetHeaderVariable("$CLAYER", {{8, "NEW_LAYER"}}); },
      [](DxfDrawing& d) { d.SetHeaderVariable("$JOVTEST", {{1, "x"}}); },
      replace(1, {{1001, "OTHER_APP"}, {1000, "y"}}),
      [](DxfDrawing& d) { d.SetHeaderVariable("$HANDSEED", {{5, "1000"}}); },
      [](DxfDrawing& d) { d.AllocateHandle(); },
      [&](DxfDrawing& d) {
        for (const char* name : {"BLOCK_A", "BLOCK_A", "*U"}) {
          d.BeginBlock(name, {1, 2, 0}, nullptr);
          d.AddBlockEntity(circle, nullptr);
          d.EndBlock(nullptr);
        }
      },
  };
  for (size_t i = 0; i < 5000; ++i) edits.push_back(replace(i, {}));
  edits.push_back([&](DxfDrawing& d) { d.AppendEntity(circle, nullptr); });
  for (const auto& [what, text] : drawings) {
    SCOPED_TRACE(what);
    DxfDrawing d;
    DxfError error;
    ASSERT_TRUE(d.LoadText(text, &error)) << error.ToString();
    d.KeepJournal(true);
    struct Mark {
      size_t at;
      std::string text;
      uint64_t seed;
    };
    std::vector<Mark> marks;
    for (size_t k = 0; k < edits.size(); ++k) {
      // Only a few of the many replacements are remembered.
      if (k < 12 || k % 997 == 0 || k + 1 == edits.size())
        marks.push_back({d.JournalMark(), d.SaveText(), d.HandleSeed()});
      edits[k](d);
    }
    for (size_t m = marks.size(); m-- > 0;) {
      d.RollBack(marks[m].at);
      ASSERT_TRUE(d.SaveText() == marks[m].text) << "mark " << m;
      EXPECT_EQ(d.HandleSeed(), marks[m].seed) << "mark " << m;
      for (const DxfEntity* e : d.ModelSpace()) {
        EXPECT_TRUE(!e->Handle() || d.FindByHandle(*e->Handle()) == e) << "mark " << m;
        for (const DxfEntity& child : e->children)
          EXPECT_TRUE(!child.Handle() || d.FindByHandle(*child.Handle()) == &child) << "mark " << m;
      }
      if (m == marks.size() / 2) {
        // Edits after a rollback are taken back as well.
        const size_t at = d.JournalMark();
        for (size_t k = 0; k < 12; ++k) edits[k](d);
        d.RollBack(at);
        ASSERT_TRUE(d.SaveText() == marks[m].text) << "again at mark " << m;
      }
    }
  }
}

}  // namespace
}  // namespace host
