#include "jov_vantrix/network/SectionFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/NumberText.h"
#include "platform/mfc/CStdioFile.h"
#include "platform/win32/file_system.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

void AppendField(std::string& text, const CString& field) {
  text.append(field.GetString(), static_cast<size_t>(field.GetLength()));
}

void AppendLine(std::string& text, const CSecDataNew& s, const CString& name, const CString& length) {
  const CString& fourth = !s.m_connectedBranch.IsEmpty() || s.m_connect == 0 ? s.m_connectedBranch
                                                                             : s.m_neighbour;
  text += std::to_string(s.m_number);
  text += ';';
  text += std::to_string(s.m_connect);
  text += ';';
  AppendField(text, name);
  text += ';';
  AppendField(text, fourth);
  text += ';';
  AppendField(text, s.m_CT);
  text += ';';
  for (const CString& field : s.m_productFields) {
    AppendField(text, field);
    text += ';';
  }
  AppendField(text, length);
  text += kLineEnd;
}

// The whole content of an existing file; empty when there is none.
void ReadWholeFile(const char* path, std::string& out) {
  out.clear();
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) return;
  char buffer[65536];
  for (UINT n; (n = file.Read(buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  file.Close();
}

CString FolderOf(const char* path) {
  const CString target(path);
  const int cut = std::max(target.ReverseFind('\\'), target.ReverseFind('/'));
  return cut < 0 ? CString(".") : target.Left(cut);
}

// Writes text to a new file beside path and puts it in path's place.
bool ReplaceFile(const char* path, const std::string& text) {
  const CString folder = FolderOf(path);
  char temp[MAX_PATH];
  if (!GetTempFileNameA(folder, "jov", 0, temp)) return false;
  CFile file;
  if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
    DeleteFileA(temp);
    return false;
  }
  file.Write(text.data(), static_cast<UINT>(text.size()));
  file.Flush();
  // The length on disk tells whether every byte got there.
  const bool whole = file.GetLength() == text.size();
  file.Close();
  if (!whole || !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temp);
    return false;
  }
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
    ReadWholeFile(path, text);
  } else {
    text = "CP";
    text += kLineEnd;
    text += "2";
    text += kLineEnd;
  }

  // Each branch's sections in list order, looked up once per name.
  std::unordered_map<std::string_view, std::vector<const CSecDataNew*>> byBranch;
  for (const CSecDataNew* s = sections.GetFirstSection(); s; s = s->GetNextSection())
    byBranch[std::string_view(s->m_branchName.GetString(), static_cast<size_t>(s->m_branchName.GetLength()))]
        .push_back(s);
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
  return ReplaceFile(path, text);
}

bool CanCreateSectionFile(const char* path) {
  if (!path || !*path) return false;
  // The target itself: a file that may be written (not a folder), or none.
  CFile probe;
  const bool existed = probe.Open(path, CFile::modeRead);
  if (existed) probe.Close();
  if (!probe.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate)) return false;
  probe.Close();
  if (!existed) DeleteFileA(path);
  // The folder, where the new file is written before it takes the place.
  char temp[MAX_PATH];
  if (!GetTempFileNameA(FolderOf(path), "jov", 0, temp)) return false;
  DeleteFileA(temp);
  return true;
}

int ReadSectionFile(CSecSezNew& root, const char* path) {
  CStdioFile file;
  if (!path || !file.Open(path, CFile::modeRead | CFile::typeText)) return 0;
  char line[2048];
  auto next = [&]() -> bool {
    if (!file.ReadString(line, sizeof line)) return false;
    if (char* end = std::strchr(line, '\n')) *end = '\0';
    return true;
  };
  if (!next() || std::strcmp(line, "PC") != 0 || !next() || ParseDecimal(line) != 2) {
    file.Close();
    return 0;
  }

  CSecSezNew* branch = nullptr;
  // The current branch's sections by number: the reader never makes two of
  // one number in a branch, so this finds what a scan would.
  std::unordered_map<int, CSecDataNew*> numbered;
  while (next()) {
    if (std::strstr(line, "#vetev;")) {
      branch = new CSecSezNew;
      branch->m_name = NextSeparator(line) + 1;
      root.AddTail(branch);
      numbered.clear();
      continue;
    }
    char* separator = std::strchr(line, ';');
    if (!separator || !branch) continue;
    *separator = '\0';
    const int number = ParseDecimal(line);
    CSecDataNew*& section = numbered[number];
    if (!section) {
      section = new CSecDataNew(number);
      branch->AddTail(section);
    }
    ParseSectionRecord(*section, separator + 1, 2);
  }
  file.Close();
  return 2;
}

void ParseSectionRecord(CSecDataNew& section, const char* rest, int) {
  if (!rest) return;
  const char* kindEnd = NextSeparator(rest);
  if (!kindEnd) return;
  const char* name = kindEnd + 1;
  const char* nameEnd = NextSeparator(name);
  if (!nameEnd) return;
  const bool supply = rest[0] == 'P';
  (supply ? section.m_pName : section.m_zName) = CString(name, static_cast<int>(nameEnd - name));
  section.m_pValues.SetSize(CSecDataNew::kValues);
  section.m_zValues.SetSize(CSecDataNew::kValues);
  CStringArray& values = supply ? section.m_pValues : section.m_zValues;

  const char* cursor = nameEnd + 1;
  bool cut = false;  // a value without its ';': the rest of the line is not read
  for (int i = 0; i < CSecDataNew::kValues && *cursor && !cut; ++i) {
    const char* end = NextSeparator(cursor);
    if (end) {
      values[i] = CString(cursor, static_cast<int>(end - cursor));
      cursor = end + 1;
    }
    cut = !end;
  }
  if (!supply) return;
  for (int j = 0; j < 4 && *cursor && !cut; ++j) {
    const char* end = NextSeparator(cursor);
    const char* stop = end ? end : cursor + std::strlen(cursor);
    section.m_productFields[j] = CString(cursor, static_cast<int>(stop - cursor));
    cursor = end ? end + 1 : stop;
  }
  CutZeroFraction(section.m_pValues[9]);
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
