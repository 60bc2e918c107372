#pragma once
// Every change of time base in the pipeline goes through these functions: input packets are
// moved so that the file starts at zero, filtered frames enter the encoder's time base, and
// encoded packets enter their output stream's time base.

extern "C" {
#include <libavcodec/packet.h>
#include <libavutil/frame.h>
#include <libavutil/mathematics.h>
}

#include <cstdint>

namespace engine::ts {

constexpr AVRational kMicroseconds{1, AV_TIME_BASE};

inline int64_t rescale(int64_t value, AVRational from, AVRational to) {
    if (value == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    return av_rescale_q_rnd(value, from, to,
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

inline int64_t toMicroseconds(int64_t value, AVRational from) {
    return rescale(value, from, kMicroseconds);
}

// A demuxed packet, moved back by the input's start offset (microseconds).
inline void shiftInputPacket(AVPacket* pkt, int64_t startOffsetUs, AVRational streamTimeBase) {
    if (startOffsetUs == 0)
        return;
    const int64_t offset = av_rescale_q(startOffsetUs, kMicroseconds, streamTimeBase);
    if (pkt->pts != AV_NOPTS_VALUE)
        pkt->pts -= offset;
    if (pkt->dts != AV_NOPTS_VALUE)
        pkt->dts -= offset;
}

// A filtered frame, into the encoder's time base.
inline void frameToEncoder(AVFrame* frame, AVRational sinkTimeBase, AVRational encoderTimeBase) {
    frame->pts = rescale(frame->pts, sinkTimeBase, encoderTimeBase);
}

// An encoded packet, into its output stream's time base.
inline void packetToStream(AVPacket* pkt, AVRational encoderTimeBase, AVRational streamTimeBase) {
    av_packet_rescale_ts(pkt, encoderTimeBase, streamTimeBase);
}

} // namespace engine::ts
