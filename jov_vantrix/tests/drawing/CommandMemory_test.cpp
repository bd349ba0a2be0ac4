// What a command read does not wait in memory after it, whichever command
// read it.
#include <gtest/gtest.h>

#include <string>

#include "common/SlabsAhead.h"
#include "jov_vantrix/frame/ExportedCommands.h"
#include "jov_vantrix/tests/drawing/RealHost.h"
#include "platform/win32/driver/session_script.h"

namespace {

const std::string kFixtures = std::string(JOV_SOURCE_DIR) + "/tests/data/";

TEST(CommandMemory, NothingWaitsAfterACommandThatReadRecords) {
  const struct {
    const char* name;
    int (*run)();
  } roads[] = {{"Exclude_From", Exclude_From}, {"Include_In", Include_In}};
  for (const auto& road : roads) {
    RealHost host;
    ASSERT_TRUE(host.Loaded());
    ASSERT_TRUE(host.Open(kFixtures + "exported.dxf", ""));
    std::string error;
    ASSERT_TRUE(CurrentSessionScript().LoadText("select 3C 3E 3F 40\n", host.Folder(), &error)) << error;
    road.run();
    EXPECT_TRUE(CurrentSessionScript().Remaining().empty()) << road.name << ": the pick was taken";
    CurrentSessionScript().Clear();
    const SlabsAheadState after = SlabsAheadNow();
    EXPECT_FALSE(after.filling) << road.name;
    EXPECT_EQ(after.ready, 0u) << road.name;
  }
}

}  // namespace
