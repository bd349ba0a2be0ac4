// Resource ids of "Jov_Vantrix.qmr", shared by the plug-in's code and the
// resource script (keep it to #define lines).
#pragma once

// Product kinds a record's "TY" property names; each decides how the
// section generator connects the product.
#define IDS_TY_VALVE 7
#define IDS_TY_FITTING 8
#define IDS_TY_CONVECTOR 9
#define IDS_TY_RADIATOR 10
#define IDS_TY_MANIFOLD 51

// Messages and prompts.
#define IDS_PIPES_NOT_PROCESSED 17
#define IDS_PROMPT_SELECT_IMPORT 20
#define IDS_RESULT_FILE_UNREADABLE 21
#define IDS_FILTER_RESULT_FILES 26
#define IDS_SEVERAL_START_PIPES 30
#define IDS_SEVERAL_SCHEMES 41
#define IDS_NO_SCHEME 42
#define IDS_NETWORK_INCOMPLETE 47
#define IDS_PICK_BANNER 48
#define IDS_PROMPT_INCLUDE 49
#define IDS_PROMPT_EXCLUDE 50
#define IDS_ONLY_EXCLUDED_PIPES 53
#define IDS_RESET_EXPORT_NUMBERS 56
#define IDS_NOTHING_IMPORTED 57

// The icon of every dialog of the plug-in.
#define IDI_JOV_VANTRIX 5001

// The pick banner: a small modeless window over the host while the user
// picks in the drawing, and its text control.
#define IDD_PICK_BANNER 5010
#define IDC_PICK_BANNER_TEXT 5063

// The drawing preview: its context menu (one popup) and commands, and its
// cursors (pick; zoom, pan and zoom window, each both pressed and hovering).
#define IDR_PREVIEW_MENU 46
#define ID_PREVIEW_PAN 32771
#define ID_PREVIEW_ZOOM 32772
#define ID_PREVIEW_ZOOM_EXTENTS 32775
#define ID_PREVIEW_SELECT 32776
#define ID_PREVIEW_ZOOM_WINDOW 32778
#define IDC_CURSOR_PICK 5012
#define IDC_CURSOR_ZOOM 5059
#define IDC_CURSOR_PAN 5060
#define IDC_CURSOR_WINDOW 5061
