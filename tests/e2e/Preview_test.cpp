// The drawing preview through the real runner: a test plug-in shows it
// filled from the entities `--select` names in tests/data/preview.dxf (a
// drawing under a user coordinate system), a session script works it with
// the mouse words, and the verbose report and the picks it told its dialog
// show the outcome.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eFixture.h"

namespace {

class Preview : public E2e {
 protected:
  // Every entity of the drawing, one name each (1 to 8 in handle order).
  Outcome Show(const std::string& script, bool verbose = true) {
    std::vector<std::string> args = {"--drawing",  std::string(JOV_SOURCE_DIR) + "/tests/data/preview.dxf",
                                     "--plugin",   JOV_PREVIEW_TEST_PLUGIN,
                                     "--run",      "Jov_Vantrix_Export",
                                     "--select",   "2F,30,31,32,33,34,35,36",
                                     "--script",   Write("session.txt", script)};
    if (verbose) args.push_back("--verbose");
    return Run(args);
  }
};

TEST_F(Preview, AScriptZoomsOutZoomsToAWindowAndPicksAName) {
  const Outcome run = Show("dialog 7100\n"
                           "wheel 5058 -1\n"
                           "rclick 5058 20 20\n"
                           "menu 32778\n"
                           "drag 5058 left 100 100 300 200\n"
                           "click 5058 300 200\n"
                           "preview-pick 5058 3\n"
                           "ok\n");
  EXPECT_EQ(run.exit, OffScriptExit(run)) << run.err;
  EXPECT_TRUE(run.Has("result: 1")) << run.out;
  EXPECT_TRUE(run.Has("menu: command=32778 \"Zoom &window\"")) << run.out;
  // The arc, name 3, told its dialog as 2.
  EXPECT_TRUE(run.Has("message: caption=\"Dravik 2D\" type=64 text=\"preview 1 names=8 picked=2\" answer=ok "
                      "(unanswered)"))
      << run.out;
  // The whole drawing, 4000 wide around x 2000 of the user system (10000
  // to the left of the world's), fitted into 450 x 284 pixels and zoomed
  // out by a notch of 240 / 284 of 5381: 9928 x 5795 units; the window of
  // 200 x 100 pixels, its larger share 200 / 450 of the client, then shows
  // 9928 * 200 / 450 by 5795 * 200 / 450.
  EXPECT_TRUE(run.Has("    view 450 x 284 pixels showing 4412.676 x 2576.045 around (1175.956, -153.877)"))
      << run.out;
  // Nothing of the construction line (6) or of the line of no length (7);
  // the closed polyline bulged at its four vertices is four arcs, the empty
  // text a question mark.
  for (const char* line : {"    name 1: GLLine 7 x1", "    name 2: GLCircle 7 x1", "    name 3: GLArc 7 x1",
                           "    name 4: GLArc 7 x4", "    name 5: GLText 7 x1; texts \"V1\"",
                           "    name 8: GLText 7 x1; texts \"?\""})
    EXPECT_TRUE(run.Has(line)) << line << "\n" << run.out;
  EXPECT_EQ(run.out.find("name 6"), std::string::npos);
  EXPECT_EQ(run.out.find("name 7"), std::string::npos);
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;
}

TEST_F(Preview, ANameTheViewDoesNotShowIsAScriptError) {
  const Outcome run = Show("dialog 7100\n"
                           "rclick 5058 20 20\n"
                           "menu cancel\n"
                           "preview-pick 5058 6\n"
                           "cancel\n",
                           false);
  EXPECT_TRUE(run.Has("menu: dismissed")) << run.out;
  EXPECT_TRUE(run.Has("dialog 7100 \"Preview\": failed: preview-pick 5058 6: no point of control 5058 shows item 6"))
      << run.out;
  EXPECT_NE(run.err.find("line 4: dialog 7100 \"Preview\": no point of control 5058 shows item 6"), std::string::npos)
      << run.err;
  EXPECT_TRUE(run.Has("result: -1")) << run.out;

  const Outcome bad = Show("dialog 7100\nwheel 5058 0\n", false);
  EXPECT_NE(bad.exit, 0);
  EXPECT_NE(bad.err.find("line 2: wheel needs a control id and a number of notches from -273 to 273, not 0"),
            std::string::npos)
      << bad.err;
}

}  // namespace
