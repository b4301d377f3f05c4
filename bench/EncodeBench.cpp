// Encoding speed of a screen-sized picture: a coder that went quadratic shows here at once.
#include "BenchPictures.h"

#include <benchmark/benchmark.h>

namespace {

void BM_EncodeVX8(benchmark::State& state)
{
    const TVX8SourceImage image = MakeGameLikePicture(
        "bench", static_cast<uint16_t>(state.range(0)), static_cast<uint16_t>(state.range(1)));
    for (auto _ : state) {
        TVX8EncodedRecord record = EncodeImageRecord(image);
        benchmark::DoNotOptimize(record.Bytes.data());
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.Pixels.size()));
}

} // namespace

BENCHMARK(BM_EncodeVX8)->Args({1024, 768})->Unit(benchmark::kMillisecond);
