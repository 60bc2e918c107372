#pragma once
// What a task's output record asks for, resolved against the running FFmpeg libraries:
// container, encoders (with the catalogue's substitutions), disc-target values and the explicit
// fields that override them. Built when the window sets a task's output (to refuse options
// that cannot work) and again when the task runs.

#include "EngineTypes.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace engine {

struct OutputPlan {
    const AVOutputFormat* muxer = nullptr;

    // Video. The encoder is null when the output has no video (DisableVideo, or a container
    // without video); videoUnavailable then says why when a default encoder is missing.
    const AVCodec* videoEncoder = nullptr;
    QString videoUnavailable;
    int width = 0, height = 0;        // 0: the source's size
    AVRational frameRate{0, 1};       // 0: the source's rate
    AVRational displayAspect{0, 1};   // 0: keep the source's display aspect
    int64_t videoBitrate = -1;        // -1: the encoder's default
    int64_t maxRate = 0, minRate = 0; // rate control of the disc targets
    int bufferSize = 0;
    int gopSize = -1;
    uint32_t videoTag = 0; // four-character code; 0: the muxer's own
    QString x264Preset;    // for libx264
    QString videoFilters;
    bool scanOffset = false; // SVCD: mpeg2video's scan offset

    // Audio
    const AVCodec* audioEncoder = nullptr;
    QString audioUnavailable;
    int64_t audioBitrate = -1;
    int sampleRate = 0; // 0: the source's
    int channels = 0;   // 0: the source's
    double volume = 1.0;

    TOptionTargetType target = ttIgnore;
    TOptionNormType norm = ntAuto; // resolved to PAL or NTSC for a disc target
    // Options for avformat_write_header (packet size, mux rate, preload of the disc muxers).
    std::vector<std::pair<std::string, std::string>> muxerOptions;
    // Substitutions and guesses made on the way, for the log.
    QStringList notes;
};

// The source's frame rate decides the norm of a disc target whose norm is ntAuto.
struct SourceHints {
    AVRational frameRate{0, 1};
};

// Nullopt with *error (a sentence naming the cause) when the options cannot work: an unknown
// container or extension, an encoder the libraries lack, an encoder the container cannot hold,
// or a malformed size, rate, aspect or tag.
std::optional<OutputPlan> planOutput(const TOutputOptions& options, const QString& outputFile,
                                     const SourceHints& source, QString* error);

// The encoder FFmpeg would use for a codec, skipping hardware-only and experimental ones.
const AVCodec* defaultEncoderFor(AVCodecID id);

// "29.97" and the like as the exact NTSC rates; other texts as av_parse_video_rate reads them.
std::optional<AVRational> parseFrameRate(const QString& text);

} // namespace engine
