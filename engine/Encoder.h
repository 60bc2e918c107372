#pragma once
// The encode stage of one output stream: frames in, packets out (send/receive loop), with the
// flush at the end. The settings are complete and already fitted to the encoder (see
// StreamSettings.h); a refusal here is an error of the task.

#include "AvPtr.h"

#include <QString>

#include <functional>

namespace engine {

struct VideoEncoderSettings {
    const AVCodec* codec = nullptr;
    int width = 0, height = 0;
    AVPixelFormat format = AV_PIX_FMT_YUV420P;
    AVRational frameRate{25, 1};
    AVRational sampleAspect{1, 1};
    int64_t bitrate = -1; // -1: the encoder's default
    int64_t maxRate = 0, minRate = 0;
    int bufferSize = 0;
    int gopSize = -1;
    uint32_t tag = 0;
    QString x264Preset;
    bool scanOffset = false;
};

struct AudioEncoderSettings {
    const AVCodec* codec = nullptr;
    int sampleRate = 44100;
    AVSampleFormat format = AV_SAMPLE_FMT_FLTP;
    int channels = 2; // with the default layout of that many channels
    int64_t bitrate = -1;
};

class Encoder {
public:
    using PacketSink = std::function<void(AVPacket*)>;

    // Throws EngineError (stage Encode) when the encoder refuses the settings.
    Encoder(const VideoEncoderSettings& s, bool globalHeader, int threads, const QString& file);
    Encoder(const AudioEncoderSettings& s, bool globalHeader, int threads, const QString& file);

    AVCodecContext* context() const { return ctx_.get(); }
    AVRational timeBase() const { return ctx_->time_base; }
    // Samples per frame the encoder insists on; 0 when it takes any number.
    int fixedFrameSize() const;

    // One frame (pts in timeBase()), or nullptr at the end (drains the encoder). Packets go
    // to `sink` with timestamps in timeBase(); the sink takes their contents.
    void encode(AVFrame* frame, const PacketSink& sink);
    int64_t framesEncoded() const { return frames_; }

private:
    void open(AVDictionary** options);
    void drain(const PacketSink& sink);

    CodecContextPtr ctx_;
    PacketPtr pkt_;
    QString fileName_;
    int64_t frameDuration_ = 0; // video: one frame in timeBase()
    int64_t frames_ = 0;
};

} // namespace engine
