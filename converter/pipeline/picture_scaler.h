// The converter's area-average scaler: two passes (rows, then columns)
// with positions in 1/1024 pixel, in exact integer arithmetic so a picture
// converts to the same pixels everywhere.
#pragma once

#include "converter/pipeline/converter_picture.h"

namespace zeku {

// percent × side / 100, but never below 1: a side that would vanish keeps
// one pixel (the area average of the whole side) so the picture still
// exists in the package.
int scaledSide(int side, int percent);

// The picture scaled to scaledSide() of each side; 100 % copies it. Each
// output channel is (Σ weight × value / 1024) × 1024 / Σ weight over the
// source pixels its span visits, or 0 when no weight falls inside the
// picture. An empty picture comes back for a percent below 1 or an input
// that is not 24 or 32 bits.
ConverterPicture scalePicture(const ConverterPicture& in, int percent);

}  // namespace zeku
