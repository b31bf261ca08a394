// A long command-line batch runs in bounded memory: the program's peak resident
// size, read from its own status while it waits for more records, stays small
// and stops growing once the first records are made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/reader.h"

#ifndef STRIXEL_BINARY
#define STRIXEL_BINARY "strixel"
#endif

#if defined(__SANITIZE_ADDRESS__)
#define STRIXEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STRIXEL_ASAN 1
#endif
#endif

namespace {

namespace fs = std::filesystem;

#ifdef STRIXEL_ASAN
// The sanitizer's shadow memory and quarantine make absolute figures
// meaningless and every record slow: fewer records, growth only.
constexpr int kRecords = 3000;
constexpr bool kAbsoluteBound = false;
#else
constexpr int kRecords = 100000;
constexpr bool kAbsoluteBound = true;
#endif
constexpr int kWarmUp = 300;              // records before the first reading
constexpr long kMostPeakKb = 20 * 1024;   // the whole batch's peak resident size
constexpr long kMostGrowthKb = 2 * 1024;  // from the warm-up to the end
constexpr auto kPatience = std::chrono::seconds(240);

// A child reading records from a pipe that the test keeps open.
struct Child {
    pid_t pid = -1;
    int in = -1;
};

Child start() {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
#ifdef STRIXEL_ASAN
        // Freed blocks would wait in the quarantine and count as growth.
        const char* given = std::getenv("ASAN_OPTIONS");
        const std::string options = std::string(given ? given : "") + ":quarantine_size_mb=0";
        ::setenv("ASAN_OPTIONS", options.c_str(), 1);
#endif
        ::dup2(fds[0], 0);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execl(STRIXEL_BINARY, "strixel", "-", static_cast<char*>(nullptr));
        ::_exit(97);
    }
    ::close(fds[0]);
    return {pid, fds[1]};
}

bool send(const Child& c, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(c.in, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string records(int from, int to) {
    std::string s;
    for (int i = from; i < to; ++i)
        s += "{type:\"Code 128\", data:\"STRIXEL-" + std::to_string(100000 + i) +
             "\", saveto:\"/dev/null\"}\n";
    return s;
}

// Waits for the record that writes `marker` (the last one sent), then reads
// the child's peak resident size in kB; -1 when it does not come.
long peakAfter(const Child& c, const std::string& marker) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!fs::exists(marker)) {
        if (std::chrono::steady_clock::now() > until) return -1;
        if (::waitpid(c.pid, nullptr, WNOHANG) != 0) return -1;  // it ended early
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::ifstream status("/proc/" + std::to_string(c.pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

TEST(CommandLineMemory, ALongBatchRunsInBoundedMemory) {
    const std::string dir = testsupport::tempPath("memory");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string first = dir + "/warm.eps", last = dir + "/last.eps";
    const Child c = start();
    ASSERT_GT(c.pid, 0);
    const std::string marker = "{type:\"Code 128\", data:\"END\", saveto:\"";
    long warm = -1, peak = -1;
    if (send(c, records(0, kWarmUp) + marker + first + "\"}\n")) warm = peakAfter(c, first);
    if (warm > 0 && send(c, records(kWarmUp, kRecords) + marker + last + "\"}\n"))
        peak = peakAfter(c, last);
    ::close(c.in);
    int status = 0;
    if (warm < 0 || peak < 0) ::kill(c.pid, SIGKILL);
    ::waitpid(c.pid, &status, 0);
    ASSERT_GT(warm, 0) << "the warm-up records were not made";
    ASSERT_GT(peak, 0) << "the batch was not made";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_LE(peak - warm, kMostGrowthKb) << "peak " << peak << " kB after " << kRecords;
    if (kAbsoluteBound) {
        EXPECT_LE(peak, kMostPeakKb);
    }
    fs::remove_all(dir);
}

}  // namespace
