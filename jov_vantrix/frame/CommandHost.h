// The by-name host functions of the drawing command that runs, for the code
// deep inside it that walks the whole drawing or erases entities. Null
// outside a command that bound them.
#pragma once

class CDravikFunc;

void SetCommandHost(CDravikFunc* host);
CDravikFunc* CommandHost();

// Why the host refused the last write or erase: the command's host
// functions, or the host module's own for a command that bound none; null
// when the host does not say.
const char* HostLastError();
