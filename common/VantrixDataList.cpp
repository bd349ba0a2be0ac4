#include "common/VantrixDataList.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "common/CreateFolderPath.h"
#include "common/qmfstream.h"
#include "platform/mfc/AfxMessageBox.h"
#include "platform/mfc/CStdioFile.h"
#include "platform/win32/file_system.h"
#include "platform/win32/ui_services.h"

namespace {

bool ReadInt32(std::istream& in, int32_t& value) {
  unsigned char bytes[4];
  if (!in.read(reinterpret_cast<char*>(bytes), 4)) return false;
  value = static_cast<int32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                               (static_cast<uint32_t>(bytes[3]) << 24));
  return true;
}

void WriteInt32(std::ostream& out, int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                         static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
  out.write(bytes, 4);
}

bool WriteList(std::ostream& out, const CVantrixData& list) {
  WriteInt32(out, static_cast<int32_t>(list.CSeznam::GetCount()));
  for (const CVantrixData* record = list.First(); record && out; record = record->Next()) {
    out.put(static_cast<char>(record->marked));
    record->Write(out);
  }
  return static_cast<bool>(out);
}

// The folder part of a path (up to its last separator); "" without one.
std::string FolderOf(const char* path) {
  const std::string text(path);
  const size_t cut = text.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : text.substr(0, cut);
}

void ShowSaveFailure(const char* path) {
  CString text;
  text.Format("Error while opening output stream\n\"%s\"", path);
  AfxMessageBox(text, MB_ICONHAND);
}

// Splits a text stream into whole lines, however long: ends CR, LF or
// CR LF.
class CadLineSplitter {
 public:
  template <typename Take>
  bool Feed(const char* data, size_t n, Take&& take) {
    for (size_t i = 0; i < n; ++i) {
      const char c = data[i];
      const bool lf = c == '\n';
      if (lf && afterCr_) {
        afterCr_ = false;
        continue;
      }
      afterCr_ = c == '\r';
      if (lf || afterCr_) {
        if (!Emit(take)) return false;
        continue;
      }
      line_ += c;
    }
    return true;
  }
  // The last line, when the text does not end with a line end.
  template <typename Take>
  bool Finish(Take&& take) {
    if (line_.empty()) return true;
    return Emit(take);
  }

 private:
  template <typename Take>
  bool Emit(Take& take) {
    const bool ok = take(std::string_view(line_));
    line_.clear();
    return ok;
  }

  std::string line_;
  bool afterCr_ = false;
};

}  // namespace

bool IsVantrixDataComplete(const CVantrixData& record) {
  for (uint32_t field : {2u, 3u, 7u, 8u, 9u}) {
    const char* text = record.GetField(field);
    if (!text || !*text) return false;
  }
  return true;
}

bool LoadVantrixDataList(CVantrixData& list, const char* path) {
  qmfstream_in in(path);
  if (!in.is_open()) return true;
  int32_t count = 0;
  // An empty file is an empty list; three bytes are a count cut short.
  if (in.peek() == std::char_traits<char>::eof()) return true;
  if (!ReadInt32(in, count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    char marked = 0;
    if (!in.get(marked)) return false;
    auto record = std::make_unique<CVantrixData>(0);
    if (!record->Read(in)) return false;
    record->marked = static_cast<uint8_t>(marked);
    if (IsVantrixDataComplete(*record)) list.AddTail(record.release());
  }
  return in.peek() == std::char_traits<char>::eof();
}

bool SaveVantrixDataList(const CVantrixData& list, const char* path) {
  if (!path || !*path) {
    ShowSaveFailure(path ? path : "");
    return false;
  }
  CreateFolderPath(path, true);
  char temp[MAX_PATH] = "";
  bool ok = GetTempFileNameA(FolderOf(path).c_str(), "vtx", 0, temp) != 0;
  const bool made = ok;
  if (ok) {
    qmfstream_out out(temp);
    ok = out.is_open() && WriteList(out, list);
    out.close();
    ok = ok && !out.fail();
  }
  ok = ok && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    if (made) DeleteFileA(temp);
    ShowSaveFailure(path);
  }
  return ok;
}

bool ParseVantrixCadLine(CVantrixData& list, std::string_view line) {
  auto* record = new (std::nothrow) CVantrixData(CVantrixData::kFieldCount);
  if (!record) return false;
  if (record->CTextData::GetCount() != CVantrixData::kFieldCount || !list.AddTail(record)) {
    delete record;
    return false;
  }
  uint32_t field = 0;
  for (;;) {
    const size_t end = line.find(';');
    record->SetField(field++, std::string(line.substr(0, end)).c_str());
    if (end == std::string_view::npos || field == CVantrixData::kFieldCount) break;
    line.remove_prefix(end + 1);
  }
  return true;
}

int ImportVantrixCadFile(CVantrixData& list, const char* path) {
  CStdioFile file;
  if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) return -1;
  auto take = [&list](std::string_view line) { return ParseVantrixCadLine(list, line); };
  CadLineSplitter lines;
  char block[16 * 1024];
  bool ok = true;
  while (ok) {
    const UINT n = file.Read(block, sizeof block);
    if (n == 0) break;
    ok = lines.Feed(block, n, take);
  }
  ok = ok && lines.Finish(take);
  file.Close();
  return ok ? 1 : 0;
}

bool HasCompleteVantrixData(const CVantrixData& list) {
  for (const CVantrixData* record = list.First(); record; record = record->Next())
    if (IsVantrixDataComplete(*record)) return true;
  return false;
}

bool AreAllVantrixDataMarked(const CVantrixData& list) {
  for (const CVantrixData* record = list.First(); record; record = record->Next())
    if (!record->marked) return false;
  return true;
}

bool FindNextVantrixRoom(const CVantrixData& list, const char* floor, CString& room) {
  const int from = std::atoi(room.GetString());
  for (const CVantrixData* record = list.First(); record; record = record->Next()) {
    if (record->marked || !record->FieldEquals(CVantrixData::kFloor, floor)) continue;
    if (std::atoi(record->Text(CVantrixData::kRoom)) < from) continue;
    room = record->Text(CVantrixData::kRoom);
    return true;
  }
  return false;
}

CVantrixData* FindVantrixData(const CVantrixData& list, const char* floor, const char* room,
                              const char* item) {
  for (CVantrixData* record = list.First(); record; record = record->Next()) {
    if (record->FieldEquals(CVantrixData::kFloor, floor) && record->FieldEquals(CVantrixData::kRoom, room) &&
        record->FieldEquals(CVantrixData::kItem, item))
      return record;
  }
  return nullptr;
}
