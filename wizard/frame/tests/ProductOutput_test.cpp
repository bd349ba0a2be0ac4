// The output of a product request: its "JOV_DATA" extended data node by
// node, the level of a product from the element it is connected to, the
// size check of a connection, a view's geometry and the catalogue's trade.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/Database.h"
#include "platform/resources/wizard/resource_ids.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/ProductConnection.h"
#include "wizard/frame/ProductGeometry.h"
#include "wizard/frame/ProductXData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/tests/WizardTestSupport.h"

namespace {

// A heating catalogue of seven properties (the last two named "ABC" and
// "_NOTE"), parameter types of every kind the output tells apart, and a
// parametric product whose second point names an unknown parameter.
const char* kCatalogue = R"(
[catalogue]
trade = T
title = Topení
[names]
MODI | 0 | 1 | Topení | | 0
PROP | 0 | 10 | _FLOW | | 0
PROP | 1 | 11 | _MAKER | | 0
PROP | 2 | 12 | _PRODUCT | | 0
PROP | 3 | 13 | _DIMENSION | | 0
PROP | 4 | 14 | _COLOUR | | 0
PROP | 5 | 15 | _WEIGHT | | 0
PROP | 6 | 16 | ABC | | 0
PROP | 7 | 17 | _NOTE | | 0
[partypes]
1 | Délka | 0 | 0 | 100000 | 0
2 | Volná | 4 | 0 | 0 | 0
3 | Vypočtená | 1 | 0 | 0 | 0
4 | Vzorec | 32 | 0 | 0 | 0
5 | Text | 64 | 0 | 0 | 0
[item]
id = TXP0001-0001
idi = 1
title = Zkušební prvek
type = 128
status = 0x48000000
params <<
L|Délka|1|1000|1500|
W|Šířka|1|100||
H|Výška|3|L/10||
F|Vzorec|4|L*2|L*2|
G|Text|5|#L;|#L;|
zA|Spodek|1|1/0|1/0|
zB|Střed|1|300|300|
zC|Vršek|1|Q+1|Q+1|
E|Prázdný|1|||
C|abc|2|bílá|bílá|
N|_NOTE|2|x|poznámka|
>>
points <<
0
2
#L/#W
Cu
přívod
A
#L/#X/#W
Cu
zpátečka
B
0
0
>>
properties <<
12.5
Neuveden
Zkušební prvek
15x1
modrá
0.39
řádek 6
řádek 7
>>
dxfB <<
0 LINE
8 0
10 0.0
20 0.0
30 0.0
11 1000.0
21 0.0
31 0.0
>>
)";

// Texts of a chain of 1001/1000 nodes, one word each.
std::vector<std::string> Texts(const resbuf* chain) {
  std::vector<std::string> out;
  for (const resbuf* n = chain; n; n = n->next) out.push_back(n->value.text ? n->value.text : "<none>");
  return out;
}

class ProductOutput : public WizardCatalogueTest {};

}  // namespace

TEST_F(ProductOutput, ExtendedDataNodeByNode) {
  Catalogue(kCatalogue, 'T', "TXP0001-0001");
  CWizardDllApp& app = TheWizardApp();
  app.SetDimText("DN 15");
  app.SetComputedLevel("1.500");
  CObjectSez params;
  ASSERT_TRUE(LoadProductParameters(params));
  unsigned char flags[] = {0, 1, 0};
  ASSERT_TRUE(BuildProductXData(nullptr, 1, &params, flags, 3, "Q1", "0.5", "V2"));
  const std::vector<std::string> expected = {
      "JOV_DATA", "TXP0001-0001", "_TYPE", "128",
      // The second point names X, which is no parameter: its line stops
      // after the separator written for it.
      "_PTS", "2\n1500/100\nCu\npřívod\nA\n1500/\nCu\nzpátečka\nB\n",
      "L", "1500",
      "W", "100",          // no value: the default
                           // H is computed and not written
      "F", "3000.00",      // a formula of its own
      "G", "1500",         // a formula over the definitions
      "zA", "1/0",         // an evaluator error keeps the text
      "zB", "300.00",
      "zC", "Q",           // an undefined name is what the evaluator gives
      "E", "",             // neither value nor default
      "C", "bílá",
      "N", "poznámka",
      "_FLOW", "12.5", "_MAKER", "Neuveden", "_PRODUCT", "Zkušební prvek",
      "_DIMENSION", "DN 15",  // the dimension dialog's text, once
      // _COLOUR: flag 0 is clear. ABC: forced by C's label "abc", its value
      // the property's line, as the label is not "ABC" exactly. _NOTE: its
      // entry lies beyond the caller's three flags.
      "_WEIGHT", "0.39", "ABC", "řádek 6",
      "_QPROD", "Q1", "_SLOPE", "0.5", "_BRANCH", "V2", "_ZLEVEL", "1.500"};
  EXPECT_EQ(Texts(app.ResultChain2()), expected);
  EXPECT_EQ(app.ResultChain2()->code, 1001);
  for (const resbuf* n = app.ResultChain2()->next; n; n = n->next) EXPECT_EQ(n->code, 1000);
  EXPECT_EQ(flags[2], 1) << "the caller's flags are written in place";
  EXPECT_EQ(flags[0], 0);
  EXPECT_EQ(app.GetDimText(), nullptr) << "used once";
  EXPECT_EQ(app.GetComputedLevel(), nullptr) << "used once";
  EXPECT_EQ(MessageTexts().size(), 1u) << "the unknown name is told once";
}

TEST_F(ProductOutput, WithoutFlagsOrAListTheBuildKeepsItsOwn) {
  Catalogue(kCatalogue, 'T', "TXP0001-0001");
  CWizardDllApp& app = TheWizardApp();
  ASSERT_TRUE(BuildProductXData(nullptr, 1, nullptr, nullptr, 0, nullptr, nullptr, nullptr));
  const std::vector<std::string> texts = Texts(app.ResultChain2());
  // The keys after the last parameter's pair ("N", "poznámka").
  std::vector<std::string> properties;
  size_t i = 0;
  while (i < texts.size() && texts[i] != "N") ++i;
  for (i += 2; i + 1 < texts.size(); i += 2) properties.push_back(texts[i]);
  // Properties 0-3, then those a label forces: ABC (by "abc") and _NOTE,
  // whose value is its parameter's, as the label is exact.
  EXPECT_EQ(properties, (std::vector<std::string>{"_FLOW", "_MAKER", "_PRODUCT", "_DIMENSION", "ABC", "_NOTE"}));
  EXPECT_EQ(texts.back(), "poznámka");
}

TEST_F(ProductOutput, FewerThanFourPropertiesAndNoPoints) {
  Catalogue(R"(
[catalogue]
trade = Z
title = Zdravotechnika
[names]
MODI | 0 | 1 | Zdravotechnika | | 0
PROP | 0 | 10 | _FLOW | | 0
PROP | 1 | 11 | _MAKER | | 0
[partypes]
2 | Volná | 4 | 0 | 0 | 0
[item]
id = ZXP0001-0001
idi = 1
title = Zkouška
type = 7
status = 0x08000000
params <<
C|Barva|2|bílá||
>>
)",
            'Z', "ZXP0001-0001");
  CWizardDllApp& app = TheWizardApp();
  ASSERT_TRUE(BuildProductXData(nullptr, 0, nullptr, nullptr, 0, nullptr, nullptr, nullptr));
  EXPECT_EQ(Texts(app.ResultChain2()),
            (std::vector<std::string>{"JOV_DATA", "ZXP0001-0001", "_TYPE", "7", "C", "bílá", "_FLOW", "", "_MAKER",
                                      ""}));
}

TEST_F(ProductOutput, LevelFromTheConnectedElement) {
  // Own points: view B, point 1 letter B, point 2 letter X.
  Catalogue(CatalogueHead('T', "Topení") + R"([item]
id = TXL0001-0001
idi = 1
title = Se zvýšením
type = 1
status = 0x48000000
params <<
L|Délka|1|1000|1000|
zA|Spodek|1|100|100|
zB|Střed|1|L/5||
>>
points <<
0
2
20
a
b
B
20
a
b
X
0
0
>>
)" + kLineInViewB + R"([item]
id = TXL0002-0001
idi = 2
title = Bez bodů
type = 1
status = 0x40000000
)" + kLineInViewB,
            'T', "TXL0002-0001");
  CWizardDllApp& app = TheWizardApp();
  // The other element's view B: point 0 letter B, point 1 a code ("24"),
  // which reads as A.
  const char* other = "0\n2\n20\nx\ny\nB\n20\nx\ny\n24\n0\n0\n";
  struct Case {
    const char* product;
    unsigned otherIndex;
    unsigned ownNumber;
    const char* zB;  // stored of the connected element
    const char* level;
  } const cases[] = {
      {"TXL0002-0001", 0, 1, "300", "1.500"},    // no own points: three decimals
      {"TXL0002-0001", 1, 1, "300", "1.700"},    // A: zA 500
      {"TXL0002-0001", 0, 1, nullptr, "1.700"},  // no zB: zA
      {"TXL0001-0001", 0, 1, "300", "1.3000"},   // own B: zB = L/5 = 200
      {"TXL0001-0001", 0, 2, "300", "1.5000"},   // own X: no own height
      {"TXL0001-0001", 7, 1, "300", "1.5000"},   // a point not there: A
  };
  for (const Case& c : cases) {
    ASSERT_EQ(opened.back()->GoIndexID(c.product), jovDatabase::eOK);
    CObjectSez params;
    LoadProductParameters(params);
    app.SetZLevelTexts("1.2", "500", c.zB, nullptr);
    app.ApplyConnectionLevel(1, c.otherIndex, other, c.ownNumber, &params);
    ASSERT_NE(app.GetComputedLevel(), nullptr) << c.product << " " << c.otherIndex << " " << c.ownNumber;
    EXPECT_STREQ(app.GetComputedLevel(), c.level) << c.product << " " << c.otherIndex << " " << c.ownNumber;
  }
  // Nothing without the connected element's points or its _ZLEVEL.
  app.SetZLevelTexts(nullptr, "500", nullptr, nullptr);
  app.ApplyConnectionLevel(1, 0, other, 1, nullptr);
  EXPECT_EQ(app.GetComputedLevel(), nullptr);
  app.SetZLevelTexts("1.2", "500", nullptr, nullptr);
  app.ApplyConnectionLevel(1, 0, nullptr, 1, nullptr);
  EXPECT_EQ(app.GetComputedLevel(), nullptr);
}

TEST_F(ProductOutput, ConnectionSizesCompareAsNumbers) {
  Catalogue(CatalogueHead('T', "Topení") + R"([item]
id = TXC0001-0001
idi = 1
title = Dva body
type = 1
status = 0x40000000
points <<
0
3
20/25
a
b
A
20
a
b
A
DN
a
b
A
0
0
>>
)" + kLineInViewB,
            'T', "TXC0001-0001");
  const char* other = "0\n3\n20/25.0\nx\ny\nA\n20\nx\ny\nA\nDN\nx\ny\nA\n0\n0\n";
  struct Case {
    unsigned otherIndex, ownNumber;
    bool match;
  } const cases[] = {
      {0, 1, true},   // 20/25 and 20/25.0
      {1, 1, false},  // 20 against 20/25
      {1, 2, true},
      {2, 3, false},  // not numbers
      {5, 1, true},   // the other point is not there
      {0, 9, true},   // the own point is not there
  };
  for (const Case& c : cases)
    EXPECT_EQ(CheckConnectionMatch(other, c.otherIndex, c.ownNumber, 1), c.match) << c.otherIndex << "/" << c.ownNumber;
}

TEST_F(ProductOutput, GeometryOnlyOfViewsThatAreThere) {
  Catalogue(kCatalogue, 'T', "TXP0001-0001");
  for (unsigned view : {0u, 2u, 3u, 4u, 99u}) {
    jovDatabase::resultResbuf holder;
    EXPECT_FALSE(GetProductDxf(view, holder)) << view;
  }
  jovDatabase::resultResbuf holder;
  ASSERT_TRUE(GetProductDxf(1, holder));
  ASSERT_NE(holder.head, nullptr);
  EXPECT_STREQ(holder.head->value.text, "LINE");
}

TEST_F(ProductOutput, TradeFromTheCataloguesModiName) {
  struct Case {
    const char* modi;
    int trade;
  } const cases[] = {{"Topení", 3}, {"topení", -1}, {"Zdravo", 0}, {"Elektro", 1}, {"Vzduch", 2}, {"", -1}};
  for (const Case& c : cases) {
    std::string source = std::string("[catalogue]\ntrade = T\ntitle = x\n[names]\n") +
                         (*c.modi ? std::string("MODI | 0 | 1 | ") + c.modi + " | | 0\n" : "") +
                         "[item]\nid = TXT0001-0001\nidi = 1\ntitle = x\ntype = 0\nstatus = 0\n";
    Catalogue(source, 'T', "TXT0001-0001");
    EXPECT_EQ(GetTradeLetter(), c.trade) << c.modi;
  }
  SetCurrentCatalogue(nullptr);
  EXPECT_EQ(GetTradeLetter(), -1);
}
