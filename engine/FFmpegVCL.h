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

    bool AVLibLoaded() const;
    bool LoadAVLib(const QString& path); // checks the running libraries' major versions

    TAVProbe& AVProbe();

    // Checks that the input opens and keeps the options. New index, or -1 with LastErrMsg.
    int AddTask(const QString& fileName, const TInputOptions& options);
    // False with LastErrMsg when the options cannot work (unknown encoder or container,
    // output equal to the input).
    bool SetOutputFile(int taskIndex, const QString& fileName, const TOutputOptions& options);
    bool RemoveTask(int taskIndex);
    void ClearTasks();
    int TaskCount() const;

    void Start(int threadCount);
    void Pause();
    void Resume();
    // Ends every task; with wait, returns only when every worker has ended. After Stop returns
    // no report arrives, and a run ended by Stop gets no final report.
    void Stop(bool wait);

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
