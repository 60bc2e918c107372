#include "EngineLog.h"
#include "FFmpegVCL.h"
#include "ThreadPriority.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

namespace engine {
namespace enginelog {
namespace {

std::mutex& hubMutex() {
    static std::mutex m;
    return m;
}
std::vector<TFFLogger*>& loggers() {
    static std::vector<TFFLogger*> list;
    return list;
}

int avLevelOf(TLogLevel level) {
    static const int levels[] = {AV_LOG_QUIET,   AV_LOG_PANIC, AV_LOG_FATAL,   AV_LOG_ERROR,
                                 AV_LOG_WARNING, AV_LOG_INFO,  AV_LOG_VERBOSE, AV_LOG_DEBUG};
    return levels[level];
}

void deliver(quint64 thread, TLogLevel level, const QString& message) {
    std::lock_guard lock(hubMutex());
    for (TFFLogger* logger : loggers()) {
        // Queued onto the logger's thread; Qt drops the call if the logger is gone by then.
        QMetaObject::invokeMethod(
            logger,
            [logger, thread, level, message] { emit logger->OnLog(thread, level, message); },
            Qt::QueuedConnection);
    }
}

// FFmpeg writes a line in pieces; each thread collects its pieces until the newline.
thread_local QByteArray pendingLine;
thread_local int pendingLevel = AV_LOG_INFO;
thread_local int printPrefix = 1;

void avCallback(void* avcl, int level, const char* fmt, va_list args) {
    if (level > av_log_get_level())
        return;
    char buf[1024];
    va_list copy;
    va_copy(copy, args);
    av_log_format_line2(avcl, level, fmt, copy, buf, sizeof buf, &printPrefix);
    va_end(copy);
    if (pendingLine.isEmpty())
        pendingLevel = level;
    pendingLine += buf;
    if (!pendingLine.endsWith('\n'))
        return;
    QString line = QString::fromUtf8(pendingLine).trimmed();
    pendingLine.clear();
    if (!line.isEmpty())
        deliver(currentThreadNumber(), fromAvLevel(pendingLevel), line);
}

} // namespace

TLogLevel fromAvLevel(int avLevel) {
    if (avLevel < AV_LOG_PANIC)
        return llQuiet;
    if (avLevel < AV_LOG_FATAL)
        return llPanic;
    if (avLevel < AV_LOG_ERROR)
        return llFatal;
    if (avLevel < AV_LOG_WARNING)
        return llError;
    if (avLevel < AV_LOG_INFO)
        return llWarning;
    if (avLevel < AV_LOG_VERBOSE)
        return llInfo;
    if (avLevel < AV_LOG_DEBUG)
        return llVerbose;
    return llDebug;
}

void attach(TFFLogger* logger) {
    std::lock_guard lock(hubMutex());
    if (loggers().empty())
        av_log_set_callback(avCallback);
    loggers().push_back(logger);
}

void detach(TFFLogger* logger) {
    std::lock_guard lock(hubMutex());
    auto& list = loggers();
    list.erase(std::remove(list.begin(), list.end(), logger), list.end());
    if (list.empty())
        av_log_set_callback(av_log_default_callback);
}

void write(TLogLevel level, const QString& line) {
    if (level == llQuiet || avLevelOf(level) > av_log_get_level())
        return;
    deliver(currentThreadNumber(), level, line);
}

} // namespace enginelog

TFFLogger::TFFLogger(QObject* parent) : QObject(parent) {
    enginelog::attach(this);
}

TFFLogger::~TFFLogger() {
    enginelog::detach(this);
}

} // namespace engine
