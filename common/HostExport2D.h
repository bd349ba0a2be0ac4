// The CAD host's export table: a block of function pointers that the host's
// GetExport2D hands out, addressed by slot index. Every call goes through a
// wrapper that returns a fixed value when the table or the slot is empty, so
// a host without a feature never makes the caller jump through null.
#pragma once

#include "common/resbuf.h"
#include "platform/win32/win32_types.h"

using HostProc = void (*)();

struct HostExport2D {
  static constexpr int kSlotCount = 128;
  HostProc slot[kSlotCount];
};

// Slot indices the system calls.
namespace HostSlot {
constexpr int SelectionNext = 13;
constexpr int EntityWrite = 15;
constexpr int BeginChange = 17;
constexpr int EndChange = 19;
constexpr int MainWindow = 20;
constexpr int BlockDefine = 24;
constexpr int GetVariable = 29;
constexpr int DrawingScale = 32;
constexpr int DrawingUnits = 33;
constexpr int GetPoint = 34;
constexpr int UcsToWcs = 35;
constexpr int WcsToUcs = 36;
constexpr int Select = 37;
constexpr int GetEnvString = 40;
constexpr int InputState = 74;
constexpr int ProductTitle = 94;
}  // namespace HostSlot

// Signatures of the slots.
using HostSelectionNextFn = resbuf* (*)(int first);
using HostEntityWriteFn = int (*)(resbuf* chain, int flags);
using HostBeginChangeFn = void (*)();
using HostEndChangeFn = void (*)(int status);
using HostMainWindowFn = HWND (*)();
using HostBlockDefineFn = int (*)(int op, ...);  // 0: name, flag, x, y, z; 1: chain; 2: name out
using HostGetVariableFn = const char* (*)(const char* name);
using HostDrawingScaleFn = double (*)();
using HostDrawingUnitsFn = int (*)();
using HostGetPointFn = int (*)(int flags, const char* prompt, double out[3]);
using HostCoordFn = int (*)(double point[3], bool displacement);
using HostSelectFn = int (*)(const char* prompt, int mode, int option, double* pickPoint);
using HostGetEnvStringFn = const char* (*)(const char* name);
using HostInputStateFn = int (*)();
using HostProductTitleFn = const char* (*)();

// Host exports fetched by name from the host module.
using GetExport2DFn = HostExport2D* (*)();
using GetProfilePathFn = int (*)(int, char* buffer, int size);

constexpr int kHostBlockBegin = 0;
constexpr int kHostBlockAdd = 1;
constexpr int kHostBlockEnd = 2;

// Wrappers; the value each returns for a missing table or slot is given.
resbuf* HostSelectionNext(const HostExport2D* table, bool first);          // null
int HostEntityWrite(const HostExport2D* table, resbuf* chain);             // -1
bool HostBeginChange(const HostExport2D* table);                          // false
bool HostEndChange(const HostExport2D* table, int status);                // false
HWND HostMainWindow(const HostExport2D* table);                           // null
int HostBlockBegin(const HostExport2D* table, const char* name, int flag, const double* x,
                   const double* y, const double* z);                     // -1
int HostBlockAddEntity(const HostExport2D* table, resbuf* chain);         // -1
int HostBlockEnd(const HostExport2D* table, char nameOut[256]);           // -1
const char* HostGetVariable(const HostExport2D* table, const char* name); // null
double HostDrawingScale(const HostExport2D* table);                       // 0.0
int HostDrawingUnits(const HostExport2D* table);                          // 0
int HostGetPoint(const HostExport2D* table, int flags, const char* prompt, double out[3]);  // -1
int HostUcsToWcs(const HostExport2D* table, double point[3], bool displacement);  // -1
int HostWcsToUcs(const HostExport2D* table, double point[3], bool displacement);  // -1
int HostSelect(const HostExport2D* table, const char* prompt, int mode, int option,
               double* pickPoint);                                        // -1
const char* HostGetEnvString(const HostExport2D* table, const char* name); // ""
int HostInputState(const HostExport2D* table);                            // 0
const char* HostProductTitle(const HostExport2D* table);                  // "ERROR"

// Angle of the direction from a to b in the XY plane, in [0, 2 pi).
double AngleOfPoints(const double a[3], const double b[3]);
