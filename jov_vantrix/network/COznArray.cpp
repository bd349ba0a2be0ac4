#include "jov_vantrix/network/COznArray.h"

IMPLEMENT_DYNAMIC(COznArray, CStringArray)
