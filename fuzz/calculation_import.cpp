// A result file of the calculation programs applied by the import command
// to the exported fixture drawing, through the real host library with the
// heating catalogue: the input is the file the user picks. The drawing
// still saves and reloads with the same entities; an import that commits
// nothing leaves the drawing as it was, and one commits only from a file
// that reads and whose sections are whole; applying the same file again
// changes nothing more.
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/ImportCommand.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/SectionFile.h"
#include "jov_vantrix/section/CutSettings.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/host/DxfDrawing.h"
#include "platform/host/exports/HostControl.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/driver/script_ui_driver.h"
#include "platform/win32/driver/session_script.h"
#include "platform/win32/driver/ui_driver.h"

namespace {

const std::string kData = JOV_SOURCE_DIR "/tests/data/";
constexpr char kHandles[] = "3C,3E,3F,40,41,42,43,44";  // the network's entities

HMODULE g_host = nullptr;
ScriptUiDriver g_driver;  // answers the file dialog from the script
const DravikHostControl* g_control = nullptr;
std::string g_untouched;  // the fixture as the host saves it unchanged

void Require(bool done, const char* what, const char* error) {
  FUZZ_CHECK(done, std::string(what) + ": " + error);
}

// Opens the drawing with the network selected and runs the import on the
// result file as the command does after its prompt; the drawing saved at
// the end of the command, and how the command left it.
std::string Import(const std::string& drawing, int* ended) {
  char error[512] = "";
  std::string why;
  Require(CurrentSessionScript().LoadText("file result.txt\n", fuzz::ScratchFolder(), &why), "script", why.c_str());
  Require(g_control->OpenDrawing(drawing.c_str(), error, sizeof error), "open", error);
  Require(g_control->Preselect(kHandles, error, sizeof error), "select", error);
  g_control->BeginCommand();
  TheApp().InitPaths();
  TheApp().m_pHostTable = reinterpret_cast<HostExport2D* (*)()>(GetProcAddress(g_host, "GetExport2D"))();
  char settings[MAX_PATH];
  TheApp().GetDataPath(settings, "Jov.ini", MAX_PATH);
  JovCutParams params;
  ReadDescriptionMasks(settings, params);
  ImportCalculationResults(params);
  TheApp().m_pHostTable = nullptr;
  *ended = g_control->EndCommand();
  CurrentSessionScript().Clear();
  ClearUiJournal();
  const std::string saved = fuzz::ScratchFolder() + "/saved.dxf";
  Require(g_control->SaveDrawing(saved.c_str(), error, sizeof error), "save", error);
  return fuzz::FileBytes(saved);
}

std::vector<uint64_t> Handles(const std::string& text) {
  host::DxfDrawing drawing;
  host::DxfError error;
  FUZZ_CHECK(drawing.LoadText(text, &error), "the saved drawing does not load: " + error.ToString());
  std::vector<uint64_t> handles;
  for (const host::DxfEntity* entity : drawing.ModelSpace())
    if (const auto handle = entity->Handle()) handles.push_back(*handle);
  return handles;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetUiDriver(&g_driver);
  g_host = LoadLibraryA(JOV_FUZZ_MODULE_DIR "/dravik2d.arx");
  auto get = g_host ? reinterpret_cast<GetDravikControlFn>(GetProcAddress(g_host, kDravikControlExport)) : nullptr;
  g_control = get ? get() : nullptr;
  FUZZ_CHECK(g_control, "no host library in " JOV_FUZZ_MODULE_DIR);
  std::atexit([] { g_control->Shutdown(); });
  char error[256] = "";
  const std::string folder = fuzz::ScratchFolder();
  Require(g_control->SetOption("profile", (folder + "/profile").c_str(), error, sizeof error), "profile", error);
  Require(g_control->SetOption("catalogue", folder.c_str(), error, sizeof error), "catalogue", error);
  std::string why;
  Require(jovDatabase::BuildCatalogueFile((kData + "exchange.cat").c_str(), (folder + "/T.db").c_str(), why),
          "the heating catalogue", why.c_str());
  Require(g_control->OpenDrawing((kData + "exported.dxf").c_str(), error, sizeof error), "open", error);
  g_control->BeginCommand();
  g_control->EndCommand();
  const std::string saved = folder + "/untouched.dxf";
  Require(g_control->SaveDrawing(saved.c_str(), error, sizeof error), "save", error);
  g_untouched = fuzz::FileBytes(saved);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string resultFile = fuzz::WriteScratchFile("result.txt", fuzz::Text(data, size));
  CSecSezNew branches;
  SectionFileReport report;
  const bool readable = ReadSectionFile(branches, resultFile.c_str(), &report) == 2;

  int ended = 0;
  const std::string imported = Import(kData + "exported.dxf", &ended);
  FUZZ_CHECK(ended == kDravikCommitted || ended == kDravikCancelled || ended == kDravikUnchanged,
             "the import left its change open (" + std::to_string(ended) + ")");
  if (ended != kDravikCommitted) {
    FUZZ_CHECK(imported == g_untouched, "an import that committed nothing changed the drawing");
    return 0;
  }
  FUZZ_CHECK(readable, "a file that does not read was imported");
  FUZZ_CHECK(report.malformed.IsEmpty(), std::string("a file of cut sections was imported: ") + report.malformed.GetString());
  FUZZ_CHECK(report.repeated.IsEmpty() && report.tooLong.IsEmpty() && report.controlByte.IsEmpty() &&
                 report.notFinite.IsEmpty() && report.badNumber.IsEmpty(),
             "a file repeating lines, with over-long values, numbers that are none or control bytes was imported");
  FUZZ_CHECK(Handles(imported) == Handles(g_untouched), "the import added or lost entities");

  const std::string again = fuzz::WriteScratchFile("imported.dxf", imported);
  const std::string twice = Import(again, &ended);
  FUZZ_CHECK(ended == kDravikCommitted, "the same file no longer imports into its own result");
  FUZZ_CHECK(twice == imported, "importing the same file twice changed the drawing again");
  return 0;
}
