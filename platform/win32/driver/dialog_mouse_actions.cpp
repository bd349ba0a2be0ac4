// The dialog actions of the mouse on custom controls: rclick, drag, wheel
// and preview-pick (dialog_actions.h).
#include <string>

#include "platform/win32/driver/dialog_actions.h"
#include "platform/win32/driver/dialog_targets.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/messages.h"
#include "platform/win32/driver/preview_reader.h"

using namespace dialog_targets;

namespace {

using Kind = DialogAction::Kind;

// A wheel turn travels as a 16-bit delta of WHEEL_DELTA per notch.
constexpr int kMostNotches = 0x7FFF / WHEEL_DELTA;

std::string Point(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

bool ParsePoint(const std::string& x, const std::string& y, POINT* out) {
  int px, py;
  if (!ParseInt(x, &px) || !ParseInt(y, &py)) return false;
  *out = {px, py};
  return true;
}

}  // namespace

DialogAction DialogAction::RightClick(int control, POINT clientPoint) {
  DialogAction a = Aimed(Kind::RightClick, control);
  a.hasPoint = true;
  a.point = clientPoint;
  return a;
}
DialogAction DialogAction::Drag(int control, bool middleButton, POINT from, POINT to) {
  DialogAction a = RightClick(control, from);
  a.kind = Kind::Drag;
  a.middleButton = middleButton;
  a.to = to;
  return a;
}
DialogAction DialogAction::Wheel(int control, int notches) {
  DialogAction a = Aimed(Kind::Wheel, control);
  a.notches = notches;
  return a;
}
DialogAction DialogAction::PreviewPick(int control, uint32_t item) {
  DialogAction a = Aimed(Kind::PreviewPick, control);
  a.item = item;
  return a;
}

bool IsMouseActionKeyword(std::string_view keyword) {
  return keyword == "rclick" || keyword == "drag" || keyword == "wheel" || keyword == "preview-pick";
}

bool ParseMouseAction(const std::string& word, const std::vector<std::string>& args, DialogAction* out,
                      std::string* why) {
  int control = 0;
  if (args.empty() || !ParseInt(args[0], &control)) return Fail(why, word + " needs a control id first");
  if (word == "rclick") {
    POINT p;
    if (args.size() != 3 || !ParsePoint(args[1], args[2], &p)) return Fail(why, "rclick needs a control id, X and Y");
    *out = DialogAction::RightClick(control, p);
    return true;
  }
  if (word == "drag") {
    POINT from, to;
    if (args.size() != 6 || (args[1] != "left" && args[1] != "middle") || !ParsePoint(args[2], args[3], &from) ||
        !ParsePoint(args[4], args[5], &to))
      return Fail(why, "drag needs a control id, left or middle, X1 Y1 and X2 Y2");
    *out = DialogAction::Drag(control, args[1] == "middle", from, to);
    return true;
  }
  if (word == "wheel") {
    int notches;
    if (args.size() != 2 || !ParseInt(args[1], &notches) || notches == 0 || notches < -kMostNotches ||
        notches > kMostNotches)
      return Fail(why, "wheel needs a control id and a number of notches from -" + std::to_string(kMostNotches) +
                           " to " + std::to_string(kMostNotches) + ", not 0");
    *out = DialogAction::Wheel(control, notches);
    return true;
  }
  int item;
  if (args.size() != 2 || !ParseInt(args[1], &item) || item <= 0)
    return Fail(why, "preview-pick needs a control id and an item id above 0");
  *out = DialogAction::PreviewPick(control, static_cast<uint32_t>(item));
  return true;
}

std::string DescribeMouseAction(const DialogAction& a) {
  const std::string ctrl = std::to_string(a.control);
  switch (a.kind) {
    case Kind::RightClick: return "rclick " + ctrl + " " + Point(a.point);
    case Kind::Drag:
      return "drag " + ctrl + (a.middleButton ? " middle " : " left ") + Point(a.point) + " " + Point(a.to);
    case Kind::Wheel: return "wheel " + ctrl + " " + std::to_string(a.notches);
    case Kind::PreviewPick: return "preview-pick " + ctrl + " " + std::to_string(a.item);
    default: return {};
  }
}

bool ApplyMouseAction(HWND control, const DialogAction& a, std::string* error) {
  switch (a.kind) {
    case Kind::RightClick: ClickAt(control, a.point, false, headless::MouseButton::Right); return true;
    case Kind::Drag: {
      const auto button = a.middleButton ? headless::MouseButton::Middle : headless::MouseButton::Left;
      const POINT middle{Midpoint(a.point.x, a.to.x), Midpoint(a.point.y, a.to.y)};
      headless::QueueMouseButton(control, a.point, button, true);
      headless::QueueMouseMove(control, middle);
      headless::QueueMouseMove(control, a.to);
      headless::QueueMouseButton(control, a.to, button, false);
      return true;
    }
    case Kind::Wheel: headless::QueueMouseWheel(control, Center(control), a.notches * WHEEL_DELTA); return true;
    case Kind::PreviewPick: {
      if (!IsPreview(control)) return Fail(error, "control " + std::to_string(a.control) + " shows no items to pick");
      POINT p;
      if (!FindPreviewItemPoint(control, a.item, &p))
        return Fail(error, "no point of control " + std::to_string(a.control) + " shows item " + std::to_string(a.item));
      ClickAt(control, p, false);
      return true;
    }
    default: return Fail(error, "unknown action");
  }
}
