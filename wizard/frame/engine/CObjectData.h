// One definition point of a product's drawing geometry: its number in the
// sorted list, its list-view row, its flags, its position as the catalogue
// geometry gives it, the other end of its definition line, and the owned
// formulas of x, y and z.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "wizard/frame/engine/TextSlots.h"

namespace PointFlag {
constexpr uint32_t kDefinitionLine = 1;  // a point of a DEFPOINTS line in colour 7
constexpr uint32_t kCentre = 2;          // centre of a circle or arc (mark "C")
constexpr uint32_t kBasePoint = 4;       // base point of the formulas (mark "F")
constexpr uint32_t kLineStart = 8;       // start of a definition line
constexpr uint32_t kLineEnd = 16;        // end of a definition line
}  // namespace PointFlag

class CObjectData : public CSeznam {
 public:
  CObjectData() = default;
  ~CObjectData() override;

  // Slots 0..2: the formulas of x, y and z.
  bool SetText(int index, const char* text) { return formulas.Set(index, text); }
  const char* GetText(int index) const { return formulas.Get(index); }

  // Appends x "|" y "|" z and CR LF; a missing formula gives an empty field
  // (so the lines after it keep their points) and the answer false.
  bool AppendFormulaLine(std::string& text) const;
  // Reads the line at position (below length) into the three formulas and
  // steps past its end (CR LF, CR or LF). Fields end at '|' or the line end;
  // a short line gives empty formulas, fields beyond the third are passed
  // over. Nothing changes at the end of the text. Always true.
  bool ReadFormulaLine(const std::string& text, size_t& position, size_t length);

  uint32_t number = 0;
  int32_t listRow = -1;
  uint32_t flags = 0;  // PointFlag
  GLVector point;
  CObjectData* linked = nullptr;  // the other end of its definition line

 private:
  TextSlots<3> formulas;
};
