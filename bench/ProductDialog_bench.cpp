// One edit cycle of the parametric dialog on the sample radiator: a length
// committed in the parameter list as the list tells its dialog (the cell
// changed), which recalculates the parameters, regenerates the product,
// hands it to the preview and rewrites the report, then the preview's
// repaint that follows (its scene rendered off-screen). The dialog runs
// modally on the headless desktop.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/registry.h"
#include "platform/win32/window_api.h"
#include "wizard/dialogs/CPPDlg.h"
#include "wizard/dialogs/ProductPreview.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/ProductDialogs.h"
#include "wizard/frame/engine/CListItemData.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"

namespace {

namespace fs = std::filesystem;

std::string Scratch() {
  std::string path = (fs::temp_directory_path() / "jov_bench_dialog_XXXXXX").string();
  if (!mkdtemp(path.data())) std::abort();
  fs::create_directories(fs::path(path) / "Dat");
  return path;
}

// The row of a parameter in the dialog's list.
int RowOf(CPPDlg& dialog, const char* name) {
  for (int row = 0; row < dialog.list.GetItemCount(); ++row) {
    auto* head = reinterpret_cast<CListItemData*>(dialog.list.GetItemData(row));
    const char* own = head && head->param ? head->param->GetText(ParamText::kName) : nullptr;
    if (own && std::string(own) == name) return row;
  }
  return -1;
}

void EditCycle(benchmark::State& state) {
  const std::string scratch = Scratch();
  SetProfileFolder(scratch.c_str());
  SetRegistryFolder(scratch + "/registry");
  const std::string modules = fs::read_symlink("/proc/self/exe").parent_path().string();
  jovDatabase::Database* db = jovDatabase::Database::Open((modules + "/Catalogue").c_str(), 'T');
  if (!db || db->GoIndexID("TOR0600-0001") != jovDatabase::eOK || !EnsureWizardResources()) {
    state.SkipWithError("the sample catalogue or the wizard's resources are missing");
    return;
  }
  SetCurrentCatalogue(db);
  UseApplicationAsProductDialogHost();
  HeadlessDriver driver;
  UiDriver* previous = SetUiDriver(&driver);

  CPPDlg dialog(1, nullptr, false, false);
  dialog.SetInitialRecalc(true);
  driver.OnDialog(IDD_PP, {DialogAction::Run([&](HWND) {
                             const int row = RowOf(dialog, "L");
                             if (row < 0) {
                               state.SkipWithError("the radiator has no L in its list");
                               return;
                             }
                             MSG msg{};
                             msg.hwnd = dialog.list.m_hWnd;
                             msg.message = kCellChanged;
                             msg.wParam = 1;
                             msg.lParam = row;
                             msg.time = kTypedText;
                             auto* preview = dynamic_cast<ViewProductPreview*>(dialog.preview.get());
                             if (!preview || !::IsWindow(preview->view.m_hWnd)) {
                               state.SkipWithError("the dialog has no product preview");
                               return;
                             }
                             int step = 0;
                             for (auto _ : state) {
                               // Another length each time, as typed, and the repaint it asks for.
                               dialog.list.SetItemText(row, 1, (step++ % 2) ? "1200" : "1400");
                               if (!dialog.PreTranslateMessage(&msg)) state.SkipWithError("the length was refused");
                               RECT dirty{};
                               if (!::GetUpdateRect(preview->view.m_hWnd, &dirty, FALSE))
                                 state.SkipWithError("the edit asked the preview for no repaint");
                               ::UpdateWindow(preview->view.m_hWnd);
                             }
                             const resbuf* chain = TheWizardApp().ResultChain1();
                             int nodes = 0;
                             for (; chain; chain = chain->next) ++nodes;
                             state.counters["chain nodes"] = nodes;
                           }),
                           DialogAction::Cancel()});
  dialog.DoModal();
  SetUiDriver(previous);
  SetCurrentCatalogue(nullptr);
  jovDatabase::Database::Close(db);
  SetRegistryFolder("");
  fs::remove_all(scratch);
}

}  // namespace

BENCHMARK(EditCycle)->Unit(benchmark::kMillisecond);
