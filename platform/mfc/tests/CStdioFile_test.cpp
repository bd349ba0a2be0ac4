#include "platform/mfc/CStdioFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/code_page.h"

namespace fs = std::filesystem;

namespace {

class StdioFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "stdiofile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  // The system's spelling of a file below the test folder.
  std::string Win(const std::string& relative) const { return root.string() + "\\" + relative; }

  void Put(const std::string& relative, const std::string& bytes) {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative, std::ios::binary) << bytes;
  }
  std::string Get(const fs::path& relative) const {
    std::ifstream in(root / relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path root;
};

constexpr UINT kTextRead = CFile::modeRead | CFile::typeText;
constexpr UINT kTextWrite = CFile::modeCreate | CFile::modeWrite | CFile::typeText;

TEST_F(StdioFile, TextWritingEndsLinesWithCrLf) {
  CStdioFile file;
  ASSERT_TRUE(file.Open(Win("out.txt").c_str(), kTextWrite));
  file.WriteString("CP\n2\n");
  file.WriteString("#vetev;1\n3;2;0;V2;;;;;;4.25");
  file.WriteString(nullptr);
  file.Write("\r\n", 2);  // text mode does not look at what precedes a LF
  EXPECT_EQ(file.GetLength(), 38u);
  file.Close();
  EXPECT_EQ(Get("out.txt"), "CP\r\n2\r\n#vetev;1\r\n3;2;0;V2;;;;;;4.25\r\r\n");
}

TEST_F(StdioFile, BufferReadsKeepTheLineFeedAndStopAtTheEnd) {
  Put("in.txt", "PC\r\n2\r\n\r\nlast");
  CStdioFile file;
  ASSERT_TRUE(file.Open(Win("in.txt").c_str(), kTextRead));
  char line[2048];
  ASSERT_NE(file.ReadString(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "PC\n");
  ASSERT_EQ(file.ReadString(line, sizeof line), line);
  EXPECT_STREQ(line, "2\n");
  ASSERT_NE(file.ReadString(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "\n");
  ASSERT_NE(file.ReadString(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "last");  // the last line has no line feed
  line[0] = '#';
  EXPECT_EQ(file.ReadString(line, sizeof line), nullptr);
  EXPECT_EQ(line[0], '#');  // the buffer is left alone at the end
}

TEST_F(StdioFile, LongLinesComeInPiecesOfMaxMinusOne) {
  Put("long.txt", std::string(2047, 'a') + "bc\r\n" + "abcd\r\nx");
  CStdioFile file;
  ASSERT_TRUE(file.Open(Win("long.txt").c_str(), kTextRead));
  char line[2048];
  ASSERT_NE(file.ReadString(line, sizeof line), nullptr);
  EXPECT_EQ(std::string(line), std::string(2047, 'a'));
  ASSERT_NE(file.ReadString(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "bc\n");

  // A CR LF pair is never split by the end of the room.
  char small[5];
  ASSERT_NE(file.ReadString(small, sizeof small), nullptr);
  EXPECT_STREQ(small, "abcd");
  ASSERT_NE(file.ReadString(small, sizeof small), nullptr);
  EXPECT_STREQ(small, "\n");
  ASSERT_NE(file.ReadString(small, 1), nullptr);  // room for the NUL only
  EXPECT_STREQ(small, "");
  EXPECT_EQ(file.ReadString(small, 0), nullptr);
  EXPECT_EQ(file.ReadString(nullptr, 10), nullptr);
  ASSERT_NE(file.ReadString(small, 2), nullptr);
  EXPECT_STREQ(small, "x");
}

TEST_F(StdioFile, TextModeKeepsLoneCrAndEndsAtCtrlZ) {
  Put("cr.txt", std::string("a\rb\r\r\nc\r\x1A" "after\n"));
  CStdioFile text;
  ASSERT_TRUE(text.Open(Win("cr.txt").c_str(), kTextRead));
  CString line;
  ASSERT_TRUE(text.ReadString(line));
  EXPECT_EQ(line, "a\rb\r");
  ASSERT_TRUE(text.ReadString(line));
  EXPECT_EQ(line, "c\r");
  EXPECT_FALSE(text.ReadString(line));  // Ctrl-Z ends a text file
  EXPECT_TRUE(line.IsEmpty());
  char buffer[8];
  EXPECT_EQ(text.Read(buffer, sizeof buffer), 0u);
  text.SeekToBegin();  // a seek reads on
  EXPECT_EQ(text.Read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "a\rb\r");

  CStdioFile binary;
  ASSERT_TRUE(binary.Open(Win("cr.txt").c_str(), CFile::modeRead | CFile::typeBinary));
  ASSERT_TRUE(binary.ReadString(line));
  EXPECT_EQ(line, "a\rb\r\r");
  ASSERT_TRUE(binary.ReadString(line));
  EXPECT_EQ(line, "c\r\x1A" "after");
  EXPECT_FALSE(binary.ReadString(line));
}

TEST_F(StdioFile, WholeLineReadsDropTheLineFeed) {
  Put("lines.txt", std::string(300, 'x') + "\r\n\r\nend");
  CStdioFile file;
  ASSERT_TRUE(file.Open(Win("lines.txt").c_str(), kTextRead));
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line.GetLength(), 300);
  ASSERT_TRUE(file.ReadString(line));  // an empty line still counts
  EXPECT_TRUE(line.IsEmpty());
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "end");
  EXPECT_FALSE(file.ReadString(line));
}

TEST_F(StdioFile, CreateTruncatesUnlessToldNotTo) {
  Put("sect.txt", "CP\r\n2\r\n");
  CStdioFile file;
  ASSERT_TRUE(file.Open(Win("sect.txt").c_str(),
                        kTextWrite | CFile::modeNoTruncate | CFile::shareDenyWrite));
  EXPECT_EQ(file.GetPosition(), 0u);  // appending needs the seek to the end
  EXPECT_EQ(file.SeekToEnd(), 7u);
  file.WriteString("#vetev;A\n");
  file.Close();
  EXPECT_EQ(Get("sect.txt"), "CP\r\n2\r\n#vetev;A\r\n");

  ASSERT_TRUE(file.Open(Win("sect.txt").c_str(), kTextWrite));
  file.WriteString("new\n");
  file.Close();
  EXPECT_EQ(Get("sect.txt"), "new\r\n");

  // Missing files open only with modeCreate; modeNoTruncate creates too.
  EXPECT_FALSE(file.Open(Win("missing.txt").c_str(), kTextRead));
  EXPECT_FALSE(file.Open(Win("missing.txt").c_str(), CFile::modeWrite));
  EXPECT_FALSE(file.IsOpen());
  ASSERT_TRUE(file.Open(Win("fresh.txt").c_str(), kTextWrite | CFile::modeNoTruncate));
  file.Close();
  EXPECT_TRUE(fs::exists(root / "fresh.txt"));
  EXPECT_FALSE(file.Open(Win("nofolder\\x.txt").c_str(), kTextWrite));
}

TEST_F(StdioFile, FoldersAndEmptyNamesAreNotFiles) {
  fs::create_directories(root / "Dat");
  CStdioFile file;
  EXPECT_FALSE(file.Open(Win("Dat").c_str(), kTextRead));
  EXPECT_FALSE(file.Open("", kTextRead));
  EXPECT_FALSE(file.Open(nullptr, kTextRead));
  CString line;
  EXPECT_FALSE(file.ReadString(line));
  char buffer[4];
  EXPECT_EQ(file.ReadString(buffer, sizeof buffer), nullptr);
  file.WriteString("ignored");  // a closed file takes no harm
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(StdioFile, NamesAreFoundWithoutRegardToCaseInTheCodePage) {
  const std::string dir = Utf8ToCp1250("Výpočet");
  const std::string name = Utf8ToCp1250("Šachta.TXT");
  Put("Výpočet/Šachta.TXT", "PC\r\n");
  CStdioFile file(Win(Utf8ToCp1250("VÝPOČET") + "\\" + Utf8ToCp1250("šachta.txt")).c_str(),
                  kTextRead);
  ASSERT_TRUE(file.IsOpen());
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "PC");
  EXPECT_EQ(file.GetFileName(), Utf8ToCp1250("šachta.txt").c_str());

  // A new file is created under the code page name, stored in UTF-8.
  CStdioFile out(Win(dir + "\\" + Utf8ToCp1250("Řez.txt")).c_str(), kTextWrite);
  ASSERT_TRUE(out.IsOpen());
  out.Close();
  EXPECT_TRUE(fs::exists(root / "Výpočet" / "Řez.txt"));
}

TEST_F(StdioFile, ReadingAndWritingOneFileInTurn) {
  CStdioFile file;
  ASSERT_TRUE(file.Open(Win("rw.txt").c_str(),
                        CFile::modeCreate | CFile::modeReadWrite | CFile::typeText));
  file.WriteString("one\ntwo\n");
  file.SeekToBegin();
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "one");
  file.WriteString("TWO\n");  // writes where reading stopped
  EXPECT_EQ(file.GetPosition(), 10u);
  file.SeekToBegin();
  ASSERT_TRUE(file.ReadString(line));
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "TWO");
  EXPECT_FALSE(file.ReadString(line));
  file.SetLength(5);
  EXPECT_EQ(file.GetLength(), 5u);
  file.Close();
  EXPECT_EQ(Get("rw.txt"), "one\r\n");
}

TEST_F(StdioFile, BinaryFilesAndSeeks) {
  CFile file;
  ASSERT_TRUE(file.Open(Win("data.bin").c_str(), CFile::modeCreate | CFile::modeReadWrite));
  const char bytes[] = "a\nb\r\n";
  file.Write(bytes, 5);
  EXPECT_EQ(file.GetLength(), 5u);
  EXPECT_EQ(file.Seek(-3, CFile::end), 2u);
  char back[8] = {};
  EXPECT_EQ(file.Read(back, sizeof back), 3u);
  EXPECT_EQ(std::string(back, 3), "b\r\n");
  EXPECT_EQ(file.Seek(-10, CFile::begin), static_cast<ULONGLONG>(-1));
  EXPECT_EQ(file.Seek(1, CFile::begin), 1u);
  EXPECT_EQ(file.Seek(1, CFile::current), 2u);
  EXPECT_EQ(file.GetFilePath(), Win("data.bin").c_str());
  EXPECT_EQ(file.GetFileName(), "data.bin");
  file.Close();
  EXPECT_EQ(Get("data.bin"), std::string(bytes, 5));
}

}  // namespace
