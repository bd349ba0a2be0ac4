#include "platform/mfc/module_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

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

TEST(ModuleState, AResourceIsFoundInTheResourceHandleThenTheInstance) {
  const char* dir = std::getenv("JOV_MODULE_DIR");
  ASSERT_NE(dir, nullptr);
  HMODULE plugin = LoadLibraryA((std::string(dir) + "/Jov_Vantrix.qmr").c_str());
  HMODULE library = LoadLibraryA((std::string(dir) + "/GLOBJECT.GLR").c_str());
  ASSERT_NE(plugin, nullptr);
  ASSERT_NE(library, nullptr);
  AFX_MODULE_STATE state{};
  state.m_hCurrentResourceHandle = plugin;
  state.m_hCurrentInstanceHandle = library;
  AFX_MANAGE_STATE(&state);
  const LPCSTR menu = MAKEINTRESOURCEA(46), text = MAKEINTRESOURCEA(1000), none = MAKEINTRESOURCEA(4321);
  EXPECT_EQ(AfxFindResourceHandle(menu, RT_MENU), plugin);
  EXPECT_EQ(AfxFindResourceHandle(text, RT_STRING), library);
  EXPECT_EQ(AfxFindResourceHandle(none, RT_MENU), plugin) << "nowhere: the resource handle";
  FreeLibrary(library);
  FreeLibrary(plugin);
}
