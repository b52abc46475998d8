// Time to bytes in whole frames: 22050 frames of 4 bytes per second.
#include "platform/headless/headless_audio.h"

namespace zeku {

bool HeadlessAudioDevice::open(AudioClient& client, uint32_t bufferBytes) {
    client_ = &client;
    bufferBytes_ = bufferBytes;
    head_ = count_ = 0;
    started_ = false;
    handedBack_ = elapsedBytes_ = 0;
    return bufferBytes > 0;
}

void HeadlessAudioDevice::queue(int index, const uint8_t*) {
    if (count_ >= kRing) return;
    ring_[(head_ + count_) % kRing] = index;
    ++count_;
}

void HeadlessAudioDevice::start() {
    started_ = true;
    startMs_ = clock_.nowMs();
}

uint32_t HeadlessAudioDevice::positionBytes() {
    // Only what the queued buffers cover has been played.
    const uint64_t covered = handedBack_ + (count_ > 0 ? bufferBytes_ : 0);
    return static_cast<uint32_t>(elapsedBytes_ < covered ? elapsedBytes_ : covered);
}

void HeadlessAudioDevice::pump() {
    if (!started_ || client_ == nullptr || pumping_) return;
    pumping_ = true;
    const uint64_t elapsedMs = static_cast<uint32_t>(clock_.nowMs() - startMs_);
    elapsedBytes_ = elapsedMs * 22050 / 1000 * 4;
    while (count_ > 0 && elapsedBytes_ >= handedBack_ + bufferBytes_) {
        const int index = ring_[head_];
        head_ = (head_ + 1) % kRing;
        --count_;
        handedBack_ += bufferBytes_;
        client_->bufferDone(index);
    }
    pumping_ = false;
}

void HeadlessAudioDevice::close() {
    started_ = false;
    client_ = nullptr;
    count_ = 0;
}

}  // namespace zeku
