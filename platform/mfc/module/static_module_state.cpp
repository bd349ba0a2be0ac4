// The module state of the module this file is linked into. Constant
// initialised, so it is ready before any static constructor of the module
// (the application object's among them) asks for it.
#include "platform/mfc/module_state.h"

namespace {
constinit AFX_MODULE_STATE g_moduleState{};
}

AFX_MODULE_STATE* AfxGetStaticModuleState() { return &g_moduleState; }
