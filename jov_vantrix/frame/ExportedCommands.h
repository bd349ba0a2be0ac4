// The seven commands the CAD host calls, exported by name.
#pragma once

#include "platform/win32/win32_types.h"

#define JOV_EXPORT extern "C" __attribute__((visibility("default")))

JOV_EXPORT int Exclude_From();
JOV_EXPORT int Include_In();
JOV_EXPORT int Jov_CutDlg(int, void*);
JOV_EXPORT int Jov_Length(int unit);
JOV_EXPORT int Jov_Vantrix_Export(int, void*);
JOV_EXPORT int Jov_Vantrix_Import(int, void*);
JOV_EXPORT INT_PTR Jov_Vantrix_M(HWND parent);
