#pragma once
#include <QCursor>

namespace cardora {

// The panel's own cursors: an open hand over a selection, a pointing hand
// while banding, and the drag cursor of the drawing tools.
QCursor GrabCursor();
QCursor PointCursor();
QCursor DragCursor();

} // namespace cardora
