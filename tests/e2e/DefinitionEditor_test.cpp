// The product definition editor through the real runner and "Wizard.dll"
// (its export WizardDialog) on a copy of the sample catalogue: a parameter
// added and a formula changed, written on OK and read back by the catalogue
// file and by the next product request; nothing written in view-only mode;
// its layout kept in the registry after the window was resized.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

class DefinitionEditorRun : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    fs::create_directories(dir_ / "profile" / "Dat");
    fs::copy(fs::path(JOV_TEST_MODULE_DIR) / "Catalogue", dir_ / "catalogue", fs::copy_options::recursive);
  }
  Outcome Wizard(std::vector<std::string> args, const std::string& script) {
    args.insert(args.begin(), {"--module", "Wizard.dll", "--verbose", "--registry", Path("registry"), "--catalogue",
                               Path("catalogue"), "--script", Write("script.txt", script)});
    return Run(args);
  }
  static std::vector<std::string> Editor(const char* viewOnly) {
    return {"--run", "WizardDialog", "--arg", "main", "--arg", "db:T:TPP0015-0001", "--arg", "1", "--arg", viewOnly};
  }
  // A column of the sample pipe's row as another program reads the file.
  std::string Stored(const char* column) const {
    sqlite3* file = nullptr;
    std::string text = "(unread)";
    if (sqlite3_open_v2(Path("catalogue/T.db").c_str(), &file, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt* row = nullptr;
      const std::string sql = std::string("SELECT ") + column + " FROM items WHERE index_id = 'TPP0015-0001'";
      if (sqlite3_prepare_v2(file, sql.c_str(), -1, &row, nullptr) == SQLITE_OK && sqlite3_step(row) == SQLITE_ROW)
        text = reinterpret_cast<const char*>(sqlite3_column_text(row, 0));
      sqlite3_finalize(row);
    }
    sqlite3_close(file);
    return text;
  }
  // The editor's "PLACEMENT" as the registry folder keeps it: left, top,
  // width, height, dots per inch, show state.
  std::vector<int> Placement() const {
    const std::string hive = testsupport::Slurp(dir_ / "registry" / "HKEY_CURRENT_USER.reg");
    const std::string key = "\"PLACEMENT\"=1:";
    const size_t at = hive.find(key);
    std::vector<int> values;
    if (at == std::string::npos) return values;
    std::string text;
    for (size_t i = at + key.size(); i + 1 < hive.size() && std::isxdigit(static_cast<unsigned char>(hive[i])); i += 2)
      text += static_cast<char>(std::stoi(hive.substr(i, 2), nullptr, 16));
    std::stringstream in(text.c_str());
    for (std::string field; std::getline(in, field, ';');) values.push_back(std::stoi(field));
    return values;
  }
};

constexpr const char* kEdits =
    "dialog 1000\n"
    "click 1015\n"
    "dialog 1002\ntype 1017 W\nchoose 1018 Šířka\nchoose 1020 \"Délka [mm]\"\nset 1021 20\nok\n"
    "choose 1033 2\n"
    "edit-cell 1035 0 1 L+100\n"
    "ok\n";

}  // namespace

TEST_F(DefinitionEditorRun, TheNewParameterAndFormulaAreWrittenAndMakeTheNextProduct) {
  const Outcome o = Wizard({"--run", "WizardDialog", "--arg", "main", "--arg", "db:T:TPP0015-0001", "--arg", "1",
                            "--arg", "0", "--run", "PPGetResbufEx", "--arg", "db:T:TPP0015-0001", "--arg", "1",
                            "--arg", "-", "--arg", "0", "--arg", "#L", "--arg", "1500", "--arg", "-", "--arg", "-",
                            "--arg", "-"},
                           kEdits);
  ASSERT_EQ(o.exit, 0) << o.err << o.out;
  EXPECT_TRUE(o.out.rfind("result: 1\n", 0) == 0) << o.out;
  EXPECT_NE(o.out.find("1042 Static \"Result: 1100.00\""), std::string::npos) << "the new formula's value: " << o.out;
  EXPECT_EQ(Stored("params"), "L|Délka|1|1000|1000|\r\nDN|Dimenze|2|15|15|12|15|18|22|28\r\nW|Šířka|1|20||\r\n");
  EXPECT_EQ(Stored("par_b"), "1\r\n0.00|0.00|0.00\r\n5.00|0.00|0.00\r\nL+100|0.00|0.00\r\nL+5|0.00|0.00\r\n")
      << "point 3, the line's end";
  const size_t product = o.out.find("result: 1", 1);
  ASSERT_NE(product, std::string::npos) << o.out;
  EXPECT_NE(o.out.find("chain 1: 11 1600 0 0\n", product), std::string::npos) << "L 1500 + 100: " << o.out;
  EXPECT_NE(o.out.find("chain 2: 1000 \"W\"\nchain 2: 1000 \"20\"\n", product), std::string::npos);
}

TEST_F(DefinitionEditorRun, ViewOnlyWritesNothing) {
  const std::string params = Stored("params"), formulas = Stored("par_b");
  const Outcome o = Wizard(Editor("1"), kEdits);
  ASSERT_EQ(o.exit, 0) << o.err << o.out;
  EXPECT_TRUE(o.Has("result: 1")) << o.out;
  EXPECT_EQ(Stored("params"), params);
  EXPECT_EQ(Stored("par_b"), formulas);
}

TEST_F(DefinitionEditorRun, TheLayoutComesBackAfterAResizeAndNeverSmallerThanAtFirst) {
  ASSERT_EQ(Wizard(Editor("0"), "dialog 1000\ncancel\n").exit, 0);
  const std::vector<int> first = Placement();
  ASSERT_EQ(first.size(), 6u);
  EXPECT_EQ(first[4], 96);

  const Outcome resized = Wizard(Editor("0"), "dialog 1000\nresize 900 700\ncancel\n");
  ASSERT_EQ(resized.exit, 0) << resized.err;
  EXPECT_TRUE(resized.Has("dialog 1000 \"Product definition\": resize 900 700")) << resized.out;
  std::vector<int> placement = Placement();
  ASSERT_EQ(placement.size(), 6u);
  EXPECT_EQ(placement[2], 900);
  EXPECT_EQ(placement[3], 700);

  // Opened and closed again: back at that size.
  ASSERT_EQ(Wizard(Editor("0"), "dialog 1000\ncancel\n").exit, 0);
  EXPECT_EQ(Placement(), placement);

  ASSERT_EQ(Wizard(Editor("0"), "dialog 1000\nresize 100 100\ncancel\n").exit, 0);
  placement = Placement();
  ASSERT_EQ(placement.size(), 6u);
  EXPECT_EQ(placement[2], first[2]) << "the minimum is the first size";
  EXPECT_EQ(placement[3], first[3]);
}
