// The resource-script compiler (the build's jov_rc). A script either
// compiles or fails with a ScriptError naming its place; what compiles must
// make a resource file that reads back to the same bytes, with dialogs and
// menus the dialog manager can read.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/resources/compiler/ResourceScriptCompiler.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/menus.h"
#include "platform/win32/resource_file.h"
#include "platform/win32/resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  // Scripts may name any file; these would read the machine, not the script.
  for (const char* special : {"/proc", "/sys", "/dev"})
    if (text.find(special) != std::string_view::npos) return 0;
  const std::string path = fuzz::WriteScratchFile("fuzz.rc", text);

  // The headers and images of the plug-in's script are found as in the build.
  ResourceScriptCompiler compiler({JOV_SOURCE_DIR "/platform/resources/jov_vantrix", JOV_SOURCE_DIR});
  ResourceTable table;
  try {
    table = compiler.Compile(path);
  } catch (const ScriptError& e) {
    FUZZ_CHECK(e.line >= 0 && !e.file.empty(), std::string("an error without its place: ") + e.what());
    return 0;
  }

  const std::vector<BYTE> image = SerializeResourceTable(table);
  ResourceTable read;
  std::string error;
  FUZZ_CHECK(ParseResourceImage(image.data(), image.size(), read, error), "the compiled file does not read: " + error);
  FUZZ_CHECK(SerializeResourceTable(read) == image, "the compiled file reads back to other bytes");
  for (const auto& entry : read.entries) {
    if (!entry->type.isNumber) continue;
    if (entry->type.id == kRtDialog) {
      DialogTemplate dialog;
      FUZZ_CHECK(ParseDialogTemplate(entry->data.data(), entry->data.size(), &dialog, &error),
                 "dialog " + entry->name.Describe() + " does not read: " + error);
    } else if (entry->type.id == kRtMenu) {
      std::vector<MenuTemplateItem> items;
      FUZZ_CHECK(ParseMenuTemplate(entry->data.data(), entry->data.size(), &items, &error),
                 "menu " + entry->name.Describe() + " does not read: " + error);
    }
  }
  return 0;
}
