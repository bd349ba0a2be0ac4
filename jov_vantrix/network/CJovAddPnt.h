// One connection-point record of the "_PTS" property: four text fields as
// the catalogue delivers them. Field 3 is the connection-kind code ("20",
// "24", "36", "40", "68") that the section generator looks for.
//
// The "_PTS" text: the record count in decimal and a line feed, then the
// four fields of every record, each followed by a line feed.
#pragma once

#include <cstdint>
#include <string>

#include "common/CSeznam.h"
#include "common/CTextData.h"

class CJovAddPnt : public CSeznam, public CTextData {
 public:
  static constexpr uint32_t kFields = 4;

  // A list head carries no fields of its own.
  explicit CJovAddPnt(uint32_t fields = kFields) : CTextData(fields) {}
  ~CJovAddPnt() override = default;

  // Appends the records of a "_PTS" text. The count on the first line is
  // taken only as far as the text holds records: a negative count gives
  // none, and a count beyond the lines present stops after the last record
  // that has at least one line (its missing fields are empty).
  static void ParseList(CJovAddPnt& list, const char* text);
  // The "_PTS" text of the list; false and an empty text for an empty list.
  static bool FormatList(const CJovAddPnt& list, std::string& out);
  // Position of the first record whose field equals text exactly; false
  // for a null text, a field of 4 or more, an empty list or no match.
  static bool FindIndex(const CJovAddPnt& list, uint32_t* index, uint32_t field, const char* text);
};

// The line at *cursor up to the end of the text, a carriage return or a line
// feed. The cursor then steps over the line end: CR LF, LF or a lone CR.
// The whole line is kept, however long.
std::string ReadTextLine(const char** cursor);
