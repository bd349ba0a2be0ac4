// Ids of the preview tests' resource file, shared by the script and the tests.
#pragma once

#define IDD_PREVIEW_TEST 7100
// The preview sits where the export dialog places it.
#define IDC_PREVIEW_VIEW 5058
