// The outside radiator catalogue: found through the registry entries the
// Vantrix programs leave on the machine, and called when it is there.
#include "wizard/dialogs/KorpalinLibrary.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32/driver/radiator_script.h"
#include "platform/win32/registry.h"
#include "platform/win32/driver/session_script.h"
#include "wizard/frame/CWizardDllApp.h"
#include "dataformat/KorpalinData.h"
#include "wizard/frame/tests/WizardTestSupport.h"

TEST(KorpalinLibrary, FoundBesideTheLibraryWhenAnEntryOfTheVantrixProgramsHasAText) {
  struct Case {
    const char* key;
    const char* value;
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, false},
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Programy VANTRIX", "Path", "C:\\Vantrix", true},
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Programy VANTRIX", "Path", "", false},
      {"Software\\Katalogy JOV\\Common\\Path", "Spolecne soubory", "D:\\Common", true},
      {"Software\\Vantrix\\Common\\Path", "Spolecne soubory", "E:\\x", true},
      {"Software\\Vantrix\\Common\\Path", "Other", "E:\\x", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key ? c.key : "nothing");
    ScopedRegistry registry;
    if (c.key) {
      ASSERT_EQ(SeedRegistryValue(HKEY_LOCAL_MACHINE, c.key, c.value, REG_SZ, c.text, std::strlen(c.text) + 1),
                ERROR_SUCCESS);
    }
    char path[516] = "x";
    EXPECT_EQ(TheWizardApp().FindKorpalinLibrary(path, sizeof path), c.found);
    // The text tells only that the programs are there: the library lies
    // beside the wizard.
    EXPECT_STREQ(path, c.found ? (std::string(TheWizardApp().GetBaseFolder()) + "Korpalin_stl_x64.dll").c_str() : "");
    // Looking makes no keys.
    for (const char* key : {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Programy VANTRIX",
                            "Software\\Katalogy JOV\\Common\\Path", "Software\\Vantrix\\Common\\Path"}) {
      HKEY made = nullptr;
      if (!c.key || std::strcmp(key, c.key) != 0) {
        EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &made), ERROR_SUCCESS) << key;
      }
    }
  }
  ScopedRegistry registry;
  SeedRegistryValue(HKEY_LOCAL_MACHINE, cases[1].key, "Path", REG_SZ, "C:\\", 4);
  char small[8] = "";
  EXPECT_FALSE(TheWizardApp().FindKorpalinLibrary(small, sizeof small)) << "a path that does not fit";
}

TEST(KorpalinLibrary, AChoiceNeedsTheLibraryAndOneOfItsExports) {
  KorpalinData record;
  record.length = 5;
  EXPECT_EQ(ChooseFromKorpalinCatalogue("/nowhere/Korpalin_stl_x64.dll", nullptr, &record), 0);
  EXPECT_EQ(ChooseFromKorpalinCatalogue(JOV_TEST_PLUGIN_DIR "/Jov_TestPlain.dll", nullptr, &record), 0)
      << "neither export";
  std::string error;
  RegisterRadiatorScriptKeyword();
  ASSERT_TRUE(CurrentSessionScript().LoadText("radiator A B C D 1 2 3 1200 4 5 6 7\n", "/", &error)) << error;
  EXPECT_EQ(ChooseFromKorpalinCatalogue(JOV_TEST_MODULE_DIR "/Korpalin_stl_x64.dll", nullptr, &record), 1);
  EXPECT_EQ(record.length, 1200);
  CurrentSessionScript().Clear();
}
