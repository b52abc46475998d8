// CD-track commands turned into music-slot operations.
#include "player/sound/cdda_emulator.h"

#include "common/text/format_text.h"
#include "player/sound/sound_engine.h"

namespace zeku {

int CddaEmulator::setEnabled(SoundEngine& engine, bool enabled) {
    engine_ = &engine;
    if (enabled_ && playing_) engine.stopMusic();
    enabled_ = enabled;
    return 1;
}

int CddaEmulator::play(const char* name, const char* directory, int32_t volume, int32_t loop,
                       uint32_t nowMs) {
    stop();
    playing_ = true;
    name_ = name;
    if (enabled_ && engine_ != nullptr) {
        engine_->playMusic(name, directory, volume, loop);
        setVolume(volume);
    } else {
        startMs_ = nowMs;
    }
    return 1;
}

void CddaEmulator::stop() {
    name_.clear();
    playing_ = false;
    if (enabled_ && engine_ != nullptr) engine_->stopMusic();
}

int32_t CddaEmulator::position(uint32_t nowMs) {
    if (enabled_) {
        if (engine_ == nullptr) return -1;
        const int32_t ms = engine_->playingPositionMs(kMusicSlot);
        return ms < 0 ? -1 : ms / 10;
    }
    return static_cast<int32_t>((nowMs - startMs_) / 10);
}

void CddaEmulator::setVolume(int32_t volume) {
    if (enabled_ && engine_ != nullptr) engine_->setMusicVolume(volume);
}

std::string trackFileName(int32_t track) {
    char name[32];
    formatText(name, "track_%z2.wav", {FormatArg(track)});
    return replaceExtension(name, ".mp3");
}

}  // namespace zeku
