#include "platform/win32/menus.h"

#include <cstring>
#include <map>
#include <memory>

#include "platform/win32/error_codes.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/template_stream.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/window_model.h"
#include "platform/win32/driver/window_pictures.h"

struct HMENU__ {
  struct Item {
    UINT flags = 0;
    UINT id = 0;
    std::string text;
    HMENU submenu = nullptr;
  };
  bool popup = false;
  std::vector<Item> items;
};

namespace {

constexpr char kMagic[4] = {'M', 'E', 'N', 'U'};

std::map<HMENU, std::unique_ptr<HMENU__>>& Menus() {
  static auto* menus = new std::map<HMENU, std::unique_ptr<HMENU__>>;
  return *menus;
}

HMENU__* Valid(HMENU menu) {
  auto it = Menus().find(menu);
  if (it == Menus().end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  return it->second.get();
}

HMENU NewMenu(bool popup) {
  auto m = std::make_unique<HMENU__>();
  m->popup = popup;
  HMENU raw = m.get();
  Menus()[raw] = std::move(m);
  return raw;
}

// The menu holding an item and its index there.
bool Locate(HMENU menu, UINT item, UINT flags, HMENU__** owner, size_t* index) {
  HMENU__* m = Valid(menu);
  if (!m) return false;
  if (flags & MF_BYPOSITION) {
    if (item >= m->items.size()) return false;
    *owner = m;
    *index = item;
    return true;
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    if (!(m->items[i].flags & MF_POPUP) && m->items[i].id == item) {
      *owner = m;
      *index = i;
      return true;
    }
    if (m->items[i].submenu && Locate(m->items[i].submenu, item, flags, owner, index)) return true;
  }
  return false;
}

HMENU__::Item MakeItem(UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  HMENU__::Item item;
  item.flags = flags & ~(MF_BYPOSITION | MF_APPEND | MF_CHANGE | MF_DELETE | MF_REMOVE);
  if (flags & MF_POPUP)
    item.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
  else
    item.id = static_cast<UINT>(idOrSubmenu);
  if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text) item.text = text;
  return item;
}

void WriteItems(templates::Writer& w, const std::vector<MenuTemplateItem>& items) {
  w.U16(static_cast<uint32_t>(items.size()));
  for (const MenuTemplateItem& item : items) {
    w.U32(item.flags);
    w.U32(item.id);
    w.Text(item.text);
    if (item.flags & MF_POPUP) WriteItems(w, item.children);
  }
}

bool ReadItems(templates::Reader& r, std::vector<MenuTemplateItem>& items, int depth) {
  uint32_t count;
  if (depth > 32 || !r.U16(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    MenuTemplateItem item;
    uint32_t flags, id;
    if (!r.U32(flags) || !r.U32(id) || !r.Text(item.text)) return false;
    item.flags = flags;
    item.id = id;
    if ((flags & MF_POPUP) && !ReadItems(r, item.children, depth + 1)) return false;
    items.push_back(std::move(item));
  }
  return true;
}

HMENU Build(const std::vector<MenuTemplateItem>& items, bool popup) {
  HMENU menu = NewMenu(popup);
  for (const MenuTemplateItem& item : items) {
    if (item.flags & MF_POPUP)
      AppendMenuA(menu, item.flags, reinterpret_cast<UINT_PTR>(Build(item.children, true)), item.text.c_str());
    else
      AppendMenuA(menu, item.flags, item.id, item.text.c_str());
  }
  return menu;
}

void Commands(HMENU menu, std::vector<std::pair<UINT, std::string>>& out) {
  HMENU__* m = Valid(menu);
  if (!m) return;
  for (const auto& item : m->items) {
    if (item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) continue;
    if (item.submenu)
      Commands(item.submenu, out);
    else
      out.emplace_back(item.id, item.text);
  }
}

}  // namespace

std::vector<BYTE> SerializeMenuTemplate(const std::vector<MenuTemplateItem>& items) {
  templates::Writer w;
  for (char c : kMagic) w.U8(static_cast<uint8_t>(c));
  w.U32(0);
  WriteItems(w, items);
  w.PatchU32(4, static_cast<uint32_t>(w.bytes().size()));
  return std::move(w.bytes());
}

bool ParseMenuTemplate(const BYTE* data, size_t size, std::vector<MenuTemplateItem>* out, std::string* error) {
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return false;
  };
  if (!data || size < 8 || std::memcmp(data, kMagic, 4) != 0) return fail("not a menu template");
  templates::Reader r(data, size);
  uint32_t v = 0, declared = 0;
  for (int i = 0; i < 4; ++i) r.U8(v);
  if (!r.U32(declared) || declared != size) return fail("menu template of the wrong size");
  std::vector<MenuTemplateItem> items;
  if (!ReadItems(r, items, 0) || !r.AtEnd()) return fail("damaged menu template");
  *out = std::move(items);
  return true;
}

HMENU CreateMenu() { return NewMenu(false); }

HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  HMENU__* m = Valid(menu);
  if (!m) return FALSE;
  std::vector<HMENU> subs;
  for (const auto& item : m->items)
    if (item.submenu) subs.push_back(item.submenu);
  Menus().erase(menu);
  for (HMENU sub : subs) DestroyMenu(sub);
  for (winmodel::Window* w : winmodel::AllWindows())
    if (!w->IsChild() && w->menu == menu) w->menu = nullptr;
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return Menus().count(menu) ? TRUE : FALSE; }

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name) {
  HRSRC res = FindResourceA(instance, name, RT_MENU);
  if (!res) return nullptr;
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, res)));
  std::vector<MenuTemplateItem> items;
  if (!ParseMenuTemplate(data, SizeofResource(instance, res), &items, nullptr)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return Build(items, false);
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  HMENU__* m = Valid(menu);
  if (!m) return FALSE;
  m->items.push_back(MakeItem(flags, idOrSubmenu, text));
  return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, position, flags, &owner, &index)) {
    // A position past the end (or an unknown command) appends.
    return AppendMenuA(menu, flags, idOrSubmenu, text);
  }
  owner->items.insert(owner->items.begin() + static_cast<std::ptrdiff_t>(index), MakeItem(flags, idOrSubmenu, text));
  return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, position, flags, &owner, &index)) return FALSE;
  owner->items[index] = MakeItem(flags, idOrSubmenu, text);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, position, flags, &owner, &index)) return FALSE;
  owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(index));
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, position, flags, &owner, &index)) return FALSE;
  HMENU sub = owner->items[index].submenu;
  owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(index));
  if (sub) DestroyMenu(sub);
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  HMENU__* m = Valid(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  HMENU__* m = Valid(menu);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return static_cast<UINT>(-1);
  const auto& item = m->items[static_cast<size_t>(position)];
  return item.submenu ? static_cast<UINT>(-1) : item.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  HMENU__* m = Valid(menu);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return nullptr;
  return m->items[static_cast<size_t>(position)].submenu;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, item, check, &owner, &index)) return static_cast<DWORD>(-1);
  UINT& flags = owner->items[index].flags;
  const DWORD previous = flags & MF_CHECKED;
  flags = (flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  bool found = false;
  for (UINT i = first; i <= last; ++i) {
    HMENU__* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, i, flags, &owner, &index)) continue;
    found = true;
    UINT& f = owner->items[index].flags;
    f = (i == check) ? (f | MF_CHECKED) : (f & ~MF_CHECKED);
  }
  return found ? TRUE : FALSE;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, item, enable, &owner, &index)) return -1;
  UINT& flags = owner->items[index].flags;
  const BOOL previous = static_cast<BOOL>(flags & (MF_GRAYED | MF_DISABLED));
  flags = (flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, item, flags, &owner, &index)) return static_cast<UINT>(-1);
  const auto& it = owner->items[index];
  if (it.submenu) return (static_cast<UINT>(GetMenuItemCount(it.submenu)) << 8) | (it.flags & 0xFF) | MF_POPUP;
  return it.flags;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  HMENU__* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, item, flags, &owner, &index)) return 0;
  const std::string& text = owner->items[index].text;
  if (!buffer || size <= 0) return static_cast<int>(text.size());
  return static_cast<int>(winmodel::CopyTextOut(text, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetMenu(HWND window, HMENU menu) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || w->IsChild()) {
    SetLastError(w ? ERROR_CHILD_WINDOW_MENU : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (menu && !Valid(menu)) return FALSE;
  w->menu = menu;
  return TRUE;
}

HMENU GetMenu(HWND window) {
  winmodel::Window* w = winmodel::Find(window);
  return w && !w->IsChild() ? w->menu : nullptr;
}

BOOL DrawMenuBar(HWND window) { return winmodel::Find(window) ? TRUE : FALSE; }

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (!Valid(menu) || !winmodel::Find(owner)) return FALSE;
  if (!(flags & TPM_NONOTIFY)) {
    SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    if (!Valid(menu)) return FALSE;
  }
  MenuCall call;
  call.owner = owner;
  call.x = x;
  call.y = y;
  Commands(menu, call.commands);
  for (const auto& item : Valid(menu)->items) {
    MenuRow row;
    row.id = item.id;
    row.text = item.text;
    row.separator = (item.flags & MF_SEPARATOR) != 0;
    row.grayed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    row.checked = (item.flags & MF_CHECKED) != 0;
    row.submenu = item.submenu != nullptr;
    call.rows.push_back(std::move(row));
  }
  UiEvent event;
  event.kind = UiEvent::Kind::Menu;
  event.menu = call;
  PictureMenu(call.rows);
  std::optional<UINT> answer = CurrentUiDriver().ChooseMenuCommand(call);
  event.answered = answer.has_value();
  UINT command = 0;
  if (answer && *answer) {
    for (const auto& c : call.commands)
      if (c.first == *answer) command = *answer;
    if (!command) {
      event.failed = true;
      event.detail = "command " + std::to_string(*answer) + " is not an enabled item of the menu";
    }
  }
  event.answer = static_cast<int>(command);
  RecordUiEvent(std::move(event));
  if (!command) return 0;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return TRUE;
}
