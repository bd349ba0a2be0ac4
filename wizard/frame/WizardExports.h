// The 24 functions "Wizard.dll" exports by name: the product requests with
// and without a dialog, the state they take from the exports called before
// them, and the mask, dimension and definition dialogs. Every export but
// setPPDisplayPP2OnlyWithValidProd runs under the library's framework state.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

namespace jovDatabase {
class Database;
}

#define WIZARD_EXPORT extern "C" __attribute__((visibility("default")))

// ---- State for the next product request.
WIZARD_EXPORT void setPPDisplayPP2OnlyWithValidProd();
WIZARD_EXPORT void PPFree();
WIZARD_EXPORT void SetSlope(const char* slope);
WIZARD_EXPORT void SetPPMirror(unsigned flag);
WIZARD_EXPORT bool GetPPMirror();
WIZARD_EXPORT void SetPPData(const char* first, const char* second, const char* third);
WIZARD_EXPORT void SetPP2Date(const char* date);
WIZARD_EXPORT void SetPPLastStoreExt(const char* extension);

// ---- Products. Results 1 done (chains handed out), 2 failed (or, with a
// dialog, cancelled), 3 error; out-pointers are set only with 1.
WIZARD_EXPORT int PPDlg(HWND parent, jovDatabase::Database* db, unsigned view, resbuf** outGeometry,
                        resbuf** outData, unsigned char* flags, unsigned flagCount, unsigned lengthMode,
                        unsigned otherIndex, const char* otherPoints, unsigned ownNumber, const char* product,
                        const char* branch, const char* arg13, const char* group);
WIZARD_EXPORT int PPDlgNoInitialRecalc(HWND parent, jovDatabase::Database* db, unsigned view,
                                       resbuf** outGeometry, resbuf** outData, unsigned char* flags,
                                       unsigned flagCount, unsigned lengthMode, unsigned otherIndex,
                                       const char* otherPoints, unsigned ownNumber, const char* product,
                                       const char* branch, const char* arg13, const char* group);
WIZARD_EXPORT int PPGetResbufEx(jovDatabase::Database* db, unsigned view, resbuf** outGeometry, resbuf** outData,
                                unsigned char* flags, unsigned flagCount, const char* names, const char* values,
                                const char* product, const char* slope, const char* branch);
WIZARD_EXPORT int PPGetResbuf(jovDatabase::Database* db, unsigned view, resbuf** outGeometry, resbuf** outData,
                              unsigned char* flags, unsigned flagCount, const double* length, const double* dn,
                              const char* product, const char* slope, const char* branch);
// 0 done, 257 on any failure.
WIZARD_EXPORT unsigned ModifyDBParam(jovDatabase::Database* db, unsigned view);

// ---- Dialogs.
WIZARD_EXPORT int DimDlg(HWND parent, char kind);
WIZARD_EXPORT int JOV_MASK(int kind);
WIZARD_EXPORT int JOV_MASK_EDIT(HWND parent, unsigned kind);
WIZARD_EXPORT int JOV_MASK_E_PIPE();
WIZARD_EXPORT int JOV_MASK_Z();
WIZARD_EXPORT int JOV_MASK_E();
WIZARD_EXPORT int JOV_MASK_V();
WIZARD_EXPORT int JOV_MASK_T();
WIZARD_EXPORT int WizardDialog(HWND parent, jovDatabase::Database* db, unsigned view, bool viewOnly);
WIZARD_EXPORT int maskDefPreset(resbuf* entity, int useLetter, char kindLetter, HWND parent);
WIZARD_EXPORT int maskDefPresetEntSel();
