// EAN-13 with a five-digit add-on, from the data to the finished element list.
#include "bench_support.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/rows.h"

namespace {

using benchsupport::countRate;

void prepare() {
    resetWorld();
    gSym.Hei = 22.85;  // the nominal EAN-13 bar height
    std::strcpy(gData.chAddCode, "52495");
    std::strcpy(gData.chAddCode2, "52495");
    gData.len2 = gData.len22 = 5;
}

void loadSymbol() {
    // What the dispatcher does before each symbol.
    std::memcpy(gData.chMainCode, "501234567890", 13);
    gData.len1 = 12;
    gEl.cu_len = 0;
    gDispatch.nu = 0;
}

void BM_Ean13WithAddOn(benchmark::State& state) {
    prepare();
    for (auto _ : state) {
        loadSymbol();
        benchmark::DoNotOptimize(EAN13());
        benchmark::DoNotOptimize(gEl.chNum[gEl.cu_len - 1]);
    }
    countRate(state);
    state.counters["bytes"] = gEl.cu_len;
}
BENCHMARK(BM_Ean13WithAddOn);

// Reference in the same process: copying as many bytes as one symbol holds.
void BM_ReferenceCopy(benchmark::State& state) {
    prepare();
    loadSymbol();
    EAN13();
    static unsigned char out[kElementListSize];
    const size_t n = static_cast<size_t>(gEl.cu_len);
    for (auto _ : state) {
        std::memcpy(out, gEl.chNum, n);
        benchmark::DoNotOptimize(out[n - 1]);
        benchmark::ClobberMemory();
    }
    countRate(state, "copies/s");
}
BENCHMARK(BM_ReferenceCopy);

}  // namespace
