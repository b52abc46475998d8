// The conversion run: source entries are converted on a few threads and
// written strictly in index order, so the package does not depend on the
// thread count.
#include "converter/pipeline/pack_writer.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/pack/pack_format.h"
#include "common/text/name_set.h"
#include "converter/pipeline/cd_tracks.h"
#include "converter/pipeline/source_archive.h"
#include "platform/api/file_system.h"
#include "platform/api/path_problem.h"
#include "platform/api/text_codec.h"

namespace zeku {

namespace {

struct PlannedEntry {
    size_t source = 0;  // index into the source game's entries
};

struct FinishedEntry {
    bool ready = false;
    bool failed = false;
    std::string error;
    uint64_t sourceSize = 0;
    ConvertedEntry entry;
    bool trackWritten = false;
};

// The CD tracks of a run. They are claimed before the package's entries:
// each is long, so starting them first keeps every thread busy to the end.
struct TrackWork {
    std::string folder;
    std::string dataFolder;
    std::vector<TrackFile> files;
    WaveSettings wave;
    const Mp3EncoderLibrary* encoder = nullptr;
    const AudioFileReader* reader = nullptr;
};

// Hands out entries to the conversion threads and collects their results.
// At most `window` entries are in flight past the one the writer waits
// for, which bounds the memory a run holds. Tracks (indexes from `count`
// on) go first and outside the window: they hold their memory only while
// they are converted.
class ConversionQueue {
  public:
    ConversionQueue(size_t count, size_t trackCount, size_t window)
        : results_(count + trackCount), count_(count), trackCount_(trackCount), window_(window) {}

    // The next entry to convert, or false when there is none (or the run stops).
    bool claim(size_t& index) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!stopped_ && nextTrack_ < trackCount_) {
            index = count_ + nextTrack_++;
            return true;
        }
        changed_.wait(lock,
                      [&] { return stopped_ || next_ >= count_ || next_ < written_ + window_; });
        if (stopped_ || next_ >= count_) return false;
        index = next_++;
        return true;
    }

    void finish(size_t index, FinishedEntry result) {
        std::lock_guard<std::mutex> lock(mutex_);
        result.ready = true;
        results_[index] = std::move(result);
        changed_.notify_all();
    }

    // Waits for entry `index` and takes it, letting one more entry start.
    // A run stopped before the entry was converted gives a failed entry.
    FinishedEntry take(size_t index) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return results_[index].ready || stopped_; });
        if (!results_[index].ready) {
            FinishedEntry interrupted;
            interrupted.failed = true;
            interrupted.error = "the conversion was interrupted";
            return interrupted;
        }
        FinishedEntry result = std::move(results_[index]);
        results_[index] = FinishedEntry{};
        if (index < count_) written_ = index + 1;
        changed_.notify_all();
        return result;
    }

    void stop() {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<FinishedEntry> results_;
    size_t count_;
    size_t trackCount_;
    size_t window_;
    size_t nextTrack_ = 0;
    size_t next_ = 0;
    size_t written_ = 0;
    bool stopped_ = false;
};

std::string baseName(const std::string& name) {
    const size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

FinishedEntry convertTrack(const TrackWork& tracks, const TrackFile& track,
                           PackProgress& progress) {
    FinishedEntry result;
    progress.setCurrentName(utf8ToSjis(track.fileName));  // host names are UTF-8
    std::string error;
    if (convertTrackFile(tracks.folder + "/" + track.fileName,
                         tracks.dataFolder + "/" + trackOutputName(track.number), tracks.wave,
                         *tracks.encoder, *tracks.reader, error)) {
        result.trackWritten = true;
    } else {
        result.entry.warning = track.fileName + ": " + error + "; track " +
                               std::to_string(track.number) + " not converted";
    }
    progress.entriesDone.fetch_add(1);
    return result;
}

void convertEntries(const SourceGame& game, const std::vector<PlannedEntry>& plan,
                    const EntryConversionSettings& conversion, const TrackWork& tracks,
                    ConversionQueue& queue, PackProgress& progress) {
    LzssEncoder lzss;  // one per thread: the encoder keeps its tree in the object
    std::vector<uint8_t> source;
    size_t index = 0;
    while (queue.claim(index)) {
        // Tracks take seconds each: a cancel must not wait for all of them.
        if (progress.cancelRequested.load()) {
            queue.stop();
            return;
        }
        if (index >= plan.size()) {
            queue.finish(index, convertTrack(tracks, tracks.files[index - plan.size()], progress));
            continue;
        }
        const SourceEntry& sourceEntry = game.entries[plan[index].source];
        FinishedEntry result;
        progress.setCurrentName(baseName(sourceEntry.name));
        if (!readSourceEntry(game, plan[index].source, source, result.error)) {
            result.failed = true;
        } else {
            result.sourceSize = source.size();
            result.entry = convertEntry(sourceEntry.name, source, conversion, lzss);
            if (result.entry.skipped) {
                result.failed = true;
                result.error = result.entry.warning;
            }
        }
        source.clear();
        source.shrink_to_fit();
        queue.finish(index, std::move(result));
    }
}

// Entries that cannot go into the directory are left out before its size
// is fixed: names too long for it, and a second source that maps to a name
// already taken ("bg/full.png" and "bg/full.bmp" both become
// "bg/full.rbp"). The player reads the first entry of a name, so the first
// source keeps it and the other would be dead weight.
std::vector<PlannedEntry> planEntries(const SourceGame& game, std::vector<std::string>& warnings) {
    std::vector<PlannedEntry> plan;
    plan.reserve(game.entries.size());
    TextNameMap<size_t> owners;  // package name -> the source entry that has it
    for (size_t i = 0; i < game.entries.size(); ++i) {
        const std::string& name = game.entries[i].name;
        const std::string stored = packageNameFor(name, entryTreatmentFor(name));
        PackEntry probe;
        if (!setPackEntryName(probe, stored) || !setPackEntryName(probe, name)) {
            warnings.push_back(sjisToUtf8(name) +
                               ": name longer than 63 bytes in the package; skipped");
            continue;
        }
        const auto [owner, added] = owners.emplace(stored, i);
        if (!added) {
            warnings.push_back(sjisToUtf8(name) + ": its package name " + sjisToUtf8(stored) +
                               " is taken by " + sjisToUtf8(game.entries[owner->second].name) +
                               " before it, which the player would read instead; skipped");
            continue;
        }
        plan.push_back(PlannedEntry{i});
    }
    return plan;
}

// The track files of the folder, or false with the report's error when the
// folder cannot be listed or nothing can decode them.
bool planTrackWork(const PackWriterSettings& settings, TrackWork& tracks,
                   PackWriterReport& report) {
    const std::string& folder = settings.tracksFolder;
    if (settings.audioReader == nullptr || settings.encoder == nullptr) {
        report.error = folder + ": no sound decoder or MP3 encoder for the tracks";
        return false;
    }
    const std::string problem = folderProblem(folder);
    if (!problem.empty()) {
        report.error = folder + ": " + problem;
        return false;
    }
    std::vector<std::string> paths;
    if (!listFilesRecursively(folder, paths, report.error)) return false;
    // Only the folder itself: rips keep other discs and artwork below it.
    std::vector<std::string> names;
    for (const std::string& path : paths)
        if (path.find('/') == std::string::npos) names.push_back(path);
    TrackPlan plan = planTracks(names);
    for (std::string& warning : plan.warnings)
        report.warnings.push_back(std::move(warning));
    if (plan.tracks.empty()) report.warnings.push_back(folder + ": no track files found");
    tracks.folder = folder;
    tracks.dataFolder = settings.outputBase + "/data";
    tracks.files = std::move(plan.tracks);
    tracks.wave = settings.wave;
    tracks.encoder = settings.encoder;
    tracks.reader = settings.audioReader;
    return true;
}

PackWriterReport writePackage(const PackWriterSettings& settings, PackProgress& progress) {
    PackWriterReport report;
    report.packagePath = packagePathFor(settings.outputBase, settings.scalePercent);

    SourceGame game;
    if (!openSourceGame(settings.gameFolder, settings.key, game, report.error)) return report;
    report.key = game.key;

    TrackWork tracks;
    if (!settings.tracksFolder.empty() && !planTrackWork(settings, tracks, report)) return report;

    const std::vector<PlannedEntry> plan = planEntries(game, report.warnings);
    const size_t count = plan.size();
    const size_t trackCount = tracks.files.size();
    progress.entryCount.store(static_cast<int>(count + trackCount));

    std::string error;
    if (!makeDirectories(settings.outputBase + "/data", error)) {
        report.error = error;
        return report;
    }
    AtomicFileWriter file;
    if (!file.open(report.packagePath, error)) {
        report.error = error;
        return report;
    }
    // The header and directory are written last, once every size is known.
    const std::vector<uint8_t> reserved(packDirectoryEnd(static_cast<uint32_t>(count)), 0);
    bool written = file.write(reserved.data(), reserved.size());

    EntryConversionSettings conversion;
    conversion.scalePercent = settings.scalePercent;
    conversion.qualityItem = settings.qualityItem;
    conversion.wave = settings.wave;
    conversion.encoder = settings.encoder;
    conversion.audioReader = settings.audioReader;

    const size_t threads = std::clamp<size_t>(settings.jobs < 1 ? 1 : settings.jobs, 1, 64);
    ConversionQueue queue(count, trackCount, threads * 2);
    std::vector<std::thread> workers;
    for (size_t t = 0; t < std::min(threads, std::max<size_t>(count + trackCount, 1)); ++t)
        workers.emplace_back(convertEntries, std::cref(game), std::cref(plan),
                             std::cref(conversion), std::cref(tracks), std::ref(queue),
                             std::ref(progress));

    std::vector<PackEntry> entries;
    entries.reserve(count);
    uint64_t dataSize = 0;
    for (size_t i = 0; i < count && written; ++i) {
        if (progress.cancelRequested.load()) {
            report.error = "the conversion was interrupted";
            written = false;
            break;
        }
        FinishedEntry result = queue.take(i);
        if (result.failed) {
            report.error = result.error;
            written = false;
            break;
        }
        ConvertedEntry& converted = result.entry;
        PackEntry entry;
        setPackEntryName(entry, converted.name);
        entry.method = converted.method;
        entry.storedSize = static_cast<uint32_t>(converted.stored.size());
        entry.unpackedSize = converted.unpackedSize;
        dataSize += converted.stored.size();
        if (packDirectoryEnd(static_cast<uint32_t>(count)) + dataSize > UINT32_MAX) {
            report.error = report.packagePath + ": the package would reach 4 GiB";
            written = false;
            break;
        }
        written = file.write(converted.stored.data(), converted.stored.size());
        if (!converted.warning.empty()) report.warnings.push_back(converted.warning);
        entries.push_back(entry);
        report.bytesIn += result.sourceSize;
        progress.entriesDone.fetch_add(1);
    }
    // Every track was claimed before the first entry, so each one taken
    // here is finished or being finished.
    for (size_t t = 0; t < trackCount && written; ++t) {
        if (progress.cancelRequested.load()) {
            report.error = "the conversion was interrupted";
            written = false;
            break;
        }
        const FinishedEntry result = queue.take(count + t);
        if (result.failed) {
            report.error = result.error;
            written = false;
            break;
        }
        if (result.trackWritten) {
            ++report.tracks;
        } else {
            report.warnings.push_back(result.entry.warning);
        }
    }
    queue.stop();
    for (std::thread& worker : workers)
        worker.join();
    if (!written) {
        // A failed write keeps its reason ("No space left on device") with
        // the file; commit() refuses such a file and tells it. Otherwise the
        // temporary file goes with the writer.
        if (report.error.empty() && !file.commit(error))
            report.error = error.empty() ? "cannot write " + report.packagePath : error;
        return report;
    }

    std::vector<uint8_t> directory;
    if (!layOutPack(entries, directory)) {
        report.error = report.packagePath + ": the package would reach 4 GiB";
        return report;
    }
    file.writeAt(0, directory.data(), directory.size());  // a failure surfaces in commit()
    if (!file.commit(error)) {
        report.error = error.empty() ? "cannot write " + report.packagePath : error;
        return report;
    }
    report.ok = true;
    report.entries = static_cast<int>(count);
    report.bytesOut = directory.size() + dataSize;
    return report;
}

}  // namespace

std::string packagePathFor(const std::string& outputBase, int scalePercent) {
    return outputBase + (scalePercent == 80 ? "/data/pack_v.mlz" : "/data/pack.mlz");
}

PackWriterReport runPackWriter(const PackWriterSettings& settings, PackProgress& progress) {
    PackWriterReport report;
    if (!progress.done.load()) report = writePackage(settings, progress);
    progress.done.store(true);
    return report;
}

}  // namespace zeku
