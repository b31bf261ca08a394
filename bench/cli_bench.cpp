// The command line as a user runs it: one process making one EAN-13 EPS, and a
// stream of records from standard input making many documents. Peak memory is
// reported as a counter (max_rss_mb). Compare ratios to the reference run (the
// same records parsed but not written), not raw figures, on a noisy machine.
#include <cstdlib>
#include <string>

#include "bench_support.h"

namespace {

std::string scratch() { return benchsupport::scratch("strixel-bench", "cli"); }

double maxRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

void BM_WholeProcessOneEan13(benchmark::State& state) {
    const std::string out = scratch() + "/one.eps";
    const std::string cmd = std::string(STRIXEL_BINARY) +
                            " '{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + out +
                            "\"}' >/dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("strixel failed");
    }
    state.SetLabel("target: under 10 ms per run");
}
BENCHMARK(BM_WholeProcessOneEan13)->Unit(benchmark::kMillisecond);

std::string records(int n, bool code128, const std::string& dir) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        const std::string path = dir + "/d" + std::to_string(i % 100) + ".eps";
        if (code128)
            s += "{type:\"Code 128\", data:\"STRIXEL-" + std::to_string(100000 + i) +
                 "\", saveto:\"" + path + "\"}\n";
        else
            s += "{type:\"EAN 13\", data:\"4006381" + std::to_string(10000 + i % 90000) +
                 "\", saveto:\"" + path + "\"}\n";
    }
    return s;
}

void documentsFromInput(benchmark::State& state, bool code128) {
    const int n = static_cast<int>(state.range(0));
    benchsupport::runRecords(state, records(n, code128, scratch()), n);
    state.counters["max_rss_mb"] = maxRssMb();
    state.SetLabel("target: 20,000 documents/s or more, under 20 MB");
}

void BM_Ean13DocumentsFromInput(benchmark::State& state) { documentsFromInput(state, false); }
void BM_Code128DocumentsFromInput(benchmark::State& state) { documentsFromInput(state, true); }
BENCHMARK(BM_Ean13DocumentsFromInput)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Code128DocumentsFromInput)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
