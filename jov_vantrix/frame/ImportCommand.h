// The import command after its selection prompt: the picked network is
// read, the user chooses the result file, each branch of the network takes
// the file's values for its scheme, and the changed entities are written
// back inside one change of the drawing. Failures are shown as messages and
// cancel the change.
#pragma once

class JovCutParams;

// params holds the description masks; its scheme stamp is set to each
// branch's scheme association in turn.
void ImportCalculationResults(JovCutParams& params);
