#include "wizard/dialogs/DefinitionPreview.h"

#include "platform/mfc/CWnd.h"
#include "wizard/frame/engine/DefinitionPoints.h"

DefinitionPreview::~DefinitionPreview() = default;

bool PlainDefinitionPreview::Create(CWnd* dialog, UINT controlId) {
  return dialog && button.SubclassDlgItem(controlId, dialog);
}

void PlainDefinitionPreview::Show(const resbuf* chain) {
  shown = chain;
  ++shows;
}

void PlainDefinitionPreview::FillPointList(CSeznam& points, CListCtrl* view, int mode) {
  ::FillPointList(points, view, mode);
  markerMode = mode;
}

void PlainDefinitionPreview::ShowPointMarkers(CSeznam& points, CListCtrl* view, int mode) {
  ::ShowPointMarkers(points, view, mode);
  markerMode = mode;
}

void PlainDefinitionPreview::ZoomAt(const GLVector& target, bool zoomIn) {
  zoomTarget = target;
  zooms += zoomIn ? 1 : -1;
}

std::unique_ptr<DefinitionPreview> MakeDefinitionPreview() { return std::make_unique<PlainDefinitionPreview>(); }
