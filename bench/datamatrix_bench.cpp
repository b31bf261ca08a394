// DataMatrix symbols per second for 100 bytes of mixed data. The reference
// run (copying the same data through the element list) gives a yardstick for
// noisy machines: compare the ratio, not the raw figure.
#include "bench_support.h"
#include "symbology/encoders.h"

namespace {

using namespace benchsupport;

// 100 bytes: letters, digits, punctuation and two escapes.
constexpr char kData[] =
    "Batch 2026-12-06 / Lot 48213-A \\d233 Expires 311229 Serial 000184467 "
    "strixel.example/qr?id=771\\d010x";
static_assert(sizeof kData - 1 == 100);

void setUp() {
    quietWorld(38);
    loadMainData(kData, sizeof kData - 1);
}

void BM_DataMatrix100(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        if (doDataMatrixCode(gData.chMainCode) != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}
BENCHMARK(BM_DataMatrix100);

void BM_Reference(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        gEl.clear();
        putDataCopies(20, 100);
    }
    countRate(state, "runs/s");
}
BENCHMARK(BM_Reference);

}  // namespace
