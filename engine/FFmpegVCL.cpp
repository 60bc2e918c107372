#include "FFmpegVCL.h"

#include "Demuxer.h"
#include "EngineError.h"
#include "EngineLog.h"
#include "FileIdentity.h"
#include "LibraryVersions.h"
#include "OutputPlan.h"
#include "TaskControl.h"
#include "TaskPipeline.h"
#include "ThreadPriority.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace engine {
namespace {

// What a task keeps between AddTask/SetOutputFile and its run.
struct TaskEntry {
    QString inputFile;
    TInputOptions input;
    SourceHints hints;
    int64_t durationUs = -1;
    bool hasOutput = false;
    QString outputFile;
    TOutputOptions output;
    QString outputError; // why SetOutputFile refused, reported if the task runs anyway
};

struct Worker {
    int taskIndex = -1;
    std::shared_ptr<TaskControl> control;
    std::thread thread;
};

void joinAll(std::vector<std::thread>& threads) {
    for (std::thread& t : threads) {
        if (t.joinable())
            t.join();
    }
    threads.clear();
}

} // namespace

struct TFFmpegVCL::Impl {
    TFFmpegVCL* q = nullptr;
    std::vector<TaskEntry> tasks;
    TAVProbe probe;
    QString lastError;
    bool libLoaded = false;
    TThreadPriority priority = tpNormal;
    // Read by the workers for every frame; a shared flag so that "off" costs one load.
    std::shared_ptr<std::atomic<bool>> preview = std::make_shared<std::atomic<bool>>(false);

    // The run. Touched only on the owner's thread; the workers reach it only through queued
    // calls that carry the run's number and are dropped when it no longer matches.
    quint64 runId = 0;
    bool running = false;
    bool paused = false;
    int threadCount = 1;
    int codecThreads = 1;
    size_t nextTask = 0;
    std::vector<std::unique_ptr<Worker>> workers;
    std::vector<std::thread> ended; // threads of a Stop without waiting, joined later

    void launchPending();
    void launch(int taskIndex);
    void workerEnded(quint64 run, int taskIndex, const TTerminateInfo& info);

    class QueuedObserver;
};

// Carries a worker's reports to the owner's thread.
class TFFmpegVCL::Impl::QueuedObserver : public TaskObserver {
public:
    QueuedObserver(TFFmpegVCL* owner, quint64 run, int taskIndex,
                   std::shared_ptr<std::atomic<bool>> preview)
        : owner_(owner), run_(run), task_(taskIndex), preview_(std::move(preview)) {}

    void progress(const TProgressInfo& info) override {
        TFFmpegVCL* owner = owner_;
        const quint64 run = run_;
        QMetaObject::invokeMethod(
            owner,
            [owner, run, info] {
                if (owner->d->running && owner->d->runId == run)
                    emit owner->OnProgress(info);
            },
            Qt::QueuedConnection);
    }
    bool previewWanted() const override { return preview_->load(std::memory_order_relaxed); }
    void previewFrame(const QImage& frame) override {
        TFFmpegVCL* owner = owner_;
        const quint64 run = run_;
        const int task = task_;
        QMetaObject::invokeMethod(
            owner,
            [owner, run, task, frame] {
                if (owner->d->running && owner->d->runId == run && owner->d->preview->load())
                    emit owner->OnPreviewFrame(task, frame);
            },
            Qt::QueuedConnection);
    }

private:
    TFFmpegVCL* owner_;
    quint64 run_;
    int task_;
    std::shared_ptr<std::atomic<bool>> preview_;
};

void TFFmpegVCL::Impl::launchPending() {
    while (running && !paused && static_cast<int>(workers.size()) < threadCount &&
           nextTask < tasks.size())
        launch(static_cast<int>(nextTask++));
}

void TFFmpegVCL::Impl::launch(int taskIndex) {
    const TaskEntry& task = tasks[static_cast<size_t>(taskIndex)];
    TaskSpec job;
    job.taskIndex = taskIndex;
    job.inputFile = task.inputFile;
    job.input = task.input;
    job.outputFile = task.outputFile;
    job.output = task.output;
    job.codecThreads = codecThreads;
    QString refused;
    if (!task.hasOutput)
        refused = task.outputError.isEmpty()
                      ? QStringLiteral("任务没有设置输出文件。文件：“%1”").arg(task.inputFile)
                      : task.outputError;

    // The row learns at once, and in task order, that its task has begun.
    TProgressInfo started;
    started.TaskIndex = taskIndex;
    started.TotalDuration = task.durationUs;
    QMetaObject::invokeMethod(
        q,
        [owner = q, run = runId, started] {
            if (owner->d->running && owner->d->runId == run)
                emit owner->OnProgress(started);
        },
        Qt::QueuedConnection);

    auto worker = std::make_unique<Worker>();
    worker->taskIndex = taskIndex;
    worker->control = std::make_shared<TaskControl>();
    if (paused)
        worker->control->pause();
    TFFmpegVCL* owner = q;
    const quint64 run = runId;
    const TThreadPriority prio = priority;
    worker->thread = std::thread([owner, run, prio, job = std::move(job), refused,
                                  control = worker->control, preview = preview]() mutable {
        // First, so that the codec threads this task creates inherit the priority.
        if (!applyThreadPriority(prio))
            enginelog::write(llWarning,
                             QStringLiteral("任务 %1：无法设置线程优先级").arg(job.taskIndex));
        TTerminateInfo info;
        info.TaskIndex = job.taskIndex;
        bool stopped = false;
        if (!refused.isEmpty()) {
            info.Exception = true;
            info.ExceptionMsg = refused;
        } else {
            QueuedObserver observer(owner, run, job.taskIndex, preview);
            try {
                TaskPipeline pipeline(job, *control, observer);
                pipeline.run();
                info.Finished = true;
            } catch (const TaskStopped&) {
                stopped = true;
            } catch (const EngineError& e) {
                info.Exception = true;
                info.ExceptionMsg = e.message();
            } catch (const std::exception& e) {
                info.Exception = true;
                info.ExceptionMsg = QStringLiteral("转换“%1”时发生内部错误：%2")
                                        .arg(job.inputFile, QString::fromUtf8(e.what()));
            }
        }
        if (info.Exception)
            enginelog::write(
                llError, QStringLiteral("任务 %1：%2").arg(job.taskIndex).arg(info.ExceptionMsg));
        if (stopped)
            return; // Stop has already forgotten this run
        // The last thing the worker does: the owner joins the thread when this arrives.
        QMetaObject::invokeMethod(
            owner, [owner, run, info] { owner->d->workerEnded(run, info.TaskIndex, info); },
            Qt::QueuedConnection);
    });
    workers.push_back(std::move(worker));
}

void TFFmpegVCL::Impl::workerEnded(quint64 run, int taskIndex, const TTerminateInfo& info) {
    if (run != runId || !running)
        return;
    const auto it = std::find_if(workers.begin(), workers.end(),
                                 [taskIndex](const auto& w) { return w->taskIndex == taskIndex; });
    if (it != workers.end()) {
        if ((*it)->thread.joinable())
            (*it)->thread.join();
        workers.erase(it);
    }
    launchPending();
    emit q->OnTerminate(info);
    // A handler may have stopped the run, or (in a nested event loop) already ended it.
    if (running && runId == run && workers.empty() && nextTask >= tasks.size()) {
        running = false;
        TTerminateInfo all;
        all.TaskIndex = -1;
        all.Finished = true;
        emit q->OnTerminate(all);
    }
}

TFFmpegVCL::TFFmpegVCL(QObject* parent) : QObject(parent), d(std::make_unique<Impl>()) {
    d->q = this;
    qRegisterMetaType<engine::TProgressInfo>("engine::TProgressInfo");
    qRegisterMetaType<engine::TTerminateInfo>("engine::TTerminateInfo");
}

TFFmpegVCL::~TFFmpegVCL() {
    Stop(true);
    joinAll(d->ended);
}

bool TFFmpegVCL::AVLibLoaded() const {
    return d->libLoaded;
}

bool TFFmpegVCL::LoadAVLib(const QString& path) {
    Q_UNUSED(path); // the libraries are linked when the program is built
    const QString mismatch = runningLibraryMismatch();
    d->libLoaded = mismatch.isEmpty();
    if (!d->libLoaded)
        d->lastError = mismatch;
    return d->libLoaded;
}

TAVProbe& TFFmpegVCL::AVProbe() {
    return d->probe;
}

int TFFmpegVCL::AddTask(const QString& fileName, const TInputOptions& options) {
    TaskEntry task;
    task.inputFile = fileName;
    task.input = options;
    task.input.FileName = fileName;
    try {
        // Only checks that the file opens; it is opened again when the task runs.
        const Demuxer demux(fileName, options, nullptr);
        if (demux.bestVideoStream() < 0 && demux.bestAudioStream() < 0) {
            d->lastError = QStringLiteral("文件“%1”中没有可以转换的视频或音频").arg(fileName);
            return -1;
        }
        if (demux.bestVideoStream() >= 0)
            task.hints.frameRate = demux.guessedFrameRate(demux.bestVideoStream());
        task.durationUs = demux.durationUs();
    } catch (const EngineError& e) {
        d->lastError = e.message();
        return -1;
    }
    d->tasks.push_back(std::move(task));
    return static_cast<int>(d->tasks.size()) - 1;
}

int TFFmpegVCL::AddFailedTask(const QString& fileName, const QString& reason) {
    TaskEntry task;
    task.inputFile = fileName;
    task.input.FileName = fileName;
    task.outputError = reason;
    d->tasks.push_back(std::move(task));
    return static_cast<int>(d->tasks.size()) - 1;
}

bool TFFmpegVCL::SetOutputFile(int taskIndex, const QString& fileName,
                               const TOutputOptions& options) {
    if (taskIndex < 0 || taskIndex >= TaskCount()) {
        d->lastError = QStringLiteral("任务序号 %1 不存在").arg(taskIndex);
        return false;
    }
    TaskEntry& task = d->tasks[static_cast<size_t>(taskIndex)];
    task.hasOutput = false;
    task.outputFile = fileName;
    task.output = options;
    task.output.FileName = fileName;
    QString why;
    if (fileName.trimmed().isEmpty())
        why = QStringLiteral("没有指定输出文件");
    else if (isSameFile(task.inputFile, fileName))
        why = QStringLiteral("输出文件“%1”就是输入文件，转换不会覆盖输入文件").arg(fileName);
    else if (!planOutput(task.output, fileName, task.hints, &why))
        why = QStringLiteral("%1。输出文件：“%2”").arg(why, fileName);
    if (!why.isEmpty()) {
        task.outputError = QStringLiteral("设置失败：") + why;
        d->lastError = why;
        return false;
    }
    task.outputError.clear();
    task.hasOutput = true;
    return true;
}

bool TFFmpegVCL::RemoveTask(int taskIndex) {
    if (d->running) {
        d->lastError = QStringLiteral("转换进行中，不能删除任务");
        return false;
    }
    if (taskIndex < 0 || taskIndex >= TaskCount()) {
        d->lastError = QStringLiteral("任务序号 %1 不存在").arg(taskIndex);
        return false;
    }
    d->tasks.erase(d->tasks.begin() + taskIndex);
    return true;
}

void TFFmpegVCL::ClearTasks() {
    if (d->running)
        Stop(true);
    d->tasks.clear();
}

int TFFmpegVCL::TaskCount() const {
    return static_cast<int>(d->tasks.size());
}

void TFFmpegVCL::Start(int threadCount) {
    if (d->running)
        return;
    joinAll(d->ended);
    d->running = true;
    d->paused = false;
    ++d->runId;
    d->threadCount = std::max(1, threadCount);
    d->nextTask = 0;
    // n tasks at once share the cores instead of each sizing its codecs for all of them; a
    // task alone lets FFmpeg size its codecs for the whole machine, as the ffmpeg program does.
    const int cores = std::max(1, QThread::idealThreadCount());
    const int parallel = std::max(1, std::min(d->threadCount, static_cast<int>(d->tasks.size())));
    d->codecThreads = parallel == 1 ? 0 : std::max(1, cores / parallel);
    if (d->tasks.empty()) {
        const quint64 run = d->runId;
        QMetaObject::invokeMethod(
            this,
            [this, run] {
                if (d->running && d->runId == run) {
                    d->running = false;
                    TTerminateInfo all;
                    all.TaskIndex = -1;
                    all.Finished = true;
                    emit OnTerminate(all);
                }
            },
            Qt::QueuedConnection);
        return;
    }
    d->launchPending();
}

void TFFmpegVCL::Pause() {
    if (!d->running || d->paused)
        return;
    d->paused = true;
    for (const auto& w : d->workers)
        w->control->pause();
}

void TFFmpegVCL::Resume() {
    if (!d->running || !d->paused)
        return;
    d->paused = false;
    for (const auto& w : d->workers)
        w->control->resume();
    d->launchPending();
}

void TFFmpegVCL::Stop(bool wait) {
    // A new run number drops every report of this run still on its way.
    ++d->runId;
    d->running = false;
    d->paused = false;
    for (const auto& w : d->workers)
        w->control->stop();
    for (auto& w : d->workers)
        d->ended.push_back(std::move(w->thread));
    d->workers.clear();
    if (wait)
        joinAll(d->ended);
}

bool TFFmpegVCL::Running() const {
    return d->running;
}
bool TFFmpegVCL::Paused() const {
    return d->paused;
}

bool TFFmpegVCL::Preview() const {
    return d->preview->load();
}
void TFFmpegVCL::SetPreview(bool on) {
    d->preview->store(on);
}

TThreadPriority TFFmpegVCL::ThreadPriority() const {
    return d->priority;
}
void TFFmpegVCL::SetThreadPriority(TThreadPriority priority) {
    d->priority = priority;
}

QString TFFmpegVCL::LastErrMsg() const {
    return d->lastError;
}

} // namespace engine
