// One conversion run on its own thread.
#include "converter/app/convert_job.h"

namespace zeku {

void startConvertJob(ConvertJob& job) {
    job.worker = std::thread([&job] { job.report = runPackWriter(job.settings, job.progress); });
}

void finishConvertJob(ConvertJob& job) {
    if (job.worker.joinable()) job.worker.join();
}

}  // namespace zeku
