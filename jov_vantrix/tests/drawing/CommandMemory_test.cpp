// What a command read does not wait in memory after it, whichever command
// read it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/SlabsAhead.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/ExportedCommands.h"
#include "jov_vantrix/tests/drawing/RealHost.h"
#include "platform/win32/driver/script_ui_driver.h"
#include "platform/win32/driver/session_script.h"
#include "platform/win32/driver/ui_driver.h"

namespace {

const std::string kFixtures = std::string(JOV_SOURCE_DIR) + "/tests/data/";

int Export() { return Jov_Vantrix_Export(0, nullptr); }
int Section() { return Jov_CutDlg(0, nullptr); }
int Import() { return Jov_Vantrix_Import(0, nullptr); }

// Slabs are made ahead from the start of a command that reads a network,
// whether it reads one or the user leaves the pick.
TEST(CommandMemory, NothingWaitsAfterACommandThatReadRecords) {
  const struct {
    const char* name;
    int (*run)();
    const char* script;
  } roads[] = {
      {"Exclude_From", Exclude_From, "select 3C 3E 3F 40\n"},
      {"Include_In", Include_In, "select 3C 3E 3F 40\n"},
      {"export, read, the reset refused", Export, "select-window -1e6 -1e6 1e6 1e6\nanswer no\n"},
      {"export, pick left", Export, "cancel\n"},
      {"section, pick left", Section, "cancel\n"},
      {"import, pick left", Import, "cancel\n"},
  };
  ScriptUiDriver driver;
  ScopedUiDriver scoped(&driver);
  for (const auto& road : roads) {
    RealHost host;
    ASSERT_TRUE(host.Loaded());
    ASSERT_TRUE(host.Open(kFixtures + "exported.dxf", ""));
    // The commands bind the host and the libraries beside it.
    std::snprintf(TheApp().m_moduleFolder, sizeof TheApp().m_moduleFolder, "%s/", JOV_TEST_MODULE_DIR);
    std::string error;
    ASSERT_TRUE(CurrentSessionScript().LoadText(road.script, host.Folder(), &error)) << error;
    road.run();
    EXPECT_TRUE(CurrentSessionScript().Remaining().empty()) << road.name << ": the script was taken";
    CurrentSessionScript().Clear();
    const SlabsAheadState after = SlabsAheadNow();
    EXPECT_FALSE(after.filling) << road.name;
    EXPECT_EQ(after.ready, 0u) << road.name;
  }
}

}  // namespace
