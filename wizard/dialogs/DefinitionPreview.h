// The definition editor's preview (its control 1001) as far as the editor
// drives it: a view's drawing with every entity drawn, one pickable marker
// per definition point (those of definition line ends only in the point
// list's mode 1), the picked point highlighted, zoom around a point and to
// the whole drawing, the preview kind its context menu switches, and the
// mouse navigation with the editor's cursors. Picks and the opening of the
// context menu reach the dialog's PreTranslateMessage (0x8064, 0x8065).
#pragma once

#include <cstdint>
#include <memory>

#include "common/GLVector.h"
#include "common/resbuf.h"
#include "platform/mfc/CButton.h"

class CListCtrl;
class CSeznam;
class CWnd;

class DefinitionPreview {
 public:
  virtual ~DefinitionPreview();
  // Takes the dialog's control over and makes the scene; false when the
  // scene cannot be made.
  virtual bool Create(CWnd* dialog, UINT controlId) = 0;
  // Replaces the drawing by the chain's (the caller's, kept alive while
  // shown), fitted to the view.
  virtual void Show(const resbuf* chain) = 0;
  // The point list view and the markers of the points (either may be left
  // out by an implementation without a scene).
  virtual void FillPointList(CSeznam& points, CListCtrl* view, int mode) = 0;
  virtual void ShowPointMarkers(CSeznam& points, CListCtrl* view, int mode) = 0;
  virtual void HighlightPoint(uint32_t number) = 0;
  // Halves (zoomIn) or doubles the view around the target.
  virtual void ZoomAt(const GLVector& target, bool zoomIn) = 0;
  virtual void ZoomExtents() = 0;
  // 0 groups, 1 connection points, 2 all geometry; takes effect with the
  // next Show.
  virtual uint32_t Kind() const = 0;
  virtual void SetKind(uint32_t kind) = 0;
  // Navigation mode 0 is picking.
  virtual void SetNavigationMode(uint32_t mode) = 0;
  virtual void Redraw() = 0;
};

// The template's button, keeping what it was asked to do; the list views
// are filled as the engine fills them.
class PlainDefinitionPreview : public DefinitionPreview {
 public:
  bool Create(CWnd* dialog, UINT controlId) override;
  void Show(const resbuf* chain) override;
  void FillPointList(CSeznam& points, CListCtrl* view, int mode) override;
  void ShowPointMarkers(CSeznam& points, CListCtrl* view, int mode) override;
  void HighlightPoint(uint32_t number) override { highlighted = number; }
  void ZoomAt(const GLVector& target, bool zoomIn) override;
  void ZoomExtents() override { ++fits; }
  uint32_t Kind() const override { return kind; }
  void SetKind(uint32_t value) override { kind = value; }
  void SetNavigationMode(uint32_t mode) override { navigation = mode; }
  void Redraw() override { ++redraws; }

  CButton button;
  const resbuf* shown = nullptr;
  int shows = 0;
  int markerMode = -1;  // the mode of the last fill
  uint32_t highlighted = 0;
  GLVector zoomTarget;
  int zooms = 0;  // + in, - out
  int fits = 0;
  uint32_t kind = 2;
  uint32_t navigation = 0;
  int redraws = 0;
};

// The preview a new definition editor gets.
std::unique_ptr<DefinitionPreview> MakeDefinitionPreview();
