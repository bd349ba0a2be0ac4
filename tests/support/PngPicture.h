// A PNG picture a run wrote, read back for its pixels (tests only).
#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace testsupport {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows from the top
  // The pixel as 0xRRGGBB.
  uint32_t At(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return (uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2];
  }
};

inline bool ReadPng(const std::filesystem::path& path, Picture* out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->rgb.resize(PNG_IMAGE_SIZE(image));
  const bool ok = png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

}  // namespace testsupport
