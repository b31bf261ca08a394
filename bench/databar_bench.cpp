// DataBar-14 symbols per second through the dispatcher, with a CC-A composite
// component (lot and expiry date) and without. The reference run puts as many
// module bytes into the element list as the composite symbol holds, one by one:
// compare ratios on noisy machines.
#include "bench_support.h"
#include "databar/CC.h"
#include "symbology/info.h"

namespace {

using namespace benchsupport;

const char kPlain[] = "2001234567890";
const char kWithCcA[] = "2001234567890|(17)251231(10)ABC123";

void setUp(const char* data) {
    quietWorld(37);
    gSym.variation1 = 0;
    loadMainData(data, std::strlen(data));
}

// The dispatcher rewrites the data (the AI filter), so every symbol starts from
// the typed text.
void makeSymbols(benchmark::State& state, const char* data, bool composite) {
    setUp(data);
    const size_t n = std::strlen(data);
    for (auto _ : state) {
        loadMainData(data, n);
        if (STRixel() != 0 || (composite && gCc.ccb)) state.SkipWithError("not a CC-A symbol");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}

void BM_DataBar14WithCcA(benchmark::State& state) { makeSymbols(state, kWithCcA, true); }
BENCHMARK(BM_DataBar14WithCcA);

void BM_DataBar14(benchmark::State& state) { makeSymbols(state, kPlain, false); }
BENCHMARK(BM_DataBar14);

void BM_Reference(benchmark::State& state) {
    setUp(kWithCcA);
    STRixel();
    const int32_t n = gEl.cu_len;
    for (auto _ : state) putModules(n);
    countRate(state);
}
BENCHMARK(BM_Reference);

}  // namespace
