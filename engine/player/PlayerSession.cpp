#include "PlayerSession.h"

#include "AudioOutput.h"
#include "MediaInfoText.h"

#include <QCoreApplication>
#include <QEventLoop>

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>

namespace engine::player {

namespace {

using SteadyClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Reading stops while this much is queued, or while every stream has enough packets.
constexpr int64_t kQueueBytesLimit = 16 * 1024 * 1024;
constexpr int kEnoughPackets = 60;
// How often a waiting thread looks at the clock again when nobody wakes it.
constexpr auto kPoll = 20ms;
// Sound packets that decode to nothing before the clock is started anyway, so that a broken
// sound stream cannot hold the picture.
constexpr int kSoundPacketsBeforeLanding = 50;
// How far the clock may drift from what is heard before it is set to it.
constexpr int64_t kSoundDriftUs = 40000;
// A sink that takes nothing for this long is given up (a sink waking from idle may hold its
// first block for a second or two).
constexpr auto kSinkStall = 3s;

int64_t frameDurationTs(const AVFrame* frame) {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
    return frame->duration;
#else
    return frame->pkt_duration;
#endif
}

} // namespace

PlayerSession::PlayerSession(QString fileName, QAudioDevice output, SessionEvents events)
    : m_fileName(std::move(fileName)), m_device(std::move(output)), m_events(std::move(events)) {}

PlayerSession::~PlayerSession() {
    abort();
    join();
}

// ---- control (user-interface thread) ------------------------------------------------------

bool PlayerSession::open(std::chrono::milliseconds limit) {
    m_openDeadline = SteadyClock::now() + limit;
    m_demuxThread = std::thread([this] { demuxMain(); });
    std::unique_lock lock(m_mutex);
    // The interrupt callback ends every read at the deadline; the extra second covers a call
    // that does not read (and so never asks the callback).
    const bool answered = m_changed.wait_until(
        lock, m_openDeadline + 1s, [this] { return m_openState != OpenState::Opening; });
    if (!answered) {
        m_openState = OpenState::Failed;
        m_error = QStringLiteral("打开文件“%1”超时").arg(m_fileName);
        lock.unlock();
        abort();
        return false;
    }
    return m_openState == OpenState::Opened;
}

void PlayerSession::start(bool paused, bool muted) {
    m_muted.store(muted);
    {
        std::lock_guard lock(m_mutex);
        m_paused = paused;
        m_started = true;
    }
    if (m_info.hasVideo)
        m_videoThread = std::thread([this] { videoMain(); });
    if (m_info.hasAudio) {
        m_audioThread = std::thread([this] { audioMain(); });
    }
    m_changed.notify_all();
}

bool PlayerSession::waitLanded(int serial, std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    auto landed = [&] {
        return (!m_info.hasVideo || m_videoLanded == serial) &&
               (!m_info.hasAudio || m_audioLanded == serial);
    };
    m_changed.wait_for(lock, limit,
                       [&] { return m_abort.load() || m_serial != serial || landed(); });
    return landed();
}

void PlayerSession::setPaused(bool paused) {
    {
        std::lock_guard lock(m_mutex);
        m_paused = paused;
        if (paused)
            m_clock.freeze();
        else if (m_clockLanded && m_endedSerial != m_serial)
            m_clock.run();
    }
    m_changed.notify_all();
}

int PlayerSession::seek(int64_t targetUs, bool exact) {
    int serial = 0;
    {
        std::lock_guard lock(m_mutex);
        serial = ++m_serial;
        m_seekPending = true;
        m_seekTargetUs = targetUs;
        m_seekExact = exact;
        m_clock.set(targetUs, false);
        m_clockLanded = false;
        m_stepPending = false;
    }
    m_changed.notify_all();
    return serial;
}

int PlayerSession::serial() const {
    std::lock_guard lock(m_mutex);
    return m_serial;
}

void PlayerSession::step() {
    {
        std::lock_guard lock(m_mutex);
        m_stepPending = true;
    }
    m_changed.notify_all();
}

bool PlayerSession::atEnd() const {
    std::lock_guard lock(m_mutex);
    return m_endedSerial == m_serial;
}

int64_t PlayerSession::position() const {
    std::lock_guard lock(m_mutex);
    return m_clock.now();
}

QImage PlayerSession::picture() const {
    std::lock_guard lock(m_mutex);
    return m_picture;
}

void PlayerSession::abort() {
    {
        std::lock_guard lock(m_mutex);
        m_abort.store(true);
    }
    m_changed.notify_all();
    m_videoQueue.abort();
    m_audioQueue.abort();
}

void PlayerSession::join() {
    if (m_demuxThread.joinable())
        m_demuxThread.join();
    if (m_videoThread.joinable())
        m_videoThread.join();
    if (m_audioThread.joinable())
        m_audioThread.join();
}

// ---- demuxing thread -----------------------------------------------------------------------

int PlayerSession::interruptCallback(void* opaque) {
    return static_cast<const PlayerSession*>(opaque)->interrupted() ? 1 : 0;
}

bool PlayerSession::interrupted() const {
    if (m_abort.load())
        return true;
    return m_opening.load() && SteadyClock::now() > m_openDeadline;
}

void PlayerSession::demuxMain() {
    const bool ok = openInput();
    m_opening.store(false);
    {
        std::unique_lock lock(m_mutex);
        if (m_openState == OpenState::Opening)
            m_openState = ok ? OpenState::Opened : OpenState::Failed;
        const bool opened = m_openState == OpenState::Opened;
        lock.unlock();
        m_changed.notify_all();
        if (!opened)
            return;
        lock.lock();
        m_changed.wait(lock, [this] { return m_started || m_abort.load(); });
        if (m_abort.load())
            return;
    }
    readLoop();
}

bool PlayerSession::fail(const QString& message) {
    std::lock_guard lock(m_mutex);
    if (m_openState == OpenState::Opening)
        m_error = message;
    return false;
}

bool PlayerSession::openInput() {
    const QString timeout = QStringLiteral("打开文件“%1”超时").arg(m_fileName);
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return fail(QStringLiteral("打开文件“%1”时内存不足").arg(m_fileName));
    raw->interrupt_callback.callback = &PlayerSession::interruptCallback;
    raw->interrupt_callback.opaque = this;
    int r = avformat_open_input(&raw, m_fileName.toUtf8().constData(), nullptr, nullptr);
    if (r < 0) // avformat_open_input has freed the context
        return fail(r == AVERROR_EXIT
                        ? timeout
                        : QStringLiteral("无法打开文件“%1”：%2").arg(m_fileName, avErrorText(r)));
    m_input.reset(raw);
    r = avformat_find_stream_info(raw, nullptr);
    if (r < 0)
        return fail(
            r == AVERROR_EXIT
                ? timeout
                : QStringLiteral("无法读取文件“%1”的流信息：%2").arg(m_fileName, avErrorText(r)));

    // A cover picture is a video stream of one frame; it is not the film.
    auto playableVideo = [raw](int i) {
        return i >= 0 && raw->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
               !(raw->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC);
    };
    int video = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (!playableVideo(video)) {
        video = -1;
        for (unsigned i = 0; i < raw->nb_streams && video < 0; ++i)
            if (playableVideo(static_cast<int>(i)))
                video = static_cast<int>(i);
    }
    const int audio = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (video < 0 && audio < 0)
        return fail(QStringLiteral("文件“%1”中没有可以播放的视频或音频").arg(m_fileName));

    QString videoError, audioError;
    if (video >= 0 && (m_videoDecoder = openDecoder(video, &videoError)))
        m_videoIndex = video;
    if (audio >= 0 && (m_audioDecoder = openDecoder(audio, &audioError)))
        m_audioIndex = audio;
    if (m_videoIndex < 0 && m_audioIndex < 0)
        return fail(QStringLiteral("无法解码文件“%1”：%2")
                        .arg(m_fileName, videoError.isEmpty() ? audioError : videoError));

    m_startUs = raw->start_time != AV_NOPTS_VALUE ? raw->start_time : 0;
    MediaInfo info;
    info.durationUs = raw->duration > 0 ? raw->duration : 0;
    for (int index : {m_videoIndex, m_audioIndex}) {
        if (index >= 0 && info.durationUs == 0 && raw->streams[index]->duration > 0)
            info.durationUs = av_rescale_q(raw->streams[index]->duration,
                                           raw->streams[index]->time_base, AV_TIME_BASE_Q);
    }
    if (m_videoIndex >= 0) {
        AVStream* st = raw->streams[m_videoIndex];
        info.hasVideo = true;
        info.width = m_videoDecoder->width;
        info.height = m_videoDecoder->height;
        const AVRational sar = av_guess_sample_aspect_ratio(raw, st, nullptr);
        if (info.height > 0)
            info.displayAspect =
                double(info.width) / info.height * (sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0);
        m_videoTimeBase = st->time_base;
        m_videoFrameRate = av_guess_frame_rate(raw, st, nullptr);
    }
    if (m_audioIndex >= 0) {
        info.hasAudio = true;
        m_audioTimeBase = raw->streams[m_audioIndex]->time_base;
    }
    info.infoText = mediaInfoText(raw, m_fileName);
    if (!videoError.isEmpty())
        info.infoText += QStringLiteral("\n视频无法播放：") + videoError;
    if (!audioError.isEmpty())
        info.infoText += QStringLiteral("\n音频无法播放：") + audioError;
    m_info = info;
    return true;
}

CodecContextPtr PlayerSession::openDecoder(int streamIndex, QString* error) {
    const AVStream* st = m_input->streams[streamIndex];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    const QString name = QString::fromUtf8(avcodec_get_name(st->codecpar->codec_id));
    if (!codec) {
        *error = QStringLiteral("没有 %1 解码器").arg(name);
        return {};
    }
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) {
        *error = QStringLiteral("内存不足");
        return {};
    }
    int r = avcodec_parameters_to_context(ctx.get(), st->codecpar);
    if (r >= 0) {
        ctx->pkt_timebase = st->time_base;
        // Two decoding threads at most: the machine also converts while it previews.
        ctx->thread_count = st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO ? 2 : 1;
        r = avcodec_open2(ctx.get(), codec, nullptr);
    }
    if (r < 0) {
        *error = QStringLiteral("无法打开 %1 解码器：%2").arg(name, avErrorText(r));
        return {};
    }
    return ctx;
}

bool PlayerSession::queuesFull() const {
    if (m_videoQueue.byteCount() + m_audioQueue.byteCount() > kQueueBytesLimit)
        return true;
    const bool videoEnough = !m_info.hasVideo || m_videoQueue.packetCount() >= kEnoughPackets;
    const bool audioEnough = !m_info.hasAudio || m_audioQueue.packetCount() >= kEnoughPackets;
    return videoEnough && audioEnough;
}

void PlayerSession::carryOutSeek(int serial, int64_t targetUs, bool exact, bool moveInput) {
    if (moveInput) {
        // Land on the keyframe at or before the target; the decoders go forward from there.
        // When the file cannot seek at all, reading goes on where it is, and the decoders
        // still land on the first frame they get.
        const int64_t ts = targetUs + m_startUs;
        if (avformat_seek_file(m_input.get(), -1, INT64_MIN, ts, ts, 0) < 0)
            av_seek_frame(m_input.get(), -1, ts, AVSEEK_FLAG_BACKWARD);
    }
    auto flush = [&] {
        QueueItem item;
        item.kind = QueueItem::Flush;
        item.serial = serial;
        item.targetUs = targetUs;
        item.exact = exact;
        return item;
    };
    if (m_info.hasVideo) {
        m_videoQueue.clear();
        m_videoQueue.push(flush());
    }
    if (m_info.hasAudio) {
        m_audioQueue.clear();
        m_audioQueue.push(flush());
    }
}

void PlayerSession::readLoop() {
    PacketPtr packet = makePacket();
    bool atEof = false;
    int serial = 0;
    while (!m_abort.load()) {
        bool pending = false;
        int seekSerial = 0;
        int64_t target = 0;
        bool exact = true;
        {
            std::unique_lock lock(m_mutex);
            if (!m_seekPending) {
                if (atEof) {
                    m_changed.wait_for(lock, 100ms,
                                       [this] { return m_seekPending || m_abort.load(); });
                    continue;
                }
                if (queuesFull()) {
                    m_changed.wait_for(lock, 10ms);
                    continue;
                }
            } else {
                pending = true;
                seekSerial = m_serial;
                target = m_seekTargetUs;
                exact = m_seekExact;
                m_seekPending = false;
            }
        }
        if (pending) {
            // The first landing (serial 0) reads from where the file starts.
            carryOutSeek(seekSerial, target, exact, seekSerial != 0);
            serial = seekSerial;
            atEof = false;
            continue;
        }
        const int r = av_read_frame(m_input.get(), packet.get());
        if (r == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(5ms);
            continue;
        }
        if (r < 0) {
            if (m_abort.load())
                break;
            // The end of the file, or a read error (a truncated or damaged file): what was
            // read plays out.
            QueueItem end;
            end.kind = QueueItem::End;
            end.serial = serial;
            if (m_info.hasVideo)
                m_videoQueue.push(QueueItem{end.kind, serial, {}, 0, true});
            if (m_info.hasAudio)
                m_audioQueue.push(std::move(end));
            atEof = true;
            continue;
        }
        PacketQueue* queue = nullptr;
        if (packet->stream_index == m_videoIndex && m_info.hasVideo)
            queue = &m_videoQueue;
        else if (packet->stream_index == m_audioIndex && m_info.hasAudio)
            queue = &m_audioQueue;
        if (!queue) {
            av_packet_unref(packet.get());
            continue;
        }
        QueueItem item;
        item.serial = serial;
        item.packet = makePacket();
        av_packet_move_ref(item.packet.get(), packet.get());
        queue->push(std::move(item));
    }
}

// ---- shared by the decoding threads -------------------------------------------------------

int64_t PlayerSession::toUs(int64_t ts, AVRational timeBase) const {
    return av_rescale_q(ts, timeBase, AV_TIME_BASE_Q) - m_startUs;
}

bool PlayerSession::isCurrent(int serial) const {
    std::lock_guard lock(m_mutex);
    return serial == m_serial && !m_abort.load();
}

bool PlayerSession::waitUntilDue(int64_t positionUs, int serial, bool mayStep) {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_abort.load() || m_serial != serial)
            return false;
        if (m_paused) {
            if (mayStep && m_stepPending) {
                m_stepPending = false;
                m_clock.set(positionUs, false);
                return true;
            }
            m_changed.wait(lock);
            continue;
        }
        const auto left = m_clock.until(positionUs);
        if (left.count() <= 0)
            return true;
        m_changed.wait_for(lock, std::min<std::chrono::microseconds>(left, kPoll));
    }
}

void PlayerSession::land(Stream stream, int serial, int64_t positionUs, bool ownsClock) {
    bool all = false;
    int64_t position = 0;
    {
        std::lock_guard lock(m_mutex);
        if (serial != m_serial)
            return;
        if (ownsClock) {
            m_clock.set(positionUs, !m_paused);
            m_clockLanded = true;
        }
        (stream == VideoStream ? m_videoLanded : m_audioLanded) = serial;
        if (stream == VideoStream)
            m_videoLandedUs = positionUs;
        all = (!m_info.hasVideo || m_videoLanded == serial) &&
              (!m_info.hasAudio || m_audioLanded == serial);
        position = m_clock.now();
    }
    m_changed.notify_all();
    if (all && m_events.landed)
        m_events.landed(serial, position);
}

void PlayerSession::streamDone(Stream stream, int serial) {
    bool ended = false;
    {
        std::lock_guard lock(m_mutex);
        if (serial != m_serial)
            return;
        (stream == VideoStream ? m_videoDone : m_audioDone) = serial;
        if ((!m_info.hasVideo || m_videoDone == serial) &&
            (!m_info.hasAudio || m_audioDone == serial) && m_endedSerial != serial) {
            m_endedSerial = serial;
            m_clock.freeze();
            ended = true;
        }
    }
    m_changed.notify_all();
    if (ended && m_events.ended)
        m_events.ended(serial);
}

// ---- video thread --------------------------------------------------------------------------

QImage PlayerSession::toImage(const AVFrame* frame, SwsPtr& scaler) {
    if (frame->width <= 0 || frame->height <= 0)
        return {};
    // RGB32 in memory is FFmpeg's native-endian ARGB: the same bytes on either endianness.
    scaler.reset(sws_getCachedContext(
        scaler.release(), frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
        frame->width, frame->height, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler)
        return {};
    QImage image(frame->width, frame->height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) <=
        0)
        return {};
    return image;
}

void PlayerSession::showPicture(const QImage& picture) {
    if (picture.isNull())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_picture = picture;
    }
    if (!m_pictureNotice.exchange(true) && m_events.pictureChanged)
        m_events.pictureChanged();
}

void PlayerSession::videoMain() {
    AVCodecContext* decoder = m_videoDecoder.get();
    FramePtr frame = makeFrame();
    FramePtr before = makeFrame(); // the last frame before an exact target, for a target at
                                   // or past the end
    SwsPtr scaler;
    const bool ownsClock = !m_info.hasAudio;
    const int64_t nominalUs = m_videoFrameRate.num > 0 && m_videoFrameRate.den > 0
                                  ? av_rescale(1000000, m_videoFrameRate.den, m_videoFrameRate.num)
                                  : 40000;
    int serial = -1;
    int64_t target = 0;
    bool exact = true;
    bool landed = true;
    bool haveBefore = false;
    int64_t lastPts = AV_NOPTS_VALUE;
    int64_t lastEnd = 0;
    auto lastShown = SteadyClock::now();

    auto landOn = [&](const AVFrame* f, int64_t positionUs) {
        if (f)
            showPicture(toImage(f, scaler));
        land(VideoStream, serial, positionUs, ownsClock);
        landed = true;
        lastShown = SteadyClock::now();
    };

    while (std::optional<QueueItem> item = m_videoQueue.pop()) {
        if (!isCurrent(item->serial))
            continue;
        if (item->kind == QueueItem::Flush) {
            avcodec_flush_buffers(decoder);
            serial = item->serial;
            target = item->targetUs;
            exact = item->exact;
            landed = false;
            haveBefore = false;
            av_frame_unref(before.get());
            lastPts = AV_NOPTS_VALUE;
            lastEnd = target;
            continue;
        }
        if (item->serial != serial)
            continue;
        // A packet the decoder refuses (damaged data) is passed over.
        avcodec_send_packet(decoder, item->kind == QueueItem::End ? nullptr : item->packet.get());
        for (;;) {
            const int r = avcodec_receive_frame(decoder, frame.get());
            if (r == AVERROR(EAGAIN))
                break;
            if (r == AVERROR_EOF) {
                if (!landed)
                    landOn(haveBefore ? before.get() : nullptr, target);
                // The last picture stays for its duration before the stream counts as done.
                if (waitUntilDue(lastEnd, serial, false))
                    streamDone(VideoStream, serial);
                break;
            }
            if (r < 0)
                break;
            const int64_t ts = frame->best_effort_timestamp;
            const int64_t durationTs = frameDurationTs(frame.get());
            const int64_t duration = durationTs > 0
                                         ? av_rescale_q(durationTs, m_videoTimeBase, AV_TIME_BASE_Q)
                                         : nominalUs;
            const int64_t pts = ts != AV_NOPTS_VALUE        ? toUs(ts, m_videoTimeBase)
                                : lastPts != AV_NOPTS_VALUE ? lastPts + duration
                                                            : target;
            lastPts = pts;
            if (!landed) {
                if (exact && pts + duration <= target) {
                    // Before the target: decoded only to reach it.
                    av_frame_unref(before.get());
                    av_frame_move_ref(before.get(), frame.get());
                    haveBefore = true;
                    continue;
                }
                landOn(frame.get(), exact ? std::max(target, pts) : pts);
                lastEnd = pts + duration;
                av_frame_unref(frame.get());
                continue;
            }
            if (!waitUntilDue(pts, serial, true)) {
                av_frame_unref(frame.get());
                break; // a seek or abort: what is left in the decoder is of the old position
            }
            // Behind the clock (a slow machine): skip pictures, but show one now and then.
            const int64_t late = position() - pts;
            if (late <= std::max<int64_t>(2 * duration, 80000) ||
                SteadyClock::now() - lastShown > 300ms) {
                showPicture(toImage(frame.get(), scaler));
                lastShown = SteadyClock::now();
            }
            lastEnd = pts + duration;
            av_frame_unref(frame.get());
        }
    }
}

// ---- audio thread --------------------------------------------------------------------------

void PlayerSession::pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PlayerSession::applyPause(AudioOutput& out) {
    bool paused = false;
    {
        std::lock_guard lock(m_mutex);
        paused = m_paused;
    }
    if (paused)
        out.suspend();
    else
        out.resume();
    out.setMuted(m_muted.load());
}

void PlayerSession::releaseClock(int serial) {
    {
        std::lock_guard lock(m_mutex);
        if (serial == m_serial && !m_paused && m_clockLanded)
            m_clock.run();
    }
    m_changed.notify_all();
}

std::optional<int64_t> PlayerSession::videoLanding(int serial) {
    for (;;) {
        pumpEvents();
        std::unique_lock lock(m_mutex);
        if (m_abort.load() || m_serial != serial)
            return std::nullopt;
        if (m_videoLanded == serial)
            return m_videoLandedUs;
        m_changed.wait_for(lock, kPoll);
    }
}

void PlayerSession::followSound(AudioOutput& out, int serial, const WrittenSound& written) {
    if (!out.active())
        return;
    const int64_t heard = written.originUs + out.bytesToUs(written.bytes) - out.bufferedUs();
    {
        std::lock_guard lock(m_mutex);
        // Once the sound has played out the clock runs on by itself for the rest of the video.
        if (serial != m_serial || m_paused || !m_clockLanded || m_audioLanded != serial ||
            m_audioDone == serial || m_endedSerial == serial)
            return;
        // The clock never goes back: when it ran ahead of the sound (the sink starts late, or
        // took less than it said) it waits for the sound to catch up.
        const int64_t ahead = m_clock.now() - heard;
        if (m_clock.running()) {
            if (std::abs(ahead) <= kSoundDriftUs)
                return;
            if (ahead > 0)
                m_clock.freeze();
            else
                m_clock.set(heard, true);
        } else {
            if (ahead > 0)
                return;
            m_clock.set(heard, true);
        }
    }
    m_changed.notify_all();
}

bool PlayerSession::writeSound(AudioOutput& out, const QByteArray& pcm, int serial,
                               WrittenSound& written) {
    qint64 offset = 0;
    auto lastProgress = SteadyClock::now();
    while (offset < pcm.size()) {
        pumpEvents();
        {
            std::unique_lock lock(m_mutex);
            if (m_abort.load() || m_serial != serial)
                return false;
            if (m_paused) {
                lock.unlock();
                out.suspend();
                lock.lock();
                m_changed.wait_for(
                    lock, kPoll, [&] { return m_abort.load() || m_serial != serial || !m_paused; });
                lastProgress = SteadyClock::now();
                continue;
            }
        }
        applyPause(out);
        const qint64 n = out.write(pcm.constData() + offset, pcm.size() - offset);
        if (n < 0) {
            releaseClock(serial); // the sink failed: the rest plays silently by the clock
            return true;
        }
        if (n > 0) {
            offset += n;
            written.bytes += n;
            lastProgress = SteadyClock::now();
        }
        followSound(out, serial, written);
        if (n == 0) {
            if (SteadyClock::now() - lastProgress > kSinkStall) {
                out.close();
                releaseClock(serial);
                return true;
            }
            std::unique_lock lock(m_mutex);
            m_changed.wait_for(lock, 5ms);
        }
    }
    return true;
}

bool PlayerSession::waitSoundUntil(AudioOutput& out, int64_t positionUs, int serial,
                                   const WrittenSound& written) {
    for (;;) {
        pumpEvents();
        applyPause(out);
        followSound(out, serial, written);
        std::unique_lock lock(m_mutex);
        if (m_abort.load() || m_serial != serial)
            return false;
        if (!m_paused && m_clock.until(positionUs).count() <= 0)
            return true;
        m_changed.wait_for(lock, 10ms);
    }
}

void PlayerSession::audioMain() {
    // Gives this thread an event dispatcher: the sink starts timers and receives queued
    // notifications here, delivered by pumpEvents().
    QEventLoop dispatcher;
    AVCodecContext* decoder = m_audioDecoder.get();
    AudioOutput out;
    out.setMuted(m_muted.load());
    // No device, or one that will not start: the sound is decoded and timed but not heard.
    // The device is opened when playing first starts, not for a file that is only looked at.
    bool sinkTried = false;
    FramePtr frame = makeFrame();
    int serial = -1;
    int64_t target = 0;
    bool exact = true;
    bool landed = true;
    int packetsBeforeLanding = 0;
    int64_t lastEnd = 0;
    WrittenSound written;

    auto landAt = [&](int64_t positionUs) {
        land(AudioStream, serial, positionUs, true);
        landed = true;
        written = WrittenSound{positionUs, 0};
    };

    while (!m_abort.load()) {
        pumpEvents();
        if (!sinkTried) {
            std::unique_lock lock(m_mutex);
            if (!m_paused) {
                lock.unlock();
                sinkTried = true;
                out.open(m_device, decoder);
            }
        }
        applyPause(out);
        std::optional<QueueItem> item = m_audioQueue.tryPop(10);
        if (!item) {
            followSound(out, serial, written);
            continue;
        }
        if (!isCurrent(item->serial))
            continue;
        if (item->kind == QueueItem::Flush) {
            avcodec_flush_buffers(decoder);
            if (item->serial != 0)
                out.discard();
            serial = item->serial;
            target = item->targetUs;
            exact = item->exact;
            landed = false;
            packetsBeforeLanding = 0;
            lastEnd = target;
            continue;
        }
        if (item->serial != serial)
            continue;
        const bool end = item->kind == QueueItem::End;
        avcodec_send_packet(decoder, end ? nullptr : item->packet.get());
        if (!landed && !end && ++packetsBeforeLanding > kSoundPacketsBeforeLanding)
            landAt(target);
        for (;;) {
            const int r = avcodec_receive_frame(decoder, frame.get());
            if (r == AVERROR(EAGAIN))
                break;
            if (r == AVERROR_EOF) {
                if (!landed)
                    landAt(target);
                const int64_t endUs =
                    out.active() ? written.originUs + out.bytesToUs(written.bytes) : lastEnd;
                if (waitSoundUntil(out, endUs, serial, written))
                    streamDone(AudioStream, serial);
                break;
            }
            if (r < 0)
                break;
            const int rate = frame->sample_rate > 0 ? frame->sample_rate : decoder->sample_rate;
            const int64_t duration = rate > 0 ? av_rescale(frame->nb_samples, 1000000, rate) : 0;
            const int64_t ts = frame->best_effort_timestamp;
            const int64_t pts = ts != AV_NOPTS_VALUE ? toUs(ts, m_audioTimeBase) : lastEnd;
            int64_t skipUs = 0;
            if (!landed && !exact && m_info.hasVideo) {
                // A keyframe landing puts the picture ahead of the target: the sound starts
                // where the picture does.
                const std::optional<int64_t> picture = videoLanding(serial);
                if (!picture) {
                    av_frame_unref(frame.get());
                    break;
                }
                target = *picture;
                exact = true;
            }
            if (!landed) {
                if (exact && pts + duration <= target) {
                    av_frame_unref(frame.get());
                    continue;
                }
                skipUs = exact ? std::max<int64_t>(0, target - pts) : 0;
                landAt(pts + skipUs);
            }
            bool goOn = true;
            if (out.active())
                goOn = writeSound(out, out.convert(frame.get(), skipUs), serial, written);
            else
                goOn = waitSoundUntil(out, pts, serial, written);
            av_frame_unref(frame.get());
            if (!goOn)
                break;
            lastEnd = pts + duration;
        }
    }
    out.close();
}

} // namespace engine::player
