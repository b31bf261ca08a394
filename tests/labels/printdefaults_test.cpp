#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "labels/channels.h"
#include "labels/printDefaults.h"
#include "support/reader.h"

namespace {

struct PrintDefaults : ::testing::Test {
    std::string home;
    void SetUp() override {
        resetChannels();
        resetPrintDefaults();
        const std::string marker = testsupport::tempPath("marker");
        home = marker.substr(0, marker.rfind('/')) + "/config";
        std::filesystem::remove_all(home);  // left by an earlier run
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        resetChannels();
        resetPrintDefaults();
    }
    std::string file(const char* name) const { return home + "/strixel/" + name; }
};

void spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string words(std::initializer_list<uint32_t> ws) {
    std::string out;
    for (uint32_t w : ws)
        for (int shift = 24; shift >= 0; shift -= 8) out += char(w >> shift & 0xFF);
    return out;
}

TEST_F(PrintDefaults, PrintDefBytesAndRoundTrip) {
    gPrintSwitches = {1, 1, 0, 0, -2};
    ASSERT_EQ(PrintSetDefault(), 0);
    // The direction travels sign-extended.
    EXPECT_EQ(testsupport::slurp(file("Print.def")), words({1, 1, 0, 0, 0xFFFFFFFE}));
    // Read into the defaults and written again, the file is the same.
    resetPrintDefaults();
    PrintGetDefault();
    std::filesystem::remove(file("Print.def"));
    ASSERT_EQ(PrintSetDefault(), 0);
    EXPECT_EQ(testsupport::slurp(file("Print.def")), words({1, 1, 0, 0, 0xFFFFFFFE}));
}

TEST_F(PrintDefaults, MissingFilesKeepTheDefaults) {
    PrintGetDefault();
    ThermalGetDefault();
    EXPECT_EQ(gPrintSwitches.formP, 1);
    EXPECT_EQ(gPrintSwitches.fourSheet, 4);
    EXPECT_EQ(gThermal.thermalIte, 4);
    EXPECT_EQ(gThermal.heat, 10);
    EXPECT_EQ(gThermal.gaplen, 2);
    // Reading created nothing.
    EXPECT_TRUE(testsupport::slurp(file("Print.def")).empty());
}

// A pipe in the settings file's place is no settings file: it would block the
// read for good. The alarm ends a run that hangs.
TEST_F(PrintDefaults, PipesKeepTheDefaults) {
    constexpr unsigned kMostSeconds = 10;
    std::filesystem::create_directories(home + "/strixel");
    ASSERT_EQ(mkfifo(file("Print.def").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(file("Therm.def").c_str(), 0600), 0);
    alarm(kMostSeconds);
    PrintGetDefault();
    ThermalGetDefault();
    alarm(0);
    EXPECT_EQ(gPrintSwitches.fourSheet, 4);
    EXPECT_EQ(gThermal.heat, 10);
}

TEST_F(PrintDefaults, ThermDefBytesShortFileAndRewriteInPlace) {
    ASSERT_EQ(ThermalSetDefault(), 0);
    EXPECT_EQ(testsupport::slurp(file("Therm.def")), words({4, 1, 0, 0, 0, 10, 10, 1, 5, 2}));
    gThermal.speed = 9;
    gThermal.cutter = 1;
    ASSERT_EQ(ThermalSetDefault(), 0);
    resetPrintDefaults();
    ThermalGetDefault();
    EXPECT_EQ(gThermal.speed, 9);
    EXPECT_EQ(gThermal.cutter, 1);

    // A file cut short after three words: the rest keep their values.
    spit(file("Therm.def"), words({2, 3, 1}) + "\x01\x02");
    resetPrintDefaults();
    gThermal.heat = 77;
    ThermalGetDefault();
    EXPECT_EQ(gThermal.thermalIte, 2);
    EXPECT_EQ(gThermal.pport, 3);
    EXPECT_EQ(gThermal.stripper, 1);
    EXPECT_EQ(gThermal.cutter, 0);
    EXPECT_EQ(gThermal.heat, 77);
}

// The body's result as the exit status of a child process, where the file-size
// limit may fail writes as a full disk would; -1 when the child did not end so.
int inChild(const std::function<int()>& body) {
    constexpr unsigned kMostSeconds = 10;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(kMostSeconds);
        ::signal(SIGXFSZ, SIG_IGN);  // as the program does: the write fails instead
        ::_exit(body());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A write that fails at any byte keeps the old file whole and makes no new
// one (an empty file would read as no settings), nor leaves a temporary.
TEST_F(PrintDefaults, AFailedWriteKeepsTheOldFileOrMakesNone) {
    std::filesystem::create_directories(home + "/strixel");
    const std::string old = words({2, 3, 1, 0, 0, 50, 12, 0, 7, 4});
    for (rlim_t limit : {rlim_t{0}, rlim_t{8}, rlim_t{19}}) {
        SCOPED_TRACE(limit);
        spit(file("Therm.def"), old);
        std::filesystem::remove(file("Print.def"));
        const int status = inChild([limit] {
            const rlimit full{limit, RLIM_INFINITY};
            if (::setrlimit(RLIMIT_FSIZE, &full) != 0) return 1;
            gThermal.heat = 99;
            return ThermalSetDefault() != 0 && PrintSetDefault() != 0 ? 0 : 2;
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(testsupport::slurp(file("Therm.def")), old);
        EXPECT_FALSE(std::filesystem::exists(file("Print.def")));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home + "/strixel"),
                                std::filesystem::directory_iterator()),
                  1);
    }
    // Bytes past the words written, as a longer file of another version holds,
    // stay after them as they did when the file was rewritten in place.
    spit(file("Print.def"), words({9, 9, 9, 9, 9, 0xABCDEF01}) + "\x7F");
    gPrintSwitches = {1, 0, 1, 4, 2};
    ASSERT_EQ(PrintSetDefault(), 0);
    EXPECT_EQ(testsupport::slurp(file("Print.def")), words({1, 0, 1, 4, 2, 0xABCDEF01}) + "\x7F");
}

TEST_F(PrintDefaults, ThermalModelNames) {
    auto name = [](int32_t m) {
        const unsigned char* p = GetThermalString(m);
        return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
    };
    EXPECT_EQ(name(1), "CItoh EZ-4");
    EXPECT_EQ(name(5), "Datamax");
    EXPECT_EQ(name(4).substr(name(4).size() - 3), " DT");
    gThermal.DThermal = 0;
    EXPECT_EQ(name(4).substr(name(4).size() - 3), " TT");
    EXPECT_EQ(name(9), "");
}

}  // namespace
