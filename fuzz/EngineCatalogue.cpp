#include "fuzz/EngineCatalogue.h"

#include <filesystem>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/catalogue/CatalogueSource.h"
#include "wizard/frame/engine/EngineState.h"

namespace fuzz {

jovDatabase::Database& EngineCatalogue() {
  static jovDatabase::Database* catalogue = [] {
    std::string error;
    const std::string folder = ScratchFolder();
    if (!jovDatabase::BuildCatalogueFile(JOV_SOURCE_DIR "/platform/catalogue/data/T.cat", (folder + "/T.db").c_str(),
                                         error))
      Fail(__FILE__, __LINE__, "sample catalogue", error);
    jovDatabase::Database* db = jovDatabase::Database::Open(folder.c_str(), 'T');
    FUZZ_CHECK(db, "the sample catalogue opens");
    std::filesystem::create_directories(folder + "/Dat");
    SetProfileFolder(folder.c_str());
    SetCurrentCatalogue(db);
    return db;
  }();
  return *catalogue;
}

void UseProduct(const char* indexId) {
  jovDatabase::Database& db = EngineCatalogue();
  FUZZ_CHECK(db.GoIndexID(indexId) == jovDatabase::eOK, std::string("sample product ") + indexId);
  FUZZ_CHECK(db.Edit(jovDatabase::kEditParams) == jovDatabase::eOK, "a bracket opens");
}

}  // namespace fuzz
