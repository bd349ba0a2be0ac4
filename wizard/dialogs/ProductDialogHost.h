// What the product dialogs take from the library they run in beside its
// folders and icon (DialogHost.h): its registry root, the shared state of a
// product request (result chains, the producer dialog's texts, slope and
// mirror), the connection services and the product output. The library
// installs the host that answers from its application object; tests
// install their own.
#pragma once

#include <string>

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

class CObjectSez;
namespace jovDatabase {
struct resultResbuf;
}

class ProductDialogHost {
 public:
  static constexpr int kProducerTexts = 7;
  // The producer dialog's choices kept for its return from the parametric
  // dialog, by position.
  enum Choice { kProducer, kDate, kGroup1, kGroup2, kType, kMeasurement, kChoices };

  virtual ~ProductDialogHost();

  // The wizard's registry root under HKEY_CURRENT_USER, ending in '\'.
  virtual std::string RegistryRoot() const = 0;
  // The current catalogue's trade: 3 heating, -1 none.
  virtual int TradeLetter() const = 0;

  // Result chain 1 (geometry) or 2 (extended data) of the request.
  virtual resbuf*& ResultChain(int which) = 0;
  // The producer dialog's texts (product, date, group, type, measurement,
  // price, unit; null when not stored) and the slope text.
  virtual void GetProducerData(const char* out[kProducerTexts]) const = 0;
  // Null: every slot emptied.
  virtual void SetProducerData(const char* const texts[kProducerTexts]) = 0;
  virtual void KeepChoices(const int indices[kChoices]) = 0;
  virtual void KeptChoices(int out[kChoices]) const = 0;
  // The packed date the caller set for the producer dialog (decimal text of
  // year * 512 + month * 32 + day), null when none.
  virtual const char* PP2Date() const = 0;
  virtual const char* Slope() const = 0;
  // -1 no mirror offered, else 0 or 1.
  virtual int Mirror() const = 0;
  virtual void SetMirror(int mirror) = 0;

  // The name line of point index of group in a points text.
  virtual bool PointText(const char* pointsText, unsigned index, unsigned group, char* out,
                         unsigned size) const = 0;
  // The name line of the positioned product's own point number (1-based).
  virtual bool ProductPointName(unsigned view, unsigned number, char* out, unsigned size) const = 0;
  virtual void ApplyConnectionLevel(unsigned view, unsigned otherIndex, const char* otherPoints,
                                    unsigned ownNumber, CObjectSez* params) = 0;

  // The positioned product's geometry of a view.
  virtual bool ProductDxf(unsigned view, jovDatabase::resultResbuf& out) = 0;
  // Builds result chain 2 from the parameters.
  virtual bool BuildProductXData(HWND owner, unsigned view, CObjectSez* params, unsigned char* flags,
                                 unsigned flagCount, const char* code, const char* slope,
                                 const char* branch) = 0;
  // Path of the outside radiator catalogue; false when it is not installed.
  virtual bool FindKorpalinLibrary(char* out, unsigned size) const = 0;
};

// The installed host; without one, a host that has nothing: no folders,
// no chains kept, every build and look-up failing.
ProductDialogHost& TheProductDialogHost();
// Installs a host (null: none) and returns the previous one.
ProductDialogHost* SetProductDialogHost(ProductDialogHost* host);
