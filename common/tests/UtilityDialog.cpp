// The message map of the utility tests' dialog.
#include "common/tests/UtilityDialog.h"

namespace utility_tests {

BEGIN_MESSAGE_MAP(UtilityDialog, CDialog)
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

}  // namespace utility_tests
