// Builds a group-code chain from a C variable argument list of (code, value)
// pairs. The values are read with va_arg, so callers must pass exactly the
// types below; anything else (a float, a short, a size_t, a std::string) is
// undefined behaviour:
//
//   code                         always an int
//   text kinds (0-9, 1000 ...)   const char*; a null text is stored as "";
//                                GroupChainBuilder::kSkip drops the pair
//   points (10-19, 1010 ...)     const double* to three doubles
//   reals (40, 50, 1040 ...)     double (write 1.0, not 1)
//   64-bit integers (160-169)    int64_t
//   16-bit and 32-bit integers   int (70, 90, 1070, 1071 ...)
//   entity names (-1, -2, 5006)  const void* to 16 bytes
//   -8                           resbuf*: a ready chain, linked in as it is
//                                (the result owns it from then on)
//   -3, 5016, 5017, 5018         a pointer, ignored (pass nullptr): -3 makes
//                                the empty extended-data marker, 5016-5018
//                                a node whose value is -1
//
// Terminator (no value after it): -9 in mode 0; 0 or 5000 in any other mode,
// where 5020 stands for code 0 (a text pair) since 0 itself ends the list.
// Example, mode 0: Build(1000, key, 1000, value, -9).
//
// Any other code (binary chunks, codes of no kind), or a failed allocation,
// makes Build free every node built so far, chains linked with -8 before
// that point included, and return null (a chain given with -8 is Build's
// once it has been read).
// Nodes and texts come from malloc: release the result with
// FreeGroupCodeChain or DeleteGroupCodeChain.
#pragma once

#include <cstdint>

#include "dataformat/resbuf.h"

class GroupChainBuilder {
 public:
  explicit GroupChainBuilder(int terminatorMode) : terminatorMode(terminatorMode) {}

  static inline const char* const kSkip = reinterpret_cast<const char*>(~uintptr_t{0});

  // The list's own codes (see above).
  static constexpr int kEndMode0 = -9;        // terminator in mode 0
  static constexpr int kEnd = 5000;           // terminator in the other modes (as 0 is)
  static constexpr int kCodeZero = 5020;      // code 0 in the other modes
  static constexpr int kLinkChain = -8;       // a ready chain
  static constexpr int kXDataMarker = -3;     // the empty extended-data marker
  static constexpr int kMinusOneFirst = 5016; // 5016-5018: a node whose value is -1
  static constexpr int kMinusOneLast = 5018;

  resbuf* Build(int code, ...);

 private:
  int32_t terminatorMode;
};
