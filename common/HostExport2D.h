// Calls through the CAD host's export table. Every call goes through a
// wrapper that returns a fixed value when the table or the slot is empty, so
// a host without a feature never makes the caller jump through null.
#pragma once

#include "dataformat/HostExportTable.h"

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
