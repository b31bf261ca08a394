// A batch of Code 128 records through the whole command-line path: records per
// second into a null sink (/dev/null, no file made) and into files on a tmpfs,
// and the user CPU of the program's own process for 10,000 EPS files set against
// the peer encoder's batch mode (zint --batch) run in the same iteration. Read
// the ratio (user_ratio_to_zint), not the raw figures: the machine is noisy.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "automation/cli.h"

#ifndef STRIXEL_BINARY
#define STRIXEL_BINARY "strixel"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kBatch = 10000;

std::string scratch(const std::string& name) {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path p = base / "strixel-batch-bench" / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
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

double userSeconds(const rusage& u) { return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6; }

// Runs a program with standard input from a file; its user CPU seconds, or -1.
double childUserSeconds(const std::vector<std::string>& args, const std::string& input) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        const int null = ::open("/dev/null", O_WRONLY);
        if (in < 0 || null < 0) ::_exit(127);
        ::dup2(in, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage u{};
    if (::wait4(pid, &status, 0, &u) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return userSeconds(u);
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
    double oursTotal = 0, zintTotal = 0;
    for (auto _ : state) {
        const double z = childUserSeconds({"zint", "--batch", "-b", "20", "--filetype=EPS", "-o",
                                           peer + "/~~~~~.eps", "--input=" + dataFile},
                                          "/dev/null");
        const double o = childUserSeconds({STRIXEL_BINARY, "-"}, recordFile);
        if (z < 0 || o < 0) {
            state.SkipWithError("zint (Debian package zint) or strixel failed");
            break;
        }
        zintTotal += z;
        oursTotal += o;
    }
    state.counters["strixel_user_s"] = oursTotal / state.iterations();
    state.counters["zint_user_s"] = zintTotal / state.iterations();
    state.counters["user_ratio_to_zint"] = zintTotal > 0 ? oursTotal / zintTotal : 0;
    state.SetLabel("target: user_ratio_to_zint at most 0.7");
}
BENCHMARK(BM_Code128BatchAgainstZint)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
