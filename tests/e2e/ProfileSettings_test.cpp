// Every settings writer of both libraries on four profiles: a new one, an
// existing empty one, one whose "Dat" and registry folder the user may only
// read, and a full one (nothing fits where "Dat", "Vantrix" and the
// registry folder should be). The user's work is done on each; a setting
// that cannot be kept is said once, naming its file; where writing is the
// user's own action the dialog says so and stays open for Cancel.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

enum class Profile { kNew, kEmpty, kReadOnly, kFull };

// What a profile that cannot be written gives the user.
enum class OnFailure {
  kNotKept,   // the work is done; one message names the file not kept
  kKeptOpen,  // the dialog says so and stays open; the script cancels
  kNothing,   // it keeps no settings: done and silent
};

const char* kNotKept = "cannot be written. Your work is done";
const char* kNotSaved = "The settings could not be written to the file";
const char* kNotRegistered = "the projects were not registered";

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
const std::string kExamples = std::string(JOV_SOURCE_DIR) + "/examples/";
// The section dialogs' values as a user types them into a profile without any.
const char* kCutValues = "set 5027 0.5\nset 5026 0.3\nset 5028 3.0\nset 5029 0.1\nset 5033 0.3\n";

struct Writer {
  const char* what;
  std::vector<std::string> args;  // "@" stands for the run's scratch folder
  std::string script;
  const char* done;  // the output line of the work done
  OnFailure onFailure;
  const char* keptOpen;  // kKeptOpen: the message, and the line after Cancel
  const char* cancelled;
  // The sections draw with the pipe types of the designer's "Jov_lin.dat",
  // which only the read-only profile holds: elsewhere OK is taken, its
  // settings written or not, and the drawing is not made.
  bool needsPipeTypes = false;
};

const char* kPipeTypes = "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n";
const char* kNoPipeTypes = "drawing: not written (change cancelled)";

std::vector<std::string> Product(const char* id) {
  return {"--module", "Wizard.dll", "--run", "PPDlg", "--arg", "main", "--arg", std::string("db:T:") + id, "--arg", "1",
          "--arg", "-", "--arg", "0", "--arg", "1000", "--arg", "0", "--arg", "-", "--arg", "1", "--arg", "-",
          "--arg", "-", "--arg", "-", "--arg", "-"};
}

std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<Writer>& Writers() {
  static const std::vector<Writer> writers = {
      {"parametric dialog", Product("TPP0015-0001"), "dialog 1006\nok\n", "result: 1", OnFailure::kNotKept, nullptr, nullptr},
      {"product without a dialog", With(Product("TVE0015-0001"), {"--insert", "1000", "500", "--out", "@/out.dxf"}),
       "", "insert: block \"*U1\" at 1000 500", OnFailure::kNothing, nullptr, nullptr},
      {"producer dialog", Product("TOT0600-0001"), "dialog 1007\nchoose 1044 \"Radiatec a.s.\"\nok\n", "result: 1",
       OnFailure::kNotKept, nullptr, nullptr},
      {"definition editor", {"--module", "Wizard.dll", "--catalogue", "@/catalogue", "--run", "WizardDialog", "--arg",
                             "main", "--arg", "db:T:TPP0015-0001", "--arg", "1", "--arg", "0"},
       "dialog 1000\nok\n", "result: 1", OnFailure::kNotKept, nullptr, nullptr},
      {"mask list", {"--module", "Wizard.dll", "--run", "JOV_MASK_T"}, "dialog 1019\nclick 1023\nok\n", "result: 1",
       OnFailure::kKeptOpen, kNotSaved, "result: 2"},
      {"mask editor", {"--module", "Wizard.dll", "--run", "maskDefPreset", "--arg", "-", "--arg", "1", "--arg", "T",
                       "--arg", "-"},
       "dialog 1020\nok\n", "result: 1", OnFailure::kKeptOpen, kNotSaved, "result: 0"},
      {"dimension dialog", {"--module", "Wizard.dll", "--run", "DimDlg", "--arg", "main", "--arg", "T"},
       "dialog 1018\nok\n", "result: 1", OnFailure::kKeptOpen, kNotSaved, "result: 2"},
      {"export", {"--drawing", kExamples + "heating_exported.dxf", "--out", "@/out.dxf", "--run", "Jov_Vantrix_Export"},
       "select-window -100000 -100000 100000 100000\nanswer yes\ndialog 5005\nclick 5066\nset 5039 @/exchange.txt\nok\n",
       "drawing: written @/out.dxf", OnFailure::kNotKept, nullptr, nullptr},
      {"branch section", {"--drawing", kData + "branch.dxf", "--out", "@/out.dxf", "--catalogue",
                          JOV_SECTION_CATALOGUE, "--run", "Jov_CutDlg"},
       std::string("pick 39\nselect 39 3B 3D 3E\npoint 10000 20000\ndialog 5009\n") + kCutValues + "ok\n",
       "drawing: written @/out.dxf", OnFailure::kNotKept, nullptr, nullptr, true},
      {"riser section", {"--drawing", kData + "riser.dxf", "--out", "@/out.dxf", "--catalogue",
                         JOV_SECTION_CATALOGUE, "--run", "Jov_CutDlg"},
       std::string("pick 3C\nselect 3E 40 42\npoint 0 0\ndialog 5004\nset 5052 7\nset 5025 2.8\n") + kCutValues +
           "ok\n",
       "drawing: written @/out.dxf", OnFailure::kNotKept, nullptr, nullptr, true},
      {"manager", {"--drawing", kData + "network.dxf", "--run", "Jov_Vantrix_M"}, "dialog 5000\nok\n", "result: 1",
       OnFailure::kKeptOpen, kNotRegistered, "result: 2"},
  };
  return writers;
}

std::string Replace(std::string text, const std::string& scratch) {
  for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + scratch.size()))
    text.replace(at, 1, scratch);
  return text;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace

class ProfileSettings : public E2e {
 protected:
  // The writer on a fresh profile of the kind; the read-only one runs as an
  // unprivileged user, for whom the permissions hold.
  Outcome RunOn(const Writer& w, Profile kind, const fs::path& scratch) {
    fs::create_directories(scratch);
    fs::permissions(scratch, fs::perms::all);
    const fs::path profile = scratch / "profile", registry = scratch / "registry";
    switch (kind) {
      case Profile::kNew: break;
      case Profile::kEmpty:
        fs::create_directories(profile);
        fs::create_directories(registry);
        break;
      case Profile::kReadOnly:
        for (const fs::path& folder : {profile / "Dat", profile / "Vantrix", registry}) {
          fs::create_directories(folder);
          if (w.needsPipeTypes && folder == profile / "Dat") std::ofstream(folder / "Jov_lin.dat") << kPipeTypes;
          fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
        }
        fs::permissions(profile, fs::perms::all);
        break;
      case Profile::kFull:
        fs::create_directories(profile);
        for (const fs::path& file : {profile / "Dat", profile / "Vantrix", registry}) std::ofstream(file) << "";
        break;
    }
    if (std::find(w.args.begin(), w.args.end(), "@/catalogue") != w.args.end()) {
      fs::copy(std::string(JOV_TEST_MODULE_DIR) + "/Catalogue", scratch / "catalogue", fs::copy_options::recursive);
      for (const auto& entry : fs::recursive_directory_iterator(scratch / "catalogue"))
        fs::permissions(entry.path(), fs::perms::all);
      fs::permissions(scratch / "catalogue", fs::perms::all);
    }
    std::string script = Replace(w.script, scratch.string());
    if ((kind == Profile::kReadOnly || kind == Profile::kFull) && w.onFailure != OnFailure::kNothing)
      script += w.onFailure == OnFailure::kKeptOpen ? "answer ok\ncancel\n" : "answer ok\n";
    if (w.needsPipeTypes && kind != Profile::kReadOnly) script += "answer ok\n";
    std::ofstream(scratch / "session.txt") << script;
    std::vector<std::string> args{"--profile", profile.string(), "--registry", registry.string(), "--script",
                                  (scratch / "session.txt").string()};
    for (const std::string& a : w.args) args.push_back(Replace(a, scratch.string()));
    std::string program = std::string(JOV_TEST_MODULE_DIR) + "/dravik";
    if (kind == Profile::kReadOnly && geteuid() == 0) {
      args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", "--", program});
      program = "/usr/bin/setpriv";
    }
    return testsupport::RunProgram(program, args, scratch);
  }
};

TEST_F(ProfileSettings, EveryWriterOnEveryProfileDoesTheUsersWorkAndSaysOnceWhatWasNotKept) {
  fs::permissions(dir_, fs::perms::all);
  const bool asNobody = geteuid() != 0 || NobodyCanRunTheRunner();
  for (const Writer& w : Writers()) {
    for (Profile kind : {Profile::kNew, Profile::kEmpty, Profile::kReadOnly, Profile::kFull}) {
      const char* names[] = {"new", "empty", "Dat read-only", "full"};
      SCOPED_TRACE(std::string(w.what) + " on a " + names[static_cast<int>(kind)] + " profile");
      if (kind == Profile::kReadOnly && !asNobody) continue;
      std::string name = std::string(w.what) + "-" + names[static_cast<int>(kind)];
      std::replace(name.begin(), name.end(), ' ', '_');
      const fs::path scratch = dir_ / name;
      const Outcome o = RunOn(w, kind, scratch);
      const bool fails = kind == Profile::kReadOnly || kind == Profile::kFull;
      const std::string out = o.out;
      EXPECT_EQ(o.exit, 0) << o.err << out;
      if (fails && w.onFailure == OnFailure::kKeptOpen) {
        EXPECT_GE(Count(out, w.keptOpen), 1u) << out;
        EXPECT_TRUE(o.Has(w.cancelled)) << out;
        EXPECT_EQ(Count(out, kNotKept), 0u) << out;
      } else {
        const bool drawn = !w.needsPipeTypes || kind == Profile::kReadOnly;
        EXPECT_TRUE(o.Has(drawn ? Replace(w.done, scratch.string()) : kNoPipeTypes)) << out;
        EXPECT_EQ(Count(out, kNotKept), fails && w.onFailure == OnFailure::kNotKept ? 1u : 0u) << out;
        EXPECT_EQ(Count(out, kNotSaved) + Count(out, kNotRegistered), 0u) << out;
      }
    }
  }
  if (geteuid() == 0 && !NobodyCanRunTheRunner())
    GTEST_SKIP() << "uid 65534 cannot run the build's runner (no setpriv, or a build folder others may not "
                    "enter): the read-only profile cannot be tried as an unprivileged user";
}
