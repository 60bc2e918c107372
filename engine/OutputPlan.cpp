#include "OutputPlan.h"

extern "C" {
#include <libavutil/parseutils.h>
}

#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace engine {
namespace {

// What FFmpeg's command-line "-target" presets apply for the three disc formats.
struct DiscPreset {
    const char* muxer;
    const char* videoEncoder;
    const char* audioEncoder;
    int palWidth, palHeight, ntscWidth, ntscHeight;
    int64_t videoBitrate, maxRate, minRate;
    int bufferSize;
    int64_t audioBitrate;
    int sampleRate;
    int channels; // 0: keep the source's
    const char* packetSize;
    const char* muxRate; // nullptr: the muxer's own
    const char* preload; // microseconds; nullptr: none
    bool scanOffset;
};

constexpr DiscPreset kVcd{"vcd",   "mpeg1video", "mp2",    352,    288,    352,   240,
                          1150000, 1150000,      1150000,  327680, 224000, 44100, 2,
                          "2324",  "1411200",    "440000", false};
constexpr DiscPreset kSvcd{"svcd",  "mpeg2video", "mp2",   480,     576,    480,   480,
                           2040000, 2516000,      0,       1835008, 224000, 44100, 0,
                           "2324",  nullptr,      nullptr, true};
constexpr DiscPreset kDvd{"dvd",   "mpeg2video", "ac3",   720,     576,    720,   480,
                          6000000, 9000000,      0,       1835008, 448000, 48000, 0,
                          "2048",  "10080000",   nullptr, false};

const DiscPreset* discPreset(TOptionTargetType target) {
    switch (target) {
    case ttVCD:
        return &kVcd;
    case ttSVCD:
        return &kSvcd;
    case ttDVD:
        return &kDvd;
    case ttIgnore:
        break;
    }
    return nullptr;
}

// The catalogue names encoders that current FFmpeg builds replace.
QString substituteEncoderName(const QString& name) {
    if (name == QLatin1String("libfaac"))
        return QStringLiteral("aac");
    return name;
}

// Codecs that containers list as their default for cover art, not for a video stream.
bool isCoverArtCodec(AVCodecID id) {
    return id == AV_CODEC_ID_PNG || id == AV_CODEC_ID_MJPEG;
}

bool sameRate(AVRational a, AVRational b) {
    return av_cmp_q(a, b) == 0;
}

TOptionNormType guessNorm(AVRational sourceRate, QStringList* notes) {
    if (sameRate(sourceRate, AVRational{25, 1}) || sameRate(sourceRate, AVRational{50, 1}))
        return ntPAL;
    if (sameRate(sourceRate, AVRational{30000, 1001}) ||
        sameRate(sourceRate, AVRational{24000, 1001}) ||
        sameRate(sourceRate, AVRational{60000, 1001}))
        return ntNTSC;
    notes->append(QStringLiteral("无法从源帧率判断电视制式，按 PAL 制处理"));
    return ntPAL;
}

std::optional<AVRational> parseAspect(const QString& text) {
    static const QRegularExpression pair(QStringLiteral(R"(^\s*(\d+)\s*[:/]\s*(\d+)\s*$)"));
    const auto m = pair.match(text);
    if (m.hasMatch()) {
        const int num = m.captured(1).toInt();
        const int den = m.captured(2).toInt();
        if (num > 0 && den > 0) {
            AVRational r;
            av_reduce(&r.num, &r.den, num, den, 1 << 20);
            return r;
        }
        return std::nullopt;
    }
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !(value > 0) || value > 100)
        return std::nullopt;
    return av_d2q(value, 10000);
}

bool parseFrameSize(const QString& text, int* width, int* height) {
    static const QRegularExpression size(QStringLiteral(R"(^\s*(\d+)\s*[*xX]\s*(\d+)\s*$)"));
    const auto m = size.match(text);
    if (!m.hasMatch())
        return false;
    *width = m.captured(1).toInt();
    *height = m.captured(2).toInt();
    return *width > 0 && *height > 0 && *width <= 8192 && *height <= 8192;
}

const AVCodec* findNamedEncoder(const QString& name, AVMediaType type, QString* error) {
    const QString used = substituteEncoderName(name);
    const AVCodec* codec = avcodec_find_encoder_by_name(used.toUtf8().constData());
    if (!codec) {
        *error = QStringLiteral("当前的 FFmpeg 库中没有编码器“%1”").arg(used);
        return nullptr;
    }
    if (codec->type != type) {
        *error = QStringLiteral("“%1”不是%2编码器")
                     .arg(used, type == AVMEDIA_TYPE_VIDEO ? QStringLiteral("视频")
                                                           : QStringLiteral("音频"));
        return nullptr;
    }
    return codec;
}

bool containerRefuses(const AVOutputFormat* muxer, const AVCodec* codec) {
    // 1: can hold it; 0: cannot; negative: the muxer does not say (then it is tried).
    return avformat_query_codec(muxer, codec->id, FF_COMPLIANCE_NORMAL) == 0;
}

} // namespace

const AVCodec* defaultEncoderFor(AVCodecID id) {
    void* it = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&it)) {
        if (codec->id != id || !av_codec_is_encoder(codec))
            continue;
        if (codec->capabilities & (AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_EXPERIMENTAL))
            continue;
        return codec;
    }
    return nullptr;
}

std::optional<AVRational> parseFrameRate(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (ok) {
        // The NTSC family written with two or three decimals.
        struct Ntsc {
            double approx;
            AVRational exact;
        };
        static const Ntsc ntsc[] = {
            {23.976, {24000, 1001}}, {29.97, {30000, 1001}}, {59.94, {60000, 1001}}};
        for (const Ntsc& n : ntsc) {
            if (std::fabs(value - n.approx) < 0.006)
                return n.exact;
        }
    }
    AVRational rate{0, 1};
    if (av_parse_video_rate(&rate, t.toUtf8().constData()) < 0 || rate.num <= 0 || rate.den <= 0 ||
        av_q2d(rate) > 1000)
        return std::nullopt;
    return rate;
}

std::optional<OutputPlan> planOutput(const TOutputOptions& o, const QString& outputFile,
                                     const SourceHints& source, QString* error) {
    OutputPlan plan;
    QString err;
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return std::optional<OutputPlan>{};
    };

    plan.target = o.TargetType;
    const DiscPreset* disc = discPreset(o.TargetType);
    if (disc) {
        plan.norm = o.NormType == ntAuto ? guessNorm(source.frameRate, &plan.notes) : o.NormType;
    }

    // Container: the explicit muxer name, else the disc target's, else the extension.
    if (!o.FileFormat.isEmpty()) {
        plan.muxer = av_guess_format(o.FileFormat.toUtf8().constData(), nullptr, nullptr);
        if (!plan.muxer)
            return fail(QStringLiteral("未知的输出格式“%1”").arg(o.FileFormat));
    } else if (disc) {
        plan.muxer = av_guess_format(disc->muxer, nullptr, nullptr);
        if (!plan.muxer)
            return fail(QStringLiteral("当前的 FFmpeg 库中没有输出格式“%1”").arg(disc->muxer));
    } else {
        QString probeName = outputFile;
        if (!o.FileExt.isEmpty()) {
            const QString ext = o.FileExt.startsWith('.') ? o.FileExt : '.' + o.FileExt;
            probeName = QStringLiteral("output") + ext;
        }
        plan.muxer = av_guess_format(nullptr, probeName.toUtf8().constData(), nullptr);
        if (!plan.muxer) {
            const QString ext = o.FileExt.isEmpty() ? QFileInfo(outputFile).suffix() : o.FileExt;
            return fail(QStringLiteral("无法识别的输出文件格式“%1”").arg(ext));
        }
    }

    // Video encoder.
    if (!o.DisableVideo) {
        if (!o.VideoCodec.isEmpty()) {
            plan.videoEncoder = findNamedEncoder(o.VideoCodec, AVMEDIA_TYPE_VIDEO, &err);
            if (!plan.videoEncoder)
                return fail(err);
            if (containerRefuses(plan.muxer, plan.videoEncoder))
                return fail(QStringLiteral("输出格式“%1”不能存放“%2”编码的视频")
                                .arg(plan.muxer->name, plan.videoEncoder->name));
        } else if (disc) {
            plan.videoEncoder = avcodec_find_encoder_by_name(disc->videoEncoder);
            if (!plan.videoEncoder)
                plan.videoUnavailable =
                    QStringLiteral("当前的 FFmpeg 库中没有编码器“%1”").arg(disc->videoEncoder);
        } else if (plan.muxer->video_codec != AV_CODEC_ID_NONE &&
                   !isCoverArtCodec(plan.muxer->video_codec)) {
            plan.videoEncoder = defaultEncoderFor(plan.muxer->video_codec);
            if (!plan.videoEncoder)
                plan.videoUnavailable = QStringLiteral("当前的 FFmpeg 库中没有“%1”视频编码器")
                                            .arg(avcodec_get_name(plan.muxer->video_codec));
        }
    }

    // Audio encoder.
    const QString audioCodec = o.AudioCodec.compare(QLatin1String("AUTO"), Qt::CaseInsensitive) == 0
                                   ? QString()
                                   : o.AudioCodec;
    if (!audioCodec.isEmpty()) {
        plan.audioEncoder = findNamedEncoder(audioCodec, AVMEDIA_TYPE_AUDIO, &err);
        if (!plan.audioEncoder)
            return fail(err);
        if (containerRefuses(plan.muxer, plan.audioEncoder))
            return fail(QStringLiteral("输出格式“%1”不能存放“%2”编码的音频")
                            .arg(plan.muxer->name, plan.audioEncoder->name));
    } else if (disc) {
        plan.audioEncoder = avcodec_find_encoder_by_name(disc->audioEncoder);
        if (!plan.audioEncoder)
            plan.audioUnavailable =
                QStringLiteral("当前的 FFmpeg 库中没有编码器“%1”").arg(disc->audioEncoder);
    } else if (plan.muxer->audio_codec != AV_CODEC_ID_NONE) {
        plan.audioEncoder = defaultEncoderFor(plan.muxer->audio_codec);
        if (!plan.audioEncoder)
            plan.audioUnavailable = QStringLiteral("当前的 FFmpeg 库中没有“%1”音频编码器")
                                        .arg(avcodec_get_name(plan.muxer->audio_codec));
    }
    if (o.VideoCodec != substituteEncoderName(o.VideoCodec) ||
        audioCodec != substituteEncoderName(audioCodec))
        plan.notes.append(QStringLiteral("编码器 libfaac 由 FFmpeg 自带的 aac 编码器代替"));

    // The disc target's values first; explicit fields below override them.
    if (disc) {
        const bool pal = plan.norm != ntNTSC;
        plan.width = pal ? disc->palWidth : disc->ntscWidth;
        plan.height = pal ? disc->palHeight : disc->ntscHeight;
        plan.frameRate = pal ? AVRational{25, 1} : AVRational{30000, 1001};
        plan.gopSize = pal ? 15 : 18;
        plan.videoBitrate = disc->videoBitrate;
        plan.maxRate = disc->maxRate;
        plan.minRate = disc->minRate;
        plan.bufferSize = disc->bufferSize;
        plan.scanOffset = disc->scanOffset;
        plan.audioBitrate = disc->audioBitrate;
        plan.sampleRate = disc->sampleRate;
        plan.channels = disc->channels;
        plan.muxerOptions.emplace_back("packetsize", disc->packetSize);
        if (disc->muxRate)
            plan.muxerOptions.emplace_back("muxrate", disc->muxRate);
        if (disc->preload)
            plan.muxerOptions.emplace_back("preload", disc->preload);
    }

    if (!o.FrameSize.isEmpty() && !parseFrameSize(o.FrameSize, &plan.width, &plan.height))
        return fail(QStringLiteral("画面尺寸“%1”无效，应写作“宽*高”").arg(o.FrameSize));
    if (!o.FrameRate.isEmpty()) {
        const auto rate = parseFrameRate(o.FrameRate);
        if (!rate)
            return fail(QStringLiteral("帧率“%1”无效").arg(o.FrameRate));
        plan.frameRate = *rate;
    }
    if (!o.FrameAspectRatio.isEmpty()) {
        const auto aspect = parseAspect(o.FrameAspectRatio);
        if (!aspect)
            return fail(QStringLiteral("画面比例“%1”无效，应写作“宽:高”").arg(o.FrameAspectRatio));
        plan.displayAspect = *aspect;
    }
    if (o.VideoBitrate > 0) {
        plan.videoBitrate = o.VideoBitrate;
        // A disc target's rate window must still contain the chosen rate.
        if (plan.maxRate > 0 && plan.maxRate < plan.videoBitrate)
            plan.maxRate = plan.videoBitrate;
        if (plan.minRate > plan.videoBitrate)
            plan.minRate = plan.videoBitrate;
    }
    if (o.AudioBitrate > 0)
        plan.audioBitrate = o.AudioBitrate;
    if (o.AudioSampleRate > 0)
        plan.sampleRate = o.AudioSampleRate;
    if (o.AudioChannels > 0)
        plan.channels = o.AudioChannels;
    if (o.AudioVolume >= 0 && o.AudioVolume != 256)
        plan.volume = o.AudioVolume / 256.0;

    if (!o.VideoTag.isEmpty()) {
        const QByteArray tag = o.VideoTag.toLatin1();
        if (tag.size() != 4)
            return fail(QStringLiteral("视频标签“%1”应为四个字符").arg(o.VideoTag));
        plan.videoTag = MKTAG(tag[0], tag[1], tag[2], tag[3]);
    }

    if (plan.videoEncoder && QLatin1String(plan.videoEncoder->name) == QLatin1String("libx264")) {
        QString preset = QStringLiteral("medium");
        if (o.VideoPreset.startsWith(QLatin1String("libx264-")) &&
            o.VideoPreset != QLatin1String("libx264-default"))
            preset = o.VideoPreset.mid(8);
        else if (!o.VideoPreset.isEmpty() && o.VideoPreset != QLatin1String("libx264-default"))
            plan.notes.append(QStringLiteral("未知的编码预设“%1”，使用 medium").arg(o.VideoPreset));
        plan.x264Preset = preset;
    }
    plan.videoFilters = o.VideoFilters.trimmed();
    return plan;
}

} // namespace engine
