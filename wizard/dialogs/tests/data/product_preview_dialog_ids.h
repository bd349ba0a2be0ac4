// The product preview tests' dialog.
#pragma once

#define IDD_PRODUCT_PREVIEW_TEST 7300
#define IDC_PRODUCT_PREVIEW_VIEW 1001
