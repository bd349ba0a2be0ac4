// The images the window layer paints from resource files: a bitmap
// resource (a packed device-independent bitmap) read into a bitmap's pixels,
// and an icon file's nearest image at 16 and 32 pixels. Whatever the bytes,
// reading stays inside them; a bitmap that reads has its pixels, an icon
// image that reads is at most 256 pixels wide.
#include <cairo.h>

#include "fuzz/FuzzSupport.h"
#include "platform/win32/gdi_raster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HBITMAP bitmap = CreateBitmap(48, 48, 1, 32, nullptr);
  FUZZ_CHECK(bitmap != nullptr, "no bitmap to read into");
  if (raster::LoadDib(bitmap, data, size)) FUZZ_CHECK(raster::PixelsOf(bitmap) != nullptr, "read without pixels");
  DeleteObject(bitmap);
  for (int wanted : {16, 32}) {
    cairo_surface_t* image = raster::IconImage(data, size, wanted);
    if (!image) continue;
    FUZZ_CHECK(cairo_surface_status(image) == CAIRO_STATUS_SUCCESS, "a broken icon image");
    FUZZ_CHECK(cairo_image_surface_get_width(image) <= 256 && cairo_image_surface_get_height(image) <= 256,
               "an icon image larger than an icon");
    cairo_surface_destroy(image);
  }
  return 0;
}
