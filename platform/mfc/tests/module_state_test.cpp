#include "platform/mfc/module_state.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/win32/module_loader.h"

TEST(ModuleState, ManageStateSwitchesForAScopeAndNests) {
  AFX_MODULE_STATE* process = AfxGetModuleState();
  AFX_MODULE_STATE other{};
  {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
    {
      AFX_MANAGE_STATE(&other);
      EXPECT_EQ(AfxGetModuleState(), &other);
    }
    EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
  }
  EXPECT_EQ(AfxGetModuleState(), process);

  try {
    AFX_MANAGE_STATE(&other);
    throw std::logic_error("leave by exception");
  } catch (const std::logic_error&) {
  }
  EXPECT_EQ(AfxGetModuleState(), process);
}

TEST(ModuleState, HandlesDefaultToTheModuleOfTheState) {
  HMODULE program = GetModuleHandleA(nullptr);
  EXPECT_EQ(AfxGetInstanceHandle(), program);
  EXPECT_EQ(AfxGetResourceHandle(), program);
  {
    // The program's own state: its instance is found from where it lives.
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    EXPECT_EQ(AfxGetInstanceHandle(), program);
    HINSTANCE resources = reinterpret_cast<HINSTANCE>(0x5000);
    AfxSetResourceHandle(resources);
    EXPECT_EQ(AfxGetResourceHandle(), resources);
    EXPECT_EQ(AfxGetInstanceHandle(), program) << "the instance stays";
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), program) << "null goes back to the instance";
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
}
