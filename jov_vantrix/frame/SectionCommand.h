// The section command after its binding, and the two commands that mark
// picked entities as in or out of the network. Each opens at most one
// change of the drawing and ends it exactly once.
#pragma once

// The pick step, then the dialog of the picked riser or branch and its
// section drawn into the drawing.
void RunSectionCommand();

// Lets the user pick entities and excludes them from (exclude) or includes
// them in the network.
void RunIncludeCommand(bool exclude);
