// The one pick banner of the module, shown over the host's main window
// while the user picks the network to export and while the export fills or
// numbers its preview.
#pragma once

// show: creates the banner when there is none (1; -1 when it cannot be
// created), else gives it the focus (1). Hide: destroys it (5100).
int ShowPickBanner(bool show);
