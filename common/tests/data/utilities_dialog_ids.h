// Ids of the utility tests' resource file, shared by the script and the tests.
#pragma once

#define IDD_UTILITIES 7000
// One history box per input type: the type is the id minus IDC_TYPE_ANY.
#define IDC_TYPE_ANY 7001
#define IDC_TYPE_DIGITS 7002
#define IDC_TYPE_UNSIGNED 7003
#define IDC_TYPE_SIGNED_INT 7004
#define IDC_TYPE_SIGNED_DECIMAL 7005
#define IDC_TYPE_FILE_NAME 7006
#define IDC_TYPE_LETTERS 7007
#define IDC_PICKER 7010
#define IDC_BROWSE 7011
#define IDC_LEFT_PANE 7020
#define IDC_RIGHT_PANE 7021
