#include "StreamSettings.h"

#include "EngineError.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cstdlib>
#include <vector>

namespace engine {
namespace {

QString rateText(AVRational r) {
    return r.den == 1 ? QString::number(r.num) : QString::number(av_q2d(r), 'f', 3);
}

int nearestMultiple(int value, int step) {
    const int rounded = (value + step / 2) / step * step;
    return rounded < step ? step : rounded;
}

AVPixelFormat choosePixelFormat(const AVCodec* codec, AVPixelFormat source) {
    if (!codec->pix_fmts)
        return source;
    // 4:2:0 plays everywhere; prefer it to keeping an exotic source format.
    for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f) {
        if (*f == AV_PIX_FMT_YUV420P)
            return *f;
    }
    for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f) {
        if (*f == source)
            return *f;
    }
    return avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, source, 0, nullptr);
}

struct FrameSize {
    int width, height;
};
constexpr FrameSize kH263Sizes[] = {{128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};

int nearestOf(const std::vector<int>& allowed, int wanted) {
    int best = allowed.front();
    for (int v : allowed) {
        const int d = std::abs(v - wanted), bestD = std::abs(best - wanted);
        if (d < bestD || (d == bestD && v > best))
            best = v;
    }
    return best;
}

} // namespace

VideoEncoderSettings fitVideo(const OutputPlan& plan, const VideoSource& src,
                              const QString& fileName, QStringList* notes) {
    VideoEncoderSettings s;
    s.codec = plan.videoEncoder;
    const QString name = QString::fromUtf8(s.codec->name);
    s.format = choosePixelFormat(s.codec, src.format);
    if (s.format != src.format)
        notes->append(
            QStringLiteral("像素格式 %1 改为编码器 %2 支持的 %3")
                .arg(av_get_pix_fmt_name(src.format), name, av_get_pix_fmt_name(s.format)));

    s.width = plan.width > 0 ? plan.width : src.width;
    s.height = plan.height > 0 ? plan.height : src.height;
    if (s.codec->id == AV_CODEC_ID_H263) {
        bool allowed = false;
        for (const FrameSize& f : kH263Sizes)
            allowed = allowed || (f.width == s.width && f.height == s.height);
        if (!allowed)
            throw EngineError(
                Stage::Setup,
                QStringLiteral("H.263 编码只支持 128*96、176*144、352*288、704*576 和 "
                               "1408*1152 的画面尺寸，不支持 %1*%2")
                    .arg(s.width)
                    .arg(s.height),
                fileName);
    } else {
        const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(s.format);
        int stepW = desc ? 1 << desc->log2_chroma_w : 2;
        int stepH = desc ? 1 << desc->log2_chroma_h : 2;
        if (s.codec->id == AV_CODEC_ID_RV20) {
            stepW = std::max(stepW, 4);
            stepH = std::max(stepH, 4);
        } else if (s.codec->id == AV_CODEC_ID_RV10) {
            stepW = std::max(stepW, 16);
            stepH = std::max(stepH, 16);
        }
        const int w = nearestMultiple(s.width, stepW), h = nearestMultiple(s.height, stepH);
        if (w != s.width || h != s.height)
            notes->append(QStringLiteral("画面尺寸 %1*%2 改为编码器 %3 可用的 %4*%5")
                              .arg(s.width)
                              .arg(s.height)
                              .arg(name)
                              .arg(w)
                              .arg(h));
        s.width = w;
        s.height = h;
    }

    AVRational rate = plan.frameRate.num > 0 ? plan.frameRate : src.frameRate;
    if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > 1000 || av_q2d(rate) < 0.5) {
        notes->append(QStringLiteral("源文件的帧率未知，按 25 帧/秒转换"));
        rate = AVRational{25, 1};
    }
    // MPEG-4 and its relatives keep the time base in 16 bits.
    if (rate.num > 65535 || rate.den > 65535)
        av_reduce(&rate.num, &rate.den, rate.num, rate.den, 65535);
    if (s.codec->supported_framerates) {
        const AVRational nearest =
            s.codec
                ->supported_framerates[av_find_nearest_q_idx(rate, s.codec->supported_framerates)];
        if (av_cmp_q(nearest, rate) != 0)
            notes->append(QStringLiteral("帧率 %1 改为编码器 %2 支持的 %3")
                              .arg(rateText(rate), name, rateText(nearest)));
        rate = nearest;
    }
    s.frameRate = rate;

    // The display aspect stays the source's unless the record names one.
    AVRational dar = plan.displayAspect;
    if (dar.num <= 0) {
        const AVRational sar = src.sampleAspect.num > 0 ? src.sampleAspect : AVRational{1, 1};
        av_reduce(&dar.num, &dar.den, int64_t(sar.num) * src.width, int64_t(sar.den) * src.height,
                  1 << 20);
    }
    av_reduce(&s.sampleAspect.num, &s.sampleAspect.den, int64_t(dar.num) * s.height,
              int64_t(dar.den) * s.width, 65535);

    s.bitrate = plan.videoBitrate;
    s.maxRate = plan.maxRate;
    s.minRate = plan.minRate;
    s.bufferSize = plan.bufferSize;
    s.gopSize = plan.gopSize;
    s.x264Preset = plan.x264Preset;
    s.scanOffset = plan.scanOffset && s.codec->id == AV_CODEC_ID_MPEG2VIDEO;
    if (plan.videoTag) {
        const bool known = plan.muxer->codec_tag &&
                           av_codec_get_id(plan.muxer->codec_tag, plan.videoTag) == s.codec->id;
        if (known) {
            s.tag = plan.videoTag;
        } else {
            char text[AV_FOURCC_MAX_STRING_SIZE] = {};
            av_fourcc_make_string(text, plan.videoTag);
            notes->append(QStringLiteral("输出格式 %1 不能用视频标签 %2 标记 %3 编码，不写标签")
                              .arg(plan.muxer->name, text, name));
        }
    }
    return s;
}

AudioEncoderSettings fitAudio(const OutputPlan& plan, const AudioSource& src, QStringList* notes) {
    AudioEncoderSettings s;
    s.codec = plan.audioEncoder;
    const QString name = QString::fromUtf8(s.codec->name);
    const QString muxer = QString::fromUtf8(plan.muxer->name);

    int rate = plan.sampleRate > 0 ? plan.sampleRate : src.sampleRate;
    if (rate <= 0)
        rate = 44100;
    std::vector<int> rates;
    if (s.codec->supported_samplerates) {
        for (const int* r = s.codec->supported_samplerates; *r; ++r)
            rates.push_back(*r);
    }
    // Encoders that check their rate only when opened.
    if (s.codec->id == AV_CODEC_ID_AMR_NB)
        rates = {8000};
    else if (rates.empty() &&
             (s.codec->id == AV_CODEC_ID_WMAV1 || s.codec->id == AV_CODEC_ID_WMAV2))
        rates = {8000, 11025, 16000, 22050, 32000, 44100, 48000};
    // Flash keeps MP3 only at these rates.
    if ((muxer == QLatin1String("flv") || muxer == QLatin1String("swf")) &&
        s.codec->id == AV_CODEC_ID_MP3)
        rates = {44100, 22050, 11025};
    if (!rates.empty()) {
        const int nearest = nearestOf(rates, rate);
        if (nearest != rate)
            notes->append(
                QStringLiteral("采样率 %1 改为 %2 支持的 %3").arg(rate).arg(name).arg(nearest));
        rate = nearest;
    }
    s.sampleRate = rate;

    int channels = plan.channels > 0 ? plan.channels : src.channels;
    if (channels <= 0)
        channels = 2;
    std::vector<int> counts;
    if (s.codec->ch_layouts) {
        for (const AVChannelLayout* l = s.codec->ch_layouts; l->nb_channels; ++l)
            counts.push_back(l->nb_channels);
    } else if (s.codec->id == AV_CODEC_ID_WMAV1 || s.codec->id == AV_CODEC_ID_WMAV2) {
        counts = {1, 2};
    } else if (s.codec->id == AV_CODEC_ID_AMR_NB) {
        counts = {1};
    }
    if (muxer == QLatin1String("flv") || muxer == QLatin1String("swf")) {
        std::vector<int> two;
        for (int c : counts.empty() ? std::vector<int>{1, 2} : counts) {
            if (c <= 2)
                two.push_back(c);
        }
        counts = two.empty() ? std::vector<int>{1, 2} : two;
    }
    if (!counts.empty()) {
        int nearest = counts.front();
        for (int c : counts) {
            if (std::abs(c - channels) < std::abs(nearest - channels))
                nearest = c;
        }
        if (nearest != channels)
            notes->append(
                QStringLiteral("声道数 %1 改为 %2 支持的 %3").arg(channels).arg(name).arg(nearest));
        channels = nearest;
    }
    s.channels = channels;

    s.format = s.codec->sample_fmts ? s.codec->sample_fmts[0] : src.format;
    if (s.codec->sample_fmts) {
        for (const AVSampleFormat* f = s.codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
            if (*f == src.format)
                s.format = *f;
        }
    }
    if (s.format == AV_SAMPLE_FMT_NONE)
        s.format = AV_SAMPLE_FMT_S16;
    s.bitrate = plan.audioBitrate;
    return s;
}

} // namespace engine
