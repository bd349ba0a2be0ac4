#include "platform/win32/image_loading.h"

#include "platform/win32/error_codes.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/resources.h"

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if ((type != IMAGE_BITMAP && type != IMAGE_CURSOR) || (flags & LR_LOADFROMFILE) || cx < 0 || cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (type == IMAGE_CURSOR) return LoadCursorA(instance, name);
  HBITMAP loaded = LoadBitmapA(instance, name);
  BITMAP info{};
  if (!loaded || !GetObjectA(loaded, sizeof info, &info)) return nullptr;
  // A system bitmap is shared by LoadBitmapA: hand out a copy the caller
  // may delete. A module's bitmap is new already; it is replaced only for
  // another size.
  if (instance && !cx && !cy) return loaded;
  HBITMAP copy = CreateBitmap(cx ? cx : info.bmWidth, cy ? cy : info.bmHeight, info.bmPlanes, info.bmBitsPixel, nullptr);
  if (copy) raster::CopyPixels(loaded, copy);
  if (instance) DeleteObject(loaded);
  return copy;
}
