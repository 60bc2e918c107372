#pragma once
// Stop and pause of one running task. The user-interface thread calls stop/pause/resume
// directly (never through a queued signal); the task's worker thread reads them at every
// packet and, through the interrupt callback, inside FFmpeg's blocking I/O.

extern "C" {
#include <libavformat/avio.h>
}

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace engine {

class TaskControl {
public:
    void stop() {
        std::lock_guard lock(mutex_);
        stopped_.store(true);
        wake_.notify_all();
    }
    void pause() {
        std::lock_guard lock(mutex_);
        paused_.store(true);
    }
    void resume() {
        std::lock_guard lock(mutex_);
        paused_.store(false);
        wake_.notify_all();
    }
    bool stopRequested() const { return stopped_.load(std::memory_order_relaxed); }
    bool paused() const { return paused_.load(std::memory_order_relaxed); }

    // Worker side: blocks while paused; returns false when a stop ends the wait (or came first).
    bool waitWhilePaused() {
        if (!paused_.load(std::memory_order_relaxed))
            return !stopRequested();
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return !paused_.load() || stopped_.load(); });
        return !stopped_.load();
    }

    // For AVFormatContext::interrupt_callback: FFmpeg aborts blocking calls with AVERROR_EXIT.
    AVIOInterruptCB interruptCallback() { return AVIOInterruptCB{&TaskControl::interrupted, this}; }

private:
    static int interrupted(void* opaque) {
        return static_cast<TaskControl*>(opaque)->stopRequested() ? 1 : 0;
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stopped_{false};
    std::atomic<bool> paused_{false};
};

} // namespace engine
