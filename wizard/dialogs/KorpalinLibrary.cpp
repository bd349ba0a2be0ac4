#include "wizard/dialogs/KorpalinLibrary.h"

#include "platform/mfc/AfxLoadLibrary.h"
#include "platform/win32/file_access.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "dataformat/KorpalinData.h"

int ChooseFromKorpalinCatalogue(const char* path, HWND owner, KorpalinData* record) {
  using Choose = int (*)(int, KorpalinData*);
  using ChooseOwned = int (*)(HWND, int, KorpalinData*);
  HINSTANCE library = AfxLoadLibrary(path);
  if (!library) return 0;
  int result = 0;
  try {
    if (auto choose = reinterpret_cast<Choose>(GetProcAddress(library, "DejTeleso")))
      result = choose(0, record);
    else if (auto chooseOwned = reinterpret_cast<ChooseOwned>(GetProcAddress(library, "DejTeleso2")))
      result = chooseOwned(owner, 0, record);
  } catch (...) {
    // Whatever the library throws is no choice.
    result = 0;
  }
  AfxFreeLibrary(library);
  return result;
}

bool FindInstalledKorpalinLibrary(char* path, unsigned size) {
  return TheProductDialogHost().FindKorpalinLibrary(path, size) && _access(path, 0) == 0;
}
