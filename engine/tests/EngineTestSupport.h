#pragma once
// Shared pieces of the engine tests: clips made once per test program with the ffmpeg
// program, a recorder for the engine's signals, one-call conversions, and ffprobe's view of
// a result.

#include "FFmpegVCL.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <vector>

namespace enginetest {

// A folder for the test program's clips and outputs, removed at exit.
QString workDir();

// A clip made by the ffmpeg program on first use, then reused (name inside workDir()).
// `args` are the ffmpeg arguments between the global options and the output path.
QString clip(const QString& name, const QStringList& args);

// The common sources.
QString avClip();        // 2 s, 320x240, 25 fps, stereo 44100 Hz
QString audioOnlyClip(); // 2 s, stereo 44100 Hz wav
QString videoOnlyClip(); // 2 s, 320x240, 25 fps, no audio
// A clip long enough to be caught while it converts (seconds at 320x240).
QString longClip(int seconds);

// Runs the event loop until `done` holds, or the timeout. True when it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

struct Event {
    enum Kind { Progress, Terminate, PreviewFrame } kind;
    qint64 atMs;
    bool onOwnerThread;
    engine::TProgressInfo progress;
    engine::TTerminateInfo terminate;
    int previewTask = -1;
    QSize previewSize;
};

class RunRecorder : public QObject {
public:
    explicit RunRecorder(engine::TFFmpegVCL& vcl);

    // Runs the event loop until the final report, or the timeout. True when it came.
    bool waitForFinal(int timeoutMs);
    // Runs the event loop until `done` holds, or the timeout.
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    void processFor(int ms);

    const std::vector<Event>& events() const { return events_; }
    bool finalSeen() const;
    std::optional<engine::TTerminateInfo> termination(int task) const;
    int terminationCount(int task) const;
    // Position in events() of the task's first progress report / its termination; -1: none.
    int firstProgress(int task) const;
    int terminationAt(int task) const;
    const engine::TProgressInfo* lastProgress(int task) const;
    void clear() { events_.clear(); }

private:
    std::vector<Event> events_;
    QElapsedTimer clock_;
};

// Converts one file with a fresh component; the task's termination report, or nullopt when
// none came within the timeout.
std::optional<engine::TTerminateInfo> convert(const QString& input, const QString& output,
                                              const engine::TOutputOptions& options,
                                              int timeoutMs = 60000);

// ffprobe's view of a file.
struct Probed {
    bool ok = false;
    QString format;
    double duration = -1; // container; -1 when unknown
    bool hasVideo = false;
    QString videoCodec, videoTag;
    int width = 0, height = 0;
    double fps = 0;
    QString displayAspect;
    int videoFrames = -1; // with countFrames
    double videoStart = 0, videoDuration = -1;
    bool hasAudio = false;
    QString audioCodec;
    int sampleRate = 0, channels = 0;
    double audioStart = 0, audioDuration = -1;
};
Probed probe(const QString& path, bool countFrames = false);

QByteArray checksum(const QString& path);
// Writes `content` to a new file `name` inside `dir` (workDir() when empty); returns its path.
QString writeFile(const QString& name, const QByteArray& content, const QString& dir = {});
QStringList filesIn(const QString& dir); // names, hidden ones included

} // namespace enginetest
