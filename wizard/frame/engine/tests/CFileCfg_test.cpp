#include "wizard/frame/engine/CFileCfg.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Record(uint32_t header, const std::string& key, const std::string& value,
             const std::string& slack = "") {
  Bytes out = {static_cast<unsigned char>(header), static_cast<unsigned char>(header >> 8),
               static_cast<unsigned char>(header >> 16), static_cast<unsigned char>(header >> 24)};
  for (const std::string* part : {&key, &value, &slack}) out.insert(out.end(), part->begin(), part->end());
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class CFileCfgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "filecfg-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = (dir_ / "PP_LastT.dat").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  Bytes FileBytes() const {
    std::ifstream in(path_, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  void SetFile(const Bytes& bytes) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Get(CFileCfg& cfg, const char* key) {
    char buffer[4096] = "unread";
    return cfg.GetString(key, buffer, sizeof buffer) ? buffer : "<none>";
  }

  fs::path dir_;
  std::string path_;
};

TEST_F(CFileCfgTest, RecordsRewrittenInPlaceOrMovedToTheEnd) {
  CFileCfg cfg;
  ASSERT_TRUE(cfg.Open(path_.c_str()));
  EXPECT_EQ(FileBytes(), Bytes{});

  ASSERT_EQ(cfg.SetString("abc", "wxyz"), 1);
  EXPECT_EQ(FileBytes(), Record(0x0040300B, "abc", "wxyz"));
  EXPECT_EQ(FileBytes()[0], 0x0B);

  // Shorter: same place, record length kept, two bytes of slack.
  ASSERT_EQ(cfg.SetString("abc", "pq"), 1);
  EXPECT_EQ(FileBytes(), Record(0x0020300B, "abc", "pq", "yz"));
  EXPECT_EQ(Get(cfg, "abc"), "pq");

  // Longer than the stored value (though the slack would hold one more
  // byte): removed and appended.
  ASSERT_EQ(cfg.SetString("k2", "v"), 1);
  ASSERT_EQ(cfg.SetString("abc", "12345678"), 1);
  EXPECT_EQ(FileBytes(), Join({Record(0x00102007, "k2", "v"), Record(0x0080300F, "abc", "12345678")}));

  // A null value removes; an empty one is a value.
  ASSERT_EQ(cfg.SetString("k2", nullptr), 1);
  EXPECT_EQ(FileBytes(), Record(0x0080300F, "abc", "12345678"));
  ASSERT_EQ(cfg.SetString("e", ""), 1);
  EXPECT_EQ(Get(cfg, "e"), "");
  ASSERT_EQ(cfg.SetString("abc", nullptr), 1);
  ASSERT_EQ(cfg.SetString("e", nullptr), 1);
  EXPECT_EQ(FileBytes(), Bytes{});
  EXPECT_EQ(Get(cfg, "abc"), "<none>");

  // Removing what is not there writes nothing.
  ASSERT_EQ(cfg.SetString("abc", "1"), 1);
  const Bytes before = FileBytes();
  EXPECT_EQ(cfg.SetString("zz", nullptr), 1);
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(CFileCfgTest, ReadsIntoShortBuffers) {
  CFileCfg cfg;
  ASSERT_TRUE(cfg.Open(path_.c_str()));
  ASSERT_EQ(cfg.SetString("key", "abcdef"), 1);
  char four[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(cfg.GetString("key", four, sizeof four), 1);
  EXPECT_EQ(std::string(four, 4), std::string("abc\0", 4));

  unsigned size = 0;
  EXPECT_EQ(cfg.ReadRecord("key", 3, nullptr, &size), 1);
  EXPECT_EQ(size, 6u);
  char raw[4] = {};
  size = sizeof raw;
  EXPECT_EQ(cfg.ReadRecord("key", 3, raw, &size), 1);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::string(raw, 4), "abcd");

  EXPECT_EQ(cfg.ReadRecord("ke", 2, raw, &size), 0);    // keys compare by length too
  EXPECT_EQ(cfg.ReadRecord("KEY", 3, raw, &size), 0);   // and case
  EXPECT_EQ(cfg.ReadRecord(nullptr, 3, raw, &size), 0);
  EXPECT_EQ(cfg.GetString("", raw, sizeof raw), 0);
  EXPECT_EQ(cfg.SetString(nullptr, "v"), 0);
}

TEST_F(CFileCfgTest, DamagedRecordsHideWhatFollowsAndAreCutOffByAWrite) {
  // A first header claiming 100 bytes in a file of 20.
  SetFile(Join({Record(0x00103064, "abc", "v"), Bytes(12, 'z')}));
  {
    CFileCfg cfg;
    ASSERT_TRUE(cfg.Open(path_.c_str()));
    EXPECT_EQ(Get(cfg, "abc"), "<none>");
    ASSERT_EQ(cfg.SetString("new", "1"), 1);
  }
  EXPECT_EQ(FileBytes(), Record(0x00103008, "new", "1"));

  // A sound record, one shorter than its key and value, and a sound one
  // behind it: only the first can be read; a removal cuts the rest.
  const Bytes good = Record(0x00101006, "a", "b");
  SetFile(Join({good, Record(0x00101005, "x", "y"), Record(0x00101006, "c", "d")}));
  CFileCfg cfg;
  ASSERT_TRUE(cfg.Open(path_.c_str()));
  EXPECT_EQ(Get(cfg, "a"), "b");
  EXPECT_EQ(Get(cfg, "c"), "<none>");
  ASSERT_EQ(cfg.SetString("c", nullptr), 1);
  EXPECT_EQ(FileBytes(), good);

  // Three stray bytes are no header.
  SetFile(Join({good, Bytes{1, 2, 3}}));
  EXPECT_EQ(Get(cfg, "zz"), "<none>");
  ASSERT_EQ(cfg.SetString("zz", "9"), 1);
  EXPECT_EQ(FileBytes(), Join({good, Record(0x00102007, "zz", "9")}));
}

TEST_F(CFileCfgTest, AKeyWrittenReadsBackWhateverFollowedItInTheFile) {
  // Damage behind the key: the longer value does not go behind it.
  SetFile(Join({Record(0x00101006, "a", "b"), Bytes{1, 2, 3}}));
  CFileCfg cfg;
  ASSERT_TRUE(cfg.Open(path_.c_str()));
  ASSERT_EQ(cfg.SetString("a", "longer"), 1);
  EXPECT_EQ(Get(cfg, "a"), "longer");
  EXPECT_EQ(FileBytes(), Record(0x0060100B, "a", "longer"));

  // A key stored twice (only the first is read): moved or removed, none of
  // it stays to be read instead.
  const Bytes twice = Join({Record(0x0050100A, "k", "first"), Record(0x00101006, "x", "y"),
                            Record(0x0060100B, "k", "second")});
  SetFile(twice);
  ASSERT_EQ(cfg.SetString("k", "a longer value"), 1);
  EXPECT_EQ(Get(cfg, "k"), "a longer value");
  EXPECT_EQ(FileBytes(), Join({Record(0x00101006, "x", "y"), Record(0x00E01013, "k", "a longer value")}));
  SetFile(twice);
  ASSERT_EQ(cfg.SetString("k", nullptr), 1);
  EXPECT_EQ(Get(cfg, "k"), "<none>");
  EXPECT_EQ(FileBytes(), Record(0x00101006, "x", "y"));
  // A shorter value is written in place, where it is the one read.
  SetFile(twice);
  ASSERT_EQ(cfg.SetString("k", "1"), 1);
  EXPECT_EQ(Get(cfg, "k"), "1");
}

TEST_F(CFileCfgTest, WhatTheHeaderCannotHoldIsRefused) {
  CFileCfg cfg;
  ASSERT_TRUE(cfg.Open(path_.c_str()));
  ASSERT_EQ(cfg.SetString("keep", "me"), 1);
  const Bytes before = FileBytes();

  const std::string key255(255, 'k');
  EXPECT_EQ(cfg.SetString(std::string(256, 'k').c_str(), "v"), 0);
  EXPECT_EQ(cfg.SetString(key255.c_str(), std::string(3837, 'v').c_str()), 0);  // 4096 bytes
  EXPECT_EQ(FileBytes(), before);

  ASSERT_EQ(cfg.SetString(key255.c_str(), std::string(3836, 'v').c_str()), 1);  // 4095 bytes
  const Bytes after = FileBytes();
  ASSERT_EQ(after.size(), before.size() + 4095);
  EXPECT_EQ(after[before.size()] | after[before.size() + 1] << 8, 0xFFFF);  // 4095, key 255
  EXPECT_EQ(Get(cfg, key255.c_str()), std::string(3836, 'v'));
}

TEST_F(CFileCfgTest, OneOpenAtATimeInAnyProcess) {
  CFileCfg first;
  ASSERT_TRUE(first.Open(path_.c_str()));
  CFileCfg second;
  EXPECT_FALSE(second.Open(path_.c_str()));

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CFileCfg other;
    _exit(other.Open(path_.c_str()) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "another process opened a file held open here";

  first.Close();
  EXPECT_TRUE(second.Open(path_.c_str()));
  EXPECT_FALSE(CFileCfg().Open((dir_ / "missing" / "PP_LastT.dat").string().c_str()));
}

TEST_F(CFileCfgTest, PathsAreTheSystemsOwn) {
  {
    CFileCfg cfg;
    ASSERT_TRUE(cfg.Open(path_.c_str()));
    ASSERT_EQ(cfg.SetString("TPP0015-0001", "L|1000|V|600|"), 1);
  }
  // '\' separators and another letter case reach the same file.
  const std::string system = dir_.string() + "\\pp_lastt.DAT";
  CFileCfg cfg;
  ASSERT_TRUE(cfg.Open(system.c_str()));
  EXPECT_EQ(Get(cfg, "TPP0015-0001"), "L|1000|V|600|");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// Random writes and removals against a map: the file always reads back as
// the map says, also after reopening.
TEST_F(CFileCfgTest, RoundTripAgainstAModel) {
  std::map<std::string, std::string> model;
  std::mt19937 random(104);
  CFileCfg cfg;
  ASSERT_TRUE(cfg.Open(path_.c_str()));
  for (int step = 0; step < 400; ++step) {
    const std::string key = "K" + std::to_string(random() % 12);
    if (random() % 5 == 0) {
      ASSERT_EQ(cfg.SetString(key.c_str(), nullptr), 1);
      model.erase(key);
    } else {
      std::string value(random() % 40, static_cast<char>('a' + step % 26));
      ASSERT_EQ(cfg.SetString(key.c_str(), value.c_str()), 1);
      model[key] = value;
    }
    if (step % 50 == 0) {
      cfg.Close();
      ASSERT_TRUE(cfg.Open(path_.c_str()));
    }
    for (int k = 0; k < 12; ++k) {
      const std::string probe = "K" + std::to_string(k);
      const auto it = model.find(probe);
      ASSERT_EQ(Get(cfg, probe.c_str()), it == model.end() ? "<none>" : it->second) << "step " << step;
    }
  }
  size_t least = 0;
  for (const auto& [k, v] : model) least += 4 + k.size() + v.size();
  EXPECT_GE(FileBytes().size(), least);
}

}  // namespace
