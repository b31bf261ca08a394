// A batch of Code 128 records through the whole command-line path: records per
// second into a null sink (/dev/null, no file made) and into files on a tmpfs,
// and the user CPU of the program's own process for 10,000 EPS files set against
// the peer encoder's batch mode (zint --batch) run in the same iteration. Read
// the ratio (user_ratio_to_zint), not the raw figures: the machine is noisy.
#include <string>

#include "bench_support.h"

namespace {

constexpr int kBatch = 10000;

constexpr char kBench[] = "strixel-batch-bench";

std::string scratch(const std::string& name) { return benchsupport::scratch(kBench, name); }

std::string data(int i) { return "STRIXEL-" + std::to_string(100000 + i); }

// One record a line; every record its own file, or all of them /dev/null.
std::string records(int n, const std::string& dir) {
    std::string s;
    char name[32];
    for (int i = 0; i < n; ++i) {
        std::snprintf(name, sizeof name, "/%05d.eps", i);
        s += "{type:\"Code 128\", data:\"" + data(i) + "\", saveto:\"" +
             (dir.empty() ? std::string("/dev/null") : dir + name) + "\"}\n";
    }
    return s;
}

void inProcess(benchmark::State& state, bool files) {
    benchsupport::runRecords(state, records(kBatch, files ? scratch("files") : ""), kBatch);
}

void BM_Code128BatchIntoNullSink(benchmark::State& state) { inProcess(state, false); }
void BM_Code128BatchIntoTmpfsFiles(benchmark::State& state) { inProcess(state, true); }
BENCHMARK(BM_Code128BatchIntoNullSink)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Code128BatchIntoTmpfsFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both programs as a user runs them, one process each, 10,000 EPS files on tmpfs.
void BM_Code128BatchAgainstZint(benchmark::State& state) {
    benchsupport::batchAgainstZint(
        state, kBench, kBatch, [](const std::string& dir) { return records(kBatch, dir); }, data,
        {"-b", "20", "--filetype=EPS"}, "eps");
    state.SetLabel("target: user_ratio_to_zint at most 0.7");
}
BENCHMARK(BM_Code128BatchAgainstZint)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
