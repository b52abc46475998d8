// Colour conversion of one decoded JBP1 macroblock: 4:2:0 YCbCr samples to
// RGB565 pixels, in a portable version and x86 vector versions that match it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeku {

// `blocks`: six 8 × 8 row-major sample blocks as the transform leaves them
// (luminance top-left, top-right, bottom-left, bottom-right, Cb, Cr).
// Writes 16 rows of 16 pixels, rows `stride` pixels apart.
void jbp1ColourScalar(const int16_t* blocks, uint16_t* pixels, size_t stride);

#if defined(__x86_64__) || defined(__i386__)
void jbp1ColourSse2(const int16_t* blocks, uint16_t* pixels, size_t stride);
void jbp1ColourAvx2(const int16_t* blocks, uint16_t* pixels, size_t stride);
#endif

}  // namespace zeku
