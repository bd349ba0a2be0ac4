// The classic look of the stock controls at 96 dots per inch, drawn with
// cairo on a window's drawing context (platform internal): 3-D edges, push
// buttons, check and radio boxes, scroll bars and arrows. Colours are the
// system colours (GetSysColor).
#pragma once

#include "platform/win32/gdi.h"

typedef struct _cairo cairo_t;

namespace classic {

// DrawEdge: the edges (BDR_*) on the sides (BF_*) of the rectangle; with
// BF_ADJUST the rectangle shrinks by what was drawn, with BF_MIDDLE the
// inside gets the button face.
void Edge(cairo_t* cr, RECT* rect, UINT edge, UINT flags);
// A push button's face and frame: raised, pressed (sunken) or, as the
// default button, with a black frame around it.
void PushButtonFrame(cairo_t* cr, RECT rect, bool pressed, bool isDefault);
// A 13-pixel check box and radio button with their state.
void CheckBox(cairo_t* cr, int x, int y, bool checked, bool indeterminate, bool disabled);
void RadioButton(cairo_t* cr, int x, int y, bool checked, bool disabled);
// An arrow glyph pointing up (0), down (1), left (2) or right (3), centred.
void Arrow(cairo_t* cr, const RECT& rect, int direction, bool disabled);
// A scroll bar: two arrow buttons, the track and the thumb for the range.
void ScrollBar(cairo_t* cr, const RECT& rect, bool vertical, int minimum, int maximum, int page, int position,
               bool disabled);
// The text of a disabled control: embossed white under grey.
void DisabledText(cairo_t* cr, const char* text, const RECT& rect, UINT format);
// DrawFrameControl on a drawing context.
void FrameControl(cairo_t* cr, RECT rect, UINT type, UINT state);

}  // namespace classic
