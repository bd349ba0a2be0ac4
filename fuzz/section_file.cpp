// The section exchange file: a result file read into branches of sections,
// and the export written from them. What reads is read alike with CR LF or
// LF line ends; a branch never holds two sections of one number and the
// look-ups find what a walk finds; no value read holds a ';' or a line
// feed; the report names the sections that lack a line or values and the
// 'P' lines that lack texts, and only sections of the file. The sections
// read, given to the writer as an export, come out
// field for field in the "CP" file, and appending adds the same branches
// again without the header. Every line also goes through the record parser
// alone.
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/SectionExport.h"
#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/SectionFile.h"

namespace {

using fuzz::Std;

// A read file as text to compare: branches, sections and every value.
std::string Describe(const CSecSezNew& root) {
  std::string out;
  for (const CSecSezNew* b = root.GetFirstBranch(); b; b = b->GetNextBranch()) {
    out += "[" + Std(b->m_name) + "]";
    for (const CSecDataNew* s = b->GetFirstSection(); s; s = s->GetNextSection()) {
      out += " " + std::to_string(s->m_number) + ":" + Std(s->m_pName.ToCString()) + "/" + Std(s->m_zName.ToCString());
      for (const CStringArray* values : {&s->m_pValues, &s->m_zValues}) {
        out += "|";
        for (INT_PTR i = 0; i < values->GetSize(); ++i) out += Std((*values)[i]) + ",";
      }
      out += "|";
      for (const RecordText& f : s->m_productFields) out += Std(f) + ",";
    }
  }
  return out;
}

bool Plain(const CString& value) {
  return Std(value).find_first_of(";\n") == std::string::npos;
}

void CheckSection(const CSecDataNew& s) {
  FUZZ_CHECK(s.m_pValues.GetSize() == CSecDataNew::kValues && s.m_zValues.GetSize() == CSecDataNew::kValues,
             "a section read has not fifteen values a side");
  FUZZ_CHECK(Plain(s.m_pName.ToCString()) && Plain(s.m_zName.ToCString()), "a name holds a separator");
  for (INT_PTR i = 0; i < CSecDataNew::kValues; ++i)
    FUZZ_CHECK(Plain(s.m_pValues[i]) && Plain(s.m_zValues[i]), "a value holds a separator");
  for (const RecordText& f : s.m_productFields) FUZZ_CHECK(Plain(f.ToCString()), "a text holds a separator");
  const std::string nine = Std(s.m_pValues[9]);
  const size_t dot = nine.find('.');
  FUZZ_CHECK(dot == std::string::npos || nine.find_first_not_of('0', dot + 1) != std::string::npos,
             "value 9 kept its zero fraction: " + nine);
}

void CheckStructure(const CSecSezNew& root) {
  for (const CSecSezNew* b = root.GetFirstBranch(); b; b = b->GetNextBranch()) {
    FUZZ_CHECK(Std(b->m_name).find('\n') == std::string::npos, "a branch name holds a line end");
    const CSecSezNew* first = root.GetFirstBranch();
    while (first->m_name != b->m_name) first = first->GetNextBranch();
    FUZZ_CHECK(FindSectionBranch(root, b->m_name) == first, "the branch look-up misses the first of its name");
    for (const CSecDataNew* s = b->GetFirstSection(); s; s = s->GetNextSection()) {
      FUZZ_CHECK(FindSectionRecord(*b, s->m_number) == s, "a branch holds two sections numbered " +
                                                              std::to_string(s->m_number));
      CheckSection(*s);
    }
  }
}

void CheckReport(const CSecSezNew& root, const SectionFileReport& report) {
  size_t sections = 0;
  for (const CSecSezNew* b = root.GetFirstBranch(); b; b = b->GetNextBranch())
    for (const CSecDataNew* s = b->GetFirstSection(); s; s = s->GetNextSection()) {
      ++sections;
      // A section without both names read lacks a line or values.
      if (s->m_pName == "0" && s->m_zName == "0" && s->m_pValues.GetSize() == 0)
        FUZZ_CHECK(!report.malformed.IsEmpty(), "a section of no line read is not reported");
      auto held = report.textsHeld.find(s);
      FUZZ_CHECK(held == report.textsHeld.end() || (held->second >= 0 && held->second < 4),
                 "a 'P' line holds a count of texts out of range");
    }
  FUZZ_CHECK(report.textsHeld.size() <= sections, "texts reported of sections not read");
  FUZZ_CHECK(Std(report.malformed).find_first_of(";\n") == std::string::npos, "the report holds a separator");
}

// The file with CR LF as LF. (Not a fixed point: a CR left before a line
// feed pairs with it when read again.)
std::string AsTextMode(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) out += bytes[i];
  return out;
}

std::string Read(const std::string& bytes, int expectedVersion) {
  const std::string path = fuzz::WriteScratchFile("result.txt", bytes);
  CSecSezNew root;
  FUZZ_CHECK(ReadSectionFile(root, path.c_str()) == expectedVersion, "the version reads otherwise");
  return Describe(root);
}

// The export the writer is given: one section per section read, its fields
// taken from the values read.
void BuildExport(const CSecSezNew& root, CSecSezNew& out) {
  for (const CSecSezNew* b = root.GetFirstBranch(); b; b = b->GetNextBranch()) {
    out.m_branchNames.AddTail(b->m_name);
    for (const CSecDataNew* s = b->GetFirstSection(); s; s = s->GetNextSection()) {
      auto* e = new CSecDataNew(s->m_number);
      e->m_connect = s->m_number % 3 == 0 ? 0 : s->m_number / 2;
      e->m_branchName = b->m_name;
      e->m_connectedBranch = s->m_pValues[4];
      e->m_neighbour = s->m_zValues[4];
      e->m_CT = s->m_pValues[1];
      for (int i = 0; i < 4; ++i) e->m_productFields[i] = s->m_productFields[i];
      e->m_pName = s->m_pName;
      e->m_zName = s->m_zName;
      e->m_pLength = s->m_pValues[2];
      e->m_zLength = s->m_zValues[2];
      out.AddTail(e);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz::Text(data, size);
  const std::string path = fuzz::WriteScratchFile("result.txt", input);
  CSecSezNew root;
  SectionFileReport report;
  const int version = ReadSectionFile(root, path.c_str(), &report);
  FUZZ_CHECK(version == 0 || version == 2, "a version that is neither 0 nor 2");
  CheckReport(root, report);
  FUZZ_CHECK(version == 2 || !root.GetFirstBranch(), "a file not read gave branches");
  // A Ctrl-Z or NUL inside a file that was read is named, never passed over.
  std::string_view inside = input;
  if (!inside.empty() && inside.back() == '\x1A') inside.remove_suffix(1);
  if (version == 2 && inside.find_first_of(std::string_view("\0\x1A", 2)) != std::string_view::npos)
    FUZZ_CHECK(!report.controlByte.IsEmpty(), "a Ctrl-Z or NUL in the file is not reported");
  CheckStructure(root);
  const std::string read = Describe(root);

  // What the reader sees, with every line end written as CR LF, reads the
  // same: CR LF and LF are one line end.
  const std::string lineFeeds = AsTextMode(input);
  std::string crlf;
  for (char c : lineFeeds) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  FUZZ_CHECK(Read(crlf, version) == read, "the file with CR LF reads otherwise");

  for (const std::string& line : fuzz::Lines(lineFeeds)) {
    CSecDataNew section(1);
    ParseSectionRecord(section, line.c_str(), 2);
    if (section.m_pValues.GetSize()) CheckSection(section);
  }

  if (version != 2) return 0;
  CSecSezNew exported;
  BuildExport(root, exported);
  const std::string exportPath = fuzz::ScratchFolder() + "/export.txt";
  FUZZ_CHECK(WriteSectionFile(exported, exportPath.c_str(), false), "the export is not written");
  const std::string written = fuzz::FileBytes(exportPath);
  fuzz::CheckSectionExport(exported, written, true);
  FUZZ_CHECK(WriteSectionFile(exported, exportPath.c_str(), true), "the export is not appended");
  const std::string appended = fuzz::FileBytes(exportPath);
  FUZZ_CHECK(appended.size() >= written.size() && appended.compare(0, written.size(), written) == 0,
             "appending changed what was there");
  fuzz::CheckSectionExport(exported, appended.substr(written.size()), false);
  return 0;
}
