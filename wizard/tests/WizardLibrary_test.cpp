// The built "Wizard.dll", loaded into this process as its hosts load it:
// which programs it starts under, and the codes its exports answer without
// their resource file and again once the file is back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/HostExport2D.h"
#include "jov_vantrix/tests/TestHosts.h"
#include "platform/catalogue/Database.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/driver/ui_driver.h"
#include "wizard/tests/ProgramAsHost.h"

namespace fs = std::filesystem;

namespace {

// A folder with a copy of the library and, when asked, its resources.
class WizardFolder {
 public:
  explicit WizardFolder(bool withResources) {
    dir_ = fs::temp_directory_path() / ("jov-wizard-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(dir_);
    fs::copy_file(fs::path(JOV_TEST_MODULE_DIR) / "Wizard.dll", dir_ / "Wizard.dll");
    if (withResources) AddResources();
  }
  ~WizardFolder() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  void AddResources() { fs::copy_file(fs::path(JOV_TEST_MODULE_DIR) / "Wizard.qmr", dir_ / "Wizard.qmr"); }
  std::string Library() const { return (dir_ / "Wizard.dll").string(); }

 private:
  static inline int counter_ = 0;
  fs::path dir_;
};

template <typename F>
F Export(HMODULE module, const char* name) {
  auto f = reinterpret_cast<F>(GetProcAddress(module, name));
  EXPECT_NE(f, nullptr) << name;
  return f;
}

class WizardLibrary : public ::testing::Test {
 protected:
  void TearDown() override { SetProgramFileName(program_.c_str()); }
  const std::string program_ = ProgramPath();
};

}  // namespace

TEST_F(WizardLibrary, StartsUnderItsThreeHostsAndNeedsTheFullHostsTable) {
  WizardFolder folder(true);
  EXPECT_EQ(LoadLibraryA(folder.Library().c_str()), nullptr) << "no host, no table";
  {
    TestHost host("full");
    HMODULE wizard = LoadLibraryA(folder.Library().c_str());
    EXPECT_NE(wizard, nullptr) << "the full host's table";
    FreeLibrary(wizard);
  }
  for (const char* program : {"/opt/dravik/DUVOZEDO.EXE", "/opt/maker/JovMgr.exe", "/opt/maker/JOVMGR.EXE"}) {
    SetProgramFileName(program);
    HMODULE wizard = LoadLibraryA(folder.Library().c_str());
    EXPECT_NE(wizard, nullptr) << program;
    FreeLibrary(wizard);
  }
}

TEST_F(WizardLibrary, WithoutItsResourcesEveryExportAnswersItsCodeUntilTheFileIsBack) {
  TestHost host("full");
  WizardFolder folder(false);
  HMODULE wizard = LoadLibraryA(folder.Library().c_str());
  ASSERT_NE(wizard, nullptr);
  jovDatabase::Database* db = jovDatabase::Database::Open(JOV_TEST_CATALOGUE_DIR, 'T');
  ASSERT_NE(db, nullptr);
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), jovDatabase::eOK);

  auto dimDlg = Export<int (*)(HWND, char)>(wizard, "DimDlg");
  auto mask = Export<int (*)(int)>(wizard, "JOV_MASK");
  auto maskEdit = Export<int (*)(HWND, unsigned)>(wizard, "JOV_MASK_EDIT");
  auto wizardDialog = Export<int (*)(HWND, jovDatabase::Database*, unsigned, bool)>(wizard, "WizardDialog");
  auto preset = Export<int (*)(resbuf*, int, char, HWND)>(wizard, "maskDefPreset");
  using ProductDialog = int (*)(HWND, jovDatabase::Database*, unsigned, resbuf**, resbuf**, unsigned char*, unsigned,
                                unsigned, unsigned, const char*, unsigned, const char*, const char*, const char*,
                                const char*);
  auto ppDlg = Export<ProductDialog>(wizard, "PPDlg");
  auto ppDlgNoRecalc = Export<ProductDialog>(wizard, "PPDlgNoInitialRecalc");
  using Product = int (*)(jovDatabase::Database*, unsigned, resbuf**, resbuf**, unsigned char*, unsigned,
                          const char*, const char*, const char*, const char*, const char*);
  auto getResbufEx = Export<Product>(wizard, "PPGetResbufEx");
  resbuf* geometry = nullptr;
  resbuf* data = nullptr;
  auto dialogRequest = [&](ProductDialog f) {
    return f(nullptr, db, 1, &geometry, &data, nullptr, 0, 1000, 0, nullptr, 1, nullptr, nullptr, nullptr, nullptr);
  };
  auto presetPick = Export<int (*)()>(wizard, "maskDefPresetEntSel");
  using Plain = int (*)();
  const char* const kinds[] = {"JOV_MASK_E_PIPE", "JOV_MASK_Z", "JOV_MASK_E", "JOV_MASK_V", "JOV_MASK_T"};

  // Twice: a failed load is tried again by the next call.
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(dimDlg(nullptr, 'E'), 1) << "before anything else";
    EXPECT_EQ(dimDlg(nullptr, 'T'), 2);
    EXPECT_EQ(mask('W'), 2);
    EXPECT_EQ(maskEdit(nullptr, 'Z'), 2);
    for (const char* name : kinds) EXPECT_EQ(Export<Plain>(wizard, name)(), 2) << name;
    EXPECT_EQ(wizardDialog(nullptr, db, 1, false), -1);
    EXPECT_EQ(dialogRequest(ppDlg), 3);
    EXPECT_EQ(dialogRequest(ppDlgNoRecalc), 3);
    EXPECT_EQ(getResbufEx(db, 1, &geometry, &data, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr), 2);
    EXPECT_EQ(preset(nullptr, 1, 'z', nullptr), -1);
    EXPECT_EQ(presetPick(), -1);
  }

  // With the file back the calls go on to their dialogs, which nobody
  // answers here: each is cancelled.
  folder.AddResources();
  ClearUiJournal();
  EXPECT_EQ(dimDlg(nullptr, 'T'), IDCANCEL);
  EXPECT_EQ(mask('W'), IDCANCEL);
  for (const char* name : kinds) EXPECT_EQ(Export<Plain>(wizard, name)(), IDCANCEL) << name;
  std::vector<int> opened;
  for (const UiEvent& e : UiJournal())
    if (e.kind == UiEvent::Kind::DialogOpened) opened.push_back(e.dialog.templateId);
  EXPECT_EQ(opened, (std::vector<int>{IDD_DIM, IDD_MASK, IDD_MASK, IDD_MASK, IDD_MASK, IDD_MASK, IDD_MASK}));
  // Without the scene library's resources beside it the editor's preview
  // has no scene: it says so and ends before it is seen.
  ClearUiJournal();
  EXPECT_EQ(wizardDialog(nullptr, db, 1, true), -1);
  std::vector<UiEvent> boxes;
  for (const UiEvent& e : UiJournal())
    if (e.kind == UiEvent::Kind::MessageBox) boxes.push_back(e);
  ASSERT_EQ(boxes.size(), 2u) << "the scene library's complaint, then the editor's";
  EXPECT_NE(boxes[0].box.text.find("GLOBJECT.GLR"), std::string::npos);
  EXPECT_NE(boxes.back().box.text.find("preview could not be prepared"), std::string::npos);
  EXPECT_EQ(boxes.back().box.type, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(wizardDialog(nullptr, nullptr, 1, false), -1) << "no catalogue";
  EXPECT_EQ(preset(nullptr, 1, 'z', nullptr), 0) << "the editor did not end with OK";
  EXPECT_EQ(presetPick(), -1) << "the test host's table has no Select";
  EXPECT_EQ(dialogRequest(ppDlg), 1) << "the valve needs no dialog";
  EXPECT_NE(geometry, nullptr);
  EXPECT_NE(data, nullptr);
  EXPECT_EQ(getResbufEx(db, 1, &geometry, &data, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr), 1);

  FreeLibrary(wizard);
  jovDatabase::Database::Close(db);
}
