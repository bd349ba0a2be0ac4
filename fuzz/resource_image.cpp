// The compiled resource file as LoadLibraryA maps it, and the dialog and menu
// templates inside it. A file that reads writes back to a file that reads to
// the same bytes; so do the templates; a dialog template that reads builds
// its dialog.
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/menus.h"
#include "platform/win32/resource_file.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_api.h"

namespace {

void CheckDialog(const ResourceEntry& entry) {
  DialogTemplate dialog;
  std::string error;
  if (!ParseDialogTemplate(entry.data.data(), entry.data.size(), &dialog, &error)) return;
  const std::vector<BYTE> bytes = SerializeDialogTemplate(dialog);
  DialogTemplate again;
  FUZZ_CHECK(ParseDialogTemplate(bytes.data(), bytes.size(), &again, &error), "a written dialog does not read: " + error);
  FUZZ_CHECK(again == dialog, "dialog " + entry.name.Describe() + " reads back otherwise");
  HWND window = CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), nullptr,
                                           [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  if (window) DestroyWindow(window);
}

void CheckMenu(const ResourceEntry& entry) {
  std::vector<MenuTemplateItem> items;
  std::string error;
  if (!ParseMenuTemplate(entry.data.data(), entry.data.size(), &items, &error)) return;
  const std::vector<BYTE> bytes = SerializeMenuTemplate(items);
  std::vector<MenuTemplateItem> again;
  FUZZ_CHECK(ParseMenuTemplate(bytes.data(), bytes.size(), &again, &error), "a written menu does not read: " + error);
  FUZZ_CHECK(again == items, "menu " + entry.name.Describe() + " reads back otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResourceTable table;
  std::string error;
  if (!ParseResourceImage(data, size, table, error)) {
    FUZZ_CHECK(!error.empty() && table.entries.empty(), "a refused file without a reason, or with entries");
    return 0;
  }
  const std::vector<BYTE> image = SerializeResourceTable(table);
  ResourceTable again;
  FUZZ_CHECK(ParseResourceImage(image.data(), image.size(), again, error), "a written file does not read: " + error);
  FUZZ_CHECK(SerializeResourceTable(again) == image, "a written file reads back to other bytes");
  for (const auto& entry : table.entries) {
    if (!entry->type.isNumber) continue;
    if (entry->type.id == kRtDialog) CheckDialog(*entry);
    if (entry->type.id == kRtMenu) CheckMenu(*entry);
  }
  return 0;
}
