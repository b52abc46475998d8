// The converter's dialog state: defaults, start checks, job and progress.
#include "converter/app/convert_dialog.h"

#include <array>
#include <iterator>

#include "common/text/format_text.h"
#include "converter/app/dialog_texts.h"
#include "platform/api/audio_file_reader.h"
#include "platform/api/file_system.h"
#include "platform/api/path_problem.h"

namespace zeku {

namespace {

// The game folder keeps 1024 bytes with its terminator, the output base 1023.
constexpr size_t kGameFolderMax = 1023;
constexpr size_t kOutputBaseMax = 1022;

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool inRange(int index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count;
}

// Why the folder check failed: the folder itself, or what stands where
// "kumo.exe" should be. Paths are the host's bytes, as given.
std::string folderRefusal(const std::string& folder) {
    const std::string problem = folderProblem(folder);
    if (!problem.empty()) return folder + ": " + problem;
    const std::string program = (folder.back() == '/' ? folder : folder + "/") + "kumo.exe";
    if (pathExists(program)) {
        const std::string why = fileProblem(program);
        if (!why.empty()) return program + ": " + why;
    }
    return folder + ": no kumo.exe in this folder";
}

}  // namespace

ConvertDialog::ConvertDialog() = default;

ConvertDialog::~ConvertDialog() {
    // Closing the dialog stops the run and waits for it, so no half-written
    // package is left behind.
    if (job_) {
        cancel();
        finishConvertJob(*job_);
    }
}

void ConvertDialog::cancel() {
    if (job_) job_->progress.cancelRequested.store(true);
}

void ConvertDialog::open(const std::string& currentDirectory, const std::string& encoderPath) {
    gameFolder_.clear();
    setOutputBase(currentDirectory);
    bitrateIndex_ = 3;
    rateIndex_ = 0;
    stereo_ = true;
    resolutionIndex_ = 0;
    qualityIndex_ = 0;
    encoder_.open(encoderPath);
    const std::string version = encoder_.versionText();
    encoderPresent_ = !version.empty();
    encoderLine_ = encoder_.libraryName() + kEncoderLineSeparator + version;
}

bool ConvertDialog::setGameFolder(const std::string& folder) {
    std::string trimmed = withoutTrailingSlash(folder);
    if (trimmed.size() > kGameFolderMax) return false;
    gameFolder_ = std::move(trimmed);
    return true;
}

bool ConvertDialog::setOutputBase(const std::string& folder) {
    std::string trimmed = withoutTrailingSlash(folder);
    if (trimmed.size() > kOutputBaseMax) return false;
    outputBase_ = std::move(trimmed);
    return true;
}

bool ConvertDialog::selectBitrate(int index) {
    if (!inRange(index, std::size(kBitrateItems))) return false;
    bitrateIndex_ = index;
    return true;
}

bool ConvertDialog::selectRate(int index) {
    if (!inRange(index, std::size(kRateItems))) return false;
    rateIndex_ = index;
    return true;
}

bool ConvertDialog::selectResolution(int index) {
    if (!inRange(index, std::size(kResolutionItems))) return false;
    resolutionIndex_ = index;
    return true;
}

bool ConvertDialog::selectQuality(int index) {
    if (!inRange(index, kQualityItemCount)) return false;
    qualityIndex_ = index;
    return true;
}

StartOutcome ConvertDialog::start(DialogMessage& message) {
    if (gameFolder_.empty() || job_) return StartOutcome::kNothing;
    if (!encoderPresent_) {
        message.text = "<< " + encoder_.libraryName() + " " + kEncoderMissingTail;
        message.caption = kEncoderMissingCaption;
        message.detail = encoder_.libraryName() + ": " + encoder_.openError();
        return StartOutcome::kRefused;
    }
    if (findFileIgnoringCase(gameFolder_, "kumo.exe").empty()) {
        message.text = kFolderMessage;
        message.caption = kFolderCaption;
        message.detail = folderRefusal(gameFolder_);
        return StartOutcome::kRefused;
    }

    job_ = std::make_unique<ConvertJob>();
    PackWriterSettings& settings = job_->settings;
    settings.gameFolder = gameFolder_;
    settings.outputBase = outputBase_;
    settings.key = key_;
    settings.scalePercent = resolutionIndex_ == 1 ? 80 : 40;
    settings.qualityItem = qualityIndex_;
    settings.wave.bitrateIndex = bitrateIndex_;
    settings.wave.rate44 = rateIndex_ == 1;
    settings.wave.stereo = stereo_;
    settings.encoder = &encoder_;
    settings.jobs = jobs_;
    settings.audioReader = &hostAudioFileReader();
    settings.tracksFolder = tracksFolder_;
    startConvertJob(*job_);
    return StartOutcome::kStarted;
}

bool ConvertDialog::tick(std::string& progressLine, PackWriterReport& finished) {
    if (!job_) return false;
    if (job_->progress.done.load()) {
        progressLine.clear();
        finishConvertJob(*job_);
        finished = std::move(job_->report);
        job_.reset();
        return true;
    }
    progressLine = progressLineFor(job_->progress.entriesDone.load(),
                                   job_->progress.entryCount.load(), job_->progress.currentName());
    return false;
}

std::string progressLineFor(int done, int count, const std::string& name) {
    std::array<char, 512> line{};
    formatText(line.data(), line.size(), kProgressFormat, {done, count, name.c_str()});
    return line.data();
}

}  // namespace zeku
