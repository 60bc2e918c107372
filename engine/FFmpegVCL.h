#pragma once
// The conversion component: a list of tasks (input file + output file and options) that it
// converts on worker threads of its own. Owned and called by the user-interface thread; its
// signals are delivered on that thread in the order they were raised.

#include "EngineTypes.h"

#include <QImage>
#include <QObject>

#include <memory>

namespace engine {

// Probes one file. Not thread-safe; one owner.
class TAVProbe {
public:
    TAVProbe();
    ~TAVProbe();
    TAVProbe(const TAVProbe&) = delete;
    TAVProbe& operator=(const TAVProbe&) = delete;

    // Opens and analyses the file (no forced format). False with LastErrMsg on failure.
    bool LoadFile(const QString& fileName, const QString& forcedFormat = {});
    int64_t FileStreamInfo() const; // duration in microseconds; <= 0 when unknown
    QString FileInfoText() const;   // multi-line description of the container and each stream
    int64_t FileSize() const;       // bytes
    QString LastErrMsg() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

class TFFmpegVCL : public QObject {
    Q_OBJECT
public:
    explicit TFFmpegVCL(QObject* parent = nullptr);
    ~TFFmpegVCL() override; // stops and waits for every worker

    // The libraries are linked in; loading checks that the running ones have the major
    // versions the program was built with (the folder is not used). False with LastErrMsg
    // naming the library and both versions.
    bool AVLibLoaded() const;
    bool LoadAVLib(const QString& path);

    TAVProbe& AVProbe();

    // Checks that the input opens and keeps the options. New index, or -1 with LastErrMsg.
    int AddTask(const QString& fileName, const TInputOptions& options);
    // False with LastErrMsg when the options cannot work (unknown encoder or container,
    // malformed size, rate, aspect or tag, output equal to the input). The task stays; if it
    // runs anyway it ends with Exception and that reason.
    bool SetOutputFile(int taskIndex, const QString& fileName, const TOutputOptions& options);
    // A task that cannot run (its input is gone, say) but keeps its place in the list, so that
    // the tasks after it keep their indexes; when the run reaches it, it ends at once with
    // Exception and `reason`.
    int AddFailedTask(const QString& fileName, const QString& reason);
    bool RemoveTask(int taskIndex); // false while a run is going on
    void ClearTasks();              // stops a run that is going on first
    int TaskCount() const;

    // Starts the tasks in task order, at most threadCount at a time, each on a fresh worker
    // thread with ThreadPriority; the next pending task starts when one ends. Every task gets
    // one OnTerminate (Finished or Exception), and after the last one a report with TaskIndex
    // -1. Ignored while a run is going on.
    void Start(int threadCount);
    // Holds every running task (and starts no new one) until Resume.
    void Pause();
    void Resume();
    // Ends every task; with wait, returns only when every worker has ended (within about a
    // second). After Stop returns no report of that run arrives, and it gets no final report.
    // Stopped tasks leave no output file behind.
    void Stop(bool wait);
    bool Running() const; // from Start until the final report or Stop
    bool Paused() const;

    bool Preview() const;
    void SetPreview(bool on);
    TThreadPriority ThreadPriority() const;
    void SetThreadPriority(TThreadPriority priority);
    QString LastErrMsg() const;

signals:
    void OnProgress(const engine::TProgressInfo& info);
    void OnTerminate(const engine::TTerminateInfo& info);
    // While Preview is on: a scaled-down frame of the video being converted, a few per second.
    void OnPreviewFrame(int taskIndex, const QImage& frame);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// FFmpeg's log lines and the engine's own, delivered on the user-interface thread.
class TFFLogger : public QObject {
    Q_OBJECT
public:
    explicit TFFLogger(QObject* parent = nullptr);
    ~TFFLogger() override;

signals:
    void OnLog(quint64 threadId, int level, const QString& message);
};

} // namespace engine
