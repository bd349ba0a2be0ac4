// The drawing preview of the export dialog: the plug-in's preview button
// filled from host entity chains (LINE, CIRCLE, ARC, LWPOLYLINE and TEXT)
// under selection names. A left click near a pickable name (1 up to the
// pick limit) tells the parent dialog through its PreTranslateMessage
// (message kPickMessage, lParam = the name - 1); a context menu switches
// between selecting, pan, zoom and zoom window, and fits the drawing.
#pragma once

#include <cstdint>

#include "dataformat/resbuf.h"
#include "jov_vantrix/preview/CMyOpenGLBtn.h"
#include "objectgl/GLPickIndex.h"
#include "platform/mfc/CMenu.h"
#include "platform/mfc/CPtrArray.h"

class CMyViewJovGL : public CMyOpenGLBtn {
 public:
  static constexpr UINT kPickMessage = 0x8064;

  CMyViewJovGL();
  ~CMyViewJovGL() override;

  // Converts the entities from the cursor to the chain's end, each under
  // the name nameId (0: none) in the colour (a block's colour 0 becomes 7),
  // moved by m2 and m1. Points go from world to user coordinates unless
  // inUcs (TEXT is then left out). Every entity made is appended to
  // created, in order.
  void AddEntityChain(resbuf** cursor, const GLMatrix* m1, const GLMatrix* m2, uint32_t nameId, CPtrArray* created,
                      uint32_t colour, bool inUcs);
  // The same for a record's chain, one entity and its extended data: the
  // entity alone is read (the data, most of the chain, is not walked).
  void AddRecordEntity(const resbuf* chain, uint32_t nameId, CPtrArray* created, uint32_t colour);
  void ClearScene(bool redraw);
  void ZoomExtents(bool redraw, const double* factor) { CMyOpenGLBtn::ZoomExtents(redraw, factor); }
  void SetMaxPickId(uint32_t id) { maxPickId_ = id; }
  uint32_t GetMaxPickId() const { return maxPickId_; }
  // The pressed and hovering cursors of pan, zoom and zoom window, from
  // the module holding them.
  void SetPanCursors(uint32_t pressId, uint32_t hoverId);
  void SetZoomCursors(uint32_t pressId, uint32_t hoverId);
  void SetWindowCursors(uint32_t pressId, uint32_t hoverId);
  // The name picked near a client point: the first pickable one 5 pixels
  // left, right, above or below, else the one under the point. True for a
  // pickable one, and for any other name exactly under the point. Asked at
  // every cursor move: the picks go through an index of the entities'
  // window boxes.
  bool PickNear(POINT point, uint32_t* id);

 protected:
  enum Cursor { kPanPress, kPanHover, kZoomPress, kZoomHover, kWindowPress, kWindowHover, kCursorCount };

  bool ClickPicks(POINT clientPoint, uint32_t id) override;
  // The pressed cursor of the mode; the arrow when it is not loaded.
  void ShowPressCursor();
  // A mode chosen from the menu ends any drag or zoom window going on.
  void SwitchMode(uint32_t mode);
  void LoadCursors(Cursor press, uint32_t pressId, uint32_t hoverId);
  HCURSOR Loaded(Cursor which) const;

  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  afx_msg void OnMButtonDown(UINT flags, CPoint point);
  afx_msg void OnPanMode();
  afx_msg void OnZoomMode();
  afx_msg void OnZoomWindowMode();
  afx_msg void OnZoomToExtents();
  afx_msg void OnSelectMode();

  HCURSOR pickCursor_ = nullptr;
  uint32_t maxPickId_ = 1;
  char* layer_;
  CMenu menu_;
  HCURSOR cursors_[kCursorCount] = {};
  HCURSOR arrowCursor_ = nullptr;
  GLPickIndex pickIndex_;

  DECLARE_MESSAGE_MAP()
};
