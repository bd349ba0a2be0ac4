#include "jov_vantrix/network/RecordWriteBack.h"

#include <cctype>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "common/CDravikFunc.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/CommandHost.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

namespace {

bool IsZero(const GLVector& v) { return v.x == 0.0 && v.y == 0.0 && v.z == 0.0; }

CObjDataNew* RecordAt(const CPtrArray& array, INT_PTR i) { return static_cast<CObjDataNew*>(array[i]); }

// Names without regard to case: plain ASCII names (all the system's own)
// compare byte by byte; others through the code page.
bool SameName(const char* text, const char* name, bool asciiName) {
  if (!asciiName) return _mbsicmp(text, name) == 0;
  for (; *name; ++text, ++name) {
    const unsigned char a = static_cast<unsigned char>(*text);
    const unsigned char b = static_cast<unsigned char>(*name);
    if (a != b && !(a < 128 && std::tolower(a) == std::tolower(b))) return false;
  }
  return *text == '\0';
}

bool IsAsciiName(const char* name) {
  for (const char* c = name; *c; ++c)
    if (static_cast<unsigned char>(*c) >= 128) return false;
  return true;
}

bool NamesApplication(const resbuf* node, const char* name, bool asciiName) {
  return node->code == 1001 && node->value.text && SameName(node->value.text, name, asciiName);
}

template <typename Node>
int FindApplicationIn(Node** cursor, const char* name) {
  if (!cursor || !name) return 0;
  const bool ascii = IsAsciiName(name);
  for (Node* node = *cursor; node; node = node->next) {
    if (NamesApplication(node, name, ascii)) {
      *cursor = node;
      return 1;
    }
  }
  return 0;
}

// The include position of a type code changed from one state to the other;
// false when the code is not in the old state.
bool ToggleIncludeFlag(CString& typeCode, char from, char to) {
  if (typeCode.GetLength() <= static_cast<int>(CJovData::kIncludeFlagIndex) ||
      typeCode[CJovData::kIncludeFlagIndex] != from)
    return false;
  typeCode.SetAt(CJovData::kIncludeFlagIndex, to);
  return true;
}

// What the host refused since the change began: how many chains, and the
// first of them by name (a long list says how many more).
struct Refusals {
  static constexpr int kNamed = 20;
  int count = 0;
  CString named;
};

Refusals& NotedRefusals() {
  static Refusals refusals;
  return refusals;
}

void NoteRefusal(const resbuf* chain, int answer) {
  Refusals& r = NotedRefusals();
  if (++r.count > Refusals::kNamed) return;
  const char* handle = GetEntityString(chain, 5);
  const char* type = GetEntityString(chain, 0);
  // The host's own words, when it has them.
  const char* reason = HostLastError();
  CString answerText;
  if (reason && *reason)
    answerText.Format("%d: %s", answer, reason);
  else
    answerText.Format("%d", answer);
  CString entry;
  if (handle && *handle)
    entry.Format("%s %s (%s)", type ? type : "?", handle, answerText.GetString());
  else
    entry.Format("%s (new, %s)", type ? type : "?", answerText.GetString());
  if (!r.named.IsEmpty()) r.named += ", ";
  r.named += entry;
}

}  // namespace

bool BeginWrittenChange() {
  NotedRefusals() = Refusals{};
  return HostBeginChange(TheApp().m_pHostTable);
}

CString WriteRefusals() {
  const Refusals& r = NotedRefusals();
  CString text = r.named;
  if (r.count > Refusals::kNamed) {
    CString more;
    more.Format(" (+%d)", r.count - Refusals::kNamed);
    text += more;
  }
  return text;
}

int EndWrittenChange(int status) {
  const HostExport2D* host = TheApp().m_pHostTable;
  const bool refused = NotedRefusals().count > 0;
  if (status == 1 && refused) status = -1;
  HostEndChange(host, status);
  // Said once, after the drawing is back as it was.
  if (refused) MessageBoxRes(HostMainWindow(host), IDS_WRITE_REFUSED, MB_ICONHAND, WriteRefusals());
  NotedRefusals() = Refusals{};
  return status == 1 ? 1 : -1;
}

int WriteRecordChain(const CObjDataNew& record, const resbuf* chain) {
  if (record.m_erase && record.m_hasEntityName) return EraseEntity(chain, record.m_entityName);
  return WriteEntityChain(chain, record.m_hasEntityName ? record.m_entityName : nullptr);
}

int EraseEntity(const resbuf* chain, const int64_t* entityName) {
  const CDravikFunc* host = CommandHost();
  int answer = HOST_ERROR;
  if (host && host->alt_entdel && entityName) {
    resbuf name{};
    name.next = const_cast<resbuf*>(chain);
    name.code = -1;
    name.value.name[0] = entityName[0];
    name.value.name[1] = entityName[1];
    answer = host->alt_entdel(&name);
  }
  if (answer != HOST_NORMAL) NoteRefusal(chain, answer);
  return answer;
}

int WriteEntityChain(const resbuf* chain, const int64_t* entityName) {
  if (!chain) return HOST_NONE;
  // The host only reads what it is given.
  auto* body = const_cast<resbuf*>(chain);
  int answer = HOST_ERROR;
  if (!entityName) {
    answer = HostEntityWrite(TheApp().m_pHostTable, body);
  } else {
    resbuf name{};
    name.next = body;
    name.code = -1;
    name.value.name[0] = entityName[0];
    name.value.name[1] = entityName[1];
    answer = HostEntityWrite(TheApp().m_pHostTable, &name);
  }
  if (answer != HOST_NORMAL) NoteRefusal(body, answer);
  return answer;
}

namespace {

// The list's new labels, each a new entity as a built record is.
void WriteNewLabels(const CObjSezNew& list, bool shifted) {
  NewSegmentLabels::Frame frame;
  for (size_t i = 0; i < list.m_newLabels.Count(); ++i) {
    resbuf* chain = list.m_newLabels.Chain(i, frame);
    if (shifted) ShiftNewChain(list, chain);
    WriteEntityChain(chain, nullptr);
  }
}

}  // namespace

int WriteRecordsToDrawing(CObjSezNew& list, bool onlyRead) {
  const int refusedBefore = NotedRefusals().count;
  uint32_t position = 0;
  for (CObjDataNew* record = list.GetFirstRecord(); record; record = record->GetNextRecord(), ++position) {
    if (position < list.m_readCount) {
      WriteRecordChain(*record, record->GetChain());
      continue;
    }
    if (onlyRead) break;
    if (list.m_shiftMarker != "0") ShiftNewChain(list, record->m_pBuiltChain);
    WriteRecordChain(*record, record->m_pBuiltChain);
  }
  if (!onlyRead) WriteNewLabels(list, list.m_shiftMarker != "0");
  return NotedRefusals().count == refusedBefore ? 1 : -1;
}

int WriteAllRecords(CObjSezNew& list) {
  const int refusedBefore = NotedRefusals().count;
  for (INT_PTR i = 0; i < list.m_allRecords.GetSize(); ++i) {
    const CObjDataNew* record = RecordAt(list.m_allRecords, i);
    WriteRecordChain(*record, record->GetChain());
  }
  for (CObjDataNew* record = list.GetFirstRecord(); record; record = record->GetNextRecord())
    WriteRecordChain(*record, record->GetChain());
  WriteNewLabels(list, false);
  return NotedRefusals().count == refusedBefore ? 1 : -1;
}

void ShiftNewChain(const CObjSezNew& list, resbuf* chain) {
  if (IsZero(list.m_displacement)) return;
  for (resbuf* node = chain; node; node = node->next) {
    if (node->code != 10 && node->code != 11) continue;
    for (int a = 0; a < 3; ++a) node->value.point[a] += list.m_displacement[a];
  }
}

int SetIncludeFlag(CObjSezNew& list, bool exclude) {
  const HostExport2D* host = TheApp().m_pHostTable;
  char prompt[256] = "";
  LoadStringA(AfxGetResourceHandle(), exclude ? IDS_PROMPT_EXCLUDE : IDS_PROMPT_INCLUDE, prompt,
              sizeof prompt);
  const char from = exclude ? 'i' : '-';
  const char to = exclude ? '-' : 'i';
  if (HostSelect(host, prompt, 2, 0, nullptr) != HOST_NORMAL ||
      HostSelect(host, prompt, 0, 4, nullptr) != HOST_NORMAL)
    return 1;

  list.m_readCount = 0;
  for (const resbuf* entity = HostSelectionNext(host, true); entity;
       entity = HostSelectionNext(host, false)) {
    CObjDataNew* record = NewReadRecord(entity, list.m_readCount);
    if (!list.AddTail(record)) {
      delete record;
      break;
    }
    ++list.m_readCount;

    const char* type = GetEntityString(record->m_entityChain.GetChain(), 0);
    if (!type || (_mbsicmp(type, "INSERT") != 0 && _mbsicmp(type, "LWPOLYLINE") != 0)) continue;
    if (!record->m_jovData.ReadXData(record->m_entityChain.GetChain())) continue;
    CString typeCode = record->m_jovData.m_typeCode.ToCString();
    if (!ToggleIncludeFlag(typeCode, from, to)) continue;

    resbuf* chain = record->m_pBuiltChain ? record->m_pBuiltChain : record->m_entityChain.GetChainForWrite();
    resbuf* node = chain;
    if (!FindApplication(&node, "JOV_DATA") || !node->next || !IsStringNode(node->next)) continue;
    char* replaced = DupString(typeCode);
    if (!replaced) continue;
    FreeHeldChainText(node->next->value.text);
    node->next->value.text = replaced;
  }
  return 1;
}

int FindApplication(const resbuf** cursor, const char* name) { return FindApplicationIn(cursor, name); }
int FindApplication(resbuf** cursor, const char* name) { return FindApplicationIn(cursor, name); }

bool IsApplicationNode(const resbuf* node, const char* name) {
  return node && name && NamesApplication(node, name, IsAsciiName(name));
}
