// The open and save file dialogs. Headless the installed user-interface
// driver answers them (UiDriver::AnswerFileDialog: a path or a cancel); the
// answer then passes the checks the dialog would make (a file or folder that
// must exist, a default extension, the overwrite question, the buffer size)
// and is recorded in the journal.
#pragma once

#include "platform/win32/messages.h"

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // pairs of NUL-terminated texts, ending in an empty one
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
};
using OPENFILENAME = OPENFILENAMEA;
using LPOPENFILENAMEA = OPENFILENAMEA*;
// The structure sizes the dialogs accept: the full one and the one of
// version 4 (without the last three members).
constexpr DWORD kOpenFileNameSize = sizeof(OPENFILENAMEA);
constexpr DWORD kOpenFileNameSizeVersion400 = 136;

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_NOTESTFILECREATE = 0x00010000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_NODEREFERENCELINKS = 0x00100000;
constexpr DWORD OFN_LONGNAMES = 0x00200000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD FNERR_SUBCLASSFAILURE = 0x3001;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// TRUE with the chosen path in lpstrFile (nFileOffset, nFileExtension and
// lpstrFileTitle set); FALSE when cancelled or failed (CommDlgExtendedError
// tells which: 0 for a cancel).
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
DWORD CommDlgExtendedError();
inline BOOL GetOpenFileName(OPENFILENAMEA* ofn) { return GetOpenFileNameA(ofn); }
inline BOOL GetSaveFileName(OPENFILENAMEA* ofn) { return GetSaveFileNameA(ofn); }
