// DimDlg of "Wizard.dll" through the runner: the chosen dimension text goes
// into the next product's extended data once, and a dialog the user hid
// answers at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/resources/wizard/resource_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace {

class DimensionExport : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    std::filesystem::create_directories(dir_ / "profile" / "Dat");
    Write("profile/Dat/JOV_LIN.DAT", "[MODULE_T]\r\nMJ0=DN\r\nMJ1=m\r\nDIM0=15;0.015;\r\nDIM1=40;0.040;\r\n");
  }
  Outcome Call(std::vector<std::string> calls, const std::string& script) {
    std::vector<std::string> args{"--module", "Wizard.dll", "--verbose", "--script", Write("session.txt", script)};
    args.insert(args.end(), calls.begin(), calls.end());
    return Run(args);
  }
  // The values of "_DIMENSION" in the output, in order.
  static std::vector<std::string> Dimensions(const Outcome& o) {
    std::vector<std::string> values;
    const std::string key = "chain 2: 1000 \"_DIMENSION\"\nchain 2: 1000 \"";
    for (size_t at = o.out.find(key); at != std::string::npos; at = o.out.find(key, at + 1)) {
      const size_t start = at + key.size();
      values.push_back(o.out.substr(start, o.out.find('"', start) - start));
    }
    return values;
  }
  static std::string Id(int id) { return std::to_string(id); }
  const std::vector<std::string> pipe_ = {"--run", "PPGetResbufEx", "--arg", "db:T:TPP0015-0001", "--arg", "1",
                                          "--arg", "-", "--arg", "0", "--arg", "-", "--arg", "-", "--arg", "-",
                                          "--arg", "-", "--arg", "-"};
};

TEST_F(DimensionExport, TheChosenTextIsTheNextProductsDimensionOnce) {
  std::vector<std::string> calls{"--run", "DimDlg", "--arg", "main", "--arg", "T"};
  calls.insert(calls.end(), pipe_.begin(), pipe_.end());
  calls.insert(calls.end(), pipe_.begin(), pipe_.end());
  const Outcome run = Call(calls, "dialog " + Id(IDD_DIM) + "\n"
                                  "choose " + Id(IDC_DIM_UNIT) + " 1\n"
                                  "choose " + Id(IDC_DIM_TEXT) + " 1\n"
                                  "check " + Id(IDC_DIM_HIDE) + " 1\n"
                                  "ok\n");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_TRUE(run.Has("  " + Id(IDC_DIM_TEXT) + " ComboBox \"0.040\" items=2 selected=1 \"0.015\" \"0.040\"")) << run.out;
  EXPECT_EQ(Dimensions(run), (std::vector<std::string>{"0.040", "15x1"})) << "then the catalogue's own: " << run.out;
  EXPECT_EQ(testsupport::Slurp(dir_ / "profile" / "Dat" / "JOV.INI"),
            "[DIM_DLG]\r\nLAST_UNIT=1\r\nSHOW_DIM_DLG=0\r\nLAST_DIM=0.040\r\n");

  // Hidden from now on: DimDlg answers OK without a dialog and the product
  // keeps the catalogue's dimension; the electrical kind never asks.
  std::vector<std::string> again{"--run", "DimDlg", "--arg", "main", "--arg", "T", "--run", "DimDlg", "--arg", "main",
                                 "--arg", "E"};
  again.insert(again.end(), pipe_.begin(), pipe_.end());
  const Outcome hidden = Call(again, "");
  EXPECT_EQ(hidden.exit, 0) << hidden.err;
  EXPECT_EQ(hidden.out.find("dialog"), std::string::npos) << hidden.out;
  EXPECT_EQ(hidden.out.rfind("result: 1\nresult: 1\nresult: 1\n", 0), 0u) << hidden.out;
  EXPECT_EQ(Dimensions(hidden), std::vector<std::string>{"15x1"});
}

}  // namespace
