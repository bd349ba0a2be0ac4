// The wizard's resource file as built: the texts its controls load.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

TEST(WizardResources, TheParameterListsTitlesAreThere) {
  const char* dir = std::getenv("JOV_MODULE_DIR");
  const std::string base =
      dir ? dir : (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin").string();
  HMODULE module = LoadLibraryA((base + "\\Wizard.qmr").c_str());
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  std::set<std::string> titles;
  for (UINT id : {IDS_PARAM_COLUMN_NAME, IDS_PARAM_COLUMN_LABEL, IDS_PARAM_COLUMN_TYPE, IDS_PARAM_COLUMN_DEFAULT}) {
    char text[256] = "";
    const int n = LoadStringA(module, id, text, sizeof text);
    EXPECT_GT(n, 0) << "string " << id;
    EXPECT_LT(n, 20) << "a column title: " << text;
    titles.insert(text);
  }
  EXPECT_EQ(titles.size(), 4u) << "four different titles";
  FreeLibrary(module);
}
