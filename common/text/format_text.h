// The player's own formatted print: "%z2"-style directives over typed
// arguments, written into a bounded caller buffer.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace zeku {

// One formatText argument. It remembers what the caller passed; the directive
// letter decides how it is read, converting a mismatched kind:
//   - integers read by another integer directive wrap to that width, as the
//     bits of a machine word would;
//   - floating values read as integers truncate toward zero and saturate to
//     the directive's range (NaN reads as 0);
//   - integers read by "f" keep their exact value;
//   - strings read as numbers give 0, numbers read as strings give "".
// A default-constructed argument stands for a missing one: 0 or "".
class FormatArg {
  public:
    enum class Kind : uint8_t { None, Int32, UInt32, Int64, UInt64, Float, Double, String };

    constexpr FormatArg() = default;

    template <std::integral T>
    constexpr FormatArg(T value) : integer_(static_cast<int64_t>(value)) {
        if constexpr (sizeof(T) <= 4) {
            kind_ = std::is_signed_v<T> ? Kind::Int32 : Kind::UInt32;
        } else {
            kind_ = std::is_signed_v<T> ? Kind::Int64 : Kind::UInt64;
        }
    }

    // A float keeps its kind so "f" can print the digits the float was
    // written with rather than those of its wider double expansion.
    template <std::floating_point T>
    constexpr FormatArg(T value)
        : kind_(sizeof(T) == sizeof(float) ? Kind::Float : Kind::Double),
          real_(static_cast<double>(value)) {}

    // A null pointer reads as the empty string.
    constexpr FormatArg(const char* text)
        : kind_(Kind::String),
          text_(text != nullptr ? text : ""),
          textLength_(text != nullptr ? std::char_traits<char>::length(text) : 0) {}

    constexpr FormatArg(std::string_view text)
        : kind_(Kind::String), text_(text.data()), textLength_(text.size()) {}

    Kind kind() const { return kind_; }
    int32_t asInt32() const;
    uint32_t asUInt32() const;
    int64_t asInt64() const;
    double asDouble() const;
    std::string_view asString() const;

  private:
    Kind kind_ = Kind::None;
    int64_t integer_ = 0;  // unsigned kinds hold their bits
    double real_ = 0.0;
    const char* text_ = "";
    size_t textLength_ = 0;
};

// Formats into dest, which holds destCapacity bytes including the terminator.
//
// Each "%" starts a directive: a letter, then an optional "+" or "-" flag
// directly after it, an optional width of one or two digits, and for "f"/"F"
// an optional "." with a precision of one or two digits ("%z2", "%d+3",
// "%f2.2"). A width of 0 counts as no width. Flag and width are read after
// every letter, used or not, so "%s-%s" has no dash between the strings.
//   %%  a percent sign (always exactly these two characters)
//   c   the argument's low byte
//   d   signed decimal magnitude; the sign appears only with a flag
//   u   unsigned decimal
//   z   unsigned decimal, zero-padded to exactly width digits
//   x o hexadecimal (upper case) / octal, exactly width digits
//   t   64-bit decimal, read and signed like "d"
//   f   fixed point, truncated (never rounded) to the precision
//   s   the string; with a width at most width bytes, then spaces
//   S   the string in full width; with a width at most 2 x width bytes
//   r   no output: continue at the end of the text already in dest
//   l   prefix, ignored before d u x o (and D U X O)
//   D U Z X O T F  the lower-case directive's text in full width
// Decimal fields with a width are exactly width characters wide and keep
// the lowest digits of a longer value; "f" keeps its whole integer part.
// "+" prints "-" or "+"; "-" prints "-" or, with a width, a space. With a
// width the sign takes the last padding space, and is dropped when the
// digits leave no padding. x, o and z print nothing without a width. An
// unknown letter prints nothing and takes no argument. Cuts made by a
// width never split a double-byte character.
//
// Returns the length of the text in dest (including text kept by "%r"), or
// -1 when it did not fit: the output is then cut at a character boundary and
// still terminated. With destCapacity 0 nothing is written and -1 returned.
int formatText(char* dest, size_t destCapacity, const char* format,
               std::span<const FormatArg> args);

inline int formatText(char* dest, size_t destCapacity, const char* format,
                      std::initializer_list<FormatArg> args = {}) {
    return formatText(dest, destCapacity, format,
                      std::span<const FormatArg>(args.begin(), args.size()));
}

template <size_t N>
int formatText(char (&dest)[N], const char* format, std::initializer_list<FormatArg> args = {}) {
    return formatText(dest, N, format, args);
}

}  // namespace zeku
