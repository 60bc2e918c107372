#include "OutputRecord.h"

#include <optional>

namespace conversion {
namespace {

const QString kLibx264 = QStringLiteral("libx264");
const QString kLibx264Preset = QStringLiteral("libx264-default");
const QString kAuto = QStringLiteral("AUTO");

std::optional<int> integerOf(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

void setInteger(int& field, const QString& text) {
    if (const auto v = integerOf(text))
        field = *v;
}

void setVideoCodec(const QString& codec, engine::TOutputOptions& r) {
    if (codec.isEmpty())
        return;
    r.VideoCodec = codec;
    r.VideoPreset = codec == kLibx264 ? kLibx264Preset : QString();
}

} // namespace

engine::TOptionTargetType targetTypeOf(const QString& t) {
    if (t == QStringLiteral("vcd"))
        return engine::ttVCD;
    if (t == QStringLiteral("svcd"))
        return engine::ttSVCD;
    if (t == QStringLiteral("dvd"))
        return engine::ttDVD;
    return engine::ttIgnore;
}

engine::TOptionNormType normTypeOf(const QString& t) {
    if (t == QStringLiteral("PAL"))
        return engine::ntPAL;
    if (t == QStringLiteral("NTSC"))
        return engine::ntNTSC;
    return engine::ntAuto;
}

void applyProfile(const catalogue::Profile& p, engine::TOutputOptions& r) {
    setVideoCodec(p.Video_VideoCodec, r);
    if (!p.Video_AudioCodec.isEmpty() && p.Video_AudioCodec != kAuto)
        r.AudioCodec = p.Video_AudioCodec;
    if (!p.Video_FrameRate.isEmpty())
        r.FrameRate = p.Video_FrameRate;
    r.DisableVideo = p.Video_DisableVideo;
    if (!p.Video_AudioChannels.isEmpty())
        setInteger(r.AudioChannels, p.Video_AudioChannels);
    if (!p.Video_AudioSampleRate.isEmpty() && p.Video_AudioSampleRate != kAuto)
        setInteger(r.AudioSampleRate, p.Video_AudioSampleRate);
    if (!p.Video_FrameSize.isEmpty())
        r.FrameSize = p.Video_FrameSize;
    if (!p.Video_TargetType.isEmpty())
        r.TargetType = targetTypeOf(p.Video_TargetType);
    r.NormType = normTypeOf(p.Video_NormType);
    setInteger(r.AudioVolume, p.Video_AudioVolume);
    if (!p.Video_FrameAspectRatio.isEmpty())
        r.FrameAspectRatio = p.Video_FrameAspectRatio;
    if (p.Video_AudioBitrate != -1000)
        r.AudioBitrate = p.Video_AudioBitrate;
    if (!p.Video_FileFormat.isEmpty())
        r.FileFormat = p.Video_FileFormat;
    if (!p.Video_VideoFilters.isEmpty())
        r.VideoFilters = p.Video_VideoFilters;
    if (!p.Video_VideoTag.isEmpty())
        r.VideoTag = p.Video_VideoTag;
    if (p.Video_VideoBitrate != -1000)
        r.VideoBitrate = p.Video_VideoBitrate;
}

void applyRowColumns(const RowColumns& row, engine::TOutputOptions& r) {
    const QString& videoCodec = row[SubItem::VideoCodec];
    setVideoCodec(videoCodec, r);

    const QString& audioCodec = row[SubItem::AudioCodec];
    if (!audioCodec.isEmpty() && audioCodec != kAuto)
        r.AudioCodec = audioCodec;

    if (!row[SubItem::AudioChannels].isEmpty())
        setInteger(r.AudioChannels, row[SubItem::AudioChannels]);

    // libx264 writes its own tag; a tag left from an earlier format would only be wrong.
    const QString& tag = row[SubItem::VideoTag];
    r.VideoTag = !tag.isEmpty() && videoCodec != kLibx264 ? tag : QString();

    if (!row[SubItem::FileExt].isEmpty())
        r.FileExt = row[SubItem::FileExt];
    if (!row[SubItem::FrameSize].isEmpty())
        r.FrameSize = row[SubItem::FrameSize];

    const QString& videoBitrate = row[SubItem::VideoBitrate];
    if (!videoBitrate.isEmpty() && videoBitrate != QStringLiteral("-1000"))
        setInteger(r.VideoBitrate, videoBitrate);

    if (!row[SubItem::FrameRate].isEmpty())
        r.FrameRate = row[SubItem::FrameRate];

    const QString& audioBitrate = row[SubItem::AudioBitrate];
    if (audioBitrate != QStringLiteral("-1000"))
        setInteger(r.AudioBitrate, audioBitrate);

    const QString& sampleRate = row[SubItem::SampleRate];
    if (!sampleRate.isEmpty() && sampleRate != kAuto)
        setInteger(r.AudioSampleRate, sampleRate);

    if (!row[SubItem::Aspect].isEmpty())
        r.FrameAspectRatio = row[SubItem::Aspect];

    r.DisableVideo = row[SubItem::DisableVideo] == QStringLiteral("True");

    if (!row[SubItem::TargetType].isEmpty())
        r.TargetType = targetTypeOf(row[SubItem::TargetType]);
    r.NormType = normTypeOf(row[SubItem::NormType]);
}

} // namespace conversion
