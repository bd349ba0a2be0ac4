// Every road that writes a Vantrix project list, run unprivileged (as
// "nobody" under root, so that modes bind) against the lists a user may
// have. No readable record is lost, an earlier copy is never overwritten,
// and each case is said.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

std::string Put32(uint32_t v) { return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24)}; }

// Items T1..T4 of floor 1NP; in record `damaged` a field claims more than the file holds.
std::string ListFile(int damaged) {
  std::string file = Put32(4);
  for (int r = 0; r < 4; ++r) {
    file += '\0' + Put32(18);
    for (int f = 0; f < 18; ++f) {
      const std::string text = f == 0 ? "T" + std::to_string(r + 1) : f == 10 ? std::to_string(101 + r) : f == 13 ? "1NP" : "f";
      file += Put32(r == damaged && f == 2 ? 0x7FFFFFFF : static_cast<uint32_t>(text.size() + 1)) + text + '\0';
    }
  }
  return file;
}

std::string Id(int id) { return std::to_string(id); }

}  // namespace

class ProjectListWriters : public E2e {
 protected:
  Outcome RunAs(std::vector<std::string> args) {
    if (geteuid() != 0) return Run(args);
    for (const auto& e : fs::recursive_directory_iterator(dir_))
      if (e.is_directory()) fs::permissions(e.path(), fs::perms::all);
    fs::permissions(dir_, fs::perms::all);
    args.insert(args.end(), {"--profile", (dir_ / "profile").string()});
    args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", JOV_TEST_MODULE_DIR "/dravik"});
    return testsupport::RunProgram("/usr/bin/setpriv", args, dir_);
  }
};

TEST_F(ProjectListWriters, NoRoadLosesARecordOrAnEarlierCopyAndEachCaseIsSaid) {
  if (geteuid() == 0 && !NobodyCanRunTheRunner())
    GTEST_SKIP() << "uid 65534 cannot run the build's runner (no setpriv, or a build folder others may not "
                    "enter): a list that cannot be opened cannot be tried";
  // A road: the registration it starts from and its script, given whether a
  // message comes as the list is read, whether one comes as it is kept, and
  // whether a record can be ticked.
  struct Road {
    const char* name;
    const char* settings;
    std::vector<std::string> run;
    std::string (*script)(bool readSaid, bool keptSaid, bool records);
    bool writesWithoutRecords;
  };
  const std::string manager = "dialog " + Id(IDD_JOV_MANAGER) + "\n";
  const std::vector<std::string> managerRun = {"--drawing", JOV_SOURCE_DIR "/tests/data/network.dxf", "--run",
                                               "Jov_Vantrix_M"};
  std::vector<std::string> product = {"--module", "Wizard.dll", "--registry", Path("registry"), "--run", "PPDlg"};
  for (const char* a : {"main", "db:T:TOT0600-0001", "1", "-", "0", "1000", "0", "-", "1", "-", "-", "-", "-"})
    product.insert(product.end(), {"--arg", a});
  std::vector<std::string> noRecalc = product;
  noRecalc[5] = "PPDlgNoInitialRecalc";
  const char* panel = "[VANTRIX]\r\nVANTRIX_USE=1\r\nVANTRIX_ACTUAL=project.cad\r\nLAST_FLOOR=1NP\r\n";
  auto placing = [](bool read, bool kept, bool records) {
    return std::string(read ? "answer ok\n" : "") + "dialog 1006\nok\n" + (kept && records ? "answer ok\n" : "");
  };
  const Road roads[] = {
      {"modify dialog OK", "[VANTRIX]\r\nVANTRIX_ACTUAL=project.cad\r\nVANTRIX_FILE_COUNT=1\r\nVANTRIX_0=project.cad\r\n",
       managerRun,
       [](bool read, bool kept, bool records) {
         return "dialog " + Id(IDD_JOV_MANAGER) + "\nchoose " + Id(IDC_PROJECT_LIST) + " 0\nclick " +
                Id(IDC_MANAGER_MODIFY) + "\n" + (read ? "answer ok\n" : "") + "dialog " + Id(IDD_JOV_MODIFY) + "\n" +
                (records ? "check " + Id(IDC_PROJECT_LIST) + " 0 1\n" : "") + "ok\n" + (kept ? "answer ok\n" : "") +
                "ok\n";
       },
       true},
      {"manager import over a list of that name", "", managerRun,
       [](bool read, bool kept, bool) {
         // OK writes the list; one it cannot keep is not written and the dialog stays.
         return "dialog " + Id(IDD_JOV_MANAGER) + "\nclick " + Id(IDC_MANAGER_IMPORT) + "\nfile project.cad\nok\n" +
                (read || kept ? "answer ok\n" : "") + (read && !kept ? "cancel\n" : "");
       },
       true},
      {"PPDlg placing an item", panel, product, placing, false},
      {"PPDlgNoInitialRecalc placing an item", panel, noRecalc, placing, false},
  };
  struct Case {
    const char* name;
    int damaged;  // -1 whole; also the records read before the damage
    bool there, unopenable, earlierCopy;
  };
  const Case cases[] = {{"damaged in its first record", 0, true, false, false},
                        {"damaged in a middle record", 2, true, false, false},
                        {"damaged in its last record", 3, true, false, false},
                        {"cannot be opened", -1, true, true, false},
                        {"absent", -1, false, false, false},
                        {"damaged, an earlier copy beside it", 2, true, false, true}};
  const fs::path list = dir_ / "profile" / "Vantrix" / "project.cad";
  Write("project.cad", "T1;f;f;f;f;f;f;f;f;f;101;f;f;1NP\r\nT2;f;f;f;f;f;f;f;f;f;102;f;f;1NP\r\n");
  for (const Road& road : roads) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(road.name) + ": " + c.name);
      fs::remove_all(dir_ / "profile");
      fs::create_directories(list.parent_path());
      fs::create_directories(dir_ / "profile" / "Dat");
      Write("profile/Dat/Jov.ini", road.settings);
      const std::string original = c.there ? ListFile(c.damaged) : "";
      if (c.there) Write("profile/Vantrix/project.cad", original);
      if (c.earlierCopy) Write("profile/Vantrix/project.cad.bak", "earlier");
      if (c.unopenable) fs::permissions(list, fs::perms::none);
      if (c.unopenable && geteuid() != 0 && access(list.c_str(), R_OK) == 0) GTEST_SKIP() << "no file here is unreadable";
      const bool damaged = c.damaged >= 0, readable = c.damaged > 0;
      const bool writes = !c.unopenable && (readable || road.writesWithoutRecords);
      const bool kept = writes && c.there;
      std::vector<std::string> args = road.run;
      args.insert(args.end(), {"--script", Write("session.txt", road.script(damaged || c.unopenable, kept, readable))});
      const Outcome o = RunAs(args);
      EXPECT_EQ(o.exit, 0) << o.err << o.out;
      EXPECT_EQ(o.out.find("script: line"), std::string::npos) << o.out;
      EXPECT_EQ(o.out.find("unanswered"), std::string::npos) << o.out;

      const std::string now = testsupport::Slurp(list);
      EXPECT_TRUE(writes || now == original) << "left as it was";
      for (int r = 1; r <= c.damaged; ++r) EXPECT_TRUE(kept || now.find("T" + std::to_string(r) + '\0') != now.npos) << r;
      const fs::path folder = list.parent_path();
      EXPECT_EQ(testsupport::Slurp(folder / "project.cad.bak"), c.earlierCopy ? "earlier" : kept ? original : "");
      EXPECT_EQ(testsupport::Slurp(folder / "project.cad.1.bak"), c.earlierCopy && kept ? original : "");
      const std::string copy = c.earlierCopy ? "project.cad.1.bak\\\"" : "project.cad.bak\\\"";
      EXPECT_TRUE(!kept || o.out.find(copy) != o.out.npos) << "the copy is named\n" << o.out;
      const bool notOpened = o.out.find("cannot be opened") != o.out.npos || o.out.find("cannot be kept") != o.out.npos;
      EXPECT_EQ(notOpened, c.unopenable) << o.out;
      const bool readSaid = damaged && *road.settings;  // the import reads no list
      EXPECT_TRUE(!readSaid || o.out.find(std::to_string(c.damaged) + " records") != o.out.npos) << o.out;
    }
  }
}
