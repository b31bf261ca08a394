// QR Code symbols per second: 100 bytes at level M, from the data to the block
// letters of the element list. The reference run is a fixed arithmetic loop, so
// that figures from noisy machines can be compared as ratios.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "app/world.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

std::string hundredBytes() {
    std::string s;
    for (int i = 0; s.size() < 100; ++i) s += "Lot " + std::to_string(1000 + i * 37) + "/b; ";
    s.resize(100);
    return s;
}

void BM_QR_100Bytes_LevelM(benchmark::State& state) {
    resetWorld();
    gMsg.quiet = true;
    const std::string data = hundredBytes();
    for (auto _ : state) {
        if (QRencodeData(data.data(), static_cast<int32_t>(data.size()), 1, 1, 1, -1) != 0) {
            state.SkipWithError("QR Code refused the data");
            break;
        }
        benchmark::DoNotOptimize(gEl.chNum[0]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QR_100Bytes_LevelM);

void BM_Reference(benchmark::State& state) {
    for (auto _ : state) {
        uint32_t x = 1;
        for (int i = 0; i < 10000; ++i) x = x * 1664525u + 1013904223u;
        benchmark::DoNotOptimize(x);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Reference);

}  // namespace
