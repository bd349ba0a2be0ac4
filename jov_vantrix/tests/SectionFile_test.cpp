// The section exchange file: the exact bytes written, what a result file
// reads into, and the cases a result file may bring.
#include "jov_vantrix/network/SectionFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "tests/support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

class SectionFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(temp_.Path().empty()); }

  std::string Path(const char* name) const { return temp_.File(name); }
  std::string Write(const char* name, const std::string& text) {
    temp_.Write(name, text);
    return Path(name);
  }
  // What a result file reads into: per branch its name, then per section
  // number, names, values and texts.
  std::string Read(const std::string& text, int* result = nullptr) {
    CSecSezNew root;
    const int r = ReadSectionFile(root, Write("in.txt", text).c_str());
    if (result) *result = r;
    std::string out;
    for (const CSecSezNew* b = root.GetFirstBranch(); b; b = b->GetNextBranch()) {
      out += "[" + std::string(b->m_name) + "]";
      for (const CSecDataNew* s = b->GetFirstSection(); s; s = s->GetNextSection()) {
        out += " " + std::to_string(s->m_number) + ":" + std::string(s->m_pName) + "/" + std::string(s->m_zName);
        for (const CStringArray* values : {&s->m_pValues, &s->m_zValues}) {
          out += "|";
          for (INT_PTR i = 0; i < values->GetSize(); ++i) out += std::string((*values)[i]) + ",";
        }
        out += "|";
        for (const RecordText& t : s->m_productFields) out += std::string(t) + ",";
      }
    }
    return out;
  }

  TempFolder temp_;
  const fs::path folder_{temp_.Path()};
};

CSecDataNew* Section(CSecSezNew& list, const char* branch, int number, int connect) {
  auto* s = new CSecDataNew(number);
  s->m_connect = connect;
  s->m_branchName = branch;
  s->m_pLength = "4.25";
  s->m_zLength = "4.20";
  list.AddTail(s);
  return s;
}

const char* kEmpty15 = ",,,,,,,,,,,,,,,";

}  // namespace

TEST_F(SectionFile, WritesBranchesInTheOrderOfTheirNames) {
  CSecSezNew list;
  list.m_branchNames.AddTail("B");
  list.m_branchNames.AddTail("A");
  Section(list, "A", 3, 2)->m_connectedBranch = "V2";
  CSecDataNew* b = Section(list, "B", 1, 0);
  b->m_neighbour = "N";  // connects to nothing: the neighbour is not written
  b->m_CT = "22";
  b->m_productFields[0] = "f8";
  b->m_productFields[3] = "f11";
  Section(list, "A", 4, 3)->m_neighbour = "V9";
  Section(list, "C", 5, 4);  // no name in the list: not written

  const std::string path = Path("export.txt");
  ASSERT_TRUE(WriteSectionFile(list, path.c_str(), false));
  const std::string sections =
      "#vetev;B\r\n1;0;0;;22;f8;;;f11;4.25\r\n1;0;0;;22;f8;;;f11;4.20\r\n"
      "#vetev;A\r\n3;2;0;V2;;;;;;4.25\r\n3;2;0;V2;;;;;;4.20\r\n4;3;0;V9;;;;;;4.25\r\n4;3;0;V9;;;;;;4.20\r\n";
  EXPECT_EQ(testsupport::Slurp(path), "CP\r\n2\r\n" + sections);

  // Appending: no header, behind what is there.
  ASSERT_TRUE(WriteSectionFile(list, path.c_str(), true));
  EXPECT_EQ(testsupport::Slurp(path), "CP\r\n2\r\n" + sections + sections);
  ASSERT_TRUE(WriteSectionFile(list, Path("new.txt").c_str(), true));
  EXPECT_EQ(testsupport::Slurp(Path("new.txt")), sections);

  // A target that cannot be written is reported and left as it was.
  EXPECT_FALSE(WriteSectionFile(list, Path("missing/export.txt").c_str(), false));
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(folder_)) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"export.txt", "new.txt"})) << "no temporary file stays";
}

TEST_F(SectionFile, ResultFilesReadTheSameWithEitherLineEnd) {
  const std::string lines[] = {
      "PC", "2", "1;P;ignored;before any branch", "#vetev;1",
      "1;P;S1-1;DN20;x;0.8;IZ1;Arma;13;VE15;HV2;SR20;3.000;r1;r2;r3;r4;r5;t8;t9;t10;t11",
      "1;Z;S1-1Z;DN20;x;0.7;IZ1;Arma;13;;;;;;;;;;", "no separator", "x2;P;N;",
      "#vetev;1", "7;P;S7;a;b;;;;;;;;12.000;;;;;;t8;"};
  std::string crlf, lf;
  for (const std::string& l : lines) {
    crlf += l + "\r\n";
    lf += l + "\n";
  }
  const std::string expected =
      "[1] 1:S1-1/S1-1Z|DN20,x,0.8,IZ1,Arma,13,VE15,HV2,SR20,3,r1,r2,r3,r4,r5,"
      "|DN20,x,0.7,IZ1,Arma,13,,,,,,,,,,|t8,t9,t10,t11,"
      " 0:N/0" + std::string("|") + kEmpty15 + "|" + kEmpty15 + "|,,,,"
      "[1] 7:S7/0|a,b,,,,,,,,12,,,,,,|" + kEmpty15 + "|t8,,,,";
  int result = 0;
  EXPECT_EQ(Read(crlf, &result), expected);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(Read(lf, &result), expected);
  EXPECT_EQ(result, 2);
}

TEST_F(SectionFile, HeaderDecidesWhetherAFileIsRead) {
  struct Case {
    const char* text;
    int result;
  } cases[] = {{"PC\r\n2\r\n", 2},  {"PC\r\n02\r\n", 2}, {"PC\r\n2.5\r\n", 2}, {"PC\r\n3\r\n", 0},
               {"CP\r\n2\r\n", 0},  {"PC \r\n2\r\n", 0}, {"PC\r\n", 0},         {"", 0}};
  for (const Case& c : cases) {
    int result = -1;
    Read(c.text, &result);
    EXPECT_EQ(result, c.result) << c.text;
  }
  CSecSezNew root;
  EXPECT_EQ(ReadSectionFile(root, Path("none.txt").c_str()), 0);
}

TEST_F(SectionFile, RecordLinesTakeWhatEndsWithASeparator) {
  struct Case {
    const char* rest;  // after the number
    const char* values;
    const char* texts;
    bool whole;  // every value the import applies is there
    int textsHeld;
    bool notFinite = false;  // an applied number is nan, inf or beyond the doubles
  } cases[] = {
      {"P;n;0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;a;b;c;d", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,", "a,b,c,d,", true, 4},
      {"P;n;0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;a;b;", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,", "a,b,,,", true, 2},
      {"P;n;0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,", ",,,,", true, 0},
      {"P;n;0;1;2;3;4;5;6;7;8;9;10;11;12;13;14", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,,", ",,,,", false, 0},
      {"P;n;0;1;2;3;4;5;6;7;8;7.;", "0,1,2,3,4,5,6,7,8,7,,,,,,", ",,,,", false, 0},
      {"P;n;0;1;2;3;4;5;6;7;8;7.05;", "0,1,2,3,4,5,6,7,8,7.05,,,,,,", ",,,,", false, 0},
      {"P;n;", kEmpty15, ",,,,", false, 0},  // cut after its name
      {"P;n", kEmpty15, ",,,,", false, 0},   // the name lacks its ';': nothing stored
      {"Z;n;0;1;2;3;4;5;", kEmpty15, ",,,,", true, 0},  // the other line's applied values
      {"Z;n;0;1;2;3;4;5", kEmpty15, ",,,,", false, 0},
      {"P;n;0;1;2;3;4;5;6;7;8;nan.000;10;11;12;13;-Infinity;", "0,1,2,3,4,5,6,7,8,nan,10,11,12,13,-Infinity,", ",,,,",
       true, 0, true},
      {"Z;n; NaN;1;2;3;4;1e309;", kEmpty15, ",,,,", true, 0, true},
      // Names, texts, values not applied and finite extremes are no fault.
      {"P;n;0;inf;2;nan;INF;-1e308;6;nan;8;1e-400;10;11;12;13;14;inf",
       "0,inf,2,nan,INF,-1e308,6,nan,8,1e-400,10,11,12,13,14,", "inf,,,,", true, 1},
      {"Z;n;0;1;2;3;4;5;nan;", kEmpty15, ",,,,", true, 0},
  };
  for (const Case& c : cases) {
    CSecDataNew s(1);
    const SectionLineRead got = ParseSectionRecord(s, c.rest, 2);
    std::string values, texts;
    for (INT_PTR i = 0; i < s.m_pValues.GetSize(); ++i) values += std::string(s.m_pValues[i]) + ",";
    if (values.empty()) values = kEmpty15;
    for (const RecordText& t : s.m_productFields) texts += std::string(t) + ",";
    EXPECT_EQ(values, c.values) << c.rest;
    EXPECT_EQ(texts, c.texts) << c.rest;
    EXPECT_EQ(got.supply, c.rest[0] == 'P') << c.rest;
    EXPECT_EQ(got.whole, c.whole) << c.rest;
    EXPECT_EQ(got.texts, c.textsHeld) << c.rest;
    EXPECT_EQ(got.notFinite, c.notFinite) << c.rest;
  }
  // A value 9 of any length loses its zero fraction whole.
  CSecDataNew s(1);
  const std::string zeros(5000, '0');
  ParseSectionRecord(s, ("P;n;0;1;2;3;4;5;6;7;8;1." + zeros + ";").c_str(), 2);
  EXPECT_EQ(s.m_pValues[9], "1");
  ParseSectionRecord(s, ("P;n;0;1;2;3;4;5;6;7;8;1." + zeros + "5;").c_str(), 2);
  EXPECT_EQ(s.m_pValues[9].GetLength(), 5003);
}

TEST_F(SectionFile, LongLinesAreReadWhole) {
  const std::string name(3000, 'x'), text(5000, 't');
  int result = 0;
  const std::string read = Read("PC\n2\n#vetev;" + name + "\n1;P;S;0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;" + text +
                                    ";2;P;S2;\n",
                                &result);
  EXPECT_EQ(result, 2);
  // One branch of the whole name, one section whose text holds the tail
  // that a piece-wise read would have taken for section 2.
  EXPECT_EQ(read, "[" + name + "] 1:S/0|0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,|" + kEmpty15 + "|" + text +
                      ",2,P,S2,");
}

TEST_F(SectionFile, AWriteOnlyTargetStaysWhereItWas) {
  // Writable but not readable; root reads anything, so an unprivileged
  // child checks then.
  const std::string target = Write("target.txt", "old");
  ASSERT_EQ(chmod(target.c_str(), 0200), 0);
  const bool root = geteuid() == 0;
  const uid_t nobody = 65534;
  if (root) {
    ASSERT_TRUE(chown(folder_.c_str(), nobody, nobody) == 0 && chown(target.c_str(), nobody, nobody) == 0);
  }
  const pid_t child = fork();
  if (child == 0)
    _exit((!root || (setgid(nobody) == 0 && setuid(nobody) == 0)) && CanCreateSectionFile(target.c_str()) ? 0 : 1);
  int status = 1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(testsupport::Slurp(target), "old");
  EXPECT_FALSE(CanCreateSectionFile(folder_.c_str())) << "a folder is no target";
}
