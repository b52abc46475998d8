// One saved game, "save%z3.dat": a fixed header (where the script stood, the
// text and music settings, every variable), the picture of image slot 0 as
// raw RGB565 and a thumbnail BMP of the screen for the menu. The header is
// described once by syncSaveSlotHeader, for writing and reading alike.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/bytes/byte_layout.h"
#include "common/result/parsed.h"

namespace zeku {

inline constexpr char kSaveSlotMagic[4] = {'Z', 'E', 'K', 'B'};
inline constexpr uint32_t kSaveSlotHeaderBytes = 11768;  // also where the picture starts
inline constexpr int kSavedNumberCount = 2048;           // @0..@2047
inline constexpr int kSavedStringCount = 26;             // @a..@z
inline constexpr size_t kSavedStringBytes = 128;
inline constexpr size_t kSaveDateBytes = 72;
inline constexpr size_t kSaveNameBytes = 64;

struct SaveSlotHeader {
    uint32_t pictureOffset = kSaveSlotHeaderBytes;
    char dateText[kSaveDateBytes] = {};  // "%z4-%z2-%z2 %z2:%z2:%z2 "
    char scriptName[kSaveNameBytes] = {};
    char messageFileName[kSaveNameBytes] = {};
    uint32_t position = 0;  // i32 fields are kept as their bits
    std::array<uint32_t, 2> defaultColours{};
    std::array<uint32_t, 4> locate{};  // x, y of window 0, then of window 1
    uint32_t musicFirstTrack = 0;      // 0: no music
    uint32_t musicSecondTrack = 0;
    uint32_t musicLoop = 0;
    std::array<uint32_t, kSavedNumberCount> numbers{};
    char strings[kSavedStringCount][kSavedStringBytes] = {};
};

template <typename Io, RecordOf<SaveSlotHeader> Header>
void syncSaveSlotHeader(Io& io, Header& header) {
    io.magic(kSaveSlotMagic);
    io.le32(header.pictureOffset);
    io.text(header.dateText);
    io.text(header.scriptName);
    io.text(header.messageFileName);
    io.le32(header.position);
    for (auto& colour : header.defaultColours)
        io.le32(colour);
    for (auto& value : header.locate)
        io.le32(value);
    io.le32(header.musicFirstTrack);
    io.le32(header.musicSecondTrack);
    io.le32(header.musicLoop);
    for (auto& number : header.numbers)
        io.le32(number);
    for (auto& text : header.strings)
        io.text(text);
}

// The thumbnail's side: 160 × 120 on screens 640 or more wide, else 80 × 60.
int thumbnailWidth(int screenWidth);
int thumbnailHeight(int screenWidth);
// Bytes of the picture of image slot 0 (two a pixel) and where the
// thumbnail starts.
size_t savedPictureBytes(int screenWidth, int screenHeight);
size_t thumbnailOffset(int screenWidth, int screenHeight);
// The whole file: header, picture and thumbnail BMP.
size_t saveSlotFileBytes(int screenWidth, int screenHeight);

// Writes the header into the first kSaveSlotHeaderBytes of `out`.
bool writeSaveSlotHeader(const SaveSlotHeader& header, uint8_t* out, size_t capacity);

// A checked slot file: the header copied out and the picture in place.
struct SaveSlotView {
    SaveSlotHeader header;
    const uint8_t* picture = nullptr;  // savedPictureBytes of it
};

// Refuses a file that is short for the screen, foreign (magic or picture
// offset) or whose texts are not terminated; every check comes before the
// caller touches its game.
Parsed<SaveSlotView> parseSaveSlot(const uint8_t* data, size_t size, int screenWidth,
                                   int screenHeight);

// The date text of a slot file (for the list), or empty when it is not one.
// Reads only the magic and the date.
bool readSaveDate(const uint8_t* data, size_t size, char (&dateText)[kSaveDateBytes]);

}  // namespace zeku
