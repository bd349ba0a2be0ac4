#include "platform/win32/clipboard.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/win32/code_page.h"

namespace {

constexpr UINT kFirstRegisteredFormat = 0xC000;
constexpr UINT kKnownAllocFlags = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE | 0x0010 /*NOCOMPACT*/ |
                                  0x0020 /*NODISCARD*/ | 0x0100 /*DISCARDABLE*/ | 0x1000 /*LOWER*/ |
                                  0x4000 /*NOTIFY*/;

struct Block {
  std::unique_ptr<BYTE[]> data;
  size_t size = 0;
  bool moveable = false;
  int locks = 0;
  bool clipboardOwned = false;
};

struct ClipEntry {
  UINT format = 0;
  HANDLE handle = nullptr;
  bool synthesized = false;
};

struct State {
  std::mutex mutex;
  std::unordered_map<HGLOBAL, std::unique_ptr<Block>> blocks;  // by handle

  std::vector<std::string> formatNames;  // format 0xC000 + index
  bool open = false;
  HWND openWindow = nullptr;
  std::thread::id openThread;
  bool emptiedByOpener = false;
  HWND owner = nullptr;
  std::vector<ClipEntry> entries;  // in the order they were set

  Block* FindBlock(HGLOBAL h) {
    auto it = blocks.find(h);
    return it == blocks.end() ? nullptr : it->second.get();
  }

  HGLOBAL Allocate(UINT flags, size_t bytes) {
    auto block = std::make_unique<Block>();
    block->moveable = (flags & GMEM_MOVEABLE) != 0;
    block->size = bytes;
    // A moveable block of no bytes has no memory; a fixed one still needs an address.
    if (bytes > 0 || !block->moveable) {
      block->data.reset(new (std::nothrow) BYTE[std::max<size_t>(bytes, 1)]);
      if (!block->data) return nullptr;
      if (flags & GMEM_ZEROINIT) std::memset(block->data.get(), 0, std::max<size_t>(bytes, 1));
    }
    HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block.get()) : block->data.get();
    blocks.emplace(handle, std::move(block));
    return handle;
  }

  void Release(HANDLE h) {
    auto it = blocks.find(h);
    if (it != blocks.end() && it->second->clipboardOwned) blocks.erase(it);
  }

  bool OpenedByCaller() const { return open && openThread == std::this_thread::get_id(); }

  ClipEntry* FindEntry(UINT format) {
    for (auto& e : entries)
      if (e.format == format) return &e;
    return nullptr;
  }

  void DropSynthesized() {
    for (auto it = entries.begin(); it != entries.end();) {
      if (it->synthesized) {
        Release(it->handle);
        it = entries.erase(it);
      } else {
        ++it;
      }
    }
  }

  // The text format that `format` can be made from, 0 when none.
  UINT TextSource(UINT format) {
    UINT other = format == CF_TEXT ? CF_UNICODETEXT : format == CF_UNICODETEXT ? CF_TEXT : 0;
    if (!other || FindEntry(format)) return 0;
    ClipEntry* e = FindEntry(other);
    return e && !e->synthesized && FindBlock(e->handle) ? other : 0;
  }

  std::vector<UINT> Available() {
    std::vector<UINT> out;
    for (const auto& e : entries) out.push_back(e.format);
    for (UINT f : {CF_TEXT, CF_UNICODETEXT})
      if (TextSource(f)) out.push_back(f);
    return out;
  }

  HANDLE Synthesize(UINT format, UINT source) {
    Block* from = FindBlock(FindEntry(source)->handle);
    if (!from->data) return nullptr;
    HGLOBAL made = nullptr;
    if (format == CF_UNICODETEXT) {
      size_t n = strnlen(reinterpret_cast<const char*>(from->data.get()), from->size);
      std::vector<WCHAR> wide(n + 1, 0);
      if (n) MultiByteToWideChar(CP_1250, 0, reinterpret_cast<const char*>(from->data.get()),
                                 static_cast<int>(n), wide.data(), static_cast<int>(n));
      made = Allocate(GMEM_MOVEABLE, wide.size() * sizeof(WCHAR));
      if (made) std::memcpy(FindBlock(made)->data.get(), wide.data(), wide.size() * sizeof(WCHAR));
    } else {
      const auto* text = reinterpret_cast<const WCHAR*>(from->data.get());
      size_t n = 0;
      while (n < from->size / sizeof(WCHAR) && text[n]) ++n;
      std::vector<char> narrow(n + 1, 0);
      if (n) WideCharToMultiByte(CP_1250, 0, text, static_cast<int>(n), narrow.data(),
                                 static_cast<int>(n), nullptr, nullptr);
      made = Allocate(GMEM_MOVEABLE, narrow.size());
      if (made) std::memcpy(FindBlock(made)->data.get(), narrow.data(), narrow.size());
    }
    if (!made) return nullptr;
    FindBlock(made)->clipboardOwned = true;
    entries.push_back({format, made, true});
    return made;
  }
};

State& S() {
  // Never destroyed: blocks may be touched while the process ends.
  static State* state = new State;
  return *state;
}

// Formats whose handle is a drawing object rather than a global block.
bool IsObjectFormat(UINT format) {
  return format == CF_BITMAP || format == CF_PALETTE || format == CF_ENHMETAFILE || format == 0x0082 ||
         format == 0x008E;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
  if (flags & ~kKnownAllocFlags) {
    SetLastError(ERROR_INVALID_FLAGS);
    return nullptr;
  }
  State& s = S();
  std::lock_guard lock(s.mutex);
  HGLOBAL h = s.Allocate(flags, bytes);
  if (!h) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return h;
}

LPVOID GlobalLock(HGLOBAL memory) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  Block* b = s.FindBlock(memory);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!b->data) return nullptr;  // a moveable block of no bytes
  if (b->moveable) ++b->locks;
  return b->data.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  Block* b = s.FindBlock(memory);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!b->moveable) return TRUE;
  if (b->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--b->locks > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  auto it = s.blocks.find(memory);
  if (it == s.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
  }
  // Freeing what the clipboard owns would leave it holding a dead block.
  if (it->second->clipboardOwned) {
    SetLastError(ERROR_ACCESS_DENIED);
    return memory;
  }
  s.blocks.erase(it);
  return nullptr;
}

size_t GlobalSize(HGLOBAL memory) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  Block* b = s.FindBlock(memory);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return b->size;
}

UINT RegisterClipboardFormatA(LPCSTR formatName) {
  if (!formatName || !*formatName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  State& s = S();
  std::lock_guard lock(s.mutex);
  for (size_t i = 0; i < s.formatNames.size(); ++i)
    if (_mbsicmp(s.formatNames[i].c_str(), formatName) == 0)
      return kFirstRegisteredFormat + static_cast<UINT>(i);
  if (kFirstRegisteredFormat + s.formatNames.size() > 0xFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  s.formatNames.emplace_back(formatName);
  return kFirstRegisteredFormat + static_cast<UINT>(s.formatNames.size() - 1);
}

int GetClipboardFormatNameA(UINT format, LPSTR formatName, int size) {
  if (!formatName || size <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  formatName[0] = '\0';
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (format < kFirstRegisteredFormat || format - kFirstRegisteredFormat >= s.formatNames.size()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string& name = s.formatNames[format - kFirstRegisteredFormat];
  size_t n = std::min(name.size(), static_cast<size_t>(size - 1));
  std::memcpy(formatName, name.data(), n);
  formatName[n] = '\0';
  return static_cast<int>(n);
}

BOOL OpenClipboard(HWND newOwner) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (s.open) {
    if (s.OpenedByCaller() && s.openWindow == newOwner) return TRUE;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  s.open = true;
  s.openWindow = newOwner;
  s.openThread = std::this_thread::get_id();
  s.emptiedByOpener = false;
  return TRUE;
}

BOOL CloseClipboard() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (!s.OpenedByCaller()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  s.open = false;
  s.openWindow = nullptr;
  s.emptiedByOpener = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (!s.OpenedByCaller()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  for (const auto& e : s.entries) s.Release(e.handle);
  s.entries.clear();
  s.owner = s.openWindow;
  s.emptiedByOpener = true;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (!s.OpenedByCaller() || !s.emptiedByOpener) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (format == 0 || !memory) {  // data rendered on request is not supported
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ClipEntry* existing = s.FindEntry(format);
  Block* block = s.FindBlock(memory);
  if (block) {
    // A block the clipboard already holds for another format would be freed twice.
    if (block->clipboardOwned && !(existing && existing->handle == memory)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
  } else if (!IsObjectFormat(format)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  s.DropSynthesized();
  existing = s.FindEntry(format);
  if (existing) {
    if (existing->handle != memory) s.Release(existing->handle);
    existing->handle = memory;
  } else {
    s.entries.push_back({format, memory, false});
  }
  if (block) block->clipboardOwned = true;
  return memory;
}

HANDLE GetClipboardData(UINT format) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (!s.OpenedByCaller()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (ClipEntry* e = s.FindEntry(format)) return e->handle;
  if (UINT source = s.TextSource(format)) return s.Synthesize(format, source);
  return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  auto formats = s.Available();
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

int CountClipboardFormats() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  return static_cast<int>(s.Available().size());
}

UINT EnumClipboardFormats(UINT format) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (!s.OpenedByCaller()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  auto formats = s.Available();
  SetLastError(ERROR_SUCCESS);
  if (format == 0) return formats.empty() ? 0 : formats.front();
  auto it = std::find(formats.begin(), formats.end(), format);
  return it == formats.end() || it + 1 == formats.end() ? 0 : *(it + 1);
}

HWND GetClipboardOwner() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  return s.owner;
}

HWND GetOpenClipboardWindow() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  return s.open ? s.openWindow : nullptr;
}
