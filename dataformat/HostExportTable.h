// The CAD host's export table as both sides see it: a block of function
// pointers that the host's GetExport2D hands out, addressed by slot index,
// with the signature of each slot the system calls. The layout is an
// interface and is fixed.
#pragma once

#include "dataformat/resbuf.h"
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

// The function in a slot as its signature, null for a missing table, an
// index outside it or an empty slot.
template <typename Fn>
Fn HostSlotFunction(const HostExport2D* table, int index) {
  if (!table || index < 0 || index >= HostExport2D::kSlotCount) return nullptr;
  return reinterpret_cast<Fn>(table->slot[index]);
}
