// Image lists: what each image came from (an icon or a part of a bitmap)
// and the common size. Drawing an image is recorded on the device context.
#include <utility>
#include <map>
#include <memory>
#include <vector>

#include "platform/win32/gdi_raster.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/error_codes.h"
#include "platform/win32/gdi.h"

struct IMAGELIST__ {
  int width = 0;
  int height = 0;
  UINT flags = 0;
  COLORREF background = CLR_NONE;
  std::vector<ImageListEntry> images;
  // Copies of the bitmaps added: callers delete theirs once added.
  std::vector<HBITMAP> bitmaps;
  ~IMAGELIST__() {
    for (HBITMAP b : bitmaps) DeleteObject(b);
  }
};

namespace {

std::map<IMAGELIST__*, std::unique_ptr<IMAGELIST__>>& Lists() {
  static auto* lists = new std::map<IMAGELIST__*, std::unique_ptr<IMAGELIST__>>;
  return *lists;
}

IMAGELIST__* Valid(HIMAGELIST list) {
  auto it = Lists().find(list);
  return it == Lists().end() ? nullptr : it->second.get();
}

}  // namespace

void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) { return init != nullptr; }

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int) {
  if (width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto list = std::make_unique<IMAGELIST__>();
  list->width = width;
  list->height = height;
  list->flags = flags;
  list->images.reserve(static_cast<size_t>(initial > 0 ? initial : 0));
  IMAGELIST__* raw = list.get();
  Lists()[raw] = std::move(list);
  return raw;
}

BOOL ImageList_Destroy(HIMAGELIST list) { return Lists().erase(list) ? TRUE : FALSE; }

int ImageList_GetImageCount(HIMAGELIST list) {
  IMAGELIST__* l = Valid(list);
  return l ? static_cast<int>(l->images.size()) : 0;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP) {
  IMAGELIST__* l = Valid(list);
  BITMAP bm{};
  if (!l || !image || !GetObjectA(image, sizeof bm, &bm)) return -1;
  HBITMAP copy = CreateBitmap(bm.bmWidth, bm.bmHeight, bm.bmPlanes, bm.bmBitsPixel, nullptr);
  if (!copy) return -1;
  raster::CopyPixels(image, copy);
  l->bitmaps.push_back(copy);
  const int count = bm.bmWidth >= l->width ? bm.bmWidth / l->width : 1;
  const int first = static_cast<int>(l->images.size());
  for (int i = 0; i < count; ++i) l->images.push_back({nullptr, copy, i});
  return first;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF) { return ImageList_Add(list, image, nullptr); }

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  IMAGELIST__* l = Valid(list);
  if (!l || !icon) return -1;
  if (index == -1) {
    l->images.push_back({icon, nullptr, 0});
    return static_cast<int>(l->images.size()) - 1;
  }
  if (index < 0 || index >= static_cast<int>(l->images.size())) return -1;
  l->images[static_cast<size_t>(index)] = {icon, nullptr, 0};
  return index;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  IMAGELIST__* l = Valid(list);
  if (!l) return FALSE;
  if (index == -1) {
    l->images.clear();
    return TRUE;
  }
  if (index < 0 || index >= static_cast<int>(l->images.size())) return FALSE;
  l->images.erase(l->images.begin() + index);
  return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height) {
  IMAGELIST__* l = Valid(list);
  if (!l || !width || !height) return FALSE;
  *width = l->width;
  *height = l->height;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int width, int height) {
  IMAGELIST__* l = Valid(list);
  if (!l || width <= 0 || height <= 0) return FALSE;
  l->width = width;
  l->height = height;
  l->images.clear();
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
  IMAGELIST__* l = Valid(list);
  if (!l) return CLR_NONE;
  return std::exchange(l->background, color);
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
  IMAGELIST__* l = Valid(list);
  return l ? l->background : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
  IMAGELIST__* l = Valid(list);
  if (!l || index < 0 || index >= static_cast<int>(l->images.size())) return FALSE;
  const ImageListEntry& e = l->images[static_cast<size_t>(index)];
  if (e.icon) return DrawIconEx(dc, x, y, e.icon, l->width, l->height, 0, nullptr, DI_NORMAL | (style << 8));
  HDC source = CreateCompatibleDC(dc);
  SelectObject(source, e.bitmap);
  const BOOL drawn = BitBlt(dc, x, y, l->width, l->height, source, e.indexInBitmap * l->width, 0, SRCCOPY);
  DeleteDC(source);
  return drawn;
}

bool ImageList_GetEntry(HIMAGELIST list, int index, ImageListEntry* out) {
  IMAGELIST__* l = Valid(list);
  if (!l || !out || index < 0 || index >= static_cast<int>(l->images.size())) return false;
  *out = l->images[static_cast<size_t>(index)];
  return true;
}
