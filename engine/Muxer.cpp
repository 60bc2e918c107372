#include "Muxer.h"

#include "Demuxer.h"
#include "EngineError.h"
#include "TaskControl.h"
#include "Timestamps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace engine {

Muxer::Muxer(const QString& target, const AVOutputFormat* format, TaskControl* control)
    : target_(target), control_(control) {
    const QFileInfo info(target);
    // Created exclusively, so two tasks never share a temporary name; the muxer then reopens it.
    // The temporary name keeps the extension: some muxers look at it.
    const QString suffix = info.suffix().isEmpty() ? QString() : '.' + info.suffix();
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.completeBaseName() +
                        QStringLiteral(".part-XXXXXX") + suffix);
    temp.setAutoRemove(false);
    if (!temp.open())
        throw EngineError(
            Stage::Write,
            QStringLiteral("无法在文件夹“%1”中创建输出文件（%2）")
                .arg(QDir::toNativeSeparators(info.absolutePath()), temp.errorString()),
            target);
    temp_ = temp.fileName();
    temp.close();
    // A temporary file is private to its owner; the finished file gets the permissions of the
    // file it replaces, or those of a new document.
    const QFileDevice::Permissions documentPermissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
        QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(temp_, info.exists() ? QFile::permissions(target) : documentPermissions);

    AVFormatContext* raw = nullptr;
    int ret = avformat_alloc_output_context2(&raw, format, nullptr, fileUrl(temp_).constData());
    if (ret < 0 || !raw) {
        discard();
        throw EngineError(Stage::Write, QStringLiteral("无法建立输出格式“%1”").arg(format->name),
                          target, ret);
    }
    ctx_.reset(raw);
    if (control)
        ctx_->interrupt_callback = control->interruptCallback();
    if (!(format->flags & AVFMT_NOFILE)) {
        ret = avio_open2(&ctx_->pb, fileUrl(temp_).constData(), AVIO_FLAG_WRITE,
                         &ctx_->interrupt_callback, nullptr);
        if (ret < 0) {
            ctx_.reset();
            discard();
            throw EngineError(Stage::Write, QStringLiteral("无法写入输出文件"), target, ret);
        }
    }
}

Muxer::~Muxer() {
    if (!committed_) {
        ctx_.reset(); // closes the file before it is removed
        discard();
    }
}

void Muxer::discard() {
    if (!temp_.isEmpty())
        QFile::remove(temp_);
}

bool Muxer::wantsGlobalHeader() const {
    return ctx_->oformat->flags & AVFMT_GLOBALHEADER;
}

int Muxer::addStream(const AVCodecContext* encoder) {
    AVStream* st = avformat_new_stream(ctx_.get(), nullptr);
    if (!st)
        throw EngineError(Stage::Write, QStringLiteral("内存不足"), target_, AVERROR(ENOMEM));
    int ret = avcodec_parameters_from_context(st->codecpar, encoder);
    if (ret < 0)
        throw EngineError(Stage::Write, QStringLiteral("无法设置输出流"), target_, ret);
    st->time_base = encoder->time_base;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        st->sample_aspect_ratio = encoder->sample_aspect_ratio;
        st->avg_frame_rate = encoder->framerate;
        st->r_frame_rate = encoder->framerate;
    }
    for (int i = 0; i < encoder->nb_coded_side_data; ++i) {
        const AVPacketSideData& sd = encoder->coded_side_data[i];
        uint8_t* dst = av_stream_new_side_data(st, sd.type, sd.size);
        if (!dst)
            throw EngineError(Stage::Write, QStringLiteral("内存不足"), target_, AVERROR(ENOMEM));
        std::memcpy(dst, sd.data, sd.size);
    }
    return st->index;
}

void Muxer::writeHeader(const std::vector<std::pair<std::string, std::string>>& options) {
    AVDictionary* opts = nullptr;
    for (const auto& [key, value] : options)
        av_dict_set(&opts, key.c_str(), value.c_str(), 0);
    const int ret = avformat_write_header(ctx_.get(), &opts);
    av_dict_free(&opts);
    if (ret < 0) {
        if (control_ && control_->stopRequested())
            throw TaskStopped();
        throw EngineError(Stage::Write,
                          QStringLiteral("输出格式“%1”不接受这些音视频流").arg(ctx_->oformat->name),
                          target_, ret);
    }
}

void Muxer::write(AVPacket* pkt, int streamIndex, AVRational encoderTimeBase) {
    AVStream* st = ctx_->streams[streamIndex];
    pkt->stream_index = streamIndex;
    ts::packetToStream(pkt, encoderTimeBase, st->time_base);
    const int ret = av_interleaved_write_frame(ctx_.get(), pkt);
    if (ret < 0) {
        if (control_ && control_->stopRequested())
            throw TaskStopped();
        throw EngineError(Stage::Write, QStringLiteral("写入输出文件时出错"), target_, ret);
    }
}

void Muxer::finish() {
    int ret = av_write_trailer(ctx_.get());
    if (ret < 0)
        throw EngineError(Stage::Write, QStringLiteral("无法完成输出文件"), target_, ret);
    if (ctx_->pb && !(ctx_->oformat->flags & AVFMT_NOFILE)) {
        ret = ctx_->pb->error;
        avio_closep(&ctx_->pb);
        if (ret < 0)
            throw EngineError(Stage::Write, QStringLiteral("写入输出文件时出错"), target_, ret);
    }
    // Trailers may rewrite the header, so the position says nothing of the size now.
    finalSize_ = QFileInfo(temp_).size();
    if (control_ && control_->stopRequested())
        throw TaskStopped();
    // rename() replaces an existing target in one step.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(temp_.toStdU16String()),
                            std::filesystem::path(target_.toStdU16String()), ec);
    if (ec)
        throw EngineError(Stage::Write,
                          QStringLiteral("无法把完成的文件改名为目标文件名（%1）")
                              .arg(QString::fromLocal8Bit(ec.message().c_str())),
                          target_);
    committed_ = true;
}

int64_t Muxer::bytesWritten() const {
    if (!ctx_ || !ctx_->pb)
        return finalSize_;
    const int64_t pos = avio_tell(ctx_->pb);
    return pos > 0 ? pos : 0;
}

} // namespace engine
