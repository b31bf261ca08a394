// PDF417 symbols per second for 300 characters of text (and the same in byte
// compaction). The reference run puts as many bytes into the element list as
// the text symbol holds, one by one: compare ratios on noisy machines.
#include "bench_support.h"
#include "symbology/encoders.h"

namespace {

using namespace benchsupport;

std::string text300() {
    const std::string words = "Order 4471-B, 12 cartons of Strixel labels; ship to Dock 3 (rear). ";
    std::string s;
    while (s.size() < 300) s += words;
    return s.substr(0, 300);
}

void setUp(int32_t variation1) {
    quietWorld(42);
    gSym.variation1 = variation1;
    const std::string data = text300();
    loadMainData(data.c_str(), data.size());
}

// Argument 0: text compaction; 1: byte compaction.
void BM_Pdf417Chars300(benchmark::State& state) {
    const auto variation1 = static_cast<int32_t>(state.range(0));
    setUp(variation1);
    for (auto _ : state) {
        const int32_t r =
            variation1 == 1 ? Barcode2D_CreatePDFByteCompaction() : Barcode2D_CreatePDF();
        if (r != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}
BENCHMARK(BM_Pdf417Chars300)->Arg(0)->Arg(1);

// MicroPDF417 of 148 bytes, its largest size.
void BM_MicroPdf148(benchmark::State& state) {
    const std::string data(148, '\xe9');
    quietWorld(41);
    for (auto _ : state) {
        loadMainData(data.c_str(), data.size());
        if (MicroPDF417() != 0) state.SkipWithError("refused");
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    countRate(state);
}
BENCHMARK(BM_MicroPdf148);

void BM_Reference(benchmark::State& state) {
    setUp(0);
    Barcode2D_CreatePDF();
    const int32_t n = gEl.cu_len;
    for (auto _ : state) putModules(n);
    countRate(state);
}
BENCHMARK(BM_Reference);

}  // namespace
