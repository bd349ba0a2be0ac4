// The runtime's access test on the system's paths: '\' separators and any
// letter case, as the help and the radiator catalogue ask for their files.
#include "platform/win32/file_access.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(FileAccess, FindsFilesWhateverTheirCaseAndTellsWhatTheyAllow) {
  std::string pattern = (fs::temp_directory_path() / "access-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path root = pattern;
  fs::create_directories(root / "Help");
  std::ofstream(root / "Help" / "Jov2d.chm") << "x";
  std::ofstream(root / "readonly.txt") << "x";
  chmod((root / "readonly.txt").c_str(), 0444);
  const std::string win = pattern + "\\";

  struct Case {
    std::string path;
    int mode;
    int result;
  };
  const Case cases[] = {
      {win + "HELP\\JOV2D.CHM", 0, 0},   {win + "help\\jov2d.chm", 6, 0}, {win + "HELP", 0, 0},
      {win + "HELP\\JOV2D.HLP", 0, -1},  {win + "NOWHERE\\JOV2D.CHM", 0, -1},
      {win + "readonly.txt", 4, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(_access(c.path.c_str(), c.mode), c.result) << c.path << " mode " << c.mode;
  if (geteuid() != 0) {
    EXPECT_EQ(_access((win + "READONLY.TXT").c_str(), 2), -1) << "not writable";
  }

  errno = 0;
  EXPECT_EQ(_access(nullptr, 0), -1);
  EXPECT_EQ(_access((win + "HELP").c_str(), 1), -1) << "execute is no mode of the runtime's";
  EXPECT_EQ(errno, EINVAL);
  fs::remove_all(root);
}
