#pragma once
// Runs a planned batch on the conversion engine and reports on the standard streams. Runs on
// the thread that owns the QCoreApplication; returns when every task has ended.

#include "CliArguments.h"

#include <QTextStream>

#include <vector>

namespace cli {

// Every task is handed to the engine (AddTask, SetOutputFile) before the first one starts, so
// an input that does not open or options the engine refuses stop the batch with nothing
// converted. Prints each output path on `out` when its file is done, progress and errors on
// `err`. Returns 0 when every file converted, 1 when one failed, 2 when the batch could not
// start.
int runBatch(const std::vector<PlannedTask>& plan, int jobs, QTextStream& out, QTextStream& err);

} // namespace cli
