// Code 39 symbols per second for 20 characters with the modulo-43 check, the
// row and its text line; the aim is a million or more. The reference run
// (copying the same data through the element list) gives a yardstick for
// noisy machines: compare the ratio, not the raw figure.
#include "bench_support.h"
#include "symbology/encoders.h"

namespace {

using namespace benchsupport;

constexpr char kData[] = "STRIXEL-39 LOT 12345";  // 20 characters
static_assert(sizeof kData - 1 == 20);
constexpr int32_t kCode39 = 6;

void BM_Code39Of20(benchmark::State& state) {
    quietWorld(kCode39);
    for (auto _ : state) {
        loadData(kData);
        if (ThirtyNine() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}
BENCHMARK(BM_Code39Of20);

void BM_Reference(benchmark::State& state) {
    quietWorld(kCode39);
    for (auto _ : state) {
        loadData(kData);
        putDataCopies(12, sizeof kData - 1);
    }
    countRate(state, "runs/s");
}
BENCHMARK(BM_Reference);

}  // namespace
