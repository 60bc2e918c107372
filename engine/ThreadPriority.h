#pragma once
// The scheduling priority of the calling thread. Each task runs on a fresh worker thread that
// calls applyThreadPriority first, so that the codec threads it creates inherit the priority
// (without privileges a thread can lower its priority but never raise it again).

#include "EngineTypes.h"

#include <QtGlobal>

namespace engine {

// tpIdle: SCHED_IDLE; tpLowest, tpLower, tpNormal: nice 10, 5, 0. False when the system
// refused (the thread then keeps its priority).
bool applyThreadPriority(TThreadPriority priority);

// The nice value the calling thread runs with, and whether it is under SCHED_IDLE (tests).
int currentThreadNice();
bool currentThreadIsIdle();

// The system's number for the calling thread, as log lines show it.
quint64 currentThreadNumber();

} // namespace engine
