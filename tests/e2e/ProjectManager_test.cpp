// The project manager through the runner: "cad" files imported as
// projects, their items marked in the modify dialog, projects deleted and
// made current, with the registration in "Jov.ini" and the list files in
// the profile's "Vantrix" folder checked byte for byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

const std::string kProject = "I1;a;b;c;L;V;S;d;e;f;R1\r\nx;;\r\n";

std::string Id(int id) { return std::to_string(id); }

// The manager opened: each step a line of the script.
std::string Manager(const std::string& steps) { return "dialog " + Id(IDD_JOV_MANAGER) + "\n" + steps; }
std::string Import(const std::string& file) { return "click " + Id(IDC_MANAGER_IMPORT) + "\nfile " + file + "\n"; }
std::string Select(int row) { return "choose " + Id(IDC_PROJECT_LIST) + " " + std::to_string(row) + "\n"; }
std::string Click(int control) { return "click " + Id(control) + "\n"; }

}  // namespace

class ProjectManager : public E2e {
 protected:
  // Bounded, so that a manager that hangs fails.
  Outcome Manage(const std::string& script, const std::string& name = "session.txt") {
    return testsupport::RunProgram("/usr/bin/timeout",
                                   {"120", JOV_TEST_MODULE_DIR "/dravik", "--drawing",
                                    std::string(JOV_SOURCE_DIR) + "/tests/data/network.dxf", "--run", "Jov_Vantrix_M",
                                    "--script", Write(name, script), "--profile", (dir_ / "profile").string()},
                                   dir_);
  }
  std::string Settings() const { return testsupport::Slurp(dir_ / "profile" / "Dat" / "Jov.ini"); }
  std::string ListFile(const std::string& name) const { return testsupport::Slurp(dir_ / "profile" / "Vantrix" / name); }
  bool HasListFile(const std::string& name) const { return fs::exists(dir_ / "profile" / "Vantrix" / name); }
  // The registration as the manager writes it, in its order.
  static std::string Registration(const std::string& current, const std::string& projects, int use, int count) {
    return "[VANTRIX]\r\nVANTRIX_ACTUAL=" + current + "\r\n" + projects + "VANTRIX_USE=" + std::to_string(use) +
           "\r\nVANTRIX_FILE_COUNT=" + std::to_string(count) + "\r\n";
  }
};

TEST_F(ProjectManager, ImportMarkAndDeleteAProject) {
  Write("project.cad", kProject);
  Outcome imported = Manage(Manager(Import("project.cad") + "ok\n"));
  EXPECT_EQ(imported.exit, 0) << imported.err;
  EXPECT_TRUE(imported.Has("result: 1")) << imported.out;
  EXPECT_EQ(Settings(), Registration("project.cad", "VANTRIX_0=project.cad\r\n", 1, 1));
  // Both records, the incomplete second one too: 4 + 2 x (1 + 4 + 18 fields).
  EXPECT_EQ(ListFile("project.cad").size(), 186u);

  // Only the complete record is read back; ticked and saved it is marked.
  Outcome marked = Manage(Manager(Select(0) + Click(IDC_MANAGER_MODIFY) + "dialog " + Id(IDD_JOV_MODIFY) + "\n" +
                                  "check " + Id(IDC_PROJECT_LIST) + " 0 1\nok\nok\n"));
  EXPECT_TRUE(marked.Has("result: 1")) << marked.out;
  const std::string list = ListFile("project.cad");
  ASSERT_EQ(list.size(), 112u);
  EXPECT_EQ(list.substr(0, 9), std::string("\1\0\0\0\1\x12\0\0\0", 9)) << "one record, marked, 18 fields";
  EXPECT_EQ(list.substr(9, 7), std::string("\3\0\0\0I1\0", 7));

  // Cancel keeps the files and the registration as they were: after a
  // Delete, after a file of that name from another folder imported in its
  // place, after a new project imported. Delete and OK removes both.
  const std::string registered = Settings();
  fs::create_directories(dir_ / "other");
  Write("other/project.cad", "J1;a;b;c;L;V;S;d;e;f;R2\r\n");
  Write("new.cad", kProject);
  for (const std::string& steps : {Select(0) + Click(IDC_MANAGER_DELETE),
                                   Select(0) + Click(IDC_MANAGER_DELETE) + Import("other/project.cad"),
                                   Import("new.cad")}) {
    Outcome cancelled = Manage(Manager(steps + "cancel\n"));
    EXPECT_TRUE(cancelled.Has("result: 2")) << cancelled.out;
    EXPECT_EQ(ListFile("project.cad"), list) << steps;
    EXPECT_EQ(Settings(), registered) << steps;
    EXPECT_EQ(fs::directory_iterator(dir_ / "profile" / "Vantrix")->path().filename(), "project.cad") << steps;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "profile" / "Vantrix"), fs::directory_iterator()), 1)
        << steps;
  }

  Outcome deleted = Manage(Manager(Select(0) + Click(IDC_MANAGER_DELETE) + "ok\n"));
  EXPECT_TRUE(deleted.Has("result: 1")) << deleted.out;
  EXPECT_FALSE(HasListFile("project.cad"));
  EXPECT_EQ(Settings(), Registration("", "VANTRIX_0=project.cad\r\n", 0, 0))
      << "the current project is gone, the old key stays behind the count";
}

TEST_F(ProjectManager, ImportsThatRegisterNothing) {
  Write("notes.txt", kProject);
  fs::create_directories(dir_ / "folder.cad");
  struct Case {
    const char* file;
    const char* message;
  };
  // Files with no item to offer: empty, or no project text.
  Write("empty.cad", "");
  Write("ctrlz.cad", kProject + "I2;a;b\x1A;c;L;V;S;d;e;f;R2\r\n");
  Write("binary.cad", std::string("\x7F" "ELF\x02\x01\x00\x00\n\x00;\x01;\x02", 14));
  const Case cases[] = {
      {"notes.txt", "type=64 text=\"file extension does not match. import aborted.\""},
      {"folder.cad", "type=64 text=\"read/parse error\""},
      {"empty.cad", "type=64 text=\"read/parse error\""},
      // A NUL would end its first line early: refused by the line.
      {"binary.cad", "type=48 text=\"Line 1 of \\\"binary.cad\\\" holds a Ctrl-Z or NUL byte"},
      {"ctrlz.cad", "type=48 text=\"Line 3 of \\\"ctrlz.cad\\\" holds a Ctrl-Z or NUL byte"},
  };
  for (const Case& c : cases) {
    Outcome o = Manage(Manager(Import(c.file) + "answer ok\nok\n"));
    EXPECT_TRUE(o.Has("result: 1")) << c.file << o.out;
    EXPECT_NE(o.out.find(c.message), std::string::npos) << c.file << o.out;
    EXPECT_EQ(Settings(), Registration("", "", 0, 0)) << c.file;
    EXPECT_TRUE(!fs::exists(dir_ / "profile" / "Vantrix") || fs::is_empty(dir_ / "profile" / "Vantrix")) << c.file;
  }
}

TEST_F(ProjectManager, ARegisteredNameKeepsItsListAndSaysSo) {
  Write("PROJECT.CAD", kProject);
  Manage(Manager(Import("PROJECT.CAD") + "ok\n"));
  ASSERT_EQ(Settings(), Registration("PROJECT.CAD", "VANTRIX_0=PROJECT.CAD\r\n", 1, 1)) << "upper case is a cad file";
  const std::string before = ListFile("PROJECT.CAD");

  Write("PROJECT.CAD", "J1;a;b;c;L;V;S;d;e;f;R2\r\n");
  Outcome again = Manage(Manager(Import("PROJECT.CAD") + "answer ok\nok\n"));
  EXPECT_NE(again.out.find("type=64 text=\"The project \\\"PROJECT.CAD\\\" is already registered"), std::string::npos)
      << again.out;
  EXPECT_EQ(ListFile("PROJECT.CAD"), before);
  EXPECT_EQ(Settings(), Registration("PROJECT.CAD", "VANTRIX_0=PROJECT.CAD\r\n", 1, 1));

  // Deleted and imported again in one run: the new list stays, registered.
  Manage(Manager(Select(0) + Click(IDC_MANAGER_DELETE) + Import("PROJECT.CAD") + "ok\n"));
  EXPECT_TRUE(HasListFile("PROJECT.CAD"));
  EXPECT_NE(ListFile("PROJECT.CAD"), before);
  EXPECT_EQ(ListFile("PROJECT.CAD").size(), 105u) << "the one record of the new file";
  EXPECT_EQ(Settings(), Registration("PROJECT.CAD", "VANTRIX_0=PROJECT.CAD\r\n", 1, 1));
}

TEST_F(ProjectManager, CurrentProjectAndTheListOfProjects) {
  for (const char* name : {"a.cad", "b.cad", "c.cad", "d.cad", "e.cad"}) Write(name, kProject);
  Manage(Manager(Import("a.cad") + Import("b.cad") + Import("c.cad") + Import("d.cad") + Import("e.cad") + "ok\n"));
  ASSERT_EQ(Settings(), Registration("e.cad",
                                     "VANTRIX_0=a.cad\r\nVANTRIX_1=b.cad\r\nVANTRIX_2=c.cad\r\nVANTRIX_3=d.cad\r\n"
                                     "VANTRIX_4=e.cad\r\n",
                                     1, 5));

  // b made current by a double click, the switch turned off; then the
  // current project and two others deleted: three keys written, the label
  // cleared, the keys of the longer list left behind the count.
  Outcome o = Manage(Manager("dblclick " + Id(IDC_PROJECT_LIST) + " 1\ncheck " + Id(IDC_MANAGER_USE) + " 0\n" +
                             Click(IDC_MANAGER_HELP) + "ok\n"));
  EXPECT_TRUE(o.Has("help: file=\"" + std::string(JOV_TEST_MODULE_DIR) +
                    R"(/Help\\jov2d.chm::/zdroje\\vantrix-2.htm" topic="zdroje\\vantrix-2.htm")"))
      << o.out;
  EXPECT_EQ(Settings(), Registration("b.cad",
                                     "VANTRIX_0=a.cad\r\nVANTRIX_1=b.cad\r\nVANTRIX_2=c.cad\r\nVANTRIX_3=d.cad\r\n"
                                     "VANTRIX_4=e.cad\r\n",
                                     0, 5));
  Manage(Manager(Select(4) + Click(IDC_MANAGER_DELETE) + Select(1) + Click(IDC_MANAGER_DELETE) + "ok\n"));
  EXPECT_EQ(Settings(), Registration("", "VANTRIX_0=a.cad\r\nVANTRIX_1=c.cad\r\nVANTRIX_2=d.cad\r\nVANTRIX_3=d.cad\r\n"
                                         "VANTRIX_4=e.cad\r\n",
                                     0, 3));
  EXPECT_FALSE(HasListFile("b.cad"));
  EXPECT_FALSE(HasListFile("e.cad"));
  EXPECT_TRUE(HasListFile("d.cad"));

  // A damaged count opens at once with the keys that are there; a name with
  // a leading blank is registered so that it comes back whole.
  std::string damaged = Settings();
  damaged.replace(damaged.find("COUNT=3"), 7, "COUNT=2147483647");
  Write("profile/Dat/Jov.ini", damaged);
  Write(" f.cad", kProject);
  Outcome o2 = Manage(Manager(Import("\" f.cad\"") + "ok\n"));
  EXPECT_EQ(o2.exit, 0) << o2.out;
  const std::string six = Registration("\" f.cad\"",
                                       "VANTRIX_0=a.cad\r\nVANTRIX_1=c.cad\r\nVANTRIX_2=d.cad\r\nVANTRIX_3=d.cad\r\n"
                                       "VANTRIX_4=e.cad\r\n",
                                       1, 6) +
                          "VANTRIX_5=\" f.cad\"\r\n";
  EXPECT_EQ(Settings(), six);
  Outcome marked = Manage(Manager(Select(5) + Click(IDC_MANAGER_MODIFY) + "dialog " + Id(IDD_JOV_MODIFY) + "\ncheck " +
                                  Id(IDC_PROJECT_LIST) + " 0 1\nok\nok\n"));
  EXPECT_TRUE(marked.Has("result: 1")) << marked.out;
  EXPECT_EQ(ListFile(" f.cad").substr(0, 5), std::string("\1\0\0\0\1", 5)) << "its one complete record, marked";
  EXPECT_EQ(Settings(), six);
}

TEST_F(ProjectManager, ADamagedListIsSaidAndKeptBesideTheSavedOne) {
  Write("project.cad", kProject + "I2;a;b;c;L;V;S;d;e;f;R2\r\n");
  Manage(Manager(Import("project.cad") + "ok\n"));
  const std::string whole = ListFile("project.cad");
  // Cut in its third record: the two before it can be read.
  const std::string cut = whole.substr(0, whole.size() - 10);
  Write("profile/Vantrix/project.cad", cut);
  // The message comes as the dialog opens.
  const std::string modify = Select(0) + Click(IDC_MANAGER_MODIFY);
  const std::string dialog = "dialog " + Id(IDD_JOV_MODIFY) + "\n";

  Outcome cancelled = Manage(Manager(modify + "answer ok\n" + dialog + "cancel\nok\n"));
  EXPECT_NE(cancelled.out.find("text=\"The project list \\\"project.cad\\\" (1 records read) is damaged"),
            std::string::npos)
      << cancelled.out;
  EXPECT_EQ(cancelled.out.find("script: line"), std::string::npos) << cancelled.out;
  EXPECT_EQ(ListFile("project.cad"), cut);
  EXPECT_FALSE(HasListFile("project.cad.bak"));

  Outcome saved =
      Manage(Manager(modify + "answer ok\n" + dialog + "check " + Id(IDC_PROJECT_LIST) + " 0 1\nok\nanswer ok\nok\n"));
  EXPECT_NE(saved.out.find("project.cad.bak\\\""), std::string::npos) << "where it is kept is said\n" << saved.out;
  EXPECT_TRUE(saved.Has("result: 1")) << saved.out;
  EXPECT_EQ(ListFile("project.cad.bak"), cut) << "what could not be read is kept";
  EXPECT_EQ(ListFile("project.cad").size(), 112u) << "the one complete record read, marked";
  EXPECT_EQ(ListFile("project.cad")[4], '\1');

  // Whole again: opened without a word.
  Outcome again = Manage(Manager(modify + dialog + "ok\nok\n"));
  EXPECT_EQ(again.out.find("is damaged"), std::string::npos) << again.out;
  EXPECT_EQ(again.out.find("script: line"), std::string::npos) << again.out;
}

TEST_F(ProjectManager, WritesThatFailRegisterNothingAndDeleteNothing) {
  Write("project.cad", kProject);
  Manage(Manager(Import("project.cad") + "ok\n"));
  const std::string registered = Settings();
  const std::string list = ListFile("project.cad");

  // "Jov.ini" cannot be rewritten while its folder takes no new file (as
  // root the folder is made immutable). Delete and OK says so and keeps the
  // list file; so does any OK.
  const fs::path dat = dir_ / "profile" / "Dat";
  auto lock = [&dat](bool on) {
    const std::string chattr = std::string("chattr ") + (on ? "+" : "-") + "i '" + dat.string() + "' 2>/dev/null";
    if (!on && geteuid() == 0) (void)std::system(chattr.c_str());
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(dat, write, on ? fs::perm_options::remove : fs::perm_options::add);
    if (on && geteuid() == 0) (void)std::system(chattr.c_str());
  };
  lock(true);
  const bool locked = !std::ofstream(dat / "probe");
  Outcome deleted = Manage(Manager(Select(0) + Click(IDC_MANAGER_DELETE) + "ok\nanswer ok\ncancel\n"));
  Outcome use = Manage(Manager("check " + Id(IDC_MANAGER_USE) + " 0\nok\nanswer ok\ncancel\n"));
  lock(false);
  if (!locked) GTEST_SKIP() << "the folder cannot be made read-only here";
  for (const Outcome* o : {&deleted, &use}) {
    EXPECT_NE(o->out.find("type=16 text=\"The settings file"), std::string::npos) << o->out;
    EXPECT_EQ(o->out.find("script: line"), std::string::npos) << o->out;
  }
  EXPECT_EQ(ListFile("project.cad"), list);
  EXPECT_EQ(Settings(), registered);

  // A list file that cannot be written (OK writes it) registers nothing;
  // the dialog stays.
  Write("other.cad", kProject);
  fs::create_directories(dir_ / "profile" / "Vantrix" / "other.cad");
  Outcome imported = Manage(Manager(Import("other.cad") + "ok\nanswer ok\ncancel\n"));
  EXPECT_NE(imported.out.find("type=16 text=\"Error while opening output stream"), std::string::npos) << imported.out;
  EXPECT_EQ(imported.out.find("script: line"), std::string::npos) << imported.out;
  EXPECT_EQ(Settings(), registered);
}
