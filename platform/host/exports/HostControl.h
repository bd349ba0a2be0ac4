// The small C interface through which the runner drives a host: the
// "dravik2d.arx" library in the full edition, the runner itself under the
// LT name. Both export GetDravikControl; the runner fetches it with
// GetProcAddress from whichever it uses, so both editions take one path.
// Texts are UTF-8 (file names, option values); errors come back as text in
// the caller's buffer.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

constexpr int kDravikControlVersion = 3;
constexpr const char* kDravikControlExport = "GetDravikControl";

// EndCommand's answer: how the command left the drawing.
constexpr int kDravikUnchanged = 0;
constexpr int kDravikCommitted = 1;   // EndChange(1): the drawing changed
constexpr int kDravikCancelled = 2;   // EndChange(-1) only: rolled back
constexpr int kDravikLeftOpen = 3;    // changed without EndChange: rolled back
constexpr int kDravikRefused = 4;     // an edit the drawing could not take: rolled back

extern "C" {

struct DravikHostControl {
  int version;
  // Before OpenDrawing. Names: "edition" (lt|full), "units" (1|1000),
  // "scale" (number), "env" (NAME=VALUE, repeatable), "profile" (folder),
  // "catalogue" (folder), "module-folder" (folder), "log" (file),
  // "exit-after-shutdown" (0|1: the process ends right after Shutdown, which
  // then leaves the drawing's memory to the system). 1 done, 0 refused with
  // the reason.
  int (*SetOption)(const char* name, const char* value, char* error, int errorSize);
  int (*OpenDrawing)(const char* path, char* error, int errorSize);
  // Comma-separated handles.
  int (*Preselect)(const char* handles, char* error, int errorSize);
  // Inside a command: the chain of the entity with that handle (hexadecimal),
  // the host's until the command ends; null with the reason.
  resbuf* (*EntityChain)(const char* handle, char* error, int errorSize);
  int (*DrawingUnits)();
  HWND (*MainWindow)();
  void (*BeginCommand)();
  int (*EndCommand)();
  // Refuses the file the drawing was loaded from.
  int (*SaveDrawing)(const char* path, char* error, int errorSize);
  // Closes catalogues and the log, releases every chain.
  void (*Shutdown)();
  // Why the last EndCommand answered kDravikRefused.
  const char* (*Refusal)();
};

using GetDravikControlFn = const DravikHostControl* (*)();

}  // extern "C"
