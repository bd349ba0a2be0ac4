// A clean headless desktop for each utility test, the test resources made
// current, a driver, and a profile folder with "Dat\Jov.ini".
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "common/tests/UtilityDialog.h"
#include "platform/mfc/tests/framework_fixture.h"

namespace utility_tests {

class UtilityDialogTest : public ModuleTest {
 protected:
  UtilityDialogTest() : ModuleTest(JOV_UTILITY_TEST_RESOURCES, "UtilityTests") {}
  void SetUp() override {
    ModuleTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    profile_ = std::filesystem::temp_directory_path() /
               (std::string("jov_utilities_") + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(profile_);
    std::filesystem::create_directories(profile_ / "Dat");
    // The system's own form of the path: the profile folder, then "Dat\".
    settings = profile_.string() + "/Dat\\Jov.ini";
  }
  void TearDown() override {
    ModuleTest::TearDown();
    std::filesystem::remove_all(profile_);
  }
  // The settings file as it is on disk, line ends included.
  std::string SettingsText() const {
    std::ifstream in(profile_ / "Dat" / "Jov.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string settings;
  std::filesystem::path profile_;
};

// A dialog of the tests' template opened modeless, destroyed again at the
// end, and where it and its controls lie.
template <class Dialog>
class OpenDialogTest : public UtilityDialogTest {
 protected:
  void TearDown() override {
    Close();
    UtilityDialogTest::TearDown();
  }
  void Close() {
    if (dialog && dialog->m_hWnd) dialog->DestroyWindow();
    dialog.reset();
  }
  // A control's rectangle in the dialog's client coordinates.
  CRect Place(int id) const {
    CRect r;
    dialog->GetDlgItem(id)->GetWindowRect(&r);
    dialog->ScreenToClient(&r);
    return r;
  }
  CRect WindowRect() const {
    CRect r;
    dialog->GetWindowRect(&r);
    return r;
  }

  std::unique_ptr<Dialog> dialog;
};

}  // namespace utility_tests
