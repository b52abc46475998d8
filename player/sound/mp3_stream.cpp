// Frame-by-frame decoding through the overlay. Every frame is copied into
// the stream's own frame buffer first, so the decoder never sees bytes past
// the end of the image, and every size the overlay reports is bounded here.
#include "player/sound/mp3_stream.h"

#include <cstring>

#include "common/bytes/byte_buffer.h"

namespace zeku {

int Mp3Stream::openMemory(const uint8_t* image, size_t size) {
    close();
    if (image == nullptr) return 1;
    return openImage(image, 0, size);
}

int Mp3Stream::openFile(const char* path, size_t startOffset, size_t size) {
    close();
    view_ = MappedView::map(path);
    if (!view_ || startOffset > view_.size()) {
        view_.unmap();
        return 1;
    }
    if (size == 0 || size > view_.size() - startOffset) size = view_.size() - startOffset;
    const int result = openImage(view_.data(), startOffset, size);
    if (result != 0) view_.unmap();
    return result;
}

int Mp3Stream::openImage(const uint8_t* base, size_t start, size_t size) {
    ended_ = false;
    if (overlay_ == nullptr || !overlay_->loaded()) return 1;
    const uint8_t* image = base + start;
    if (size > 127 && std::memcmp(image + size - 128, "TAG", 3) == 0) size -= 128;
    size_t audioStart = start;
    if (size >= 10 && std::memcmp(image, "ID3", 3) == 0) {
        const size_t tagSize = size_t(image[6] & 0x7F) << 21 | size_t(image[7] & 0x7F) << 14 |
                               size_t(image[8] & 0x7F) << 7 | size_t(image[9] & 0x7F);
        audioStart += 10 + tagSize;
    }
    const size_t end = start + size;
    // The decoder is created from the first frame's four header bytes.
    if (end < 4 || audioStart > end - 4) return 1;
    base_ = base;
    end_ = end;
    audioStart_ = audioStart;
    current_ = audioStart;
    std::memcpy(frame_, base + audioStart, 4);
    decoder_ = overlay_->create(frame_);
    if (decoder_ == nullptr) {
        base_ = nullptr;
        return 1;
    }
    const uint32_t channels =
        loadLe16(static_cast<const uint8_t*>(decoder_) + kDecoderChannelsOffset);
    const uint32_t rate = decoderField32(kDecoderSampleRateOffset);
    // Anything but one or two channels is not a stream this player can mix.
    if ((channels != 1 && channels != 2) || rate == 0) {
        close();
        return 1;
    }
    format_ = WaveFormat{1,
                         static_cast<uint16_t>(channels),
                         rate,
                         rate * channels * 2,
                         static_cast<uint16_t>(channels * 2),
                         16,
                         0};
    leftoverRead_ = leftoverEnd_ = 0;
    return 0;
}

uint32_t Mp3Stream::decoderField32(int offset) const {
    return loadLe32(static_cast<const uint8_t*>(decoder_) + offset);
}

size_t Mp3Stream::read(uint8_t* out, size_t want, bool loop) {
    size_t sum = 0;
    if (leftoverEnd_ > leftoverRead_) {
        const size_t kept = leftoverEnd_ - leftoverRead_;
        if (kept >= want) {
            std::memcpy(out, leftover_ + leftoverRead_, want);
            leftoverRead_ += want;
            return want;
        }
        std::memcpy(out, leftover_ + leftoverRead_, kept);
        leftoverRead_ = leftoverEnd_ = 0;
        sum = kept;
    }
    if (decoder_ == nullptr) {
        ended_ = true;
        return sum;
    }
    // A looping stream whose first frame fails would rewind for ever: a
    // failure with nothing decoded since the last rewind ends it instead.
    bool decodedSinceRewind = true;
    while (sum < want) {
        size_t produced = 0;
        bool failed = end_ - current_ < 4;
        if (!failed) {
            std::memcpy(frame_, base_ + current_, 4);
            failed = overlay_->predecode(decoder_, frame_) != 0;
        }
        size_t length = 0;
        if (!failed) {
            length = decoderField32(kDecoderFrameLengthOffset);
            if (length > end_ - current_) length = end_ - current_;
            failed = length < 4 || length > sizeof(frame_);
        }
        if (!failed) {
            std::memcpy(frame_, base_ + current_, length);
            const int frames =
                overlay_->decode(decoder_, decoded_, frame_, static_cast<int>(length));
            produced = frames > 0 ? size_t(frames) * format_.blockAlign : 0;
            if (produced > kDecodedFrameBytes) produced = kDecodedFrameBytes;
            failed = produced == 0;
        }
        if (failed) {
            if (!loop || !decodedSinceRewind) {
                ended_ = true;
                return sum;
            }
            rewind();
            decodedSinceRewind = false;
            continue;
        }
        current_ += length;
        decodedSinceRewind = true;
        std::memcpy(out + sum, decoded_, produced);
        sum += produced;
    }
    if (sum > want) {
        leftoverEnd_ = sum - want;
        leftoverRead_ = 0;
        std::memcpy(leftover_, out + want, leftoverEnd_);
        return want;
    }
    return sum;
}

uint64_t Mp3Stream::estimate() {
    if (decoder_ == nullptr) return 0;
    const uint32_t kbps = decoderField32(kDecoderBitrateOffset);
    durationMs_ = kbps == 0 ? 0 : static_cast<uint32_t>(uint64_t(end_) * 8 / kbps);
    return uint64_t(format_.bytesPerSecond) * (durationMs_ / 1000 + 1);
}

void Mp3Stream::rewind() {
    ended_ = false;
    current_ = audioStart_;
}

void Mp3Stream::close() {
    if (decoder_ != nullptr && overlay_ != nullptr && overlay_->destroy != nullptr) {
        overlay_->destroy(decoder_);
    }
    decoder_ = nullptr;
    view_.unmap();
    base_ = nullptr;
    ended_ = false;
    leftoverRead_ = leftoverEnd_ = 0;
}

}  // namespace zeku
