#include "PreviewScaler.h"

#include <algorithm>

namespace engine {

QImage PreviewScaler::toImage(const AVFrame* frame) {
    if (frame->width <= 0 || frame->height <= 0)
        return {};
    const AVRational sar =
        frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio : AVRational{1, 1};
    const double displayWidth = frame->width * av_q2d(sar);
    const double scale =
        std::min({1.0, maxWidth_ / displayWidth, maxHeight_ / double(frame->height)});
    const int w = std::max(2, int(displayWidth * scale) & ~1);
    const int h = std::max(2, int(frame->height * scale) & ~1);

    sws_.reset(sws_getCachedContext(sws_.release(), frame->width, frame->height,
                                    static_cast<AVPixelFormat>(frame->format), w, h,
                                    AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!sws_)
        return {};
    // AV_PIX_FMT_RGB32 is 0xAARRGGBB in native order, the layout of QImage::Format_RGB32.
    QImage image(w, h, QImage::Format_RGB32);
    uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(sws_.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return image;
}

} // namespace engine
