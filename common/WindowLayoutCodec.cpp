#include "common/WindowLayoutCodec.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/win32/resources.h"

namespace {

constexpr size_t kFirstChange = 6;

bool WithinLimit(int value) { return value >= -kLayoutCoordinateLimit && value <= kLayoutCoordinateLimit; }

}  // namespace

std::vector<int> EncodeWindowLayout(const WindowLayout& layout) {
  std::vector<int> values = {layout.left,        layout.top,        layout.width,
                             layout.height,      layout.dotsPerInch, layout.showCommand};
  for (const LayoutSizeChange& c : layout.changes) {
    values.push_back(static_cast<int>(c.idWord));
    values.push_back(c.change);
  }
  return values;
}

bool DecodeWindowLayout(const int* values, size_t count, int currentDotsPerInch, WindowLayout* out) {
  if (!values || count < 5 || values[4] != currentDotsPerInch) return false;
  for (size_t i = 0; i < 4; ++i)
    if (!WithinLimit(values[i])) return false;
  for (size_t i = kFirstChange + 1; i < count; i += 2)
    if (!WithinLimit(values[i])) return false;
  WindowLayout layout;
  layout.left = values[0];
  layout.top = values[1];
  layout.width = values[2];
  layout.height = values[3];
  layout.dotsPerInch = values[4];
  layout.showCommand = count > 5 ? values[5] : kLayoutNormal;
  for (size_t i = kFirstChange; i + 1 < count; i += 2)
    layout.changes.push_back({static_cast<uint32_t>(values[i]), values[i + 1]});
  *out = std::move(layout);
  return true;
}

int ShowCommandToSave(bool zoomed, bool iconic) {
  if (zoomed) return kLayoutMaximized;
  if (iconic) return kLayoutMinimized;
  return kLayoutNormal;
}

int ShowCommandToRestore(int saved) { return saved == kLayoutMaximized ? kLayoutMaximized : kLayoutNormal; }

uint32_t LayoutIdWord(uint32_t group, int controlId) {
  const uint32_t id = static_cast<uint32_t>(controlId) & ~kLayoutHeightFlag;
  return group == 1 ? (id | kLayoutHeightFlag) : id;
}

std::string WindowLayoutKey(const char* keyOrId) {
  if (IS_INTRESOURCE(keyOrId))
    return "#" + std::to_string(reinterpret_cast<uintptr_t>(keyOrId)) + "_WINDOW_SIZE";
  return keyOrId;
}

bool LayoutBeyondScreen(const RECT& rect, int screenWidth, int screenHeight) {
  return rect.left > screenWidth || rect.right > screenWidth || rect.top > screenHeight ||
         rect.bottom > screenHeight;
}

RECT FitLayoutOnScreen(RECT rect, int screenWidth, int screenHeight, SIZE minimum) {
  // In 64 bits: a stored rectangle may hold any numbers, and each shift
  // must neither overflow nor wrap the rectangle around.
  long long left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  right = std::clamp(right, left, left + std::max(screenWidth, 0));
  bottom = std::clamp(bottom, top, top + std::max(screenHeight, 0));
  if (right - left < minimum.cx || bottom - top < minimum.cy) {
    right = left + minimum.cx;
    bottom = top + minimum.cy;
  }
  if (bottom > screenHeight) {
    top -= bottom - screenHeight;
    bottom = screenHeight;
  }
  if (right > screenWidth) {
    left -= right - screenWidth;
    right = screenWidth;
  }
  if (top < 0) {
    bottom -= top;
    top = 0;
  }
  if (left < 0) {
    right -= left;
    left = 0;
  }
  auto fit = [](long long v) { return static_cast<LONG>(std::min<long long>(v, INT32_MAX)); };
  return RECT{fit(left), fit(top), fit(right), fit(bottom)};
}
