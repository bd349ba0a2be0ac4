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
#define IDS_RESULT_FILE_MALFORMED 280
#define IDS_WRITE_REFUSED 420
#define IDS_RESULT_FILE_REPEATED 421
#define IDS_RESULT_VALUE_TOO_LONG 422
#define IDS_RESULT_FILE_CONTROL_BYTE 423
#define IDS_IMPORT_NO_PROPERTY_NAMES 424
#define IDS_IMPORT_PARTIAL 425
#define IDS_IMPORT_PIPES_WITHOUT_SECTION 426
#define IDS_IMPORT_BRANCHES_UNMATCHED 427
#define IDS_IMPORT_SECTIONS_UNMATCHED 428

// The icon of every dialog of the plug-in.
#define IDI_JOV_VANTRIX 5001

// The pick banner: a small modeless window over the host while the user
// picks in the drawing, and its text control.
#define IDD_PICK_BANNER 5010
#define IDC_PICK_BANNER_TEXT 5063

// The section command: its prompts and messages, the layers it draws on,
// and its two dialogs, the branch section (IDD_JOV_CUTDLG_NEW) and the
// riser section (IDD_JOV_CUTDLG).
#define IDS_PROMPT_PICK_SECTION_START 3
#define IDS_PROMPT_SELECT_SECTION 4
#define IDS_NO_SECTION_START 5
#define IDS_PROMPT_SECTION_POINT 6
#define IDS_LAYER_FIRST_DESCRIPTION 11
#define IDS_LAYER_BUBBLES 12
#define IDS_LAYER_FLOOR_MARK 13
#define IDS_LAYER_BASE_LINE 14
#define IDS_LAYER_RISER 15
#define IDS_ASK_WITHOUT_SECTIONS 23
#define IDS_SECTION_NOT_DRAWN 24
#define IDS_NUMBER_MISSING 28
#define IDS_ASK_SHORTEN_CONNECTIONS 33
#define IDS_PIPE_AT_START_POSITION 36
#define IDS_SECOND_BRANCH_START 44
#define IDS_NOT_A_BRANCH_PIPE 52
#define IDS_PROMPT_PICK_PIPE 54
// What the section dialogs refuse before they draw, and what a drawing left
// out.
#define IDS_CUT_VALUE_UNUSABLE 290
#define IDS_CUT_FLOOR_TOO_LOW 291
#define IDS_CUT_SETTING_UNUSABLE 292
#define IDS_CUT_PRODUCT_UNKNOWN 293
#define IDS_CUT_CONNECTION_MISSING 294
#define IDS_CUT_BRANCH_UNTRACEABLE 295
#define IDS_CUT_PRODUCTS_LEFT_OUT 296
#define IDS_DRAWING_VALUE_UNUSABLE 431
#define IDS_PICKED_DISTANCE_UNUSABLE 432
#define IDS_SETTING_VALUE_UNUSABLE 433
#define IDS_PIPE_WITHOUT_SIDE 297
#define IDS_CUT_SETTINGS_NOT_CP1250 298
#define IDS_CUT_REPLACE_EARLIER 445
#define IDS_SECTION_OUT_OF_REACH 446

#define IDD_JOV_CUTDLG 5004
#define IDD_JOV_CUTDLG_NEW 5009

#define IDC_CUT_HELP 5008
#define IDC_CUT_PREVIEW 5009
#define IDC_CUT_DRAW_PIPE 5021
#define IDC_CUT_DESC_ELM 5022
#define IDC_CUT_DESC_RISER 5023
#define IDC_CUT_DRAW_FLOOR 5024
#define IDC_CUT_DESC_LASTRISER 5025  // branch section
#define IDC_CUT_HEIGHT 5025          // riser section
#define IDC_CUT_DIST_ELM 5026
#define IDC_CUT_DIST_RISER 5027
#define IDC_CUT_HEIGHT_FLOOR 5028
#define IDC_CUT_DIST_PIPE 5029
#define IDC_CUT_DESC_FLOOR 5030
#define IDC_CUT_RISER_MARKER 5032
#define IDC_CUT_PIPE_FLOOR_DIST 5033
#define IDC_CUT_SAME_LENGTH 5034
#define IDC_CUT_SAME_HEIGHT 5035
#define IDC_CUT_PIPE_SWITCH_ON 5041
#define IDC_CUT_PIPE_SWITCH_OFF 5042
#define IDC_CUT_HEIGHT_LABEL 5043
#define IDC_CUT_DIST_PIPE_LABEL 5044
#define IDC_CUT_ENABLE_SAME_LENGTH 5045
#define IDC_CUT_DESC_FLOOR_LABEL 5046
#define IDC_CUT_PIPE_FLOOR_LABEL 5047
#define IDC_CUT_PIPE_SWITCH_GROUP 5048
#define IDC_CUT_ENABLE_SAME_HEIGHT 5049
#define IDC_CUT_LAST_FLOOR 5051
#define IDC_CUT_NUMBER 5052

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

// The project manager (Jov_Vantrix_M): registered Vantrix projects, the
// import of "cad" files, and the modify dialog that marks a project's items.
#define IDS_FILTER_CAD_FILES 1
#define IDS_PROJECT_ALREADY_REGISTERED 58
#define IDS_PROJECT_LIST_DAMAGED 283
#define IDS_SETTINGS_NOT_WRITTEN 285
#define IDS_CAD_TEXT_ENDS_EARLY 310

#define IDD_JOV_MANAGER 5000
#define IDD_JOV_MODIFY 5034

#define IDC_MANAGER_IMPORT 5002
#define IDC_MANAGER_MAKE_CURRENT 5005
#define IDC_MANAGER_USE 5006
#define IDC_MANAGER_HELP 5008
#define IDC_MANAGER_CURRENT 5031
#define IDC_PROJECT_LIST 5033
#define IDC_MANAGER_DELETE 5035
#define IDC_MANAGER_MODIFY 5036
#define IDC_MODIFY_TICK_ALL 5055
#define IDC_MODIFY_CLEAR_ALL 5056

// The export (Jov_Vantrix_Export): its prompt, messages and file filter,
// the layer of the segment-number labels, and its dialog with the preview.
#define IDS_EXPORT_NOT_BUILT 18
#define IDS_FILTER_EXPORT_FILES 25
#define IDS_EXPORT_FILE_MISSING 27
#define IDS_PROMPT_SELECT_EXPORT 37
#define IDS_LAYER_SEGMENT_NUMBERS 43
#define IDS_EXPORT_FILE_NOT_CREATED 59
#define IDS_EXPORT_TEXT_SEPARATOR 281
#define IDS_FIRST_NUMBER_TOO_LARGE 282
#define IDS_SETTINGS_NOT_KEPT 286
#define IDS_NO_FLOOR_PLAN_PIPES 287

#define IDD_JOV_EXPORT 5005

#define IDC_EXPORT_BROWSE 5038
#define IDC_EXPORT_FILE 5039
#define IDC_EXPORT_DESCRIPTIONS 5050
#define IDC_EXPORT_FIRST_NUMBER 5054
#define IDC_EXPORT_UNDO 5057
#define IDC_EXPORT_PREVIEW 5058
#define IDC_EXPORT_NUMBER_ALL 5066
#define IDC_EXPORT_HELP 9
