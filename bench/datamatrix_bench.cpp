// DataMatrix symbols per second for 100 bytes of mixed data. The reference
// run (copying the same data through the element list) gives a yardstick for
// noisy machines: compare the ratio, not the raw figure.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/world.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// 100 bytes: letters, digits, punctuation and two escapes.
constexpr char kData[] =
    "Batch 2026-12-06 / Lot 48213-A \\d233 Expires 311229 Serial 000184467 "
    "strixel.example/qr?id=771\\d010x";

void setUp() {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = 38;
    std::strcpy(gData.chMainCode, kData);
    gData.len1 = static_cast<int32_t>(std::strlen(kData));
}

void BM_DataMatrix100(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        if (doDataMatrixCode(gData.chMainCode) != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DataMatrix100);

void BM_Reference(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        gEl.clear();
        for (int i = 0; i < 20; ++i)
            gEl.put(reinterpret_cast<const unsigned char*>(gData.chMainCode), 100);
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    state.counters["runs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reference);

}  // namespace
