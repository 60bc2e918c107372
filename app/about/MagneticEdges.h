#pragma once
// Magnetic edges: a window moved to within a few pixels of an edge of the desktop's work area
// is pulled flush against it.

#include <QPoint>
#include <QRect>

namespace about {

// Where `frame` (the window with its frame) should stand: each of its edges that lies within
// `distance` pixels of the same edge of `area`, inside or outside it, is moved onto that edge;
// left and top win over right and bottom when the window is wider or taller than the area.
QPoint snapToEdges(const QRect& frame, const QRect& area, int distance);

} // namespace about
