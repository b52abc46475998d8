// One loaded sound of the engine and the words the GUI thread and the mixer
// share through it. A slot is published `Stopped`; from then on the mixer
// owns `position` and the GUI thread only writes the atomic words.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "player/sound/wave_data.h"

namespace zeku {

enum class SlotState : int32_t { Stopped = 0, Playing = 1, StopRequested = 2 };

struct SoundSlot {
    int32_t sourceKind = 0;  // music only: 1 MP3 stream, 0 WAV stream
    WaveFormat sourceFormat{};
    // Output-format PCM: `length` bytes, allocated 8 bytes longer, zeroed.
    std::unique_ptr<int16_t[]> data;
    uint32_t length = 0;
    std::unique_ptr<uint8_t[]> sourceBuffer;  // music only
    uint32_t position = 0;                    // bytes into data; the mixer's
    std::atomic<int32_t> mixCounter{0};
    std::atomic<int32_t> volume{0};  // 0..100; 100 and above unscaled
    int32_t requestedVolume = 0;     // music only
    std::atomic<uint32_t> capturePosition{0};
    std::atomic<uint32_t> lastPosition{0};
    std::atomic<uint32_t> accumulator{0};
    std::atomic<SlotState> state{SlotState::Stopped};
    std::atomic<int32_t> loop{0};
    int32_t streamLoop = 0;  // music only: the track restarts at its end
};

}  // namespace zeku
