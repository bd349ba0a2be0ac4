// The headless set-up of the targets that open the utility tests' dialog:
// its resources as the current module's, and the driver that runs windows
// without a screen.
#pragma once

namespace fuzz {

// Loads the resources and sets the module state once; aborts when they are
// missing, as no input could then be tried.
void OpenUtilityDialogs(const char* appName);

}  // namespace fuzz
