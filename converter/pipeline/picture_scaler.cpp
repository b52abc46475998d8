// The area-average scaler. The weights of every output position depend
// only on the two side lengths, so each axis lists them once (which source
// pixels, what weight, the total) before any pixel is touched.
#include "converter/pipeline/picture_scaler.h"

#include <algorithm>
#include <climits>

namespace zeku {

namespace {

// Division of sum × 1024 by a total that stays the same for a whole
// output position (or row), done as a multiplication and a shift. With
// n = sum × 1024 ≤ 255 × total (each term is at most 255 × weight / 1024),
// m = ceil(2^s / total) and 2^s ≥ 256 × total², the error n × (m × total
// − 2^s) / 2^s stays below 1 and the quotient is exact. Totals from 2^20
// up (a side shrunk more than a thousandfold) divide the slow way.
struct Divider {
    uint64_t multiplier = 0;  // 0: total 0, the output is black
    int shift = 0;
    uint32_t total = 0;
};

constexpr uint32_t kLargestFastTotal = 1u << 20;

Divider dividerFor(uint32_t total) {
    Divider d;
    d.total = total;
    if (total == 0 || total >= kLargestFastTotal) return d;
    int bits = 0;
    while ((uint64_t{1} << bits) < total)
        ++bits;
    d.shift = 8 + 2 * bits;
    d.multiplier = ((uint64_t{1} << d.shift) + total - 1) / total;
    return d;
}

inline uint8_t average(uint32_t sum, const Divider& d) {
    if (d.multiplier != 0)
        return static_cast<uint8_t>((uint64_t{sum} << 10) * d.multiplier >> d.shift);
    if (d.total == 0) return 0;
    return static_cast<uint8_t>((uint64_t{sum} << 10) / d.total);
}

// Every term of one axis: output position o averages the source pixels
// source[first[o]] .. source[first[o + 1] - 1] with their weights.
struct AxisPlan {
    std::vector<uint32_t> first;
    std::vector<int> source;
    std::vector<uint32_t> weight;
    std::vector<Divider> divider;
};

// The span of output position o starts at o × step in 1/1024 pixel. It
// visits n = ceil(step / 1024) pixels from the one holding its start: the
// first weighs what is left of that pixel (at most the step), each next
// one at most 1024 of what remains of the step. Pixels past the side
// weigh nothing. A span that starts mid-pixel can need one pixel more
// than n; that remainder is left out on purpose, since these exact
// weights define what a converted picture looks like.
AxisPlan planAxis(int sourceSide, int outSide) {
    AxisPlan plan;
    const int64_t step = int64_t{sourceSide} * 1024 / outSide;
    const int64_t visits = (step >> 10) + ((step & 1023) != 0 ? 1 : 0);
    plan.first.reserve(static_cast<size_t>(outSide) + 1);
    plan.divider.reserve(static_cast<size_t>(outSide));
    for (int o = 0; o < outSide; ++o) {
        plan.first.push_back(static_cast<uint32_t>(plan.source.size()));
        const int64_t start = int64_t{o} * step;
        const int64_t firstPixel = start >> 10;
        int64_t remaining = step;
        uint32_t total = 0;
        for (int64_t i = 0; i < visits; ++i) {
            const int64_t weight = i == 0 ? std::min<int64_t>(1024 - (start & 1023), remaining)
                                          : std::min<int64_t>(1024, remaining);
            remaining -= weight;
            const int64_t pixel = firstPixel + i;
            if (pixel >= sourceSide || weight == 0) continue;
            plan.source.push_back(static_cast<int>(pixel));
            plan.weight.push_back(static_cast<uint32_t>(weight));
            total += static_cast<uint32_t>(weight);
        }
        plan.divider.push_back(dividerFor(total));
    }
    plan.first.push_back(static_cast<uint32_t>(plan.source.size()));
    return plan;
}

// One source row to the new width.
template <int kChannels>
void scaleRow(const uint8_t* src, const AxisPlan& plan, int width, uint8_t* dst) {
    for (int x = 0; x < width; ++x, dst += kChannels) {
        uint32_t sum[kChannels] = {};
        for (uint32_t t = plan.first[x]; t < plan.first[x + 1]; ++t) {
            const uint8_t* p = src + static_cast<size_t>(plan.source[t]) * kChannels;
            const uint32_t w = plan.weight[t];
            for (int c = 0; c < kChannels; ++c)
                sum[c] += (w * p[c]) >> 10;
        }
        for (int c = 0; c < kChannels; ++c)
            dst[c] = average(sum[c], plan.divider[x]);
    }
}

// One output row from the rows of its span, whole rows at a time so the
// inner loops run over contiguous bytes; each column's sum is the same as
// when taken column by column.
void blendRows(const uint8_t* const* rows, const AxisPlan& plan, int y, size_t rowBytes,
               uint32_t* acc, uint8_t* dst) {
    std::fill(acc, acc + rowBytes, 0u);
    for (uint32_t t = plan.first[y]; t < plan.first[y + 1]; ++t) {
        const uint8_t* src = rows[t - plan.first[y]];
        const uint32_t w = plan.weight[t];
        for (size_t i = 0; i < rowBytes; ++i)
            acc[i] += (w * src[i]) >> 10;
    }
    const Divider divider = plan.divider[y];
    if (divider.multiplier != 0) {
        for (size_t i = 0; i < rowBytes; ++i)
            dst[i] = static_cast<uint8_t>((uint64_t{acc[i]} << 10) * divider.multiplier >>
                                          divider.shift);
    } else {
        for (size_t i = 0; i < rowBytes; ++i)
            dst[i] = average(acc[i], divider);
    }
}

// Both passes, streamed: the rows pass fills a small ring of scaled rows
// just ahead of the columns pass, so no picture-sized intermediate is
// allocated (and faulted in) and the rows stay in cache. Spans move down
// monotonically and cover consecutive rows, so a ring as deep as the
// widest span never overwrites a row still needed.
template <int kChannels>
void scaleBoth(const ConverterPicture& in, ConverterPicture& out) {
    const AxisPlan across = planAxis(in.width, out.width);
    const AxisPlan down = planAxis(in.height, out.height);
    size_t depth = 1;
    for (int y = 0; y < out.height; ++y) {
        const uint32_t first = down.first[y], end = down.first[y + 1];
        if (end > first)
            depth = std::max<size_t>(depth, down.source[end - 1] - down.source[first] + 1);
    }
    const size_t rowBytes = static_cast<size_t>(out.width) * kChannels;
    std::vector<uint8_t> ring(depth * rowBytes);
    std::vector<uint32_t> acc(rowBytes);
    std::vector<const uint8_t*> rows;
    int ready = 0;  // source rows scaled so far, in order
    for (int y = 0; y < out.height; ++y) {
        rows.clear();
        for (uint32_t t = down.first[y]; t < down.first[y + 1]; ++t) {
            const int needed = down.source[t];
            for (; ready <= needed; ++ready)
                scaleRow<kChannels>(in.row(ready), across, out.width,
                                    ring.data() + static_cast<size_t>(ready) % depth * rowBytes);
            rows.push_back(ring.data() + static_cast<size_t>(needed) % depth * rowBytes);
        }
        blendRows(rows.data(), down, y, rowBytes, acc.data(), out.row(y));
    }
}

}  // namespace

int scaledSide(int side, int percent) {
    const int64_t scaled = int64_t{percent} * side / 100;
    if (scaled < 1) return 1;
    return scaled > INT_MAX ? INT_MAX : static_cast<int>(scaled);
}

ConverterPicture scalePicture(const ConverterPicture& in, int percent) {
    if (percent < 1 || (in.bitsPerPixel != 24 && in.bitsPerPixel != 32) || in.width <= 0 ||
        in.height <= 0)
        return {};
    if (percent == 100) return in;
    const int width = scaledSide(in.width, percent);
    const int height = scaledSide(in.height, percent);
    if (width > kConverterMaxSide || height > kConverterMaxSide ||
        static_cast<size_t>(width) * static_cast<size_t>(height) > kConverterMaxPixels)
        return {};

    ConverterPicture out;
    out.width = width;
    out.height = height;
    out.bitsPerPixel = in.bitsPerPixel;
    out.stride = static_cast<size_t>(width) * (in.bitsPerPixel / 8u);
    out.pixels.resize(out.stride * static_cast<size_t>(height));
    if (in.bitsPerPixel == 32)
        scaleBoth<4>(in, out);
    else
        scaleBoth<3>(in, out);
    return out;
}

}  // namespace zeku
