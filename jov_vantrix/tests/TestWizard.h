// The test product library ("Wizard.dll" beside the test program, built
// from fixtures/test_wizard.cpp) loaded through the application object as
// the commands load it, with its test controls. At the end of the scope it
// is reset, unloaded, and the application's entry points are cleared.
#pragma once

#include <cstdint>
#include <string>

#include "common/resbuf.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "platform/win32/module_loader.h"

class TestWizard {
 public:
  TestWizard() = default;
  ~TestWizard() { Unload(); }
  TestWizard(const TestWizard&) = delete;
  TestWizard& operator=(const TestWizard&) = delete;

  // Loads the library once (the application must know its module folder)
  // and resets its answer and counts.
  bool Load() {
    CJov_VantrixApp& app = TheApp();
    if (!app.m_hWizard && !app.LoadWizardDll()) return false;
    Control<void (*)()>("TestWizard_Reset")();
    return true;
  }
  void Unload() {
    CJov_VantrixApp& app = TheApp();
    if (app.m_hWizard) {
      if (auto reset = Control<void (*)()>("TestWizard_Reset")) reset();
      FreeLibrary(app.m_hWizard);
    }
    app.m_hWizard = nullptr;
    app.m_pPPGetResbufEx = nullptr;
    app.m_pPPFree = nullptr;
  }

  // The result of the next calls and, for 1, the chains they hand out.
  void Answer(int result, const resbuf* geometry, const resbuf* data) {
    Control<void (*)(int, const resbuf*, const resbuf*)>("TestWizard_Answer")(result, geometry, data);
  }
  int Calls() { return Control<int (*)()>("TestWizard_Calls")(); }
  int Frees() { return Control<int (*)()>("TestWizard_Frees")(); }
  bool Holds() { return Control<bool (*)()>("TestWizard_Holds")(); }
  uint32_t View() { return Control<uint32_t (*)()>("TestWizard_View")(); }
  int TextsGiven() { return Control<int (*)()>("TestWizard_TextsGiven")(); }
  // "TestWizard_Names", "TestWizard_Values" or "TestWizard_Product" of the
  // last call.
  std::string Text(const char* name) { return Control<const char* (*)()>(name)(); }
  // The flags of the last call as digits; "null" when none were given.
  std::string Flags() {
    uint8_t flags[16] = {};
    const int n = Control<int (*)(uint8_t*, int)>("TestWizard_Flags")(flags, sizeof flags);
    if (n < 0) return "null";
    std::string text;
    for (int i = 0; i < n; ++i) text += static_cast<char>('0' + flags[i]);
    return text;
  }

 private:
  template <typename F>
  F Control(const char* name) {
    return reinterpret_cast<F>(GetProcAddress(TheApp().m_hWizard, name));
  }
};
