// A batch of Code 128 records through the whole command-line path: records per
// second into a null sink (/dev/null, no file made) and into files on a tmpfs,
// and the user CPU of the program's own process for 10,000 EPS files set against
// the peer encoder's batch mode (zint --batch) run in the same iteration. Read
// the ratio (user_ratio_to_zint), not the raw figures: the machine is noisy.
#include <fstream>
#include <sstream>
#include <string>

#include "automation/cli.h"
#include "bench_support.h"

namespace {

constexpr int kBatch = 10000;

std::string scratch(const std::string& name) {
    return benchsupport::scratch("strixel-batch-bench", name);
}

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
    const std::string input = records(kBatch, files ? scratch("files") : "");
    const char* argv[] = {"strixel", "-"};
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        if (runCommandLine(2, argv, in, out, err) != 0) state.SkipWithError("a record failed");
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_Code128BatchIntoNullSink(benchmark::State& state) { inProcess(state, false); }
void BM_Code128BatchIntoTmpfsFiles(benchmark::State& state) { inProcess(state, true); }
BENCHMARK(BM_Code128BatchIntoNullSink)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Code128BatchIntoTmpfsFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both programs as a user runs them, one process each, 10,000 EPS files on tmpfs.
void BM_Code128BatchAgainstZint(benchmark::State& state) {
    const std::string ours = scratch("ours");
    const std::string peer = scratch("zint");
    const std::string recordFile = ours + "-records.txt";
    const std::string dataFile = peer + "-data.txt";
    std::ofstream(recordFile) << records(kBatch, ours);
    {
        std::ofstream d(dataFile);
        for (int i = 0; i < kBatch; ++i) d << data(i) << "\n";
    }
    benchsupport::userTimeAgainstZint(state,
                                      {"zint", "--batch", "-b", "20", "--filetype=EPS", "-o",
                                       peer + "/~~~~~.eps", "--input=" + dataFile},
                                      recordFile);
    state.SetLabel("target: user_ratio_to_zint at most 0.7");
}
BENCHMARK(BM_Code128BatchAgainstZint)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
