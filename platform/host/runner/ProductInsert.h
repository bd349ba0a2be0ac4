// Places a product a library handed out as a host does: its geometry as an
// anonymous block definition of its own, and an INSERT of that block
// carrying the product's extended data.
#pragma once

#include <string>

#include "dataformat/HostExportTable.h"
#include "dataformat/resbuf.h"

// Through the host's export table, inside one change that is committed.
// geometry is chain 1 (entities), data chain 2 ("JOV_DATA" first);
// blockName receives the name the host gave ("*U" and a number). False
// with the reason.
bool InsertProduct(const HostExport2D* table, const resbuf* geometry, const resbuf* data, double x, double y,
                   std::string* blockName, std::string* error);
