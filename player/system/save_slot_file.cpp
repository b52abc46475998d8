// Sizes of a slot file and the checks a loaded one must pass.
#include "player/system/save_slot_file.h"

#include <cstring>

#include "common/bytes/byte_reader.h"
#include "common/bytes/byte_writer.h"

namespace zeku {
namespace {

constexpr size_t kBmpHeaderBytes = 54;

template <size_t N>
bool terminated(const char (&text)[N]) {
    return std::memchr(text, 0, N) != nullptr;
}

}  // namespace

int thumbnailWidth(int screenWidth) {
    return screenWidth >= 640 ? 160 : 80;
}

int thumbnailHeight(int screenWidth) {
    return screenWidth >= 640 ? 120 : 60;
}

size_t savedPictureBytes(int screenWidth, int screenHeight) {
    return size_t(screenWidth) * size_t(screenHeight) * 2;
}

size_t thumbnailOffset(int screenWidth, int screenHeight) {
    return kSaveSlotHeaderBytes + savedPictureBytes(screenWidth, screenHeight);
}

size_t saveSlotFileBytes(int screenWidth, int screenHeight) {
    const size_t w = size_t(thumbnailWidth(screenWidth));
    const size_t h = size_t(thumbnailHeight(screenWidth));
    return thumbnailOffset(screenWidth, screenHeight) + kBmpHeaderBytes + 2 * w * h;
}

bool writeSaveSlotHeader(const SaveSlotHeader& header, uint8_t* out, size_t capacity) {
    ByteWriter writer(out, capacity);
    syncSaveSlotHeader(writer, header);
    return writer.ok() && writer.position() == kSaveSlotHeaderBytes;
}

Parsed<SaveSlotView> parseSaveSlot(const uint8_t* data, size_t size, int screenWidth,
                                   int screenHeight) {
    SaveSlotView view;
    ByteReader reader(data, size);
    syncSaveSlotHeader(reader, view.header);
    if (!reader.ok()) {
        return reader.failureOffset() == 0 && size >= 4
                   ? reader.error("not a saved game", ParseErrorKind::kWrongFormat)
                   : reader.error("saved game header cut short");
    }
    const SaveSlotHeader& header = view.header;
    if (header.pictureOffset != kSaveSlotHeaderBytes) {
        return ParseError("saved game with a foreign picture offset", 4,
                          ParseErrorKind::kWrongFormat);
    }
    if (!terminated(header.dateText)) return ParseError("date text not terminated", 8);
    if (!terminated(header.scriptName)) return ParseError("script name not terminated", 80);
    if (!terminated(header.messageFileName))
        return ParseError("message file name not terminated", 144);
    for (size_t i = 0; i < kSavedStringCount; ++i) {
        if (!terminated(header.strings[i]))
            return ParseError("string variable not terminated", 8440 + i * kSavedStringBytes);
    }
    if (header.scriptName[0] == 0) return ParseError("saved game without a script", 80);
    // The thumbnail is only for the menu; a file cut inside it still loads.
    const size_t pictureBytes = savedPictureBytes(screenWidth, screenHeight);
    if (size - kSaveSlotHeaderBytes < pictureBytes)
        return ParseError("saved picture cut short", size);
    view.picture = data + kSaveSlotHeaderBytes;
    return view;
}

bool readSaveDate(const uint8_t* data, size_t size, char (&dateText)[kSaveDateBytes]) {
    dateText[0] = 0;
    if (data == nullptr || size < 8 + kSaveDateBytes) return false;
    if (std::memcmp(data, kSaveSlotMagic, sizeof(kSaveSlotMagic)) != 0) return false;
    std::memcpy(dateText, data + 8, kSaveDateBytes);
    dateText[kSaveDateBytes - 1] = 0;
    return true;
}

}  // namespace zeku
