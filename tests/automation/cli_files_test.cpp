// The program's own process writing files as a user (or an attacker) would
// meet it: links in the folder, two runs at one target, a run that is killed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cli_run.h"

namespace {

namespace fs = std::filesystem;

using testsupport::freshFolder;

// Starts the program reading records from the file `input`.
pid_t start(const std::string& input) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        const int null = ::open("/dev/null", O_WRONLY);
        if (in < 0 || null < 0) ::_exit(98);
        ::dup2(in, 0);
        ::dup2(null, 2);
        ::execl(STRIXEL_BINARY, "strixel", static_cast<char*>(nullptr));
        ::_exit(97);
    }
    return pid;
}

int wait(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int countTemporaries(const fs::path& dir) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().rfind(".strixel-", 0) == 0) ++n;
    return n;
}

TEST(CommandLineFiles, ALinkBesideTheTargetIsNeverWrittenThrough) {
    const fs::path dir = freshFolder("link");
    const fs::path victim = dir / "victim.txt";
    std::ofstream(victim) << "DATA\n";
    fs::create_symlink(victim, dir / "out.eps.partial");
    const std::string target = (dir / "out.eps").string();
    testsupport::RunResult r =
        testsupport::runCommand(std::string(STRIXEL_BINARY) + " '" + ean13(target) + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testsupport::slurp(victim.string()), "DATA\n");
    EXPECT_EQ(fs::read_symlink(dir / "out.eps.partial"), victim);
    EXPECT_EQ(testsupport::slurp(target).rfind("%!PS-Adobe-3.0 EPSF-3.0\r", 0), 0u);
}

// A private file stays private when a symbol or a print run writes it again.
TEST(CommandLineFiles, ARewrittenFileKeepsItsMode) {
    const fs::path dir = freshFolder("mode");
    const std::string eps = dir / "private.eps", pdf = dir / "private.pdf";
    for (const std::string& path : {eps, pdf}) {
        std::ofstream(path) << "old";
        ::chmod(path.c_str(), 0600);
    }
    ASSERT_EQ(run({ean13(eps)}).status, 0);
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);  // the page format goes there
    const CliRun printed = run({"{type:\"Code 128\", data:\"X\", printer:\"" + pdf + "\"}"});
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(printed.status, 0) << printed.err;
    for (const std::string& path : {eps, pdf}) {
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << path;
        EXPECT_NE(testsupport::slurp(path), "old") << path;
    }
}

TEST(CommandLineFiles, TwoRunsAtOneTargetBothMakeEveryRecord) {
    const fs::path dir = freshFolder("two");
    const std::string target = (dir / "same.eps").string();
    const std::string input = (dir.parent_path() / "two-records.txt").string();
    {
        std::ofstream out(input);
        for (int i = 0; i < 3000; ++i) out << ean13(target) << "\n";
    }
    const pid_t a = start(input);
    const pid_t b = start(input);
    EXPECT_EQ(wait(a), 0);
    EXPECT_EQ(wait(b), 0);
    const std::string made = testsupport::slurp(target);
    EXPECT_EQ(made.rfind("%!PS-Adobe-3.0 EPSF-3.0\r", 0), 0u);
    EXPECT_NE(made.find("%%EOF"), std::string::npos);  // whole, never two runs' bytes mixed
    EXPECT_EQ(countTemporaries(dir), 0);
}

TEST(CommandLineFiles, AKilledRunLeavesNoTemporary) {
    const fs::path dir = freshFolder("killed");
    const std::string input = (dir.parent_path() / "killed-records.txt").string();
    {
        std::ofstream out(input);
        for (int i = 0; i < 3000; ++i) {
            std::string name = "k";  // appended: GCC 12 warns falsely about "k" + a temporary
            name += std::to_string(i % 7);
            name += ".eps";
            out << ean13((dir / name).string()) << "\n";
        }
    }
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        for (int delayMs : {30, 70, 150}) {
            const pid_t pid = start(input);
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            ::kill(pid, sig);
            const int status = wait(pid);
            EXPECT_TRUE(status == 0 || status == 128 + sig) << status;
            EXPECT_EQ(countTemporaries(dir), 0)
                << "signal " << sig << " after " << delayMs << " ms";
        }
    }
}

// Runs the command line in a child process without root's right to write
// anywhere; its exit status.
int runAsPlainUser(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(90);
        ::_exit(run(args).status);
    }
    return wait(pid);
}

// In a folder the program may not write to, a file is rewritten in place: a
// hard link or a symbolic link to the import file named as saveto is refused,
// not written through.
TEST(CommandLineFiles, ALinkToTheImportFileInALockedFolderIsRefused) {
    const fs::path dir = freshFolder("locked-links");
    const std::string items = dir / "items.csv";
    std::ofstream(items) << "ITEM1\nITEM2\n";
    fs::create_hard_link(items, dir / "hard.txt");
    fs::create_symlink(items, dir / "soft.txt");
    ::chmod(items.c_str(), 0666);
    ::chmod(dir.c_str(), 0555);
    for (const char* name : {"hard.txt", "soft.txt"}) {
        const int status = runAsPlainUser(
            {"--kind=text-line", "{type:\"Code 128\", data:\"<<1>>\", import:\"" + items +
                                     "\", saveto:\"" + (dir / name).string() + "\"}"});
        EXPECT_EQ(status, 1) << name;
        EXPECT_EQ(testsupport::slurp(items), "ITEM1\nITEM2\n") << name;
    }
    ::chmod(dir.c_str(), 0755);
}

// After the lines for a file could not be written, the command's later records
// for it add nothing: they would replace the file without the lines before
// them. A file size limit (ulimit -f) fails the first file's long run of lines.
TEST(CommandLineFiles, AFileWhoseLinesFailedIsNotReplacedLater) {
    const fs::path dir = freshFolder("lines-failed");
    const std::string a = dir / "a.txt", b = dir / "b.txt", input = dir / "records.txt";
    std::ofstream(a) << "OLD\r";
    {
        std::ofstream out(input);
        for (int i = 0; i < 20; ++i) out << record("Code 128", std::to_string(i), a) << "\n";
        out << record("Code 128", "B", b) << "\n" << record("Code 128", "LATE", a) << "\n";
    }
    // Ignored, the signal of the limit lets the write fail as a full disk does.
    const testsupport::RunResult r =
        testsupport::runCommand("(trap '' XFSZ; ulimit -f 2; exec " + std::string(STRIXEL_BINARY) +
                                " --kind=text-line - < " + input + ")");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(testsupport::slurp(a), "OLD\r");
    EXPECT_NE(r.err.find("record 22: the lines of an earlier record for " + a), std::string::npos)
        << r.err;
}

// A file past the size limit (ulimit -f) fails as a full disk does: a message,
// exit status 1, no temporary left, never the end of the program by SIGXFSZ.
TEST(CommandLineFiles, TheFileSizeLimitIsReportedNotFatal) {
    const fs::path dir = freshFolder("size-limit");
    const std::string target = (dir / "big.eps").string();
    // In blocks of 512 or 1024 bytes, as the shell counts: far below the EPS.
    const testsupport::RunResult r = testsupport::runCommand(
        "(ulimit -f 1; exec " + std::string(STRIXEL_BINARY) + " '" + ean13(target) + "')");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("big.eps"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(countTemporaries(dir), 0);
}

// Standard error closed (under some daemons and cron jobs) is no free
// descriptor for the lines file a run keeps open: a failed record's message is
// lost, never written among the other records' lines.
TEST(CommandLineFiles, WithStandardErrorClosedNoMessageLandsInAFile) {
    const fs::path dir = freshFolder("stderr-closed");
    const std::string lines = dir / "lines.txt", alone = dir / "alone.txt";
    const auto textLine = [](const std::vector<std::string>& records, const char* redirect) {
        std::string command = "(exec " STRIXEL_BINARY " --kind=text-line";
        for (const std::string& r : records) command += " '" + r + "'";
        return testsupport::runCommand(command + redirect + ")").status;
    };
    EXPECT_EQ(textLine({record("Code 128", "ABC", lines), record("EAN 13", "12", lines)}, " 2>&-"),
              1);
    ASSERT_EQ(textLine({record("Code 128", "ABC", alone)}, ""), 0);
    EXPECT_EQ(testsupport::slurp(lines), testsupport::slurp(alone));
}

// What cannot be written to standard output (a full disk, or closed) fails the
// command with a message, the usage as a symbol written to /dev/stdout.
TEST(CommandLineFiles, OutputLostOnStandardOutputFailsTheCommand) {
    for (const char* to : {" >/dev/full", " >&-"})
        for (const std::string& what : {std::string("--help"), "'" + ean13("/dev/stdout") + "'"}) {
            const testsupport::RunResult r =
                testsupport::runCommand("(exec " STRIXEL_BINARY " " + what + to + ")");
            EXPECT_EQ(r.status, 1) << what << to;
            EXPECT_NE(r.err.find("strixel: "), std::string::npos) << what << to;
        }
}

}  // namespace
