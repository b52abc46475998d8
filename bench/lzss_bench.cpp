// LZSS speed: decoding script text and RGB565 pictures next to a memcpy of the same output,
// and the fast encoder next to the plain transcription it must match byte for byte.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "common/lzss/lzss.h"
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
        const LzssDecodeResult r = lzssDecode(out.data(), out.size(), stream.data(), stream.size());
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
BENCHMARK(BM_Memcpy);
BENCHMARK(BM_EncodeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeTextReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePictureReference)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeku
