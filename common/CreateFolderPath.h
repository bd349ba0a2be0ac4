// Makes every missing folder of a path, parents first.
#pragma once

// With stripFileName the path's last component (after the last '\' or '/')
// is a file name and is left out; such a path without a separator gives
// false. True when the folder exists afterwards (also when it already did,
// or when only the root remains); false when it or a parent cannot be made.
bool CreateFolderPath(const char* path, bool stripFileName);
