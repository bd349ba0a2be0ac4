#include "platform/catalogue/GroupCodeText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using jovDatabase::FreeGroupCodeNodes;
using jovDatabase::ParseGroupCodeText;

namespace {

// Owns a parsed chain for the length of a test.
struct Chain {
  resbuf* head = nullptr;
  ~Chain() { FreeGroupCodeNodes(head); }
  std::vector<const resbuf*> Nodes() const {
    std::vector<const resbuf*> out;
    for (const resbuf* n = head; n; n = n->next) out.push_back(n);
    return out;
  }
};

void ExpectPoint(const resbuf* n, int code, double x, double y, double z) {
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->code, code);
  EXPECT_DOUBLE_EQ(n->value.point[0], x);
  EXPECT_DOUBLE_EQ(n->value.point[1], y);
  EXPECT_DOUBLE_EQ(n->value.point[2], z);
}

}  // namespace

TEST(GroupCodeText, LineAndDefpointsCircleBecomeTheirNodes) {
  const char* text =
      "0\nLINE\n8\n0\n10\n0.0\n20\n-10.5\n30\n0.0\n11\n100.0\n21\n0.0\n31\n2.5\n"
      "0\nCIRCLE\n8\nDEFPOINTS\n62\n7\n10\n100.0\n20\n0.0\n30\n0.0\n40\n5.0\n";
  Chain c;
  std::string error;
  ASSERT_TRUE(ParseGroupCodeText(text, &c.head, &error)) << error;
  auto n = c.Nodes();
  ASSERT_EQ(n.size(), 9u);
  EXPECT_EQ(n[0]->code, 0);
  EXPECT_STREQ(n[0]->value.text, "LINE");
  EXPECT_EQ(n[1]->code, 8);
  EXPECT_STREQ(n[1]->value.text, "0");
  ExpectPoint(n[2], 10, 0.0, -10.5, 0.0);
  ExpectPoint(n[3], 11, 100.0, 0.0, 2.5);
  EXPECT_STREQ(n[4]->value.text, "CIRCLE");
  EXPECT_STREQ(n[5]->value.text, "DEFPOINTS");
  EXPECT_EQ(n[6]->code, 62);
  EXPECT_EQ(n[6]->value.i16, 7);
  ExpectPoint(n[7], 10, 100.0, 0.0, 0.0);
  EXPECT_EQ(n[8]->code, 40);
  EXPECT_DOUBLE_EQ(n[8]->value.real, 5.0);
  EXPECT_EQ(n[8]->next, nullptr);
}

TEST(GroupCodeText, ValueKindsFollowTheDxfRanges) {
  // CR LF line ends, padded numbers, a 2D vertex, extended data and a
  // binary chunk, as DXF writers produce them.
  const char* text =
      "0\r\nLWPOLYLINE\r\n90\r\n   3\r\n70\r\n     1\r\n10\r\n1.5\r\n20\r\n2.5\r\n42\r\n+0.25\r\n"
      "38\r\n12.0\r\n160\r\n-4294967296\r\n290\r\n1\r\n310\r\n0aFf\r\n"
      "1001\r\nJOV_DATA\r\n1000\r\n \x8Aipka \r\n1010\r\n1\r\n1020\r\n2\r\n1030\r\n3\r\n"
      "1040\r\n0.5\r\n1070\r\n-2\r\n1071\r\n70000\r\n";
  Chain c;
  std::string error;
  ASSERT_TRUE(ParseGroupCodeText(text, &c.head, &error)) << error;
  auto n = c.Nodes();
  ASSERT_EQ(n.size(), 15u);
  EXPECT_EQ(n[1]->value.i32, 3);
  EXPECT_EQ(n[2]->value.i16, 1);
  ExpectPoint(n[3], 10, 1.5, 2.5, 0.0);  // no 30: z is 0
  EXPECT_DOUBLE_EQ(n[4]->value.real, 0.25);
  EXPECT_EQ(n[5]->code, 38);  // elevation: a real, not a point
  EXPECT_DOUBLE_EQ(n[5]->value.real, 12.0);
  EXPECT_EQ(n[6]->value.i64, -4294967296LL);
  EXPECT_EQ(n[7]->value.i16, 1);
  ASSERT_EQ(n[8]->value.binary.length, 2);
  EXPECT_EQ(n[8]->value.binary.data[0], 0x0A);
  EXPECT_EQ(n[8]->value.binary.data[1], 0xFF);
  EXPECT_STREQ(n[9]->value.text, "JOV_DATA");
  EXPECT_STREQ(n[10]->value.text, " \x8Aipka ") << "text values keep their blanks";
  ExpectPoint(n[11], 1010, 1, 2, 3);
  EXPECT_DOUBLE_EQ(n[12]->value.real, 0.5);
  EXPECT_EQ(n[13]->value.i16, -2);
  EXPECT_EQ(n[14]->code, 1071);
  EXPECT_EQ(n[14]->value.i32, 70000);
}

TEST(GroupCodeText, EmptyTextIsAnEmptyChain) {
  resbuf* head = reinterpret_cast<resbuf*>(1);
  EXPECT_TRUE(ParseGroupCodeText("", &head));
  EXPECT_EQ(head, nullptr);
  EXPECT_TRUE(ParseGroupCodeText("\n\r\n", &head));
  EXPECT_EQ(head, nullptr);
  EXPECT_TRUE(ParseGroupCodeText(nullptr, &head));
  EXPECT_EQ(head, nullptr);
  EXPECT_FALSE(ParseGroupCodeText("0\nLINE\n", nullptr));
}

TEST(GroupCodeText, MalformedTextFailsWithoutAChain) {
  struct Case {
    const char* text;
    const char* line;
  };
  const Case cases[] = {
      {"0\nLINE\nx8\n0\n", "line 3"},                       // code not a number
      {"0\nLINE\n8\n", "line 3"},                           // code without value
      {"0\nLINE\n10\n1.0\n30\n2.0\n", "line 3"},            // point without y
      {"0\nLINE\n10\n1,5\n20\n2\n", "line 4"},              // decimal comma
      {"0\nLINE\n62\n70000\n", "line 4"},                   // 16-bit overflow
      {"0\nLINE\n40\nnan\n", "line 4"},                     // not a finite real
      {"0\nLINE\n1006\nx\n", "line 3"},                     // not a DXF code
      {"0\nLINE\n310\nABC\n", "line 4"},                    // odd hex digits
      {"0\nLINE\n70000\nx\n", "line 3"},                    // code out of range
  };
  for (const auto& c : cases) {
    resbuf* head = reinterpret_cast<resbuf*>(1);
    std::string error;
    EXPECT_FALSE(ParseGroupCodeText(c.text, &head, &error)) << c.text;
    EXPECT_EQ(head, nullptr) << c.text;
    EXPECT_NE(error.find(c.line), std::string::npos) << c.text << " -> " << error;
  }
}

TEST(GroupCodeText, AnglesTurnFromDegreesIntoRadiansAsTheHostReadsThem) {
  // 50-58 are angles; their neighbours 40 and 59 are plain reals.
  const char* text = "0\nARC\n40\n180\n50\n180\n51\n-90\n58\n45\n59\n45\n";
  Chain c;
  ASSERT_TRUE(ParseGroupCodeText(text, &c.head));
  auto n = c.Nodes();
  ASSERT_EQ(n.size(), 6u);
  const double pi = 3.14159265358979323846;
  EXPECT_EQ(n[1]->value.real, 180.0);
  EXPECT_DOUBLE_EQ(n[2]->value.real, pi);
  EXPECT_DOUBLE_EQ(n[3]->value.real, -pi / 2);
  EXPECT_DOUBLE_EQ(n[4]->value.real, pi / 4);
  EXPECT_EQ(n[5]->value.real, 45.0);
}
