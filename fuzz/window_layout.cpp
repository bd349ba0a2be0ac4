// A resizable dialog's saved layout (the profile value "left;top;width;
// height;dpi;show;id;change...") restored on a headless dialog with linked
// panes. A restored dialog lies with its top-left corner on the screen and
// is not smaller than its minimum; saved again on closing and restored on
// the next opening, it comes back the same.
#include <memory>
#include <string>

#include "common/tests/UtilityDialog.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/UtilityDialogFuzz.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/profile.h"

using namespace utility_tests;

namespace {

struct Opened {
  bool restored = false;
  CRect normal;  // the normal rectangle, whatever the show state
  CRect left, right;
};

CRect ControlRect(CDialog& dialog, int id) {
  CRect r;
  dialog.GetDlgItem(id)->GetWindowRect(&r);
  return r;
}

// Opens the dialog on the saved layout, notes where it went and closes it,
// which saves the layout again.
Opened OpenAndClose(const std::string& settings) {
  UtilityDialog dialog(settings);
  FUZZ_CHECK(dialog.Create(IDD_UTILITIES), "the dialog does not open");
  Opened seen;
  seen.restored = dialog.restored;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  dialog.GetWindowPlacement(&placement);
  seen.normal = CRect(placement.rcNormalPosition);
  seen.left = ControlRect(dialog, IDC_LEFT_PANE);
  seen.right = ControlRect(dialog, IDC_RIGHT_PANE);
  if (seen.restored) {
    FUZZ_CHECK(seen.normal.left >= 0 && seen.normal.top >= 0, "a restored dialog starts off the screen");
    FUZZ_CHECK(seen.normal.Width() >= dialog.minWindowSize.cx && seen.normal.Height() >= dialog.minWindowSize.cy,
               "a restored dialog is smaller than its minimum");
  }
  dialog.DestroyWindow();
  FUZZ_CHECK(dialog.saved, "the layout is not saved on closing");
  return seen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::OpenUtilityDialogs("LayoutFuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The value is the input's first line, as a profile file can hold it.
  std::string value = fuzz::CText(data, size);
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::string settings =
      fuzz::WriteScratchFile("Jov.ini", std::string("[") + kLayoutSection + "]\r\n" + kLayoutKey + "=" + value + "\r\n");

  const Opened first = OpenAndClose(settings);
  const Opened second = OpenAndClose(settings);
  FUZZ_CHECK(second.restored, "a layout saved on closing does not restore");
  // A rectangle beyond the screen saves the placement of the opening instead.
  const HeadlessMetrics& screen = GetHeadlessMetrics();
  const bool onScreen = first.normal.right <= screen.screenWidth && first.normal.bottom <= screen.screenHeight;
  if (first.restored && onScreen) {
    FUZZ_CHECK(second.normal == first.normal, "saved and restored, the dialog moved");
    FUZZ_CHECK(second.left == first.left && second.right == first.right, "saved and restored, the panes changed");
  }
  return 0;
}
