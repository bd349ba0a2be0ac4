#include "platform/win32/driver/preview_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

#include "platform/win32/code_page.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/preview_messages.h"
#include "platform/win32/window_api.h"

namespace {

constexpr UINT kNoName = 0xFFFFFFFF;
// Entries read with one message.
constexpr UINT kItemsAtOnce = 1024;

std::string Number(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", v);
  return text;
}

std::string ViewLine(HWND control, const PVVIEW& view) {
  RECT client{};
  GetClientRect(control, &client);
  std::string out = "view " + std::to_string(client.right - client.left) + " x " +
                    std::to_string(client.bottom - client.top) + " pixels";
  if (view.hasCamera)
    out += " showing " + Number(view.viewWidth) + " x " + Number(view.viewHeight) + " around (" +
           Number(view.targetX) + ", " + Number(view.targetY) + ")";
  return out + "\n";
}

// The text's lines joined by a written "\n", quoted.
std::string QuotedLines(HWND control, UINT index, UINT count) {
  std::string lines;
  for (UINT l = 0; l < count; ++l) {
    PVITEMLINE line{l, nullptr, 0};
    if (!SendMessageA(control, PVM_GETITEMLINE, index, reinterpret_cast<LPARAM>(&line)) || !line.text) continue;
    lines += (l ? "\\n" : "") + Cp1250ToUtf8(std::string_view(line.text, line.length));
  }
  return "\"" + lines + "\"";
}

// Per name in order of appearance: entities by class and material, in order
// of appearance, and the texts.
std::string GroupLines(HWND control, UINT itemCount) {
  struct Group {
    std::vector<std::pair<std::string, uint32_t>> counted;
    std::map<std::string, size_t> at;
    std::vector<std::string> texts;
  };
  std::vector<std::pair<int64_t, Group>> groups;
  std::map<int64_t, size_t> groupAt;
  int64_t name = -2;  // before any name
  // A group's entries mostly follow one another by class and material: the
  // slot of the last is found again without making and looking up its key.
  struct Last {
    size_t group = SIZE_MAX;
    LPCSTR className = nullptr;
    UINT material = 0;
    size_t slot = 0;
  } last;
  size_t group = SIZE_MAX;  // groups' index of name's group, once it has one
  std::vector<PVITEM> read(std::min<UINT>(itemCount, kItemsAtOnce));
  UINT readFrom = 0, readCount = 0;
  for (UINT i = 0; i < itemCount; ++i) {
    if (i >= readFrom + readCount) {
      PVITEMS items{static_cast<UINT>(read.size()), read.data()};
      if (!SendMessageA(control, PVM_GETITEMS, i, reinterpret_cast<LPARAM>(&items)) || items.count == 0) break;
      readFrom = i;
      readCount = std::min<UINT>(items.count, static_cast<UINT>(read.size()));
    }
    const PVITEM& item = read[i - readFrom];
    if (item.flags & PVIF_EMPTY) continue;
    if (item.flags & PVIF_NAME) {
      const int64_t named = item.name == kNoName ? int64_t{-1} : int64_t{item.name};
      if (named != name) group = SIZE_MAX;
      name = named;
      continue;
    }
    if (group == SIZE_MAX) {
      auto [it, added] = groupAt.emplace(name, groups.size());
      if (added) groups.emplace_back(name, Group{});
      group = it->second;
    }
    Group& g = groups[group].second;
    if (group != last.group || !item.className || item.className != last.className ||
        item.material != last.material) {
      const std::string key =
          std::string(item.className ? item.className : "?") + " " + std::to_string(item.material);
      auto [slot, fresh] = g.at.emplace(key, g.counted.size());
      if (fresh) g.counted.emplace_back(key, 0);
      last = {group, item.className, item.material, slot->second};
    }
    ++g.counted[last.slot].second;
    if (item.flags & PVIF_TEXT) g.texts.push_back(QuotedLines(control, i, item.lineCount));
  }
  std::string out;
  for (const auto& [id, g] : groups) {
    out += id == -2 ? "no name:" : id == -1 ? "name none:" : "name " + std::to_string(id) + ":";
    for (size_t k = 0; k < g.counted.size(); ++k)
      out += (k ? ", " : " ") + g.counted[k].first + " x" + std::to_string(g.counted[k].second);
    if (!g.texts.empty()) {
      out += "; texts";
      for (const std::string& t : g.texts) out += " " + t;
    }
    out += "\n";
  }
  return out;
}

std::string PointLines(HWND control) {
  PVPOINTSTATE state{};
  if (!SendMessageA(control, PVM_GETPOINTSTATE, 0, reinterpret_cast<LPARAM>(&state))) return {};
  char line[160];
  std::snprintf(line, sizeof line, "kind %u, selected %u, %s\n", state.kind, state.selected,
                state.mirrored ? "mirrored" : "not mirrored");
  std::string out = line;
  for (UINT i = 0; i < state.pointCount; ++i) {
    PVPOINT p{};
    if (!SendMessageA(control, PVM_GETPOINT, i, reinterpret_cast<LPARAM>(&p))) break;
    const char* marker = p.marker == PVPM_NONE ? "no marker" : p.marker == PVPM_HIDDEN ? "marker hidden" : "marker shown";
    std::snprintf(line, sizeof line, "connection %u at (%.3f, %.3f, %.3f) pointing %.3f degrees, %s\n", p.id, p.x, p.y,
                  p.z, p.angle * 180.0 / std::numbers::pi, marker);
    out += line;
  }
  return out;
}

}  // namespace

bool IsPreview(HWND control) {
  PVVIEW view{};
  return IsWindow(control) && SendMessageA(control, PVM_GETVIEW, 0, reinterpret_cast<LPARAM>(&view));
}

std::string DescribePreview(HWND control) {
  PVVIEW view{};
  if (!IsWindow(control) || !SendMessageA(control, PVM_GETVIEW, 0, reinterpret_cast<LPARAM>(&view))) return {};
  std::string out = view.hasScene ? ViewLine(control, view) + GroupLines(control, view.itemCount) : "no scene\n";
  return out + PointLines(control);
}

bool FindPreviewItemPoint(HWND control, uint32_t id, POINT* point) {
  return IsPreview(control) && SendMessageA(control, PVM_GETITEMPOINT, id, reinterpret_cast<LPARAM>(point));
}
