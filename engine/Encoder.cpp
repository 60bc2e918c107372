#include "Encoder.h"

#include "EngineError.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace engine {

Encoder::Encoder(const VideoEncoderSettings& s, bool globalHeader, int threads, const QString& file)
    : pkt_(makePacket()), fileName_(file) {
    ctx_.reset(avcodec_alloc_context3(s.codec));
    if (!ctx_ || !pkt_)
        throw EngineError(Stage::Encode, QStringLiteral("内存不足"), file, AVERROR(ENOMEM));
    AVCodecContext* c = ctx_.get();
    c->width = s.width;
    c->height = s.height;
    c->pix_fmt = s.format;
    c->framerate = s.frameRate;
    c->time_base = av_inv_q(s.frameRate);
    c->sample_aspect_ratio = s.sampleAspect;
    if (s.bitrate > 0)
        c->bit_rate = s.bitrate;
    if (s.maxRate > 0)
        c->rc_max_rate = s.maxRate;
    if (s.minRate > 0)
        c->rc_min_rate = s.minRate;
    if (s.bufferSize > 0)
        c->rc_buffer_size = s.bufferSize;
    if (s.gopSize > 0)
        c->gop_size = s.gopSize;
    if (s.tag)
        c->codec_tag = s.tag;
    c->thread_count = threads;
    if (globalHeader)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (!s.x264Preset.isEmpty())
        av_dict_set(&options, "preset", s.x264Preset.toUtf8().constData(), 0);
    if (s.scanOffset)
        av_dict_set(&options, "scan_offset", "1", 0);
    open(&options);
    frameDuration_ = av_rescale_q(1, av_inv_q(s.frameRate), c->time_base);
}

Encoder::Encoder(const AudioEncoderSettings& s, bool globalHeader, int threads, const QString& file)
    : pkt_(makePacket()), fileName_(file) {
    ctx_.reset(avcodec_alloc_context3(s.codec));
    if (!ctx_ || !pkt_)
        throw EngineError(Stage::Encode, QStringLiteral("内存不足"), file, AVERROR(ENOMEM));
    AVCodecContext* c = ctx_.get();
    c->sample_rate = s.sampleRate;
    c->sample_fmt = s.format;
    av_channel_layout_uninit(&c->ch_layout);
    av_channel_layout_default(&c->ch_layout, s.channels);
    c->time_base = AVRational{1, s.sampleRate};
    if (s.bitrate > 0)
        c->bit_rate = s.bitrate;
    c->thread_count = threads;
    if (globalHeader)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    open(&options);
}

void Encoder::open(AVDictionary** options) {
    // A failed open forgets the codec; keep it for the message.
    const AVCodec* codec = ctx_->codec;
    const int ret = avcodec_open2(ctx_.get(), codec, options);
    av_dict_free(options);
    if (ret < 0)
        throw EngineError(Stage::Encode,
                          QStringLiteral("编码器“%1”不接受这些参数（画面尺寸、帧率、采样率、"
                                         "声道或比特率）")
                              .arg(codec->name),
                          fileName_, ret);
}

int Encoder::fixedFrameSize() const {
    if (ctx_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)
        return 0;
    return ctx_->frame_size > 0 ? ctx_->frame_size : 0;
}

void Encoder::encode(AVFrame* frame, const PacketSink& sink) {
    if (frame && ctx_->codec_type == AVMEDIA_TYPE_VIDEO) {
        // The decoder's picture types would force key frames where the source had them.
        frame->pict_type = AV_PICTURE_TYPE_NONE;
    }
    int ret = avcodec_send_frame(ctx_.get(), frame);
    for (int attempt = 0; ret == AVERROR(EAGAIN) && attempt < 8; ++attempt) {
        // Packets are waiting: take them, then the encoder accepts the frame.
        drain(sink);
        ret = avcodec_send_frame(ctx_.get(), frame);
    }
    if (ret < 0 && ret != AVERROR_EOF)
        throw EngineError(Stage::Encode, QStringLiteral("编码器“%1”出错").arg(ctx_->codec->name),
                          fileName_, ret);
    if (frame)
        ++frames_;
    drain(sink);
}

void Encoder::drain(const PacketSink& sink) {
    for (;;) {
        const int ret = avcodec_receive_packet(ctx_.get(), pkt_.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return;
        if (ret < 0)
            throw EngineError(Stage::Encode,
                              QStringLiteral("编码器“%1”出错").arg(ctx_->codec->name), fileName_,
                              ret);
        if (pkt_->duration <= 0 && frameDuration_ > 0)
            pkt_->duration = frameDuration_;
        sink(pkt_.get());
        av_packet_unref(pkt_.get());
    }
}

} // namespace engine
