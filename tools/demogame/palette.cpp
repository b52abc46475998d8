// Median cut: boxes in 5-bit-per-channel space are split along their longest
// side at the median pixel until there are enough colours; each box's colour
// is the mean of the true 8-bit pixels that fell into it.
#include "tools/demogame/palette.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

namespace zeku::demo {
namespace {

constexpr int kBins = 32 * 32 * 32;

int binOf(int r, int g, int b) {
    return (r << 10) | (g << 5) | b;
}

struct Histogram {
    std::vector<uint32_t> count = std::vector<uint32_t>(kBins, 0);
    std::vector<std::array<uint64_t, 3>> sum = std::vector<std::array<uint64_t, 3>>(kBins);
};

struct Box {
    int low[3];
    int high[3];  // inclusive
    uint64_t pixels = 0;
};

// Shrinks the box to the bins that hold pixels and counts them.
void shrink(const Histogram& histogram, Box& box) {
    int low[3] = {31, 31, 31};
    int high[3] = {0, 0, 0};
    box.pixels = 0;
    for (int r = box.low[0]; r <= box.high[0]; ++r) {
        for (int g = box.low[1]; g <= box.high[1]; ++g) {
            for (int b = box.low[2]; b <= box.high[2]; ++b) {
                const uint32_t n = histogram.count[binOf(r, g, b)];
                if (n == 0) continue;
                box.pixels += n;
                const int c[3] = {r, g, b};
                for (int k = 0; k < 3; ++k) {
                    low[k] = std::min(low[k], c[k]);
                    high[k] = std::max(high[k], c[k]);
                }
            }
        }
    }
    if (box.pixels == 0) return;
    for (int k = 0; k < 3; ++k) {
        box.low[k] = low[k];
        box.high[k] = high[k];
    }
}

// Pixels in the slice of `box` where channel `axis` equals `value`.
uint64_t sliceCount(const Histogram& histogram, const Box& box, int axis, int value) {
    uint64_t total = 0;
    int from[3] = {box.low[0], box.low[1], box.low[2]};
    int to[3] = {box.high[0], box.high[1], box.high[2]};
    from[axis] = to[axis] = value;
    for (int r = from[0]; r <= to[0]; ++r) {
        for (int g = from[1]; g <= to[1]; ++g) {
            for (int b = from[2]; b <= to[2]; ++b)
                total += histogram.count[binOf(r, g, b)];
        }
    }
    return total;
}

bool split(const Histogram& histogram, Box& box, Box& second) {
    int axis = 0;
    for (int k = 1; k < 3; ++k) {
        if (box.high[k] - box.low[k] > box.high[axis] - box.low[axis]) axis = k;
    }
    if (box.high[axis] == box.low[axis]) return false;
    // The cut leaves at least one slice on each side.
    uint64_t below = 0;
    int cut = box.low[axis];
    for (; cut < box.high[axis] - 1; ++cut) {
        below += sliceCount(histogram, box, axis, cut);
        if (below * 2 >= box.pixels) break;
    }
    second = box;
    box.high[axis] = cut;
    second.low[axis] = cut + 1;
    shrink(histogram, box);
    shrink(histogram, second);
    return true;
}

}  // namespace

IndexedPicture quantizeMedianCut(int width, int height, const uint8_t* rgb, int maxColours) {
    const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    Histogram histogram;
    for (size_t i = 0; i < pixelCount; ++i) {
        const uint8_t* p = rgb + i * 3;
        const int bin = binOf(p[0] >> 3, p[1] >> 3, p[2] >> 3);
        ++histogram.count[bin];
        for (int k = 0; k < 3; ++k)
            histogram.sum[bin][k] += p[k];
    }

    std::vector<Box> boxes(1, Box{{0, 0, 0}, {31, 31, 31}, 0});
    shrink(histogram, boxes[0]);
    while (static_cast<int>(boxes.size()) < maxColours) {
        // Split the most populous box that can still be split.
        int chosen = -1;
        for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
            const Box& b = boxes[i];
            const bool splittable =
                b.high[0] > b.low[0] || b.high[1] > b.low[1] || b.high[2] > b.low[2];
            if (splittable && (chosen < 0 || b.pixels > boxes[chosen].pixels)) chosen = i;
        }
        if (chosen < 0) break;
        Box second{};
        if (!split(histogram, boxes[chosen], second)) break;
        boxes.push_back(second);
    }

    IndexedPicture result;
    result.paletteCount = static_cast<int>(boxes.size());
    result.paletteRgb.resize(boxes.size() * 3);
    std::vector<uint8_t> binIndex(kBins, 0);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& box = boxes[i];
        uint64_t total[3] = {0, 0, 0};
        uint64_t pixels = 0;
        for (int r = box.low[0]; r <= box.high[0]; ++r) {
            for (int g = box.low[1]; g <= box.high[1]; ++g) {
                for (int b = box.low[2]; b <= box.high[2]; ++b) {
                    const int bin = binOf(r, g, b);
                    binIndex[bin] = static_cast<uint8_t>(i);
                    pixels += histogram.count[bin];
                    for (int k = 0; k < 3; ++k)
                        total[k] += histogram.sum[bin][k];
                }
            }
        }
        for (int k = 0; k < 3; ++k) {
            result.paletteRgb[i * 3 + k] =
                static_cast<uint8_t>(pixels == 0 ? 0 : (total[k] + pixels / 2) / pixels);
        }
    }
    result.indices.resize(pixelCount);
    for (size_t i = 0; i < pixelCount; ++i) {
        const uint8_t* p = rgb + i * 3;
        result.indices[i] = binIndex[binOf(p[0] >> 3, p[1] >> 3, p[2] >> 3)];
    }
    return result;
}

}  // namespace zeku::demo
