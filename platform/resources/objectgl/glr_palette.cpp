// Writes the standard drawing colour palette as the scene library's palette
// resource: three int32 (256, 0, 0), then 256 records of four float32 RGBA
// (alpha 1.0), little-endian. Colour 0 is black; 1-7 are red, yellow,
// green, cyan, blue, magenta and white; 8 and 9 greys; 10-249 a ring of 24
// hues, each in five shades, full and half saturated; 250-255 greys.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Rgb {
  double r, g, b;
};

Rgb Hue(double degrees) {
  const double h = std::fmod(degrees, 360.0) / 60.0;
  const double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
  switch (static_cast<int>(h)) {
    case 0: return {1, x, 0};
    case 1: return {x, 1, 0};
    case 2: return {0, 1, x};
    case 3: return {0, x, 1};
    case 4: return {x, 0, 1};
    default: return {1, 0, x};
  }
}

Rgb Colour(int index) {
  static const Rgb kBasic[10] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0},   {0, 1, 0},     {0, 1, 1},
                                 {0, 0, 1}, {1, 0, 1}, {1, 1, 1},   {0.5, 0.5, 0.5}, {0.75, 0.75, 0.75}};
  if (index < 10) return kBasic[index];
  if (index >= 250) {
    const double v = 0.2 + 0.16 * (index - 250);
    return {v, v, v};
  }
  static const double kShade[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
  const int ring = (index - 10) / 10, step = (index - 10) % 10;
  Rgb c = Hue(ring * 15.0);
  if (step % 2) {  // half saturated: halfway to white
    c = {0.5 + c.r / 2, 0.5 + c.g / 2, 0.5 + c.b / 2};
  }
  const double shade = kShade[step / 2];
  return {c.r * shade, c.g * shade, c.b * shade};
}

void PutLe(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void PutFloat(std::vector<unsigned char>& out, double v) {
  const float f = static_cast<float>(v);
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  PutLe(out, bits);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glr_palette OUTPUT\n");
    return 2;
  }
  std::vector<unsigned char> out;
  PutLe(out, 256);
  PutLe(out, 0);
  PutLe(out, 0);
  for (int i = 0; i < 256; ++i) {
    const Rgb c = Colour(i);
    PutFloat(out, c.r);
    PutFloat(out, c.g);
    PutFloat(out, c.b);
    PutFloat(out, 1.0);
  }
  FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "glr_palette: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
