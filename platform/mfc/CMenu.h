// Menus.
#pragma once

#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"
#include "platform/win32/menus.h"

class CWnd;

class CMenu : public CObject {
  DECLARE_DYNAMIC(CMenu)

 public:
  CMenu() = default;
  ~CMenu() override;  // destroys the menu it holds

  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }
  static CMenu* FromHandle(HMENU menu);

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // From the current resource module.
  BOOL LoadMenu(UINT id);
  BOOL LoadMenu(LPCSTR name);
  BOOL DestroyMenu();
  BOOL Attach(HMENU menu);
  HMENU Detach();

  BOOL AppendMenu(UINT flags, UINT_PTR idOrSubmenu = 0, LPCSTR text = nullptr) {
    return ::AppendMenuA(m_hMenu, flags, idOrSubmenu, text);
  }
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrSubmenu = 0, LPCSTR text = nullptr) {
    return ::InsertMenuA(m_hMenu, position, flags, idOrSubmenu, text);
  }
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrSubmenu = 0, LPCSTR text = nullptr) {
    return ::ModifyMenuA(m_hMenu, position, flags, idOrSubmenu, text);
  }
  BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
  BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
  UINT CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
  BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) {
    return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
  }
  UINT EnableMenuItem(UINT item, UINT enable) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, enable)); }
  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
  UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
  int GetMenuString(UINT item, LPSTR buffer, int size, UINT flags) const {
    return ::GetMenuStringA(m_hMenu, item, buffer, size, flags);
  }
  int GetMenuString(UINT item, CString& text, UINT flags) const;
  CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
};
