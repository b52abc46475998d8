// How a package stores a compressed file.
#include "common/pack/pack_compression.h"

namespace zeku {

bool compressForPackage(LzssEncoder& lzss, const uint8_t* bytes, size_t size,
                        std::vector<uint8_t>& stored) {
    stored.clear();
    if (size == 0) return true;  // nothing to code; unpacks to the empty file
    stored.resize(lzssMaxEncodedSize(size));
    const ptrdiff_t n = lzss.encode(stored.data(), stored.size(), bytes, size);
    if (n < 0) return false;
    stored.resize(static_cast<size_t>(n));
    return true;
}

}  // namespace zeku
