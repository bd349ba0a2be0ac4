#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/host/DxfDrawing.h"
#include "platform/host/tests/DxfTestFiles.h"
#include "platform/win32/file_replace.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using test::FixturePath;
using test::ReadFile;

class DxfDrawingSave : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "dxfsaveXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    fs::copy_file(FixturePath("r2000_network.dxf"), dir / "in.dxf");
    DxfError error;
    ASSERT_TRUE(d.Load(dir / "in.dxf", &error)) << error.ToString();
  }
  void TearDown() override { fs::remove_all(dir); }
  size_t FilesInDir() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }

  fs::path dir;
  DxfDrawing d;
};

TEST_F(DxfDrawingSave, SavedFileLoadsAgain) {
  DxfError error;
  ASSERT_TRUE(d.Save(dir / "out.dxf", &error)) << error.ToString();
  EXPECT_EQ(ReadFile((dir / "out.dxf").string()), d.SaveText());
  EXPECT_EQ(FilesInDir(), 2u) << "no temporary file is left behind";
  DxfDrawing again;
  ASSERT_TRUE(again.Load(dir / "out.dxf", &error));
  EXPECT_EQ(again.SourcePath(), dir / "out.dxf");
}

TEST_F(DxfDrawingSave, SourceIsOverwrittenOnlyWhenAsked) {
  ASSERT_NE(d.AppendEntity({{0, "POINT"}, {8, "0"}, {10, "0"}, {20, "0"}}, nullptr), nullptr);
  std::string original = ReadFile((dir / "in.dxf").string());
  DxfError error;
  EXPECT_FALSE(d.Save(dir / "in.dxf", &error));
  EXPECT_NE(error.message.find("refusing"), std::string::npos);
  EXPECT_FALSE(d.Save(dir / "." / "in.dxf", &error)) << "another spelling of the same file";
  EXPECT_EQ(ReadFile((dir / "in.dxf").string()), original);

  ASSERT_TRUE(d.Save(dir / "in.dxf", &error, true)) << error.ToString();
  EXPECT_NE(ReadFile((dir / "in.dxf").string()), original);
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(DxfDrawingSave, ReplacedFileKeepsItsPermissions) {
  fs::path out = dir / "out.dxf";
  fs::copy_file(dir / "in.dxf", out);
  ASSERT_EQ(chmod(out.c_str(), 0600), 0);
  DxfError error;
  ASSERT_TRUE(d.Save(out, &error)) << error.ToString();
  struct stat st {};
  ASSERT_EQ(stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(DxfDrawingSave, NewFileHonoursTheUmaskAndALinkIsWrittenThrough) {
  DxfError error;
  for (mode_t mask : {mode_t{022}, mode_t{077}}) {
    const mode_t before = umask(mask);
    const fs::path out = dir / ("new" + std::to_string(mask) + ".dxf");
    const bool saved = d.Save(out, &error);
    umask(before);
    ASSERT_TRUE(saved) << error.ToString();
    struct stat st {};
    ASSERT_EQ(stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
  }
  // A link, and a link to a file that does not exist yet, stay links.
  fs::create_directory(dir / "real");
  fs::create_symlink("real/target.dxf", dir / "link.dxf");
  fs::create_symlink("link.dxf", dir / "link2.dxf");
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(d.Save(dir / "link2.dxf", &error)) << error.ToString();
    EXPECT_TRUE(fs::is_symlink(dir / "link.dxf") && fs::is_symlink(dir / "link2.dxf"));
    EXPECT_EQ(ReadFile((dir / "real" / "target.dxf").string()), d.SaveText());
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 1);
}

// The drawing's text is written as every replaced file is: into a file
// its owner alone may read, whatever the umask and the old file's mode, so
// that a write killed half way leaves no one else a copy.
TEST_F(DxfDrawingSave, WhatIsBeingWrittenIsTheOwnersAlone) {
  fs::copy_file(dir / "in.dxf", dir / "open.dxf");
  ASSERT_EQ(chmod((dir / "open.dxf").c_str(), 0644), 0);
  for (const char* name : {"open.dxf", "new.dxf"})
    for (bool fails : {false, true}) {
      mode_t seen = 0;
      const mode_t before = umask(0);
      const auto step = win32::ReplaceFileWith((dir / name).string(), [&](int fd) {
        struct stat st {};
        seen = fstat(fd, &st) == 0 ? st.st_mode & 0777 : 0;
        const std::string text = d.SaveText();
        return !fails && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      });
      umask(before);
      EXPECT_EQ(seen, 0600u) << name;
      EXPECT_EQ(step, fails ? win32::ReplaceStep::kWrite : win32::ReplaceStep::kDone) << name;
    }
  EXPECT_EQ(FilesInDir(), 3u) << "a failed write leaves nothing";
}

TEST_F(DxfDrawingSave, FailureLeavesNothingBehind) {
  DxfError error;
  EXPECT_FALSE(d.Save(dir / "missing" / "out.dxf", &error));
  EXPECT_EQ(error.message.rfind("cannot write " + (dir / "missing" / "out.dxf").string() +
                                ": cannot create a file in ", 0), 0u)
      << error.message;
  EXPECT_FALSE(d.Save(dir, &error));
  EXPECT_NE(error.message.find("folder"), std::string::npos) << error.message;
  EXPECT_EQ(FilesInDir(), 1u);
}

}  // namespace
}  // namespace host
