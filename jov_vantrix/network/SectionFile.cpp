#include "jov_vantrix/network/SectionFile.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/ValueRules.h"
#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "platform/mfc/CStdioFile.h"
#include "platform/win32/file_replace.h"
#include "platform/win32/file_system.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

void AppendField(std::string& text, const CString& field) {
  text.append(field.GetString(), static_cast<size_t>(field.GetLength()));
}

void AppendField(std::string& text, const RecordText& field) {
  text.append(field.GetString(), static_cast<size_t>(field.GetLength()));
}

// "%d;" without a string of its own (four of these for every section).
void AppendNumber(std::string& text, int number) {
  char digits[16];
  char* end = std::to_chars(digits, digits + sizeof digits - 1, number).ptr;
  *end++ = ';';
  text.append(digits, static_cast<size_t>(end - digits));
}

void AppendLine(std::string& text, const CSecDataNew& s, const RecordText& name, const RecordText& length) {
  const RecordText& fourth = !s.m_connectedBranch.IsEmpty() || s.m_connect == 0 ? s.m_connectedBranch
                                                                             : s.m_neighbour;
  AppendNumber(text, s.m_number);
  AppendNumber(text, s.m_connect);
  AppendField(text, name);
  text += ';';
  AppendField(text, fourth);
  text += ';';
  AppendField(text, s.m_CT);
  text += ';';
  for (const RecordText& field : s.m_productFields) {
    AppendField(text, field);
    text += ';';
  }
  AppendField(text, length);
  text += kLineEnd;
}

CString FolderOf(const char* path) {
  const CString target(path);
  const int cut = std::max(target.ReverseFind('\\'), target.ReverseFind('/'));
  return cut < 0 ? CString(".") : target.Left(cut);
}

// The whole content of a file; false when it cannot be opened.
bool ReadFileBytes(const char* path, std::string& out) {
  out.clear();
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) return false;
  char buffer[65536];
  for (UINT n; (n = file.Read(buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  file.Close();
  return true;
}

// Where the next ';' of a line is, or null.
const char* NextSeparator(const char* text) { return std::strchr(text, ';'); }

void CutZeroFraction(CString& value) {
  const int dot = value.Find('.');
  if (dot < 0) return;
  for (int i = dot + 1; i < value.GetLength(); ++i)
    if (value[i] != '0') return;
  value = value.Left(dot);
}

// The applied values that are the calculation's numbers: all but value 1
// (not applied), values 3 and 4 (the insulation's product and name) and
// value 7 (the valve), which are names; the other line applies 0 to 5 only.
bool IsNumberValue(bool supply, int i) { return i != 1 && i != 3 && i != 4 && i != 7 && (supply || i <= 5); }

// Read after the zero fraction is cut: "nan.000" is a name no longer.
bool HoldsNonFiniteNumber(const CStringArray& values, bool supply) {
  for (int i = 0; i < values.GetSize(); ++i)
    if (IsNumberValue(supply, i) && ReadsAsNonFiniteNumber(values[i])) return true;
  return false;
}

}  // namespace

void AppendSectionRecord(const CSecDataNew& section, std::string& text) {
  AppendLine(text, section, section.m_pName, section.m_pLength);
  AppendLine(text, section, section.m_zName, section.m_zLength);
}

void WriteSectionRecord(const CSecDataNew& section, CStdioFile& file) {
  std::string text;
  AppendSectionRecord(section, text);
  file.Write(text.data(), static_cast<UINT>(text.size()));
}

bool WriteSectionFile(const CSecSezNew& sections, const char* path, bool append) {
  if (!path || !*path) return false;
  std::string text;
  if (append) {
    // An existing file's content; none when there is no file. A file that is
    // there but cannot be read is not replaced by the new sections alone.
    if (!ReadFileBytes(path, text) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return false;
  } else {
    text = "CP";
    text += kLineEnd;
    text += "2";
    text += kLineEnd;
  }

  // Each branch's sections in list order, looked up once per name; a run
  // of one branch's sections (a group's) is looked up once.
  std::unordered_map<std::string_view, std::vector<const CSecDataNew*>> byBranch;
  std::vector<const CSecDataNew*>* run = nullptr;
  std::string_view runName;
  size_t count = 0;
  for (const CSecDataNew* s = sections.GetFirstSection(); s; s = s->GetNextSection(), ++count) {
    const std::string_view name(s->m_branchName.GetString(), static_cast<size_t>(s->m_branchName.GetLength()));
    if (!run || name != runName) {
      run = &byBranch[name];
      runName = name;
    }
    run->push_back(s);
  }
  // Room for the usual two short lines a section, so that the text of tens
  // of thousands is not copied again each time it outgrows its room.
  text.reserve(text.size() + count * 128 + static_cast<size_t>(sections.m_branchNames.GetCount()) * 32);
  POSITION at = sections.m_branchNames.GetHeadPosition();
  while (at) {
    const CString& name = sections.m_branchNames.GetNext(at);
    text += "#vetev;";
    AppendField(text, name);
    text += kLineEnd;
    auto found = byBranch.find(std::string_view(name.GetString(), static_cast<size_t>(name.GetLength())));
    if (found == byBranch.end()) continue;
    for (const CSecDataNew* s : found->second) AppendSectionRecord(*s, text);
  }
  // Replaced whole: a link to the file stays one, the file keeps its mode.
  return win32::ReplaceSystemFile(path, text);
}

bool CanCreateSectionFile(const char* path) {
  if (!path || !*path) return false;
  // The target itself: a file that may be written (not a folder), or none.
  // Whether it is there is asked without opening it: a file that may be
  // written but not read is there, and stays.
  const DWORD attributes = GetFileAttributesA(path);
  const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
  if (existed && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  CFile probe;
  if (!probe.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate)) return false;
  probe.Close();
  if (!existed) DeleteFileA(path);
  // The folder, where the new file is written before it takes the place.
  char temp[MAX_PATH];
  if (!GetTempFileNameA(FolderOf(path), "jov", 0, temp)) return false;
  DeleteFileA(temp);
  return true;
}

namespace {

// The lines a section was read from, to tell whether it is whole.
struct SectionLines {
  CSecDataNew* section = nullptr;
  int supplyLine = 0;  // line numbers, 0 while the line is missing
  int otherLine = 0;
  int brokenLine = 0;  // the first line of the section that is not whole
  int texts = 4;
};

void Report(const std::vector<SectionLines>& read, SectionFileReport& report) {
  report.malformed.Empty();
  report.textsHeld.clear();
  for (const SectionLines& s : read) {
    if (s.texts < 4) report.textsHeld[s.section] = s.texts;
    const int line = s.brokenLine        ? s.brokenLine
                     : !s.supplyLine     ? s.otherLine
                     : !s.otherLine      ? s.supplyLine
                                         : 0;
    if (!line) continue;
    CString entry;
    entry.Format("%d (line %d)", s.section->m_number, line);
    if (!report.malformed.IsEmpty()) report.malformed += ", ";
    report.malformed += entry;
  }
}

}  // namespace

int ReadSectionFile(CSecSezNew& root, const char* path, SectionFileReport* report) {
  // Read as bytes: a text-mode read would end at a Ctrl-Z and cut a line at
  // a NUL without a word, and the rest of the file would be lost unnoticed.
  std::string bytes;
  if (!path || !ReadFileBytes(path, bytes)) return 0;
  if (!bytes.empty() && bytes.back() == '\x1A') bytes.pop_back();
  // Whole lines, however long: a piece of a line is never taken as a record.
  std::string_view rest(bytes);
  std::string text;
  int lineNumber = 0;
  bool atEnd = rest.empty();
  auto next = [&]() -> bool {
    if (atEnd) return false;
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (end == std::string_view::npos) {
      atEnd = true;
    } else {
      rest.remove_prefix(end + 1);
      atEnd = rest.empty();
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    text.assign(line);
    ++lineNumber;
    return true;
  };
  auto clean = [&]() { return text.find_first_of(std::string_view("\0\x1A", 2)) == std::string::npos; };
  if (!next() || !clean() || text != "PC" || !next() || !clean() || AtoiC(text.c_str()) != 2) return 0;

  SectionFileReport found;
  auto note = [&](CString& list, const CString& entry) {
    if (!list.IsEmpty()) list += ", ";
    list += entry;
  };
  auto lineText = [&]() {
    CString entry;
    entry.Format("line %d", lineNumber);
    return entry;
  };
  CSecSezNew* branch = nullptr;
  std::unordered_map<std::string, int> branchLines;
  // The current branch's sections by number: the reader never makes two of
  // one number in a branch, so this finds what a scan would.
  std::unordered_map<int, size_t> numbered;
  std::vector<SectionLines> read;
  while (next()) {
    if (!clean()) {
      found.controlByte = lineText();
      break;
    }
    const char* line = text.c_str();
    if (std::strstr(line, "#vetev;")) {
      branch = new CSecSezNew;
      branch->m_name = NextSeparator(line) + 1;
      root.AddTail(branch);
      numbered.clear();
      if (!branchLines.emplace(branch->m_name.GetString(), lineNumber).second) {
        CString entry;
        entry.Format("branch %s (line %d)", branch->m_name.GetString(), lineNumber);
        note(found.repeated, entry);
      }
      continue;
    }
    const char* separator = std::strchr(line, ';');
    if (!separator || !branch) continue;
    const CString field(line, static_cast<int>(separator - line));
    int number = AtoiC(field);
    // atoi would take "3.9" for section 3 and "0x5" for section 0.
    if (!ReadWholeInt(field, number)) note(found.badNumber, lineText());
    auto [at, added] = numbered.emplace(number, read.size());
    if (added) {
      auto* section = new CSecDataNew(number);
      section->SizeValues();
      branch->AddTail(section);
      read.push_back(SectionLines{section});
    }
    SectionLines& lines = read[at->second];
    // A second line of one side would overwrite the first unseen.
    const bool supply = separator[1] == 'P';
    if (supply ? lines.supplyLine : lines.otherLine) {
      CString entry;
      entry.Format("%d (line %d)", number, lineNumber);
      note(found.repeated, entry);
    }
    const SectionLineRead got = ParseSectionRecord(*lines.section, separator + 1, 2);
    (got.supply ? lines.supplyLine : lines.otherLine) = lineNumber;
    if (got.supply) lines.texts = got.texts;
    if (!got.whole && !lines.brokenLine) lines.brokenLine = lineNumber;
    if (got.tooLong) note(found.tooLong, lineText());
    if (got.notFinite) note(found.notFinite, lineText());
  }
  if (report) {
    Report(read, found);
    *report = std::move(found);
  }
  return 2;
}

SectionLineRead ParseSectionRecord(CSecDataNew& section, const char* rest, int) {
  SectionLineRead got;
  if (!rest) return got;
  got.supply = rest[0] == 'P';
  const char* kindEnd = NextSeparator(rest);
  if (!kindEnd) return got;
  const char* name = kindEnd + 1;
  const char* nameEnd = NextSeparator(name);
  if (!nameEnd) return got;
  const bool supply = got.supply;
  (supply ? section.m_pName : section.m_zName) = CString(name, static_cast<int>(nameEnd - name));
  got.tooLong = nameEnd - name > kMaxAppliedValue;
  section.m_pValues.SetSize(CSecDataNew::kValues);
  section.m_zValues.SetSize(CSecDataNew::kValues);
  CStringArray& values = supply ? section.m_pValues : section.m_zValues;

  const char* cursor = nameEnd + 1;
  int stored = 0;
  bool cut = false;  // a value without its ';': the rest of the line is not read
  for (int i = 0; i < CSecDataNew::kValues && *cursor && !cut; ++i) {
    const char* end = NextSeparator(cursor);
    if (end) {
      values[i] = CString(cursor, static_cast<int>(end - cursor));
      // Value 1, and the other line's values beyond 5, are not applied.
      if (i != 1 && (supply || i <= 5) && end - cursor > kMaxAppliedValue) got.tooLong = true;
      cursor = end + 1;
      ++stored;
    }
    cut = !end;
  }
  // The other line's values beyond 5 are not applied.
  got.whole = stored >= (supply ? CSecDataNew::kValues : 6);
  if (!supply) {
    got.notFinite = HoldsNonFiniteNumber(values, false);
    return got;
  }
  for (int j = 0; j < 4 && *cursor && !cut; ++j) {
    const char* end = NextSeparator(cursor);
    const char* stop = end ? end : cursor + std::strlen(cursor);
    section.m_productFields[j] = CString(cursor, static_cast<int>(stop - cursor));
    if (stop - cursor > kMaxAppliedValue) got.tooLong = true;
    cursor = end ? end + 1 : stop;
    ++got.texts;
  }
  CutZeroFraction(section.m_pValues[9]);
  got.notFinite = HoldsNonFiniteNumber(values, true);
  return got;
}

CSecDataNew* FindSectionRecord(const CSecSezNew& branch, int number) {
  for (CSecDataNew* s = branch.GetFirstSection(); s; s = s->GetNextSection())
    if (s->m_number == number) return s;
  return nullptr;
}

CSecSezNew* FindSectionBranch(const CSecSezNew& root, const CString& name) {
  for (CSecSezNew* b = root.GetFirstBranch(); b; b = b->GetNextBranch())
    if (b->m_name == name) return b;
  return nullptr;
}
