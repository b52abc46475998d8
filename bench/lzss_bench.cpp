// LZSS speed: decoding script text, RGB565 pictures and JBP1 streams next to a memcpy of the same
// output, and the fast encoder next to the plain transcription it must match byte for byte.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "common/image/jbp1_encoder.h"
#include "common/image/rbp_writer.h"
#include "common/lzss/lzss.h"
#include "tests/common/image/test_pictures.h"
#include "tests/common/lzss/lzss_sample_data.h"
#include "tests/common/lzss/reference_lzss_encoder.h"

namespace zeku {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kDecodeSize = 4 << 20;
constexpr size_t kEncodeSize = 1 << 20;

Bytes encoded(const Bytes& data) {
    Bytes stream(lzssMaxEncodedSize(data.size()));
    stream.resize(
        static_cast<size_t>(lzssEncode(stream.data(), stream.size(), data.data(), data.size())));
    return stream;
}

void decode(benchmark::State& state, const Bytes& data) {
    const Bytes stream = encoded(data);
    Bytes out(data.size());
    for (auto _ : state) {
        const Parsed<size_t> r = lzssDecode(out.data(), out.size(), stream.data(), stream.size());
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    if (out != data) state.SkipWithError("decoded bytes differ");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
    state.counters["ratio"] = static_cast<double>(stream.size()) / static_cast<double>(data.size());
}

void BM_DecodeText(benchmark::State& state) {
    decode(state, sampleText(kDecodeSize, 1));
}
void BM_DecodePicture(benchmark::State& state) {
    decode(state, samplePicture(kDecodeSize, 2));
}
void BM_DecodeNoise(benchmark::State& state) {
    decode(state, sampleNoise(kDecodeSize, 3));
}

// What the package really holds: a painted 640 x 480 picture stored as raw
// RGB565 (the best quality setting), and the same picture as a JBP1 stream.
Bytes paintedRgb565() {
    const test::TestPicture picture = test::naturalPicture(640, 480);
    Bytes out;
    for (size_t i = 0; i < picture.pixels.size(); i += 3) {
        const uint16_t pixel = rgb565FromBgr(&picture.pixels[i]);
        out.push_back(static_cast<uint8_t>(pixel));
        out.push_back(static_cast<uint8_t>(pixel >> 8));
    }
    return out;
}
void BM_DecodePaintedPicture(benchmark::State& state) {
    decode(state, paintedRgb565());
}
void BM_DecodeJbp1Stream(benchmark::State& state) {
    const test::TestPicture picture = test::naturalPicture(640, 480);
    Bytes stream;
    if (!jbp1Encode(picture.pixels.data(), 640, 480, picture.stride(), 90, stream)) {
        state.SkipWithError("cannot encode");
        return;
    }
    decode(state, stream);
}

void BM_Memcpy(benchmark::State& state) {
    const Bytes data = sampleText(kDecodeSize, 1);
    Bytes out(data.size());
    for (auto _ : state) {
        std::memcpy(out.data(), data.data(), data.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

void encodeFast(benchmark::State& state, const Bytes& data) {
    Bytes stream(lzssMaxEncodedSize(data.size()));
    LzssEncoder encoder;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            encoder.encode(stream.data(), stream.size(), data.data(), data.size()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

void encodeReference(benchmark::State& state, const Bytes& data) {
    for (auto _ : state)
        benchmark::DoNotOptimize(referenceLzssEncode(data));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

void BM_EncodeText(benchmark::State& state) {
    encodeFast(state, sampleText(kEncodeSize, 1));
}
void BM_EncodeTextReference(benchmark::State& state) {
    encodeReference(state, sampleText(kEncodeSize, 1));
}
void BM_EncodePicture(benchmark::State& state) {
    encodeFast(state, samplePicture(kEncodeSize, 2));
}
void BM_EncodePictureReference(benchmark::State& state) {
    encodeReference(state, samplePicture(kEncodeSize, 2));
}

BENCHMARK(BM_DecodeText);
BENCHMARK(BM_DecodePicture);
BENCHMARK(BM_DecodeNoise);
BENCHMARK(BM_DecodePaintedPicture);
BENCHMARK(BM_DecodeJbp1Stream);
BENCHMARK(BM_Memcpy);
BENCHMARK(BM_EncodeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeTextReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePictureReference)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeku
