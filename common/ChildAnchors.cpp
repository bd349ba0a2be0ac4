#include "common/ChildAnchors.h"

#include "common/AnchorRule.h"
#include "common/resizeWnd.h"
#include "platform/mfc/CWnd.h"

uint32_t AnchorOfChild(const RECT& c, const RECT& p, bool isPivot) {
  using namespace Anchor;
  if (isPivot) return kStretch;
  const bool leftOfRight = c.left < p.right;
  if (c.top > p.bottom) return leftOfRight ? kLeft | kBottom : kMoveWithCorner;
  if (c.bottom < p.top) return leftOfRight ? kTop | kLeft : kMoveRight;
  if (!leftOfRight) return kMoveRight;
  return c.right > p.left ? kStretch : kTop | kLeft;
}

namespace {

struct AddAllContext {
  HWND dialog;
  HWND pivot;
  resizeWnd* layout;
};

BOOL AddChild(HWND child, LPARAM param) {
  const auto* context = reinterpret_cast<const AddAllContext*>(param);
  if (::GetParent(child) != context->dialog) return TRUE;
  RECT c, p;
  ::GetWindowRect(child, &c);
  ::GetWindowRect(context->pivot, &p);
  context->layout->AddControl(CWnd::FromHandle(child), AnchorOfChild(c, p, child == context->pivot), false);
  return TRUE;
}

}  // namespace

bool resizeWnd::AddAllControls(CWnd* dialog, CWnd* pivot) {
  const HWND dialogWindow = AfxSafeHwnd(dialog);
  const HWND pivotWindow = AfxSafeHwnd(pivot);
  if (!dialogWindow || !pivotWindow) return false;
  AddAllContext context{dialogWindow, pivotWindow, this};
  ::EnumChildWindows(dialogWindow, &AddChild, reinterpret_cast<LPARAM>(&context));
  return true;
}
