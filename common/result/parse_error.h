// Why data could not be read and where: a reason in plain English and the
// byte offset at which the data went wrong. Every parser reports this.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace zeku {

enum class ParseErrorKind : uint8_t {
    kDamaged,      // data of the expected kind that does not hold together
    kWrongFormat,  // not this kind of data at all (a caller may try another reader)
};

class ParseError {
  public:
    // `reason` is kept by pointer, never copied, so it must be static text
    // (a literal). Most reasons are, and then an error costs no allocation;
    // the player reports damaged pictures without touching the heap.
    ParseError(const char* reason, uint64_t offset, ParseErrorKind kind = ParseErrorKind::kDamaged)
        : literal_(reason), offset_(offset), kind_(kind) {}

    // A reason built at run time (one that names a file or a number).
    ParseError(std::string reason, uint64_t offset, ParseErrorKind kind = ParseErrorKind::kDamaged)
        : built_(std::move(reason)), offset_(offset), kind_(kind) {}

    // Zero-terminated, valid as long as the error.
    const char* reason() const { return literal_ != nullptr ? literal_ : built_.c_str(); }
    uint64_t offset() const { return offset_; }
    ParseErrorKind kind() const { return kind_; }

    // The same error seen from an enclosing layout: an offset inside an
    // embedded stream becomes one inside the file that holds it.
    ParseError movedBy(uint64_t base) const& {
        ParseError moved = *this;
        moved.offset_ += base;
        return moved;
    }
    ParseError movedBy(uint64_t base) && {
        offset_ += base;
        return std::move(*this);
    }

  private:
    const char* literal_ = nullptr;
    std::string built_;  // used only when there is no literal
    uint64_t offset_ = 0;
    ParseErrorKind kind_ = ParseErrorKind::kDamaged;
};

}  // namespace zeku
