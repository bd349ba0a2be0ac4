// Frames written as PNG for people looking at what a test rendered.
#include <png.h>

#include <cstdio>
#include <filesystem>

#include "platform/win32/wgl/wgl.h"

bool WriteFramePng(const GlFrame& frame, const std::string& path) {
  if (frame.width <= 0 || frame.height <= 0 ||
      frame.rgba.size() != static_cast<size_t>(frame.width) * frame.height * 4)
    return false;
  std::error_code ec;
  const auto folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_RGBA;
  const bool written = png_image_write_to_stdio(&image, out, 0, frame.rgba.data(), 0, nullptr) != 0;
  png_image_free(&image);
  const bool closed = std::fclose(out) == 0;
  if (!(written && closed)) std::filesystem::remove(path, ec);
  return written && closed;
}
