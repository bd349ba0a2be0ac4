#include "common/VantrixDataList.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>
#include <string>

#include "common/CreateFolderPath.h"
#include "common/TextEndingBytes.h"
#include "common/qmfstream.h"
#include "platform/mfc/AfxMessageBox.h"
#include "platform/mfc/CStdioFile.h"
#include "platform/win32/error_codes.h"
#include "platform/win32/file_replace.h"
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

void ShowSaveFailure(const char* path) {
  CString text;
  text.Format("Error while opening output stream\n\"%s\"", path);
  AfxMessageBox(text, MB_ICONHAND);
}

// Copies the file at path to the first free name of "<path>.bak",
// "<path>.1.bak", "<path>.2.bak"...; the name used, or "" (said) when no copy
// could be made.
CString KeepVantrixListCopy(const char* path) {
  CString kept;
  for (int number = 0; number < 1000; ++number) {
    if (number == 0)
      kept.Format("%s.bak", path);
    else
      kept.Format("%s.%d.bak", path, number);
    if (CopyFileA(path, kept, TRUE)) return kept;
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  CString text;
  text.Format("The project list \"%s\" could not be read whole and cannot be kept as \"%s\", so it is not "
              "written. Make room in its folder and try again.",
              path, kept.GetString());
  AfxMessageBox(text, MB_ICONHAND);
  return CString();
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
    // A Ctrl-Z as the very last byte is the old end mark of a text file.
    if (!line_.empty() && line_.back() == '\x1A') line_.pop_back();
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

VantrixListLoad LoadVantrixDataList(CVantrixData& list, const char* path) {
  VantrixListLoad load;
  const DWORD attributes = path && *path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Only a name that is not there is absent; a folder on the way that
    // cannot be searched hides a list, it does not remove it.
    if (path && *path && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
      load.found = VantrixListFound::kUnopenable;
    return load;
  }
  qmfstream_in in(path);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !in.is_open()) {
    load.found = VantrixListFound::kUnopenable;
    return load;
  }
  auto result = [&load](VantrixListFound found) {
    load.found = found;
    return load;
  };
  int32_t count = 0;
  // An empty file is an empty list; three bytes are a count cut short.
  if (in.peek() == std::char_traits<char>::eof()) {
    // A read that fails at once is no empty file.
    return result(in.bad() ? VantrixListFound::kUnopenable : VantrixListFound::kWhole);
  }
  if (!ReadInt32(in, count)) return result(VantrixListFound::kDamaged);
  for (int32_t i = 0; i < count; ++i) {
    char marked = 0;
    if (!in.get(marked)) return result(VantrixListFound::kDamaged);
    auto record = std::make_unique<CVantrixData>(0);
    if (!record->Read(in)) return result(VantrixListFound::kDamaged);
    record->marked = static_cast<uint8_t>(marked);
    if (IsVantrixDataComplete(*record)) {
      list.AddTail(record.release());
      ++load.records;
    }
  }
  return result(in.peek() == std::char_traits<char>::eof() ? VantrixListFound::kWhole : VantrixListFound::kDamaged);
}

void ShowVantrixListLoad(const char* path, const VantrixListLoad& loaded) {
  CString text;
  if (loaded.found == VantrixListFound::kUnopenable) {
    text.Format("The project list \"%s\" exists but cannot be opened, so nothing is written to it. Make the file "
                "readable and try again.",
                path ? path : "");
    AfxMessageBox(text, MB_ICONHAND);
  } else if (loaded.found == VantrixListFound::kDamaged) {
    text.Format("The project list \"%s\" is damaged: only %u records could be read. A save keeps the file as it "
                "is beside the new one.",
                path ? path : "", loaded.records);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
  }
}

bool SaveVantrixDataList(const CVantrixData& list, const char* path, VantrixListLoad& loaded) {
  if (!path || !*path) {
    ShowSaveFailure(path ? path : "");
    return false;
  }
  if (loaded.found == VantrixListFound::kUnopenable) {
    ShowVantrixListLoad(path, loaded);
    return false;
  }
  CreateFolderPath(path, true);
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ShowSaveFailure(path);
    return false;
  }
  // What the list was not read from whole is kept before it is replaced:
  // a damaged list, or a file that came where none was.
  if (loaded.found != VantrixListFound::kWhole && attributes != INVALID_FILE_ATTRIBUTES) {
    const CString kept = KeepVantrixListCopy(path);
    if (kept.IsEmpty()) return false;
    CString text;
    if (loaded.found == VantrixListFound::kDamaged)
      text.Format("The damaged project list \"%s\" is kept unchanged as \"%s\".", path, kept.GetString());
    else
      text.Format("A file \"%s\" was already there; it is kept as \"%s\".", path, kept.GetString());
    AfxMessageBox(text, MB_ICONEXCLAMATION);
  }
  std::ostringstream out(std::ios::binary);
  const bool written = WriteList(out, list) && win32::ReplaceSystemFile(path, out.view());
  if (!written) {
    ShowSaveFailure(path);
    return false;
  }
  loaded = {VantrixListFound::kWhole, static_cast<uint32_t>(list.CSeznam::GetCount())};
  return true;
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

int ImportVantrixCadFile(CVantrixData& list, const char* path, int* refusedLine) {
  if (refusedLine) *refusedLine = 0;
  CFile file;
  // Read as bytes: a text-mode read would end the file at a Ctrl-Z.
  if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary)) return -1;
  int line = 0;
  auto take = [&](std::string_view text) {
    ++line;
    if (FindTextEndingByte(text) != std::string_view::npos) {
      if (refusedLine) *refusedLine = line;
      return false;
    }
    return ParseVantrixCadLine(list, text);
  };
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
