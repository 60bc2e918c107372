#pragma once
// The input stage of a task: opens the file (forced demuxer and its options from the input
// record), picks the streams the output uses and reads their packets, timestamps moved so
// that the file starts at zero. One owner, the task's worker thread.

#include "AvPtr.h"
#include "EngineTypes.h"

#include <QString>

namespace engine {

class TaskControl;

class Demuxer {
public:
    // Throws EngineError (stage Open) when the file cannot be opened or analysed, and
    // TaskStopped when Stop interrupted the opening. `control` may be null (probing).
    Demuxer(const QString& fileName, const TInputOptions& options, TaskControl* control);

    AVFormatContext* context() const { return ctx_.get(); }
    const QString& fileName() const { return fileName_; }

    // The best video stream (cover pictures are not video) and audio stream, -1 when none.
    int bestVideoStream() const { return video_; }
    int bestAudioStream() const { return audio_; }
    AVStream* stream(int index) const { return ctx_->streams[index]; }
    AVRational guessedFrameRate(int videoIndex) const;

    int64_t durationUs() const; // <= 0 when unknown

    // Only these streams are read; the demuxer skips the others.
    void useOnly(int videoIndex, int audioIndex);

    // The next packet of a used stream. False at the end of the input; a read error after the
    // start counts as the end (it is logged), as FFmpeg's own tools treat it.
    bool read(AVPacket* pkt);
    int readErrors() const { return readErrors_; }

private:
    QString fileName_;
    InputContextPtr ctx_;
    TaskControl* control_;
    int video_ = -1, audio_ = -1;
    int64_t startOffsetUs_ = 0;
    int readErrors_ = 0;
};

// "file:" + path, so that a file name is never read as another protocol.
QByteArray fileUrl(const QString& path);

} // namespace engine
