// What the test framework libraries report to the test program, through the
// program's exported function
//   extern "C" void JovTestAppEvent(const TestAppEvent* event);
#pragma once

#include "platform/win32/win32_types.h"

struct TestAppEvent {
  const char* app;    // the library's configured name
  const char* event;  // "init", "exit", "destroyed"
  bool appIsCurrent;  // AfxGetApp() is the library's own application object
  HINSTANCE instance;   // AfxGetInstanceHandle() at that moment
  HINSTANCE resources;  // AfxGetResourceHandle() at that moment
  DWORD fileNameLength;  // GetModuleFileNameA of the instance at that moment
};
