#include "platform/mfc/CMenu.h"

#include <map>
#include <memory>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/resources.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {
std::map<HMENU, CMenu*>& Owners() {
  static auto* owners = new std::map<HMENU, CMenu*>;
  return *owners;
}
std::map<HMENU, std::unique_ptr<CMenu>>& Temporaries() {
  static auto* temporaries = new std::map<HMENU, std::unique_ptr<CMenu>>;
  return *temporaries;
}
// Temporary objects never own their menu.
void DropTemporariesOfGoneMenus(HMENU going) {
  auto& temps = Temporaries();
  for (auto it = temps.begin(); it != temps.end();) {
    if (it->first != going && ::IsMenu(it->first)) {
      ++it;
      continue;
    }
    it->second->m_hMenu = nullptr;
    it = temps.erase(it);
  }
}
}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU menu) {
  if (!menu) return nullptr;
  auto owner = Owners().find(menu);
  if (owner != Owners().end()) return owner->second;
  auto& temp = Temporaries()[menu];
  if (!temp) {
    temp = std::make_unique<CMenu>();
    temp->m_hMenu = menu;
  }
  return temp.get();
}

BOOL CMenu::Attach(HMENU menu) {
  if (!menu || m_hMenu) return FALSE;
  m_hMenu = menu;
  Owners()[menu] = this;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  if (menu) Owners().erase(menu);
  m_hMenu = nullptr;
  return menu;
}

// An object holds one menu: asked for another, it makes none (nothing to
// leak).
BOOL CMenu::CreateMenu() { return !m_hMenu && Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return !m_hMenu && Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEA(id)); }
BOOL CMenu::LoadMenu(LPCSTR name) { return !m_hMenu && Attach(::LoadMenuA(AfxGetResourceHandle(), name)); }

BOOL CMenu::DestroyMenu() {
  HMENU menu = Detach();
  if (!menu) return FALSE;
  const BOOL destroyed = ::DestroyMenu(menu);
  // Temporary objects of the menu and its submenus go with it.
  DropTemporariesOfGoneMenus(menu);
  return destroyed;
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
  const int length = ::GetMenuStringA(m_hMenu, item, nullptr, 0, flags);
  ::GetMenuStringA(m_hMenu, item, text.GetBufferSetLength(length), length + 1, flags);
  text.ReleaseBuffer(length);
  return length;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, AfxSafeHwnd(owner), rect);
}
