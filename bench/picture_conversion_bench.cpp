// Picture conversion speed on a game-sized 800 × 600 picture: the scaler
// alone to both target screens, and whole PNG entries to ".rbp" files.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/picture_conversion.h"

namespace zeku {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

uint8_t clampByte(double v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Painted-background look in red-green-blue-alpha order (PNG sample
// order): gradients, a disc, a soft ripple, fine grain, a feathered edge
// in the alpha channel.
std::vector<uint8_t> paintedSamples() {
    std::vector<uint8_t> rgba(static_cast<size_t>(kWidth) * kHeight * 4);
    uint32_t seed = 77;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double u = x / double(kWidth), v = y / double(kHeight);
            const double ripple = 14 * std::sin(x * 0.05) * std::cos(y * 0.07);
            double r = 90 + 120 * v + ripple, g = 140 + 60 * u, b = 230 - 80 * v;
            const double dx = x - 500.0, dy = y - 200.0;
            if (dx * dx + dy * dy < 90.0 * 90.0) r = 250, g = 210 - 0.3 * dy, b = 110;
            seed = seed * 1664525u + 1013904223u;
            const double grain = static_cast<int>(seed >> 29) - 4;
            uint8_t* px = rgba.data() + (static_cast<size_t>(y) * kWidth + x) * 4;
            px[0] = clampByte(r + grain);
            px[1] = clampByte(g + grain);
            px[2] = clampByte(b + grain);
            px[3] = clampByte(x < 40 ? x * 6.4 : 255);
        }
    return rgba;
}

ConverterPicture intermediate(int bitsPerPixel) {
    const std::vector<uint8_t> rgba = paintedSamples();
    ConverterPicture p;
    p.width = kWidth;
    p.height = kHeight;
    p.bitsPerPixel = bitsPerPixel;
    const int channels = bitsPerPixel / 8;
    p.stride = static_cast<size_t>(kWidth) * channels;
    p.pixels.resize(p.stride * kHeight);
    for (size_t i = 0; i < size_t{kWidth} * kHeight; ++i)
        for (int c = 0; c < channels; ++c)
            p.pixels[i * channels + c] = rgba[i * 4 + (c < 3 ? 2 - c : 3)];
    return p;
}

std::vector<uint8_t> pngFile(bool alpha) {
    std::vector<uint8_t> samples = paintedSamples();
    if (!alpha)
        for (size_t i = 0, o = 0; i < samples.size(); i += 4, o += 3)
            samples[o] = samples[i], samples[o + 1] = samples[i + 1],
            samples[o + 2] = samples[i + 2];
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, nullptr);
    std::vector<uint8_t> file(size);
    if (!png_image_write_to_memory(&image, file.data(), &size, 0, samples.data(), 0, nullptr))
        file.clear();
    file.resize(size);
    return file;
}

void BM_ScalePicture(benchmark::State& state) {
    const ConverterPicture in = intermediate(static_cast<int>(state.range(0)));
    const int percent = static_cast<int>(state.range(1));
    for (auto _ : state) {
        ConverterPicture out = scalePicture(in, percent);
        benchmark::DoNotOptimize(out.pixels.data());
    }
    state.SetLabel(std::to_string(state.range(0)) + " bits to " + std::to_string(percent) + " %");
}

void BM_ConvertPng(benchmark::State& state) {
    const bool alpha = state.range(0) == 32;
    const int quality = static_cast<int>(state.range(1));
    const int percent = static_cast<int>(state.range(2));
    const std::vector<uint8_t> png = pngFile(alpha);
    std::vector<uint8_t> rbp;
    std::string error;
    for (auto _ : state) {
        if (!convertPicture(png.data(), png.size(), PictureKind::kPng, percent, quality, rbp,
                            error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(rbp.data());
    }
    state.SetLabel(std::string(alpha ? "RGBA" : "RGB") + " PNG at " + std::to_string(percent) +
                   " %, item " + std::to_string(quality));
    state.counters["rbp KiB"] = static_cast<double>(rbp.size()) / 1024;
}

BENCHMARK(BM_ScalePicture)->ArgsProduct({{24, 32}, {40, 80}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertPng)->ArgsProduct({{24, 32}, {0, 2}, {40, 80}})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeku
