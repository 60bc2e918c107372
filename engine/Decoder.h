#pragma once
// The decode stage for one input stream: packets in, frames out (send/receive loop), with the
// flush at the end of the input. Damaged packets are counted and skipped, not fatal.

#include "AvPtr.h"

#include <QString>

#include <functional>

namespace engine {

class Decoder {
public:
    using FrameSink = std::function<void(AVFrame*)>;

    // Throws EngineError (stage Decode) when no decoder exists or it does not open.
    Decoder(const AVStream* stream, int threads, const QString& fileName);

    AVCodecContext* context() const { return ctx_.get(); }
    AVRational timeBase() const { return timeBase_; }

    // One packet, or nullptr for the end of the stream (drains the decoder). Every frame goes
    // to `sink` with its best-effort timestamp as pts (stream time base); the sink may keep a
    // reference but not the frame itself.
    void decode(const AVPacket* pkt, const FrameSink& sink);

    int64_t framesDecoded() const { return frames_; }
    int errors() const { return errors_; }

private:
    void drain(const FrameSink& sink);

    CodecContextPtr ctx_;
    FramePtr frame_;
    AVRational timeBase_;
    QString fileName_;
    int64_t frames_ = 0;
    int errors_ = 0;
};

} // namespace engine
