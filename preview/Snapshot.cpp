#include "Snapshot.h"

#include "AvPtr.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

namespace preview {

QString nextSnapshotPath(const QString& folder, const QString& previewFile, PictureFormat format) {
    const QString fileName = QFileInfo(previewFile).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? fileName : fileName.left(dot);
    QString dir = folder;
    if (!dir.endsWith(QDir::separator()) && !dir.endsWith(QLatin1Char('/')))
        dir += QDir::separator();
    const QString ext = settings::PictureFormatExtension(format);
    for (int n = 1;; ++n) {
        const QString candidate = dir + base + QLatin1Char('_') + QString::number(n) + ext;
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

namespace {

QString ffmpegFailure(const QString& path, const char* stage, int err) {
    return QStringLiteral("无法保存快照 %1（%2）：%3")
        .arg(QDir::toNativeSeparators(path), QString::fromLatin1(stage), engine::avErrorText(err));
}

// One frame through swscale to RGB8, FFmpeg's gif encoder and the gif muxer.
bool writeGif(const QImage& image, const QString& path, QString* error) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_GIF);
    if (!codec) {
        *error = QStringLiteral("无法保存快照 %1：没有 GIF 编码器").arg(path);
        return false;
    }
    engine::CodecContextPtr enc(avcodec_alloc_context3(codec));
    enc->width = rgb.width();
    enc->height = rgb.height();
    enc->pix_fmt = AV_PIX_FMT_RGB8;
    enc->time_base = AVRational{1, 25};
    int err = avcodec_open2(enc.get(), codec, nullptr);
    if (err < 0) {
        *error = ffmpegFailure(path, "open encoder", err);
        return false;
    }

    engine::FramePtr frame = engine::makeFrame();
    frame->format = AV_PIX_FMT_RGB8;
    frame->width = rgb.width();
    frame->height = rgb.height();
    if ((err = av_frame_get_buffer(frame.get(), 0)) < 0) {
        *error = ffmpegFailure(path, "frame", err);
        return false;
    }
    engine::SwsPtr sws(sws_getContext(rgb.width(), rgb.height(), AV_PIX_FMT_RGB24, rgb.width(),
                                      rgb.height(), AV_PIX_FMT_RGB8, SWS_BICUBIC, nullptr, nullptr,
                                      nullptr));
    const uint8_t* src[1] = {rgb.constBits()};
    const int srcStride[1] = {static_cast<int>(rgb.bytesPerLine())};
    sws_scale(sws.get(), src, srcStride, 0, rgb.height(), frame->data, frame->linesize);
    frame->pts = 0;

    AVFormatContext* raw = nullptr;
    const QByteArray file = QFile::encodeName(path);
    err = avformat_alloc_output_context2(&raw, nullptr, "gif", file.constData());
    if (err < 0 || !raw) {
        *error = ffmpegFailure(path, "muxer", err);
        return false;
    }
    engine::OutputContextPtr out(raw);
    AVStream* st = avformat_new_stream(out.get(), nullptr);
    avcodec_parameters_from_context(st->codecpar, enc.get());
    st->time_base = enc->time_base;
    if ((err = avio_open(&out->pb, file.constData(), AVIO_FLAG_WRITE)) < 0) {
        *error = ffmpegFailure(path, "open file", err);
        return false;
    }
    // a still picture: no looping
    AVDictionary* opts = nullptr;
    av_dict_set(&opts, "loop", "-1", 0);
    err = avformat_write_header(out.get(), &opts);
    av_dict_free(&opts);
    if (err < 0) {
        *error = ffmpegFailure(path, "write header", err);
        return false;
    }
    engine::PacketPtr pkt = engine::makePacket();
    auto drain = [&]() -> int {
        int r;
        while ((r = avcodec_receive_packet(enc.get(), pkt.get())) >= 0) {
            av_packet_rescale_ts(pkt.get(), enc->time_base, st->time_base);
            pkt->stream_index = st->index;
            if ((r = av_interleaved_write_frame(out.get(), pkt.get())) < 0)
                return r;
        }
        return r == AVERROR(EAGAIN) || r == AVERROR_EOF ? 0 : r;
    };
    if ((err = avcodec_send_frame(enc.get(), frame.get())) < 0 || (err = drain()) < 0 ||
        (err = avcodec_send_frame(enc.get(), nullptr)) < 0 || (err = drain()) < 0 ||
        (err = av_write_trailer(out.get())) < 0) {
        *error = ffmpegFailure(path, "encode", err);
        out.reset();
        QFile::remove(path);
        return false;
    }
    return true;
}

} // namespace

bool writeSnapshot(const QImage& image, const QString& path, PictureFormat format, QString* error) {
    QString ignored;
    if (!error)
        error = &ignored;
    if (image.isNull() || image.width() == 0) {
        *error = QStringLiteral("没有可以保存的画面");
        return false;
    }
    if (format == PictureFormat::GIF)
        return writeGif(image, path, error);

    QImageWriter writer(path);
    switch (format) {
    case PictureFormat::BMP:
        writer.setFormat("bmp");
        break;
    case PictureFormat::JPG:
        writer.setFormat("jpeg");
        writer.setQuality(90);
        writer.setProgressiveScanWrite(false);
        break;
    case PictureFormat::PNG:
        writer.setFormat("png");
        break;
    case PictureFormat::GIF:
        break;
    }
    const QImage picture =
        format == PictureFormat::JPG ? image.convertToFormat(QImage::Format_RGB888) : image;
    if (!writer.write(picture)) {
        *error = QStringLiteral("无法保存快照 %1：%2")
                     .arg(QDir::toNativeSeparators(path), writer.errorString());
        QFile::remove(path);
        return false;
    }
    return true;
}

} // namespace preview
