#include "AudioOutput.h"

#include <QAudioSink>
#include <QIODevice>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>

namespace engine::player {

namespace {

AVSampleFormat avFormatOf(QAudioFormat::SampleFormat format) {
    switch (format) {
    case QAudioFormat::UInt8:
        return AV_SAMPLE_FMT_U8;
    case QAudioFormat::Int16:
        return AV_SAMPLE_FMT_S16;
    case QAudioFormat::Int32:
        return AV_SAMPLE_FMT_S32;
    case QAudioFormat::Float:
        return AV_SAMPLE_FMT_FLT;
    default:
        return AV_SAMPLE_FMT_NONE;
    }
}

// Sound kept in the sink: short, so that a seek or pause is heard at once.
constexpr int kBufferMs = 200;

} // namespace

AudioOutput::AudioOutput() = default;

AudioOutput::~AudioOutput() {
    close();
    av_channel_layout_uninit(&m_inLayout);
}

bool AudioOutput::open(const QAudioDevice& device, const AVCodecContext* decoder) {
    close();
    if (device.isNull() || decoder->sample_rate <= 0)
        return false;
    QAudioFormat format;
    format.setSampleRate(decoder->sample_rate);
    format.setChannelCount(std::clamp(decoder->ch_layout.nb_channels, 1, 2));
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        format = device.preferredFormat();
    if (!format.isValid() || avFormatOf(format.sampleFormat()) == AV_SAMPLE_FMT_NONE)
        return false;
    m_format = format;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(format.bytesForDuration(kBufferMs * 1000));
    m_io = m_sink->start();
    if (!m_io) {
        m_sink.reset();
        return false;
    }
    m_suspended = false;
    if (m_muted)
        m_sink->setVolume(0.0);
    return true;
}

void AudioOutput::close() {
    // A suspended sink is resumed before it stops: stopping it suspended can hang.
    resume();
    if (m_sink)
        m_sink->stop();
    m_io = nullptr;
    m_sink.reset();
    m_swr.reset();
}

bool AudioOutput::configureResampler(const AVFrame* frame) {
    if (m_swr && frame->sample_rate == m_inRate && frame->format == m_inFormat &&
        av_channel_layout_compare(&frame->ch_layout, &m_inLayout) == 0)
        return true;
    m_swr.reset();
    av_channel_layout_uninit(&m_inLayout);
    av_channel_layout_copy(&m_inLayout, &frame->ch_layout);
    m_inFormat = static_cast<AVSampleFormat>(frame->format);
    m_inRate = frame->sample_rate;
    AVChannelLayout outLayout{};
    av_channel_layout_default(&outLayout, m_format.channelCount());
    SwrContext* swr = nullptr;
    int r =
        swr_alloc_set_opts2(&swr, &outLayout, avFormatOf(m_format.sampleFormat()),
                            m_format.sampleRate(), &m_inLayout, m_inFormat, m_inRate, 0, nullptr);
    av_channel_layout_uninit(&outLayout);
    if (r < 0 || !swr)
        return false;
    m_swr.reset(swr);
    if (swr_init(swr) < 0) {
        m_swr.reset();
        return false;
    }
    return true;
}

QByteArray AudioOutput::convert(const AVFrame* frame, int64_t skipUs) {
    if (!active() || !configureResampler(frame))
        return {};
    const int capacity = swr_get_out_samples(m_swr.get(), frame->nb_samples);
    if (capacity <= 0)
        return {};
    const int bytesPerFrame = m_format.bytesPerFrame();
    QByteArray pcm(capacity * bytesPerFrame, Qt::Uninitialized);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(pcm.data())};
    const int got =
        swr_convert(m_swr.get(), out, capacity, const_cast<const uint8_t**>(frame->extended_data),
                    frame->nb_samples);
    if (got <= 0)
        return {};
    pcm.truncate(got * bytesPerFrame);
    if (skipUs > 0) {
        const qint64 skip = std::min<qint64>(m_format.bytesForDuration(skipUs), pcm.size());
        pcm.remove(0, static_cast<int>(skip - skip % bytesPerFrame));
    }
    return pcm;
}

qint64 AudioOutput::write(const char* data, qint64 size) {
    if (!active())
        return -1;
    if (m_sink->error() == QAudio::FatalError || m_sink->error() == QAudio::OpenError) {
        close();
        return -1;
    }
    const qint64 room = std::min<qint64>(m_sink->bytesFree(), size);
    if (room <= 0)
        return 0;
    const qint64 written = m_io->write(data, room - room % m_format.bytesPerFrame());
    if (written < 0) {
        close();
        return -1;
    }
    return written;
}

int64_t AudioOutput::bufferedUs() const {
    if (!active())
        return 0;
    return bytesToUs(std::max<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree()));
}

int64_t AudioOutput::bytesToUs(qint64 bytes) const {
    return m_format.durationForBytes(bytes);
}

void AudioOutput::suspend() {
    if (active() && !m_suspended) {
        m_sink->suspend();
        m_suspended = true;
    }
}

void AudioOutput::resume() {
    if (active() && m_suspended) {
        m_sink->resume();
        m_suspended = false;
    }
}

void AudioOutput::discard() {
    if (!active())
        return;
    // A stopped sink forgets what it held; starting it again gives a fresh device to write to.
    const bool wasSuspended = m_suspended;
    resume();
    m_sink->stop();
    m_io = m_sink->start();
    if (!m_io) {
        close();
        return;
    }
    if (wasSuspended)
        suspend();
}

void AudioOutput::setMuted(bool muted) {
    if (m_sink && muted != m_muted)
        m_sink->setVolume(muted ? 0.0 : 1.0);
    m_muted = muted;
}

} // namespace engine::player
