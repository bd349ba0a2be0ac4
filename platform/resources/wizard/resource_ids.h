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
