// Decoding speed of library images against memcpy of the same bytes (the ceiling) and libpng
// decoding the same picture stored as an indexed PNG (the peer).
#include "BenchPictures.h"

#include "vx8/VX8Image.h"
#include "vx8/VX8Library.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace {

struct TBenchPicture {
    TVX8SourceImage Source;
    std::string LibraryPath;
    int64_t RecordOffset = 0;
    std::vector<uint8_t> Png;
};

const TBenchPicture& Picture(uint16_t width, uint16_t height)
{
    static std::map<std::pair<int, int>, TBenchPicture> pictures;
    auto [it, added] = pictures.try_emplace({width, height});
    if (added) {
        TBenchPicture& p = it->second;
        p.Source = MakeGameLikePicture("bench", width, height);
        TVX8Palette palette {};
        p.LibraryPath = WriteTemporaryFile(EncodeLibrary(palette, {p.Source}), "pathwarden-bench");
        p.RecordOffset = TVX8Library::FirstRecordOffset;
        p.Png = EncodeIndexedPng(p.Source);
    }
    return it->second;
}

void SetPixelsProcessed(benchmark::State& state, const TVX8SourceImage& image)
{
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.Pixels.size()));
}

void BM_DecodeVX8(benchmark::State& state)
{
    const TBenchPicture& p = Picture(state.range(0), state.range(1));
    TVX8FileStream stream(p.LibraryPath, TVX8FileStream::TMode::ReadOnly);
    for (auto _ : state) {
        TVX8Image image;
        stream.Seek(p.RecordOffset);
        image.ReadFromStream(stream);
        image.DecodeAll();
        benchmark::DoNotOptimize(image.Segments.data());
    }
    SetPixelsProcessed(state, p.Source);
}

void BM_Memcpy(benchmark::State& state)
{
    const TBenchPicture& p = Picture(state.range(0), state.range(1));
    std::vector<uint8_t> target(p.Source.Pixels.size());
    for (auto _ : state) {
        std::memcpy(target.data(), p.Source.Pixels.data(), target.size());
        benchmark::ClobberMemory();
    }
    SetPixelsProcessed(state, p.Source);
}

void BM_DecodePng(benchmark::State& state)
{
    const TBenchPicture& p = Picture(state.range(0), state.range(1));
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        DecodeIndexedPng(p.Png, pixels);
        benchmark::DoNotOptimize(pixels.data());
    }
    SetPixelsProcessed(state, p.Source);
}

void PictureSizes(benchmark::internal::Benchmark* b)
{
    b->Args({1024, 768})->Args({96, 288})->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_DecodeVX8)->Apply(PictureSizes);
BENCHMARK(BM_Memcpy)->Apply(PictureSizes);
BENCHMARK(BM_DecodePng)->Apply(PictureSizes);
