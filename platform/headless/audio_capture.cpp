// The capture copies in the device's thread; the vector grows a minute at a
// time, so the callback seldom allocates.
#include "platform/headless/audio_capture.h"

#include <algorithm>

#include "common/bytes/byte_writer.h"
#include "common/sound/wav_header.h"
#include "platform/api/file_system.h"

namespace zeku {
namespace {

constexpr size_t kMinuteBytes = 88200 * 60;

}  // namespace

bool CapturingAudioDevice::open(AudioClient& client, uint32_t bufferBytes) {
    bufferBytes_ = bufferBytes;
    pcm_.clear();
    pcm_.reserve(kMinuteBytes);
    return inner_.open(client, bufferBytes);
}

void CapturingAudioDevice::queue(int index, const uint8_t* data) {
    if (pcm_.capacity() - pcm_.size() < bufferBytes_) pcm_.reserve(pcm_.capacity() + kMinuteBytes);
    pcm_.insert(pcm_.end(), data, data + bufferBytes_);
    inner_.queue(index, data);
}

bool writeCapturedWav(const std::string& path, const std::vector<uint8_t>& pcm,
                      std::string& error) {
    if (pcm.size() > 0xFFFFFFFFu - kCanonicalWavHeaderBytes) {
        error = "more sound than one WAV file can hold";
        return false;
    }
    std::vector<uint8_t> file(kCanonicalWavHeaderBytes + pcm.size());
    CanonicalWavHeader header;
    header.dataBytes = static_cast<uint32_t>(pcm.size());
    header.riffSize = 36 + header.dataBytes;
    ByteWriter writer(file.data(), kCanonicalWavHeaderBytes);
    syncCanonicalWavHeader(writer, static_cast<const CanonicalWavHeader&>(header));
    std::copy(pcm.begin(), pcm.end(), file.begin() + kCanonicalWavHeaderBytes);
    const uint32_t size = static_cast<uint32_t>(file.size());
    if (writeFileRange(path.c_str(), file.data(), kFileStart, 0, size, kWriteReplace) != size) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace zeku
