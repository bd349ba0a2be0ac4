// Ids of the dialog tests' resource file, shared by the script and the tests.
#pragma once

#define IDD_BANNER 5010
#define IDC_BANNER_TEXT 5063
#define IDD_FORM 6000
#define IDC_NAME 6001
#define IDC_COUNT 6002
#define IDC_RATIO 6003
#define IDC_DESCRIPTIONS 6004
#define IDC_METRES 6005
#define IDC_MILLIMETRES 6006
#define IDC_NUMBER 6007
#define IDC_KIND 6008
#define IDC_ROWS 6009
#define IDC_BROWSE 6010
#define IDC_BACK 6011
#define IDD_MORE 6200
#define IDC_LIST 6201
#define IDC_SLIDER 6202
#define IDC_AMOUNT 6203
#define IDR_CONTEXT 6100
#define IDM_NUMBER_ALL 6101
#define IDM_UNDO 6102
#define IDS_BANNER 48
#define IDS_LONG 49
#define IDS_FILTER 50
#define IDS_COUNT_PROMPT 51
