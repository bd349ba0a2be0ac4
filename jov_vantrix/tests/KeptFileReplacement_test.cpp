// The exchange file and a project list, replaced through the platform: a
// link is followed, the file keeps its mode and owner, and a failed write
// leaves the old file and no temporary one. Writes run in a child as
// "nobody" under root, where modes bind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "common/VantrixDataList.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/SectionFile.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

bool AsNobody(const std::function<bool()>& write) {
  const pid_t child = fork();
  if (child == 0) _exit((geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0)) && write() ? 0 : 1);
  int status = 1;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(KeptFileReplacement, LinksModesAndFailedWritesOfEveryKeptFile) {
  const std::function<bool(const std::string&)> writers[] = {
      [](const std::string& path) {
        CSecSezNew sections;
        sections.m_branchNames.AddTail("1");
        return WriteSectionFile(sections, path.c_str(), false);
      },
      [](const std::string& path) {
        CVantrixData list;
        VantrixListLoad whole{VantrixListFound::kWhole, 0};
        return SaveVantrixDataList(list, path.c_str(), whole);
      }};
  for (const auto& write : writers) {
    TempFolder temp;
    const std::filesystem::path kept = temp.File("kept"), real = temp.File("kept/real"), link = temp.File("link");
    std::filesystem::create_directories(kept);
    temp.Write("kept/real", "old");
    std::filesystem::create_symlink(real, link);
    for (const auto& p : {std::filesystem::path(temp.Path()), kept, real}) {
      ASSERT_TRUE(geteuid() != 0 || chown(p.c_str(), 65534, 65534) == 0);
    }
    ASSERT_EQ(chmod(real.c_str(), 0604), 0);

    EXPECT_TRUE(AsNobody([&] { return write(link.string()); }));
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(testsupport::Slurp(real), "old");
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_uid, geteuid() == 0 ? 65534u : geteuid());

    // A folder that takes no new file.
    temp.Write("kept/real", "before");
    ASSERT_EQ(chmod(kept.c_str(), 0555), 0);
    EXPECT_TRUE(AsNobody([&] { return !write(real.string()); }));
    ASSERT_EQ(chmod(kept.c_str(), 0755), 0);
    EXPECT_EQ(testsupport::Slurp(real), "before");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kept), {}), 1) << "no temporary file stays";
  }
}
