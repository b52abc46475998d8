// The hash that agrees with textEquals.
#include "common/text/name_set.h"

#include <cstdint>

namespace zeku {

size_t TextNameHash::operator()(std::string_view name) const {
    uint64_t hash = 0xcbf29ce484222325u;
    const auto mix = [&hash](unsigned char c) {
        hash ^= c;
        hash *= 0x100000001b3u;
    };
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (isLeadByte(c) && i + 1 < name.size()) {
            mix(c);
            mix(static_cast<unsigned char>(name[++i]));
        } else {
            mix(c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c);
        }
    }
    return static_cast<size_t>(hash);
}

}  // namespace zeku
