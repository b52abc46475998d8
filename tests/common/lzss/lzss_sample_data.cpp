// Generators of the LZSS sample inputs; see the header for what each one imitates.
#include "tests/common/lzss/lzss_sample_data.h"

#include <algorithm>
#include <string>

namespace zeku {

uint64_t SampleRandom::next() {
    // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::vector<uint8_t> sampleText(size_t size, uint64_t seed) {
    SampleRandom rng(seed);
    std::vector<std::string> words;
    for (int w = 0; w < 300; ++w) {
        std::string word;
        const int syllables = 1 + static_cast<int>(rng.below(4));
        for (int k = 0; k < syllables; ++k) {
            if (w % 3 == 0) {
                word += "kstnhmyrw"[rng.below(9)];
                word += "aiueo"[rng.below(5)];
            } else {
                word += static_cast<char>(0x82);  // hiragana lead byte
                word += static_cast<char>(0x9F + rng.below(0x52));
            }
        }
        words.push_back(word);
    }
    std::vector<uint8_t> out;
    out.reserve(size + 200);
    int label = 0;
    while (out.size() < size) {
        std::string line;
        switch (rng.below(8)) {
            case 0:
                line = "*label_" + std::to_string(label++);
                break;
            case 1:
                line = "bg \"cg" + std::to_string(rng.below(40)) + ".rbp\"," +
                       std::to_string(rng.below(10));
                break;
            default: {
                // Skewed word choice: a few words are common, most are rare.
                const int count = 3 + static_cast<int>(rng.below(12));
                for (int k = 0; k < count; ++k) {
                    line += words[rng.below(300) * rng.below(300) / 300];
                    if (k % 5 == 4) line += "\x81\x41";  // ideographic comma
                }
                line += "\x81\x42\\";
            }
        }
        line += "\r\n";
        out.insert(out.end(), line.begin(), line.end());
    }
    out.resize(size);
    return out;
}

std::vector<uint8_t> samplePicture(size_t size, uint64_t seed) {
    SampleRandom rng(seed);
    constexpr uint32_t kWidth = 320;
    std::vector<uint8_t> out(size);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint32_t x = static_cast<uint32_t>((i / 2) % kWidth);
        const uint32_t y = static_cast<uint32_t>((i / 2) / kWidth);
        uint32_t r;
        uint32_t g;
        uint32_t b;
        if (x < 80) {  // flat backdrop
            r = 4;
            g = 40;
            b = 20;
        } else {
            r = (x + y) * 32 / (kWidth + 512) % 32;
            g = (y * 2 + x / 4) % 64;
            b = 31 - x * 32 / kWidth;
            if (rng.below(4) == 0) g ^= 1;
            if (x > 240 && rng.below(2) == 0) b ^= rng.below(4);
        }
        const uint16_t pixel = static_cast<uint16_t>((r << 11) | (g << 5) | b);
        out[i] = static_cast<uint8_t>(pixel);
        out[i + 1] = static_cast<uint8_t>(pixel >> 8);
    }
    return out;
}

std::vector<uint8_t> sampleNoise(size_t size, uint64_t seed) {
    SampleRandom rng(seed);
    std::vector<uint8_t> out(size);
    for (auto& b : out)
        b = static_cast<uint8_t>(rng.next() >> 56);
    return out;
}

std::vector<uint8_t> sampleRuns(size_t size, uint64_t seed) {
    SampleRandom rng(seed);
    std::vector<uint8_t> out;
    out.reserve(size);
    while (out.size() < size) {
        const uint8_t value = rng.below(2) == 0 ? 0 : static_cast<uint8_t>(rng.next());
        const size_t run = std::min<size_t>(1 + rng.below(3000), size - out.size());
        out.insert(out.end(), run, value);
    }
    return out;
}

std::vector<uint8_t> sampleFarRepeats(size_t size, uint64_t seed) {
    SampleRandom rng(seed);
    std::vector<uint8_t> out = sampleNoise(std::min<size_t>(size, 2100), seed);
    while (out.size() < size) {
        const size_t distance = 2000 + rng.below(61);
        const size_t length = 1 + rng.below(40);
        for (size_t k = 0; k < length && out.size() < size; ++k) {
            out.push_back(out[out.size() - distance]);
        }
        for (uint32_t k = rng.below(8); k > 0 && out.size() < size; --k) {
            out.push_back(static_cast<uint8_t>(rng.next()));
        }
    }
    return out;
}

std::vector<uint8_t> sampleMix(size_t size, uint64_t seed) {
    SampleRandom rng(seed);
    std::vector<uint8_t> out;
    out.reserve(size);
    while (out.size() < size) {
        const size_t chunk = std::min<size_t>(100 + rng.below(9000), size - out.size());
        const uint64_t chunkSeed = rng.next();
        std::vector<uint8_t> part;
        switch (rng.below(5)) {
            case 0:
                part = sampleText(chunk, chunkSeed);
                break;
            case 1:
                part = samplePicture(chunk, chunkSeed);
                break;
            case 2:
                part = sampleNoise(chunk, chunkSeed);
                break;
            case 3:
                part = sampleRuns(chunk, chunkSeed);
                break;
            default:
                part = sampleFarRepeats(chunk, chunkSeed);
                break;
        }
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

}  // namespace zeku
