// A clean headless desktop for each test: no windows, nothing queued, the
// default metrics, an empty journal, and a recording window class.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/gdi.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/input_queue.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/window_api.h"

namespace testing_support {

struct Seen {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  HWND focusNow;  // GetFocus() while the message was handled
};

inline std::vector<Seen>& Log() {
  static std::vector<Seen> log;
  return log;
}

inline LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back({hwnd, message, wParam, lParam, GetFocus()});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Messages of one kind that a window saw.
inline std::vector<Seen> SeenBy(HWND hwnd, UINT message) {
  std::vector<Seen> out;
  for (const Seen& s : Log())
    if (s.hwnd == hwnd && s.message == message) out.push_back(s);
  return out;
}

inline void DestroyAllWindows() {
  std::vector<HWND> top;
  EnumWindows([](HWND h, LPARAM p) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&top));
  for (HWND h : top) DestroyWindow(h);
}

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

  static void Reset() {
    DestroyAllWindows();
    headless::ClearInput();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    winmodel::ResetKeyboard();
    SetHeadlessMetrics(HeadlessMetrics{});
    ClearUiJournal();
    ClearDrawingJournal();
    Log().clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "TestRecorder";
    wc.style = CS_DBLCLKS;
    RegisterClassA(&wc);  // fails harmlessly when already registered
  }

  static HWND TopLevel(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT r = {100, 100, 500, 400},
                       HWND owner = nullptr) {
    return CreateWindowExA(0, "TestRecorder", "top", style, r.left, r.top, r.right - r.left, r.bottom - r.top, owner,
                           nullptr, nullptr, nullptr);
  }
  static HWND Child(HWND parent, int id, RECT r, DWORD style = WS_VISIBLE, const char* cls = "TestRecorder",
                    const char* text = "", DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
  static int Pump() { return headless::PumpMessages(); }
};

}  // namespace testing_support
