// JBP1 decoding speed on a 640 × 480 quality-90 picture, per kernel set,
// next to libjpeg-turbo decoding the encoder's intermediate JPEG of the same
// picture to RGB565 (accurate integer IDCT, no dithering).
#include <benchmark/benchmark.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "common/image/jbp1_decoder.h"
#include "common/image/jbp1_decoder_kernels.h"
#include "common/image/jbp1_encoder.h"

namespace zeku {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kQuality = 90;

uint8_t clampByte(double v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// A painted-background look: sky and ground gradients, hard-edged shapes,
// a soft textured wall and fine grain, in blue-green-red rows.
std::vector<uint8_t> backgroundPicture() {
    std::vector<uint8_t> bgr(static_cast<size_t>(kWidth) * kHeight * 3);
    uint32_t seed = 2024;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double v = y / double(kHeight);
            double r = 90 + 120 * v, g = 140 + 60 * v, b = 230 - 80 * v;  // sky
            if (v > 0.62) {                                               // ground
                r = 110 - 40 * (v - 0.62);
                g = 150 - 60 * (v - 0.62);
                b = 70;
            }
            const double dx = x - 460.0, dy = y - 150.0;
            if (dx * dx + dy * dy < 70.0 * 70.0) {  // a sun disc
                r = 250;
                g = 220 - 0.3 * dy;
                b = 120;
            }
            if (x > 60 && x < 300 && y > 170 && y < 400) {  // a wall with bricks
                const bool mortar = (y % 24) < 3 || ((x + (y / 24) * 20) % 40) < 3;
                const double shade = 20 * std::sin(x * 0.05) * std::cos(y * 0.07);
                r = mortar ? 200 : 150 + shade;
                g = mortar ? 195 : 80 + shade;
                b = mortar ? 185 : 60 + shade;
            }
            if (std::abs(x - 2 * y + 300) < 3) r = g = b = 30;  // a wire
            seed = seed * 1664525u + 1013904223u;
            const double grain = static_cast<int>(seed >> 29) - 4;
            uint8_t* px = bgr.data() + (static_cast<size_t>(y) * kWidth + x) * 3;
            px[0] = clampByte(b + grain);
            px[1] = clampByte(g + grain);
            px[2] = clampByte(r + grain);
        }
    }
    return bgr;
}

struct Encoded {
    std::vector<uint8_t> stream;
    std::vector<uint8_t> jpeg;
};

const Encoded& encodedPicture() {
    static const Encoded encoded = [] {
        Encoded e;
        const std::vector<uint8_t> bgr = backgroundPicture();
        jbp1Encode(bgr.data(), kWidth, kHeight, kWidth * 3, kQuality, e.stream, &e.jpeg);
        return e;
    }();
    return encoded;
}

void reportPixels(benchmark::State& state) {
    state.counters["Mpix/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                           benchmark::Counter::kIsRate);
}

void jbp1Decoding(benchmark::State& state, const Jbp1Kernels* kernels) {
    if (kernels == nullptr) {
        state.SkipWithError("not supported on this processor");
        return;
    }
    const Encoded& e = encodedPicture();
    std::vector<uint16_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    for (auto _ : state) {
        const Parsed<void> r = jbp1DecodeWith(*kernels, e.stream.data(), e.stream.size(),
                                              pixels.data(), pixels.size());
        if (!r) state.SkipWithError(r.error().reason());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(kernels->name);
    state.counters["stream KiB"] = static_cast<double>(e.stream.size()) / 1024;
    reportPixels(state);
}

void BM_Jbp1Decode(benchmark::State& state) {
    jbp1Decoding(state, &jbp1BestKernels());
}
void BM_Jbp1DecodeSse41(benchmark::State& state) {
    jbp1Decoding(state, jbp1KernelsFor(Jbp1Isa::kSse41));
}
void BM_Jbp1DecodeSse2(benchmark::State& state) {
    jbp1Decoding(state, jbp1KernelsFor(Jbp1Isa::kSse2));
}
void BM_Jbp1DecodePortable(benchmark::State& state) {
    jbp1Decoding(state, jbp1KernelsFor(Jbp1Isa::kPortable));
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg-turbo to RGB565; `fancy` picks its smoothed chroma upsampling
// (its default) over plain replication, which is what JBP1 does.
void libjpegDecoding(benchmark::State& state, bool fancy) {
    const Encoded& e = encodedPicture();
    std::vector<uint16_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    for (auto _ : state) {
        jpeg_decompress_struct info;
        JpegError error;
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = [](j_common_ptr c) {
            std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1);
        };
        if (setjmp(error.jump)) {
            jpeg_destroy_decompress(&info);
            state.SkipWithError("libjpeg failed");
            return;
        }
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, e.jpeg.data(), static_cast<unsigned long>(e.jpeg.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB565;
        info.dct_method = JDCT_ISLOW;
        info.dither_mode = JDITHER_NONE;
        info.do_fancy_upsampling = fancy ? TRUE : FALSE;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row =
                reinterpret_cast<JSAMPROW>(pixels.data() + info.output_scanline * size_t{kWidth});
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["jpeg KiB"] = static_cast<double>(e.jpeg.size()) / 1024;
    reportPixels(state);
}

void BM_LibjpegTurboRgb565(benchmark::State& state) {
    libjpegDecoding(state, true);
}
void BM_LibjpegTurboRgb565Replicated(benchmark::State& state) {
    libjpegDecoding(state, false);
}

BENCHMARK(BM_Jbp1Decode);
BENCHMARK(BM_Jbp1DecodeSse41);
BENCHMARK(BM_Jbp1DecodeSse2);
BENCHMARK(BM_Jbp1DecodePortable);
BENCHMARK(BM_LibjpegTurboRgb565);
BENCHMARK(BM_LibjpegTurboRgb565Replicated);

}  // namespace
}  // namespace zeku
