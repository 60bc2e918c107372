#pragma once
// Sound output of the player on the default device through QAudioSink in push mode. Lives on
// the player's audio thread and is used only there (the sink is a QObject of that thread).
// Converts decoded frames into the sink's sample format with libswresample.

#include "AvPtr.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>

#include <memory>

class QAudioSink;
class QIODevice;

namespace engine::player {

class AudioOutput {
public:
    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // False when `device` is null (no audio output on this machine) or the sink cannot start;
    // the player then plays by the system clock.
    bool open(const QAudioDevice& device, const AVCodecContext* decoder);
    bool active() const { return m_io != nullptr; }
    void close();

    // The frame's samples in the sink's format, leaving out the first `skipUs` of them.
    QByteArray convert(const AVFrame* frame, int64_t skipUs);
    // Hands as much of `data` to the sink as it takes now: bytes taken, or -1 when the sink
    // failed (the output is closed then).
    qint64 write(const char* data, qint64 size);
    // Sound written but not heard yet.
    int64_t bufferedUs() const;
    int64_t bytesToUs(qint64 bytes) const;

    void suspend();
    void resume();
    void discard();            // drops what the sink holds, for a seek
    void setMuted(bool muted); // only a change reaches the sink

private:
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_io = nullptr; // owned by m_sink
    QAudioFormat m_format;
    SwrPtr m_swr;
    AVChannelLayout m_inLayout{};
    AVSampleFormat m_inFormat = AV_SAMPLE_FMT_NONE;
    int m_inRate = 0;
    bool m_suspended = false;
    bool m_muted = false;

    bool configureResampler(const AVFrame* frame);
};

} // namespace engine::player
