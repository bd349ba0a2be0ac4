// The section dialogs' preview: a button painted with a fixed sketch of a
// section (floor, two risers, three heating bodies) whose dimensions carry
// the letters of the dialog's fields. Five flags switch the optional items;
// clicks are swallowed, so the button never presses.
#pragma once

#include <cstdint>

#include "platform/mfc/CButton.h"

class CViewBtn : public CButton {
  DECLARE_DYNAMIC(CViewBtn)

 public:
  // Positions of the sketch, in pixels, from the client width and height.
  struct Layout {
    int32_t riserX;           // x0
    int32_t floorY;           // yF
    int32_t leftMargin;       // mL
    int32_t topMargin;        // mT
    int32_t rightEnd;         // xR
    int32_t branchReach;      // a
    int32_t gap;              // b
    int32_t riserSpacing;     // c
    int32_t boxWidth;         // bw
    int32_t boxHeight;        // bh
    int32_t boxLift;          // d
    int32_t dimensionDrop;    // e
    int32_t floorMarkInset;   // f
    int32_t floorMarkSize;    // g
    int32_t riserTop;         // t

    static Layout For(int width, int height);
    // Left edges of the three boxes; their bottoms are all at floorY - boxLift.
    int Box1() const { return riserX - branchReach - boxWidth; }
    int Box2() const { return riserX + branchReach + riserSpacing; }
    int Box3() const { return Box2() + boxWidth + gap; }
    // The column of the vertical dimensions.
    int DimensionColumn() const { return riserX + riserSpacing + branchReach + 2 * boxWidth + gap + gap / 2; }
  };

  CViewBtn() = default;

  // Each keeps whether its argument is non-zero; the caller redraws.
  void SetSameLength(int on) { m_sameLength = on != 0; }
  void SetSameHeight(int on) { m_sameHeight = on != 0; }
  void SetDescriptions(int on) { m_descriptions = on != 0; }
  void SetFloor(int on) { m_floor = on != 0; }
  void SetPipeSwitch(int on) { m_pipeSwitch = on != 0; }

  // The layout of the last paint.
  const Layout& GetLayout() const { return m_layout; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnMButtonDown(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void DrawDimensions(CDC& dc) const;
  void DrawTexts(CDC& dc) const;

  COLORREF m_firstPipeColor = RGB(255, 0, 0);
  COLORREF m_secondPipeColor = RGB(0, 0, 255);
  COLORREF m_lineColor = RGB(0, 0, 0);
  Layout m_layout{};
  uint32_t m_sameLength = 0;
  uint32_t m_sameHeight = 0;
  uint32_t m_descriptions = 1;
  uint32_t m_floor = 1;
  bool m_pipeSwitch = false;  // the two pipe colours trade places
};
