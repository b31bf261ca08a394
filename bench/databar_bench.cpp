// DataBar-14 symbols per second through the dispatcher, with a CC-A composite
// component (lot and expiry date) and without. The reference run puts as many
// module bytes into the element list as the composite symbol holds, one by one:
// compare ratios on noisy machines.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "app/world.h"
#include "databar/CC.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

const char kPlain[] = "2001234567890";
const char kWithCcA[] = "2001234567890|(17)251231(10)ABC123";

void setUp(const char* data) {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = 37;
    gSym.variation1 = 0;
    std::strcpy(gData.chMainCode, data);
    gData.len1 = static_cast<int32_t>(std::strlen(data));
}

void countSymbols(benchmark::State& state) {
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The dispatcher rewrites the data (the AI filter), so every symbol starts from
// the typed text.
void makeSymbols(benchmark::State& state, const char* data, bool composite) {
    setUp(data);
    const size_t n = std::strlen(data) + 1;
    for (auto _ : state) {
        std::memcpy(gData.chMainCode, data, n);
        gData.len1 = static_cast<int32_t>(n - 1);
        if (STRixel() != 0 || (composite && gCc.ccb)) state.SkipWithError("not a CC-A symbol");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countSymbols(state);
}

void BM_DataBar14WithCcA(benchmark::State& state) { makeSymbols(state, kWithCcA, true); }
BENCHMARK(BM_DataBar14WithCcA);

void BM_DataBar14(benchmark::State& state) { makeSymbols(state, kPlain, false); }
BENCHMARK(BM_DataBar14);

void BM_Reference(benchmark::State& state) {
    setUp(kWithCcA);
    STRixel();
    const int32_t n = gEl.cu_len;
    for (auto _ : state) {
        gEl.clear();
        for (int32_t i = 0; i < n; ++i) gEl.put(static_cast<unsigned char>(i & 1 ? 190 : 59));
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countSymbols(state);
}
BENCHMARK(BM_Reference);

}  // namespace
