// The real CAD host library of the build ("dravik2d.arx" in the module
// folder), loaded into the test program with a drawing open, its export
// table given to the plug-in's application object. The library stays
// loaded to the end of the program, as in the host's own process (its
// session lives as long as the process).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "platform/host/exports/HostControl.h"
#include "platform/win32/module_loader.h"

class RealHost {
 public:
  // A host over a scratch folder (profile, catalogues) that is removed at
  // the end.
  RealHost() {
    static const HMODULE library = LoadLibraryA(JOV_TEST_MODULE_DIR "/dravik2d.arx");
    module_ = library;
    auto get = module_ ? reinterpret_cast<GetDravikControlFn>(GetProcAddress(module_, kDravikControlExport))
                       : nullptr;
    control_ = get ? get() : nullptr;
    if (!control_) return;
    Option("profile", Folder() + "/profile");
    Option("catalogue", Folder());
  }
  ~RealHost() {
    TheApp().m_pHostTable = nullptr;
    if (control_) control_->Shutdown();
  }
  RealHost(const RealHost&) = delete;
  RealHost& operator=(const RealHost&) = delete;

  bool Loaded() const { return control_ != nullptr; }
  const std::string& Folder() const { return folder_.Path(); }

  // The catalogue of a trade from its source file.
  bool Catalogue(char trade, const std::string& source) {
    std::string error;
    const std::string path = folder_.File(std::string(1, trade) + ".db");
    const bool built = jovDatabase::BuildCatalogueFile(source.c_str(), path.c_str(), error);
    EXPECT_TRUE(built) << error;
    return built;
  }

  // Opens the drawing and starts a command with the handles selected.
  bool Open(const std::string& drawing, const std::string& handles) {
    char error[512] = "";
    if (!control_->OpenDrawing(drawing.c_str(), error, sizeof error) ||
        (!handles.empty() && !control_->Preselect(handles.c_str(), error, sizeof error))) {
      ADD_FAILURE() << error;
      return false;
    }
    control_->BeginCommand();
    TheApp().InitPaths();
    TheApp().m_pHostTable = reinterpret_cast<HostExport2D* (*)()>(GetProcAddress(module_, "GetExport2D"))();
    return TheApp().m_pHostTable != nullptr;
  }

  // Ends the command and saves the drawing as it then is.
  bool Save(const std::string& path) {
    control_->EndCommand();
    char error[512] = "";
    const bool saved = control_->SaveDrawing(path.c_str(), error, sizeof error);
    EXPECT_TRUE(saved) << error;
    return saved;
  }

 private:
  void Option(const char* name, const std::string& value) {
    char error[256] = "";
    EXPECT_TRUE(control_->SetOption(name, value.c_str(), error, sizeof error)) << error;
  }

  TempFolder folder_;
  HMODULE module_ = nullptr;
  const DravikHostControl* control_ = nullptr;
};

// The extended data (codes 1000 and above) of every model-space entity of
// an ASCII DXF file, by handle: "code:value" items.
inline std::map<std::string, std::vector<std::string>> ExtendedDataByHandle(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::map<std::string, std::vector<std::string>> out;
  std::string code, value, handle;
  bool entities = false;
  auto trim = [](std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
    size_t start = s.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : s.substr(start);
  };
  while (std::getline(in, code) && std::getline(in, value)) {
    const int c = std::atoi(trim(code).c_str());
    value = trim(value);
    if (c == 2 && value == "ENTITIES") entities = true;
    if (c == 0 && value == "ENDSEC") entities = false;
    if (!entities) continue;
    if (c == 5) handle = value;
    if (c >= 1000) out[handle].push_back(std::to_string(c) + ":" + value);
  }
  return out;
}
