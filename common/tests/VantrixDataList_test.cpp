// Vantrix project lists on disk: the list file byte for byte, damaged
// files, saves that fail, the import of "cad" text files and the folders
// made before a save.
#include "common/VantrixDataList.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/CreateFolderPath.h"
#include "platform/win32/driver/ui_driver.h"

namespace fs = std::filesystem;

namespace {

using Fields = std::vector<std::optional<std::string>>;  // nullopt: an unset field

std::string Int32(int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
          static_cast<char>(u >> 24)};
}

// One record as the file holds it.
std::string Stored(uint8_t marked, const Fields& fields) {
  std::string out(1, static_cast<char>(marked));
  out += Int32(static_cast<int32_t>(fields.size()));
  for (const auto& field : fields) {
    if (!field) {
      out += Int32(0);
      continue;
    }
    out += Int32(static_cast<int32_t>(field->size() + 1));
    out += *field;
    out += '\0';
  }
  return out;
}

// Ten fields, complete unless told otherwise.
Fields Complete(const std::string& item, const std::string& tag) {
  return {item, "1", "2" + tag, "3", "L" + tag, "V", "S", "7", "8", "9" + tag};
}

CVantrixData* Add(CVantrixData& list, const Fields& fields, uint8_t marked = 0) {
  auto* record = new CVantrixData(static_cast<uint32_t>(fields.size()));
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i]) record->SetField(static_cast<uint32_t>(i), fields[i]->c_str());
  record->marked = marked;
  list.AddTail(record);
  return record;
}

// The fields of every record, unset ones as "(unset)".
std::vector<std::vector<std::string>> Contents(const CVantrixData& list) {
  std::vector<std::vector<std::string>> out;
  for (const CVantrixData* r = list.First(); r; r = r->Next()) {
    std::vector<std::string> row;
    for (uint32_t i = 0; i < r->CTextData::GetCount(); ++i)
      row.emplace_back(r->GetField(i) ? r->GetField(i) : "(unset)");
    out.push_back(row);
  }
  return out;
}

std::vector<std::string> Row(const Fields& fields) {
  std::vector<std::string> row;
  for (const auto& f : fields) row.push_back(f.value_or(""));
  return row;
}

// A list made in memory, saved where no list was read.
bool SaveNew(const CVantrixData& list, const std::string& path) {
  VantrixListLoad none;
  return SaveVantrixDataList(list, path.c_str(), none);
}

class VantrixListFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vantrix-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
    ClearUiJournal();
  }
  void TearDown() override { fs::remove_all(root); }

  // A path in the system's own spelling: the root, then '\'-separated parts.
  std::string Win(const std::string& relative) const { return root.string() + "\\" + relative; }
  std::string Bytes(const fs::path& relative) const {
    std::ifstream in(root / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Put(const fs::path& relative, const std::string& bytes) const {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative, std::ios::binary) << bytes;
  }
  std::vector<MessageBoxCall> Boxes() const {
    std::vector<MessageBoxCall> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == UiEvent::Kind::MessageBox) out.push_back(e.box);
    return out;
  }
  std::vector<std::string> FolderEntries(const fs::path& relative) const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(root / relative)) out.push_back(e.path().filename().string());
    return out;
  }

  fs::path root;
};

TEST_F(VantrixListFile, SavedListsAreByteExactAndReadBackWithoutIncompleteRecords) {
  const Fields first = Complete("R1", "a");
  const Fields incomplete = {"R2", "1", "2", "3", "4", "5", "6", "7", "8", std::nullopt};  // no field 9
  // Unset fields in the middle and at the end; code page 1250 text.
  const Fields third = {"\x8A" "koda", std::nullopt, "2", "3", "", "", "", "7", "8", "9", "P\xD8\xCD", std::nullopt};
  CVantrixData list;
  Add(list, first, 1);
  Add(list, incomplete);
  Add(list, third, 2);

  // The folders do not exist yet: the save makes them.
  const std::string path = Win("Vantrix\\Sub\\project.cad");
  ASSERT_TRUE(SaveNew(list, path));
  EXPECT_EQ(Bytes("Vantrix/Sub/project.cad"), Int32(3) + Stored(1, first) + Stored(0, incomplete) + Stored(2, third));
  EXPECT_TRUE(Boxes().empty());

  CVantrixData loaded;
  VantrixListLoad load = LoadVantrixDataList(loaded, path.c_str());
  EXPECT_EQ(load.found, VantrixListFound::kWhole);
  EXPECT_EQ(load.records, 2u);
  ASSERT_EQ(loaded.CSeznam::GetCount(), 2u) << "the record without field 9 is dropped";
  EXPECT_EQ(Contents(loaded), (std::vector<std::vector<std::string>>{Row(first), Row(third)}))
      << "unset fields come back empty";
  EXPECT_EQ(loaded.First()->marked, 1);
  EXPECT_EQ(loaded.First()->Next()->marked, 2) << "the marked byte is kept as stored";

  // A second save writes the read fields, all set now, over the old file.
  ASSERT_TRUE(SaveVantrixDataList(loaded, path.c_str(), load));
  Fields thirdRead = third;
  for (auto& f : thirdRead) f = f.value_or("");
  EXPECT_EQ(Bytes("Vantrix/Sub/project.cad"), Int32(2) + Stored(1, first) + Stored(2, thirdRead));
  EXPECT_EQ(FolderEntries("Vantrix/Sub"), std::vector<std::string>{"project.cad"}) << "no temporary file left";

  // Loading appends to what the list holds.
  LoadVantrixDataList(loaded, path.c_str());
  EXPECT_EQ(loaded.CSeznam::GetCount(), 4u);
}

TEST_F(VantrixListFile, AnEmptyListIsFourZeroBytesAndNothingToReadIsNoChange) {
  CVantrixData empty;
  ASSERT_TRUE(SaveNew(empty, Win("empty.cad")));
  EXPECT_EQ(Bytes("empty.cad"), std::string(4, '\0'));

  CVantrixData list;
  Add(list, Complete("kept", ""));
  Put("folder/inside", "x");
  Put("short.cad", std::string(3, '\0'));
  const std::pair<std::string, VantrixListFound> cases[] = {{Win("empty.cad"), VantrixListFound::kWhole},
                                                           {Win("missing.cad"), VantrixListFound::kAbsent},
                                                           {Win("gone\\missing.cad"), VantrixListFound::kAbsent},
                                                           {Win("folder"), VantrixListFound::kUnopenable},
                                                           {Win("short.cad"), VantrixListFound::kDamaged}};
  for (const auto& [path, found] : cases) {
    EXPECT_EQ(LoadVantrixDataList(list, path.c_str()).found, found) << path;
    EXPECT_EQ(list.CSeznam::GetCount(), 1u) << path;
  }
  LoadVantrixDataList(list, nullptr);
  EXPECT_EQ(list.CSeznam::GetCount(), 1u);
}

TEST_F(VantrixListFile, ADamagedFileGivesTheRecordsBeforeTheDamage) {
  const std::vector<Fields> records = {Complete("R1", "a"), Complete("R2", "bb"), Complete("R3", "ccc")};
  std::string file = Int32(3);
  std::vector<size_t> ends;  // where each record ends
  for (const Fields& r : records) {
    file += Stored(0, r);
    ends.push_back(file.size());
  }
  bool whole = true;  // what the last load said
  auto load = [&](const std::string& bytes) {
    Put("cut.cad", bytes);
    CVantrixData list;
    const VantrixListLoad load = LoadVantrixDataList(list, Win("cut.cad").c_str());
    whole = load.found == VantrixListFound::kWhole;
    EXPECT_EQ(load.records, list.CSeznam::GetCount());
    return Contents(list);
  };

  for (size_t length = 0; length <= file.size(); ++length) {
    std::vector<std::vector<std::string>> expected;
    for (size_t k = 0; k < records.size() && ends[k] <= length; ++k) expected.push_back(Row(records[k]));
    EXPECT_EQ(load(file.substr(0, length)), expected) << "cut after " << length << " bytes";
    // Only the empty file and the whole one are no damage.
    EXPECT_EQ(whole, length == 0 || length == file.size()) << "cut after " << length << " bytes";
  }

  // The count is not trusted either way; a wrong one is damage.
  EXPECT_EQ(load(Int32(INT32_MAX) + file.substr(4)).size(), 3u);
  EXPECT_FALSE(whole);
  EXPECT_EQ(load(Int32(2) + file.substr(4)).size(), 2u) << "what follows the counted records is not read";
  EXPECT_FALSE(whole);
  EXPECT_TRUE(load(Int32(-1) + file.substr(4)).empty());
  EXPECT_FALSE(whole);
  // A field length beyond the file's end, then one claiming 4 GB.
  std::string damaged = Int32(2) + Stored(0, records[0]) + std::string(1, '\0') + Int32(1) + Int32(1000) + "abc";
  EXPECT_EQ(load(damaged).size(), 1u);
  damaged = Int32(2) + Stored(0, records[0]) + std::string(1, '\0') + Int32(0x7FFFFFFF) + Int32(-1);
  EXPECT_EQ(load(damaged).size(), 1u);
}

TEST_F(VantrixListFile, AFailedSaveSaysSoAndKeepsTheOldList) {
  CVantrixData list;
  Add(list, Complete("R1", "a"));

  // A file where a folder should be.
  Put("blocked", "not a folder");
  const std::string blockedPath = Win("blocked\\Vantrix\\project.cad");
  EXPECT_FALSE(SaveNew(list, blockedPath));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Error while opening output stream\n\"" + blockedPath + "\"");
  EXPECT_EQ(Boxes()[0].type, 16u);
  EXPECT_EQ(Bytes("blocked"), "not a folder");

  // The disk fills up while the new list is written.
  const std::string path = Win("Vantrix\\project.cad");
  ASSERT_TRUE(SaveNew(list, path));
  const std::string old = Bytes("Vantrix/project.cad");
  VantrixListLoad whole{VantrixListFound::kWhole, 1};
  for (int i = 0; i < 50; ++i) Add(list, Complete("More", std::to_string(i)));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 256;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved_ok = SaveVantrixDataList(list, path.c_str(), whole);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved_ok);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].text, "Error while opening output stream\n\"" + path + "\"");
  EXPECT_EQ(Bytes("Vantrix/project.cad"), old) << "the old list is whole";
  EXPECT_EQ(FolderEntries("Vantrix"), std::vector<std::string>{"project.cad"}) << "the partial file is gone";

  // A folder of the list's name is left alone.
  fs::create_directories(root / "Vantrix" / "taken.cad" / "inside");
  EXPECT_FALSE(SaveNew(list, Win("Vantrix\\taken.cad")));
  EXPECT_TRUE(fs::is_directory(root / "Vantrix" / "taken.cad" / "inside"));
  EXPECT_EQ(FolderEntries("Vantrix").size(), 2u);
}

TEST_F(VantrixListFile, CadLinesBecomeRecordsOfEighteenFields) {
  std::string twenty;
  for (int i = 1; i <= 20; ++i) twenty += (i > 1 ? ";" : "") + std::to_string(i);
  // LF, CR LF and CR line ends; an empty line; the last line without an end.
  Put("in.cad", "I1;a;b;c;L;V;S;d;e;f;R1\n" "x;;\r\n" + twenty + "\r" "a;b;;d\n" "\n" "tail;");
  CVantrixData list;
  EXPECT_EQ(ImportVantrixCadFile(list, Win("IN.CAD").c_str()), 1);

  const std::string u = "(unset)";
  auto row = [&u](std::vector<std::string> given) {
    given.resize(18, u);
    return given;
  };
  std::vector<std::string> first20;
  for (int i = 1; i <= 18; ++i) first20.push_back(std::to_string(i));
  EXPECT_EQ(Contents(list), (std::vector<std::vector<std::string>>{
                                row({"I1", "a", "b", "c", "L", "V", "S", "d", "e", "f", "R1"}),
                                row({"x", "", ""}),
                                first20,
                                row({"a", "b", "", "d"}),
                                row({""}),
                                row({"tail", ""}),
                            }));
  for (const CVantrixData* r = list.First(); r; r = r->Next()) EXPECT_EQ(r->marked, 0);

  EXPECT_EQ(ImportVantrixCadFile(list, Win("missing.cad").c_str()), -1);
  EXPECT_EQ(list.CSeznam::GetCount(), 6u);
}

TEST_F(VantrixListFile, ALineHoldingCtrlZOrNulRefusesTheFileByItsNumber) {
  // Text, result, refused line, records; a last-byte Ctrl-Z is the old end mark.
  const std::tuple<std::string, int, int, size_t> cases[] = {
      {"a;b\r\nc\x1A;d\r\ne\r\n", 0, 2, 1}, {std::string("a\nb;\0c\n", 8), 0, 2, 1}, {"a;b\r\nc\x1A", 1, 0, 2},
      {"a\r\n\x1A\x1A", 0, 2, 1}};
  for (const auto& [text, result, line, records] : cases) {
    Put("control.cad", text);
    CVantrixData list;
    int refused = -1;
    EXPECT_EQ(ImportVantrixCadFile(list, Win("control.cad").c_str(), &refused), result) << text;
    EXPECT_EQ(refused, line) << text;
    EXPECT_EQ(list.CSeznam::GetCount(), records) << text;
  }
}

TEST_F(VantrixListFile, LongCadLinesAreOneRecordEach) {
  const std::string exact(1022, 'a');
  const std::string longer = std::string(3000, 'b') + "c;d";
  Put("long.cad", exact + "\r\n" + longer + "\n" + exact);
  CVantrixData list;
  EXPECT_EQ(ImportVantrixCadFile(list, Win("long.cad").c_str()), 1);
  std::vector<std::string> fields0;
  for (const CVantrixData* r = list.First(); r; r = r->Next()) fields0.push_back(r->Text(0));
  EXPECT_EQ(fields0, (std::vector<std::string>{exact, std::string(3000, 'b') + "c", exact}));
  EXPECT_EQ(list.First()->Next()->Text(1), std::string("d"));
}

TEST_F(VantrixListFile, AnImportedProjectKeepsItsCompleteRecordsThroughTheManagersSteps) {
  Put("project.cad", "I1;a;b;c;L;V;S;d;e;f;R1\r\nx;;\r\n");
  CVantrixData imported;
  ASSERT_EQ(ImportVantrixCadFile(imported, Win("project.cad").c_str()), 1);
  const std::string path = Win("Vantrix\\project.cad");
  ASSERT_TRUE(SaveNew(imported, path));
  EXPECT_EQ(Bytes("Vantrix/project.cad").size(), 186u) << "both records, unset fields with length 0";

  CVantrixData list;
  VantrixListLoad load = LoadVantrixDataList(list, path.c_str());
  ASSERT_EQ(list.CSeznam::GetCount(), 1u);
  list.First()->marked = 1;
  ASSERT_TRUE(SaveVantrixDataList(list, path.c_str(), load));
  EXPECT_EQ(Bytes("Vantrix/project.cad").size(), 112u) << "the complete record, its fields all set";
}

TEST_F(VantrixListFile, FoldersAreMadeParentsFirst) {
  Put("Dat/Jov.ini", "");
  Put("file", "");
  struct Case {
    std::string path;
    bool strip;
    bool result;
    const char* folder;  // what exists afterwards, null: nothing new
  } cases[] = {
      {Win("a\\b\\c\\list.cad"), true, true, "a/b/c"},
      {Win("a\\b\\c\\list.cad"), true, true, "a/b/c"},  // already there
      {Win("m/n\\o\\\\/"), false, true, "m/n/o"},
      {Win("DAT\\Vantrix\\x.cad"), true, true, "Dat/Vantrix"},  // found without regard to case
      {Win("file\\sub"), false, false, nullptr},
      {Win("file\\sub\\deeper\\x.cad"), true, false, nullptr},
      {"list.cad", true, false, nullptr},
      {"", false, false, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CreateFolderPath(c.path.c_str(), c.strip), c.result) << c.path;
    if (c.folder) {
      EXPECT_TRUE(fs::is_directory(root / c.folder)) << c.path;
    }
  }
  EXPECT_FALSE(fs::exists(root / "DAT"));
  EXPECT_FALSE(CreateFolderPath(nullptr, true));
  EXPECT_TRUE(CreateFolderPath("/list.cad", true)) << "the root is always there";
  std::vector<std::string> top = FolderEntries("");
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, (std::vector<std::string>{"Dat", "a", "file", "m"}));
}

}  // namespace
