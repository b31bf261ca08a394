// An import run through the command line: 10,000 Code 128 records of a CR LF
// file, one text line each appended to one file on a tmpfs. Target: 250,000
// records per second or more (items_per_second), which holds only while the
// import file is read ahead rather than a byte per system call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "automation/cli.h"
#include "bench_support.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 10000;

void BM_ImportRunToTextLines(benchmark::State& state) {
    const fs::path dir = benchsupport::scratch("strixel-import-bench", "run");
    const std::string records = (dir / "records.csv").string();
    {
        std::ofstream f(records, std::ios::binary);
        char line[64];
        for (int i = 0; i < kRecords; ++i) {
            std::snprintf(line, sizeof line, "STRIXEL-%06d,name %d\r\n", 100000 + i, i);
            f << line;
        }
    }
    const std::string lines = (dir / "lines.txt").string();
    const std::string request =
        "{type:\"Code 128\", data:\"<<1>>\", import:\"" + records + "\", saveto:\"" + lines + "\"}";
    const char* argv[] = {"strixel", "--kind=text-line", request.c_str()};
    for (auto _ : state) {
        fs::remove(lines);  // each run appends to a file of its own
        std::istringstream in;
        std::ostringstream out, err;
        if (runCommandLine(3, argv, in, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.SetLabel("target: items_per_second at least 250k");
    fs::remove_all(dir);
}
BENCHMARK(BM_ImportRunToTextLines)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
