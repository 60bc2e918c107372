#pragma once
// Turns a video frame into a small QImage for the live preview, its display aspect kept.
// Used only on the task's worker thread, and only while the preview is on.

#include "AvPtr.h"

#include <QImage>

namespace engine {

class PreviewScaler {
public:
    explicit PreviewScaler(int maxWidth = 320, int maxHeight = 240)
        : maxWidth_(maxWidth), maxHeight_(maxHeight) {}
    QImage toImage(const AVFrame* frame);

private:
    int maxWidth_, maxHeight_;
    SwsPtr sws_;
};

} // namespace engine
