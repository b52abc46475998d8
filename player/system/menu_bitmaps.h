// The two marks the menu panel draws beside entries: the arrow of a popup
// and the check of a checked entry, 6 x 12 pixels each.
#pragma once

#include <array>
#include <cstdint>

namespace zeku {

inline constexpr int kMenuMarkWidth = 6;
inline constexpr int kMenuMarkHeight = 12;

// One byte per row, top row first; bit c set means column c is inked.
using MenuMark = std::array<uint8_t, kMenuMarkHeight>;

inline constexpr MenuMark kMenuArrow = {
    0x00, 0x00, 0x00, 0x02, 0x06, 0x0E, 0x1E, 0x0E, 0x06, 0x02, 0x00, 0x00,
};
inline constexpr MenuMark kMenuCheck = {
    0x00, 0x00, 0x00, 0x00, 0x10, 0x1A, 0x0E, 0x04, 0x00, 0x00, 0x00, 0x00,
};

inline bool menuMarkInked(const MenuMark& mark, int column, int row) {
    return ((mark[static_cast<size_t>(row)] >> column) & 1) != 0;
}

}  // namespace zeku
