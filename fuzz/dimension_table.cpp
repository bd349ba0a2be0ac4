// The dimension dialog's files: the input is read as the unit and dimension
// table "JOV_LIN.DAT" and as the dialog's settings "JOV.INI". Each kind's
// units and each unit's dimension texts fill a headless combo box, no text
// listed holds a separator, and the settings read within bounds.
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/mfc/CComboBox.h"
#include "platform/win32/profile.h"
#include "platform/win32/window_api.h"
#include "wizard/frame/engine/CDimData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  fuzz::WriteScratchFile("JOV_LIN.DAT", text);
  fuzz::WriteScratchFile("JOV.INI", text);
  const CDimData dims(fuzz::ScratchFolder().c_str());

  FUZZ_CHECK(dims.GetLastUnit() >= 0, "a negative unit");
  char last[16];
  const int length = dims.GetLastDim(last, sizeof last);
  // A value may hold NUL bytes of the file: the count covers them.
  FUZZ_CHECK(length >= 0 && length < static_cast<int>(sizeof last) && last[length] == '\0' &&
                 std::strlen(last) <= static_cast<size_t>(length),
             "the last dimension overruns its buffer");
  dims.GetShowDimDlg();

  HWND window = CreateWindowExA(0, "ComboBox", "", WS_POPUP | CBS_DROPDOWN, 0, 0, 100, 200, nullptr, nullptr, nullptr, nullptr);
  CComboBox combo;
  combo.Attach(window);
  for (char kind : {'T', 'Z', 'V', 'E', 'S'}) {
    const bool served = kind != 'S';
    FUZZ_CHECK(dims.LoadUnitList(kind, &combo) == served, "a kind served otherwise");
    if (!served) continue;
    const int units = combo.GetCount();
    FUZZ_CHECK(units >= 0 && units <= 60, "more units than keys");
    for (int unit = 0; unit <= units; ++unit) {
      FUZZ_CHECK(dims.LoadDimensionList(kind, unit, &combo, "first"), "the dimensions do not load");
      FUZZ_CHECK(combo.GetCount() >= 1 && combo.GetCount() <= 61, "more dimensions than lines");
      for (int row = 1; row < combo.GetCount(); ++row) {
        CString listed;
        combo.GetLBText(row, listed);
        FUZZ_CHECK(!listed.IsEmpty(), "an empty dimension listed");
        // A line without ';' is listed whole, a column ends at its ';'.
        FUZZ_CHECK(listed.Find(';') < 0, "a listed text holds ';'");
      }
    }
  }
  combo.Detach();
  DestroyWindow(window);
  return 0;
}
