// The catalogue's tables beyond the positioned product: parameter types,
// names lists, producers and product versions, each with a cursor of its
// own, and the writes of parameters and formulas with their bracket. Every
// test builds a small catalogue from text.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "platform/win32/code_page.h"

using jovDatabase::Database;
using jovDatabase::eCode;
using jovDatabase::TNameStruct;
using jovDatabase::TParTypeStruct;

namespace {

// Ids and entries deliberately out of order: enumerations sort them.
const char* const kSource = R"(
[catalogue]
trade = T
[names]
PARS | 1 | 21 | V\xFD\x9Aka | v\xFD\x9Aka prvku | 3
PARS | 0 | 20 | D\xE9lka | d\xE9lka prvku | 0
PRDN | 0 | 50 | Ventil | #DN | 7
MJ | 0 | 40 | ks | kus | 1
[partypes]
9 | Text | 4 | 0 | 0 | 90
2 | D\xE9lka [mm] | 0 | 10 | 6000 | 20
5 | Vzorec | 0x41 | -1.5 | 2.5 | 50
[producers]
2 | Beta | druh\xFD | 8
1 | Alfa | prvn\xED | 0
3 | Gama | bez verz\xED | 0
[products]
14 | 2 | TVE0015-0001 | 2024-02-29 | 50 | 120.5 | 40 | b1
11 | 1 | TVE0015-0001 | 2023-05-01 | 50 | 99 | 40 | a-later
12 | 1 | TVE0015-0001 | 1999-12-31 | 0 | 80 | 0 | a-first
13 | 1 | TVE0015-0001 | 2023-05-01 | 50 | 101 | 40 | a-same-day
15 | 1 | TOT0600-0001 | 2020-01-01 | 0 | 1 | 0 | other item
[item]
id = TVE0015-0001
idi = 5
params <<
DN|Dimenze|2|15|15|
>>
parB <<
-1
0.00|0.00|0.00
>>
[item]
id = TOT0600-0001
idi = 4
)";

// The source's "\xNN" stand for code page 1250 bytes; the source is UTF-8.
std::string Utf8Source() {
  const std::string source = kSource;
  std::string out;
  for (size_t i = 0; i < source.size(); ++i) {
    if (source.compare(i, 2, "\\x") == 0) {
      out += static_cast<char>(std::stoi(source.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += source[i];
    }
  }
  return Cp1250ToUtf8(out);
}

struct Catalogue : ::testing::Test {
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(jovDatabase::BuildCatalogueFromText(Utf8Source(), folder.File("T.db").c_str(), error))
        << error;
    Reopen();
  }
  void TearDown() override { Database::Close(db); }
  void Reopen() {
    Database::Close(db);
    db = Database::Open(folder.Path().c_str(), 'T');
    ASSERT_NE(db, nullptr);
  }
  std::string Text(eCode (Database::*get)(qmString&)) {
    qmString s;
    eCode code = (db->*get)(s);
    if (code != jovDatabase::eOK) return "error " + std::to_string(code);
    return s.GetString() ? s.GetString() : "";
  }
  unsigned Number(eCode (Database::*get)(unsigned&)) {
    unsigned n = 0xDEAD;
    return (db->*get)(n) == jovDatabase::eOK ? n : 0xDEAD;
  }

  TempFolder folder;
  Database* db = nullptr;
};

struct Names {
  std::vector<std::string> texts;
  std::vector<std::vector<uint32_t>> numbers;
  size_t stopAfter = 100;
};

int CollectName(const TNameStruct* record, void* context) {
  auto* names = static_cast<Names*>(context);
  names->texts.push_back(std::string(record->name) + "/" + record->value);
  names->numbers.push_back({record->number[0], record->number[1], record->number[2]});
  return names->texts.size() < names->stopAfter;
}

}  // namespace

TEST_F(Catalogue, ParameterTypesEnumerateInIdOrderAndPositionByTheirOwnCursor) {
  struct Seen {
    Database* db;
    std::vector<std::string> rows;
    std::vector<std::string> titles;  // read back through the cursor inside the callback
  } seen{db, {}, {}};
  auto collect = [](const TParTypeStruct* t, void* context) {
    auto* s = static_cast<Seen*>(context);
    s->rows.push_back(std::string(t->title) + "|" + std::to_string(t->id) + "|" +
                      std::to_string(t->secondId) + "|" + std::to_string(t->status) + "|" +
                      std::to_string(t->lo) + "|" + std::to_string(t->hi));
    qmString title;
    s->db->GoPartypeIDI(t->id);
    s->db->GetPartypeTitle(title);
    s->titles.push_back(title.GetString());
    return 1;
  };
  ASSERT_EQ(db->EnumParTypes(collect, &seen), 0);
  EXPECT_EQ(seen.rows, (std::vector<std::string>{"D\xE9lka [mm]|2|20|0|10.000000|6000.000000",
                                                 "Vzorec|5|50|65|-1.500000|2.500000",
                                                 "Text|9|90|4|0.000000|0.000000"}));
  EXPECT_EQ(seen.titles, (std::vector<std::string>{"D\xE9lka [mm]", "Vzorec", "Text"}));

  int calls = 0;
  auto stop = [](const TParTypeStruct*, void* context) { return ++*static_cast<int*>(context) < 0 ? 1 : 0; };
  EXPECT_EQ(db->EnumParTypes(stop, &calls), 0);
  EXPECT_EQ(calls, 1) << "a callback answering 0 stops the walk";
  EXPECT_EQ(db->EnumParTypes(nullptr, nullptr), jovDatabase::eBadArgument);

  ASSERT_EQ(db->GoPartypeIDI(5), 0);
  double lo = 0, hi = 0;
  EXPECT_EQ(Text(&Database::GetPartypeTitle), "Vzorec");
  EXPECT_EQ(Number(&Database::GetPartypeStatus), 0x41u);
  ASSERT_EQ(db->GetPartypeLo(lo), 0);
  ASSERT_EQ(db->GetPartypeHi(hi), 0);
  EXPECT_EQ(lo, -1.5);
  EXPECT_EQ(hi, 2.5);
  EXPECT_EQ(db->GoPartypeIDI(404), jovDatabase::eNotFound);
  EXPECT_EQ(Text(&Database::GetPartypeTitle), "error 3") << "a failed positioning leaves none";
  EXPECT_EQ(db->GetPartypeLo(lo), jovDatabase::eNotPositioned);
}

TEST_F(Catalogue, NamesListsComeWholeInEntryOrderWhateverTheFlag) {
  for (bool flag : {false, true}) {
    Names names;
    ASSERT_EQ(db->EnumNames("PARS", CollectName, &names, flag), 0);
    EXPECT_EQ(names.texts, (std::vector<std::string>{"D\xE9lka/d\xE9lka prvku", "V\xFD\x9A" "ka/v\xFD\x9A" "ka prvku"}));
    EXPECT_EQ(names.numbers, (std::vector<std::vector<uint32_t>>{{0, 20, 0}, {3, 21, 1}}))
        << "status, id, entry";
  }
  Names stopped;
  stopped.stopAfter = 1;
  EXPECT_EQ(db->EnumNames("PARS", CollectName, &stopped, false), 0);
  EXPECT_EQ(stopped.texts.size(), 1u);
  Names none;
  EXPECT_EQ(db->EnumNames("SQUE", CollectName, &none, true), 0) << "an empty list is no error";
  EXPECT_TRUE(none.texts.empty());
  EXPECT_EQ(db->EnumNames(nullptr, CollectName, &none, true), jovDatabase::eBadArgument);

  ASSERT_EQ(db->GoNamesIDI(50), 0);
  EXPECT_EQ(Text(&Database::GetNamesName), "Ventil");
  EXPECT_EQ(Text(&Database::GetNamesComment), "#DN");
  EXPECT_EQ(Number(&Database::GetNamesStatus), 7u);
  EXPECT_EQ(db->GoNamesIDI(51), jovDatabase::eNotFound);
  EXPECT_EQ(Number(&Database::GetNamesStatus), 0xDEADu);
}

TEST_F(Catalogue, VersionsWalkInDateOrderPerProducerAndDatesRoundTrip) {
  unsigned idi = 0;
  ASSERT_EQ(db->GoIndexID("TVE0015i0001"), 0);
  ASSERT_EQ(db->GetIndexIDI(idi), 0);
  Names producers;
  ASSERT_EQ(db->EnumUsedProducers(CollectName, &producers, idi), 0);
  EXPECT_EQ(producers.texts, (std::vector<std::string>{"Alfa/prvn\xED", "Beta/druh\xFD"}))
      << "producers without a version of the item are left out";
  EXPECT_EQ(producers.numbers, (std::vector<std::vector<uint32_t>>{{0, 1, 3}, {8, 2, 1}}))
      << "status, producer id, versions of the item";

  struct Version {
    unsigned id;
    int year, month, day;
    double price;
    std::string comment;
    bool operator==(const Version&) const = default;
  };
  auto walk = [&](unsigned producer) {
    std::vector<Version> out;
    for (eCode code = db->NextProduct(0, producer, idi); code == 0; code = db->NextProduct(1, producer, idi)) {
      Version v{};
      CComDATE date;
      EXPECT_EQ(db->GetProdsIDI(v.id), 0);
      EXPECT_EQ(db->GetProdsDate(date), 0);
      EXPECT_EQ(db->GetProdsPrice(v.price), 0);
      v.year = date.GetYear();
      v.month = date.GetMonth();
      v.day = date.GetDay();
      v.comment = Text(&Database::GetProdsComment);
      out.push_back(v);
    }
    return out;
  };
  EXPECT_EQ(walk(1), (std::vector<Version>{{12, 1999, 12, 31, 80, "a-first"},
                                           {11, 2023, 5, 1, 99, "a-later"},
                                           {13, 2023, 5, 1, 101, "a-same-day"}}));
  EXPECT_EQ(Number(&Database::GetProdsIDI), 0xDEADu) << "past the last version none is positioned";
  EXPECT_EQ(walk(2), (std::vector<Version>{{14, 2024, 2, 29, 120.5, "b1"}}));
  EXPECT_EQ(walk(3), std::vector<Version>{});

  ASSERT_EQ(db->NextProduct(0, 1, idi), 0);
  EXPECT_EQ(db->NextProduct(1, 2, idi), jovDatabase::eNotPositioned) << "the walk of another producer";
  EXPECT_EQ(db->NextProduct(2, 1, idi), jovDatabase::eBadArgument);

  ASSERT_EQ(db->GoProdsIDI(14), 0);
  EXPECT_EQ(Number(&Database::GetProdsStatus), 50u);
  EXPECT_EQ(Number(&Database::GetProdsMJ), 40u);
  CComDATE leap;
  ASSERT_EQ(db->GetProdsDate(leap), 0);
  EXPECT_EQ(leap.GetDate(), CComDATE(2024, 2, 29).GetDate());
  EXPECT_EQ(db->GoProdsIDI(99), jovDatabase::eNotFound);
  EXPECT_EQ(db->GetProdsDate(leap), jovDatabase::eNotPositioned);
}

TEST_F(Catalogue, EachCursorStaysWhereItWasWhileTheOthersMove) {
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), 0);
  ASSERT_EQ(db->GoPartypeIDI(2), 0);
  ASSERT_EQ(db->GoNamesIDI(40), 0);
  ASSERT_EQ(db->GoProdsIDI(12), 0);
  auto expectAll = [&](const char* after) {
    EXPECT_EQ(Text(&Database::GetParmsParams), "DN|Dimenze|2|15|15|\r\n") << after;
    EXPECT_EQ(Text(&Database::GetPartypeTitle), "D\xE9lka [mm]") << after;
    EXPECT_EQ(Text(&Database::GetNamesName), "ks") << after;
    EXPECT_EQ(Number(&Database::GetProdsIDI), 12u) << after;
  };
  expectAll("positioning");
  Names names;
  db->EnumNames("PARS", CollectName, &names, true);
  db->EnumUsedProducers(CollectName, &names, 5);
  db->EnumParTypes([](const TParTypeStruct*, void*) { return 1; }, nullptr);
  qmString scratch;
  db->GetNamesNameing("PARS", 1, scratch);
  expectAll("enumerations");

  ASSERT_EQ(db->GoIndexID("TOT0600-0001"), 0);
  EXPECT_EQ(Text(&Database::GetParmsParams), "");
  EXPECT_EQ(Text(&Database::GetPartypeTitle), "D\xE9lka [mm]");
  EXPECT_EQ(Text(&Database::GetNamesName), "ks");
  EXPECT_EQ(Number(&Database::GetProdsIDI), 12u);
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), 0);
  ASSERT_EQ(db->GoPartypeIDI(9), 0);
  ASSERT_EQ(db->GoNamesIDI(20), 0);
  ASSERT_EQ(db->NextProduct(0, 2, 5), 0);
  EXPECT_EQ(Text(&Database::GetParmsParams), "DN|Dimenze|2|15|15|\r\n");
  EXPECT_EQ(Text(&Database::GetPartypeTitle), "Text");
  EXPECT_EQ(Text(&Database::GetNamesName), "D\xE9lka");
  EXPECT_EQ(Number(&Database::GetProdsIDI), 14u);
  EXPECT_NE(db->GoIndexID("TXX0000-0000"), 0);
  EXPECT_EQ(Text(&Database::GetPartypeTitle), "Text") << "a failed item positioning touches no other cursor";
  EXPECT_EQ(Number(&Database::GetProdsIDI), 14u);
}

TEST_F(Catalogue, WritesPersistAndABracketLeftOpenRollsBack) {
  // Setter and getter of each field. (Lambdas rather than member pointers:
  // GCC's vptr check misreads a call through a member pointer here.)
  struct Field {
    eCode (*set)(Database*, const qmString&);
    eCode (Database::*get)(qmString&);
  };
  const Field fields[] = {
      {[](Database* d, const qmString& t) { return d->SetParmsParams(t); }, &Database::GetParmsParams},
      {[](Database* d, const qmString& t) { return d->SetParmsParA(t); }, &Database::GetParmsParA},
      {[](Database* d, const qmString& t) { return d->SetParmsParB(t); }, &Database::GetParmsParB},
      {[](Database* d, const qmString& t) { return d->SetParmsParC(t); }, &Database::GetParmsParC},
      {[](Database* d, const qmString& t) { return d->SetParmsPar3D(t); }, &Database::GetParmsPar3D}};
  EXPECT_EQ(db->SetParmsParA(qmString("x")), jovDatabase::eNotPositioned);

  // Written through, one field each, without touching the others.
  ASSERT_EQ(db->GoIndexID("TOT0600-0001"), 0);
  for (size_t i = 0; i < std::size(fields); ++i) {
    const std::string text = "L|D\xE9lka|" + std::to_string(i) + "|1|1|\r\n";
    EXPECT_EQ(fields[i].set(db, qmString(text.c_str())), 0) << i;
  }
  Reopen();
  ASSERT_EQ(db->GoIndexID("TOT0600-0001"), 0);
  for (size_t i = 0; i < std::size(fields); ++i)
    EXPECT_EQ(Text(fields[i].get), "L|D\xE9lka|" + std::to_string(i) + "|1|1|\r\n") << i;
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), 0);
  EXPECT_EQ(Text(&Database::GetParmsParB), "-1\r\n0.00|0.00|0.00\r\n") << "another product keeps its texts";

  // A bracket commits on Update; left open it is rolled back by Close and
  // by the next Edit.
  EXPECT_EQ(db->Edit(3), jovDatabase::eBadArgument);
  EXPECT_EQ(db->Update(jovDatabase::kEditParams), jovDatabase::eNoEdit);
  ASSERT_EQ(db->Edit(jovDatabase::kEditParams), 0);
  ASSERT_EQ(db->SetParmsParB(qmString("1\r\n")), 0);
  EXPECT_EQ(Text(&Database::GetParmsParB), "1\r\n") << "the bracket reads its own writes";
  ASSERT_EQ(db->Update(jovDatabase::kEditParams), 0);
  ASSERT_EQ(db->Edit(jovDatabase::kEditParams), 0);
  ASSERT_EQ(db->SetParmsParB(qmString("2\r\n")), 0);
  Reopen();
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), 0);
  EXPECT_EQ(Text(&Database::GetParmsParB), "1\r\n");
  ASSERT_EQ(db->Edit(jovDatabase::kEditParams), 0);
  ASSERT_EQ(db->SetParmsParB(qmString("3\r\n")), 0);
  ASSERT_EQ(db->Edit(jovDatabase::kEditParams), 0);
  ASSERT_EQ(db->SetParmsParA(qmString("4\r\n")), 0);
  ASSERT_EQ(db->Update(jovDatabase::kEditParams), 0);
  EXPECT_EQ(db->Update(jovDatabase::kEditParams), jovDatabase::eNoEdit);
  Reopen();
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), 0);
  EXPECT_EQ(Text(&Database::GetParmsParB), "1\r\n") << "the first bracket was rolled back";
  EXPECT_EQ(Text(&Database::GetParmsParA), "4\r\n");
  ASSERT_EQ(db->SetParmsParams(qmString()), 0);
  EXPECT_EQ(Text(&Database::GetParmsParams), "") << "an empty string stores an empty text";
}
