#include "jov_vantrix/network/CSecSezNew.h"

#include "jov_vantrix/network/CSecDataNew.h"

CSecDataNew* CSecSezNew::GetFirstSection() const { return static_cast<CSecDataNew*>(GetHead()); }
