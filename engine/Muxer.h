#pragma once
// The output stage of a task. Writes into a temporary file beside the target and gives it
// the target's name only in finish(), when the file is complete; if the muxer is destroyed
// before that (error or Stop), the temporary file is removed and an existing target stays as
// it was. One owner, the task's worker thread.

#include "AvPtr.h"

#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace engine {

class TaskControl;

class Muxer {
public:
    // Throws EngineError (stage Write) when the temporary file cannot be created.
    Muxer(const QString& target, const AVOutputFormat* format, TaskControl* control);
    ~Muxer();
    Muxer(const Muxer&) = delete;
    Muxer& operator=(const Muxer&) = delete;

    bool wantsGlobalHeader() const;
    // A stream for an opened encoder; returns its index. Side data the encoder made for the
    // container (the disc targets' buffer sizes) goes with it.
    int addStream(const AVCodecContext* encoder);
    void writeHeader(const std::vector<std::pair<std::string, std::string>>& options);

    // An encoded packet with timestamps in the encoder's time base; takes its contents.
    void write(AVPacket* pkt, int streamIndex, AVRational encoderTimeBase);

    // Trailer, close, rename onto the target. Throws EngineError on failure.
    void finish();

    int64_t bytesWritten() const;
    const QString& temporaryFile() const { return temp_; }

private:
    void discard();

    QString target_;
    QString temp_;
    OutputContextPtr ctx_;
    TaskControl* control_;
    int64_t finalSize_ = 0;
    bool committed_ = false;
};

} // namespace engine
