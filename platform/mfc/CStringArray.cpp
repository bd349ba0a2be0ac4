#include "platform/mfc/CStringArray.h"

IMPLEMENT_DYNAMIC(CStringArray, CObject)
