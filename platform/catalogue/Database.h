// The product catalogue of one trade: a cursor over the catalogue file that
// callers position on a product (GoIndexID) and then read from. Every call
// answers an eCode; 0 is success.
#pragma once

#include <cstdint>

#include "platform/catalogue/qmString.h"
#include "common/resbuf.h"
#include "platform/catalogue/JovDBaseApi.h"

struct sqlite3;

namespace jovDatabase {

enum eCode : int32_t {
  eOK = 0,
  eNotFound = 1,       // no such product, name or view geometry
  eBadArgument = 2,    // null or malformed argument
  eNotPositioned = 3,  // no product is positioned
  eStorage = 4,        // the catalogue file could not be read
  eBadData = 5,        // a stored text could not be read (geometry)
  eNoMemory = 6,
};

// Holds the group-code chain of one view. The chain belongs to the holder:
// callers copy it before the holder is refilled or destroyed.
struct JOVDBASE_API resultResbuf {
  resbuf* head = nullptr;  // first member: the chain

  resultResbuf() = default;
  ~resultResbuf();
  resultResbuf(const resultResbuf&) = delete;
  resultResbuf& operator=(const resultResbuf&) = delete;

  void Release();
};

class JOVDBASE_API Database {
 public:
  // The catalogue of a trade ('T' heating, 'Z' sanitary, 'V' air, 'E'
  // electrical; lower case is taken as upper) from folder/<letter>.db. Null
  // when the folder or the file is missing, or the file is not a catalogue
  // of that trade (wrong format, damaged, another trade).
  static Database* Open(const char* folder, char tradeLetter);
  // Closes the file and deletes the object; null is allowed.
  static void Close(Database* db);

  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  char GetTradeLetter() const { return trade; }

  // Positions on the product whose 12-character index id is typeCode. The
  // 8th character is the include flag of placed entities: 'i' and '-' name
  // the same product. Any failure leaves no product positioned.
  eCode GoIndexID(const char* typeCode);

  // Name of entry index of a names list ("PROP", "MODI", ...). Without one
  // out is emptied (a buffer it has holds "").
  eCode GetNamesNameing(const char* group, unsigned index, qmString& out);

  // The positioned product.
  eCode GetItemsStatus(unsigned& status);
  eCode GetIndexID(qmString& out);
  eCode GetIndexIDI(unsigned& idi);
  eCode GetIndexText(qmString& out);
  eCode GetIndexType(unsigned& type);
  // Geometry of a view; eNotFound when the product has none for it. The
  // holder's previous chain is released first.
  eCode GetItemsDxfA(resultResbuf& out);
  eCode GetItemsDxfB(resultResbuf& out);
  eCode GetItemsDxfC(resultResbuf& out);
  eCode GetItemsDxf3D(resultResbuf& out);
  eCode GetItemsPoints(qmString& out);
  eCode GetItemsProperties(qmString& out);
  eCode GetParmsParams(qmString& out);
  eCode GetParmsParA(qmString& out);
  eCode GetParmsParB(qmString& out);
  eCode GetParmsParC(qmString& out);
  eCode GetParmsPar3D(qmString& out);

 private:
  Database(sqlite3* file, char tradeLetter) : db(file), trade(tradeLetter) {}
  ~Database();

  eCode ReadItemText(const char* column, qmString& out);
  eCode ReadItemNumber(const char* column, unsigned& out);
  template <typename OnRow>
  eCode ReadItemColumn(const char* column, OnRow onRow);
  eCode ReadItemGeometry(const char* column, resultResbuf& out);

  sqlite3* db;
  char trade;
  int64_t current = -1;  // idi of the positioned product, -1 none
};

}  // namespace jovDatabase
