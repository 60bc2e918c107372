#include "MagneticEdges.h"

#include <cstdlib>

namespace about {

namespace {

// The new start of a span [start, start + length) that snaps to [areaStart, areaEnd).
int snapSpan(int start, int length, int areaStart, int areaEnd, int distance) {
    if (std::abs(start - areaStart) <= distance)
        return areaStart;
    const int end = start + length;
    if (std::abs(end - areaEnd) <= distance)
        return areaEnd - length;
    return start;
}

} // namespace

QPoint snapToEdges(const QRect& frame, const QRect& area, int distance) {
    // QRect's right() and bottom() are the last pixel inside; spans use one past it.
    return {snapSpan(frame.x(), frame.width(), area.x(), area.x() + area.width(), distance),
            snapSpan(frame.y(), frame.height(), area.y(), area.y() + area.height(), distance)};
}

} // namespace about
