// What the wizard frame's tests share: a scratch folder, a registry in one
// for the life of the object, and a catalogue built from text.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"
#include "platform/win32/code_page.h"
#include "platform/win32/registry.h"
#include "platform/win32/tests/headless_fixture.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/engine/EngineState.h"

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wizard-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

class ScopedRegistry {
 public:
  ScopedRegistry() { SetRegistryFolder(folder_.Path()); }
  ~ScopedRegistry() { SetRegistryFolder(""); }
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;

 private:
  ScratchFolder folder_;
};

// A catalogue built from text (code page 1250) in a scratch folder, made
// the current one, with the profile folder beside it and a clean headless
// desktop, whose message boxes the journal keeps.

// Pieces of test catalogues: the head of one trade (its MODI name and a
// length type 1), and a view B of one line 1000 long for items whose status
// says they have one.
inline std::string CatalogueHead(char trade, const char* modi) {
  return std::string("[catalogue]\ntrade = ") + trade + "\ntitle = " + modi + "\n[names]\nMODI | 0 | 1 | " + modi +
         " | | 0\n[partypes]\n1 | Délka | 0 | 0 | 100000 | 0\n";
}
inline const char* const kLineInViewB =
    "dxfB <<\n0 LINE\n8 0\n10 0.0\n20 0.0\n30 0.0\n11 1000.0\n21 0.0\n31 0.0\n>>\n";

class WizardCatalogueTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    std::filesystem::create_directories(folder.Path() + "/Dat");
    SetProfileFolder(folder.Path().c_str());
  }
  void TearDown() override {
    SetCurrentCatalogue(nullptr);
    for (auto* db : opened) jovDatabase::Database::Close(db);
    SetProfileFolder(nullptr);
    TheWizardApp().ExitInstance();
    HeadlessTest::TearDown();
  }

  // Builds and opens the catalogue of source's trade, positioned on id.
  jovDatabase::Database* Catalogue(const std::string& source, char trade, const char* id) {
    std::string error;
    const std::string path = folder.Path() + "/" + std::string(1, trade) + ".db";
    EXPECT_TRUE(jovDatabase::BuildCatalogueFromText(Cp1250ToUtf8(source), path.c_str(), error)) << error;
    jovDatabase::Database* db = jovDatabase::Database::Open(folder.Path().c_str(), trade);
    EXPECT_NE(db, nullptr);
    if (!db) return nullptr;
    opened.push_back(db);
    EXPECT_EQ(db->GoIndexID(id), jovDatabase::eOK) << id;
    SetCurrentCatalogue(db);
    return db;
  }

  // The texts of the message boxes shown so far, in order.
  static std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const UiEvent& e : UiJournal())
      if (e.kind == UiEvent::Kind::MessageBox) texts.push_back(e.box.text);
    return texts;
  }

  ScratchFolder folder;
  std::vector<jovDatabase::Database*> opened;
};
