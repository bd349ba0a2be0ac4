#include "common/HostExport2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstring>
#include <string>

namespace {

struct BlockCall {
  int op = -1;
  std::string name;
  int flag = 0;
  double x = 0, y = 0, z = 0;
};
BlockCall g_block;

int BlockDefine(int op, ...) {
  va_list args;
  va_start(args, op);
  g_block.op = op;
  if (op == kHostBlockBegin) {
    g_block.name = va_arg(args, const char*);
    g_block.flag = va_arg(args, int);
    g_block.x = va_arg(args, double);
    g_block.y = va_arg(args, double);
    g_block.z = va_arg(args, double);
  } else if (op == kHostBlockEnd) {
    std::strcpy(va_arg(args, char*), "*U7");
  }
  va_end(args);
  return 5100;
}

int g_endStatus = 0;
void EndChange(int status) { g_endStatus = status; }
const char* NullTitle() { return nullptr; }

}  // namespace

TEST(HostExport2D, MissingTableOrSlotGivesTheFixedValues) {
  HostExport2D empty{};
  const HostExport2D* tables[] = {nullptr, &empty};
  for (const HostExport2D* table : tables) {
    double p[3] = {1, 2, 3};
    char name[256] = "";
    EXPECT_EQ(HostSelectionNext(table, true), nullptr);
    EXPECT_EQ(HostEntityWrite(table, nullptr), -1);
    EXPECT_FALSE(HostBeginChange(table));
    EXPECT_FALSE(HostEndChange(table, 1));
    EXPECT_EQ(HostMainWindow(table), nullptr);
    EXPECT_EQ(HostBlockBegin(table, "B", 1, &p[0], &p[1], &p[2]), -1);
    EXPECT_EQ(HostBlockAddEntity(table, nullptr), -1);
    EXPECT_EQ(HostBlockEnd(table, name), -1);
    EXPECT_EQ(HostGetVariable(table, "CLAYER"), nullptr);
    EXPECT_EQ(HostDrawingScale(table), 0.0);
    EXPECT_EQ(HostDrawingUnits(table), 0);
    EXPECT_EQ(HostGetPoint(table, 0, "p", p), -1);
    EXPECT_EQ(HostUcsToWcs(table, p, false), -1);
    EXPECT_EQ(HostWcsToUcs(table, p, true), -1);
    EXPECT_EQ(HostSelect(table, "p", 1, 0, nullptr), -1);
    EXPECT_STREQ(HostGetEnvString(table, "JOV_OFFSET"), "");
    EXPECT_EQ(HostInputState(table), 0);
    EXPECT_STREQ(HostProductTitle(table), "ERROR");
  }
}

TEST(HostExport2D, BlockDefinitionPassesItsArgumentsAsTheHostReadsThem) {
  HostExport2D table{};
  table.slot[HostSlot::BlockDefine] = reinterpret_cast<HostProc>(&BlockDefine);
  double x = 1.5, y = -2, z = 0.25;
  ASSERT_EQ(HostBlockBegin(&table, "*UJOVCUT20041", 1, &x, &y, &z), 5100);
  EXPECT_EQ(g_block.op, kHostBlockBegin);
  EXPECT_EQ(g_block.name, "*UJOVCUT20041");
  EXPECT_EQ(g_block.flag, 1);
  EXPECT_EQ(g_block.x, 1.5);
  EXPECT_EQ(g_block.y, -2);
  EXPECT_EQ(g_block.z, 0.25);
  char name[256] = "";
  ASSERT_EQ(HostBlockEnd(&table, name), 5100);
  EXPECT_STREQ(name, "*U7");
}

TEST(HostExport2D, ChangeBracketReportsWhetherTheHostWasCalled) {
  HostExport2D table{};
  table.slot[HostSlot::EndChange] = reinterpret_cast<HostProc>(&EndChange);
  EXPECT_TRUE(HostEndChange(&table, -1));
  EXPECT_EQ(g_endStatus, -1);
  EXPECT_FALSE(HostBeginChange(&table)) << "slot 17 is empty";
}

TEST(HostExport2D, NullTitleFromTheHostReadsAsError) {
  HostExport2D table{};
  table.slot[HostSlot::ProductTitle] = reinterpret_cast<HostProc>(&NullTitle);
  EXPECT_STREQ(HostProductTitle(&table), "ERROR");
}

TEST(AngleOfPoints, RunsFromZeroToBelowFullTurn) {
  const double o[3] = {0, 0, 0};
  const double east[3] = {1, 0, 0}, south[3] = {0, -1, 0}, west[3] = {-1, 0, 0};
  const double southEastish[3] = {1, -1e-300, 0};
  EXPECT_DOUBLE_EQ(AngleOfPoints(o, east), 0.0);
  EXPECT_DOUBLE_EQ(AngleOfPoints(o, south), 3 * M_PI / 2);
  EXPECT_DOUBLE_EQ(AngleOfPoints(o, west), M_PI);
  double nearlyFull = AngleOfPoints(o, southEastish);
  EXPECT_GE(nearlyFull, 0.0);
  EXPECT_LT(nearlyFull, 2 * M_PI);
}
