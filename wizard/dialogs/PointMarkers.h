// The definition points of a view in the definition editor: the point list
// view (the engine's part) and one marker per point in the preview, named
// by the point's number so that a click on it tells the editor which point
// it is. The markers of definition line ends show only in mode 1, as their
// rows do.
#pragma once

class CListCtrl;
class CSeznam;
class COpenGLBtn;

// Fills the list and adds the markers to the preview's scene (either may
// be null).
void FillPointList(CSeznam& points, CListCtrl* view, int mode, COpenGLBtn* preview);
// Refills the list and shows the line ends' markers in mode 1, hiding them
// otherwise.
void ShowPointMarkers(CSeznam& points, CListCtrl* view, int mode, COpenGLBtn* preview);
