// One symbol per process, as scripts and web back ends call the program: the
// whole process's wall time (start-up included) and its CPU against zint making
// the same symbol in the same iteration. Targets: at most 3 ms wall
// (strixel_wall_ms) and at most 2x zint's CPU (user_sys_ratio_to_zint). zint
// writes no PDF: the Code 128 PDF is set against its EPS of the same data.
#include <chrono>
#include <string>

#include "bench_support.h"

namespace {

constexpr char kBench[] = "strixel-single-bench";

struct Symbol {
    const char* type;   // ours
    const char* zintB;  // zint's -b
    const char* data;
    const char* ext;
};

void oneSymbol(benchmark::State& state, const Symbol& s) {
    const std::string dir = benchsupport::scratch(kBench, s.zintB);
    const std::string ours = dir + "/ours." + s.ext;
    const std::string record =
        std::string("{type:\"") + s.type + "\", data:\"" + s.data + "\", saveto:\"" + ours + "\"}";
    double wall = 0, oursCpu = 0, zintCpu = 0;
    for (auto _ : state) {
        const benchsupport::ChildTimes z = benchsupport::childTimes(
            {"zint", "-b", s.zintB, "--filetype=EPS", "-o", dir + "/zint.eps", "-d", s.data},
            "/dev/null");
        const auto start = std::chrono::steady_clock::now();
        const benchsupport::ChildTimes o =
            benchsupport::childTimes({STRIXEL_BINARY, record}, "/dev/null");
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (z.user < 0 || o.user < 0) {
            state.SkipWithError("zint (Debian package zint) or strixel failed");
            break;
        }
        oursCpu += o.user + o.system;
        zintCpu += z.user + z.system;
    }
    const double n =
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["strixel_wall_ms"] = wall / n * 1000;
    state.counters["user_sys_ratio_to_zint"] = zintCpu > 0 ? oursCpu / zintCpu : 0;
    state.SetLabel("target: strixel_wall_ms at most 3, user_sys_ratio_to_zint at most 2");
}

void BM_Ean13ToEpsPerProcess(benchmark::State& state) {
    oneSymbol(state, {"EAN 13", "13", "400638133393", "eps"});
}
void BM_Code128ToPdfPerProcess(benchmark::State& state) {
    oneSymbol(state, {"Code 128", "20", "STRIXEL-100000", "pdf"});
}
void BM_QrCodeToEpsPerProcess(benchmark::State& state) {
    oneSymbol(state, {"QRCode", "58", "https://example.com/strixel/100000", "eps"});
}
BENCHMARK(BM_Ean13ToEpsPerProcess)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_Code128ToPdfPerProcess)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_QrCodeToEpsPerProcess)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
