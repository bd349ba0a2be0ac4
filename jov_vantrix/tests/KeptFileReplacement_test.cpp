// The files a user keeps, replaced through the platform: the exchange file
// and a project list follow a symbolic link to its file, keep its mode, and
// a write that fails leaves the old file and no temporary one. Modes only
// bind an unprivileged user, so every case runs in a child as "nobody"
// when the test runs as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/VantrixDataList.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/SectionFile.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "tests/support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

struct Writer {
  const char* name;
  std::function<bool(const std::string& path)> write;
};

bool WriteExchangeFile(const std::string& path) {
  CSecSezNew sections;
  sections.m_branchNames.AddTail("1");
  return WriteSectionFile(sections, path.c_str(), false);
}

bool WriteProjectList(const std::string& path) {
  CVantrixData list;
  auto* record = new CVantrixData(CVantrixData::kFieldCount);
  for (uint32_t f = 0; f < CVantrixData::kFieldCount; ++f) record->SetField(f, "x");
  list.AddTail(record);
  VantrixListLoad whole{VantrixListFound::kWhole, 1};
  return SaveVantrixDataList(list, path.c_str(), whole);
}

// Runs check in a child, as nobody when this is root; its result.
bool InChild(const std::function<bool()>& check) {
  const pid_t child = fork();
  if (child == 0) {
    const bool root = geteuid() == 0;
    _exit((!root || (setgid(kNobody) == 0 && setuid(kNobody) == 0)) && check() ? 0 : 1);
  }
  int status = 1;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(KeptFileReplacement, LinksModesAndFailedWritesOfEveryKeptFile) {
  const Writer writers[] = {{"exchange file", WriteExchangeFile}, {"project list", WriteProjectList}};
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.name);
    TempFolder temp;
    const fs::path root = temp.Path();
    const fs::path kept = root / "kept", real = kept / "real.txt", link = root / "link.txt";
    fs::create_directories(kept);
    temp.Write("kept/real.txt", "old");
    fs::create_symlink(real, link);
    for (const fs::path& p : {root, kept, real}) ASSERT_EQ(lchown(p.c_str(), kNobody, kNobody) == 0, geteuid() == 0);
    ASSERT_EQ(chmod(real.c_str(), 0604), 0);

    // Through the link: the file behind it is replaced, the link stays one
    // and the file keeps its odd mode.
    ASSERT_TRUE(InChild([&] { return w.write(link.string()); }));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(testsupport::Slurp(real), "old");
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_uid, geteuid() == 0 ? kNobody : geteuid()) << "the owner stays";
    const std::string written = testsupport::Slurp(real);

    // A folder that takes no new file: the write fails, the file stays as
    // it was and no temporary file is left.
    ASSERT_EQ(chmod(kept.c_str(), 0555), 0);
    ASSERT_EQ(chmod(real.c_str(), 0666), 0);
    temp.Write("kept/real.txt", "before");
    const bool failed = InChild([&] { return !w.write(real.string()); });
    ASSERT_EQ(chmod(kept.c_str(), 0755), 0);
    EXPECT_TRUE(failed);
    EXPECT_EQ(testsupport::Slurp(real), "before");
    EXPECT_EQ(Entries(kept), std::vector<std::string>{"real.txt"});
    EXPECT_FALSE(written.empty());
  }
}
