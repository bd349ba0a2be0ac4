// The message map of the utility tests' dialog and the fixture's helpers.
#include "common/tests/UtilityDialog.h"

#include <fstream>
#include <sstream>

namespace utility_tests {

BEGIN_MESSAGE_MAP(UtilityDialog, CDialog)
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

std::string UtilityDialogTest::SettingsText() const {
  std::ifstream in(profile_ / "Dat" / "Jov.ini", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace utility_tests
