// The sample drawing through the host and back: every entity rewritten, the
// result read by an outside DXF reader.
#include <gtest/gtest.h>

#include "tests/e2e/E2eFixture.h"

TEST_F(E2e, SampleDrawingSurvivesAHostRoundTrip) {
  // The host's test plug-in marks every entity of a window selection with
  // extended data of its own and commits; the plug-in's own data must stay.
  const std::string script = Write("session.txt", "select-window -100000 -100000 100000 100000\n");
  const std::string out = Path("out.dxf");
  Outcome run = testsupport::RunProgram(
      std::string(JOV_TEST_MODULE_DIR) + "/dravik",
      {"--drawing", Sample(), "--out", out, "--run", "Exclude_From", "--script", script,
       "--plugin", JOV_HOST_TEST_PLUGIN, "--profile", Path("profile")},
      dir_);
  ASSERT_EQ(run.exit, OffScriptExit(run)) << run.err;
  ASSERT_TRUE(run.Has("drawing: written " + out)) << run.out;

  Outcome audit = testsupport::RunProgram(
      JOV_PYTHON, {std::string(JOV_SOURCE_DIR) + "/tests/e2e/audit_sample.py", Sample(), out}, dir_);
  EXPECT_EQ(audit.exit, 0) << audit.out << audit.err;
}
