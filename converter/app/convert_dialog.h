// The converter's dialog as state and rules, without a window: the
// settings with their defaults, the start checks, the running job and the
// progress line. The terminal front end drives it now; a window front end
// can drive the same object later.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "converter/app/convert_job.h"
#include "converter/pipeline/wave_conversion.h"

namespace zeku {

// Item texts of the drop-down lists, in order (ASCII, shown as they are).
inline constexpr const char* kBitrateItems[] = {
    "16/8kbit",    "32/16kbit",   "48/24kbit",  "64/32kbit",  "80/40kbit",
    "96/48kbit",   "112/56kbit",  "128/64kbit", "160/80kbit", "192/96kbit",
    "224/112kbit", "256/128kbit", "320/160kbit"};
inline constexpr const char* kRateItems[] = {"22.05kHz", "44.10kHz"};
inline constexpr const char* kResolutionItems[] = {"320*240", "640*480"};
inline constexpr int kQualityItemCount = 4;

// A warning box: text and caption in Shift-JIS, as the dialog shows them.
// The box's fixed text names no path and no cause; `detail` gives both in
// one line (English; paths as the host spells them) for a front end that
// can show more.
struct DialogMessage {
    std::string text;
    std::string caption;
    std::string detail;
};

enum class StartOutcome { kNothing, kRefused, kStarted };

class ConvertDialog {
  public:
    ConvertDialog();
    ~ConvertDialog();
    ConvertDialog(const ConvertDialog&) = delete;
    ConvertDialog& operator=(const ConvertDialog&) = delete;

    // The dialog opening: output base = `currentDirectory`, defaults
    // selected, the MP3 encoder looked for (`encoderPath` empty: the usual
    // places) and its line set.
    void open(const std::string& currentDirectory, const std::string& encoderPath);

    // The game folder, kept without a trailing "/" (1024 bytes at most;
    // false, unchanged, for a longer one).
    bool setGameFolder(const std::string& folder);
    bool setOutputBase(const std::string& folder);
    // List selections; false (unchanged) for an index outside the list.
    bool selectBitrate(int index);
    bool selectRate(int index);
    bool selectResolution(int index);
    bool selectQuality(int index);
    void setStereo(bool stereo) { stereo_ = stereo; }
    void toggleStereo() { stereo_ = !stereo_; }
    // Beyond the dialog: the archives' key (detected when absent) and the
    // number of conversion threads.
    void setKey(std::optional<uint8_t> key) { key_ = key; }
    void setJobs(int jobs) { jobs_ = jobs < 1 ? 1 : jobs; }
    // The folder of the game's ripped CD tracks, converted beside the
    // package; empty: none.
    void setTracksFolder(const std::string& folder) { tracksFolder_ = folder; }

    const std::string& gameFolder() const { return gameFolder_; }
    const std::string& outputBase() const { return outputBase_; }
    int bitrateIndex() const { return bitrateIndex_; }
    int rateIndex() const { return rateIndex_; }
    int resolutionIndex() const { return resolutionIndex_; }
    int qualityIndex() const { return qualityIndex_; }
    bool stereo() const { return stereo_; }
    const std::string& tracksFolder() const { return tracksFolder_; }
    bool encoderPresent() const { return encoderPresent_; }
    // "<library> : <version text>" (Shift-JIS; ASCII in practice).
    const std::string& encoderLine() const { return encoderLine_; }
    bool startEnabled() const { return job_ == nullptr; }

    // The start button: checks in order (no folder: nothing; no encoder;
    // no "kumo.exe"), then creates the job and its thread.
    StartOutcome start(DialogMessage& message);

    // The 100 ms timer. While a job runs, `progressLine` gets the progress
    // text (Shift-JIS); when the job has finished, the line is cleared, the
    // thread joined, the report handed out and true returned.
    bool tick(std::string& progressLine, PackWriterReport& finished);

    // Asks a running job to stop; the next tick ends it without a package.
    void cancel();

    // The running job's progress, for a front end's own display.
    const PackProgress* progress() const { return job_ ? &job_->progress : nullptr; }

  private:
    std::string gameFolder_;
    std::string outputBase_;
    int bitrateIndex_ = 3;
    int rateIndex_ = 0;
    bool stereo_ = true;
    int resolutionIndex_ = 0;
    int qualityIndex_ = 0;
    std::optional<uint8_t> key_;
    int jobs_ = 1;
    std::string tracksFolder_;
    bool encoderPresent_ = false;
    std::string encoderLine_;
    Mp3EncoderLibrary encoder_;
    std::unique_ptr<ConvertJob> job_;
};

// The progress line "変換データ数：%d / %d (%s)" in Shift-JIS.
std::string progressLineFor(int done, int count, const std::string& name);

}  // namespace zeku
