// What the preview controls of both plug-in libraries share: a button whose
// client area shows a scene of the scene library (an orthographic camera
// looking down, a viewport on the button, one light), painted on request,
// navigated with the mouse (pan, zoom, rotate), and filled by adders that
// put one entity each into the scene under a selection name and a colour
// rule. Where the two families differ the rules below, the hooks and the
// derived classes decide.
//
// Everything runs on the thread owning the window; the control has no
// locks. The scene owns camera, viewport, light, entities and text styles;
// the control owns the scene.
#pragma once

#include <cstdint>
#include <vector>

#include "common/GLMatrix.h"
#include "common/GLVector.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/message_map.h"
#include "platform/win32/preview_messages.h"

class GLCamera;
class GLEntity;
class GLScene;
class GLText;
class GLViewport;

// Where the two preview families part ways.
struct GLPreviewRules {
  // A GLException from painting is shown (flags 48); else swallowed.
  bool showPaintErrors = true;
  // Resizing also computes the camera's view again; else only the viewport
  // follows.
  bool resizeComputesView = true;
  // The wheel zooms by minus its delta and the message counts as handled;
  // else by a fixed step of 25 (out for a negative delta) followed by the
  // default processing.
  bool wheelZoomsByDelta = false;
  // A zoom step that leaves both view sides negative takes their absolute
  // values.
  bool absoluteViewSizes = false;
  // Fitting the view first makes the viewport current and updates it.
  bool fitUpdatesViewport = false;
  // Colour 255 is kept (only 0 and above 255 become 7); else 255 and above
  // and anything below 1 become 7.
  bool keepColour255 = false;
  // Selection names are signed: a negative one ends the group (0xFFFFFFFF);
  // else every id but 0 is a name of its own.
  bool signedNames = true;
  // The highlight width given to lines, circles and arcs; 0 keeps the
  // entity's own.
  float curveHighlightWidth = 0.0f;

  // The plug-in's drawing preview: errors swallowed, the wheel by its
  // delta, absolute sizes, the viewport updated before a fit, 255 kept,
  // every name its own group.
  static GLPreviewRules DrawingPreview();
  // The wizard's product preview: everything by default, and curves
  // highlighted 3 wide.
  static GLPreviewRules ProductPreview();
};

class GLPreviewControl : public CButton {
 public:
  // Navigation modes the shared part knows; families add their own above.
  static constexpr uint32_t kSelect = 0;
  static constexpr uint32_t kPan = 1;
  static constexpr uint32_t kZoom = 2;
  static constexpr uint32_t kRotate = 3;

  GLPreviewControl(uint8_t drawFrame, uint8_t mouseNavigation, uint8_t setUpOnSubclass, const GLPreviewRules& rules);
  GLPreviewControl(const GLPreviewControl&) = delete;
  GLPreviewControl& operator=(const GLPreviewControl&) = delete;
  ~GLPreviewControl() override;

  // Builds scene, camera, viewport and light; false without a parent
  // window (nothing made) or when a part cannot be made (the scene stays,
  // without the others).
  bool SetUpScene();
  bool IsReady() const { return ready_ != 0; }
  GLScene* GetScene() const { return scene_; }
  bool AddEntity(GLEntity* entity);

  // Empties the scene and turns the view back to the plain top view.
  virtual void ResetView();
  void ZoomExtents(bool redraw, const double* factor);
  // One zoom step: a positive amount shows more of the drawing.
  void Zoom(double amount);
  // Moves the view by pixels: the drawing follows the cursor.
  void Pan(double dx, double dy);
  void RotateAboutWorldZ(double angle);
  void RotateAboutViewX(double angle);
  void UpdateView();
  void SetMode(uint32_t mode) { mode_ = mode; }
  uint32_t GetMode(uint32_t* out = nullptr) const {
    if (out) *out = mode_;
    return mode_;
  }
  void EnableMouseNavigation(bool on) { mouseNavigation_ = on ? 1 : 0; }
  void SetBackground(uint32_t scheme, bool redraw);
  uint32_t GetBackground() const { return backgroundScheme_; }
  void GetBackgroundRGB(double* r, double* g, double* b) const;

  // A text style of that face whose capital B is *height tall: *height is
  // rescaled by the font's cell height over the B's. 0 without a scene.
  uint32_t AddTextStyle(double* height, const char* faceName);
  // The style a converted text uses: the scene's first, else a new
  // "Arial" one; *height is rescaled by the capital-B rule either way.
  uint32_t TextStyleFor(double* height);

  // Adders of one entity each: the selection name first (see the name
  // rule), the colour rule, the rules' highlight width (not for solids),
  // then the scene. False, and nothing made, without a scene.
  // An elliptic arc of 64 segments; null values: ratio 1, parameters 0.
  bool AddEllipse(const GLVector& centre, const GLVector& majorAxis, const GLVector& normal, const double* ratio,
                  const double* start, const double* end, uint32_t colour, uint32_t nameId);
  // A filled quadrilateral with the corners of a SOLID: p1, p2, p4, p3.
  bool AddSolid(const GLVector& p1, const GLVector& p2, const GLVector& p3, const GLVector& p4, uint32_t colour,
                uint32_t nameId);
  // A marker of `size` pixels in the figure `style`, hidden or shown.
  bool AddSelectPoint(const GLVector& position, uint32_t colour, uint32_t size, uint32_t nameId, uint32_t style,
                      bool hidden);

  // Where a text of the style and height goes so that `at` is its point of
  // alignment: horizontal 0 left, 1 centre, 2 right; vertical 1 bottom,
  // 2 middle, 3 top; 4 with vertical 0 the middle of both; anything else
  // the text's own start (the insertion point as it is).
  GLVector AlignedTextPosition(uint32_t styleIndex, double height, const char* text, const GLVector& at,
                               double rotation, int horizontal, int vertical);

  // The client point (y from the top) of the group `id` where a click of
  // this control picks it; false when no point of the view does.
  bool FindPickPoint(uint32_t id, POINT* point);

 protected:
  // The steps every adder shares: the name marker, then the colour as the
  // entity's material.
  void AddNameMarker(uint32_t nameId);
  uint32_t AdderColour(uint32_t colour) const;
  // Adds a new line, circle or arc (made in its adder colour) with the
  // normal width (0 keeps the entity's) and the rules' highlight width,
  // moved by m2 and then by m1 (either may be null). False, and the entity
  // deleted, without a scene.
  bool AddCurve(GLEntity* curve, float normalWidth, const GLMatrix* m1, const GLMatrix* m2);
  // A text entity in its adder colour; false without a scene.
  bool AddTextEntity(GLText** out, uint32_t styleIndex, const char* text, const GLVector& position, uint32_t colour,
                     const double* angle, const double* height, uint32_t nameId);
  // The capital-B rule for an existing style; *height unchanged when the
  // face has no B.
  void ScaleToCapitalB(uint32_t styleIndex, double* height);

  // Hooks of the families.
  // After the view went back to the top view (the mirror goes too).
  virtual void OnViewReset() {}
  // Painting over a rendered frame on the control's own device context.
  virtual void PaintOverlay(CDC&) {}
  // A drag move in a mode of the family's own that follows the cursor
  // itself (no screen-edge wrap): true when handled.
  virtual bool DragWithoutWrap(uint32_t mode, CPoint clientPoint);
  // A drag move in a mode of the family's own, after the wrap, by pixels.
  virtual void DragInMode(uint32_t mode, int dx, int dy);
  // Whether a click at the client point picks the group `id`.
  virtual bool ClickPicks(POINT clientPoint, uint32_t id);

  // The press of a navigation mode: the drag starts (the capture taken
  // once), then the focus when the control is a tab stop or navigates.
  void BeginNavigationPress(CPoint clientPoint);
  // Ends a drag and gives the capture back.
  void EndDrag();
  // Invalidates the whole client area (erasing) when the window exists.
  void Redraw();
  GLCamera* CurrentCamera() const;
  GLViewport* CurrentViewport() const;
  // The smaller side of the client area; 0 when it is empty.
  int ShorterClientSide() const;

  void PreSubclassWindow() override;

  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnMButtonDown(UINT flags, CPoint point);
  afx_msg void OnMButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  // What the control shows, answered once the scene was set up
  // (preview_messages.h).
  afx_msg LRESULT OnGetView(WPARAM, LPARAM view);
  afx_msg LRESULT OnGetItems(WPARAM first, LPARAM items);
  afx_msg LRESULT OnGetItemLine(WPARAM index, LPARAM line);
  afx_msg LRESULT OnGetItemPoint(WPARAM id, LPARAM point);

  const GLPreviewRules rules_;
  uint8_t dragging_ = 0;
  uint8_t mouseNavigation_;
  uint8_t ready_ = 1;
  uint8_t drawFrame_;
  uint8_t setUpOnSubclass_;
  // A set-up has succeeded: from then on the control tells what it shows.
  bool sceneSetUp_ = false;
  uint32_t backgroundScheme_ = 0;
  uint32_t mode_ = kSelect;
  uint32_t savedMode_ = 0;
  GLScene* scene_ = nullptr;
  POINT lastPoint_{};
  HWND previousCapture_ = nullptr;

  DECLARE_MESSAGE_MAP()

 private:
  // Background colour of the scheme into the viewport, when it differs.
  void ApplyBackground();
  void DrawFrameOnParent();
  // The client points the entity's drawing passes through, y from the top.
  std::vector<POINT> DrawnPoints(GLEntity* entity);
};
