// What the benchmarks share: a quiet world set to one code type, the data
// loaded as the dispatcher's callers give it, the rate counters, the element
// list reference runs, records through the command line, and child processes
// timed by their user CPU.
#pragma once

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "automation/cli.h"
#include "symbology/messages.h"
#include "symbology/state.h"

#ifndef STRIXEL_BINARY
#define STRIXEL_BINARY "strixel"
#endif

namespace benchsupport {

// A fresh world making symbols of `code`, its messages silenced.
inline void quietWorld(int32_t code) {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = code;
}

// The encoders rewrite the data in place, so each symbol starts from a fresh
// copy of the typed text (and its second copy) and an empty element list.
inline void loadData(const char* data) {
    const size_t n = std::strlen(data);
    std::memcpy(gData.chMainCode, data, n + 1);
    std::memcpy(gData.chMainCode2, data, n + 1);
    gData.len1 = gData.len11 = static_cast<int32_t>(n);
    gEl.clear();
}

// Only the main data, as the generation dispatcher takes it.
inline void loadMainData(const char* data, size_t n) {
    std::memcpy(gData.chMainCode, data, n + 1);
    gData.len1 = static_cast<int32_t>(n);
}

// Iterations per second under `name`.
inline void countRate(benchmark::State& state, const char* name = "symbols/s") {
    state.counters[name] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The reference for module-row symbols: n module bytes into the element list,
// one by one.
inline void putModules(int32_t n) {
    gEl.clear();
    for (int32_t i = 0; i < n; ++i) gEl.put(static_cast<unsigned char>(i & 1 ? 190 : 59));
    benchmark::DoNotOptimize(gEl.chNum[0]);
}

// The reference for width symbols: the main data copied `times` times through
// the element list.
inline void putDataCopies(int times, int32_t n) {
    for (int i = 0; i < times; ++i)
        gEl.put(reinterpret_cast<const unsigned char*>(gData.chMainCode), n);
    benchmark::DoNotOptimize(gEl.chNum[0]);
}

// A fresh folder `name` under `bench`, on memory-backed storage where the machine
// has it, so the figures measure the program rather than the disk's journal.
inline std::string scratch(const std::string& bench, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path p = base / bench / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
}

// Every iteration runs `input` (records one a line) through the command line as
// its standard input; `count` records are counted as items.
inline void runRecords(benchmark::State& state, const std::string& input, int count) {
    const char* argv[] = {"strixel", "-"};
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        if (runCommandLine(2, argv, in, out, err) != 0) state.SkipWithError("a record failed");
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// The CPU seconds a child process used, user and system; negative when it failed.
struct ChildTimes {
    double user = -1;
    double system = -1;
};

// Runs a program with standard input from a file; what CPU it used.
inline ChildTimes childTimes(const std::vector<std::string>& args, const std::string& input) {
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
        return {};
    return {u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6,
            u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6};
}

// Runs a program with standard input from a file; its user CPU seconds, or -1.
inline double childUserSeconds(const std::vector<std::string>& args, const std::string& input) {
    return childTimes(args, input).user;
}

// The middle of some figures (the upper middle of an even count).
inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// Both programs as a user runs them, one process each per iteration: zint with
// `zintArgs`, ours with `oursArgs` reading `recordFile`. Reports the user CPU
// of each and, for each iteration's pair of runs, the ratios of ours to zint's
// user and user + system CPU; the figures are the medians over the iterations,
// which is what to read on a noisy machine.
//
// With `bytesOnly`, each iteration also times that function (the CPU of only
// writing the files ours made, see writingTheFilesAgain) and reports its ratio
// to zint's user + system CPU: the floor that no encoder writing those bytes
// gets under on this machine.
inline void cpuAgainstZint(benchmark::State& state, const std::vector<std::string>& zintArgs,
                           const std::vector<std::string>& oursArgs, const std::string& recordFile,
                           const std::function<ChildTimes()>& bytesOnly = {}) {
    std::vector<double> oursUser, zintUser, userRatio, allRatio, bytesOnlyRatio;
    for (auto _ : state) {
        const ChildTimes z = childTimes(zintArgs, "/dev/null");
        const ChildTimes o = childTimes(oursArgs, recordFile);
        if (z.user < 0 || o.user < 0) {
            state.SkipWithError("zint (Debian package zint) or strixel failed");
            break;
        }
        zintUser.push_back(z.user);
        oursUser.push_back(o.user);
        // A run too short for the clock to see counts as one tick.
        constexpr double kTick = 0.001;
        userRatio.push_back(o.user / std::max(z.user, kTick));
        allRatio.push_back((o.user + o.system) / std::max(z.user + z.system, kTick));
        if (bytesOnly) {
            const ChildTimes b = bytesOnly();
            if (b.user < 0) {
                state.SkipWithError("writing the files again failed");
                break;
            }
            bytesOnlyRatio.push_back((b.user + b.system) / std::max(z.user + z.system, kTick));
        }
    }
    state.counters["strixel_user_s"] = median(oursUser);
    state.counters["zint_user_s"] = median(zintUser);
    state.counters["user_ratio_to_zint"] = median(userRatio);
    state.counters["user_sys_ratio_to_zint"] = median(allRatio);
    if (bytesOnly) state.counters["bytes_only_ratio_to_zint"] = median(bytesOnlyRatio);
}

// This thread's CPU so far.
inline ChildTimes threadTimes() {
    rusage u{};
    ::getrusage(RUSAGE_THREAD, &u);
    return {u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6,
            u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6};
}

// The CPU of writing the files in `from` again into `to` the way the program
// writes a file (a new temporary, one write, renamed over the previous file of
// that name) and doing nothing else; the files are read beforehand, untimed.
inline ChildTimes writingTheFilesAgain(const std::string& from, const std::string& to) {
    namespace fs = std::filesystem;
    std::vector<std::pair<std::string, std::string>> files;
    for (const fs::directory_entry& e : fs::directory_iterator(from)) {
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files.emplace_back(to + "/" + e.path().filename().string(), bytes.str());
    }
    const std::string temp = to + "/.bytes-only.tmp";
    const ChildTimes before = threadTimes();
    for (const auto& [name, bytes] : files) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return {};
        const bool whole = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
        if (::close(fd) != 0 || !whole || ::rename(temp.c_str(), name.c_str()) != 0) return {};
    }
    const ChildTimes after = threadTimes();
    return {after.user - before.user, after.system - before.system};
}

inline void userTimeAgainstZint(benchmark::State& state, const std::vector<std::string>& zintArgs,
                                const std::string& recordFile,
                                const std::function<ChildTimes()>& bytesOnly = {}) {
    cpuAgainstZint(state, zintArgs, {STRIXEL_BINARY, "-"}, recordFile, bytesOnly);
}

// The same batch through both programs (see userTimeAgainstZint): ours reads
// the records that `records` makes for its folder, zint reads `count` data lines
// of `datum` with `zintOptions` and writes ~~~~~.`ext` files into its own folder.
// Also reports the floor under ours: only writing the bytes of its files.
inline void batchAgainstZint(benchmark::State& state, const std::string& bench, int count,
                             const std::function<std::string(const std::string&)>& records,
                             const std::function<std::string(int)>& datum,
                             std::vector<std::string> zintOptions, const std::string& ext) {
    const std::string ours = scratch(bench, "ours");
    const std::string peer = scratch(bench, "zint");
    const std::string recordFile = ours + "-records.txt";
    const std::string dataFile = peer + "-data.txt";
    std::ofstream(recordFile) << records(ours);
    {
        std::ofstream d(dataFile);
        for (int i = 0; i < count; ++i) d << datum(i) << "\n";
    }
    std::vector<std::string> zint{"zint", "--batch"};
    zint.insert(zint.end(), zintOptions.begin(), zintOptions.end());
    zint.insert(zint.end(), {"-o", peer + "/~~~~~." + ext, "--input=" + dataFile});
    const std::string again = scratch(bench, "bytes-only");
    userTimeAgainstZint(state, zint, recordFile, [&] { return writingTheFilesAgain(ours, again); });
}

}  // namespace benchsupport
