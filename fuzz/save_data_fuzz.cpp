// Fuzzes the three save-data readers, the first byte choosing one: a slot
// file (on a small screen, so whole files stay small), the global data, the
// read marks and a thumbnail BMP. The rest of the input is the file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "player/script/read_marks_file.h"
#include "player/system/global_vars_file.h"
#include "player/system/save_slot_file.h"
#include "player/system/thumbnail_bmp.h"

namespace {

constexpr int kScreenWidth = 16;
constexpr int kScreenHeight = 12;

// A failure says why and points into (or just past) the file.
template <typename Result>
void checkError(const Result& result, size_t size) {
    if (!result && (*result.error().reason() == '\0' || result.error().offset() > size))
        __builtin_trap();
}

void fuzzSlot(const uint8_t* data, size_t size) {
    const zeku::Parsed<zeku::SaveSlotView> slot =
        zeku::parseSaveSlot(data, size, kScreenWidth, kScreenHeight);
    checkError(slot, size);
    if (slot) {
        // The picture must lie inside the file.
        uint32_t sum = 0;
        for (size_t i = 0; i < zeku::savedPictureBytes(kScreenWidth, kScreenHeight); ++i)
            sum += slot->picture[i];
        volatile uint32_t sink = sum;
        (void)sink;
    }
    char date[zeku::kSaveDateBytes];
    zeku::readSaveDate(data, size, date);
    const size_t thumbAt = zeku::thumbnailOffset(kScreenWidth, kScreenHeight);
    if (thumbAt < size) (void)zeku::decodeThumbnailBmp(data + thumbAt, size - thumbAt);
}

void fuzzThumbnail(const uint8_t* data, size_t size) {
    const zeku::Parsed<zeku::MenuThumbnail> thumbnail = zeku::decodeThumbnailBmp(data, size);
    checkError(thumbnail, size);
    if (thumbnail &&
        thumbnail->pixels.size() != size_t(thumbnail->width) * size_t(thumbnail->height))
        __builtin_trap();
}

void fuzzGlobals(const uint8_t* data, size_t size) {
    std::vector<int32_t> values(zeku::kGlobalVarCount, 7);
    const zeku::Parsed<void> read = zeku::readGlobalVars(data, size, values);
    checkError(read, size);
    if (!read && values[0] != 7) __builtin_trap();  // a refused file changes nothing
}

void fuzzReadMarks(const uint8_t* data, size_t size) {
    const zeku::Parsed<zeku::ReadRegistry> marks = zeku::decodeReadMarks(data, size);
    checkError(marks, size);
    if (!marks) return;
    // What was read is written back and read again to the same marks.
    const std::vector<uint8_t> again = zeku::encodeReadMarks(*marks);
    const zeku::Parsed<zeku::ReadRegistry> reread =
        zeku::decodeReadMarks(again.data(), again.size());
    if (!reread || reread->fileCount() != marks->fileCount()) __builtin_trap();
    for (int i = 0; i < marks->fileCount(); ++i) {
        if (reread->fileName(i) != marks->fileName(i) ||
            reread->keys(i).size() != marks->keys(i).size())
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t* file = data + 1;
    const size_t length = size - 1;
    switch (data[0] % 4) {
        case 0:
            fuzzSlot(file, length);
            break;
        case 1:
            fuzzGlobals(file, length);
            break;
        case 2:
            fuzzReadMarks(file, length);
            break;
        default:
            fuzzThumbnail(file, length);
            break;
    }
    return 0;
}
