// The wizard's preview button: a scene on a button (the shared preview
// control) with the product rules. Painting errors are shown, the wheel
// zooms by a fixed step, colours below 1 and from 255 up are drawn in 7,
// ids below 0 end a pickable group, every curve is highlighted 3 pixels
// wide. It can show the product mirrored (with a small mirror sign in the
// corner), and in mode 4 a horizontal drag turns the view about the
// vertical axis and tells the parent the camera's new angle.
#pragma once

#include <cstdint>

#include "objectgl/preview/GLPreviewControl.h"

class COpenGLBtn : public GLPreviewControl {
 public:
  // Navigation mode 4: a drag turns about the world Z axis, told to the
  // parent's PreTranslateMessage as kRotationMessage with lParam the
  // address of the camera's Z rotation (a double).
  static constexpr uint32_t kRotateAboutZ = 4;
  static constexpr UINT kRotationMessage = 0x81F4;

  COpenGLBtn(uint8_t drawFrame, uint8_t mouseNavigation, uint8_t setUpOnSubclass);

  // Adders (the name, colour and width rules are the control's).
  bool AddLine(const GLVector& p1, const GLVector& p2, int32_t colour, int32_t nameId);
  bool AddCircle(const GLVector& centre, const double* radius, int32_t colour, int32_t nameId);
  // Angles in radians, counter-clockwise.
  bool AddArc(const GLVector& centre, const double* radius, const double* start, const double* end, int32_t colour,
              int32_t nameId);
  bool AddBulgeArc(const GLVector& p1, const GLVector& p2, const double* bulge, int32_t colour, int32_t nameId);
  bool AddText(uint32_t styleIndex, const char* text, const GLVector& position, int32_t colour, const double* angle,
               const double* height, int32_t nameId);

  // Mirrored: the view from below with X turned round, all turned about Z
  // by `angle`; plain: the top view (the angle is not used).
  void SetMirror(bool mirrored, double angle, bool redraw);
  bool IsMirrored() const { return mirrored_ != 0; }
  void HighlightGroup(int32_t id, bool redraw);

 protected:
  void OnViewReset() override { mirrored_ = 0; }
  void PaintOverlay(CDC& dc) override;
  void DragInMode(uint32_t mode, int dx, int dy) override;
  // Calls the parent's PreTranslateMessage with the message from this
  // control; its answer.
  BOOL TellParent(UINT message, WPARAM wParam, LPARAM lParam);

  uint8_t mirrored_ = 0;
};
