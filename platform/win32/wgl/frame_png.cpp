// Frames written as PNG for people looking at what a test rendered.
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

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
  // Without the frame buffer's alpha: the screen shows no see-through
  // colours (a material of alpha 0.2 would be a faint ghost).
  std::vector<uint8_t> rgb;
  rgb.reserve(frame.rgba.size() / 4 * 3);
  for (size_t i = 0; i < frame.rgba.size(); i += 4) rgb.insert(rgb.end(), &frame.rgba[i], &frame.rgba[i] + 3);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_RGB;
  const bool written = png_image_write_to_stdio(&image, out, 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  const bool closed = std::fclose(out) == 0;
  if (!(written && closed)) std::filesystem::remove(path, ec);
  return written && closed;
}
