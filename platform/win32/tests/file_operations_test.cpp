#include "platform/win32/file_operations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(FileOperations, MoveReplacesOnlyWhenAskedAndDeleteRemoves) {
  const fs::path folder = fs::temp_directory_path() / ("jov-move-" + std::to_string(getpid()));
  fs::create_directories(folder / "Dat");
  std::ofstream(folder / "Dat/new.txt") << "new";
  std::ofstream(folder / "Dat/Old.txt") << "old";
  // The system's own path form: '\' and another letter case.
  const std::string dat = folder.string() + "\\DAT\\";

  EXPECT_FALSE(MoveFileExA((dat + "NEW.TXT").c_str(), (dat + "old.txt").c_str(), 0)) << "the target exists";
  EXPECT_EQ(Read(folder / "Dat/Old.txt"), "old");
  EXPECT_TRUE(MoveFileExA((dat + "NEW.TXT").c_str(), (dat + "old.txt").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Read(folder / "Dat/Old.txt"), "new");
  EXPECT_FALSE(fs::exists(folder / "Dat/new.txt"));
  EXPECT_TRUE(MoveFileExA((dat + "old.txt").c_str(), (dat + "moved.txt").c_str(), 0));
  EXPECT_EQ(Read(folder / "Dat/moved.txt"), "new");

  EXPECT_TRUE(DeleteFileA((dat + "Moved.txt").c_str()));
  EXPECT_FALSE(DeleteFileA((dat + "Moved.txt").c_str()));
  EXPECT_FALSE(MoveFileExA(nullptr, (dat + "x").c_str(), 0));
  fs::remove_all(folder);
}
