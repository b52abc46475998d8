// Sequential reads from a mapped file with an end flag and a loop point.
#include "player/data/mapped_file.h"

#include <algorithm>
#include <cstring>

namespace zeku {

bool MappedFile::open(const char* path) {
    close();
    view_ = MappedView::map(path);
    if (!view_) return false;
    std::strncpy(path_, path, sizeof path_ - 1);
    path_[sizeof path_ - 1] = '\0';
    return true;
}

void MappedFile::close() {
    view_.unmap();
    position_ = 0;
    loopPoint_ = 0;
    ended_ = false;
    path_[0] = '\0';
}

size_t MappedFile::read(void* destination, size_t count, bool loop) {
    if (ended_ || !view_) return 0;
    if (position_ >= view_.size()) {
        ended_ = true;
        return 0;
    }
    const size_t n = std::min(count, view_.size() - position_);
    std::memcpy(destination, view_.data() + position_, n);
    position_ += n;
    if (loop && position_ >= view_.size()) {
        seek(-1);
    } else if (n == 0) {
        ended_ = true;
    }
    return n;
}

void MappedFile::seek(int64_t position) {
    const size_t target = position < 0 ? loopPoint_ : static_cast<size_t>(position);
    // A loop point past the end would make every looping read return 0
    // forever; the end of the file is the furthest sensible place.
    position_ = std::min(target, view_.size());
    ended_ = false;
}

}  // namespace zeku
