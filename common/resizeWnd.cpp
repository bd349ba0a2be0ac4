#include "common/resizeWnd.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/WindowLayoutCodec.h"
#include "platform/mfc/CWnd.h"

namespace {

bool IsEdgeGroup(uint32_t group) { return group >= 1 && group <= 4; }

// The edge across from it: top with bottom, left with right.
uint32_t OppositeGroup(uint32_t group) { return group <= 2 ? group + 2 : group - 2; }

bool MovesVertically(uint32_t group) { return group == 1 || group == 3; }

void MoveEdge(RECT& rect, uint32_t group, int delta) {
  switch (group) {
    case 1: rect.top += delta; break;
    case 2: rect.left += delta; break;
    case 3: rect.bottom += delta; break;
    case 4: rect.right += delta; break;
    default: break;
  }
}

// The delta that gives the moving edge back its registered size.
int RestoringDelta(const resizeCtrl& entry) {
  const CSize size = entry.rect.Size();
  switch (entry.group) {
    case 1: return size.cy - entry.baseSize.cy;
    case 2: return size.cx - entry.baseSize.cx;
    case 3: return entry.baseSize.cy - size.cy;
    default: return entry.baseSize.cx - size.cx;
  }
}

bool BelowBaseWhereItMoves(const resizeCtrl& entry) {
  const CSize size = entry.rect.Size();
  return MovesVertically(entry.group) ? size.cy < entry.baseSize.cy : size.cx < entry.baseSize.cx;
}

// A feasibility walk restarts after every reduction of the delta; the
// guard ends it, and this bound ends any walk that would cycle.
constexpr int kMaxRestarts = 200000;

int DotsPerInchOf(HWND window) {
  HDC dc = ::GetDC(window);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(window, dc);
  return dpi;
}

}  // namespace

resizeWnd::resizeWnd() : clientSize(-1, -1), minWindowSize(-1, -1), placement{} {
  placement.length = sizeof placement;
}

void resizeWnd::InitSizes(CWnd* dialog) {
  const HWND window = AfxSafeHwnd(dialog);
  CRect r;
  ::GetClientRect(window, &r);
  clientSize = r.Size();
  ::GetWindowRect(window, &r);
  minWindowSize = r.Size();
  placement.length = sizeof placement;
  ::GetWindowPlacement(window, &placement);
}

void resizeWnd::AddControl(CWnd* control, uint32_t anchor, bool replace) {
  if (!control) return;
  if (replace) {
    for (INT_PTR i = anchors.GetSize() - 1; i >= 0; --i)
      if (anchors[i].window == control->m_hWnd) anchors.RemoveAt(i);
  }
  resizeCtrl entry;
  entry.Set(control, anchor, nullptr, 0);
  anchors.Add(entry);
}

void resizeWnd::ShareRect(INT_PTR index, bool linkedOnly) {
  const resizeCtrl& source = anchors[index];
  for (INT_PTR i = 0; i < anchors.GetSize(); ++i) {
    resizeCtrl& other = anchors[i];
    if (i == index || other.window != source.window) continue;
    if (linkedOnly && other.group == 0) continue;
    other.rect = source.rect;
  }
}

void resizeWnd::OnSize(CWnd* dialog, int cx, int cy, bool redraw, HDWP defer) {
  if (clientSize.cx == -1 && clientSize.cy == -1) return;
  const HWND window = AfxSafeHwnd(dialog);
  if (::IsIconic(window)) return;
  placement.length = sizeof placement;
  ::GetWindowPlacement(window, &placement);
  const int dx = cx - clientSize.cx, dy = cy - clientSize.cy;
  for (INT_PTR i = 0; i < anchors.GetSize(); ++i) {
    if (anchors[i].group != 0) continue;
    anchors[i].Move(dx, dy, redraw, defer);
    ShareRect(i, true);
  }
  if (cx < clientSize.cx || cy < clientSize.cy) CheckLinkedMinimum(dialog, defer);
  clientSize = CSize(cx, cy);
}

void resizeWnd::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (!info || (minWindowSize.cx == -1 && minWindowSize.cy == -1)) return;
  info->ptMinTrackSize.x = minWindowSize.cx;
  info->ptMinTrackSize.y = minWindowSize.cy;
}

void resizeWnd::ResizeLinked(CWnd* dialog, resizeCtrl* entry, int* delta, HDWP defer) {
  if (!entry || !delta || !IsEdgeGroup(entry->group)) return;
  const HWND window = entry->window;
  const uint32_t group = entry->group;

  // The entries whose edges move together: the entry's own edge, the edges
  // across from it, theirs in turn.
  std::vector<INT_PTR> members;
  auto isMember = [&](INT_PTR i) { return std::find(members.begin(), members.end(), i) != members.end(); };
  for (INT_PTR i = 0; i < anchors.GetSize(); ++i)
    if (anchors[i].window == window && anchors[i].group == group) members.push_back(i);
  for (bool added = true; added;) {
    added = false;
    for (size_t k = 0; k < members.size(); ++k) {
      const resizeCtrl& member = anchors[members[k]];
      if (!member.linkWindow || !IsEdgeGroup(member.group)) continue;
      const uint32_t across = OppositeGroup(member.group);
      for (INT_PTR i = 0; i < anchors.GetSize(); ++i) {
        if (anchors[i].window == member.linkWindow && anchors[i].group == across && !isMember(i)) {
          members.push_back(i);
          added = true;
        }
      }
    }
  }

  // The largest delta toward 0 that keeps every member at its size.
  int guard = 100000;
  int restarts = 0;
  for (size_t k = 0; k < members.size();) {
    const resizeCtrl& member = anchors[members[k]];
    if (BelowBaseWhereItMoves(member)) *delta = RestoringDelta(member);
    CRect copy = member.rect;
    MoveEdge(copy, member.group, *delta);
    if ((copy.Width() >= member.baseSize.cx && copy.Height() >= member.baseSize.cy) || !::IsWindow(member.window)) {
      ++k;
      continue;
    }
    if (*delta == guard || ++restarts > kMaxRestarts) return;
    guard = *delta;
    *delta += *delta > 0 ? -1 : 1;
    if (*delta == 0) return;
    k = 0;
  }

  const HWND dialogWindow = AfxSafeHwnd(dialog);
  for (INT_PTR index : members) {
    resizeCtrl& member = anchors[index];
    const CRect old = member.rect;
    MoveEdge(member.rect, member.group, *delta);
    const CRect& r = member.rect;
    if (defer) {
      ::DeferWindowPos(defer, member.window, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER);
    } else {
      ::MoveWindow(member.window, r.left, r.top, r.Width(), r.Height(), FALSE);
      CRect both;
      ::UnionRect(&both, &old, &r);
      ::InvalidateRect(dialogWindow, &both, TRUE);
    }
    ShareRect(index, false);
  }
}

void resizeWnd::CheckLinkedMinimum(CWnd* dialog, HDWP defer) {
  for (INT_PTR i = 0; i < anchors.GetSize(); ++i) {
    if (!IsEdgeGroup(anchors[i].group)) continue;
    int delta = 0;
    ResizeLinked(dialog, &anchors[i], &delta, defer);
  }
}

bool SaveWindowLayout(resizeWnd* layout, CWnd* dialog, ini_store* store, const char* key) {
  const HWND window = AfxSafeHwnd(dialog);
  if (!layout || !store || !::IsWindow(window)) return false;
  WINDOWPLACEMENT now{};
  now.length = sizeof now;
  ::GetWindowPlacement(window, &now);
  if (LayoutBeyondScreen(now.rcNormalPosition, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)))
    now = layout->placement;

  WindowLayout saved;
  const CRect normal(now.rcNormalPosition);
  saved.left = normal.left;
  saved.top = normal.top;
  saved.width = normal.Width();
  saved.height = normal.Height();
  saved.dotsPerInch = DotsPerInchOf(window);
  saved.showCommand = ShowCommandToSave(::IsZoomed(window), ::IsIconic(window));
  for (INT_PTR i = 0; i < layout->anchors.GetSize(); ++i) {
    const resizeCtrl& entry = layout->anchors[i];
    if (entry.group == 1)
      saved.changes.push_back({LayoutIdWord(1, ::GetDlgCtrlID(entry.window)), entry.rect.Height() - entry.baseSize.cy});
    else if (entry.group == 2)
      saved.changes.push_back({LayoutIdWord(2, ::GetDlgCtrlID(entry.window)), entry.rect.Width() - entry.baseSize.cx});
  }
  const std::vector<int> values = EncodeWindowLayout(saved);
  return store->SetIntArray(WindowLayoutKey(key).c_str(), values.data(), values.size());
}

bool RestoreWindowLayout(resizeWnd* layout, CWnd* dialog, ini_store* store, const char* key, bool show) {
  const HWND window = AfxSafeHwnd(dialog);
  if (!layout || !store || !::IsWindow(window)) return false;
  const int dpi = DotsPerInchOf(window);
  int* values = nullptr;
  size_t count = 0;
  if (!store->GetIntArray(WindowLayoutKey(key).c_str(), &values, &count)) return false;
  const std::unique_ptr<int[]> owned(values);
  WindowLayout saved;
  if (!DecodeWindowLayout(values, count, dpi, &saved)) return false;

  RECT rect = {saved.left, saved.top, saved.left + saved.width, saved.top + saved.height};
  rect = FitLayoutOnScreen(rect, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                           layout->minWindowSize);
  ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  if (show) ::ShowWindow(window, ShowCommandToRestore(saved.showCommand));

  for (const LayoutSizeChange& change : saved.changes) {
    const int id = static_cast<int>(change.idWord & ~kLayoutHeightFlag);
    const bool height = (change.idWord & kLayoutHeightFlag) != 0;
    for (INT_PTR i = 0; i < layout->anchors.GetSize(); ++i) {
      resizeCtrl& entry = layout->anchors[i];
      if (!::IsWindow(entry.window) || ::GetDlgCtrlID(entry.window) != id) continue;
      int delta = 0;
      if (height && entry.group == 1)
        delta = (entry.rect.Height() - entry.baseSize.cy) - change.change;
      else if (!height && entry.group == 2)
        delta = (entry.rect.Width() - entry.baseSize.cx) - change.change;
      else
        continue;
      layout->ResizeLinked(dialog, &entry, &delta, nullptr);
    }
  }
  return true;
}
