// Code 39 symbols per second for 20 characters with the modulo-43 check, the
// row and its text line; the aim is a million or more. The reference run
// (copying the same data through the element list) gives a yardstick for
// noisy machines: compare the ratio, not the raw figure.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/world.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr char kData[] = "STRIXEL-39 LOT 12345";  // 20 characters
static_assert(sizeof kData - 1 == 20);
constexpr int32_t kLength = sizeof kData - 1;

void setUp() {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = 6;
}

void loadData() {
    std::memcpy(gData.chMainCode, kData, kLength + 1);
    std::memcpy(gData.chMainCode2, kData, kLength + 1);
    gData.len1 = gData.len11 = kLength;
    gEl.clear();
}

void BM_Code39Of20(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        loadData();
        if (ThirtyNine() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Code39Of20);

void BM_Reference(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        loadData();
        for (int i = 0; i < 12; ++i)
            gEl.put(reinterpret_cast<const unsigned char*>(gData.chMainCode), kLength);
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    state.counters["runs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reference);

}  // namespace
