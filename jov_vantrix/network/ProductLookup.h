// Catalogue look-up of the product a record stands for: the catalogue is
// positioned on the record's type code and the product library builds the
// product's geometry (catalogue view B) and extended data with the record's
// parameters. Both chains are copied into the record.
#pragma once

#include <string>
#include <unordered_map>

#include <cstdint>

#include "common/CJovPropData.h"
#include "dataformat/resbuf.h"
#include "platform/mfc/CString.h"

class CObjDataNew;
class JovCutParams;
namespace jovDatabase {
class Database;
}

// For the section generator. Before asking, the parameters the drawing
// decides are put into the record's existing properties: "O" the floor
// height in millimetres, "L" the same length, "O2" the host's "JOV_OFFSET"
// (100 mm when unset) for a record with the offset flag, "V" the same
// height. False when the catalogue has no such product or the product
// library does not answer; the adjusted properties then stay.
bool LookupProduct(CObjDataNew* record, jovDatabase::Database* db, JovCutParams& params);

// The answers of one preview's look-ups: a product of the same look-up key
// and parameters as one asked before is copied from its first answer
// instead of being asked of the catalogue and the product library again.
class PreviewProducts {
 public:
  PreviewProducts() = default;
  ~PreviewProducts();
  PreviewProducts(const PreviewProducts&) = delete;
  PreviewProducts& operator=(const PreviewProducts&) = delete;

  struct Answer {
    bool found = false;
    resbuf* geometry = nullptr;  // owned copies
    resbuf* data = nullptr;
  };
  std::unordered_map<std::string, Answer> answers;
};

// For the export preview: the product is looked up under its excluded form
// (PreviewLookupKey) and property 8 is asked for in the data as well; the
// box is scaled to metres when *unit is 1. With answers, a product asked
// before is taken from them.
bool LookupProductForPreview(CObjDataNew* record, jovDatabase::Database* db, const int* unit,
                             PreviewProducts* answers = nullptr);

// The catalogue's name of entry index of its "PROP" list (the key under
// which a product property is stored); empty without a catalogue or entry.
CString GetPropertyName(jovDatabase::Database* db, unsigned index);

// The type code with '-' as its include flag (the 8th character); the rest
// is kept as it is. Shorter codes are returned unchanged.
CString PreviewLookupKey(const char* typeCode);

// Asks the product library for the product the catalogue stands on, with
// the properties of keys shorter than three characters as its parameters
// (catalogue view B). The library's result: 1 when both chains came, which
// stay the library's until PPFree or its next call; 0 without the library.
int AskProductLibrary(jovDatabase::Database* db, const CJovPropData& properties,
                      const uint8_t* flags, uint32_t flagCount, resbuf** geometry, resbuf** data);
// The same with the parameter lists already made.
int AskProductLibrary(jovDatabase::Database* db, const ProductParamLists& lists, const uint8_t* flags,
                      uint32_t flagCount, resbuf** geometry, resbuf** data);

// Copies of the library's two answer chains in place of *keptGeometry and
// *keptData (whatever these held is freed first), then the library's
// released (PPFree). False, with both unchanged, when a copy fails.
bool KeepProductCopies(const resbuf* geometry, const resbuf* data, resbuf** keptGeometry,
                       resbuf** keptData);

// AskProductLibrary, then KeepProductCopies. False, with both unchanged,
// when the library does not answer 1.
bool FetchProductCopies(jovDatabase::Database* db, const ProductParamLists& lists,
                        const uint8_t* flags, uint32_t flagCount, resbuf** geometry, resbuf** data);

// A number with 16 significant digits, without trailing zeros.
CString FormatSignificant(double value);
