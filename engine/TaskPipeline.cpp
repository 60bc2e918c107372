#include "TaskPipeline.h"

#include "Decoder.h"
#include "Demuxer.h"
#include "Encoder.h"
#include "EngineError.h"
#include "EngineLog.h"
#include "FileIdentity.h"
#include "FilterChain.h"
#include "Muxer.h"
#include "OutputPlan.h"
#include "PreviewScaler.h"
#include "StreamSettings.h"
#include "TaskControl.h"
#include "Timestamps.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace engine {
namespace {

constexpr qint64 kProgressIntervalMs = 100; // at most about ten reports a second
constexpr qint64 kPreviewIntervalMs = 250;  // a few preview pictures a second

// One input stream on its way to one output stream.
struct Lane {
    bool video = false;
    int inputIndex = -1;
    int outputIndex = -1;
    AVRational streamTimeBase{1, 1};
    std::unique_ptr<Decoder> decoder;
    std::unique_ptr<FilterChain> filter;
    std::unique_ptr<Encoder> encoder;
    // Frames without a timestamp continue from the previous one.
    int64_t nextPts = AV_NOPTS_VALUE;
    int64_t videoFrameStep = 1; // one source frame in the stream's time base
    int64_t packetsWritten = 0;

    bool active() const { return decoder != nullptr; }
};

} // namespace

struct TaskPipeline::Run {
    explicit Run(TaskPipeline& pipeline) : p(pipeline) {}

    TaskPipeline& p;
    std::unique_ptr<Demuxer> demux;
    OutputPlan plan;
    std::unique_ptr<Muxer> mux; // destroyed after the lanes: removes an unfinished file
    Lane video, audio;
    PreviewScaler preview;
    QElapsedTimer clock;
    qint64 lastProgressMs = -kProgressIntervalMs;
    qint64 lastPreviewMs = -kPreviewIntervalMs;
    int64_t totalUs = -1;
    int64_t currentUs = 0;

    const QString& input() const { return p.spec_.inputFile; }
    const QString& output() const { return p.spec_.outputFile; }

    void log(TLogLevel level, const QString& line) const {
        enginelog::write(level, QStringLiteral("任务 %1：%2").arg(p.spec_.taskIndex).arg(line));
    }

    void report(bool force) {
        const qint64 now = clock.elapsed();
        if (!force && now - lastProgressMs < kProgressIntervalMs)
            return;
        lastProgressMs = now;
        TProgressInfo info;
        info.TaskIndex = p.spec_.taskIndex;
        info.TotalDuration = totalUs;
        info.CurrentDuration = std::max<int64_t>(0, currentUs);
        if (totalUs > 0)
            info.CurrentDuration = std::min(info.CurrentDuration, totalUs);
        info.CurrentSize = mux ? mux->bytesWritten() : 0;
        if (video.encoder) {
            info.FrameNumber = static_cast<int>(video.encoder->framesEncoded());
            if (now > 0)
                info.FPS = static_cast<int>(video.encoder->framesEncoded() * 1000 / now);
        }
        if (info.CurrentDuration > 0)
            info.BitRate =
                static_cast<float>(info.CurrentSize * 8.0 / 1000.0 / (info.CurrentDuration / 1e6));
        p.observer_.progress(info);
    }

    void checkControl() {
        if (!p.control_.waitWhilePaused())
            throw TaskStopped();
    }

    void openVideo(int index) {
        AVStream* st = demux->stream(index);
        video.video = true;
        video.inputIndex = index;
        video.streamTimeBase = st->time_base;
        video.decoder = std::make_unique<Decoder>(st, p.spec_.codecThreads, input());
        const AVCodecContext* dec = video.decoder->context();

        VideoSource src;
        src.width = dec->width;
        src.height = dec->height;
        src.format = dec->pix_fmt != AV_PIX_FMT_NONE ? dec->pix_fmt : AV_PIX_FMT_YUV420P;
        src.sampleAspect = av_guess_sample_aspect_ratio(demux->context(), st, nullptr);
        src.frameRate = demux->guessedFrameRate(index);
        if (!plan.videoFilters.isEmpty() && plan.width <= 0) {
            // The record's own filters decide the size when the record names none.
            probeVideoFilterOutput(plan.videoFilters, src.width, src.height, src.format,
                                   src.sampleAspect, &src.width, &src.height, &src.sampleAspect,
                                   input());
        }
        QStringList notes;
        const VideoEncoderSettings settings = fitVideo(plan, src, output(), &notes);
        for (const QString& n : notes)
            log(llInfo, n);

        video.encoder = std::make_unique<Encoder>(settings, mux->wantsGlobalHeader(),
                                                  p.spec_.codecThreads, output());
        VideoTarget target;
        target.width = settings.width;
        target.height = settings.height;
        target.format = settings.format;
        target.sampleAspect = settings.sampleAspect;
        target.frameRate = settings.frameRate;
        target.sourceFrameRate = src.frameRate.num > 0 ? src.frameRate : settings.frameRate;
        target.userFilters = plan.videoFilters;
        video.filter = std::make_unique<VideoFilterChain>(target, st->time_base,
                                                          p.spec_.codecThreads, input());
        video.videoFrameStep =
            std::max<int64_t>(1, av_rescale_q(1, av_inv_q(target.sourceFrameRate), st->time_base));
        video.outputIndex = mux->addStream(video.encoder->context());
    }

    void openAudio(int index) {
        AVStream* st = demux->stream(index);
        audio.inputIndex = index;
        audio.streamTimeBase = st->time_base;
        audio.decoder = std::make_unique<Decoder>(st, p.spec_.codecThreads, input());
        const AVCodecContext* dec = audio.decoder->context();

        AudioSource src;
        src.sampleRate = dec->sample_rate;
        src.channels = dec->ch_layout.nb_channels;
        src.format = dec->sample_fmt;
        QStringList notes;
        const AudioEncoderSettings settings = fitAudio(plan, src, &notes);
        for (const QString& n : notes)
            log(llInfo, n);

        audio.encoder = std::make_unique<Encoder>(settings, mux->wantsGlobalHeader(),
                                                  p.spec_.codecThreads, output());
        AudioTarget target;
        target.sampleRate = settings.sampleRate;
        target.format = settings.format;
        target.layout = layoutText(audio.encoder->context()->ch_layout);
        target.volume = plan.volume;
        target.frameSize = audio.encoder->fixedFrameSize();
        audio.filter = std::make_unique<AudioFilterChain>(target, st->time_base,
                                                          p.spec_.codecThreads, input());
        audio.outputIndex = mux->addStream(audio.encoder->context());
    }

    void onDecoded(Lane& lane, AVFrame* frame) {
        // Raw streams carry no presentation times: the decoder's best guess (from the packets'
        // decoding times), else the frame after the previous one, else the start.
        if (frame->pts == AV_NOPTS_VALUE)
            frame->pts = frame->best_effort_timestamp;
        if (frame->pts == AV_NOPTS_VALUE)
            frame->pts = lane.nextPts == AV_NOPTS_VALUE ? 0 : lane.nextPts;
        if (frame->pts != AV_NOPTS_VALUE) {
            int64_t duration = 0;
            if (!lane.video)
                duration =
                    av_rescale_q(frame->nb_samples, AVRational{1, std::max(1, frame->sample_rate)},
                                 lane.streamTimeBase);
            else
                duration = frame->pkt_duration > 0 ? frame->pkt_duration : lane.videoFrameStep;
            lane.nextPts =
                std::max(lane.nextPts == AV_NOPTS_VALUE ? 0 : lane.nextPts, frame->pts + duration);
        }
        lane.filter->push(
            frame, [this, &lane](AVFrame* out, AVRational tb) { onFiltered(lane, out, tb); });
    }

    void onFiltered(Lane& lane, AVFrame* frame, AVRational sinkTimeBase) {
        checkControl();
        if (lane.video)
            maybePreview(frame);
        ts::frameToEncoder(frame, sinkTimeBase, lane.encoder->timeBase());
        lane.encoder->encode(frame, [this, &lane](AVPacket* pkt) { onEncoded(lane, pkt); });
    }

    void onEncoded(Lane& lane, AVPacket* pkt) {
        const AVRational tb = lane.encoder->timeBase();
        if (pkt->pts != AV_NOPTS_VALUE)
            currentUs = std::max(currentUs, ts::toMicroseconds(pkt->pts + pkt->duration, tb));
        mux->write(pkt, lane.outputIndex, tb);
        ++lane.packetsWritten;
    }

    void maybePreview(const AVFrame* frame) {
        if (!p.observer_.previewWanted())
            return;
        const qint64 now = clock.elapsed();
        if (now - lastPreviewMs < kPreviewIntervalMs)
            return;
        lastPreviewMs = now;
        const QImage image = preview.toImage(frame);
        if (!image.isNull())
            p.observer_.previewFrame(image);
    }

    void flush(Lane& lane) {
        if (!lane.active())
            return;
        lane.decoder->decode(nullptr, [this, &lane](AVFrame* f) { onDecoded(lane, f); });
        lane.filter->finish(lane.nextPts, [this, &lane](AVFrame* out, AVRational tb) {
            onFiltered(lane, out, tb);
        });
        lane.encoder->encode(nullptr, [this, &lane](AVPacket* pkt) { onEncoded(lane, pkt); });
    }

    void execute() {
        clock.start();
        const TaskSpec& job = p.spec_;
        if (isSameFile(job.inputFile, job.outputFile))
            throw EngineError(Stage::Setup,
                              QStringLiteral("输出文件就是输入文件，转换不会覆盖输入文件"),
                              job.outputFile);

        demux = std::make_unique<Demuxer>(job.inputFile, job.input, &p.control_);
        totalUs = demux->durationUs();
        if (totalUs > 0 && job.input.TimeStart > 0)
            totalUs = std::max<int64_t>(0, totalUs - job.input.TimeStart);
        report(true);

        SourceHints hints;
        if (demux->bestVideoStream() >= 0)
            hints.frameRate = demux->guessedFrameRate(demux->bestVideoStream());
        QString why;
        auto planned = planOutput(job.output, job.outputFile, hints, &why);
        if (!planned)
            throw EngineError(Stage::Setup, why, job.outputFile);
        plan = *planned;
        for (const QString& n : plan.notes)
            log(llInfo, n);

        const int videoIn = demux->bestVideoStream();
        const int audioIn = demux->bestAudioStream();
        if (videoIn >= 0 && !job.output.DisableVideo && !plan.videoEncoder &&
            !plan.videoUnavailable.isEmpty())
            throw EngineError(Stage::Setup, plan.videoUnavailable, job.outputFile);
        if (audioIn >= 0 && !plan.audioEncoder && !plan.audioUnavailable.isEmpty())
            throw EngineError(Stage::Setup, plan.audioUnavailable, job.outputFile);
        const bool useVideo = videoIn >= 0 && plan.videoEncoder;
        const bool useAudio = audioIn >= 0 && plan.audioEncoder;
        if (!useVideo && !useAudio) {
            QString what;
            if (videoIn < 0 && audioIn < 0)
                what = QStringLiteral("输入文件中没有可以转换的视频或音频");
            else if (audioIn < 0)
                what = QStringLiteral("输出格式“%1”只存放音频，而输入文件中没有音频")
                           .arg(plan.muxer->name);
            else
                what = QStringLiteral("输出格式“%1”只存放视频，而输入文件中没有视频")
                           .arg(plan.muxer->name);
            throw EngineError(Stage::Setup, what, job.inputFile);
        }
        demux->useOnly(useVideo ? videoIn : -1, useAudio ? audioIn : -1);

        mux = std::make_unique<Muxer>(job.outputFile, plan.muxer, &p.control_);
        if (useVideo)
            openVideo(videoIn);
        if (useAudio)
            openAudio(audioIn);
        log(llInfo, QStringLiteral("“%1” → “%2”（%3：%4%5）")
                        .arg(job.inputFile, job.outputFile, plan.muxer->name,
                             useVideo ? QString::fromUtf8(plan.videoEncoder->name) : QString(),
                             useAudio ? QStringLiteral(" ") + plan.audioEncoder->name : QString()));
        mux->writeHeader(plan.muxerOptions);

        PacketPtr pkt = makePacket();
        if (!pkt)
            throw EngineError(Stage::Open, QStringLiteral("内存不足"), job.inputFile,
                              AVERROR(ENOMEM));
        while (p.control_.waitWhilePaused() && demux->read(pkt.get())) {
            Lane* lane = pkt->stream_index == video.inputIndex   ? &video
                         : pkt->stream_index == audio.inputIndex ? &audio
                                                                 : nullptr;
            if (lane)
                lane->decoder->decode(pkt.get(), [this, lane](AVFrame* f) { onDecoded(*lane, f); });
            av_packet_unref(pkt.get());
            report(false);
        }
        if (p.control_.stopRequested())
            throw TaskStopped();

        flush(video);
        flush(audio);
        const int64_t decoded = (video.active() ? video.decoder->framesDecoded() : 0) +
                                (audio.active() ? audio.decoder->framesDecoded() : 0);
        if (decoded == 0)
            throw EngineError(Stage::Decode, QStringLiteral("输入文件中的音视频数据无法解码"),
                              job.inputFile);
        // A stream that decoded but wrote nothing would give a file that does not play.
        for (const Lane* lane : {&video, &audio}) {
            if (lane->active() && lane->decoder->framesDecoded() > 0 && lane->packetsWritten == 0)
                throw EngineError(Stage::Encode,
                                  lane->video ? QStringLiteral("没有写出任何视频画面")
                                              : QStringLiteral("没有写出任何音频"),
                                  job.inputFile);
        }
        mux->finish();
        report(true);
    }
};

TaskPipeline::TaskPipeline(TaskSpec job, TaskControl& control, TaskObserver& observer)
    : spec_(std::move(job)), control_(control), observer_(observer) {}

TaskPipeline::~TaskPipeline() = default;

void TaskPipeline::run() {
    Run run(*this);
    run.execute();
}

} // namespace engine
