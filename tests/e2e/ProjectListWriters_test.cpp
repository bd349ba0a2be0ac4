// Every road that writes a Vantrix project list, through the runner, against
// the lists a user may have: damaged in its first, middle or last record,
// one that cannot be opened, none, and a damaged one with an earlier ".bak"
// beside it. No record that could be read is lost (the new list holds it, or
// the list is left as it was, and a replaced list that was not read whole is
// kept byte for byte first), an earlier copy is never overwritten, and each
// case is said. Runs are unprivileged (as "nobody" under root) so that a
// file's mode binds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

constexpr int kItems = 4;

std::string Put32(uint32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

// T1..T4 on floor 1NP, rooms 101..104; in record `damaged` the third field's
// length claims more than the file holds.
std::string ListFile(int damaged) {
  std::string file = Put32(kItems);
  for (int r = 0; r < kItems; ++r) {
    file += '\0' + Put32(18);
    for (int f = 0; f < 18; ++f) {
      std::string text = f == 0 ? "T" + std::to_string(r + 1) : f == 10 ? std::to_string(101 + r) : f == 13 ? "1NP" : "f";
      file += Put32(r == damaged && f == 2 ? 0x7FFFFFFF : static_cast<uint32_t>(text.size() + 1)) + text + '\0';
    }
  }
  return file;
}

// The items of a list file, "*" after a marked one.
std::string Items(const std::string& file) {
  auto get32 = [&file](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(file[at + i]);
    return v;
  };
  std::string items;
  size_t at = 4;
  for (uint32_t n = file.size() >= 4 ? get32(0) : 0; n > 0 && at + 5 <= file.size(); --n) {
    const bool marked = file[at++] != 0;
    const uint32_t fields = get32(at);
    at += 4;
    for (uint32_t f = 0; f < fields && at + 4 <= file.size(); ++f) {
      const uint32_t length = get32(at);
      at += 4;
      if (f == 0) items += std::string(file.data() + at, length ? length - 1 : 0) + (marked ? "* " : " ");
      at += length;
    }
  }
  return items;
}

enum class Road { kModify, kImport, kParametric, kParametricNoRecalc };
enum class Kind { kDamaged, kUnopenable, kAbsent };

struct Case {
  const char* name;
  Kind kind;
  int damaged;  // record whose damage ends the reading (its number = records read)
  bool earlierCopy;
};

std::string Id(int id) { return std::to_string(id); }

}  // namespace

class ProjectListWriters : public E2e {
 protected:
  // The runner as nobody under root, with every folder open to it.
  Outcome RunAs(std::vector<std::string> args) {
    if (geteuid() != 0) return Run(args);
    for (const auto& e : fs::recursive_directory_iterator(dir_))
      if (e.is_directory()) fs::permissions(e.path(), fs::perms::all);
    fs::permissions(dir_, fs::perms::all);
    args.insert(args.end(), {"--profile", (dir_ / "profile").string()});
    args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", JOV_TEST_MODULE_DIR "/dravik"});
    return testsupport::RunProgram("/usr/bin/setpriv", args, dir_);
  }

  Outcome Drive(Road road, const Case& c, int readable) {
    const bool damaged = c.kind == Kind::kDamaged, there = c.kind != Kind::kAbsent;
    const std::string said = damaged || c.kind == Kind::kUnopenable ? "answer ok\n" : "";
    const std::string keptSaid = damaged ? "answer ok\n" : "";
    switch (road) {
      case Road::kModify:
        Write("profile/Dat/Jov.ini", "[VANTRIX]\r\nVANTRIX_ACTUAL=project.cad\r\nVANTRIX_FILE_COUNT=1\r\n"
                                     "VANTRIX_0=project.cad\r\nVANTRIX_USE=1\r\n");
        return RunAs({"--drawing", std::string(JOV_SOURCE_DIR) + "/tests/data/network.dxf", "--run", "Jov_Vantrix_M",
                      "--script",
                      Write("session.txt", "dialog " + Id(IDD_JOV_MANAGER) + "\nchoose " + Id(IDC_PROJECT_LIST) +
                                               " 0\nclick " + Id(IDC_MANAGER_MODIFY) + "\n" + said + "dialog " +
                                               Id(IDD_JOV_MODIFY) + "\n" +
                                               (readable > 0 ? "check " + Id(IDC_PROJECT_LIST) + " 0 1\n" : "") +
                                               "ok\n" + keptSaid + "ok\n")});
      case Road::kImport: {
        std::string cad;
        for (int r = 0; r < kItems; ++r) cad += "T" + std::to_string(r + 1) + ";f;f;f;f;f;f;f;f;f;10" + std::to_string(r + 1) + ";f;f;1NP\r\n";
        Write("project.cad", cad);
        Write("profile/Dat/Jov.ini", "");
        return RunAs({"--drawing", std::string(JOV_SOURCE_DIR) + "/tests/data/network.dxf", "--run", "Jov_Vantrix_M",
                      "--script",
                      Write("session.txt", "dialog " + Id(IDD_JOV_MANAGER) + "\nclick " + Id(IDC_MANAGER_IMPORT) +
                                               "\nfile project.cad\n" + (there ? "answer ok\n" : "") + "ok\n")});
      }
      case Road::kParametric:
      case Road::kParametricNoRecalc: {
        Write("profile/Dat/Jov.ini",
              "[VANTRIX]\r\nVANTRIX_USE=1\r\nVANTRIX_ACTUAL=project.cad\r\nLAST_FLOOR=1NP\r\nLAST_ROOM=0\r\n");
        std::vector<std::string> args = {
            "--module", "Wizard.dll", "--registry", Path("registry"), "--script",
            Write("session.txt", said + "dialog 1006\nok\n" + (readable > 0 ? keptSaid : "")), "--run",
            road == Road::kParametric ? "PPDlg" : "PPDlgNoInitialRecalc"};
        for (const char* a : {"main", "db:T:TOT0600-0001", "1", "-", "0", "1000", "0", "-", "1", "-", "-", "-", "-"})
          args.insert(args.end(), {"--arg", a});
        return RunAs(args);
      }
    }
    return {};
  }
};

TEST_F(ProjectListWriters, NoRoadLosesARecordOrAnEarlierCopyAndEachCaseIsSaid) {
  struct RoadRow {
    const char* name;
    Road road;
    bool writesWithoutRecords;  // writes even when no record can be read
  };
  const RoadRow roads[] = {{"modify dialog OK", Road::kModify, true},
                           {"manager import over a list of that name", Road::kImport, true},
                           {"parametric dialog (PPDlg) placing an item", Road::kParametric, false},
                           {"parametric dialog (PPDlgNoInitialRecalc)", Road::kParametricNoRecalc, false}};
  const Case cases[] = {{"damaged in its first record", Kind::kDamaged, 0, false},
                        {"damaged in a middle record", Kind::kDamaged, 2, false},
                        {"damaged in its last record", Kind::kDamaged, kItems - 1, false},
                        {"cannot be opened", Kind::kUnopenable, 0, false},
                        {"absent", Kind::kAbsent, 0, false},
                        {"damaged, an earlier copy beside it", Kind::kDamaged, 2, true}};
  const fs::path list = dir_ / "profile" / "Vantrix" / "project.cad";
  for (const RoadRow& road : roads) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(road.name) + ": " + c.name);
      fs::remove_all(dir_ / "profile");
      fs::create_directories(list.parent_path());
      fs::create_directories(dir_ / "profile" / "Dat");
      const std::string original = c.kind == Kind::kAbsent ? "" : ListFile(c.kind == Kind::kDamaged ? c.damaged : -1);
      if (c.kind != Kind::kAbsent) Write("profile/Vantrix/project.cad", original);
      if (c.earlierCopy) Write("profile/Vantrix/project.cad.bak", "earlier");
      // Not to be opened by anyone but root.
      if (c.kind == Kind::kUnopenable) fs::permissions(list, fs::perms::none);
      const int readable = c.kind == Kind::kDamaged ? c.damaged : 0;
      if (c.kind == Kind::kUnopenable && geteuid() != 0 && access(list.c_str(), R_OK) == 0)
        GTEST_SKIP() << "a file without permissions can be read here: no unopenable list can be made";

      const Outcome o = Drive(road.road, c, readable);
      EXPECT_EQ(o.exit, 0) << o.err << o.out;
      EXPECT_EQ(o.out.find("script: line"), std::string::npos) << "every message was said and answered\n" << o.out;
      EXPECT_EQ(o.out.find("unanswered"), std::string::npos) << o.out;

      const bool writes = c.kind != Kind::kUnopenable && (readable > 0 || road.writesWithoutRecords);
      const std::string now = testsupport::Slurp(list);
      if (writes) {
        std::string items = Items(now);
        for (int r = 0; r < readable; ++r)
          EXPECT_NE(items.find("T" + std::to_string(r + 1)), std::string::npos) << "lost: T" << r + 1 << " of " << items;
      } else {
        EXPECT_EQ(now, original) << "the list stays as it was";
        EXPECT_EQ(fs::exists(list), c.kind != Kind::kAbsent);
      }
      if (c.kind == Kind::kUnopenable) {
        EXPECT_EQ(fs::status(list).permissions() & fs::perms::all, fs::perms::none);
        EXPECT_NE(o.out.find("cannot be"), std::string::npos) << o.out;
      }
      // A replaced list that was there is kept first, under a new name.
      const std::string copy = c.earlierCopy ? "project.cad.1.bak" : "project.cad.bak";
      const bool kept = writes && c.kind != Kind::kAbsent;
      EXPECT_EQ(fs::exists(list.parent_path() / copy), kept);
      if (kept) {
        EXPECT_EQ(testsupport::Slurp(list.parent_path() / copy), original);
        EXPECT_NE(o.out.find(copy + "\\\""), std::string::npos) << "the copy is named\n" << o.out;
      }
      if (c.earlierCopy) {
        EXPECT_EQ(testsupport::Slurp(list.parent_path() / "project.cad.bak"), "earlier");
      }
      if (c.kind == Kind::kDamaged && road.road != Road::kImport) {
        EXPECT_NE(o.out.find(std::to_string(readable) + " records"), std::string::npos) << "the damage is said\n" << o.out;
      }
    }
  }
}
