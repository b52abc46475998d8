// One conversion run: the settings it was started with, its progress, the
// worker thread that runs it and, once done, its report.
#pragma once

#include <thread>

#include "converter/pipeline/pack_writer.h"

namespace zeku {

struct ConvertJob {
    PackWriterSettings settings;
    PackProgress progress;
    PackWriterReport report;  // read only after the thread has been joined
    std::thread worker;
};

// Starts the worker thread, which runs the package writer once.
void startConvertJob(ConvertJob& job);

// Waits for the worker thread to end (after progress.done was seen).
void finishConvertJob(ConvertJob& job);

}  // namespace zeku
