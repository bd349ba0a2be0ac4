#include "jov_vantrix/network/CObjSezNew.h"

#include "jov_vantrix/network/CObjDataNew.h"

CObjDataNew* CObjSezNew::GetFirstRecord() const { return static_cast<CObjDataNew*>(GetHead()); }
