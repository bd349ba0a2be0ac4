// Ids of the controls tests' dialog, shared by its code and its resource
// script (keep it to #define lines).
#pragma once

#define IDD_CONTROLS 100
#define IDC_PARAMS 1010
#define IDC_ORDER 1011
#define IDC_NOTE 1012
#define IDC_NUMBER 1013
