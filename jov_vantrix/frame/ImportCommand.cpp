#include "jov_vantrix/frame/ImportCommand.h"

#include <string>
#include <utility>

#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecDataNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/CalculationImport.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/network/SectionFile.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

namespace {

// Ends the change the command has made nothing of (when the host has
// changes at all).
void CancelChange(const HostExport2D* host) {
  if (HostBeginChange(host)) HostEndChange(host, -1);
}

// Why a file read whole may still not be applied: its message and what it
// names; 0 when it may.
UINT FileRefusal(const SectionFileReport& report, CString& what) {
  // Read no further than the damaged line: what follows is unknown.
  const std::pair<const CString*, UINT> faults[] = {
      {&report.controlByte, IDS_RESULT_FILE_CONTROL_BYTE},
      {&report.badNumber, IDS_RESULT_SECTION_NUMBER_BAD},
      {&report.malformed, IDS_RESULT_FILE_MALFORMED},
      {&report.repeated, IDS_RESULT_FILE_REPEATED},
      {&report.tooLong, IDS_RESULT_VALUE_TOO_LONG},
      {&report.notFinite, IDS_RESULT_VALUE_NOT_FINITE},
  };
  for (const auto& [list, message] : faults)
    if (!list->IsEmpty()) {
      what = *list;
      return message;
    }
  return 0;
}

std::string ResourceText(UINT id, const std::string& arg) {
  char format[512] = "";
  LoadStringA(AfxGetResourceHandle(), id, format, sizeof format);
  return FormatResourceText(format, arg.c_str());
}

void AddPart(std::string& parts, UINT id, const std::string& list) {
  if (list.empty()) return;
  if (!parts.empty()) parts += "; ";
  parts += ResourceText(id, list);
}

// What of the file and of the applied branches the import did not match:
// pipes without a section, branches and sections of the file no pipe
// took; empty when everything matched. Names are quoted, so that a
// trailing space shows.
std::string UnappliedText(const CSecSezNew& file, const CStringArray& appliedBranches,
                          const ImportAccount& account) {
  std::string pipes;
  for (const auto& [branch, numbers] : account.PipesWithoutSection())
    for (int number : numbers)
      pipes += (pipes.empty() ? "" : ", ") + std::to_string(number) + " ('" + branch + "')";
  std::string branches;
  std::string sections;
  for (const CSecSezNew* b = file.GetFirstBranch(); b; b = b->GetNextBranch()) {
    bool applied = false;
    for (INT_PTR i = 0; i < appliedBranches.GetSize() && !applied; ++i) applied = appliedBranches[i] == b->m_name;
    if (!applied) {
      branches += (branches.empty() ? "'" : ", '") + std::string(b->m_name.GetString()) + "'";
      continue;
    }
    for (const CSecDataNew* s = b->GetFirstSection(); s; s = s->GetNextSection())
      if (!account.usedSections.count(s) && !account.riserSideSections.count(s))
        sections += (sections.empty() ? "" : ", ") + std::to_string(s->m_number) + " ('" +
                    b->m_name.GetString() + "')";
  }
  std::string parts;
  AddPart(parts, IDS_IMPORT_PIPES_WITHOUT_SECTION, pipes);
  AddPart(parts, IDS_IMPORT_BRANCHES_UNMATCHED, branches);
  AddPart(parts, IDS_IMPORT_SECTIONS_UNMATCHED, sections);
  return parts;
}

}  // namespace

void ImportCalculationResults(JovCutParams& params) {
  const HostExport2D* host = TheApp().m_pHostTable;
  const HWND owner = HostMainWindow(host);

  CObjSezNew list;
  const int read = ReadImportNetwork(list);
  if (read == 0)
    MessageBoxRes(owner, IDS_NO_SCHEME, MB_ICONHAND);
  else if (read != 1)
    MessageBoxRes(owner, IDS_SEVERAL_SCHEMES, MB_ICONHAND);

  char filter[256] = "";
  LoadStringA(AfxGetResourceHandle(), IDS_FILTER_RESULT_FILES, filter, sizeof filter);
  DWORD size = 0;
  GetOpenFileNameStructSize(nullptr, &size);
  CFileDialog dialog(TRUE, "", "", OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, filter, CWnd::FromHandle(owner), size);
  if (read != 1 || dialog.DoModal() != IDOK) {
    CancelChange(host);
    return;
  }

  CSecSezNew branches;
  SectionFileReport report;
  const int version = ReadSectionFile(branches, dialog.GetPathName(), &report);
  if (version != 2) {
    CancelChange(host);
    MessageBoxRes(owner, IDS_RESULT_FILE_UNREADABLE, MB_ICONHAND);
    return;
  }
  // A section number that is none, a cut section, a repeated line, an
  // over-long value or a number that is none would write what the
  // calculation did not mean: nothing of such a file is applied.
  CString refused;
  if (const UINT message = FileRefusal(report, refused)) {
    CancelChange(host);
    MessageBoxRes(owner, message, MB_ICONHAND, refused);
    return;
  }

  int applied = 0;
  ImportAccount account;
  CStringArray appliedBranches;
  for (INT_PTR i = 0; i < list.m_texts.GetSize(); ++i) {
    CStringArray assocs;
    CollectSchemeAssocs(list, list.m_texts[i], assocs);
    if (assocs.GetSize() != 1) continue;
    params.m_schemeStamp = assocs[0];
    CSecSezNew* branch = FindSectionBranch(branches, list.m_texts[i]);
    const int took = ApplyImportedSections(list, params, branch, version, &report, &account);
    if (took == kImportNoPropertyNames) {
      CancelChange(host);
      MessageBoxRes(owner, IDS_IMPORT_NO_PROPERTY_NAMES, MB_ICONHAND);
      return;
    }
    if (branch) appliedBranches.Add(list.m_texts[i]);
    applied += took;
  }

  BeginWrittenChange();
  if (applied == 0) {
    // Nothing of the file fits the selection: no success to report.
    HostEndChange(host, -1);
    MessageBoxRes(owner, IDS_NOTHING_IMPORTED, MB_ICONHAND);
    return;
  }
  if (StoreNetworkXData(list) != 1) {
    HostEndChange(host, -1);
    MessageBoxRes(owner, IDS_PIPES_NOT_PROCESSED, MB_ICONHAND);
    return;
  }
  WriteRecordsToDrawing(list, false);
  if (EndWrittenChange(1) != 1) return;
  // Said beside the success, once: what of the file and of the applied
  // branches did not meet.
  const std::string unapplied = UnappliedText(branches, appliedBranches, account);
  if (!unapplied.empty()) MessageBoxRes(owner, IDS_IMPORT_PARTIAL, MB_ICONWARNING, unapplied.c_str());
}
