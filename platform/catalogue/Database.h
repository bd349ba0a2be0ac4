// The product catalogue of one trade: a cursor over the catalogue file that
// callers position on a product (GoIndexID) and then read from. Every call
// answers an eCode; 0 is success.
#pragma once

#include <cstdint>

#include "dataformat/resbuf.h"
#include "platform/catalogue/JovDBaseApi.h"
#include "platform/catalogue/qmString.h"
#include "platform/mfc/CComDATE.h"

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
  eNoEdit = 7,         // Update without an open Edit
};

// Access flag of the Edit ... Update bracket around writes of product
// parameters and formulas.
constexpr unsigned kEditParams = 4;

// Records handed to enumeration callbacks; their texts (code page 1250)
// live until the callback returns. A callback answers 1 to go on, 0 to stop.
//
// A names record: name, comment, and {status, id, entry in its list}. A
// producer (EnumUsedProducers): name, comment, and {status, producer id,
// number of the item's versions by that producer}.
struct TNameStruct {
  const char* name;
  const char* value;
  uint32_t number[3];
};

// A parameter type: its title, value limits, id, second id and status.
struct TParTypeStruct {
  const char* title;
  double lo;
  double hi;
  uint32_t id;
  uint32_t secondId;
  uint32_t status;
};

using EnumNamesCallback = int (*)(const TNameStruct* record, void* context);
using EnumParTypesCallback = int (*)(const TParTypeStruct* record, void* context);

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

  // Writes into the positioned product: at once, or inside an Edit ...
  // Update bracket when one is open.
  eCode SetParmsParams(const qmString& text);
  eCode SetParmsParA(const qmString& text);
  eCode SetParmsParB(const qmString& text);
  eCode SetParmsParC(const qmString& text);
  eCode SetParmsPar3D(const qmString& text);
  // The bracket is one transaction (access must be kEditParams). A bracket
  // left open is rolled back by the next Edit or by Close.
  eCode Edit(unsigned access);
  eCode Update(unsigned access);
  // Drops the open bracket and all it holds.
  eCode CancelUpdate(unsigned access);

  // Parameter types, with a cursor of their own: GoPartypeIDI positions it
  // (a failure leaves none positioned), the getters read the type there.
  eCode GoPartypeIDI(unsigned id);
  eCode GetPartypeTitle(qmString& out);
  eCode GetPartypeStatus(unsigned& status);
  eCode GetPartypeLo(double& lo);
  eCode GetPartypeHi(double& hi);
  // Every type in id order; moves no cursor.
  eCode EnumParTypes(EnumParTypesCallback callback, void* context);

  // Names lists: the whole list in entry order (whatever the flag), an
  // empty list being no error; moves no cursor. GoNamesIDI positions the
  // names cursor on a record of any list by its id.
  eCode EnumNames(const char* list, EnumNamesCallback callback, void* context, bool flag);
  eCode GoNamesIDI(unsigned id);
  eCode GetNamesName(qmString& out);
  eCode GetNamesComment(qmString& out);
  eCode GetNamesStatus(unsigned& status);

  // Producers of an item's versions, in producer id order; moves no cursor.
  eCode EnumUsedProducers(EnumNamesCallback callback, void* context, unsigned indexIdi);
  // Positions the version cursor on an item's versions by one producer in
  // date order: next 0 the first, 1 the one after the positioned version.
  // eOK while a version is positioned; eNotFound past the last (none stays
  // positioned); eNotPositioned for 1 without a version of that producer and
  // item positioned.
  eCode NextProduct(int next, unsigned producerId, unsigned indexIdi);
  eCode GoProdsIDI(unsigned id);
  eCode GetProdsIDI(unsigned& id);
  eCode GetProdsDate(CComDATE& date);
  eCode GetProdsStatus(unsigned& namesId);  // the version's names record
  eCode GetProdsComment(qmString& out);     // its choice records
  eCode GetProdsPrice(double& price);
  eCode GetProdsMJ(unsigned& unitNamesId);  // the unit's names record

 private:
  Database(sqlite3* file, char tradeLetter) : db(file), trade(tradeLetter) {}
  ~Database();

  eCode ReadItemText(const char* column, qmString& out);
  eCode ReadItemNumber(const char* column, unsigned& out);
  template <typename OnRow>
  eCode ReadItemColumn(const char* column, OnRow onRow);
  eCode ReadItemGeometry(const char* column, resultResbuf& out);
  eCode WriteItemText(const char* column, const qmString& text);
  template <typename OnRow>
  eCode ReadRow(const char* sql, int64_t key, OnRow onRow);
  // The one column of the row a cursor stands on.
  template <typename Out>
  eCode ReadAtCursor(int64_t cursor, const char* sql, Out& out);
  // Moves the cursor onto the row of that id; none when it is missing.
  eCode Position(int64_t& cursor, const char* sql, unsigned id);

  sqlite3* db;
  char trade;
  int64_t current = -1;   // idi of the positioned product, -1 none
  int64_t partype = -1;   // id of the positioned parameter type
  int64_t names = -1;     // id of the positioned names record
  int64_t version = -1;   // id of the positioned product version
  bool editing = false;   // an Edit bracket is open
};

}  // namespace jovDatabase
