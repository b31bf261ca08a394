// ITF-14 and MSI symbols per second through the generation dispatcher, at the
// types' usual height (several rows) with the text line. The reference run
// (copying the same data through the element list) gives a yardstick for noisy
// machines: compare the ratio, not the raw figure.
#include "bench_support.h"
#include "symbology/info.h"

namespace {

using namespace benchsupport;

constexpr char kItf14[] = "1540014128876";  // the check digit makes 14
constexpr char kMsi[] = "80523300";

void setUp(int32_t code, int32_t variant, double height) {
    quietWorld(code);
    gSym.variation1 = variant;
    gSym.Hei = height;
}

void makeSymbols(benchmark::State& state, const char* data) {
    for (auto _ : state) {
        loadData(data);
        if (STRixel() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}

void BM_Itf14(benchmark::State& state) {
    setUp(4, 10, 33);
    makeSymbols(state, kItf14);
}
BENCHMARK(BM_Itf14);

void BM_Msi(benchmark::State& state) {
    setUp(35, 0, 15);
    makeSymbols(state, kMsi);
}
BENCHMARK(BM_Msi);

void BM_Reference(benchmark::State& state) {
    setUp(4, 10, 33);
    for (auto _ : state) {
        loadData(kItf14);
        putDataCopies(32, sizeof kItf14 - 1);
    }
    countRate(state, "runs/s");
}
BENCHMARK(BM_Reference);

}  // namespace
