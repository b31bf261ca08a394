// DataBar Expanded, Expanded Stacked and Limited symbols per second through the
// generation dispatcher. The reference run puts as many module bytes into the
// element list as the Expanded symbol holds, one by one: compare ratios on
// noisy machines.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "app/world.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// 40 characters as the user types them.
constexpr const char* kExpanded40 = "(01)98898765432106(3202)012345(15)991231";

void setUp(int32_t code, int32_t variation1, const std::string& data) {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = code;
    gSym.variation1 = variation1;
    gSym.human = 0;
    std::memcpy(gData.chMainCode, data.c_str(), data.size() + 1);
    gData.len1 = static_cast<int32_t>(data.size());
}

void countSymbols(benchmark::State& state) {
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The dispatcher works on the data in place: each symbol starts from the typed text.
void run(benchmark::State& state, int32_t code, int32_t variation1, const std::string& data) {
    setUp(code, variation1, data);
    for (auto _ : state) {
        std::memcpy(gData.chMainCode, data.c_str(), data.size() + 1);
        gData.len1 = static_cast<int32_t>(data.size());
        if (STRixel() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countSymbols(state);
}

void BM_Expanded40(benchmark::State& state) { run(state, 37, 5, kExpanded40); }
BENCHMARK(BM_Expanded40);

void BM_ExpandedStacked40(benchmark::State& state) { run(state, 37, 6, kExpanded40); }
BENCHMARK(BM_ExpandedStacked40);

void BM_Limited(benchmark::State& state) { run(state, 37, 4, "1501234567890"); }
BENCHMARK(BM_Limited);

void BM_Reference(benchmark::State& state) {
    constexpr int32_t kExpandedModules = 201;  // one row and its 13
    for (auto _ : state) {
        gEl.clear();
        for (int32_t i = 0; i < kExpandedModules; ++i)
            gEl.put(static_cast<unsigned char>(i & 1 ? 190 : 59));
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countSymbols(state);
}
BENCHMARK(BM_Reference);

}  // namespace
