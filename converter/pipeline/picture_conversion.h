// A source game's PNG or BMP entry turned into the ".rbp" file the
// package stores: decoded, scaled for the target screen, then written raw
// or as JBP1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/bmp_reader.h"
#include "converter/pipeline/converter_picture.h"
#include "converter/pipeline/picture_scaler.h"
#include "converter/pipeline/png_reader.h"

namespace zeku {

enum class PictureKind { kPng, kBmp };

// The whole ".rbp" file in `rbp`: scaled by `scalePercent` (40 and 80 are
// the converter's choices; any percent from 1 up works), written with
// quality item 0..3 (0 raw; JBP1 only from 32 × 32 up). The header records
// the size before scaling. False with an English `error` when the bytes do
// not decode, the quality item or percent is out of range, or the scaled
// picture would be too large.
bool convertPicture(const uint8_t* bytes, size_t size, PictureKind kind, int scalePercent,
                    int qualityItem, std::vector<uint8_t>& rbp, std::string& error,
                    size_t maxSourcePixels = kConverterMaxPixels);

}  // namespace zeku
