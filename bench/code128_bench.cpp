// Code 128 symbols per second for 40 mixed characters (code-set switching, a
// line-feed escape, the row and its text line). The reference run (copying the
// same data through the element list) gives a yardstick for noisy machines:
// compare the ratio, not the raw figure.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/world.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr char kData[] = "Lot 48213-A exp 20261231 qty 0042 \\nSer9";  // 40 characters
static_assert(sizeof kData - 1 == 40);
constexpr int32_t kLength = sizeof kData - 1;

void setUp() {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = 5;
}

// The encoder rewrites the data in place, so each symbol starts from a fresh copy,
// as the dispatcher's callers give it.
void loadData() {
    std::memcpy(gData.chMainCode, kData, kLength + 1);
    std::memcpy(gData.chMainCode2, kData, kLength + 1);
    gData.len1 = gData.len11 = kLength;
    gEl.clear();
}

void BM_Code128Mixed40(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        loadData();
        if (OneTwoEight() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Code128Mixed40);

void BM_Reference(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        loadData();
        for (int i = 0; i < 8; ++i)
            gEl.put(reinterpret_cast<const unsigned char*>(gData.chMainCode), kLength);
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    state.counters["runs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reference);

}  // namespace
