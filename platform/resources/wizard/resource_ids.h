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
#define IDC_MASK_STORED_LABEL 1116
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
#define IDS_MASK_LIST_FULL 57
#define IDS_NAME_HAS_SEMICOLON 58
#define IDS_FREE_TEXT_HAS_FIELD_MARK 59

// ---- The parametric product dialog, its Vantrix panel and the parameter dialog.
#define IDC_PP_PREVIEW 1001
#define IDC_PP_PARAMS 1010
#define IDC_PP_HELP 1029
#define IDC_PP_REPORT 1038
#define IDC_PP_SWITCH 1050
#define IDC_PP_BACK 1057
#define IDC_PP_PANEL_BOTTOM 1058
#define IDC_PP_SWITCH_PRODUCT 1072
#define IDC_PP_SWITCH_CATALOGUE 1073
#define IDC_PP_ROOM 1074
#define IDC_PP_MIRROR 1075
#define IDC_PP_ITEM 1076
#define IDC_PP_MARKED_LABEL 1077
#define IDC_PP_MARKED 1078
#define IDC_PP_FIELD9_LABEL 1079
#define IDC_PP_FIELD9 1080
#define IDC_PP_FIELD8_LABEL 1081
#define IDC_PP_FIELD8 1082
#define IDC_PP_FIELD7_LABEL 1083
#define IDC_PP_FIELD7 1084
#define IDC_PP_FIELD3_LABEL 1085
#define IDC_PP_FIELD3 1086
#define IDC_PP_FIELD2_LABEL 1087
#define IDC_PP_FIELD2 1088
#define IDC_PP_FIELD1_LABEL 1089
#define IDC_PP_FIELD1 1090
#define IDC_PP_ITEM_LABEL 1091
#define IDC_PP_FIELD12_LABEL 1092
#define IDC_PP_FIELD12 1093
#define IDC_PP_FIELD11_LABEL 1094
#define IDC_PP_FIELD11 1095
#define IDC_PP_PANEL 1096
#define IDC_PP_ROOM_LABEL 1097
#define IDC_PP_CATALOGUE 1098
#define IDC_PP_FLOOR 1099
#define IDC_PP_FLOOR_LABEL 1102

#define IDD_PARAM 1002
#define IDC_PARAM_VALUES 1010
#define IDC_PARAM_NAME 1017
#define IDC_PARAM_LABEL 1018
#define IDC_PARAM_TYPE 1020
#define IDC_PARAM_DEFAULT 1021
#define IDC_PARAM_VALUE 1022
#define IDC_PARAM_ADD 1023
#define IDC_PARAM_DELETE 1024
#define IDC_PARAM_UP 1025
#define IDC_PARAM_DOWN 1026
#define IDC_PARAM_HELP 1029
#define IDC_PARAM_TYPE_CAPTION 1045
#define IDC_PARAM_NAME_CAPTION 1059
#define IDC_PARAM_LABEL_CAPTION 1060
#define IDC_PARAM_DEFAULT_CAPTION 1061

#define IDS_PARAM_NAME_TAKEN 9
#define IDS_PARAM_NAME_MISSING 11
#define IDS_PREVIEW_FAILED 12
#define IDS_NOT_ENOUGH_MEMORY 14
#define IDS_NO_PARAMETER_TYPES 15
#define IDS_VALUE_COLUMN 19
#define IDS_VALUE_OUT_OF_RANGE 23
#define IDS_PRODUCT_SWITCH 27
#define IDS_EDITOR_TEST_CLOSE 31
#define IDS_VALUE_OUT_OF_RANGE_M 32
#define IDS_VALUE_HAS_SEPARATOR 55
// A settings file that could not be written (%s: the file).
#define IDS_SETTINGS_NOT_SAVED 56
// A settings file the work went on without (%s: the file).
#define IDS_SETTINGS_NOT_KEPT 63
// A value, or a text made of values (%s: its key), too long for a drawing.
#define IDS_VALUE_TOO_LONG 60
#define IDS_PLACED_TEXT_TOO_LONG 61
// Deleting a parameter that formulas read (%s: the formulas, one a line).
#define IDS_PARAM_IN_FORMULAS 62
#define IDS_LEVEL_UNUSABLE 461
#define IDS_XDATA_TEXT_TOO_LONG 462
#define IDS_CONTROL_CHARACTER_REFUSED 464
// A slope given for a product that is no number within range (%s: it).
#define IDS_SLOPE_UNUSABLE 465

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

// ---- The producer dialog and the product definition editor.
// The producer dialog (IDD_PP2): producer, version, groups, type and
// measurement, the texts of the chosen type, the hand-over to the
// parametric dialog and the radiator catalogue.
#define IDC_PP2_PREVIEW 1001
#define IDC_PP2_TYPE 1020
#define IDC_PP2_HELP 1029
#define IDC_PP2_INFO 1038
#define IDC_PP2_PRODUCER 1044
#define IDC_PP2_TYPE_LABEL 1045
#define IDC_PP2_MEASUREMENT_LABEL 1046
#define IDC_PP2_MEASUREMENT 1047
#define IDC_PP2_DATE 1048
#define IDC_PP2_PARAMETRIC 1049
#define IDC_PP2_GROUP1 1051
#define IDC_PP2_SWITCH 1052
#define IDC_PP2_GROUP1_LABEL 1053
#define IDC_PP2_GROUP2_LABEL 1054
#define IDC_PP2_GROUP2 1055
#define IDC_PP2_KEEP_PRODUCER 1056
#define IDC_PP2_PANEL_BOTTOM 1058
#define IDC_PP2_SWITCH_PRODUCT 1072
#define IDC_PP2_SWITCH_CATALOGUE 1073
#define IDC_PP2_PANEL 1096
#define IDC_PP2_CATALOGUE 1098

#define IDS_NO_CHOICE_LABELS 26
#define IDS_MEASUREMENT_OUT_OF_RANGE 28
#define IDS_NO_GROUP 29

// The product definition editor (IDD_DEF_PARAM): the preview, the
// parameters, the points of a view and the formulas of the selected point.
#define IDC_DEF_PREVIEW 1001
#define IDC_DEF_TRY 1005
#define IDC_DEF_PARAMS 1010
#define IDC_DEF_PARAMS_FRAME 1014
#define IDC_DEF_ADD 1015
#define IDC_DEF_DELETE 1016
#define IDC_DEF_EDIT 1019
#define IDC_DEF_BASE_POINT 1027
#define IDC_DEF_FORMULAS_FRAME 1028
#define IDC_DEF_HELP 1029
#define IDC_DEF_VIEW_A 1030
#define IDC_DEF_VIEW_B 1031
#define IDC_DEF_VIEW_C 1032
#define IDC_DEF_POINTS 1033
#define IDC_DEF_ZOOM_IN 1034
#define IDC_DEF_FORMULAS 1035
#define IDC_DEF_ZOOM_EXTENTS 1036
#define IDC_DEF_ZOOM_OUT 1037
#define IDC_DEF_VIEW_3D 1041
#define IDC_DEF_STATUS 1042
#define IDC_DEF_LINE_ENDS 1043
#define IDC_DEF_POINTS_FRAME 1117
#define IDI_ZOOM_IN 1004
#define IDI_ZOOM_EXTENTS 1008
#define IDI_ZOOM_OUT 1009

#define IDS_EVALUATION_ERROR 16
#define IDS_EVALUATION_RESULT 17
#define IDS_MAKE_BASE_POINT 18
#define IDS_TIP_ZOOM_IN 20
#define IDS_TIP_ZOOM_OUT 21
#define IDS_TIP_ZOOM_EXTENTS 22
