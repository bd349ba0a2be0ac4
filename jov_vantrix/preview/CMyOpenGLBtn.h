// The plug-in's preview button: a scene on a button (the shared preview
// control) with the plug-in's rules: painting errors are swallowed, the
// wheel zooms by its delta, colour 255 is kept, lines, circles and arcs get
// the button's line width and two transforms, and a zoom window (mode 5)
// is dragged out with a rubber band.
#pragma once

#include <cstdint>

#include "objectgl/preview/GLPreviewControl.h"

class GLText;

class CMyOpenGLBtn : public GLPreviewControl {
 public:
  static constexpr uint32_t kZoomWindow = 5;

  CMyOpenGLBtn(uint8_t drawFrame, uint8_t mouseNavigation, uint8_t setUpOnSubclass, float lineWidth);

  // The arguments after the face are accepted and not used.
  uint32_t AddTextStyle(double* height, const char* faceName, uint32_t = 1, uint32_t = 400, uint8_t = 0,
                        uint32_t = 0);

  // Adders: a selection name first unless nameId is 0, the colour rule,
  // then the entity (returned through out, when given) moved by m2 and m1.
  bool AddLine(GLEntity** out, const GLVector& p1, const GLVector& p2, const GLMatrix* m1, const GLMatrix* m2,
               uint32_t colour, uint32_t nameId);
  bool AddCircle(GLEntity** out, const GLVector& centre, const double* radius, const GLMatrix* m1,
                 const GLMatrix* m2, uint32_t colour, uint32_t nameId);
  bool AddArc(GLEntity** out, const GLVector& centre, const double* radius, const double* start, const double* end,
              const GLMatrix* m1, const GLMatrix* m2, uint32_t colour, uint32_t nameId);
  bool AddBulgeArc(GLEntity** out, const GLVector& p1, const GLVector& p2, const double* bulge, const GLMatrix* m1,
                   const GLMatrix* m2, uint32_t colour, uint32_t nameId);
  bool AddText(GLText** out, uint32_t styleIndex, const char* text, const GLVector& position, uint32_t colour,
               const double* angle, const double* height, uint32_t nameId);

  // The normal width of the lines, circles and arcs added from now on.
  float lineWidth;

 protected:
  // Finishes an adder's curve: the line width, the transforms, the scene.
  bool AddCurveOut(GLEntity** out, GLEntity* curve, const GLMatrix* m1, const GLMatrix* m2);
  bool DragWithoutWrap(uint32_t mode, CPoint clientPoint) override;
  // Draws the rubber band from the window's first corner to `corner`, or
  // takes it away when it is there (XOR).
  void DrawRubberBand(POINT corner);
  void CloseZoomWindow(POINT corner);

  afx_msg void OnLButtonDown(UINT flags, CPoint point);

  uint8_t windowStarted_ = 0;
  POINT windowCorner_{};
  POINT windowAnchor_{};

  DECLARE_MESSAGE_MAP()
};
