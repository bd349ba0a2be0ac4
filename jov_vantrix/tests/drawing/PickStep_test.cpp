// The pick step of the section command through the real host, answered by
// session scripts, on small drawings of a riser or branch start, its
// product, its branch pipes and the network pipes of the riser that the
// user picks to place the section.
#include "jov_vantrix/section/PickStep.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "jov_vantrix/section/CJov_CutDlg.h"
#include "jov_vantrix/section/CJov_CutDlgNew.h"
#include "jov_vantrix/tests/drawing/SectionDriver.h"
#include "jov_vantrix/tests/drawing/SmallDrawings.h"
#include "platform/win32/driver/session_script.h"
#include "platform/win32/driver/ui_driver.h"

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
const Props kBranch{{"_NBRANCH", "V1"}, {"_NUM_BRANCH", "1"}, {"_NUM_ASSOC", "A1"}};

// Handles 30 (the start), 31 (a product), 32 and 33 (the branch's pipes),
// 34 and 35 (network pipes of the riser, from (5000, 1000) up to (5000,
// 4000)), then the extra entities from 36.
struct Network {
  DrawnEntity start;
  Props pipe = {};   // what differs in network pipe 34
  Props other = {};  // what differs in network pipe 35
  const char* pipeCode = "TPP0000i0001";
  std::vector<DrawnEntity> extra = {};
};

DrawnEntity Riser(const char* position, const char* side = "0", const Props& more = {}) {
  return {"INSERT", "TST0000i0001",
          With(With({{"_TYPE", "197"}, {"_NUM_RISER", "4"}, {"_POS_RISER", position}, {"_NUM_SIDE", side},
                     {"_LENGTH_RISER", "-2.5"}},
                    kBranch),
               more),
          {{1000, 1000}}};
}
DrawnEntity BranchStart() {
  return {"INSERT", "TCD0000i0002", With({{"_TYPE", "2097281"}, {"_NUM_SIDE", "0"}}, kBranch), {{1000, 1000}}};
}

std::vector<DrawnEntity> Entities(const Network& n) {
  const Props branchPipe = With({{"_TYPE", "128"}, {"_BRANCH", "1"}, {"_NUM_SIDE", "0"}, {"_NUM_RISER", "4"}}, kBranch);
  const Props riserPipe{{"_TYPE", "128"},     {"_NUM_RISER", "4"},   {"_POS_RISER", "0"},
                        {"_SIDE_PIPE", "1"},  {"_DIST_PIPE", "150"}, {"_SCH_ASSOC", "S7"}};
  // The product on the start's side of the branch.
  Props product = With({{"_TYPE", "1048705"}, {"CM", "1"}, {"CT", "1"}}, kBranch);
  for (const auto& [key, value] : n.start.props)
    if (key == "_NUM_SIDE") product.push_back({key, value});
  std::vector<DrawnEntity> entities{
      n.start,
      {"INSERT", "TCD0000i0001", product, {{2000, 1000}}},
      {"LWPOLYLINE", "TPP0000-0001", branchPipe, {{1000, 1200}, {3000, 1200}}},
      {"LWPOLYLINE", "TPZ0000-0001", branchPipe, {{1000, 1100}, {3000, 1100}}},
      {"LWPOLYLINE", n.pipeCode, With(riserPipe, n.pipe), {{5000, 1000}, {5000, 4000}}},
      {"LWPOLYLINE", "TPP0000i0001", With(riserPipe, n.other), {{5000, 1000}, {5000, 4000}}}};
  entities.insert(entities.end(), n.extra.begin(), n.extra.end());
  return entities;
}

class PickStepOnDrawings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(driver_.Ready(kData + "branch.cat")); }

  // Opens the network's drawing with nothing selected and runs the step
  // with the script's answers; every line must be used.
  int Run(const Network& network, const std::string& script) {
    std::string handles;
    const std::string path = driver_.Folder() + "/pick" + std::to_string(runs_++) + ".dxf";
    std::ofstream(path, std::ios::binary) << SmallDrawing(Entities(network), handles);
    if (!driver_.Host().Open(path, "")) return -100;
    std::string error;
    SessionScript& lines = CurrentSessionScript();
    EXPECT_TRUE(lines.LoadText(script, driver_.Folder(), &error)) << error;
    ClearUiJournal();
    older_ = std::make_unique<CJov_CutDlg>(nullptr);
    current_ = std::make_unique<CJov_CutDlgNew>(nullptr);
    const int result = PickRiserAndPipes(*older_, *current_, nullptr);
    EXPECT_TRUE(lines.Remaining().empty()) << "line " << lines.Remaining().front().text;
    EXPECT_TRUE(lines.Unanswered().empty()) << lines.Unanswered().front();
    return result;
  }

  // The texts of the message boxes shown, as their string ids.
  static std::vector<UINT> Messages() {
    std::vector<UINT> ids;
    for (const UiEvent& e : UiJournal()) {
      if (e.kind != UiEvent::Kind::MessageBox) continue;
      UINT id = 0;
      for (UINT candidate : {IDS_NO_SECTION_START, IDS_PIPES_NOT_PROCESSED, IDS_SECOND_BRANCH_START,
                             IDS_NOT_A_BRANCH_PIPE, IDS_PIPE_AT_START_POSITION, IDS_PIPE_WITHOUT_SIDE})
        if (e.box.text == SectionDriver::Text(candidate).GetString()) id = candidate;
      ids.push_back(id);
    }
    return ids;
  }

  SectionDriver driver_;
  std::unique_ptr<CJov_CutDlg> older_;
  std::unique_ptr<CJov_CutDlgNew> current_;
  int runs_ = 0;
};

}  // namespace

TEST(PickStep, WhatFollowsAPipePromptWithoutAPipe) {
  using A = AfterPipePrompt;
  struct Case {
    int result, inputState;
    A next;
  } const cases[] = {
      // Every prompt that is not cancelled asks for the point: a section
      // without one would stand nowhere.
      {HOST_CANCEL, 0, A::AskPoint}, {HOST_CANCEL, 1, A::Close},    {HOST_CANCEL, 2, A::Close},
      {HOST_ERROR, 0, A::AskPoint},  {HOST_ERROR, 1, A::AskPoint},  {HOST_ERROR, 2, A::AskPoint},
      {HOST_ERROR, 3, A::AskPoint},  {HOST_NONE, 0, A::AskPoint},   {HOST_NONE, 1, A::AskPoint},
      {HOST_NONE, 2, A::AskPoint},   {HOST_NONE, 7, A::AskPoint},   {-1, 0, A::AskPoint},
      {-1, 1, A::AskPoint},          {HOST_CANCEL, -1, A::Close},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NextAfterPipePrompt(c.result, c.inputState), c.next) << c.result << " " << c.inputState;
}

TEST_F(PickStepOnDrawings, ResultsOfTheStep) {
  const Props noBranch{{"_NBRANCH", ""}};
  struct Case {
    const char* what;
    Network network;
    std::string script;
    int result;
    std::vector<UINT> messages;
    bool changeOpen;
    const char* marker;
    GLVector olderPoint;
  } const cases[] = {
      {"the first prompt cancelled", {Riser("1")}, "cancel\n", kPickNothing, {}, false, "", {}},
      {"the selection cancelled", {Riser("1")}, "pick 30\ncancel\n", kPickNothing, {}, false, "", {}},
      {"a pipe first", {Riser("1")}, "pick 32\nselect 30\n", kPickFailed, {IDS_NO_SECTION_START}, false, "", {}},
      {"a riser without a branch: the riser dialog", {Riser("1", "0", noBranch)}, "pick 30\nselect 31\npoint 7 8\n",
       kPickRiser, {}, true, "", {7, 8, 0}},
      {"the riser's point prompt cancelled", {Riser("1", "0", noBranch)}, "pick 30\nselect 31\ncancel\n",
       kPickFailed, {IDS_PIPES_NOT_PROCESSED}, true, "", {}},
      {"a branch start goes straight to the point", {BranchStart()}, "pick 30\nselect 31 32 33\npoint 7 8\n",
       kPickBranch, {}, true, "0", {7, 8, 0}},
      {"the branch's point prompt cancelled", {BranchStart()}, "pick 30\nselect 31 32 33\ncancel\n", kPickNothing,
       {}, false, "0", {}},
      {"a riser without its position first", {Riser("")}, "pick 30\nselect 31 32 33\n", kPickFailed,
       {IDS_NO_SECTION_START}, false, "", {}},
      {"a second branch start", {BranchStart(), {}, {}, "TPP0000i0001", {BranchStart()}},
       "pick 30\nselect 31 36 32 33\n", kPickFailed, {IDS_SECOND_BRANCH_START}, false, "0", {}},
      {"a supply pipe without its return pipe", {BranchStart()}, "pick 30\nselect 31 32\n", kPickFailed,
       {IDS_PIPES_NOT_PROCESSED}, false, "0", {}},
      // Enter at the pipe prompt leads to the point prompt.
      {"no pipe but a point", {Riser("1")}, "pick 30\nselect 31 32 33\ncancel\npoint 7 8\n", kPickBranch, {}, true,
       "4", {7, 8, 0}},
      {"neither pipe nor point", {Riser("1")}, "pick 30\nselect 31 32 33\ncancel\ncancel\n", kPickNothing, {}, false,
       "4", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Run(c.network, c.script), c.result);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(current_->ChangeOpen(), c.changeOpen);
    EXPECT_STREQ(current_->m_riserMarker, c.marker);
    EXPECT_EQ(older_->m_params.m_basePoint, c.olderPoint);
    EXPECT_EQ(older_->m_params.m_angle, 0.0);
    EXPECT_FALSE(current_->m_pipePicked);
  }
}

// A network pipe of the start's riser picked at a point: where the
// section's insertion point comes from, how the pipe's distance moves it,
// and the pipes that are refused.
TEST_F(PickStepOnDrawings, PickedPipeGivesTheInsertionPoint) {
  const std::string select = "pick 30\nselect 31 32 33\n";
  const std::string nearUpper = select + "pick 34 5000 3900\n";
  // The riser is 2.5 m long: a lower end is lowered by 2500 units.
  struct Case {
    const char* what;
    Network network;
    std::string script;
    int result;
    std::vector<UINT> messages;
    GLVector base;
    bool side = true;
    double x = 4850;  // of both pipe ends after the pipe's distance
  } const cases[] = {
      {"a supply pipe at the riser's top, the start on side 0", {Riser("1")}, nearUpper, kPickBranch, {},
       {4850, 4000, 0}},
      {"the start on side 1", {Riser("1", "1"), {{"_SIDE_PIPE", "0"}}}, nearUpper, kPickBranch, {},
       {5150, 4000, 0}, false, 5150},
      {"a supply pipe on the other side is not moved", {Riser("1", "1")}, nearUpper, kPickBranch, {},
       {5000, 4000, 0}, true, 5000},
      {"a return pipe takes the other side", {Riser("1"), {{"_POS_RISER", "2"}}, {}, "TPZ0000i0001"}, nearUpper,
       kPickBranch, {}, {4850, -1500, 0}, false},
      {"TP7 is not moved", {Riser("1"), {}, {}, "TP70000i0001"}, nearUpper, kPickBranch, {}, {5000, 4000, 0}, true,
       5000},
      {"1 above 1, picked near the upper end", {Riser("1"), {{"_POS_RISER", "1"}}}, nearUpper, kPickBranch, {},
       {4850, 4000, 0}},
      {"1 above 1, picked near the lower end", {Riser("1"), {{"_POS_RISER", "1"}}}, select + "pick 34 5000 1100\n",
       kPickBranch, {}, {4850, -1500, 0}},
      {"1 above 1, picked halfway", {Riser("1"), {{"_POS_RISER", "1"}}}, select + "pick 34 5000 2500\n",
       kPickBranch, {}, {4850, -1500, 0}},
      {"1 above a start at 0", {Riser("0"), {{"_POS_RISER", "1"}}}, nearUpper, kPickBranch, {}, {4850, -1500, 0}},
      {"1 above a start at 2", {Riser("2"), {{"_POS_RISER", "1"}}}, nearUpper, kPickBranch, {}, {4850, 4000, 0}},
      {"the start's position 2", {Riser("2"), {{"_POS_RISER", "2"}}}, nearUpper, kPickNothing,
       {IDS_PIPE_AT_START_POSITION}, {}},
      {"the start's position 0", {Riser("0")}, nearUpper, kPickNothing, {IDS_PIPE_AT_START_POSITION}, {}},
      {"a pipe without its side", {Riser("1"), {{"_SIDE_PIPE", ""}}}, nearUpper, kPickNothing,
       {IDS_PIPE_WITHOUT_SIDE}, {}},
      {"a pipe of another riser, then the right one", {Riser("1"), {}, {{"_NUM_RISER", "5"}}},
       select + "pick 35 5000 3900\npick 34 5000 3900\n", kPickBranch, {IDS_NOT_A_BRANCH_PIPE}, {4850, 4000, 0}},
      {"a branch pipe, then the right one", {Riser("1")}, select + "pick 32\npick 34 5000 3900\n", kPickBranch,
       {IDS_NOT_A_BRANCH_PIPE}, {4850, 4000, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Run(c.network, c.script), c.result);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(current_->ChangeOpen(), c.result == kPickBranch) << "the change is open for the dialog only";
    if (c.result != kPickBranch) continue;
    EXPECT_TRUE(current_->m_pipePicked);
    EXPECT_EQ(current_->m_params.m_basePoint, c.base);
    EXPECT_EQ(current_->m_pipeSide, c.side);
    EXPECT_EQ(current_->m_upperPipePoint, GLVector(c.x, 4000, 0));
    EXPECT_EQ(current_->m_lowerPipePoint, GLVector(c.x, 1000, 0));
    EXPECT_STREQ(current_->m_pickedPipeDistance, "0.1") << "0.15 m shown to one decimal";
    EXPECT_STREQ(current_->m_params.m_schemeStamp, "S7");
    EXPECT_EQ(older_->m_params.m_basePoint, GLVector()) << "no point prompt";
  }
}
