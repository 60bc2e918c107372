#pragma once
// The filter stage of one stream. Video: the record's own filters, fps, scale, setsar and
// format, so the encoder always gets frames of one size, rate, aspect and pixel format.
// Audio: volume, aresample (with gap filling from time zero, which keeps the sound in step with
// the picture in containers that store no audio timestamps), aformat, and frames of the
// encoder's fixed size. A frame whose format differs from the one the graph was built for
// rebuilds the graph.

#include "AvPtr.h"

#include <QString>

#include <functional>

namespace engine {

class FilterChain {
public:
    using FrameSink = std::function<void(AVFrame* frame, AVRational timeBase)>;
    virtual ~FilterChain() = default;
    FilterChain(const FilterChain&) = delete;
    FilterChain& operator=(const FilterChain&) = delete;

    // One decoded frame (pts in the stream's time base). Filtered frames go to `sink` with the
    // time base of their pts.
    void push(AVFrame* frame, const FrameSink& sink);
    // The end of the stream at `endPts` (stream time base: the last frame's pts plus its
    // duration, so that a rate filter still gives the last frame its time); drains the graph.
    void finish(int64_t endPts, const FrameSink& sink);

protected:
    FilterChain(AVRational inputTimeBase, int threads, const QString& fileName);

    virtual bool sameInput(const AVFrame* frame) const = 0;
    virtual void rememberInput(const AVFrame* frame) = 0;
    // True: drain the old graph before a rebuild; false: drop what it holds.
    virtual bool drainOnRebuild() const = 0;
    virtual QByteArray sourceArgs() const = 0;
    virtual QByteArray description(bool firstGraph) const = 0;
    virtual void configureSink(AVFilterContext* sink) = 0;
    virtual const char* sourceFilter() const = 0;
    virtual const char* sinkFilter() const = 0;

    AVRational inputTimeBase_;
    QString fileName_;

private:
    void build();
    void pull(const FrameSink& sink);

    int threads_;
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr; // owned by graph_
    AVFilterContext* sink_ = nullptr;   // owned by graph_
    FramePtr out_;
    int graphsBuilt_ = 0;
};

struct VideoTarget {
    int width = 0, height = 0;
    AVPixelFormat format = AV_PIX_FMT_YUV420P;
    AVRational sampleAspect{1, 1};
    AVRational frameRate{25, 1};
    AVRational sourceFrameRate{25, 1};
    QString userFilters; // applied first
};

class VideoFilterChain : public FilterChain {
public:
    VideoFilterChain(const VideoTarget& target, AVRational inputTimeBase, int threads,
                     const QString& fileName);

private:
    bool sameInput(const AVFrame* frame) const override;
    void rememberInput(const AVFrame* frame) override;
    bool drainOnRebuild() const override { return true; }
    QByteArray sourceArgs() const override;
    QByteArray description(bool firstGraph) const override;
    void configureSink(AVFilterContext*) override {}
    const char* sourceFilter() const override { return "buffer"; }
    const char* sinkFilter() const override { return "buffersink"; }

    VideoTarget target_;
    int width_ = 0, height_ = 0;
    int format_ = AV_PIX_FMT_NONE;
    AVRational sar_{0, 1};
};

struct AudioTarget {
    int sampleRate = 44100;
    AVSampleFormat format = AV_SAMPLE_FMT_FLTP;
    QByteArray layout; // av_channel_layout_describe text
    double volume = 1.0;
    int frameSize = 0; // 0: any
};

class AudioFilterChain : public FilterChain {
public:
    AudioFilterChain(const AudioTarget& target, AVRational inputTimeBase, int threads,
                     const QString& fileName);

private:
    bool sameInput(const AVFrame* frame) const override;
    void rememberInput(const AVFrame* frame) override;
    bool drainOnRebuild() const override { return false; }
    QByteArray sourceArgs() const override;
    QByteArray description(bool firstGraph) const override;
    void configureSink(AVFilterContext* sink) override;
    const char* sourceFilter() const override { return "abuffer"; }
    const char* sinkFilter() const override { return "abuffersink"; }

    AudioTarget target_;
    int sampleRate_ = 0;
    int format_ = AV_SAMPLE_FMT_NONE;
    QByteArray layout_;
};

// The size and sample aspect a video filter description gives a source of this size, format
// and aspect (for a record with its own filters and no frame size). Throws EngineError.
void probeVideoFilterOutput(const QString& description, int width, int height, AVPixelFormat format,
                            AVRational sar, int* outWidth, int* outHeight, AVRational* outSar,
                            const QString& fileName);

// A layout's text for the filters; unordered layouts become the default one of their size.
QByteArray layoutText(const AVChannelLayout& layout);

} // namespace engine
