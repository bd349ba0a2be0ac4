#include "objectgl/GLViewport.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/path_resolver.h"

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

void GLViewport::SetRect(uint32_t left, uint32_t right, uint32_t top, uint32_t bottom) {
  rect_[0] = left;
  rect_[1] = right;
  rect_[2] = top;
  rect_[3] = bottom;
  Update();
}

void GLViewport::SetBackgroundColor(float r, float g, float b, float a) {
  background_[0] = r;
  background_[1] = g;
  background_[2] = b;
  background_[3] = a;
  ApplyBackground();
}

void GLViewport::ApplyBackground() const { glClearColor(background_[0], background_[1], background_[2], background_[3]); }

void GLViewport::GetBackgroundColor(float* r, float* g, float* b, float* a) const {
  if (r) *r = background_[0];
  if (g) *g = background_[1];
  if (b) *b = background_[2];
  if (a) *a = background_[3];
}

bool GLViewport::TakeChanged() {
  const bool was = changed_;
  changed_ = false;
  return was;
}

void GLViewport::SetUseClientRect(bool on) {
  useClientRect_ = on;
  Update();
}

bool GLViewport::SaveBitmap(int xFrom, int xTo, int yFrom, int yTo, const char* path) {
  if (!path || xTo <= xFrom || yTo <= yFrom) return false;
  const int64_t width = int64_t{xTo} - xFrom, height = int64_t{yTo} - yFrom;
  const int64_t stride = (width * 3 + 3) / 4 * 4;
  const int64_t imageSize = stride * height;
  if (imageSize > 0x7FFFFFFF - 54) return false;
  std::vector<uint8_t> pixels(static_cast<size_t>(imageSize));
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(xFrom, yFrom, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGB, GL_UNSIGNED_BYTE,
               pixels.data());
  for (int64_t y = 0; y < height; ++y)
    for (int64_t x = 0; x < width; ++x) std::swap(pixels[y * stride + x * 3], pixels[y * stride + x * 3 + 2]);

  std::vector<uint8_t> header;
  header.push_back('B');
  header.push_back('M');
  PutLe(header, static_cast<uint32_t>(54 + imageSize), 4);
  PutLe(header, 0, 4);  // two reserved words
  PutLe(header, 54, 4);
  PutLe(header, 40, 4);
  PutLe(header, static_cast<uint32_t>(width), 4);
  PutLe(header, static_cast<uint32_t>(height), 4);  // positive: rows from the bottom
  PutLe(header, 1, 2);
  PutLe(header, 24, 2);
  PutLe(header, 0, 4);
  PutLe(header, static_cast<uint32_t>(imageSize), 4);
  PutLe(header, 2835, 4);
  PutLe(header, 2835, 4);
  PutLe(header, 0, 4);
  PutLe(header, 0, 4);

  FILE* out = OpenResolved(path, "wb");
  if (!out) return false;
  bool ok = std::fwrite(header.data(), 1, header.size(), out) == header.size();
  ok = ok && std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  ok = (std::fclose(out) == 0) && ok;
  if (!ok) std::remove(ResolvePath(path).c_str());
  return ok;
}
