// DataBar Expanded, Expanded Stacked and Limited symbols per second through the
// generation dispatcher. The reference run puts as many module bytes into the
// element list as the Expanded symbol holds, one by one: compare ratios on
// noisy machines.
#include "bench_support.h"
#include "symbology/info.h"

namespace {

using namespace benchsupport;

// 40 characters as the user types them.
constexpr const char* kExpanded40 = "(01)98898765432106(3202)012345(15)991231";

// The dispatcher works on the data in place: each symbol starts from the typed text.
void run(benchmark::State& state, int32_t code, int32_t variation1, const std::string& data) {
    quietWorld(code);
    gSym.variation1 = variation1;
    gSym.human = 0;
    for (auto _ : state) {
        loadMainData(data.c_str(), data.size());
        if (STRixel() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}

void BM_Expanded40(benchmark::State& state) { run(state, 37, 5, kExpanded40); }
BENCHMARK(BM_Expanded40);

void BM_ExpandedStacked40(benchmark::State& state) { run(state, 37, 6, kExpanded40); }
BENCHMARK(BM_ExpandedStacked40);

void BM_Limited(benchmark::State& state) { run(state, 37, 4, "1501234567890"); }
BENCHMARK(BM_Limited);

void BM_Reference(benchmark::State& state) {
    constexpr int32_t kExpandedModules = 201;  // one row and its 13
    for (auto _ : state) putModules(kExpandedModules);
    countRate(state);
}
BENCHMARK(BM_Reference);

}  // namespace
