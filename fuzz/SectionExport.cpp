#include "fuzz/SectionExport.h"

#include <utility>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"

namespace fuzz {

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (size_t at; (at = line.find(';', from)) != std::string::npos; from = at + 1) fields.push_back(line.substr(from, at - from));
  fields.push_back(line.substr(from));
  return fields;
}

}  // namespace

void CheckSectionExport(const CSecSezNew& list, const std::string& written, bool header) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = written.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(written.substr(from, at - from));
  FUZZ_CHECK(from == written.size(), "the export does not end with a line end");
  size_t at = 0;
  auto next = [&]() -> const std::string& {
    FUZZ_CHECK(at < lines.size(), "the export has too few lines");
    return lines[at++];
  };
  if (header) {
    FUZZ_CHECK(next() == "CP" && next() == "2", "the export's header");
  }
  for (POSITION p = list.m_branchNames.GetHeadPosition(); p;) {
    const std::string name = Std(list.m_branchNames.GetNext(p));
    FUZZ_CHECK(next() == "#vetev;" + name, "a branch line is not the branch's name");
    for (const CSecDataNew* s = list.GetFirstSection(); s; s = s->GetNextSection()) {
      if (Std(s->m_branchName) != name) continue;
      const std::string fourth = Std(!s->m_connectedBranch.IsEmpty() || s->m_connect == 0 ? s->m_connectedBranch
                                                                                           : s->m_neighbour);
      for (const auto& [lineName, length] : {std::pair{s->m_pName, s->m_pLength}, std::pair{s->m_zName, s->m_zLength}}) {
        const std::vector<std::string> expected = {
            std::to_string(s->m_number), std::to_string(s->m_connect), Std(lineName.ToCString()), fourth, Std(s->m_CT),
            Std(s->m_productFields[0]), Std(s->m_productFields[1]), Std(s->m_productFields[2]),
            Std(s->m_productFields[3]), Std(length.ToCString())};
        FUZZ_CHECK(Fields(next()) == expected, "a section line does not hold the section: " + lines[at - 1]);
      }
    }
  }
  FUZZ_CHECK(at == lines.size(), "the export has lines of nothing");
}

}  // namespace fuzz
