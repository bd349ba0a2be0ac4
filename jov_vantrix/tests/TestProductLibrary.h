// The test product library "Wizard.dll" beside the test programs (the
// plug-in's module folder when a test program runs it), loaded through the
// application object as the plug-in loads it, with its test controls
// ("TestWizard_..."), released at the end of the scope.
#pragma once

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "platform/win32/module_loader.h"

class TestProductLibrary {
 public:
  TestProductLibrary() = default;
  ~TestProductLibrary() { Release(); }
  TestProductLibrary(const TestProductLibrary&) = delete;
  TestProductLibrary& operator=(const TestProductLibrary&) = delete;

  // Loads it once (the module folder must be known) and empties its record
  // of calls; false when it is not there.
  bool Load() {
    if (!TheApp().m_hWizard && !TheApp().LoadWizardDll()) return false;
    Control<void (*)()>("TestWizard_Reset")();
    return true;
  }
  // Frees it and unbinds the application object from it.
  void Release() {
    CJov_VantrixApp& app = TheApp();
    if (app.m_hWizard) {
      if (auto reset = Control<void (*)()>("TestWizard_Reset")) reset();
      FreeLibrary(app.m_hWizard);
    }
    app.m_hWizard = nullptr;
    app.m_pPPGetResbufEx = nullptr;
    app.m_pPPFree = nullptr;
  }

  template <typename F>
  static F Control(const char* name) {
    return reinterpret_cast<F>(GetProcAddress(TheApp().m_hWizard, name));
  }
};
