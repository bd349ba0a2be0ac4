// What the engine's tests share: parameters made from a line of values, a
// catalogue (built from text, or a copy of a sample) made the engine's
// current one with a profile folder beside it, and a headless window to
// hold list views and choice boxes.
#pragma once

#include <filesystem>
#include <string>

#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CWnd.h"
#include "platform/win32/code_page.h"
#include "platform/win32/tests/headless_fixture.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"

namespace engine_test {

struct ParamSpec {
  const char* name;
  const char* value;     // slot 5
  const char* fallback;  // slot 1: default or formula
  uint32_t status = 0;
  double lo = 0, hi = 1e9;
  const char* label = nullptr;
  const char* allowed = nullptr;
};

inline CValueParam* AddParam(CSeznam& list, const ParamSpec& spec) {
  auto* p = new CValueParam;
  p->SetText(ParamText::kName, spec.name);
  p->SetText(ParamText::kValue, spec.value);
  p->SetText(ParamText::kDefault, spec.fallback);
  p->SetText(ParamText::kLabel, spec.label);
  p->SetText(ParamText::kAllowed, spec.allowed);
  p->status = spec.status;
  p->lowLimit = spec.lo;
  p->highLimit = spec.hi;
  list.AddTail(p);
  return p;
}

inline std::string Value(const CValueParam* p) {
  const char* v = p ? p->GetText(ParamText::kValue) : nullptr;
  return v ? v : "<null>";
}

class EngineTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    SetProfileFolder(folder.Path().c_str());
    std::filesystem::create_directories(folder.File("Dat"));
  }
  void TearDown() override {
    SetCurrentCatalogue(nullptr);
    jovDatabase::Database::Close(db);
    SetProfileFolder(nullptr);
    SetLastValuesExtension(nullptr);
    SetCallerTexts(nullptr, nullptr, nullptr);
    SetLengthDisplayMode(1000);
    HeadlessTest::TearDown();
  }

  // A catalogue of trade letter from source (code page 1250 texts are
  // written as they stand); the engine's current one.
  void UseCatalogue(const std::string& source, char trade = 'T') {
    std::string error;
    const std::string path = folder.File(std::string(1, trade) + ".db");
    ASSERT_TRUE(jovDatabase::BuildCatalogueFromText(Cp1250ToUtf8(source), path.c_str(), error)) << error;
    Open(trade);
  }
  // A copy of the sample catalogue of that trade.
  void UseSample(char trade) {
    const std::string name = std::string(1, trade) + ".db";
    std::filesystem::copy_file(std::string(JOV_CATALOGUE_DIR) + "/" + name, folder.File(name),
                               std::filesystem::copy_options::overwrite_existing);
    Open(trade);
  }
  void Open(char trade) {
    SetCurrentCatalogue(nullptr);
    jovDatabase::Database::Close(db);
    db = jovDatabase::Database::Open(folder.Path().c_str(), trade);
    ASSERT_NE(db, nullptr);
    SetCurrentCatalogue(db);
  }
  void Go(const char* id) { ASSERT_EQ(db->GoIndexID(id), 0) << id; }

  // A report list view of four columns in a headless window.
  CListCtrl& View() {
    if (!view.GetSafeHwnd()) {
      parent = CWnd::FromHandle(TopLevel());
      EXPECT_TRUE(view.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 300), parent, 100));
      for (int c = 0; c < 4; ++c) view.InsertColumn(c, "c", LVCFMT_LEFT, 80);
    }
    return view;
  }
  std::string Cell(int row, int column) { return view.GetItemText(row, column).GetString(); }

  TempFolder folder;
  jovDatabase::Database* db = nullptr;
  CWnd* parent = nullptr;
  CListCtrl view;
};

}  // namespace engine_test
