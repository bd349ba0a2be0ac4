// Menus: menu objects behind HMENU, the MENU resources they load from, and
// popup menus. Headless a popup menu is answered by the user-interface
// driver (UiDriver::ChooseMenuCommand), which names the command; the journal
// records it.
//
// A MENU resource's data (written by the resource compiler):
//   "MENU"  u32 total size  then items: u16 count, per item
//   u32 flags (MF_*), u32 id, text (u16 length + code page 1250 bytes),
//   and for MF_POPUP items their own items in the same form.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/messages.h"

constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_CHANGE = 0x0080;
constexpr UINT MF_APPEND = 0x0100;
constexpr UINT MF_DELETE = 0x0200;
constexpr UINT MF_REMOVE = 0x1000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_USECHECKBITMAPS = 0x0200;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_HELP = 0x4000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// One item of a menu resource.
struct MenuTemplateItem {
  UINT flags = 0;
  UINT id = 0;
  std::string text;
  std::vector<MenuTemplateItem> children;  // MF_POPUP
  bool operator==(const MenuTemplateItem&) const = default;
};
std::vector<BYTE> SerializeMenuTemplate(const std::vector<MenuTemplateItem>& items);
bool ParseMenuTemplate(const BYTE* data, size_t size, std::vector<MenuTemplateItem>* out, std::string* error);

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
// DeleteMenu destroys a submenu it removes, RemoveMenu keeps it.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);  // -1 for submenus and bad positions
HMENU GetSubMenu(HMENU menu, int position);
// Previous check state, -1 when there is no such item. By command the
// submenus are searched too.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
// Previous MF_ENABLED / MF_GRAYED / MF_DISABLED, -1 when there is no such item.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
BOOL DrawMenuBar(HWND window);
// Sends WM_INITMENUPOPUP to the owner, asks the driver for a command and
// then, with TPM_RETURNCMD, returns it; otherwise posts WM_COMMAND with it
// to the owner and returns TRUE. 0 when dismissed.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
inline HMENU LoadMenu(HINSTANCE instance, LPCSTR name) { return LoadMenuA(instance, name); }
