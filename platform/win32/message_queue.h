// Sending and posting messages and the thread's message queue.
//
// SendMessage calls the window's procedure at once. PostMessage appends to
// the posted queue. Input (keys and mouse, see headless_input.h) waits in a
// queue of its own behind the posted messages: a message is taken from the
// posted queue first, then from the input queue (keyboard messages go to
// the window holding the focus when they are taken, mouse messages to the
// capture or the window they were aimed at), then WM_PAINT for a visible
// window with an update area. Nothing waits: when nothing is queued
// GetMessage returns FALSE with WM_QUIT, as nothing will ever arrive.
#pragma once

#include "platform/win32/messages.h"

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;
// window: null takes any message, (HWND)-1 only thread messages, else the
// window's and its descendants'. first/last 0/0: any message number.
BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last);
// A key-down message posts the character its key types (WM_CHAR), see
// headless_input.h; with Ctrl held a letter types its control character.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
BOOL WaitMessage();  // headless: returns at once
DWORD GetMessagePos();
LONG GetMessageTime();
DWORD GetQueueStatus(UINT flags);

// Timers fire only when asked: FireTimers posts WM_TIMER once for every
// timer (or calls its procedure); modal loops do so each time they wait for
// the next action of the input driver.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);

inline LRESULT SendMessage(HWND w, UINT m, WPARAM wp, LPARAM lp) { return SendMessageA(w, m, wp, lp); }
inline BOOL PostMessage(HWND w, UINT m, WPARAM wp, LPARAM lp) { return PostMessageA(w, m, wp, lp); }
inline LRESULT DefWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
inline LRESULT CallWindowProc(WNDPROC p, HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(p, w, m, wp, lp);
}
inline BOOL PeekMessage(MSG* msg, HWND w, UINT first, UINT last, UINT remove) {
  return PeekMessageA(msg, w, first, last, remove);
}
inline BOOL GetMessage(MSG* msg, HWND w, UINT first, UINT last) { return GetMessageA(msg, w, first, last); }
inline LRESULT DispatchMessage(const MSG* msg) { return DispatchMessageA(msg); }
