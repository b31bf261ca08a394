// TIFF files of EAN-13 symbols at 600 dpi: files per second through the whole
// command line into a tmpfs folder (target 1,000 or more), the TIFF bytes alone,
// and the user CPU of the program's own process against the peer encoder's batch
// mode (zint --batch writing TIFF) on the same numbers in the same run. Read the
// ratio (user_ratio_to_zint): the machine is noisy.
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

#include "app/world.h"
#include "automation/cli.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "picture/outputstate.h"
#include "picture/rasterfiles.h"
#include "picture/symbolbox.h"
#include "picture/symbolpicture.h"
#include "symbology/info.h"
#include "symbology/messages.h"

#ifndef STRIXEL_BINARY
#define STRIXEL_BINARY "strixel"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kBatch = 1000;

std::string scratch(const std::string& name) {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path p = base / "strixel-tiff-bench" / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
}

std::string digits(int i) { return std::to_string(400638100000 + i); }  // twelve digits

std::string records(int n, const std::string& dir) {
    std::string s;
    char name[32];
    for (int i = 0; i < n; ++i) {
        std::snprintf(name, sizeof name, "/%05d.tif", i);
        s += "{type:\"EAN 13\", data:\"" + digits(i) + "\", saveto:\"" + dir + name + "\"}\n";
    }
    return s;
}

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
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6;
}

// The whole path of a request: record, symbol, picture, TIFF, file.
void BM_Ean13TiffFilesThroughTheCommandLine(benchmark::State& state) {
    const std::string input = records(kBatch, scratch("files"));
    const char* argv[] = {"strixel", "-"};
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        if (runCommandLine(2, argv, in, out, err) != 0) state.SkipWithError("a record failed");
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.SetLabel("target: 1,000 files a second or more");
}
BENCHMARK(BM_Ean13TiffFilesThroughTheCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime();

// The TIFF bytes alone, from the symbol's picture.
void BM_Ean13TiffBytes(benchmark::State& state) {
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
    parseCodeType("EAN 13");
    applyScriptPair("data", "400638133393");
    if (!addSingleSymbolItem() || !recordSymbolPicture()) {
        state.SkipWithError("no picture");
        return;
    }
    const qd::Picture* pic = gPictOut.Pict;
    const qd::Rect rect{0, 0, 625, 908};  // 109 x 75 points at 600 dpi
    std::string out;
    for (auto _ : state) {
        if (!TiffToFile(pic, rect, "", 600, &out)) state.SkipWithError("not written");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
    resetWorld();
}
BENCHMARK(BM_Ean13TiffBytes)->Unit(benchmark::kMicrosecond);

// Both programs as a user runs them, one process each, the same 1,000 numbers.
void BM_Ean13TiffAgainstZint(benchmark::State& state) {
    const std::string ours = scratch("ours");
    const std::string peer = scratch("zint");
    const std::string recordFile = ours + "-records.txt";
    const std::string dataFile = peer + "-data.txt";
    std::ofstream(recordFile) << records(kBatch, ours);
    {
        std::ofstream d(dataFile);
        for (int i = 0; i < kBatch; ++i) d << digits(i) << "\n";
    }
    double oursTotal = 0, zintTotal = 0;
    for (auto _ : state) {
        // zint's scale 4 draws EAN-13's 0.33 mm module in about 8 pixels, as 600 dpi does.
        const double z =
            childUserSeconds({"zint", "--batch", "-b", "13", "--scale=4", "--filetype=TIF", "-o",
                              peer + "/~~~~~.tif", "--input=" + dataFile},
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
}
BENCHMARK(BM_Ean13TiffAgainstZint)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
