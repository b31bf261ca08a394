// Code 128 symbols per second for 40 mixed characters (code-set switching, a
// line-feed escape, the row and its text line). The reference run (copying the
// same data through the element list) gives a yardstick for noisy machines:
// compare the ratio, not the raw figure.
#include "bench_support.h"
#include "symbology/encoders.h"

namespace {

using namespace benchsupport;

constexpr char kData[] = "Lot 48213-A exp 20261231 qty 0042 \\nSer9";  // 40 characters
static_assert(sizeof kData - 1 == 40);
constexpr int32_t kCode128 = 5;

void BM_Code128Mixed40(benchmark::State& state) {
    quietWorld(kCode128);
    for (auto _ : state) {
        loadData(kData);
        if (OneTwoEight() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}
BENCHMARK(BM_Code128Mixed40);

void BM_Reference(benchmark::State& state) {
    quietWorld(kCode128);
    for (auto _ : state) {
        loadData(kData);
        putDataCopies(8, sizeof kData - 1);
    }
    countRate(state, "runs/s");
}
BENCHMARK(BM_Reference);

}  // namespace
