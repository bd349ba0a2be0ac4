// How the section generators' messages name a product: five products of a
// section may share a type code, so a name says what, which and where.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

class CJovData;

// "designation (type code, branch 3)": the designation is the product's
// "_QPROD", else its "TY"; left out when it has neither. "?" stands for a
// missing type code or branch.
CString ProductName(const CJovData& data, const char* branch);

// "2: name, name": how many products and which.
CString LeftOutText(const CStringArray& names);
