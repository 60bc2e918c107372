#pragma once
// One conversion task from start to end, on the calling (worker) thread:
// demux -> decode -> filter -> encode -> mux for the chosen video and audio stream, then the
// flush (decoders, filters, encoders, trailer) and the rename of the finished file.

#include "EngineTypes.h"

#include <QImage>
#include <QString>

namespace engine {

class TaskControl;

// What the pipeline tells the outside while it runs; called on the worker thread.
class TaskObserver {
public:
    virtual ~TaskObserver() = default;
    virtual void progress(const TProgressInfo& info) = 0;
    virtual bool previewWanted() const = 0;
    virtual void previewFrame(const QImage& frame) = 0;
};

struct TaskSpec {
    int taskIndex = -1;
    QString inputFile;
    TInputOptions input;
    QString outputFile;
    TOutputOptions output;
    int codecThreads = 1; // per codec and filter graph; 0: as many as FFmpeg sees fit
};

class TaskPipeline {
public:
    TaskPipeline(TaskSpec job, TaskControl& control, TaskObserver& observer);
    ~TaskPipeline();
    TaskPipeline(const TaskPipeline&) = delete;
    TaskPipeline& operator=(const TaskPipeline&) = delete;

    // Runs to the end. Throws EngineError when the task fails and TaskStopped when Stop ended
    // it; in both cases no output file is left behind.
    void run();

private:
    struct Run;
    TaskSpec spec_;
    TaskControl& control_;
    TaskObserver& observer_;
};

} // namespace engine
