// A read-only view of a whole file read sequentially, with a loop point:
// music streams are read from it in the audio callback without any file
// call, wrapping back to the loop point at the end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/file_system.h"

namespace zeku {

class MappedFile {
  public:
    // A missing or unreadable file gives a closed object whose reads return 0.
    bool open(const char* path);
    void close();
    bool isOpen() const { return static_cast<bool>(view_); }

    // Copies up to `count` bytes from the position. A looping read that
    // reaches the end returns only the tail and moves to the loop point, so
    // the caller's next read continues there. A read that finds nothing
    // left sets the end flag; later reads return 0 until a seek.
    size_t read(void* destination, size_t count, bool loop);
    // Moves to `position` (clamped to the size), or to the loop point for -1;
    // clears the end flag.
    void seek(int64_t position);
    void setLoopPoint(size_t position) { loopPoint_ = position; }

    size_t size() const { return view_.size(); }
    size_t position() const { return position_; }
    bool atEnd() const { return ended_; }
    const char* path() const { return path_; }

  private:
    MappedView view_;
    size_t position_ = 0;
    size_t loopPoint_ = 0;
    bool ended_ = false;
    char path_[1024] = {};
};

}  // namespace zeku
