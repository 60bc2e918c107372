#pragma once
// The one way log lines leave the engine: FFmpeg's own (through av_log_set_callback, installed
// while a TFFLogger exists) and the engine's, each delivered to every live TFFLogger on that
// logger's thread, in the order they were written. Callable from any thread.

#include "EngineTypes.h"

#include <QString>

namespace engine {

class TFFLogger;

namespace enginelog {

void attach(TFFLogger* logger);
void detach(TFFLogger* logger);

// FFmpeg's level (AV_LOG_*) as TLogLevel.
TLogLevel fromAvLevel(int avLevel);

// A line of the engine's own, with the calling thread's number. Lines above FFmpeg's current
// log level (av_log_get_level) are dropped, as FFmpeg drops its own.
void write(TLogLevel level, const QString& line);

} // namespace enginelog
} // namespace engine
