#include "ThreadPriority.h"

#include <QThread>

#include <cerrno>

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace engine {

#if defined(__linux__)

namespace {
pid_t threadId() {
    return static_cast<pid_t>(::syscall(SYS_gettid));
}
} // namespace

bool applyThreadPriority(TThreadPriority priority) {
    if (priority == tpIdle) {
        sched_param param{};
        param.sched_priority = 0;
        return pthread_setschedparam(pthread_self(), SCHED_IDLE, &param) == 0;
    }
    const int nice = priority == tpLowest ? 10 : priority == tpLower ? 5 : 0;
    // PRIO_PROCESS with a thread id acts on that one thread under Linux.
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(threadId()), nice) == 0;
}

int currentThreadNice() {
    errno = 0;
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(threadId()));
}

bool currentThreadIsIdle() {
    int policy = 0;
    sched_param param{};
    return pthread_getschedparam(pthread_self(), &policy, &param) == 0 && policy == SCHED_IDLE;
}

quint64 currentThreadNumber() {
    return static_cast<quint64>(threadId());
}

#else

bool applyThreadPriority(TThreadPriority priority) {
    QThread* self = QThread::currentThread();
    if (!self)
        return false;
    switch (priority) {
    case tpIdle:
        self->setPriority(QThread::IdlePriority);
        break;
    case tpLowest:
        self->setPriority(QThread::LowestPriority);
        break;
    case tpLower:
        self->setPriority(QThread::LowPriority);
        break;
    case tpNormal:
        self->setPriority(QThread::NormalPriority);
        break;
    }
    return true;
}

int currentThreadNice() {
    return 0;
}
bool currentThreadIsIdle() {
    return false;
}
quint64 currentThreadNumber() {
    return reinterpret_cast<quint64>(QThread::currentThreadId());
}

#endif

} // namespace engine
