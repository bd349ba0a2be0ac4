// The host as the plug-in sees it: through the export table and the
// functions fetched by name, with prompts answered by a session script.
#include "platform/host/core/HostSession.h"

#include <functional>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "dataformat/HostExportTable.h"
#include "platform/host/tests/HostSlots.h"
#include "platform/win32/window_api.h"

extern "C" HostExport2D* GetExport2D();
extern "C" resbuf* alt_entnext(int first);
extern "C" int unlink_DXF();
extern "C" int GetProfilePath(int kind, char* buffer, int size);
extern "C" jovDatabase::Database* GetDatabase(char trade);
extern "C" int alt_blknext();
extern "C" resbuf* alt_entnext_app(int first, const char* application);
extern "C" int alt_entdel(const resbuf* chain);
extern "C" const char* alt_lasterror();

namespace host {
namespace {

std::string Fixture(const char* name) {
  return std::string(JOV_SOURCE_DIR) + "/platform/host/tests/data/" + name;
}

resbuf* Node(int16_t code, const char* text = nullptr) {
  auto* n = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  n->code = code;
  if (text) n->value.text = DupString(text);
  return n;
}

resbuf* PointNode(int16_t code, double x, double y, double z = 0) {
  resbuf* n = Node(code);
  n->value.point[0] = x;
  n->value.point[1] = y;
  n->value.point[2] = z;
  return n;
}

resbuf* Link(std::initializer_list<resbuf*> nodes) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (resbuf* n : nodes) {
    *tail = n;
    tail = &n->next;
  }
  return head;
}

std::string Handle(const resbuf* chain) {
  const char* h = GetEntityString(chain, 5);
  return h ? h : "";
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Options() = HostOptions{};
    host.SetScript(&script);
    Open("r2000_network.dxf");
    t = GetExport2D();
  }
  void TearDown() override {
    host.EndCommand();
    host.SetScript(nullptr);
    host.Shutdown();
  }
  void Open(const char* file) {
    DxfError error;
    ASSERT_TRUE(host.OpenDrawing(Fixture(file), &error)) << error.ToString();
    host.BeginCommand();
  }
  void OpenText(const std::string& text) {
    DxfError error;
    ASSERT_TRUE(host.OpenDrawingText(text, &error)) << error.ToString();
    host.BeginCommand();
  }
  void Script(const char* text) {
    std::string error;
    ASSERT_TRUE(script.LoadText(text, ".", &error)) << error;
  }
  std::vector<std::string> Walk() {
    std::vector<std::string> out;
    for (resbuf* e = Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(1); e; e = Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(0))
      out.push_back(Handle(e));
    return out;
  }

  HostSession& host = TheHost();
  SessionScript script;
  HostExport2D* t = nullptr;
};

TEST_F(HostTest, TheTableHoldsTheSlotsTheSystemCallsAndNoOthers) {
  const int used[] = {13, 15, 17, 19, 20, 24, 29, 32, 33, 34, 35, 36, 37, 40, 74, 94};
  for (int i = 0; i < HostExport2D::kSlotCount; ++i) {
    bool expected = std::find(std::begin(used), std::end(used), i) != std::end(used);
    EXPECT_EQ(t->slot[i] != nullptr, expected) << "slot " << i;
  }
  EXPECT_STREQ(Slot<HostProductTitleFn>(t, HostSlot::ProductTitle)(), "Dravik 2D");
  host.Options().lt = true;
  EXPECT_STREQ(Slot<HostProductTitleFn>(t, HostSlot::ProductTitle)(), "Dravik 2D LT");
  EXPECT_EQ(alt_blknext(), HOST_ERROR);
}

TEST_F(HostTest, TheMainWindowIsAHiddenTopLevelWindowThatOwnsThePlugInsWindows) {
  HWND main = Slot<HostMainWindowFn>(t, HostSlot::MainWindow)();
  ASSERT_TRUE(::IsWindow(main));
  EXPECT_EQ(Slot<HostMainWindowFn>(t, HostSlot::MainWindow)(), main) << "one window for the session";
  EXPECT_FALSE(::IsWindowVisible(main));
  EXPECT_EQ(::GetParent(main), nullptr) << "top-level, owned by nobody";
  host.Options().lt = true;
  host.BeginCommand();
  char title[64] = "";
  ::GetWindowTextA(main, title, sizeof title);
  EXPECT_STREQ(title, "Dravik 2D LT") << "the product's name for the edition";
  host.EndCommand();

  // Gone with the session's end, made again when asked for.
  host.Shutdown();
  EXPECT_FALSE(::IsWindow(main));
  HWND again = Slot<HostMainWindowFn>(t, HostSlot::MainWindow)();
  EXPECT_TRUE(::IsWindow(again));
  EXPECT_NE(again, main);
}

TEST_F(HostTest, SinglePickThenAddedSelectionKeepsThePickFirst) {
  Script("pick 42\nselect 40 42 41\n");
  double pick[3] = {-1, -1, -1};
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Pick", 1, 0, pick), HOST_NORMAL);
  EXPECT_EQ(Slot<HostInputStateFn>(t, HostSlot::InputState)(), 1);
  EXPECT_EQ(pick[0], 1000.0) << "no point given: the entity's insertion point";
  EXPECT_EQ(pick[1], 2000.0);
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("More", 2, 4, nullptr), HOST_NORMAL);
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("More", 0, 4, nullptr), HOST_NORMAL);
  EXPECT_EQ(Walk(), (std::vector<std::string>{"42", "40", "41"}));
  EXPECT_EQ(Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(0), nullptr);
}

TEST_F(HostTest, NewSelectionsReplaceAndPickPointsAreTaken) {
  Script("select 40 41\npick 46 12.5 -3\nselect 41\n");
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Sel", 2, 0, nullptr), HOST_NORMAL);
  EXPECT_EQ(Walk(), (std::vector<std::string>{"40", "41"}));
  double pick[3] = {0, 0, 9};
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Pick", 1, 0, pick), HOST_NORMAL);
  EXPECT_EQ(pick[0], 12.5);
  EXPECT_EQ(pick[1], -3.0);
  EXPECT_EQ(pick[2], 0.0);
  EXPECT_EQ(Walk(), (std::vector<std::string>{"46"}));
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Sel", 2, 0, nullptr), HOST_NORMAL);
  EXPECT_EQ(Walk(), (std::vector<std::string>{"41"}));
}

TEST_F(HostTest, CancelledUnansweredAndBadAnswers) {
  Script("cancel\npoint 1 2\npick 99\n");
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Pick", 1, 0, nullptr), HOST_CANCEL);
  EXPECT_EQ(Slot<HostInputStateFn>(t, HostSlot::InputState)(), 0);
  // A point line is no answer to a pick: the pick is cancelled, the line stays.
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Pick", 1, 0, nullptr), HOST_CANCEL);
  ASSERT_EQ(script.Unanswered().size(), 1u);
  EXPECT_EQ(script.Unanswered()[0], "Select \"Pick\" (single pick): script line 2 is \"point 1 2\"");
  double p[3] = {};
  EXPECT_EQ(Slot<HostGetPointFn>(t, HostSlot::GetPoint)(0, "Where", p), HOST_NORMAL);
  EXPECT_EQ(Slot<HostInputStateFn>(t, HostSlot::InputState)(), 2);
  // An unknown handle fails the prompt and is a script error.
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Pick", 1, 0, nullptr), HOST_ERROR);
  EXPECT_EQ(Slot<HostInputStateFn>(t, HostSlot::InputState)(), 0);
  EXPECT_EQ(script.Errors(), (std::vector<std::string>{"line 3: the drawing has no entity with handle 99"}));
  // Nothing selected: the end of the selection says so.
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("End", 0, 3, nullptr), HOST_NONE);
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Odd", 7, 0, nullptr), HOST_ERROR);
}

TEST_F(HostTest, WindowSelectionTakesWhatLiesWhollyInside) {
  // LINE 40 (0,0)-(1000,0); LWPOLYLINE 41 up to (3000,2000); INSERT 42 at
  // (1000,2000); aligned TEXT 45 at (100,100); POLYLINE 46 from (0,0).
  Script("select-window -1 -1 1001 1\nselect-window 1001 2001 -1 -1\nselect-window 5000 5000 6000 6000\n");
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Win", 2, 0, nullptr), HOST_NORMAL);
  EXPECT_EQ(Walk(), (std::vector<std::string>{"40"}));
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Win", 2, 0, nullptr), HOST_NORMAL);
  std::vector<std::string> got = Walk();
  EXPECT_NE(std::find(got.begin(), got.end(), "42"), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), "45"), got.end());
  EXPECT_EQ(std::find(got.begin(), got.end(), "41"), got.end()) << "reaches x 3000";
  EXPECT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Win", 2, 0, nullptr), HOST_NONE);
  EXPECT_TRUE(Walk().empty());
}

TEST_F(HostTest, WindowSelectionMeasuresCurvesByTheirOwnExtent) {
  // A quarter arc far from its centre, a turned ellipse wider than its
  // axes' ends, a polyline bulging below its vertices.
  OpenText(
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nARC\n  5\nA1\n 10\n0.0\n 20\n0.0\n 40\n100.0\n 50\n30.0\n 51\n60.0\n"
      "  0\nELLIPSE\n  5\nA2\n 10\n500.0\n 20\n0.0\n 11\n30.0\n 21\n40.0\n 40\n0.5\n"
      "  0\nLWPOLYLINE\n  5\nA3\n 70\n0\n 10\n1000.0\n 20\n0.0\n 42\n1.0\n 10\n1100.0\n 20\n0.0\n"
      "  0\nENDSEC\n  0\nEOF\n");
  Script("select-window 49 49 87 87\n"
         "select-window 463 -43 537 43\n"
         "select-window 469 -43 531 43\n"
         "select-window 999 -1 1101 1\n"
         "select-window 999 -51 1101 1\n");
  const std::vector<std::vector<std::string>> expected = {{"A1"}, {"A2"}, {}, {}, {"A3"}};
  for (const auto& handles : expected) {
    Slot<HostSelectFn>(t, HostSlot::Select)("Win", 2, 0, nullptr);
    EXPECT_EQ(Walk(), handles);
  }
}

TEST_F(HostTest, WindowSelectionOfALargeDrawingKeepsTheDrawingsOrder) {
  // Enough entities to be told in slices: every seventh reaches out of the
  // window, every thousandth lies in paper space, the kinds take turns.
  std::string text = "  0\nSECTION\n  2\nENTITIES\n";
  std::vector<std::string> inside;
  char handle[16];
  for (int i = 0; i < 30011; ++i) {
    std::snprintf(handle, sizeof handle, "%X", 0x100 + i);
    const bool out = i % 7 == 0, paper = i % 1000 == 999;
    const std::string x = out ? "5000.0" : "1.0";
    text += i % 2 ? "  0\nLINE\n  5\n" + std::string(handle) + (paper ? "\n 67\n1" : "") + "\n 10\n" + x +
                        "\n 20\n0.0\n 11\n10.0\n 21\n10.0\n"
                  : "  0\nCIRCLE\n  5\n" + std::string(handle) + (paper ? "\n 67\n1" : "") + "\n 10\n" + x +
                        "\n 20\n5.0\n 40\n1.0\n";
    if (!out && !paper) inside.push_back(handle);
  }
  OpenText(text + "  0\nENDSEC\n  0\nEOF\n");
  Script("select-window -100 -100 100 100\n");
  ASSERT_EQ(Slot<HostSelectFn>(t, HostSlot::Select)("Win", 2, 0, nullptr), HOST_NORMAL);
  EXPECT_EQ(Walk(), inside);
}

TEST_F(HostTest, ChangeBracketsInEveryOrder) {
  // B BeginChange, W a new entity, C EndChange(1), R EndChange(-1); the
  // entities added after each step, then after the command's end.
  struct Sequence {
    const char* steps;
    std::vector<int> added;
    int kept;
    ChangeOutcome outcome;
  } sequences[] = {
      {"W", {1}, 0, ChangeOutcome::LeftOpen},
      {"WC", {1, 1}, 1, ChangeOutcome::Committed},
      {"WCWR", {1, 1, 2, 1}, 1, ChangeOutcome::Committed},
      {"WCR", {1, 1, 1}, 1, ChangeOutcome::Committed},
      {"BRW", {0, 0, 1}, 0, ChangeOutcome::Cancelled},
      {"BR", {0, 0}, 0, ChangeOutcome::Cancelled},
      {"BBWRW", {0, 0, 1, 0, 1}, 0, ChangeOutcome::Cancelled},
      {"WBWR", {1, 1, 2, 1}, 0, ChangeOutcome::Cancelled},
      {"BWCR", {0, 1, 1, 1}, 1, ChangeOutcome::Committed},
      {"BWCBWWR", {0, 1, 1, 1, 2, 3, 1}, 1, ChangeOutcome::Committed},
      {"", {}, 0, ChangeOutcome::Unchanged},
  };
  resbuf* point = Link({Node(0, "POINT"), PointNode(10, 1, 1)});
  host.EndCommand();
  for (const Sequence& s : sequences) {
    host.BeginCommand();
    const size_t before = host.Drawing().Entities().size();
    std::vector<int> added;
    for (const char* step = s.steps; *step; ++step) {
      switch (*step) {
        case 'B': Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)(); break;
        case 'W': EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(point, 0), HOST_NORMAL) << s.steps; break;
        case 'C': Slot<HostEndChangeFn>(t, HostSlot::EndChange)(1); break;
        default: Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1); break;
      }
      added.push_back(static_cast<int>(host.Drawing().Entities().size() - before));
    }
    EXPECT_EQ(added, s.added) << s.steps;
    EXPECT_EQ(host.EndCommand(), s.outcome) << s.steps;
    EXPECT_EQ(static_cast<int>(host.Drawing().Entities().size() - before), s.kept) << s.steps;
  }
  host.BeginCommand();
  FreeGroupCodeChain(point);
}

TEST_F(HostTest, EntityWriteReplacesAndAppends) {
  ASSERT_TRUE(host.Preselect({0x40}, nullptr));
  resbuf* line = Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(1);
  ASSERT_NE(line, nullptr);
  resbuf* copy = CopyGroupCodeChain(line);
  FindGroupCode(copy, 11)->value.point[1] = 500.0;
  LastGroupCodeNode(&copy)->next = Link({Node(1001, "JOV_DATA"), Node(1000, "TLD0000i0001")});
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(copy, 0), HOST_NORMAL);
  FreeGroupCodeChain(copy);
  resbuf* circle = Link({Node(0, "CIRCLE"), Node(8, "NEW"), PointNode(10, 1, 2), Node(40)});
  circle->next->next->next->value.real = 0.08;
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(circle, 0), HOST_NORMAL);
  FreeGroupCodeChain(circle);
  resbuf* bad = Link({Node(0, "INSERT"), Node(2, "NOSUCH"), PointNode(10, 0, 0)});
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(bad, 0), HOST_ERROR);
  FreeGroupCodeChain(bad);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(1);

  DxfEntity* written = host.Drawing().FindByHandle(0x40);
  EXPECT_EQ(written->Value(21), "500.0");
  EXPECT_EQ(written->pairs.back().value, "TLD0000i0001");
  EXPECT_NE(host.Drawing().FindTableEntry("APPID", "JOV_DATA"), nullptr);
  EXPECT_TRUE(host.Drawing().Entities().back()->IsType("CIRCLE"));
  EXPECT_NE(host.Drawing().FindLayer("NEW"), nullptr);
  EXPECT_EQ(host.EndCommand(), ChangeOutcome::Committed);
}

TEST_F(HostTest, R12PolylineWrittenBackStaysAPolylineWithItsRun) {
  Open("r12_network.dxf");
  ASSERT_TRUE(host.Preselect({0x27}, nullptr));
  resbuf* chain = CopyGroupCodeChain(Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(1));
  ASSERT_STREQ(chain->next->value.text, "LWPOLYLINE");
  FindGroupCode(chain, 10)->value.point[0] = -5.0;
  LastGroupCodeNode(&chain)->next = Link({Node(1001, "JOV_TEST"), Node(1000, "x")});
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(chain, 0), HOST_NORMAL);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(1);
  FreeGroupCodeChain(chain);

  DxfEntity* poly = host.Drawing().FindByHandle(0x27);
  ASSERT_TRUE(poly->IsType("POLYLINE"));
  ASSERT_EQ(poly->children.size(), 4u);
  EXPECT_EQ(poly->children[0].Value(10), "-5.0");
  EXPECT_EQ(poly->children[0].Handle(), 0x28u) << "the vertices keep their handles";
  EXPECT_EQ(poly->children[3].Handle(), 0x2Bu);
  EXPECT_EQ(poly->pairs.back().value, "x");
  EXPECT_EQ(TrimDxf(poly->children[3].pairs.back().value), "3") << "the SEQEND keeps its extended data";
}

TEST_F(HostTest, EndChangeMinusOneRollsBackToBeginChange) {
  size_t before = host.Drawing().Entities().size();
  resbuf* point = Link({Node(0, "POINT"), PointNode(10, 1, 1)});
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(point, 0), HOST_NORMAL);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(1);
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(point, 0), HOST_NORMAL);
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(point, 0), HOST_NORMAL);
  EXPECT_EQ(host.Drawing().Entities().size(), before + 3);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1);
  EXPECT_EQ(host.Drawing().Entities().size(), before + 1) << "back to the second BeginChange";
  // The selection still finds its entities in the restored drawing.
  ASSERT_TRUE(host.Preselect({0x41}, nullptr));
  EXPECT_EQ(Walk(), (std::vector<std::string>{"41"}));
  EXPECT_EQ(host.EndCommand(), ChangeOutcome::Committed);
  FreeGroupCodeChain(point);
}

TEST_F(HostTest, WritesNotCommittedAreUndoneAtTheEnd) {
  std::string before = host.Drawing().SaveText();
  resbuf* point = Link({Node(0, "POINT"), PointNode(10, 1, 1)});
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(point, 0), HOST_NORMAL);
  EXPECT_EQ(host.EndCommand(), ChangeOutcome::LeftOpen);
  EXPECT_EQ(host.Drawing().SaveText(), before);

  host.BeginCommand();
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(point, 0), HOST_NORMAL);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1);
  EXPECT_EQ(host.EndCommand(), ChangeOutcome::Cancelled);
  EXPECT_EQ(host.Drawing().SaveText(), before);
  host.BeginCommand();
  EXPECT_EQ(host.EndCommand(), ChangeOutcome::Unchanged);
  host.BeginCommand();
  FreeGroupCodeChain(point);
}

// The file's text of each object that has a handle (the pair after its
// group 0), by handle.
std::map<std::string, std::string> ObjectTexts(const std::string& text) {
  std::map<std::string, std::string> out;
  std::istringstream in(text);
  std::string code, value, chunk, handle;
  auto flush = [&] {
    if (!handle.empty()) out[handle] = chunk;
    chunk.clear();
    handle.clear();
  };
  int pair = 0;
  while (std::getline(in, code) && std::getline(in, value)) {
    int c = std::atoi(code.c_str());
    if (c == 0) {
      flush();
      pair = 0;
    }
    if ((c == 5 || c == 105) && pair == 1) handle = value;
    ++pair;
    chunk += code + "\n" + value + "\n";
  }
  flush();
  return out;
}

TEST_F(HostTest, WriteBackChangingOnlyWhatDiffersGivesTheDrawingOfAWholeReplacement) {
  // Rows whose write-back as handed out changes the drawing (flat POLYLINE,
  // padded type, reactors, no marker or layer, bad number, lower-case handle) say so.
  const std::string tables =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\nFFF\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n"
      "2\nLAYER\n5\n2\n330\n0\n100\nAcDbSymbolTable\n70\n1\n0\nLAYER\n5\n10\n330\n2\n100\nAcDbSymbolTableRecord\n100\n"
      "AcDbLayerTableRecord\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n0\nENDTAB\n0\nTABLE\n2\nAPPID\n5\n9\n330\n0\n100\n"
      "AcDbSymbolTable\n70\n1\n0\nAPPID\n5\n12\n330\n9\n100\nAcDbSymbolTableRecord\n100\nAcDbRegAppTableRecord\n2\n"
      "JOV_DATA\n70\n0\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
  const std::string head = "330\n1F\n100\nAcDbEntity\n8\n0\n";
  const struct Row { std::string name, entities; bool changes; } rows[] = {
      {"r2000_network.dxf", "", true}, {"r2013_utf8.dxf", "", true}, {"r12_network.dxf", "", true},
      {"arc, 3D polyline, mtext",
       "0\nARC\n5\n30\n" + head + "100\nAcDbCircle\n10\n1\n20\n2.50\n30\n0\n40\n1.5\n100\nAcDbArc\n50\n0\n51\n90.0\n"
       "1001\nJOV_DATA\n1000\nx^2\n1040\n1e3\n1004\n0A1b\n0\nPOLYLINE\n5\n31\n" + head + "100\nAcDb3dPolyline\n66\n1\n10\n0\n20\n0\n"
       "30\n0\n70\n8\n0\nVERTEX\n5\n32\n" + head + "100\nAcDbVertex\n100\nAcDb3dPolylineVertex\n10\n1\n20\n2\n30\n3\n"
       "70\n32\n0\nSEQEND\n5\n33\n" + head + "0\nMTEXT\n5\n34\n" + head + "100\nAcDbMText\n10\n0\n20\n0\n30\n0\n40\n2.5\n"
       "1\n\\Pline^Jtwo\n50\n45\n", false},
      {"edges", "0\nLINE \n5\n40\n" + head + "100\nAcDbLine\n10\n0\n20\n0\n11\n1\n21\n1\n0\nPOINT\n5\n41\n102\n"
                "{ACAD_REACTORS\n330\n1F\n102\n}\n" + head + "100\nAcDbPoint\n10\n0\n20\n0\n30\n0\n0\nCIRCLE\n5\n42\n"
                "330\n1F\n8\n0\n10\n0\n20\n0\n30\n0\n40\nabc\n0\nLINE\n5\n4a\n330\n1F\n100\nAcDbEntity\n100\nAcDbLine\n"
                "10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n", true}};
  // kDataPutIn: a real right after the first application (a new one at
  // the end where there is none), so that a later real meets no pair of its own.
  enum Road { kAsHandedOut, kPointMoved, kDataAdded, kLayerNamed, kDataPutIn };
  for (const Row& row : rows)
    for (Road road : {kAsHandedOut, kPointMoved, kDataAdded, kLayerNamed, kDataPutIn}) {
      std::string written[2];
      for (bool onlyWhatDiffers : {false, true}) {
        DxfDrawing::TuneReplace(onlyWhatDiffers);
        row.entities.empty() ? Open(row.name.c_str()) : OpenText(tables + row.entities + "0\nENDSEC\n0\nEOF\n");
        const std::string before = host.Drawing().SaveText();
        Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
        for (resbuf* e = alt_entnext_app(1, ""); e; e = alt_entnext_app(0, "")) {
          resbuf* copy = CopyGroupCodeChain(e);
          if (resbuf* point = FindGroupCode(copy, 10); point && road == kPointMoved) point->value.point[0] += 7.0;
          if (road == kDataAdded) LastGroupCodeNode(&copy)->next = Link({Node(1001, "JOV_DATA"), Node(1000, "x")});
          if (road == kDataPutIn) {
            resbuf* real = Node(1040);
            real->value.real = 5.0;
            resbuf* app = FindGroupCode(copy, 1001);
            if (!app) LastGroupCodeNode(&copy)->next = app = Node(1001, "JOV_DATA");
            real->next = app->next;
            app->next = real;
          }
          if (resbuf* layer = FindGroupCode(copy, 8); layer && road == kLayerNamed) {
            std::free(layer->value.text);  // a value set in place, a layer the tables lack
            layer->value.text = DupString("NEW_LAYER");
          }
          EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(copy, 0), HOST_NORMAL) << row.name;
          FreeGroupCodeChain(copy);
        }
        written[onlyWhatDiffers] = host.Drawing().SaveText();
        EXPECT_EQ(written[onlyWhatDiffers] != before, road != kAsHandedOut || row.changes) << row.name << road;
        Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1);
        EXPECT_EQ(host.Drawing().SaveText(), before) << row.name << road << onlyWhatDiffers;
        host.EndCommand();
      }
      EXPECT_EQ(written[true], written[false]) << row.name << road;
    }
  DxfDrawing::TuneReplace(true);
}

TEST_F(HostTest, RollbackGivesBackTheDrawingByteForByte) {
  // In one command: every model-space entity rewritten (a polyline's run
  // goes with it), an entity on a new layer added, a block redefined, an
  // anonymous one added, one left open, header values changed and added.
  struct Case {
    const char* file;
    std::vector<uint64_t> entities;
  } cases[] = {{"r2000_network.dxf", {0x40, 0x41, 0x42, 0x45, 0x46}},
               {"r12_network.dxf", {0x26, 0x27, 0x2C, 0x2F}}};
  for (const Case& c : cases) {
    Open(c.file);
    const std::string before = host.Drawing().SaveText();
    Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
    for (uint64_t h : c.entities) {
      resbuf* copy = CopyGroupCodeChain(host.EntityChain(h, nullptr));
      ASSERT_NE(copy, nullptr) << c.file << " " << h;
      FindGroupCode(copy, 10)->value.point[0] += 7.0;
      LastGroupCodeNode(&copy)->next = Link({Node(1001, "JOV_UNDO"), Node(1000, "x")});
      EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(copy, 0), HOST_NORMAL) << c.file << " " << h;
      FreeGroupCodeChain(copy);
    }
    resbuf* circle = Link({Node(0, "CIRCLE"), Node(8, "UNDO_LAYER"), PointNode(10, 1, 2), Node(40)});
    circle->next->next->next->value.real = 0.5;
    EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(circle, 0), HOST_NORMAL);
    double x = 1, y = 2, z = 0;
    char name[256] = "";
    for (const char* block : {"VENTIL", "*U", "OPEN"}) {
      ASSERT_EQ(Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockBegin, block, 0, x, y, z), HOST_NORMAL) << block;
      EXPECT_EQ(Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockAdd, circle), HOST_NORMAL) << block;
      if (std::strcmp(block, "OPEN") != 0) {
        EXPECT_EQ(Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockEnd, name), HOST_NORMAL) << block;
      }
    }
    FreeGroupCodeChain(circle);
    host.Drawing().SetHeaderVariable("$CLAYER", {{8, "UNDO_LAYER"}});
    host.Drawing().SetHeaderVariable("$JOVUNDO", {{1, "x"}});
    host.Drawing().SetHeaderVariable("$HANDSEED", {{5, "FFFF"}});
    ASSERT_NE(host.Drawing().SaveText(), before);
    Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1);
    EXPECT_EQ(host.Drawing().SaveText(), before) << c.file;
    EXPECT_FALSE(host.Drawing().BlockOpen());
    // The selection finds the restored entities.
    ASSERT_TRUE(host.Preselect({c.entities[0]}, nullptr));
    EXPECT_EQ(Walk().size(), 1u);
    EXPECT_EQ(host.EndCommand(), ChangeOutcome::Cancelled) << c.file;
  }
  host.BeginCommand();
}

TEST_F(HostTest, CommittedChangesLeaveTheUntouchedObjectsByteForByte) {
  const std::map<std::string, std::string> before = ObjectTexts(host.Drawing().SaveText());
  resbuf* copy = CopyGroupCodeChain(host.EntityChain(0x40, nullptr));
  FindGroupCode(copy, 11)->value.point[1] = 500.0;
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(copy, 0), HOST_NORMAL);
  FreeGroupCodeChain(copy);
  resbuf* circle = Link({Node(0, "CIRCLE"), Node(8, "NEW"), PointNode(10, 1, 2), Node(40), Node(1001, "JOV_NEW"),
                         Node(1000, "x")});
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(circle, 0), HOST_NORMAL);
  FreeGroupCodeChain(circle);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(1);
  // A later rolled-back change takes nothing of the commit with it.
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  EXPECT_EQ(Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(host.EntityChain(0x41, nullptr), 0), HOST_NORMAL);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1);
  EXPECT_EQ(host.EndCommand(), ChangeOutcome::Committed);

  const std::map<std::string, std::string> after = ObjectTexts(host.Drawing().SaveText());
  EXPECT_EQ(after.size(), before.size() + 3) << "the circle, its layer and its application";
  for (const auto& [handle, text] : before) {
    auto it = after.find(handle);
    ASSERT_NE(it, after.end()) << handle;
    if (handle == "40") {
      EXPECT_NE(it->second, text);
    } else if (text.find("TABLE\n") == std::string::npos) {
      EXPECT_EQ(it->second, text) << handle;
    }
  }
  host.BeginCommand();
}

TEST_F(HostTest, BlocksAreDefinedThroughTheVariableArguments) {
  double x = 10, y = 20, z = 0;
  ASSERT_EQ(Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockBegin, "*UJOVCUT20041", 1, x, y, z), HOST_NORMAL);
  resbuf* line = Link({Node(0, "LINE"), Node(8, "0"), PointNode(10, 0, 0), PointNode(11, 5, 0)});
  EXPECT_EQ(Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockAdd, line), HOST_NORMAL);
  FreeGroupCodeChain(line);
  char name[256];
  std::memset(name, 0, sizeof name);
  ASSERT_EQ(Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockEnd, name), HOST_NORMAL);
  EXPECT_STREQ(name, "*U1");
  const DxfBlock* block = host.Drawing().FindBlock("*U1");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->entities.size(), 1u);
  EXPECT_EQ(block->begin.Value(20), "20.0");
  EXPECT_EQ(Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockEnd, name), HOST_ERROR) << "no block is open";
  EXPECT_EQ(reinterpret_cast<HostBlockDefineFn>(t->slot[HostSlot::BlockDefine])(9), HOST_ERROR);
}

TEST_F(HostTest, UserCoordinatesFromTheHeader) {
  double p[3] = {1, 2, 3};
  EXPECT_EQ(Slot<HostCoordFn>(t, HostSlot::UcsToWcs)(p, false), HOST_NORMAL);
  EXPECT_EQ(p[0], 1.0) << "no UCS in the drawing: identity";
  EXPECT_EQ(p[2], 3.0);

  // A UCS at (100, 50) turned a quarter to the left.
  host.Drawing().SetHeaderVariable("$UCSORG", {{10, "100.0"}, {20, "50.0"}, {30, "0.0"}});
  host.Drawing().SetHeaderVariable("$UCSXDIR", {{10, "0.0"}, {20, "2.0"}, {30, "0.0"}});
  host.Drawing().SetHeaderVariable("$UCSYDIR", {{10, "-1.0"}, {20, "0.0"}, {30, "0.0"}});
  double q[3] = {10, 0, 0};
  EXPECT_EQ(Slot<HostCoordFn>(t, HostSlot::UcsToWcs)(q, false), HOST_NORMAL);
  EXPECT_NEAR(q[0], 100.0, 1e-12);
  EXPECT_NEAR(q[1], 60.0, 1e-12);
  double axis[3] = {1, 0, 0};
  Slot<HostCoordFn>(t, HostSlot::UcsToWcs)(axis, true);
  EXPECT_NEAR(std::atan2(axis[1], axis[0]), M_PI / 2, 1e-12);
  EXPECT_EQ(Slot<HostCoordFn>(t, HostSlot::WcsToUcs)(q, false), HOST_NORMAL);
  EXPECT_NEAR(q[0], 10.0, 1e-12);
  EXPECT_NEAR(q[1], 0.0, 1e-12);
  double d[3] = {0, 5, 0};
  Slot<HostCoordFn>(t, HostSlot::WcsToUcs)(d, true);
  EXPECT_NEAR(d[0], 5.0, 1e-12) << "a direction ignores the origin";
  EXPECT_EQ(Slot<HostCoordFn>(t, HostSlot::UcsToWcs)(nullptr, false), HOST_ERROR);
}

// The UCS is read once and kept: every road that changes the header's UCS
// after a conversion is seen by the next one.
TEST_F(HostTest, UserCoordinatesFollowEveryRoadThatChangesThem) {
  auto x = [&] {
    double p[3] = {0, 0, 0};
    Slot<HostCoordFn>(t, HostSlot::WcsToUcs)(p, false);
    return p[0];
  };
  auto moveOrigin = [&](const char* value) { host.Drawing().SetHeaderVariable("$UCSORG", {{10, value}}); };
  const struct {
    const char* road;
    std::function<void()> change;
    double expected;
  } rows[] = {
      {"an edit of the drawing", [&] { moveOrigin("7.0"); }, -7.0},
      {"a change rolled back",
       [&] {
         host.BeginChange();
         moveOrigin("9.0");
         EXPECT_EQ(x(), -9.0);
         host.EndChange(0);
       },
       -7.0},
      {"a new drawing", [&] { Open("r2000_network.dxf"); }, 0.0},
      {"a command ended unfinished",
       [&] {
         moveOrigin("5.0");
         EXPECT_EQ(x(), -5.0);
         host.EndCommand();
         host.BeginCommand();
       },
       0.0},
  };
  for (const auto& row : rows) {
    x();  // the UCS before, read and kept
    row.change();
    EXPECT_EQ(x(), row.expected) << row.road;
  }
}

TEST_F(HostTest, VariablesUnitsScaleAndEnvironment) {
  EXPECT_STREQ(Slot<HostGetVariableFn>(t, HostSlot::GetVariable)("CLAYER"), "TRUBKY");
  EXPECT_EQ(Slot<HostGetVariableFn>(t, HostSlot::GetVariable)("NOSUCH"), nullptr);
  EXPECT_EQ(Slot<HostDrawingUnitsFn>(t, HostSlot::DrawingUnits)(), 1000) << "$INSUNITS 4";
  EXPECT_EQ(Slot<HostDrawingScaleFn>(t, HostSlot::DrawingScale)(), 1.0);
  host.Options().units = 1;
  host.Options().scale = 50.0;
  host.Options().env["JOV_OFFSET"] = "250";
  EXPECT_EQ(Slot<HostDrawingUnitsFn>(t, HostSlot::DrawingUnits)(), 1);
  EXPECT_EQ(Slot<HostDrawingScaleFn>(t, HostSlot::DrawingScale)(), 50.0);
  EXPECT_STREQ(Slot<HostGetEnvStringFn>(t, HostSlot::GetEnvString)("jov_offset"), "250");
  EXPECT_STREQ(Slot<HostGetEnvStringFn>(t, HostSlot::GetEnvString)("OTHER"), "");

  host.Options().units.reset();
  OpenText("  0\nSECTION\n  2\nHEADER\n  9\n$INSUNITS\n 70\n6\n  0\nENDSEC\n  0\nEOF\n");
  EXPECT_EQ(Slot<HostDrawingUnitsFn>(t, HostSlot::DrawingUnits)(), 1) << "$INSUNITS 6: metres";
  EXPECT_STREQ(Slot<HostGetVariableFn>(t, HostSlot::GetVariable)("CLAYER"), "0");
}

TEST_F(HostTest, EntNextWalksTheSelectionAndUnlinkReleases) {
  ASSERT_TRUE(host.Preselect({0x41, 0x40}, nullptr));
  resbuf* first = alt_entnext(1);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->next->value.text, "LWPOLYLINE");
  EXPECT_EQ(unlink_DXF(), HOST_NORMAL);
  EXPECT_EQ(unlink_DXF(), HOST_NORMAL) << "nothing left to release";
  resbuf* second = alt_entnext(0);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Handle(second), "40");
  EXPECT_EQ(alt_entnext(0), nullptr);
  std::string error;
  EXPECT_FALSE(host.Preselect({0x999}, &error));
  EXPECT_EQ(error, "the drawing has no entity with handle 999");
}

TEST_F(HostTest, TheDrawingIsWalkedByApplicationAndErasedInsideTheChange) {
  // Walks of the model space (4A is in paper space) whatever the selection.
  ASSERT_TRUE(host.Preselect({0x40}, nullptr));
  auto walk = [](const char* application) {
    std::vector<std::string> handles;
    for (resbuf* e = alt_entnext_app(1, application); e; e = alt_entnext_app(0, application)) handles.push_back(Handle(e));
    return handles;
  };
  EXPECT_EQ(walk("jov_data"), (std::vector<std::string>{"41"}));
  EXPECT_EQ(walk(""), (std::vector<std::string>{"40", "41", "42", "45", "46"}));
  // Erases of an INSERT with its attributes, a POLYLINE with its run, a
  // paper-space entity; a name of no entity, no name. A rollback gives back
  // the drawing byte for byte, a commit keeps the erasures.
  const std::string before = host.Drawing().SaveText();
  const struct {
    uint64_t handle;  // 0: no name; UINT32_MAX as the id: no such entity
    int answer;
    const char* why;
  } rows[] = {{0x42, HOST_NORMAL, ""}, {0x46, HOST_NORMAL, ""}, {0x4A, HOST_NORMAL, ""},
              {0x40, HOST_ERROR, "the named entity is not in the drawing"}, {0, HOST_ERROR, "no entity name"}};
  for (const bool commit : {false, true}) {
    Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
    for (const auto& row : rows) {
      resbuf* chain = row.handle ? nullptr : Link({Node(0, "POINT"), PointNode(10, 1, 1)});
      if (row.handle) DuplicateGroupCodeChain(host.EntityChain(row.handle, nullptr), &chain);
      if (row.answer == HOST_ERROR && row.handle) chain->value.name[0] = static_cast<int64_t>(UINT32_MAX);
      EXPECT_EQ(alt_entdel(chain), row.answer) << row.handle;
      EXPECT_STREQ(alt_lasterror(), row.why);
      FreeGroupCodeChain(chain);
    }
    EXPECT_EQ(walk(""), (std::vector<std::string>{"40", "41", "45"}));
    Slot<HostEndChangeFn>(t, HostSlot::EndChange)(commit ? 1 : -1);
    EXPECT_EQ(host.Drawing().SaveText() == before, !commit);
  }
  EXPECT_EQ(host.Drawing().FindByHandle(0x43), nullptr) << "the attribute went with its insert";
}

TEST_F(HostTest, ProfileFolderIsMadeAndCataloguesAreKept) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("dravik_profile_" + std::to_string(::getpid())) / "nested";
  std::filesystem::remove_all(folder.parent_path());
  host.Options().profileFolder = folder.string();
  char buffer[260];
  EXPECT_EQ(GetProfilePath(0, buffer, sizeof buffer), HOST_NORMAL);
  EXPECT_EQ(std::string(buffer), folder.string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  char small[4];
  EXPECT_EQ(GetProfilePath(0, small, sizeof small), HOST_ERROR);
  EXPECT_STREQ(small, "") << "a folder that does not fit is not cut";
  std::filesystem::remove_all(folder.parent_path());

  const char* modules = std::getenv("JOV_MODULE_DIR");
  ASSERT_NE(modules, nullptr);
  host.Options().catalogueFolder = std::string(modules) + "/Catalogue";
  jovDatabase::Database* heating = GetDatabase('T');
  ASSERT_NE(heating, nullptr);
  EXPECT_EQ(GetDatabase('t'), heating) << "one catalogue per trade";
  EXPECT_EQ(GetDatabase('X'), nullptr);
}

TEST_F(HostTest, EveryCallIsLogged) {
  std::filesystem::path log = std::filesystem::temp_directory_path() /
                              ("dravik_log_" + std::to_string(::getpid()) + ".txt");
  ASSERT_TRUE(host.Log().Open(log.string()));
  Script("pick 40 1 2\n");
  double p[3];
  Slot<HostSelectFn>(t, HostSlot::Select)("Vyber \xE8\xE1ru", 1, 0, p);
  Slot<HostGetVariableFn>(t, HostSlot::GetVariable)("CLAYER");
  host.Log().Close();
  std::ifstream in(log);
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(first, "Select(\"Vyber čáru\", 1, 0, point) -> 5100 [pick 40 (1.0, 2.0, 0.0)]");
  EXPECT_EQ(second, "GetVariable(\"CLAYER\") -> \"TRUBKY\"");
  std::filesystem::remove(log);
}

}  // namespace
}  // namespace host
