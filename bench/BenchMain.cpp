// Runs every benchmark, then prints decoding speed as ratios to memcpy and to libpng.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Collects the real time per iteration of every run while printing as usual.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                Seconds[run.benchmark_name()]
                    = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios(const std::string& size, double pixels) const
    {
        auto time = [&](const std::string& name) {
            auto it = Seconds.find(name + "/" + size);
            return it == Seconds.end() ? 0.0 : it->second;
        };
        double vx8 = time("BM_DecodeVX8"), copy = time("BM_Memcpy"), png = time("BM_DecodePng");
        if (vx8 <= 0 || copy <= 0 || png <= 0)
            return;
        std::printf("%-10s decode %8.1f MB/s   memcpy %8.1f MB/s   libpng %8.1f MB/s   "
                    "decode/memcpy %5.3f   decode/libpng %6.2fx\n",
            size.c_str(), pixels / vx8 / 1e6, pixels / copy / 1e6, pixels / png / 1e6, copy / vx8,
            png / vx8);
    }

private:
    std::map<std::string, double> Seconds;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf(
        "\nDecoding speed in pixels (1 byte each), as a share of memcpy and against libpng:\n");
    reporter.PrintRatios("1024/768", 1024.0 * 768.0);
    reporter.PrintRatios("96/288", 96.0 * 288.0);
    benchmark::Shutdown();
    return 0;
}
