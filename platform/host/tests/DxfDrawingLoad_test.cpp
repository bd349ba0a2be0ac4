#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <random>

#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/PairArena.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "platform/host/tests/DxfTestFiles.h"

namespace host {
namespace {

using test::FixturePath;
using test::ReadFile;

const char* const kFixtures[] = {"r12_network.dxf", "r2000_network.dxf", "r2013_utf8.dxf"};

std::vector<std::string> Types(const std::vector<DxfEntity*>& entities) {
  std::vector<std::string> out;
  for (const DxfEntity* e : entities) out.emplace_back(e->Type());
  return out;
}

TEST(DxfDrawingLoad, R12Drawing) {
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.Load(FixturePath("r12_network.dxf"), &error)) << error.ToString();
  EXPECT_EQ(d.VersionString(), "AC1009");
  EXPECT_TRUE(d.IsR12());
  EXPECT_EQ(d.HeaderValue("$DWGCODEPAGE"), "ANSI_1250");
  EXPECT_EQ(d.HeaderValue("$clayer"), "TRUBKY");
  EXPECT_FALSE(d.HeaderValue("$INSUNITS"));
  EXPECT_TRUE(d.UsesHandles());
  EXPECT_EQ(d.HandleSeed(), 0x30u);

  auto model = d.ModelSpace();
  EXPECT_EQ(Types(model), (std::vector<std::string>{"LINE", "POLYLINE", "INSERT", "TEXT"}));
  const DxfEntity& polyline = *model[1];
  ASSERT_EQ(polyline.children.size(), 4u) << "three vertices and the SEQEND";
  EXPECT_TRUE(polyline.children.back().IsType("SEQEND"));
  EXPECT_EQ(polyline.children.back().pairs.size(), 8u) << "extended data of the SEQEND stays with it";
  const DxfEntity& insert = *model[2];
  ASSERT_EQ(insert.children.size(), 2u);
  EXPECT_TRUE(insert.children[0].IsType("ATTRIB"));
  EXPECT_EQ(insert.Layer(), "TRUBKY");
  EXPECT_FALSE(insert.Owner()) << "R12 has no owners";
  EXPECT_EQ(model[3]->Value(1), "Potrub\xED DN20 \x96 \xF8" "ez \\U+2205 20") << "code page 1250 as is";

  EXPECT_EQ(d.FindByHandle(0x29), &polyline.children[1]) << "vertices are found by handle too";
  EXPECT_EQ(d.FindByHandle(0x2C), &insert);
  EXPECT_EQ(d.FindByHandle(0x99), nullptr);
  EXPECT_EQ(d.FindById(insert.id), &insert);

  ASSERT_EQ(d.Layers().size(), 3u);
  EXPECT_EQ(d.FindLayer("defpoints")->Name(), "DEFPOINTS");
  const DxfBlock* block = d.FindBlock("ventil");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->entities.size(), 4u);
  EXPECT_EQ(d.FindByHandle(0x23), block->entities[2].get());
}

TEST(DxfDrawingLoad, R2000Drawing) {
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.Load(FixturePath("r2000_network.dxf"), &error)) << error.ToString();
  EXPECT_EQ(d.Version(), 1015);
  EXPECT_FALSE(d.IsR12());
  EXPECT_FALSE(d.IsUtf8());
  EXPECT_EQ(d.HeaderValue("$INSUNITS"), "4");
  EXPECT_EQ(d.HandleSeed(), 0x4Bu);

  EXPECT_EQ(d.Entities().size(), 6u);
  auto model = d.ModelSpace();
  EXPECT_EQ(Types(model), (std::vector<std::string>{"LINE", "LWPOLYLINE", "INSERT", "TEXT",
                                                    "POLYLINE"}))
      << "the paper-space CIRCLE is not in model space";
  const DxfEntity& text = *model[3];
  EXPECT_EQ(text.Handle(), 0x45u);
  EXPECT_EQ(text.Owner(), 0x1Fu) << "the reactor inside the 102 group is not the owner";
  EXPECT_EQ(text.Value(73), "2");
  EXPECT_EQ(model[1]->Value(1000), "") << "extended data is not the entity's own data";

  const DxfEntity* dimstyle = d.FindTableEntry("DIMSTYLE", "Standard");
  ASSERT_NE(dimstyle, nullptr);
  EXPECT_EQ(dimstyle->Handle(), 0x27u) << "DIMSTYLE entries carry their handle in 105";
  EXPECT_EQ(d.FindByHandle(0x27), dimstyle);
  EXPECT_EQ(d.Blocks().size(), 3u);
  EXPECT_EQ(d.Tables().size(), 9u);
}

TEST(DxfDrawingLoad, Utf8DrawingIsCodePage1250Inside) {
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.Load(FixturePath("r2013_utf8.dxf"), &error)) << error.ToString();
  EXPECT_TRUE(d.IsUtf8());
  EXPECT_EQ(d.ModelSpace()[3]->Value(1), "Potrub\xED DN20 \x96 \xF8" "ez \\U+2205 20 \\U+2205");
}

TEST(DxfDrawingLoad, UntouchedDrawingIsWrittenBackByteForByte) {
  for (const char* name : kFixtures) {
    DxfDrawing d;
    DxfError error;
    ASSERT_TRUE(d.Load(FixturePath(name), &error)) << name << ": " << error.ToString();
    std::string expected = ReadFile(FixturePath(name));
    if (d.IsUtf8()) {
      // A character outside code page 1250 comes back as itself; an escape
      // standing for one in the file reads as it, and comes back as it.
      size_t at = expected.find("\\U+2205");
      ASSERT_NE(at, std::string::npos);
      expected.replace(at, 7, "\xE2\x88\x85");
    }
    EXPECT_EQ(d.SaveText(), expected) << name;
  }
}

TEST(DxfDrawingLoad, OddlyWrittenFileKeepsItsValues) {
  // Padded codes, a lone-CR line end: the values come back as they were
  // even though the layout of the codes is normalised.
  std::string text =
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n  layer with spaces  \n10\n1.50\r20\n"
      "  2\n 11\n 3\n21\n4\n0\nENDSEC\n0\nEOF\n";
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.LoadText(text, &error)) << error.ToString();
  std::string saved = d.SaveText();
  std::vector<DxfToken> before, after;
  ASSERT_TRUE(TokenizeDxf(text, before, &error));
  ASSERT_TRUE(TokenizeDxf(saved, after, &error));
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].code, before[i].code);
    EXPECT_EQ(after[i].value, before[i].value);
  }
  EXPECT_EQ(d.ModelSpace()[0]->Layer(), "layer with spaces");
}

TEST(DxfDrawingLoad, RoundTripGivesTheSameModel) {
  for (const char* name : kFixtures) {
    DxfDrawing a, b;
    DxfError error;
    ASSERT_TRUE(a.Load(FixturePath(name), &error));
    ASSERT_TRUE(b.LoadText(a.SaveText(), &error)) << name << ": " << error.ToString();
    EXPECT_EQ(b.VersionString(), a.VersionString());
    ASSERT_EQ(b.HeaderVariables().size(), a.HeaderVariables().size());
    ASSERT_EQ(b.Entities().size(), a.Entities().size());
    for (size_t i = 0; i < a.Entities().size(); ++i) {
      const DxfEntity& x = *a.Entities()[i];
      const DxfEntity& y = *b.Entities()[i];
      EXPECT_EQ(FormatPairs(x.pairs), FormatPairs(y.pairs));
      ASSERT_EQ(x.children.size(), y.children.size());
      for (size_t k = 0; k < x.children.size(); ++k)
        EXPECT_EQ(FormatPairs(x.children[k].pairs), FormatPairs(y.children[k].pairs));
    }
    ASSERT_EQ(b.Blocks().size(), a.Blocks().size());
    for (size_t i = 0; i < a.Blocks().size(); ++i)
      EXPECT_EQ(b.Blocks()[i]->entities.size(), a.Blocks()[i]->entities.size());
    EXPECT_EQ(b.Layers().size(), a.Layers().size());
    EXPECT_EQ(b.HandleSeed(), a.HandleSeed());
  }
}

TEST(DxfDrawingLoad, LargeDrawingComesBackByteForByte) {
  // Megabytes of entities, so that the load gives pages back as it goes;
  // every seventh value is not ASCII and is converted rather than kept as
  // read. Both ways in, the text comes out as it went in.
  std::string text =
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1024\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nENTITIES\n";
  std::mt19937 random(24);
  for (int i = 0; i < 100000; ++i) {
    char entity[256];
    std::snprintf(entity, sizeof entity,
                  "  0\nLINE\n  5\n%X\n  8\n%s\n 10\n%u.%u\n 20\n%u.%u\n 11\n0.0\n 21\n0.0\n",
                  0x100 + i, i % 7 ? "STAVBA" : "TRUBKY \xC5\x99\xC3\xAD", unsigned(random() % 100000),
                  unsigned(random()), unsigned(random() % 100000), unsigned(random()));
    text += entity;
  }
  text += "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n  0\nENDSEC\n  0\nEOF\n";
  ASSERT_GT(text.size(), 8u << 20);
  // A folder of its own: test programs of other checkouts may run beside this one.
  TempFolder folder;
  const std::string path = folder.File("large_drawing.dxf");
  std::ofstream(path, std::ios::binary) << text;
  DxfDrawing fromText, fromFile;
  DxfError error;
  ASSERT_TRUE(fromText.LoadText(text, &error)) << error.ToString();
  ASSERT_TRUE(fromFile.Load(path, &error)) << error.ToString();
  for (const DxfDrawing* d : {&fromText, &fromFile}) {
    ASSERT_EQ(d->Entities().size(), 100000u);
    EXPECT_EQ(d->Entities()[7]->Layer(), "TRUBKY \xF8\xED");
    EXPECT_EQ(d->FindByHandle(0x100 + 99999), d->Entities().back().get());
    EXPECT_TRUE(d->SaveText() == text) << "the saved text differs";
  }
}

// What a load gives: the saved text, or the error with its line; and what
// the index found. Read from a file through its mapping when a path is given.
std::string LoadOutcome(const std::string& text, const std::string& mapped = "") {
  DxfDrawing d;
  DxfError error;
  if (!mapped.empty()) std::ofstream(mapped, std::ios::binary | std::ios::trunc) << text;
  DxfDrawing::TuneMappedLoad(mapped.empty() ? SIZE_MAX : 0);
  const bool loaded = mapped.empty() ? d.LoadText(text, &error) : d.Load(mapped, &error);
  DxfDrawing::TuneMappedLoad(SIZE_MAX);
  if (!loaded) return "refused at " + std::to_string(error.line) + ": " + error.message;
  // Found by its handle: this object (+), an earlier one of that handle
  // (o) or none (-); and by its id.
  std::string handles, runs;
  auto found = [&](const DxfEntity& e) {
    const DxfEntity* byHandle = e.Handle() ? d.FindByHandle(*e.Handle()) : nullptr;
    handles += byHandle == &e ? "+" : byHandle ? "o" : e.Handle().value_or(0) ? "-" : "";
    if (d.FindById(e.id) != &e) handles += "!";
  };
  for (const auto& e : d.Entities()) {
    found(*e);
    for (const DxfEntity& child : e->children) found(child);
    if (!e->children.empty()) runs += std::to_string(e->children.size()) + ",";
  }
  for (const auto& block : d.Blocks()) {
    found(block->begin);
    for (const auto& e : block->entities) found(*e);
  }
  return d.SaveText() + "|" + std::to_string(d.Entities().size()) + " " + handles + " runs " + runs +
         " seed " + std::to_string(d.HandleSeed());
}

std::string WithLineEnds(const std::string& text, const char* end) {
  std::string out;
  for (char c : text) c == '\n' ? out += end : out += c;
  return out;
}

TEST(DxfDrawingLoad, ReadingInPartsAtOnceGivesWhatReadingWholeGives) {
  // Runs (POLYLINE, INSERT with ATTRIBs, a stray VERTEX), comments, words in
  // small letters, an object longer than a part, and the ways a run of
  // entities can end badly: cut into parts of a few bytes read on several
  // threads, every text loads to the same drawing or fails with the same
  // message at the same line.
  std::string entities;
  for (int i = 0; i < 40; ++i)
    entities += "  0\nLINE\n  5\n" + std::to_string(100 + i) + "\n  8\nA\n 10\n" + std::to_string(i) +
                ".5\n 20\n0\n 11\n1\n 21\n1\n";
  entities +=
      "  0\nPOLYLINE\n  5\nF00\n 66\n1\n  0\nVERTEX\n 10\n1\n  0\nVERTEX\n 10\n2\n  0\nSEQEND\n"
      "  0\nINSERT\n  2\nB\n 66\n1\n  0\nATTRIB\n  1\nx\n  0\nattrib\n  1\ny\n  0\nSEQEND\n"
      "  0\nVERTEX\n 10\n3\n999\na comment\n  0\ncircle\n 40\n2\n";
  entities += "  0\nLWPOLYLINE\n  5\nF01\n";
  for (int i = 0; i < 60; ++i) entities += " 10\n" + std::to_string(i) + "\n 20\n0\n";
  const std::string head = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$HANDSEED\n  5\nF10\n  0\nENDSEC\n"
                           "  0\nSECTION\n  2\nENTITIES\n";
  // Blocks after the entities: their objects take ids one by one, whatever their handles.
  const std::string tail =
      "  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nB\n  0\nLINE\n  5\n1\n  0\nLINE\n  5\n2\n  0\nENDBLK\n  0\nENDSEC\n  0\nEOF\n";
  const std::string whole = head + entities + tail;
  std::string comments;
  while (comments.size() < 3 * 4096) comments += "999\nsome words that fill a page\n";
  // Found on drawings as users have them: Czech layers and texts in UTF-8
  // (with a letter beyond the code page, a stray byte and letters whose
  // code page bytes are UTF-8 again; also after the entities, in parts
  // read but not taken), a VERTEX run over many parts,
  // national-grid coordinates in millimetres.
  std::string czechTexts, czech, vertices, attribs, odd, far;
  for (int i = 0; i < 30; ++i)
    czechTexts += "  0\nTEXT\n  5\n" + std::to_string(200 + i) + "\n  8\nTRUBKY \xC4\x8C\xC3\x81ST \xC4\x82\xC5\x9E " +
             std::to_string(i) + "\n 10\n1\n 20\n2\n  1\nVyt\xC3\xA1p\xC4\x9Bn\xC3\xAD \xF0\x9F\x94\xA5 \xFF" +
             std::to_string(i) + "\n";
  czech = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1032\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" +
          czechTexts + entities + "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\nC\n";
  const std::string czechAfter = czech + czechTexts + "  0\nENDSEC\n  0\nEOF\n";
  czech += "  0\nENDSEC\n  0\nEOF\n";
  vertices = "  0\nPOLYLINE\n  5\nE00\n 66\n1\n";
  for (int i = 0; i < 300; ++i) vertices += "  0\nVERTEX\n 10\n" + std::to_string(i) + "\n 20\n1\n";
  vertices += "  0\nSEQEND\n";
  // Runs cut inside: ATTRIBs, and runs a part must not be joined onto (a
  // VERTEX run into ATTRIBs, ATTRIBs of an INSERT without a run, a run
  // without SEQEND, VERTEXes of no POLYLINE).
  attribs = "  0\nINSERT\n  5\nD00\n  2\nB\n 66\n1\n";
  std::string attribRun, vertexRun;
  for (int i = 0; i < 20; ++i) {
    attribRun += "  0\nATTRIB\n  5\n" + std::to_string(700 + i) + "\n  2\nT" + std::to_string(i) + "\n";
    vertexRun += "  0\nVERTEX\n  5\n" + std::to_string(800 + i) + "\n 10\n" + std::to_string(i) + "\n";
  }
  for (int i = 0; i < 10; ++i) attribs += attribRun;
  attribs += "  0\nSEQEND\n";
  odd = "  0\nPOLYLINE\n 66\n1\n" + vertexRun + attribRun + "  0\nSEQEND\n  0\nINSERT\n  2\nB\n" + attribRun +
        vertexRun + "  0\nPOLYLINE\n 66\n1\n" + vertexRun + "  0\nLINE\n" + vertexRun +
        "  0\nINSERT\n 66\n1\n" + attribRun + vertexRun;
  for (int i = 0; i < 40; ++i)
    far += "  0\nLINE\n  8\nA\n 10\n-740000" + std::to_string(100 + i) + ".125\n 20\n-1040000" +
           std::to_string(200 + i) + ".5\n 11\n-740000000.0\n 21\n-1040000000.0\n";
  // A value too long for a pair to say its size in place, and one in UTF-8.
  const std::string longText = head + entities + "  0\nTEXT\n  1\n" + std::string(40000, 'w') + "\n" + entities + tail;
  std::string longCzech;
  for (int i = 0; i < 10000; ++i) longCzech += "P\xC5\x99\xC3\xAD";
  longCzech = czech.substr(0, czech.find("  0\nTEXT")) + entities + "  0\nTEXT\n  1\n" + longCzech + "\n" + entities +
              "  0\nENDSEC\n  0\nEOF\n";
  const std::vector<std::string> texts = {
      whole,
      WithLineEnds(whole, "\r\n"),
      WithLineEnds(whole, "\r"),
      head + entities + "  0\nendsec\n  0\nEOF\n",
      head + entities + "  0\nEOF\n",                                   // no ENDSEC
      head + entities + "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n  0\nEOF\n",  // another section inside
      // ... and pages of text after it, read on for a malformed pair
      head + entities + "  0\nSECTION\n" + comments + "bad\ncode\n",
      head + entities,                                                  // cut after an entity
      head + entities.substr(0, entities.size() / 2),                  // cut in the middle
      head + entities.substr(0, entities.size() / 2) + "bad\ncode\n" + entities + tail,
      head + entities.substr(0, entities.size() - 1) + tail,            // a value runs into a code
      head + entities + tail + "  0\nLINE\n",                           // after EOF: not read
      ReadFile(FixturePath("r12_network.dxf")),
      ReadFile(FixturePath("r2000_network.dxf")),
      czech,
      czechAfter,
      head + entities + vertices + entities + vertices + tail,
      head + entities + attribs + vertices + attribs + tail,
      head + odd + entities + odd + tail,
      head + far + entities + far + tail,
      longText,
      longCzech,
  };
  struct Usual {
    ~Usual() { DxfDrawing::TuneParallelLoad(0, 0); }
  } usual;
  // Read from a file's mapping (let go of after the load: a value left
  // pointing into it would fault) as from memory.
  TempFolder folder;
  const std::string mapped = folder.File("mapped.dxf");
  for (size_t t = 0; t < texts.size(); ++t) {
    DxfDrawing::TuneParallelLoad(0, 1);
    const std::string expected = LoadOutcome(texts[t]);
    EXPECT_EQ(LoadOutcome(texts[t], mapped), expected) << "text " << t << ", mapped";
    for (size_t part : {1, 5, 64, 301})
      for (unsigned threads : {2, 5}) {
        DxfDrawing::TuneParallelLoad(part, threads);
        EXPECT_EQ(LoadOutcome(texts[t], part == 5 ? mapped : ""), expected)
            << "text " << t << ", parts of " << part << " bytes";
      }
  }
  // A run longer than the index's pieces, handles repeated in it: each
  // object found by its id, each handle naming its first object, on one
  // thread and on several.
  std::string longRun = head + "  0\nPOLYLINE\n  5\n9000\n 66\n1\n";
  for (int i = 0; i < 9000; ++i) longRun += "  0\nVERTEX\n  5\n" + std::to_string(10000 + i % 7000) + "\n";
  longRun += "  0\nSEQEND\n" + tail;
  DxfDrawing::TuneParallelLoad(0, 1);
  const std::string longRunOutcome = LoadOutcome(longRun);
  EXPECT_EQ(longRunOutcome.find_first_of("!-", longRun.size()), std::string::npos);
  for (size_t part : {size_t{0}, size_t{64} << 10}) {  // 64K: leads longer than a piece mapped ahead
    DxfDrawing::TuneParallelLoad(part, 5);
    EXPECT_EQ(LoadOutcome(longRun), longRunOutcome) << part;
  }
  for (const std::string* text : {&whole, &longText})
    EXPECT_EQ(LoadOutcome(*text).substr(0, text->size()), *text);
  // A file is read in parts at once too.
  const std::string path = folder.File("parts.dxf");
  std::ofstream(path, std::ios::binary) << whole;
  DxfDrawing fromFile;
  DxfError error;
  ASSERT_TRUE(fromFile.Load(path, &error)) << error.ToString();
  EXPECT_EQ(fromFile.SaveText(), whole);
}

// A file cut short while a load reads it through its mapping: the load
// fails with a message of its own and the process goes on. A SIGBUS sent
// meanwhile goes to the handler set before, which is back after the load.
int g_busErrors = 0;
size_t g_cutTo = 0;
void CountBusError(int) { ++g_busErrors; }
void CutAndSignal(const std::filesystem::path& path) {
  std::filesystem::resize_file(path, g_cutTo);
  raise(SIGBUS);
}

TEST(DxfDrawingLoad, FileCutShortWhileMappedFailsTheLoadOnly) {
  struct sigaction counting {}, before {}, after {};
  counting.sa_handler = CountBusError;
  sigaction(SIGBUS, &counting, &before);
  std::string text = "  0\nSECTION\n  2\nENTITIES\n";
  while (text.size() < 5 * 4096) text += "  0\nLINE\n  8\nA\n 10\n1\n";
  text += "  0\nENDSEC\n  0\nEOF\n";
  TempFolder folder;
  const std::string path = folder.File("cut.dxf");
  DxfDrawing::TuneMappedLoad(0, CutAndSignal);
  for (size_t cutTo : {text.size(), size_t{4096}, size_t{0}}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    g_cutTo = cutTo;
    g_busErrors = 0;
    DxfDrawing d;
    DxfError error;
    EXPECT_EQ(d.Load(path, &error), cutTo == text.size()) << cutTo;
    EXPECT_EQ(error.message.find("changed while it was read") != std::string::npos, cutTo < text.size())
        << error.message;
    EXPECT_EQ(g_busErrors, 1) << cutTo;
  }
  DxfDrawing::TuneMappedLoad(SIZE_MAX);
  sigaction(SIGBUS, &before, &after);
  EXPECT_EQ(after.sa_handler, CountBusError);
}

// A load's arenas, in small or large pages: what was taken before a trim
// and what is taken after it are written and read as before.
TEST(DxfDrawingLoad, ArenaTrimLeavesWhatWasTakenAsItWas) {
  for (bool large : {false, true}) {
    PairArena arena(3 << 20, large);
    const size_t sizes[] = {100, 5 << 20, 24, 1 << 20};  // the second over a block
    std::vector<char*> taken;
    for (size_t i = 0; i < 4; ++i) {
      if (i == 2 || i == 3) arena.Trim();
      taken.push_back(static_cast<char*>(arena.Take(sizes[i])));
      ASSERT_NE(taken.back(), nullptr) << large;
      std::memset(taken.back(), 'a' + static_cast<int>(i), sizes[i]);
    }
    arena.Trim();
    for (size_t i : {0, 1, 2, 3})
      EXPECT_EQ(std::string(taken[i], sizes[i]), std::string(sizes[i], static_cast<char>('a' + i))) << large << i;
  }
}

TEST(DxfDrawingLoad, NonAsciiSectionNameIsConvertedBothWays) {
  // A UTF-8 drawing with a section of its own whose name is not ASCII: it
  // is read into the code page like every value and written back as it was,
  // however often the drawing goes round.
  const std::string text =
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1024\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nP\xC5\x98\xC3\x8DLOHA\n999\nv\xC3\xBDkres\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n  0\nENDSEC\n  0\nEOF\n";
  std::string current = text;
  for (int round = 0; round < 3; ++round) {
    DxfDrawing d;
    DxfError error;
    ASSERT_TRUE(d.LoadText(current, &error)) << round << ": " << error.ToString();
    current = d.SaveText();
    EXPECT_EQ(current, text) << "round " << round;
  }
}

struct BadInput {
  const char* what;
  std::string text;
  int line;
  const char* words;
};

TEST(DxfDrawingLoad, MalformedInputIsRefusedWithItsLine) {
  const BadInput cases[] = {
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1A\0", 22), 1, "binary DXF"},
      {"empty", "", 0, "no DXF data"},
      {"blank", "\n\n  \n", 0, "no DXF data"},
      {"text", "hello\nworld\n", 1, "group code expected"},
      {"no section", "0\nLINE\n8\n0\n", 1, "SECTION expected"},
      {"no name", "0\nSECTION\n0\nENDSEC\n", 1, "section name"},
      {"truncated", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n", 1, "no ENDSEC"},
      {"half pair", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n", 7, "no value"},
      {"nested", "0\nSECTION\n2\nENTITIES\n0\nSECTION\n2\nBLOCKS\n0\nENDSEC\n", 5,
       "ENDSEC of section ENTITIES"},
      {"no endtab", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nENDSEC\n", 5, "no ENDTAB"},
      {"no endblk", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n0\nLINE\n0\nENDSEC\n", 5, "no ENDBLK"},
      {"header", "0\nSECTION\n2\nHEADER\n1\nAC1015\n0\nENDSEC\n", 5, "group 9"},
      {"twice", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nENDSEC\n", 7,
       "second ENTITIES"},
      {"version", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nR2000\n0\nENDSEC\n", 7,
       "unknown DXF version"},
      {"entities", "0\nSECTION\n2\nENTITIES\n8\n0\n0\nENDSEC\n", 5, "entity (group 0)"},
      // A malformed pair anywhere is named before a fault of the structure.
      {"pair after structure", "0\nSECTION\n2\nENTITIES\n8\n0\n0\nENDSEC\nX\nY\n", 9,
       "group code expected"},
      {"pair after version", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nR2000\n0\nENDSEC\n1e3\nA\n",
       11, "group code expected"},
      {"no eof", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n", 0, "ends without EOF"},
      {"comments only", "999\nnothing\n", 0, "ends without EOF"},
      // New objects need handles: none may be left to wrap to 0.
      {"seed at the limit", "0\nSECTION\n2\nHEADER\n9\n$HANDSEED\n5\n8000000000000000\n0\nENDSEC\n0\nEOF\n",
       0, "leaves no room"},
      {"largest handle", "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\nFFFFFFFFFFFFFFFF\n0\nENDSEC\n0\nEOF\n", 0,
       "no room is left"},
      {"handle at the limit", "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n7FFFFFFFFFFFFFFF\n0\nENDSEC\n0\nEOF\n", 0,
       "no room is left"},
  };
  for (const BadInput& c : cases) {
    DxfDrawing d;
    DxfError error;
    EXPECT_FALSE(d.LoadText(c.text, &error)) << c.what;
    EXPECT_EQ(error.line, c.line) << c.what << ": " << error.ToString();
    EXPECT_NE(error.message.find(c.words), std::string::npos) << c.what << ": " << error.message;
    EXPECT_TRUE(d.Entities().empty() && d.Tables().empty()) << c.what << " leaves nothing behind";
  }
}

TEST(DxfDrawingLoad, CopyCutAtASectionEndIsRefused) {
  // Cut after the ENTITIES section: EOF is missing, and saving what was
  // read would lose what followed.
  const std::string text = ReadFile(FixturePath("r2000_network.dxf"));
  const size_t objects = text.find("OBJECTS");
  ASSERT_NE(objects, std::string::npos);
  const std::string cut = text.substr(0, text.rfind("  0\nSECTION", objects));
  const std::string handleNearLimit = [&] {
    std::string t = text;
    const std::string seed = "$HANDSEED\n  5\n";
    const size_t at = t.find(seed) + seed.size();
    return t.replace(at, t.find('\n', at) - at, "7FFFFFFFFFFFFFFE");
  }();
  DxfDrawing d;
  DxfError error;
  EXPECT_FALSE(d.LoadText(cut, &error));
  EXPECT_EQ(error.message, "the drawing ends without EOF: file truncated?");
  // The last seed that leaves room still loads.
  ASSERT_TRUE(d.LoadText(handleNearLimit, &error)) << error.ToString();
  EXPECT_EQ(d.AllocateHandle(), 0x7FFFFFFFFFFFFFFEu);
}

TEST(DxfDrawingLoad, GarbageNeverCrashes) {
  // Every cut of a real file and random damage to it either loads or gives
  // an error; the sanitizers watch for anything worse.
  std::string original = ReadFile(FixturePath("r12_network.dxf"));
  std::mt19937 random(1250);
  int refused = 0;
  for (size_t cut = 0; cut < original.size(); cut += 37) {
    DxfDrawing d;
    DxfError error;
    if (!d.LoadText(std::string_view(original).substr(0, cut), &error)) {
      ++refused;
      EXPECT_FALSE(error.message.empty());
    }
  }
  for (int round = 0; round < 300; ++round) {
    std::string text = original;
    for (int k = 0; k < 8; ++k)
      text[random() % text.size()] = static_cast<char>(random() % 256);
    DxfDrawing d;
    DxfError error;
    if (d.LoadText(text, &error)) d.SaveText();
    else ++refused;
  }
  EXPECT_GT(refused, 0);
}

TEST(DxfDrawingLoad, UnreadableFiles) {
  DxfDrawing d;
  DxfError error;
  EXPECT_FALSE(d.Load("/nonexistent/drawing.dxf", &error));
  EXPECT_NE(error.message.find("cannot open"), std::string::npos);
  EXPECT_FALSE(d.Load(JOV_SOURCE_DIR, &error));
  EXPECT_NE(error.message.find("folder"), std::string::npos);
}

}  // namespace
}  // namespace host
