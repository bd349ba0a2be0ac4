#include "platform/mfc/CWaitCursor.h"

#include "platform/win32/cursors.h"
#include "platform/win32/resources.h"

namespace {
int g_depth = 0;
HCURSOR g_previous = nullptr;
}  // namespace

CWaitCursor::CWaitCursor() {
  if (g_depth++ == 0) g_previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}

CWaitCursor::~CWaitCursor() {
  if (--g_depth == 0) ::SetCursor(g_previous);
}

void CWaitCursor::Restore() { ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT)); }
