#include "platform/win32/resources.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win32/module_loader.h"
#include "platform/win32/resource_file.h"

namespace {

// Resource data stays with its module; an empty resource still needs an
// address to hand out.
BYTE g_emptyResource = 0;

std::mutex& ImageMutex() {
  static std::mutex* m = new std::mutex;
  return *m;
}

// Stock images are never freed: they belong to no module.
template <typename Image>
Image* StockImage(WORD id) {
  std::lock_guard lock(ImageMutex());
  static auto* images = new std::vector<std::unique_ptr<Image>>;
  for (const auto& image : *images)
    if (image->stockId == id) return image.get();
  auto image = std::make_unique<Image>();
  image->stockId = id;
  images->push_back(std::move(image));
  return images->back().get();
}

bool IsStockIcon(WORD id) { return id >= 32512 && id <= 32518; }

bool IsStockCursor(WORD id) {
  return (id >= 32512 && id <= 32516) || (id >= 32642 && id <= 32646) || (id >= 32648 && id <= 32651);
}

const ResourceEntry* Find(HMODULE module, const ResourceKey& type, const ResourceKey& name) {
  const ResourceTable* table = ModuleResourceTable(module);
  const ResourceEntry* entry = table ? table->Find(type, name) : nullptr;
  if (!entry) SetLastError(table ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_DATA_NOT_FOUND);
  return entry;
}

template <typename Image>
std::vector<std::unique_ptr<Image>>& CacheOf(const ResourceTable& table);
template <>
std::vector<std::unique_ptr<HICON__>>& CacheOf<HICON__>(const ResourceTable& table) {
  return table.icons;
}
template <>
std::vector<std::unique_ptr<HCURSOR__>>& CacheOf<HCURSOR__>(const ResourceTable& table) {
  return table.cursors;
}

template <typename Image>
Image* LoadImage(HINSTANCE instance, LPCSTR name, WORD type) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const ResourceTable* table = ModuleResourceTable(instance);
  const ResourceEntry* entry =
      table ? table->Find(ResourceKey::Number(type), ResourceKey::FromArgument(name)) : nullptr;
  if (!entry) {
    SetLastError(table ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  std::lock_guard lock(ImageMutex());
  auto& images = CacheOf<Image>(*table);
  for (const auto& image : images)
    if (image->resource == entry) return image.get();
  auto image = std::make_unique<Image>();
  image->module = instance;
  image->resource = entry;
  images.push_back(std::move(image));
  return images.back().get();
}

}  // namespace

const BYTE* HICON__::Bytes() const { return resource ? resource->data.data() : nullptr; }

DWORD HICON__::Size() const { return resource ? static_cast<DWORD>(resource->data.size()) : 0; }

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  if (!name || !type) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const ResourceEntry* entry =
      Find(module ? module : GetModuleHandleA(nullptr), ResourceKey::FromArgument(type),
           ResourceKey::FromArgument(name));
  return const_cast<HRSRC>(entry);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  const ResourceTable* table = ModuleResourceTable(module);
  if (!resource || !table || !table->Owns(resource)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (resource->data.empty()) return &g_emptyResource;
  return resource->data.data();
}

LPVOID LockResource(HGLOBAL resourceData) { return resourceData; }

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  const ResourceTable* table = ModuleResourceTable(module);
  if (!resource || !table || !table->Owns(resource)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(resource->data.size());
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  buffer[0] = '\0';
  if (id > 0xFFFF) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  const ResourceEntry* entry = Find(instance ? instance : GetModuleHandleA(nullptr),
                                    ResourceKey::Number(kRtString),
                                    ResourceKey::Number(static_cast<WORD>(id)));
  if (!entry) return 0;
  size_t n = std::min(entry->data.size(), static_cast<size_t>(size - 1));
  if (n) std::memcpy(buffer, entry->data.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    WORD id = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
    if (IS_INTRESOURCE(name) && IsStockIcon(id)) return StockImage<HICON__>(id);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return LoadImage<HICON__>(instance, name, kRtGroupIcon);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    WORD id = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
    if (IS_INTRESOURCE(name) && IsStockCursor(id)) return StockImage<HCURSOR__>(id);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return LoadImage<HCURSOR__>(instance, name, kRtGroupCursor);
}

BOOL DestroyIcon(HICON) { return TRUE; }

BOOL DestroyCursor(HCURSOR) { return TRUE; }
