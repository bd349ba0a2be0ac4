#include "common/HostExport2D.h"

#include <cmath>

resbuf* HostSelectionNext(const HostExport2D* table, bool first) {
  auto fn = HostSlotFunction<HostSelectionNextFn>(table, HostSlot::SelectionNext);
  return fn ? fn(first ? 1 : 0) : nullptr;
}

int HostEntityWrite(const HostExport2D* table, resbuf* chain) {
  auto fn = HostSlotFunction<HostEntityWriteFn>(table, HostSlot::EntityWrite);
  return fn ? fn(chain, 0) : -1;
}

bool HostBeginChange(const HostExport2D* table) {
  auto fn = HostSlotFunction<HostBeginChangeFn>(table, HostSlot::BeginChange);
  if (!fn) return false;
  fn();
  return true;
}

bool HostEndChange(const HostExport2D* table, int status) {
  auto fn = HostSlotFunction<HostEndChangeFn>(table, HostSlot::EndChange);
  if (!fn) return false;
  fn(status);
  return true;
}

HWND HostMainWindow(const HostExport2D* table) {
  auto fn = HostSlotFunction<HostMainWindowFn>(table, HostSlot::MainWindow);
  return fn ? fn() : nullptr;
}

int HostBlockBegin(const HostExport2D* table, const char* name, int flag, const double* x,
                   const double* y, const double* z) {
  auto fn = HostSlotFunction<HostBlockDefineFn>(table, HostSlot::BlockDefine);
  if (!fn) return -1;
  return fn(kHostBlockBegin, name, flag, x ? *x : 0.0, y ? *y : 0.0, z ? *z : 0.0);
}

int HostBlockAddEntity(const HostExport2D* table, resbuf* chain) {
  auto fn = HostSlotFunction<HostBlockDefineFn>(table, HostSlot::BlockDefine);
  return fn ? fn(kHostBlockAdd, chain) : -1;
}

int HostBlockEnd(const HostExport2D* table, char nameOut[256]) {
  auto fn = HostSlotFunction<HostBlockDefineFn>(table, HostSlot::BlockDefine);
  return fn ? fn(kHostBlockEnd, nameOut) : -1;
}

const char* HostGetVariable(const HostExport2D* table, const char* name) {
  auto fn = HostSlotFunction<HostGetVariableFn>(table, HostSlot::GetVariable);
  return fn ? fn(name) : nullptr;
}

double HostDrawingScale(const HostExport2D* table) {
  auto fn = HostSlotFunction<HostDrawingScaleFn>(table, HostSlot::DrawingScale);
  return fn ? fn() : 0.0;
}

int HostDrawingUnits(const HostExport2D* table) {
  auto fn = HostSlotFunction<HostDrawingUnitsFn>(table, HostSlot::DrawingUnits);
  return fn ? fn() : 0;
}

int HostGetPoint(const HostExport2D* table, int flags, const char* prompt, double out[3]) {
  auto fn = HostSlotFunction<HostGetPointFn>(table, HostSlot::GetPoint);
  return fn ? fn(flags, prompt, out) : -1;
}

int HostUcsToWcs(const HostExport2D* table, double point[3], bool displacement) {
  auto fn = HostSlotFunction<HostCoordFn>(table, HostSlot::UcsToWcs);
  return fn ? fn(point, displacement) : -1;
}

int HostWcsToUcs(const HostExport2D* table, double point[3], bool displacement) {
  auto fn = HostSlotFunction<HostCoordFn>(table, HostSlot::WcsToUcs);
  return fn ? fn(point, displacement) : -1;
}

int HostSelect(const HostExport2D* table, const char* prompt, int mode, int option,
               double* pickPoint) {
  auto fn = HostSlotFunction<HostSelectFn>(table, HostSlot::Select);
  return fn ? fn(prompt, mode, option, pickPoint) : -1;
}

const char* HostGetEnvString(const HostExport2D* table, const char* name) {
  auto fn = HostSlotFunction<HostGetEnvStringFn>(table, HostSlot::GetEnvString);
  return fn ? fn(name) : "";
}

int HostInputState(const HostExport2D* table) {
  auto fn = HostSlotFunction<HostInputStateFn>(table, HostSlot::InputState);
  return fn ? fn() : 0;
}

const char* HostProductTitle(const HostExport2D* table) {
  auto fn = HostSlotFunction<HostProductTitleFn>(table, HostSlot::ProductTitle);
  const char* title = fn ? fn() : nullptr;
  return title ? title : "ERROR";
}

double AngleOfPoints(const double a[3], const double b[3]) {
  constexpr double kFullTurn = 6.283185307179586;
  double angle = std::atan2(b[1] - a[1], b[0] - a[0]);
  if (angle < 0) angle += kFullTurn;
  // A tiny negative angle rounds up to a full turn, which is 0.
  return angle < kFullTurn ? angle : 0.0;
}
