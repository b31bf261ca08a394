// ITF-14 and MSI symbols per second through the generation dispatcher, at the
// types' usual height (several rows) with the text line. The reference run
// (copying the same data through the element list) gives a yardstick for noisy
// machines: compare the ratio, not the raw figure.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/world.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr char kItf14[] = "1540014128876";  // the check digit makes 14
constexpr char kMsi[] = "80523300";

void setUp(int32_t code, int32_t variant, double height) {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = code;
    gSym.variation1 = variant;
    gSym.Hei = height;
}

// The encoders rewrite the data in place, so each symbol starts from a fresh copy.
void loadData(const char* data) {
    const size_t n = std::strlen(data);
    std::memcpy(gData.chMainCode, data, n + 1);
    std::memcpy(gData.chMainCode2, data, n + 1);
    gData.len1 = gData.len11 = static_cast<int32_t>(n);
}

void rate(benchmark::State& state, const char* name) {
    state.counters[name] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Itf14(benchmark::State& state) {
    setUp(4, 10, 33);
    for (auto _ : state) {
        loadData(kItf14);
        if (STRixel() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    rate(state, "symbols/s");
}
BENCHMARK(BM_Itf14);

void BM_Msi(benchmark::State& state) {
    setUp(35, 0, 15);
    for (auto _ : state) {
        loadData(kMsi);
        if (STRixel() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    rate(state, "symbols/s");
}
BENCHMARK(BM_Msi);

void BM_Reference(benchmark::State& state) {
    setUp(4, 10, 33);
    for (auto _ : state) {
        loadData(kItf14);
        gEl.clear();
        for (int i = 0; i < 32; ++i)
            gEl.put(reinterpret_cast<const unsigned char*>(gData.chMainCode), sizeof kItf14 - 1);
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    rate(state, "runs/s");
}
BENCHMARK(BM_Reference);

}  // namespace
