// The product preview of the wizard's dialogs: a product's geometry chain
// as the catalogue delivers it, shown in one of five kinds that differ in
// what becomes of the construction layer "DEFPOINTS" and in what a left
// click does:
//   0  nothing of DEFPOINTS is drawn; a click picks a group, tells the
//      parent, and highlights it when the parent agrees;
//   1  a DEFPOINTS line of colour 7 is a connection point with a marker;
//      a click on one moves the arrow there and tells the parent;
//   2  DEFPOINTS is ordinary geometry; a click tells and highlights;
//   3  connection points show an arrow each and a hidden marker; no picks;
//   4  as 3, and nothing else of DEFPOINTS but colour 7 is drawn.
// The parent hears of picks (kPickMessage, lParam the id), of the context
// menu about to open (kMenuMessage, lParam the popup CMenu*) and of a right
// click without a menu (kRightClickMessage, lParam a POINT* in client
// coordinates) through its PreTranslateMessage.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "dataformat/resbuf.h"
#include "platform/mfc/CMenu.h"
#include "wizard/dialogs/COpenGLBtn.h"

class CSelPoint;
class GLArrow;
class GLSelectPoint;

class CViewJovGL : public COpenGLBtn {
 public:
  static constexpr UINT kPickMessage = 0x8064;
  static constexpr UINT kMenuMessage = 0x8065;
  static constexpr UINT kRightClickMessage = 0x8066;

  // A menu id of 0 means no context menu; otherwise popup subMenuIndex of
  // that menu resource, from the module holding it.
  CViewJovGL(uint32_t kind, uint8_t setUpOnSubclass, uint32_t menuId, uint32_t subMenuIndex);
  ~CViewJovGL() override;

  // Replaces the scene's content by the chain's entities (the chain stays
  // the caller's) and fits the view.
  void ShowPreview(const resbuf* chain, bool redraw);
  // Converts the entity at the cursor, leaving the cursor on the next one;
  // a new connection point takes the counter's value and counts it on.
  void BuildPreviewFromDxf(resbuf** cursor, uint32_t* counter);
  void ClearScene(bool redraw);
  // Takes effect at the next ShowPreview.
  void SetKind(uint32_t kind) { kind_ = kind; }
  uint32_t GetKind() const { return kind_; }
  // Kinds 3 and 4: shows the marker of that point instead of the last one.
  void SelectPoint(uint32_t id);
  // Moves the arrow to that point, hiding its marker (kind 1).
  void MarkSelectedPoint(uint32_t id);
  double GetSelectedAngle() const;
  bool GetSelectedPosition(GLVector* out) const;
  uint32_t GetSelectedId() const { return selectedId_; }
  // Halves (zoomIn) or doubles the view around the target.
  void ZoomAt(const GLVector* target, bool zoomIn);
  void SetPanCursors(uint32_t hoverId, uint32_t pressId);
  void SetZoomCursors(uint32_t hoverId, uint32_t pressId);
  // The pressed cursor of the navigation mode, the arrow when not loaded.
  void SetPressCursor();

  // The connection points in order of appearance.
  const CSeznam& Points() const { return points_; }
  CSelPoint* FindPoint(uint32_t id) const;

 protected:
  enum Cursor { kPanPress, kPanHover, kZoomPress, kZoomHover, kRotatePress, kRotateHover, kTurnAboutZ, kCursors };

  friend class ProductChainReader;

  HCURSOR Loaded(Cursor which) const { return cursors_[which] ? cursors_[which] : arrowCursor_; }
  void LoadCursors(Cursor hover, Cursor press, uint32_t hoverId, uint32_t pressId);
  // A DEFPOINTS line of colour 7 as a connection point of the kind, taking
  // the counter's value.
  void AddConnectionPoint(GLVector start, const GLVector& end, uint32_t* counter);
  // Puts the markers and arrows of the connection points into the scene
  // (kinds 1, 3 and 4), fitting the view first.
  void ShowConnectionPoints(bool redraw);
  // Deletes the points (and their markers and arrows unless the scene
  // holds them).
  void ClearPoints();
  // The scene was emptied: the points go with it.
  void OnViewReset() override;

  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  afx_msg void OnMButtonDown(UINT flags, CPoint point);
  // The kind, the selection and the connection points, answered once the
  // scene was set up (preview_messages.h).
  afx_msg LRESULT OnGetPointState(WPARAM, LPARAM state);
  afx_msg LRESULT OnGetPoint(WPARAM index, LPARAM point);

  CSeznam points_;
  bool pointsInScene_ = false;  // their markers and arrows are the scene's
  uint32_t kind_;
  GLArrow* arrow_ = nullptr;
  GLSelectPoint* currentMarker_ = nullptr;
  uint32_t selectedId_ = 0;
  uint32_t menuId_;
  uint32_t subMenuIndex_;
  char* layer_ = nullptr;
  CMenu menu_;
  HCURSOR cursors_[kCursors] = {};
  HCURSOR arrowCursor_ = nullptr;

  DECLARE_MESSAGE_MAP()
};
