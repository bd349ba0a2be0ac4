// The product dialogs' switch between the catalogue's drawing and the
// product: a check box whose caption says what is shown (its template
// text for the catalogue's drawing, string 27 for the product), or, in the
// edition whose string 27 reads "Voransicht", two radio buttons.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/win32/win32_types.h"

class CWnd;

// Reads both captions, hides the check box or the radios by the edition;
// true in radio mode.
bool SetUpProductSwitch(CWnd* dialog, UINT check, UINT productRadio, UINT catalogueRadio, CString& catalogueCaption,
                        CString& productCaption);
