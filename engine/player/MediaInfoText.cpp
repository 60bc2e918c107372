#include "MediaInfoText.h"

#include "AvPtr.h"

#include <QStringList>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

namespace engine::player {

namespace {

QString clockText(int64_t us) {
    if (us < 0)
        us = 0;
    const int64_t ms = us / 1000;
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                             static_cast<long long>(ms / 60000 % 60),
                             static_cast<long long>(ms / 1000 % 60),
                             static_cast<long long>(ms % 1000));
}

QString codecText(const AVCodecParameters* par) {
    QString text = QString::fromUtf8(avcodec_get_name(par->codec_id));
    if (const char* profile = avcodec_profile_name(par->codec_id, par->profile))
        text += QStringLiteral(" (%1)").arg(QString::fromUtf8(profile));
    return text;
}

QString videoText(const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    QStringList parts{codecText(par)};
    if (const char* pix = av_get_pix_fmt_name(static_cast<AVPixelFormat>(par->format)))
        parts << QString::fromUtf8(pix);
    QString size = QStringLiteral("%1x%2").arg(par->width).arg(par->height);
    if (par->sample_aspect_ratio.num > 0 && par->sample_aspect_ratio.den > 0) {
        AVRational dar;
        av_reduce(&dar.num, &dar.den, int64_t(par->width) * par->sample_aspect_ratio.num,
                  int64_t(par->height) * par->sample_aspect_ratio.den, 1024 * 1024);
        size += QStringLiteral(" [SAR %1:%2 DAR %3:%4]")
                    .arg(par->sample_aspect_ratio.num)
                    .arg(par->sample_aspect_ratio.den)
                    .arg(dar.num)
                    .arg(dar.den);
    }
    parts << size;
    if (st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0)
        parts << QStringLiteral("%1 fps").arg(av_q2d(st->avg_frame_rate), 0, 'g', 5);
    if (par->bit_rate > 0)
        parts << QStringLiteral("%1 kb/s").arg(par->bit_rate / 1000);
    return QStringLiteral("Video: ") + parts.join(QStringLiteral(", "));
}

QString audioText(const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    QStringList parts{codecText(par)};
    parts << QStringLiteral("%1 Hz").arg(par->sample_rate);
    char layout[128] = {};
    if (av_channel_layout_describe(&par->ch_layout, layout, sizeof layout) > 0)
        parts << QString::fromUtf8(layout);
    if (const char* fmt = av_get_sample_fmt_name(static_cast<AVSampleFormat>(par->format)))
        parts << QString::fromUtf8(fmt);
    if (par->bit_rate > 0)
        parts << QStringLiteral("%1 kb/s").arg(par->bit_rate / 1000);
    return QStringLiteral("Audio: ") + parts.join(QStringLiteral(", "));
}

} // namespace

QString mediaInfoText(const AVFormatContext* input, const QString& fileName) {
    QStringList lines;
    lines << QStringLiteral("Input: %1").arg(fileName);
    if (input->iformat)
        lines << QStringLiteral("Container: %1 (%2)")
                     .arg(QString::fromUtf8(input->iformat->name),
                          QString::fromUtf8(input->iformat->long_name ? input->iformat->long_name
                                                                      : input->iformat->name));
    QString overall = QStringLiteral("Duration: %1")
                          .arg(input->duration == AV_NOPTS_VALUE ? QStringLiteral("N/A")
                                                                 : clockText(input->duration));
    if (input->start_time != AV_NOPTS_VALUE)
        overall += QStringLiteral(", start: %1 s").arg(input->start_time / 1e6, 0, 'f', 6);
    if (input->bit_rate > 0)
        overall += QStringLiteral(", bit rate: %1 kb/s").arg(input->bit_rate / 1000);
    lines << overall;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* st = input->streams[i];
        QString line = QStringLiteral("Stream #%1: ").arg(i);
        switch (st->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            line += videoText(st);
            if (st->disposition & AV_DISPOSITION_ATTACHED_PIC)
                line += QStringLiteral(" (attached picture)");
            break;
        case AVMEDIA_TYPE_AUDIO:
            line += audioText(st);
            break;
        default: {
            const char* type = av_get_media_type_string(st->codecpar->codec_type);
            line += QStringLiteral("%1: %2").arg(
                QString::fromUtf8(type ? type : "unknown"),
                QString::fromUtf8(avcodec_get_name(st->codecpar->codec_id)));
            break;
        }
        }
        if (const AVDictionaryEntry* lang = av_dict_get(st->metadata, "language", nullptr, 0))
            line += QStringLiteral(" [%1]").arg(QString::fromUtf8(lang->value));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace engine::player
