#include "Demuxer.h"

#include "EngineError.h"
#include "EngineLog.h"
#include "TaskControl.h"
#include "Timestamps.h"

#include <QDir>

namespace engine {

QByteArray fileUrl(const QString& path) {
    return QByteArrayLiteral("file:") + QDir::toNativeSeparators(path).toUtf8();
}

Demuxer::Demuxer(const QString& fileName, const TInputOptions& options, TaskControl* control)
    : fileName_(fileName), control_(control) {
    const AVInputFormat* forced = nullptr;
    if (!options.FileFormat.isEmpty()) {
        forced = av_find_input_format(options.FileFormat.toUtf8().constData());
        if (!forced)
            throw EngineError(Stage::Open,
                              QStringLiteral("未知的输入格式“%1”").arg(options.FileFormat),
                              fileName);
    }
    AVDictionary* opts = nullptr;
    if (!options.ExtOptions.trimmed().isEmpty() &&
        av_dict_parse_string(&opts, options.ExtOptions.toUtf8().constData(), "=", ":", 0) < 0) {
        av_dict_free(&opts);
        throw EngineError(Stage::Open,
                          QStringLiteral("输入选项“%1”无法解析").arg(options.ExtOptions), fileName);
    }

    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        throw EngineError(Stage::Open, QStringLiteral("内存不足"), fileName, AVERROR(ENOMEM));
    if (control)
        raw->interrupt_callback = control->interruptCallback();
    int ret = avformat_open_input(&raw, fileUrl(fileName).constData(), forced, &opts);
    av_dict_free(&opts);
    if (ret < 0) {
        // avformat_open_input freed the context itself.
        if (control && control->stopRequested())
            throw TaskStopped();
        throw EngineError(Stage::Open, QStringLiteral("无法打开输入文件"), fileName, ret);
    }
    ctx_.reset(raw);

    ret = avformat_find_stream_info(ctx_.get(), nullptr);
    if (control && control->stopRequested())
        throw TaskStopped();
    if (ret < 0)
        throw EngineError(Stage::Open, QStringLiteral("无法分析输入文件的音视频流"), fileName, ret);

    // Streams of the chosen program only, when the record names one.
    const AVProgram* program = nullptr;
    if (options.ProgramID >= 0) {
        for (unsigned i = 0; i < ctx_->nb_programs; ++i) {
            if (ctx_->programs[i]->id == options.ProgramID)
                program = ctx_->programs[i];
        }
        if (!program)
            enginelog::write(llWarning, QStringLiteral("输入文件“%1”中没有节目 %2，使用全部流")
                                            .arg(fileName)
                                            .arg(options.ProgramID));
    }
    auto inProgram = [program](int index) {
        if (!program)
            return true;
        for (unsigned i = 0; i < program->nb_stream_indexes; ++i) {
            if (static_cast<int>(program->stream_index[i]) == index)
                return true;
        }
        return false;
    };
    auto best = [&](AVMediaType type) {
        int found = -1;
        int64_t bestScore = -1;
        for (unsigned i = 0; i < ctx_->nb_streams; ++i) {
            const AVStream* st = ctx_->streams[i];
            if (st->codecpar->codec_type != type || !inProgram(static_cast<int>(i)))
                continue;
            if (st->disposition & AV_DISPOSITION_ATTACHED_PIC)
                continue;
            if (type == AVMEDIA_TYPE_VIDEO &&
                (st->codecpar->width <= 0 || st->codecpar->height <= 0))
                continue;
            if (!avcodec_find_decoder(st->codecpar->codec_id))
                continue;
            // Prefer the default stream, then the largest picture or the most channels.
            int64_t score = type == AVMEDIA_TYPE_VIDEO
                                ? int64_t(st->codecpar->width) * st->codecpar->height
                                : st->codecpar->ch_layout.nb_channels;
            if (st->disposition & AV_DISPOSITION_DEFAULT)
                score += int64_t(1) << 40;
            if (score > bestScore) {
                bestScore = score;
                found = static_cast<int>(i);
            }
        }
        return found;
    };
    video_ = best(AVMEDIA_TYPE_VIDEO);
    audio_ = best(AVMEDIA_TYPE_AUDIO);

    if (ctx_->start_time != AV_NOPTS_VALUE)
        startOffsetUs_ = ctx_->start_time;
    if (options.TimeStart > 0) {
        const int64_t target = startOffsetUs_ + options.TimeStart;
        ret = avformat_seek_file(ctx_.get(), -1, INT64_MIN, target, target, 0);
        if (ret < 0)
            enginelog::write(llWarning, QStringLiteral("无法定位到输入文件“%1”的 %2 微秒处")
                                            .arg(fileName)
                                            .arg(options.TimeStart));
        else
            startOffsetUs_ = target;
    }
}

AVRational Demuxer::guessedFrameRate(int videoIndex) const {
    return av_guess_frame_rate(ctx_.get(), ctx_->streams[videoIndex], nullptr);
}

int64_t Demuxer::durationUs() const {
    if (ctx_->duration == AV_NOPTS_VALUE || ctx_->duration <= 0)
        return -1;
    return ctx_->duration;
}

void Demuxer::useOnly(int videoIndex, int audioIndex) {
    for (unsigned i = 0; i < ctx_->nb_streams; ++i) {
        const int index = static_cast<int>(i);
        ctx_->streams[i]->discard =
            (index == videoIndex || index == audioIndex) ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
}

bool Demuxer::read(AVPacket* pkt) {
    for (;;) {
        const int ret = av_read_frame(ctx_.get(), pkt);
        if (ret == AVERROR_EOF)
            return false;
        if (ret < 0) {
            if (control_ && control_->stopRequested())
                throw TaskStopped();
            if (ret == AVERROR(EAGAIN))
                continue;
            ++readErrors_;
            enginelog::write(llWarning, QStringLiteral("读取输入文件“%1”时出错，按文件结束处理：%2")
                                            .arg(fileName_, avErrorText(ret)));
            return false;
        }
        AVStream* st = ctx_->streams[pkt->stream_index];
        if (st->discard == AVDISCARD_ALL) {
            av_packet_unref(pkt);
            continue;
        }
        ts::shiftInputPacket(pkt, startOffsetUs_, st->time_base);
        return true;
    }
}

} // namespace engine
