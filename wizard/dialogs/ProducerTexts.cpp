#include "wizard/dialogs/ProducerTexts.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <new>

#include "common/CSeznam.h"
#include "platform/mfc/CComDATE.h"
#include "wizard/frame/engine/CPropData.h"
#include "wizard/frame/engine/TextLines.h"

namespace {

bool CalendarOf(const CComDATE& date, std::tm& out) {
  SYSTEMTIME t{};
  if (!VariantTimeToSystemTime(date.GetDate(), &t)) return false;
  out = {};
  out.tm_year = t.wYear - 1900;
  out.tm_mon = t.wMonth - 1;
  out.tm_mday = t.wDay;
  return true;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n) + "."; }

}  // namespace

bool ParseChoiceRecords(const std::string& comment, CSeznam& records, const char* noGroup) {
  size_t at = 0;
  std::string field;
  while (at < comment.size()) {
    CPropData* record = nullptr;
    int index = 0;
    for (;;) {
      // A field counts only when its CR follows; the LF after it ends the
      // record, as does the end of the text.
      if (!ReadTextLineCR(comment, at, field)) break;
      if (field.size() > kChoiceFieldLength) field.resize(kChoiceFieldLength);
      if (!record) {
        record = new (std::nothrow) CPropData;
        if (!record) return false;
        records.AddTail(record);
        record->SetText(PropText::kGroup1, noGroup);
        record->SetText(PropText::kGroup2, noGroup);
      }
      if (index <= 2) {
        record->SetText(index, field.c_str());
      } else if (index <= 4) {
        if (!field.empty()) record->SetText(index, field.c_str());
      } else {
        auto* line = new (std::nothrow) CPropData;
        if (!line) return false;
        line->SetText(PropText::kName, field.c_str());
        record->AddTail(line);
      }
      ++index;
    }
  }
  return true;
}

std::string UnpackDateText(const char* packed) {
  if (!packed) return {};
  const long read = std::strtol(packed, nullptr, 10);
  const int n = read > INT_MAX ? INT_MAX : read < INT_MIN ? INT_MIN : static_cast<int>(read);
  const int day = n & 31, month = (n >> 5) & 15, year = n >> 9;
  return TwoDigits(day) + TwoDigits(month) + std::to_string(year);
}

std::string PackedDateText(const CComDATE& date) {
  std::tm t;
  if (!CalendarOf(date, t)) return {};
  return std::to_string((t.tm_year + 1900) * 512 + (t.tm_mon + 1) * 32 + t.tm_mday);
}

std::string VersionDateText(const CComDATE& date) {
  std::tm t;
  if (!CalendarOf(date, t)) return {};
  char text[32] = "";
  std::strftime(text, sizeof text, "%d.%m.%Y", &t);
  return text;
}
