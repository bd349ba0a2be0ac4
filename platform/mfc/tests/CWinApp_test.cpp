#include "platform/mfc/CWinApp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/mfc/tests/plugins/test_app_events.h"
#include "platform/win32/module_loader.h"

namespace {

struct Event {
  std::string app, event;
  bool appIsCurrent;
  HINSTANCE instance, resources;
  DWORD fileNameLength;
};

std::vector<Event>& Events() {
  static std::vector<Event> events;
  return events;
}

bool g_echoEvents = false;  // for a child process that reports on stderr

std::string ModulePath(const char* name) {
  return std::string(JOV_TEST_PLUGIN_DIR) + "/" + name;
}

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  auto fn = reinterpret_cast<Fn>(GetProcAddress(module, name));
  if (!fn) throw std::runtime_error(std::string("missing export ") + name);
  return fn;
}

std::string Trace() {
  std::string out;
  for (const auto& e : Events()) out += e.app + " " + e.event + "; ";
  return out;
}

class FrameworkLibraries : public ::testing::Test {
 protected:
  void SetUp() override { Events().clear(); }
};

}  // namespace

// The test libraries report here (the program exports it).
extern "C" __attribute__((visibility("default"))) void JovTestAppEvent(const TestAppEvent* e) {
  Events().push_back({e->app, e->event, e->appIsCurrent, e->instance, e->resources, e->fileNameLength});
  if (g_echoEvents) std::fprintf(stderr, "[%s %s]", e->app, e->event);
}

TEST_F(FrameworkLibraries, InitInstanceRunsUnderTheLibrarysOwnState) {
  HMODULE module = LoadLibraryA(ModulePath("Jov_TestAppA.dll").c_str());
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  ASSERT_EQ(Events().size(), 1u) << Trace();
  const Event& init = Events()[0];
  EXPECT_EQ(init.event, "init");
  EXPECT_TRUE(init.appIsCurrent);
  EXPECT_EQ(init.instance, module);
  EXPECT_EQ(init.resources, module) << "the resource handle starts as the instance";

  // Back in the program its own (empty) state is current again.
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));
  EXPECT_FALSE(Export<bool (*)()>(module, "TestApp_SeesItsAppWithoutSwitching")());
  EXPECT_STREQ(Export<const char* (*)()>(module, "TestApp_Name")(), "AppA");
  EXPECT_STREQ(Export<const char* (*)()>(module, "TestApp_ExeName")(), "Jov_TestAppA");

  char own[4096] = {};
  Export<DWORD (*)(char*, DWORD)>(module, "TestApp_OwnFileName")(own, sizeof own);
  EXPECT_EQ(std::string(own), std::filesystem::canonical(ModulePath("Jov_TestAppA.dll")).string());

  EXPECT_TRUE(FreeLibrary(module));
  ASSERT_EQ(Events().size(), 3u) << Trace();
  EXPECT_EQ(Events()[1].event, "exit");
  EXPECT_TRUE(Events()[1].appIsCurrent) << "ExitInstance runs under the library's state";
  EXPECT_EQ(Events()[1].instance, module);
  EXPECT_EQ(Events()[1].fileNameLength, std::string(own).size()) << "and can still ask for its own file";
  EXPECT_EQ(Events()[2].event, "destroyed") << "then the library is unloaded";
  EXPECT_EQ(GetModuleHandleA("Jov_TestAppA.dll"), nullptr);
}

TEST_F(FrameworkLibraries, RefusedInitialisationUnloadsTheLibrary) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA(ModulePath("Jov_TestRefuse.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_DLL_INIT_FAILED);
  EXPECT_EQ(Trace(), "Refuse init; Refuse exit; Refuse destroyed; ")
      << "a refused start is shut down and unmapped";
  EXPECT_EQ(GetModuleHandleA("Jov_TestRefuse.dll"), nullptr);
  EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST_F(FrameworkLibraries, OnlyTheLastFreeShutsTheLibraryDown) {
  HMODULE first = LoadLibraryA(ModulePath("Jov_TestAppA.dll").c_str());
  ASSERT_NE(first, nullptr);
  HMODULE second = LoadLibraryA("JOV_TESTAPPA.DLL");  // a loaded module, by name
  EXPECT_EQ(second, first);
  EXPECT_EQ(Trace(), "AppA init; ") << "one initialisation for all loads";
  FreeLibrary(first);
  EXPECT_EQ(Trace(), "AppA init; ");
  FreeLibrary(second);
  EXPECT_EQ(Trace(), "AppA init; AppA exit; AppA destroyed; ");
}

TEST_F(FrameworkLibraries, EachLibraryKeepsItsOwnState) {
  HMODULE a = LoadLibraryA(ModulePath("Jov_TestAppA.dll").c_str());
  HMODULE b = LoadLibraryA(ModulePath("Jov_TestAppB.dll").c_str());
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(a, b);
  EXPECT_STREQ(Export<const char* (*)()>(a, "TestApp_Name")(), "AppA");
  EXPECT_STREQ(Export<const char* (*)()>(b, "TestApp_Name")(), "AppB");
  EXPECT_EQ(Export<HINSTANCE (*)()>(a, "TestApp_Instance")(), a);
  EXPECT_EQ(Export<HINSTANCE (*)()>(b, "TestApp_Instance")(), b);

  // A resource library swapped in by one module is that module's alone.
  HINSTANCE swapped = reinterpret_cast<HINSTANCE>(0x1234);
  Export<void (*)(HINSTANCE)>(a, "TestApp_SetResourceHandle")(swapped);
  EXPECT_EQ(Export<HINSTANCE (*)()>(a, "TestApp_ResourceHandle")(), swapped);
  EXPECT_EQ(Export<HINSTANCE (*)()>(b, "TestApp_ResourceHandle")(), b);
  EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));
  Export<void (*)(HINSTANCE)>(a, "TestApp_SetResourceHandle")(a);

  FreeLibrary(b);
  EXPECT_STREQ(Export<const char* (*)()>(a, "TestApp_Name")(), "AppA");
  FreeLibrary(a);
}

TEST_F(FrameworkLibraries, StateComesBackWhenAnEntryPointThrows) {
  HMODULE a = LoadLibraryA(ModulePath("Jov_TestAppA.dll").c_str());
  ASSERT_NE(a, nullptr);
  AFX_MODULE_STATE* before = AfxGetModuleState();
  EXPECT_THROW(Export<void (*)()>(a, "TestApp_ThrowInsideState")(), std::runtime_error);
  EXPECT_EQ(AfxGetModuleState(), before);
  EXPECT_FALSE(Export<bool (*)()>(a, "TestApp_SeesItsAppWithoutSwitching")());
  FreeLibrary(a);
}

TEST_F(FrameworkLibraries, LoadsNestInsideInitialisationAndCommands) {
  // Nested loads B in its InitInstance and frees it in its ExitInstance.
  HMODULE nested = LoadLibraryA(ModulePath("Jov_TestNested.dll").c_str());
  ASSERT_NE(nested, nullptr) << LastLoadErrorText();
  ASSERT_EQ(Events().size(), 2u) << Trace();
  EXPECT_EQ(Events()[1].app, "AppB");
  EXPECT_TRUE(Events()[1].appIsCurrent) << "B starts under its own state inside Nested's start";
  HMODULE b = GetModuleHandleA("Jov_TestAppB.dll");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Events()[1].instance, b);

  // A command of Nested loads B again: only a reference more.
  auto load = Export<HMODULE (*)(const char*)>(nested, "TestApp_LoadLibrary");
  EXPECT_EQ(load(ModulePath("Jov_TestAppB.dll").c_str()), b);
  EXPECT_TRUE(Export<BOOL (*)(HMODULE)>(nested, "TestApp_FreeLibrary")(b));
  EXPECT_STREQ(Export<const char* (*)()>(nested, "TestApp_Name")(), "Nested");

  FreeLibrary(nested);
  EXPECT_EQ(Trace(),
            "Nested init; AppB init; Nested exit; AppB exit; AppB destroyed; Nested destroyed; ");
  EXPECT_EQ(GetModuleHandleA("Jov_TestAppB.dll"), nullptr);
}

TEST_F(FrameworkLibraries, AnUnnamedApplicationTakesItsFileName) {
  HMODULE module = LoadLibraryA(ModulePath("Jov_TestUnnamed.dll").c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_STREQ(Export<const char* (*)()>(module, "TestApp_Name")(), "Jov_TestUnnamed");
  FreeLibrary(module);
}

TEST_F(FrameworkLibraries, LibrariesLeftLoadedShutDownAtExit) {
  EXPECT_EXIT(
      {
        g_echoEvents = true;
        LoadLibraryA(ModulePath("Jov_TestAppA.dll").c_str());
        LoadLibraryA(ModulePath("Jov_TestNested.dll").c_str());
        std::exit(0);
      },
      ::testing::ExitedWithCode(0),
      // Newest first; Nested frees the B it loaded while it shuts down.
      R"(\[Nested exit\]\[AppB exit\]\[AppB destroyed\]\[AppA exit\].*\[Nested destroyed\].*\[AppA destroyed\])");
}

TEST(ProgramApplication, BecomesTheProcessState) {
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_EQ(AfxGetApp(), nullptr);
  {
    CWinApp app("Runner");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(AfxGetAppName(), "Runner");
    EXPECT_EQ(app.m_hInstance, program);
    EXPECT_EQ(AfxGetInstanceHandle(), program);
    EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
    EXPECT_TRUE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), 0);
  }
  EXPECT_EQ(AfxGetApp(), nullptr) << "gone with the object";
  EXPECT_NE(AfxGetModuleState(), AfxGetStaticModuleState());
}
