// Supersampled glyph coverage: one render at k times the size, then a box
// average down to the glyph size, kept by a packed key.
#include "player/graphics/glyph_cache.h"

#include <algorithm>
#include <cstring>

namespace zeku {
namespace {

// Bookkeeping counted against the budget beside each glyph's bytes.
constexpr size_t kEntryOverheadBytes = 64;
// Face names are few (the message font and the menu's); a script that
// somehow cycles through more starts the cache again.
constexpr size_t kMaxFaces = 256;

}  // namespace

GlyphCache::GlyphCache(GlyphRenderer* renderer) : renderer_(renderer) {}

void GlyphCache::setRenderer(GlyphRenderer* renderer) {
    renderer_ = renderer;
    clear();
}

void GlyphCache::clear() {
    glyphs_.clear();
    faces_.clear();
    bytes_ = 0;
}

uint64_t GlyphCache::keyOf(std::string_view faceSjis, int weight, uint16_t code, int size, int k) {
    auto it = std::find(faces_.begin(), faces_.end(), faceSjis);
    if (it == faces_.end()) {
        if (faces_.size() >= kMaxFaces) clear();
        faces_.emplace_back(faceSjis);
        it = faces_.end() - 1;
    }
    const auto face = static_cast<uint64_t>(it - faces_.begin());
    // face 8 bits | weight 10 | code 16 | size 9 | k 3
    return face << 38 | static_cast<uint64_t>(weight) << 28 | static_cast<uint64_t>(code) << 12 |
           static_cast<uint64_t>(size) << 3 | static_cast<uint64_t>(k);
}

const uint8_t* GlyphCache::coverage(std::string_view faceSjis, int weight, uint16_t code, int size,
                                    int k) {
    if (size <= 0 || size > kMaxGlyphSize) return nullptr;
    k = std::clamp(k, 1, kMaxAntiAlias);
    weight = std::clamp(weight, 0, 1000);
    const uint64_t key = keyOf(faceSjis, weight, code, size, k);
    auto found = glyphs_.find(key);
    if (found != glyphs_.end()) return found->second.data();

    const size_t bytes = static_cast<size_t>(size) * size;
    if (bytes_ + bytes + kEntryOverheadBytes > kGlyphCacheBudgetBytes) {
        glyphs_.clear();
        bytes_ = 0;
    }
    std::vector<uint8_t>& out = glyphs_[key];
    out.assign(bytes, 0);
    bytes_ += bytes + kEntryOverheadBytes;
    if (renderer_ == nullptr) return out.data();

    const int cellPx = size * k;
    cell_.assign(static_cast<size_t>(cellPx) * cellPx, 0);
    ++rasterisations_;
    if (!renderer_->render(faceSjis, weight, code, cellPx, cell_.data())) return out.data();
    if (k == 1) {
        std::memcpy(out.data(), cell_.data(), bytes);
        return out.data();
    }
    // Row sums first, walking the rendering in memory order.
    const unsigned area = static_cast<unsigned>(k * k);
    sums_.resize(static_cast<size_t>(size));
    for (int y = 0; y < size; ++y) {
        std::fill(sums_.begin(), sums_.end(), 0u);
        for (int dy = 0; dy < k; ++dy) {
            const uint8_t* row = cell_.data() + static_cast<size_t>(y * k + dy) * cellPx;
            for (int x = 0; x < size; ++x, row += k) {
                unsigned sum = 0;
                for (int dx = 0; dx < k; ++dx)
                    sum += row[dx];
                sums_[x] += sum;
            }
        }
        uint8_t* target = out.data() + static_cast<size_t>(y) * size;
        for (int x = 0; x < size; ++x)
            target[x] = static_cast<uint8_t>(sums_[x] / area);
    }
    return out.data();
}

}  // namespace zeku
