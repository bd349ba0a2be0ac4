// Window procedures of the stock controls (platform internal).
#pragma once

#include "platform/win32/messages.h"

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT HeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ToolTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
