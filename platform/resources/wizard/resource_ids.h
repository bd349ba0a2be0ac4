// Resource ids of "Wizard.qmr", shared by the wizard's code and the
// resource script (keep it to #define lines).
#pragma once

// Column titles of the parameter list of the definition editor (CJovList).
#define IDS_PARAM_COLUMN_NAME 5
#define IDS_PARAM_COLUMN_LABEL 6
#define IDS_PARAM_COLUMN_TYPE 7
#define IDS_PARAM_COLUMN_DEFAULT 8

// The small icon of every wizard dialog.
#define IDI_WIZARD 1003

// Messages of the product requests.
#define IDS_POINT_NAME_NOT_A_PARAMETER 24
#define IDS_XDATA_NOT_BUILT 25
#define IDS_CONNECTION_MISMATCH 30
// The prompt of the entity pick that proposes a label mask.
#define IDS_PICK_MASK_ENTITY 53

// Dialog templates opened by the exports.
#define IDD_DEF_PARAM 1000
#define IDD_PP 1006
#define IDD_PP2 1007
#define IDD_DIM 1018
#define IDD_MASK 1019
#define IDD_MASK_DEF 1020

// ---- Label masks and the dimension dialog.
// The dimension dialog (IDD_DIM): units, dimension texts and "do not show again".
#define IDC_DIM_TEXT 1099
#define IDC_DIM_UNIT 1100
#define IDC_DIM_HIDE 1101
// The mask list of a kind (IDD_MASK).
#define IDC_MASK_LIST 1010
#define IDC_MASK_ADD 1023
#define IDC_MASK_DELETE 1105
#define IDC_MASK_DEFINITION 1106
#define IDC_MASK_NAME 1107
#define IDC_MASK_EDIT 1108
#define IDC_MASK_KIND 1109
// The mask editor (IDD_MASK_DEF): field entries, the mask's parts, the stored masks.
#define IDC_MASK_FIELDS 1103
#define IDC_MASK_PARTS 1110
#define IDC_MASK_PART_ADD 1113
#define IDC_MASK_PART_REMOVE 1114
#define IDC_MASK_STORED 1118
#define IDC_MASK_SAVE 1119
// The name of a mask, or a free text of a mask.
#define IDD_MASK_NAME 1021
#define IDC_MASK_NAME_TEXT 1120
#define IDC_MASK_NAME_LABEL 1122
// Shared by the mask dialogs: move up, move down, help.
#define IDC_MOVE_UP 1025
#define IDC_MOVE_DOWN 1026
#define IDC_HELP_BUTTON 1029

#define IDS_PRESET_MASK_NAME 3
#define IDS_MASK_NAME_TAKEN 4
#define IDS_NO_ELEMENT_DATA 10
#define IDS_NEW_MASK_NAME 34
#define IDS_NO_ELEMENT_DATA_CAPTION 35
#define IDS_FIELDS_COLUMN 36
#define IDS_MASK_COLUMN 37
#define IDS_FREE_TEXT_FORMAT 38
#define IDS_FREE_TEXT_TITLE 39
#define IDS_FREE_TEXT_LABEL 40
// Names of the pipe label's built-in fields.
#define IDS_PIPE_FIELD_E1 41
#define IDS_PIPE_FIELD_E2 42
#define IDS_PIPE_FIELD_E3 43
#define IDS_PIPE_FIELD_E4 44
#define IDS_PIPE_FIELD_E5 45
#define IDS_PIPE_FIELD_E6 46
#define IDS_PIPE_FIELD_E7 47
#define IDS_PIPE_FIELD_E8 48
#define IDS_PIPE_FIELD_IZ 49
#define IDS_PIPE_FIELD_H 50
#define IDS_PIPE_FIELD_E9 51
#define IDS_PIPE_FIELD_BREAK 52
#define IDS_MASK_TOO_LONG 54

// ---- The product preview.
// The definition editor's preview menu (popup 0): the preview kinds 0, 1
// and 2, and a fit to the extents.
#define IDR_PRODUCT_PREVIEW_MENU 1011
#define ID_PRODUCT_PREVIEW_GROUPS 32772
#define ID_PRODUCT_PREVIEW_POINTS 32773
#define ID_PRODUCT_PREVIEW_GEOMETRY 32774
#define ID_PRODUCT_PREVIEW_EXTENTS 32775
// The preview's zoom and pan cursors.
#define IDC_PRODUCT_PREVIEW_ZOOM 1012
#define IDC_PRODUCT_PREVIEW_PAN 1013
