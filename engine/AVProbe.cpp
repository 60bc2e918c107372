#include "Demuxer.h"
#include "EngineError.h"
#include "FFmpegVCL.h"

#include <QFileInfo>
#include <QStringList>

namespace engine {

struct TAVProbe::Impl {
    QString lastError;
    QString infoText;
    int64_t durationUs = -1;
    int64_t fileSize = 0;
};

namespace {

QString timeText(int64_t us) {
    if (us <= 0)
        return QStringLiteral("未知");
    const int64_t centis = us / 10000;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(centis / 360000, 2, 10, QChar('0'))
        .arg(centis / 6000 % 60, 2, 10, QChar('0'))
        .arg(centis / 100 % 60, 2, 10, QChar('0'))
        .arg(centis % 100, 2, 10, QChar('0'));
}

QString streamText(const AVFormatContext* ctx, const AVStream* st) {
    CodecContextPtr codec(avcodec_alloc_context3(nullptr));
    char buf[512] = {};
    if (codec && avcodec_parameters_to_context(codec.get(), st->codecpar) >= 0)
        avcodec_string(buf, sizeof buf, codec.get(), 0);
    QString text = QString::fromUtf8(buf);
    if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        const AVRational rate = av_guess_frame_rate(const_cast<AVFormatContext*>(ctx),
                                                    const_cast<AVStream*>(st), nullptr);
        if (rate.num > 0 && rate.den > 0)
            text += QStringLiteral(", %1 fps").arg(av_q2d(rate), 0, 'g', 5);
        if (st->disposition & AV_DISPOSITION_ATTACHED_PIC)
            text += QStringLiteral(" (封面图片)");
    }
    const AVDictionaryEntry* lang = av_dict_get(st->metadata, "language", nullptr, 0);
    if (lang)
        text += QStringLiteral("，语言 %1").arg(QString::fromUtf8(lang->value));
    return text;
}

} // namespace

TAVProbe::TAVProbe() : d(std::make_unique<Impl>()) {}
TAVProbe::~TAVProbe() = default;

bool TAVProbe::LoadFile(const QString& fileName, const QString& forcedFormat) {
    d->infoText.clear();
    d->durationUs = -1;
    d->fileSize = QFileInfo(fileName).size();
    try {
        TInputOptions options;
        options.FileFormat = forcedFormat;
        const Demuxer demux(fileName, options, nullptr);
        const AVFormatContext* ctx = demux.context();
        d->durationUs = demux.durationUs();
        QStringList lines;
        lines << QStringLiteral("文件：%1").arg(fileName);
        lines << QStringLiteral("格式：%1 (%2)")
                     .arg(QString::fromUtf8(ctx->iformat->name),
                          QString::fromUtf8(ctx->iformat->long_name ? ctx->iformat->long_name
                                                                    : ctx->iformat->name));
        QString general = QStringLiteral("时长：%1").arg(timeText(d->durationUs));
        if (ctx->bit_rate > 0)
            general += QStringLiteral("，比特率：%1 kb/s").arg(ctx->bit_rate / 1000);
        general += QStringLiteral("，大小：%1 字节").arg(d->fileSize);
        lines << general;
        for (unsigned i = 0; i < ctx->nb_streams; ++i)
            lines << QStringLiteral("流 #%1：%2").arg(i).arg(streamText(ctx, ctx->streams[i]));
        d->infoText = lines.join('\n');
        d->lastError.clear();
        return true;
    } catch (const EngineError& e) {
        d->lastError = e.message();
        return false;
    }
}

int64_t TAVProbe::FileStreamInfo() const {
    return d->durationUs;
}
QString TAVProbe::FileInfoText() const {
    return d->infoText;
}
int64_t TAVProbe::FileSize() const {
    return d->fileSize;
}
QString TAVProbe::LastErrMsg() const {
    return d->lastError;
}

} // namespace engine
