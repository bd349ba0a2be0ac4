// The export command after its binding: the user picks the network, which
// is read (after a renumber reset when it carries the numbers of an earlier
// export), numbered in the export dialog and written to the exchange file,
// and the drawing takes the new numbers. Failures cancel the host's change
// and say why.
#pragma once

void ExportNetwork();
