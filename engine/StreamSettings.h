#pragma once
// Fits what the plan asks for and what the source has to what the chosen encoder and
// container accept: the nearest supported sample rate, channel count, pixel format, frame
// rate and frame size, each change noted for the log. Only H.263's fixed picture sizes have no
// near value; a size it cannot take is an error.

#include "Encoder.h"
#include "OutputPlan.h"

#include <QStringList>

namespace engine {

struct VideoSource {
    int width = 0, height = 0;
    AVPixelFormat format = AV_PIX_FMT_YUV420P;
    AVRational sampleAspect{1, 1};
    AVRational frameRate{0, 1}; // 0: unknown
};

struct AudioSource {
    int sampleRate = 0;
    int channels = 0;
    AVSampleFormat format = AV_SAMPLE_FMT_NONE;
};

// Throws EngineError (stage Setup) for a size H.263 cannot take.
VideoEncoderSettings fitVideo(const OutputPlan& plan, const VideoSource& source,
                              const QString& fileName, QStringList* notes);

AudioEncoderSettings fitAudio(const OutputPlan& plan, const AudioSource& source,
                              QStringList* notes);

} // namespace engine
