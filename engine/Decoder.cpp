#include "Decoder.h"

#include "EngineError.h"
#include "EngineLog.h"

namespace engine {

Decoder::Decoder(const AVStream* stream, int threads, const QString& fileName)
    : frame_(makeFrame()), timeBase_(stream->time_base), fileName_(fileName) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        throw EngineError(Stage::Decode,
                          QStringLiteral("找不到“%1”格式的解码器")
                              .arg(avcodec_get_name(stream->codecpar->codec_id)),
                          fileName);
    ctx_.reset(avcodec_alloc_context3(codec));
    if (!ctx_ || !frame_)
        throw EngineError(Stage::Decode, QStringLiteral("内存不足"), fileName, AVERROR(ENOMEM));
    int ret = avcodec_parameters_to_context(ctx_.get(), stream->codecpar);
    if (ret < 0)
        throw EngineError(Stage::Decode, QStringLiteral("解码参数无效"), fileName, ret);
    ctx_->pkt_timebase = stream->time_base;
    ctx_->thread_count = threads;
    ret = avcodec_open2(ctx_.get(), codec, nullptr);
    if (ret < 0)
        throw EngineError(Stage::Decode, QStringLiteral("无法打开解码器“%1”").arg(codec->name),
                          fileName, ret);
}

void Decoder::decode(const AVPacket* pkt, const FrameSink& sink) {
    // A decoder that keeps refusing while it has nothing to hand out would loop for ever.
    for (int attempt = 0;; ++attempt) {
        const int ret = avcodec_send_packet(ctx_.get(), pkt);
        if (ret == AVERROR(EAGAIN) && attempt < 8) {
            // Frames are waiting: take them, then the decoder accepts the packet.
            drain(sink);
            continue;
        }
        if (ret < 0 && ret != AVERROR_EOF) {
            if (ret == AVERROR(ENOMEM))
                throw EngineError(Stage::Decode, QStringLiteral("内存不足"), fileName_, ret);
            ++errors_;
            if (errors_ <= 3)
                enginelog::write(llWarning, QStringLiteral("跳过“%1”中无法解码的数据：%2")
                                                .arg(fileName_, avErrorText(ret)));
        }
        break;
    }
    drain(sink);
}

void Decoder::drain(const FrameSink& sink) {
    // A damaged frame does not end the drain; a decoder that only fails does.
    for (int failuresInRow = 0; failuresInRow < 16;) {
        const int ret = avcodec_receive_frame(ctx_.get(), frame_.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return;
        if (ret < 0) {
            if (ret == AVERROR(ENOMEM))
                throw EngineError(Stage::Decode, QStringLiteral("内存不足"), fileName_, ret);
            ++errors_;
            if (errors_ <= 3)
                enginelog::write(
                    llWarning,
                    QStringLiteral("跳过“%1”中无法解码的帧：%2").arg(fileName_, avErrorText(ret)));
            ++failuresInRow;
            continue;
        }
        failuresInRow = 0;
        ++frames_;
        frame_->pts = frame_->best_effort_timestamp;
        sink(frame_.get());
        av_frame_unref(frame_.get());
    }
}

} // namespace engine
