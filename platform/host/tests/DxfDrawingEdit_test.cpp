#include <gtest/gtest.h>

#include <algorithm>

#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/tests/DxfTestFiles.h"

namespace host {
namespace {

using test::FixturePath;

class DxfDrawingEdit : public ::testing::Test {
 protected:
  void Load(const char* name) {
    DxfError error;
    ASSERT_TRUE(d.Load(FixturePath(name), &error)) << error.ToString();
  }
  DxfEntity* Append(PairList pairs) {
    DxfError error;
    DxfEntity* e = d.AppendEntity(std::move(pairs), &error);
    EXPECT_NE(e, nullptr) << error.ToString();
    return e;
  }
  // Codes of the pairs in order, to check where the completion put them.
  static std::vector<int> Codes(const DxfEntity& e) {
    std::vector<int> out;
    for (const DxfPair& p : e.pairs) out.push_back(p.code);
    return out;
  }

  DxfDrawing d;
};

const PairList kLine{{0, "LINE"}, {100, "AcDbEntity"}, {8, "JOV_TRUBKY"}, {100, "AcDbLine"},
                     {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "1.0"}, {21, "0.0"},
                     {31, "0.0"}};

TEST_F(DxfDrawingEdit, NewR2000EntityGetsHandleOwnerAndLayer) {
  Load("r2000_network.dxf");
  DxfEntity* e = Append(kLine);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Handle(), 0x4Bu) << "the first handle is the old seed";
  EXPECT_EQ(e->Owner(), 0x1Fu) << "owned by the model-space record";
  EXPECT_EQ(Codes(*e), (std::vector<int>{0, 5, 330, 100, 8, 100, 10, 20, 30, 11, 21, 31}));
  const DxfEntity* layer = d.FindLayer("jov_trubky");
  ASSERT_NE(layer, nullptr) << "the missing layer is added";
  EXPECT_EQ(layer->Value(6), "Continuous");
  EXPECT_EQ(layer->Owner(), 0x2u) << "owned by the LAYER table";
  EXPECT_EQ(d.FindTable("LAYER")->head.back().value, "4") << "entry count follows";

  // Every handle in use stays below the seed, in the header too.
  uint64_t seed = d.HandleSeed();
  EXPECT_GT(seed, *layer->Handle());
  EXPECT_EQ(d.HeaderValue("$HANDSEED"), FormatHandle(seed));
  EXPECT_EQ(d.FindByHandle(*e->Handle()), e);
  EXPECT_EQ(d.ModelSpace().back(), e);
}

TEST_F(DxfDrawingEdit, CopiedPairsDoNotBringTheOriginalsIdentity) {
  Load("r2000_network.dxf");
  PairList copy = d.ModelSpace()[3]->pairs;  // the TEXT, with reactors and handle 45
  copy.insert(copy.begin(), {-1, "entity name"});
  copy.insert(copy.begin() + 3, {360, "D"});
  DxfEntity* e = Append(copy);
  ASSERT_NE(e, nullptr);
  EXPECT_NE(e->Handle(), 0x45u);
  EXPECT_EQ(e->Owner(), 0x1Fu);
  EXPECT_EQ(e->Find(360), nullptr);
  EXPECT_EQ(e->Find(-1), nullptr);
  for (const DxfPair& p : e->pairs) EXPECT_NE(p.code, 102) << "no reactors of another object";
  EXPECT_EQ(d.FindByHandle(0x45), d.ModelSpace()[3]) << "the original keeps its handle";
}

TEST_F(DxfDrawingEdit, MarkersAreAddedWhereR2000WantsThem) {
  Load("r2000_network.dxf");
  DxfEntity* line = Append({{0, "LINE"}, {8, "0"}, {62, "1"}, {10, "0"}, {20, "0"}, {11, "1"},
                            {21, "1"}});
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Codes(*line), (std::vector<int>{0, 5, 330, 100, 8, 62, 100, 10, 20, 11, 21}));
  EXPECT_EQ(line->pairs[6].value, "AcDbLine");

  DxfEntity* text = Append({{0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "2.5"}, {1, "A"},
                            {72, "1"}, {11, "0"}, {21, "0"}, {73, "2"}, {1001, "JOV_DATA"},
                            {1000, "x"}});
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(Codes(*text), (std::vector<int>{0, 5, 330, 100, 8, 100, 10, 20, 40, 1, 72, 11, 21,
                                            100, 73, 1001, 1000}))
      << "layer 0 is supplied, the second AcDbText goes before 73";

  DxfEntity* arc = Append({{0, "ARC"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "0"},
                           {51, "90"}});
  ASSERT_NE(arc, nullptr);
  EXPECT_EQ(Codes(*arc), (std::vector<int>{0, 5, 330, 100, 8, 100, 10, 20, 40, 100, 50, 51}));
  EXPECT_EQ(arc->pairs[5].value, "AcDbCircle");
  EXPECT_EQ(arc->pairs[9].value, "AcDbArc");
}

TEST_F(DxfDrawingEdit, ApplicationsOfExtendedDataAreRegistered) {
  Load("r2000_network.dxf");
  PairList pairs = kLine;
  pairs.insert(pairs.end(), {{-3, ""}, {1001, "JOV_DATA"}, {1000, "a"}, {1001, "JOV_LINK"},
                             {1000, "2C"}});
  ASSERT_NE(Append(pairs), nullptr);
  EXPECT_EQ(d.FindTable("APPID")->entries.size(), 3u) << "JOV_DATA existed, JOV_LINK is new";
  ASSERT_NE(d.FindTableEntry("APPID", "JOV_LINK"), nullptr);
}

TEST_F(DxfDrawingEdit, PolylineRunIsCompleted) {
  Load("r2000_network.dxf");
  DxfEntity* e = Append({{0, "POLYLINE"}, {8, "A"}, {66, "1"}, {70, "8"},
                         {0, "VERTEX"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "32"},
                         {0, "VERTEX"}, {10, "1"}, {20, "0"}, {30, "5"}, {70, "32"}});
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->children.size(), 3u) << "a SEQEND closes the run";
  EXPECT_TRUE(e->children[2].IsType("SEQEND"));
  EXPECT_EQ(e->pairs[5].value, "AcDb3dPolyline");
  for (const DxfEntity& child : e->children) {
    EXPECT_EQ(child.Owner(), e->Handle()) << "vertices belong to their polyline";
    EXPECT_EQ(child.Layer(), "A");
    EXPECT_EQ(d.FindByHandle(*child.Handle()), &child);
  }
  EXPECT_EQ(e->children[0].pairs[6].value, "AcDb3dPolylineVertex");
}

TEST_F(DxfDrawingEdit, InsertOfUnknownBlockOrSeveralEntitiesIsRefused) {
  Load("r2000_network.dxf");
  uint64_t seed = d.HandleSeed();
  DxfError error;
  EXPECT_EQ(d.AppendEntity({{0, "INSERT"}, {8, "0"}, {2, "NOPE"}, {10, "0"}, {20, "0"}}, &error),
            nullptr);
  EXPECT_NE(error.message.find("'NOPE' is not defined"), std::string::npos);
  EXPECT_EQ(d.AppendEntity({{0, "LINE"}, {8, "0"}, {0, "CIRCLE"}, {8, "0"}}, &error), nullptr);
  EXPECT_NE(error.message.find("one entity at a time"), std::string::npos);
  EXPECT_EQ(d.AppendEntity({{8, "0"}, {0, "LINE"}}, &error), nullptr);
  EXPECT_EQ(d.AppendEntity({{0, "ENDSEC"}}, &error), nullptr);
  EXPECT_EQ(d.AppendEntity({}, &error), nullptr);
  EXPECT_EQ(d.HandleSeed(), seed) << "refused entities use no handles";
  EXPECT_EQ(d.Entities().size(), 6u);

  DxfEntity* insert = Append({{0, "INSERT"}, {8, "0"}, {2, "ventil"}, {10, "0"}, {20, "0"},
                              {0, "ATTRIB"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "X"}, {2, "DN"},
                              {70, "0"}});
  ASSERT_NE(insert, nullptr);
  EXPECT_EQ(insert->Value(66), "1") << "attributes are announced";
  EXPECT_EQ(insert->children.size(), 2u);
}

TEST_F(DxfDrawingEdit, R12EntityLosesWhatR12LacksAndKeepsHandles) {
  Load("r12_network.dxf");
  PairList pairs = kLine;
  pairs.insert(pairs.begin() + 1, {{5, "99"}, {330, "1F"}});
  pairs.push_back({370, "25"});
  pairs.push_back({1001, "JOV_DATA"});
  pairs.push_back({1000, "x"});
  DxfEntity* e = Append(pairs);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Codes(*e), (std::vector<int>{0, 5, 8, 10, 20, 30, 11, 21, 31, 1001, 1000}));
  EXPECT_EQ(e->Handle(), 0x30u);
  EXPECT_EQ(d.FindLayer("JOV_TRUBKY")->Value(6), "CONTINUOUS");
}

TEST_F(DxfDrawingEdit, R12HasNoLightweightPolyline) {
  Load("r12_network.dxf");
  DxfEntity* e = Append({{0, "LWPOLYLINE"}, {100, "AcDbEntity"}, {8, "P"}, {62, "256"},
                         {100, "AcDbPolyline"}, {90, "2"}, {70, "1"}, {43, "0.5"}, {38, "7.0"},
                         {10, "1.0"}, {20, "2.0"}, {42, "0.25"}, {10, "3.0"}, {20, "4.0"},
                         {1001, "JOV_DATA"}, {1000, "x"}});
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->IsType("POLYLINE"));
  EXPECT_EQ(e->Value(70), "1") << "closed stays closed";
  EXPECT_EQ(e->Value(40), "0.5");
  EXPECT_EQ(e->Value(30), "7.0") << "elevation";
  EXPECT_EQ(e->Value(62), "256");
  EXPECT_EQ(e->pairs.back().value, "x") << "extended data stays on the polyline";
  ASSERT_EQ(e->children.size(), 3u);
  const DxfEntity& v = e->children[0];
  EXPECT_EQ(v.Value(10), "1.0");
  EXPECT_EQ(v.Value(20), "2.0");
  EXPECT_EQ(v.Value(42), "0.25");
  EXPECT_EQ(v.Layer(), "P");
  EXPECT_EQ(e->children[1].Find(42), nullptr);
  EXPECT_TRUE(e->children[2].IsType("SEQEND"));
  EXPECT_TRUE(v.Handle().has_value());
}

TEST_F(DxfDrawingEdit, DrawingWithoutHandlesGetsNone) {
  DxfError error;
  ASSERT_TRUE(d.LoadText("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n"
                         "0\nENDSEC\n0\nEOF\n",
                         &error));
  EXPECT_FALSE(d.UsesHandles());
  DxfEntity* e = Append({{0, "CIRCLE"}, {8, "NEW"}, {10, "0"}, {20, "0"}, {40, "1"}});
  ASSERT_NE(e, nullptr);
  EXPECT_FALSE(e->Handle());
  EXPECT_NE(d.FindById(e->id), nullptr) << "found by its id all the same";
  ASSERT_NE(d.FindLayer("NEW"), nullptr) << "a LAYER table is made for it";
  DxfDrawing again;
  ASSERT_TRUE(again.LoadText(d.SaveText(), &error)) << error.ToString();
  EXPECT_EQ(again.Entities().size(), 2u);
  EXPECT_EQ(again.Layers().size(), 1u);
}

TEST_F(DxfDrawingEdit, EmptyDrawingBecomesAMinimalR12File) {
  ASSERT_NE(Append({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}), nullptr);
  std::string text = d.SaveText();
  EXPECT_LT(text.find("TABLES"), text.find("ENTITIES")) << "sections in their usual order";
  DxfDrawing again;
  DxfError error;
  ASSERT_TRUE(again.LoadText(text, &error)) << error.ToString();
  EXPECT_EQ(again.ModelSpace().size(), 1u);
}

TEST_F(DxfDrawingEdit, ReplaceKeepsIdentity) {
  Load("r2000_network.dxf");
  DxfEntity* insert = d.ModelSpace()[2];
  uint64_t id = insert->id;
  const DxfEntity* attrib = &insert->children[0];
  PairList pairs = insert->pairs;
  pairs.insert(pairs.begin(), {-1, "name"});
  pairs[2].value = "999";  // a stale handle in the pairs is ignored
  pairs.push_back({1001, "JOV_DATA"});
  pairs.push_back({1000, "TCD0000-0001"});
  DxfError error;
  ASSERT_TRUE(d.ReplaceEntity(*insert, pairs, &error)) << error.ToString();
  EXPECT_EQ(insert->Handle(), 0x42u);
  EXPECT_EQ(insert->Owner(), 0x1Fu);
  EXPECT_EQ(insert->id, id);
  EXPECT_EQ(insert->pairs.back().value, "TCD0000-0001");
  EXPECT_EQ(&insert->children[0], attrib) << "the attribute run is kept";
  EXPECT_EQ(d.FindByHandle(0x42), insert);
  EXPECT_EQ(d.FindByHandle(0x999), nullptr);
  EXPECT_EQ(d.FindByHandle(0x43), attrib);
}

TEST_F(DxfDrawingEdit, ReplaceKeepsTheGroupsThatTieTheEntityToOthers) {
  // A pipe in a group, with an extension dictionary: the pairs written
  // back carry neither, as a chain does, and the pipe keeps both, once.
  const std::string groups = "102\n{ACAD_XDICTIONARY\n360\n35\n102\n}\n102\n{ACAD_REACTORS\n330\n34\n102\n}\n";
  DxfError error;
  ASSERT_TRUE(d.LoadText("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n  0\nSECTION\n  2\n"
                         "ENTITIES\n  0\nLWPOLYLINE\n  5\n32\n" + groups +
                         "330\n1F\n100\nAcDbEntity\n  8\nP\n100\nAcDbPolyline\n 90\n1\n 70\n0\n 10\n0\n 20\n0\n"
                         "  0\nENDSEC\n  0\nEOF\n",
                         &error))
      << error.ToString();
  DxfEntity* pipe = d.ModelSpace()[0];
  for (const char* x : {"5", "7"}) {
    ASSERT_TRUE(d.ReplaceEntity(*pipe, {{0, "LWPOLYLINE"}, {8, "P"}, {90, "1"}, {70, "0"}, {10, x}, {20, "0"}}, &error))
        << error.ToString();
    const std::string saved = d.SaveText();
    EXPECT_NE(saved.find("  5\n32\n" + groups + "330\n"), std::string::npos) << x << saved;
    EXPECT_EQ(saved.find("ACAD_REACTORS"), saved.rfind("ACAD_REACTORS")) << x;
    EXPECT_NE(saved.find(std::string(" 10\n") + x + "\n"), std::string::npos) << x;
  }
}

TEST_F(DxfDrawingEdit, ReplaceWithANewRunKeepsChildHandles) {
  Load("r2000_network.dxf");
  DxfEntity* polyline = d.ModelSpace()[4];
  uint64_t firstVertexId = polyline->children[0].id;
  PairList pairs = polyline->pairs;
  for (int k = 0; k < 3; ++k)
    pairs.insert(pairs.end(), {{0, "VERTEX"}, {8, "TRUBKY"}, {10, std::to_string(k)}, {20, "0"}});
  DxfError error;
  ASSERT_TRUE(d.ReplaceEntity(*polyline, pairs, &error)) << error.ToString();
  ASSERT_EQ(polyline->children.size(), 4u);
  EXPECT_EQ(polyline->children[0].Handle(), 0x47u);
  EXPECT_EQ(polyline->children[0].id, firstVertexId);
  EXPECT_EQ(polyline->children[1].Handle(), 0x48u);
  EXPECT_EQ(polyline->children[2].Handle(), 0x49u) << "handles go by position";
  EXPECT_EQ(polyline->children[3].Handle(), 0x4Bu) << "the added SEQEND gets a new one";
  EXPECT_EQ(d.FindByHandle(0x4B), &polyline->children[3]);
}

TEST_F(DxfDrawingEdit, OnlyEntitiesOfTheDrawingCanBeReplaced) {
  Load("r2000_network.dxf");
  DxfEntity stranger;
  stranger.id = d.ModelSpace()[0]->id;
  DxfError error;
  EXPECT_FALSE(d.ReplaceEntity(stranger, kLine, &error));
  EXPECT_FALSE(d.ReplaceEntity(*const_cast<DxfEntity*>(d.FindLayer("0")), kLine, &error))
      << "table entries are not entities";
  EXPECT_NE(error.message.find("not an entity"), std::string::npos);
}

TEST_F(DxfDrawingEdit, HeaderVariables) {
  Load("r2000_network.dxf");
  d.SetHeaderVariable("$CLAYER", {{8, "JOV"}});
  EXPECT_EQ(d.HeaderValue("$CLAYER"), "JOV");
  d.SetHeaderVariable("$JOVTEST", {{1, "a"}});
  EXPECT_EQ(d.HeaderVariables().back().name, "$JOVTEST");
  d.SetHeaderVariable("$HANDSEED", {{5, "10"}});
  EXPECT_EQ(d.HandleSeed(), 0x4Bu) << "the seed never goes below a handle in use";
  d.SetHeaderVariable("$HANDSEED", {{5, "1000"}});
  EXPECT_EQ(d.HandleSeed(), 0x1000u);
  EXPECT_EQ(d.AllocateHandle(), 0x1000u);
  EXPECT_EQ(d.HeaderValue("$HANDSEED"), "1001");
  d.SetHeaderVariable("$HANDSEED", {{5, "8000000000000000"}});
  EXPECT_EQ(d.HandleSeed(), 0x1001u) << "a seed that leaves no room is not taken";
  // Pairs that bring a handle in use keep the entity's own.
  DxfEntity* first = d.ModelSpace()[0];
  const uint64_t own = *first->Handle();
  PairList pairs = first->pairs;
  pairs.insert(pairs.begin() + 1, {5, FormatHandle(*d.ModelSpace()[1]->Handle())});
  ASSERT_TRUE(d.ReplaceEntity(*first, pairs, nullptr));
  EXPECT_EQ(first->Handle(), own);
  EXPECT_EQ(std::count_if(first->pairs.begin(), first->pairs.end(), [](const DxfPair& p) { return p.code == 5; }), 1);
}

TEST_F(DxfDrawingEdit, SeedBelowHandlesInUseIsRaised) {
  std::string text = test::ReadFile(FixturePath("r2000_network.dxf"));
  const std::string seed = "$HANDSEED\n  5\n4B\n";
  size_t at = text.find(seed);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, seed.size(), "$HANDSEED\n  5\n20\n");
  DxfError error;
  ASSERT_TRUE(d.LoadText(text, &error));
  EXPECT_EQ(d.HandleSeed(), 0x4Bu);
  EXPECT_EQ(d.HeaderValue("$HANDSEED"), "4B");
}

}  // namespace
}  // namespace host
