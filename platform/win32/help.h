// Help: HTML Help and WinHelp calls. Nothing is shown headless; each call is
// recorded in the user-interface journal (UiEvent::Kind::Help) with the
// topic it would show.
#pragma once

#include "platform/win32/gdi.h"
#include "platform/win32/messages.h"

constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_HELP_FINDER = 0x0000;
constexpr UINT HH_DISPLAY_TOC = 0x0001;
constexpr UINT HH_DISPLAY_INDEX = 0x0002;
constexpr UINT HH_DISPLAY_SEARCH = 0x0003;
constexpr UINT HH_DISPLAY_TEXT_POPUP = 0x000E;
constexpr UINT HH_HELP_CONTEXT = 0x000F;
constexpr UINT HH_TP_HELP_CONTEXTMENU = 0x0010;
constexpr UINT HH_TP_HELP_WM_HELP = 0x0011;
constexpr UINT HH_CLOSE_ALL = 0x0012;

struct HH_POPUP {
  int cbStruct;
  HINSTANCE hinst;
  UINT idString;
  LPCSTR pszText;
  POINT pt;
  COLORREF clrForeground;
  COLORREF clrBackground;
  RECT rcMargins;
  LPCSTR pszFont;
};

// The topic recorded: HH_DISPLAY_TOPIC the data as a topic name, else the
// part of the file after "::"; HH_HELP_CONTEXT "context N"; a text popup
// "string N" (or its text). Returns the help window (a hidden window that
// stands for it), null for HH_CLOSE_ALL.
HWND HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_INDEX = 0x0003;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_HELPONHELP = 0x0004;
constexpr UINT HELP_SETINDEX = 0x0005;
constexpr UINT HELP_CONTEXTPOPUP = 0x0008;
constexpr UINT HELP_FINDER = 0x000B;
constexpr UINT HELP_WM_HELP = 0x000C;
constexpr UINT HELP_CONTEXTMENU = 0x000A;

// The topic recorded: "context N" for the context commands.
BOOL WinHelpA(HWND caller, LPCSTR file, UINT command, ULONG_PTR data);
