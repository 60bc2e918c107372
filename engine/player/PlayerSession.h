#pragma once
// One open file of the player with the threads that play it:
//   - the demuxing thread opens the file (with an interrupt callback that gives up at a
//     deadline and on abort), then reads packets into one queue per stream and carries out
//     seeks;
//   - the video thread decodes, converts the picture to RGB and shows it when the clock
//     reaches it;
//   - the audio thread decodes and feeds the sound output; it has a Qt event dispatcher of its
//     own, for the sink.
// The clock belongs to the audio thread when the file has sound (what is heard, or with no
// audio device the system clock from the moment the sound would start), else to the video
// thread. Every seek has a serial number; items and frames of an older serial are dropped, so
// nothing of a previous position is shown after a seek has landed.
//
// Created, driven and destroyed on the user-interface thread. The events are called on the
// worker threads and must only post.

#include "AvPtr.h"
#include "PacketQueue.h"
#include "PlaybackClock.h"

#include <QAudioDevice>
#include <QImage>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace engine::player {

class AudioOutput;

struct MediaInfo {
    int64_t durationUs = 0; // 0 when unknown
    int width = 0;          // of the video; 0 without video
    int height = 0;
    double displayAspect = 0; // width / height as displayed; 0 without video
    bool hasVideo = false;
    bool hasAudio = false;
    QString infoText;
};

struct SessionEvents {
    std::function<void(int serial, int64_t positionUs)> landed; // a seek (or the open) landed
    std::function<void(int serial)> ended;                      // every stream played out
    std::function<void()> pictureChanged; // once until pictureNoticed() is called
};

class PlayerSession {
public:
    PlayerSession(QString fileName, QAudioDevice output, SessionEvents events);
    ~PlayerSession(); // aborts and joins every thread
    PlayerSession(const PlayerSession&) = delete;
    PlayerSession& operator=(const PlayerSession&) = delete;

    // Opens the file on the demuxing thread and waits for it, at most `limit` (reads are
    // interrupted then). False with error().
    bool open(std::chrono::milliseconds limit);
    QString error() const { return m_error; }
    const MediaInfo& info() const { return m_info; } // after open() succeeded

    // Starts the decoding threads; the first picture lands at once, then playback runs unless
    // `paused`. Serial 0 is this first landing.
    void start(bool paused, bool muted);
    // Waits until every stream has landed for `serial`; false when `limit` passed first.
    bool waitLanded(int serial, std::chrono::milliseconds limit);

    void setPaused(bool paused);
    int seek(int64_t targetUs, bool exact); // returns the seek's serial
    int serial() const;
    void step();        // while paused: show the next picture
    bool atEnd() const; // every stream played out and no seek since
    int64_t position() const;
    QImage picture() const;
    void pictureNoticed() { m_pictureNotice.store(false); }
    void setMuted(bool muted) { m_muted.store(muted); }

    void abort(); // asks every thread to end, without waiting
    void join();

private:
    enum class OpenState { Opening, Opened, Failed };
    enum Stream { VideoStream = 1, AudioStream = 2 };

    const QString m_fileName;
    const QAudioDevice m_device;
    const SessionEvents m_events;

    // Written by the demuxing thread before it reports Opened; read-only afterwards.
    MediaInfo m_info;
    InputContextPtr m_input;
    CodecContextPtr m_videoDecoder;
    CodecContextPtr m_audioDecoder;
    int m_videoIndex = -1;
    int m_audioIndex = -1;
    AVRational m_videoTimeBase{1, 1};
    AVRational m_audioTimeBase{1, 1};
    AVRational m_videoFrameRate{0, 1};
    int64_t m_startUs = 0;
    QString m_error;

    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_opening{true};
    std::atomic<bool> m_muted{false};
    std::atomic<bool> m_pictureNotice{false};
    std::chrono::steady_clock::time_point m_openDeadline;

    PacketQueue m_videoQueue;
    PacketQueue m_audioQueue;

    // Everything below is guarded by m_mutex; m_changed announces every change of it.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    OpenState m_openState = OpenState::Opening;
    bool m_started = false;
    bool m_paused = true;
    int m_serial = 0;
    bool m_seekPending = true; // the first landing, at the start
    int64_t m_seekTargetUs = 0;
    bool m_seekExact = false;
    bool m_clockLanded = false;
    bool m_stepPending = false;
    int m_videoLanded = -1;
    int64_t m_videoLandedUs = 0; // where the picture of serial m_videoLanded landed
    int m_audioLanded = -1;
    int m_videoDone = -1;
    int m_audioDone = -1;
    int m_endedSerial = -1;
    PlaybackClock m_clock;
    QImage m_picture;

    std::thread m_demuxThread;
    std::thread m_videoThread;
    std::thread m_audioThread;

    static int interruptCallback(void* opaque);
    bool interrupted() const;

    // Demuxing thread.
    void demuxMain();
    bool openInput();
    bool fail(const QString& message);
    CodecContextPtr openDecoder(int streamIndex, QString* error);
    void readLoop();
    void carryOutSeek(int serial, int64_t targetUs, bool exact, bool moveInput);
    bool queuesFull() const;

    // Video thread.
    void videoMain();
    QImage toImage(const AVFrame* frame, SwsPtr& scaler);
    void showPicture(const QImage& picture);

    // Audio thread. What has been handed to the sink since the landing: it ends at
    // originUs + the duration of `bytes`.
    struct WrittenSound {
        int64_t originUs = 0;
        qint64 bytes = 0;
    };
    void audioMain();
    // Sink notifications are queued to the audio thread, which has no event loop of its own.
    static void pumpEvents();
    void applyPause(AudioOutput& out);
    bool writeSound(AudioOutput& out, const QByteArray& pcm, int serial, WrittenSound& written);
    // Moves the clock to what is being heard now.
    void followSound(AudioOutput& out, int serial, const WrittenSound& written);
    bool waitSoundUntil(AudioOutput& out, int64_t positionUs, int serial,
                        const WrittenSound& written);
    void releaseClock(int serial); // the sink failed: the clock runs on by itself
    // Where the picture of `serial` landed, once it has; nothing after a newer seek or abort.
    std::optional<int64_t> videoLanding(int serial);

    // Shared by the decoding threads.
    int64_t toUs(int64_t ts, AVRational timeBase) const;
    bool isCurrent(int serial) const;
    // Waits until the clock shows `positionUs`; false when a seek or abort came first. While
    // paused a pending step (when `mayStep`) lets the frame through and moves the clock to it.
    bool waitUntilDue(int64_t positionUs, int serial, bool mayStep);
    void land(Stream stream, int serial, int64_t positionUs, bool ownsClock);
    void streamDone(Stream stream, int serial);
};

} // namespace engine::player
