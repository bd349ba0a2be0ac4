// Resource ids of "Wizard.qmr", shared by the wizard's code and the
// resource script (keep it to #define lines).
#pragma once

// Column titles of the parameter list of the definition editor (CJovList).
#define IDS_PARAM_COLUMN_NAME 5
#define IDS_PARAM_COLUMN_LABEL 6
#define IDS_PARAM_COLUMN_TYPE 7
#define IDS_PARAM_COLUMN_DEFAULT 8
