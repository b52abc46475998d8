// Synthetic pictures for the image codec tests, made in code: smooth
// shading with edges and fine texture, like a painted background.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku::test {

// Blue-green-red (or blue-green-red-alpha) rows, top to bottom, no padding.
struct TestPicture {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<uint8_t> pixels;

    size_t stride() const { return static_cast<size_t>(width) * channels; }
    const uint8_t* at(int x, int y) const { return pixels.data() + y * stride() + x * channels; }
};

inline uint8_t clampByte(double v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5);
}

// Gradients, a disc with a hard edge and a soft ripple; alpha (when asked
// for) is a diagonal ramp so every value 0..255 occurs on larger pictures.
inline TestPicture naturalPicture(int width, int height, int channels = 3) {
    TestPicture p{width, height, channels, {}};
    p.pixels.resize(p.stride() * height);
    const double cx = width * 0.6, cy = height * 0.4, r = 0.3 * (width < height ? width : height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            const double ripple = 12 * std::sin(x * 0.21) * std::cos(y * 0.17);
            double b = 60 + 150 * v + ripple, g = 90 + 100 * u * v + ripple, red = 200 - 120 * u;
            const double dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy < r * r) {
                b = 40 + 30 * u;
                g = 160 - 40 * v;
                red = 230;
            }
            uint8_t* px = p.pixels.data() + y * p.stride() + x * channels;
            px[0] = clampByte(b);
            px[1] = clampByte(g);
            px[2] = clampByte(red);
            if (channels == 4) px[3] = static_cast<uint8_t>((x * 7 + y * 3) & 0xFF);
        }
    }
    return p;
}

// Peak signal-to-noise ratio over the three colour channels of two
// blue-green-red pictures of the same size.
inline double psnr(const uint8_t* a, size_t strideA, const uint8_t* b, size_t strideB, int width,
                   int height) {
    double squared = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) {
            const double d = static_cast<double>(a[y * strideA + x]) - b[y * strideB + x];
            squared += d * d;
        }
    if (squared == 0) return 200;
    const double mse = squared / (static_cast<double>(width) * height * 3);
    return 10 * std::log10(255.0 * 255.0 / mse);
}

// RGB565 expanded back to blue-green-red bytes (low bits zero).
inline void rgb565ToBgr(uint16_t c, uint8_t* bgr) {
    bgr[0] = static_cast<uint8_t>((c & 0x1F) << 3);
    bgr[1] = static_cast<uint8_t>(((c >> 5) & 0x3F) << 2);
    bgr[2] = static_cast<uint8_t>((c >> 11) << 3);
}

}  // namespace zeku::test
