// Batches of records through the whole command-line path: records per second
// into a null sink (/dev/null, no file made) and into files on a tmpfs, and the
// CPU of the program's own process for 10,000 Code 128 and 10,000 EAN-13 EPS
// files set against the peer encoder's batch mode (zint --batch) run in the same
// iteration. Read the ratios (user_ratio_to_zint, user_sys_ratio_to_zint), not
// the raw figures: the machine is noisy. Targets: user at most 0.5, user +
// system at most 1.0. bytes_only_ratio_to_zint is the CPU of writing our files'
// bytes alone, the kernel's share that no faster encoder removes.
#include <string>

#include "bench_support.h"

namespace {

constexpr int kBatch = 10000;

constexpr char kBench[] = "strixel-batch-bench";

std::string scratch(const std::string& name) { return benchsupport::scratch(kBench, name); }

std::string code128Data(int i) { return "STRIXEL-" + std::to_string(100000 + i); }
std::string ean13Data(int i) { return std::to_string(400638133393LL + i); }

// One record a line; every record its own file, or all of them /dev/null.
std::string records(const std::string& type, std::string (*data)(int), int n,
                    const std::string& dir) {
    std::string s;
    char name[32];
    for (int i = 0; i < n; ++i) {
        std::snprintf(name, sizeof name, "/%05d.eps", i);
        s += "{type:\"" + type + "\", data:\"" + data(i) + "\", saveto:\"" +
             (dir.empty() ? std::string("/dev/null") : dir + name) + "\"}\n";
    }
    return s;
}

void inProcess(benchmark::State& state, bool files) {
    benchsupport::runRecords(
        state, records("Code 128", code128Data, kBatch, files ? scratch("files") : ""), kBatch);
}

void BM_Code128BatchIntoNullSink(benchmark::State& state) { inProcess(state, false); }
void BM_Code128BatchIntoTmpfsFiles(benchmark::State& state) { inProcess(state, true); }
BENCHMARK(BM_Code128BatchIntoNullSink)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Code128BatchIntoTmpfsFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both programs as a user runs them, one process each, 10,000 EPS files on tmpfs.
void BM_Code128BatchAgainstZint(benchmark::State& state) {
    benchsupport::batchAgainstZint(
        state, kBench, kBatch,
        [](const std::string& dir) { return records("Code 128", code128Data, kBatch, dir); },
        code128Data, {"-b", "20", "--filetype=EPS"}, "eps");
    state.SetLabel("target: user_ratio_to_zint at most 0.5, user_sys_ratio_to_zint at most 1.0");
}
BENCHMARK(BM_Code128BatchAgainstZint)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Ean13BatchAgainstZint(benchmark::State& state) {
    benchsupport::batchAgainstZint(
        state, kBench, kBatch,
        [](const std::string& dir) { return records("EAN 13", ean13Data, kBatch, dir); }, ean13Data,
        {"-b", "13", "--filetype=EPS"}, "eps");
    state.SetLabel("target: user_ratio_to_zint at most 0.5, user_sys_ratio_to_zint at most 1.0");
}
BENCHMARK(BM_Ean13BatchAgainstZint)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
