// A clean headless desktop for each utility test, the test resources made
// current, a driver, and a profile folder with "Dat\Jov.ini".
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/tests/UtilityDialog.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"

namespace utility_tests {

class UtilityDialogTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    resources_ = LoadLibraryA(JOV_UTILITY_TEST_RESOURCES);
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    state_.m_lpszCurrentAppName = "UtilityTests";
    previous_ = AfxSetModuleState(&state_);
    previousDriver_ = SetUiDriver(&driver);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    profile_ = std::filesystem::temp_directory_path() /
               (std::string("jov_utilities_") + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(profile_);
    std::filesystem::create_directories(profile_ / "Dat");
    // The system's own form of the path: the profile folder, then "Dat\".
    settings = profile_.string() + "/Dat\\Jov.ini";
  }
  void TearDown() override {
    SetUiDriver(previousDriver_);
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(resources_);
    std::filesystem::remove_all(profile_);
  }
  std::vector<UiEvent> Events(UiEvent::Kind kind) const {
    std::vector<UiEvent> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  // The settings file as it is on disk, line ends included.
  std::string SettingsText() const {
    std::ifstream in(profile_ / "Dat" / "Jov.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  HeadlessDriver driver;
  std::string settings;
  std::filesystem::path profile_;
  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
  UiDriver* previousDriver_ = nullptr;
};

}  // namespace utility_tests
