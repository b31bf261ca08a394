#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/printing/printing.h"
#include "support/reader.h"

namespace {

using namespace print;

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

void spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A job of two pages: a 1-inch black square at one inch from the top left of
// page 1, the same at two inches on page 2, drawn in dots.
int32_t twoPageJob(PrintSession& s, const PrintSettings& settings, const PageFormat& format) {
    if (int32_t err = s.beginDocument(settings, format)) return err;
    const int32_t inch = int32_t(72 * s.thermScale());
    for (int page = 1; page <= 2; ++page) {
        if (!s.beginPage()) return s.status();
        qd::PaintRect({inch * page, inch * page, inch * (page + 1), inch * (page + 1)});
        if (int32_t err = s.endPage()) return err;
    }
    return s.endDocument();
}

// The share of dark pixels of a rendered page inside a box of pixels.
double darkShare(const testsupport::Bitmap& b, int top, int left, int bottom, int right) {
    int dark = 0, all = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x, ++all) dark += b.at(x, y) < 128;
    return all ? double(dark) / all : 0;
}

TEST(Printing, PdfFileJobOfTwoPages) {
    const std::string path = testsupport::tempPath("job.pdf");
    PageFormat format;
    ASSERT_TRUE(paperFormat("Letter", &format));
    format.resolution = {600, 600};
    PrintSettings settings = settingsFor(path);
    settings.jobName = "Two pages";
    ASSERT_EQ(settings.destination, Destination::file);
    PrintSession s;
    ASSERT_EQ(twoPageJob(s, settings, format), kPrintNoErr);
    EXPECT_EQ(s.thermScale(), 600.0 / 72);

    EXPECT_EQ(testsupport::qpdfCheck(path).status, 0);
    const testsupport::RunResult info = testsupport::runCommand("pdfinfo '" + path + "'");
    EXPECT_NE(info.out.find("Pages:           2"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Page size:       612 x 792 pts"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Two pages"), std::string::npos) << info.out;

    // At 150 dpi one inch is 150 pixels: page 2's square lies at 300..450.
    ASSERT_EQ(testsupport::pdftoppm(path, folderOf(path) + "/page").status, 0);
    testsupport::Bitmap p1, p2;
    ASSERT_TRUE(testsupport::readPGM(folderOf(path) + "/page-1.pgm", &p1));
    ASSERT_TRUE(testsupport::readPGM(folderOf(path) + "/page-2.pgm", &p2));
    EXPECT_GT(darkShare(p1, 152, 152, 298, 298), 0.99);
    EXPECT_LT(darkShare(p1, 302, 302, 448, 448), 0.01);
    EXPECT_GT(darkShare(p2, 302, 302, 448, 448), 0.99);
    EXPECT_LT(darkShare(p2, 152, 152, 298, 298), 0.01);
}

TEST(Printing, PostScriptFileAndLandscape) {
    const std::string path = testsupport::tempPath("job.ps");
    PageFormat format;
    format.orientation = Orientation::landscape;
    format.imageBottom = format.paperWidth;
    format.imageRight = format.paperHeight;
    PrintSession s;
    ASSERT_EQ(twoPageJob(s, settingsFor(path), format), kPrintNoErr);
    const std::string ps = testsupport::slurp(path);
    EXPECT_EQ(ps.rfind("%!PS", 0), 0u);
    EXPECT_NE(ps.find("%%Pages: 2"), std::string::npos);
    EXPECT_NE(ps.find("%%DocumentMedia: 297x210mm 842 595"), std::string::npos);
}

TEST(Printing, FailedOrCancelledJobsLeaveNothingBehind) {
    const std::string path = testsupport::tempPath("keep.pdf");
    spit(path, "old");
    PrintSession s;
    ASSERT_EQ(s.beginDocument(settingsFor(path), PageFormat{}), kPrintNoErr);
    ASSERT_NE(s.beginPage(), nullptr);
    EXPECT_EQ(s.beginPage(), nullptr);  // one page at a time
    EXPECT_EQ(s.status(), kPrintOutOfScope);
    s.cancel();
    EXPECT_EQ(s.endPage(), kPrintOutOfScope);
    EXPECT_EQ(testsupport::slurp(path), "old");

    // A folder that does not exist: the status says so and nothing is written.
    PrintSession t;
    const std::string nowhere = folderOf(path) + "/missing/job.pdf";
    EXPECT_EQ(twoPageJob(t, settingsFor(nowhere), PageFormat{}), kPrintIOError);
    EXPECT_TRUE(testsupport::slurp(nowhere).empty());

    PrintSettings none = settingsFor(path);
    none.copies = 0;
    EXPECT_EQ(t.beginDocument(none, PageFormat{}), kPrintGeneralError);
}

TEST(Printing, ResolutionChoice) {
    EXPECT_EQ(chooseResolution(Destination::printer, {{200, 200}}), (Resolution{1200, 1200}));
    EXPECT_EQ(chooseResolution(Destination::printer, {{300, 300}, {600, 600}}),
              (Resolution{600, 600}));
    EXPECT_EQ(chooseResolution(Destination::fax, {{300, 300}}), (Resolution{300, 300}));
    EXPECT_EQ(chooseResolution(Destination::printer, {}), (Resolution{1200, 1200}));
    EXPECT_EQ(chooseResolution(Destination::file, {{300, 300}}), (Resolution{1200, 1200}));
    EXPECT_EQ(settingsFor("Office").destination, Destination::printer);
    EXPECT_EQ(settingsFor("a.ps").fileFormat, FileFormat::postscript);
}

struct PageFormatFile : ::testing::Test {
    void SetUp() override {
        const std::string config = folderOf(testsupport::tempPath("x")) + "/config";
        std::filesystem::remove_all(config);  // left by an earlier run
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
};

TEST_F(PageFormatFile, RoundTripInTheConfigurationFolder) {
    EXPECT_EQ(pageFormatPath(), std::string(getenv("XDG_CONFIG_HOME")) + "/strixel/print.prt");
    EXPECT_EQ(loadPageFormat(), PageFormat{});  // none yet
    PageFormat f;
    ASSERT_TRUE(paperFormat("Legal", &f));
    f.orientation = Orientation::landscape;
    f.imageTop = 18;
    f.imageLeft = 12.5;
    f.imageBottom = 594;
    f.imageRight = 990;
    f.scale = 87.5;
    f.resolution = {300, 600};
    ASSERT_EQ(savePageFormat(f), kPrintNoErr);
    EXPECT_EQ(loadPageFormat(), f);
}

TEST_F(PageFormatFile, DamagedFilesGiveTheDefaults) {
    PageFormat f;
    f.scale = 50;
    const std::string good = flattenPageFormat(f);
    ASSERT_EQ(savePageFormat(f), kPrintNoErr);
    ASSERT_EQ(loadPageFormat(), f);
    std::string wrongVersion = good;
    wrongVersion[7] = 9;
    std::string zeroWidth = good;
    const size_t widthAt = 4 + 4 + 4 + f.paperName.size() + 4;
    zeroWidth.replace(widthAt, 4, std::string(4, '\0'));
    for (const std::string& bad : {good.substr(0, good.size() - 1), good + "x", wrongVersion,
                                   zeroWidth, std::string("\xFF\xFF"), std::string()}) {
        spit(pageFormatPath(), bad);
        EXPECT_EQ(loadPageFormat(), PageFormat{});
    }
}

// ---- A private printing system ----------------------------------------------------

// Takes one connection on a loopback port and keeps what arrives.
struct Listener {
    int fd = -1;
    int port = 0;
    std::string received;
    std::thread thread;
    Listener() {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (bind(fd, reinterpret_cast<sockaddr*>(&a), len) != 0 || listen(fd, 1) != 0) return;
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        thread = std::thread([this] { take(); });
    }
    void take() {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 60000) <= 0) return;
        const int c = accept(fd, nullptr, nullptr);
        if (c < 0) return;
        char buf[65536];
        for (;;) {
            pollfd q{c, POLLIN, 0};
            if (poll(&q, 1, 30000) <= 0) break;
            const ssize_t n = read(c, buf, sizeof buf);
            if (n <= 0) break;
            received.append(buf, size_t(n));
        }
        close(c);
    }
    ~Listener() {
        if (thread.joinable()) thread.join();
        close(fd);
    }
};

// cupsd on a private socket with its own configuration, spool and logs; stopped
// when the test ends, whatever happens.
struct PrivateCups {
    std::string dir, socketDir, socketPath;
    pid_t pid = -1;
    bool start() {
        dir = folderOf(testsupport::tempPath("cups"));
        // A socket path holds at most 107 bytes, and the test folder lies deep in
        // the build tree: the socket gets a short folder of its own.
        char shortDir[] = "/tmp/strixel-cups-XXXXXX";
        if (mkdtemp(shortDir) == nullptr) return false;
        socketDir = shortDir;
        socketPath = socketDir + "/cups.sock";
        for (const char* sub : {"/state", "/cache", "/spool", "/tmp", "/bin", "/bin/backend"})
            mkdir((dir + sub).c_str(), 0755);
        // The queue's device: what an AppSocket printer does, the job's bytes
        // sent as they are to the host and port of the device address.
        spit(dir + "/bin/backend/socket",
             "#!/bin/bash\n"
             "[ $# -eq 0 ] && exit 0\n"
             "hp=${DEVICE_URI#socket://}; hp=${hp%%\\?*}\n"
             "exec 3<>/dev/tcp/${hp%:*}/${hp#*:} || exit 1\n"
             "cat \"${6:-/dev/stdin}\" >&3\n");
        chmod((dir + "/bin/backend/socket").c_str(), 0700);
        for (const char* sub : {"daemon", "notifier", "filter", "cgi-bin", "driver", "monitor"})
            symlink((std::string("/usr/lib/cups/") + sub).c_str(), (dir + "/bin/" + sub).c_str());
        spit(dir + "/cupsd.conf", "Listen " + socketPath +
                                      "\nLogLevel warn\nBrowsing Off\nWebInterface No\n"
                                      "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
        spit(dir + "/cups-files.conf",
             "ServerRoot " + dir + "\nStateDir " + dir + "/state\nCacheDir " + dir +
                 "/cache\nRequestRoot " + dir + "/spool\nTempDir " + dir + "/tmp\nServerBin " +
                 dir + "/bin\nDataDir /usr/share/cups\nAccessLog " + dir +
                 "/access_log\nErrorLog " + dir + "/error_log\nPageLog " + dir +
                 "/page_log\nUser lp\nGroup lp\nFileDevice No\nSandboxing Relaxed\n");
        pid = fork();
        if (pid == 0) {
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (dir + "/cupsd.conf").c_str(), "-s",
                  (dir + "/cups-files.conf").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100; ++i) {
            if (access(socketPath.c_str(), F_OK) == 0) return true;
            usleep(100000);
        }
        return false;
    }
    std::string log() const { return testsupport::slurp(dir + "/error_log"); }
    ~PrivateCups() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        cupsSetServer(nullptr);
        unsetenv("CUPS_SERVER");
        if (!socketDir.empty()) {
            unlink(socketPath.c_str());
            rmdir(socketDir.c_str());
        }
    }
};

TEST(PrintingQueue, JobArrivesAsPdfThroughAPrivateQueue) {
    if (access("/usr/sbin/cupsd", X_OK) != 0)
        GTEST_SKIP() << "cupsd is not installed (Debian package cups-daemon)";
    PrivateCups cups;
    ASSERT_TRUE(cups.start()) << cups.log();
    setenv("CUPS_SERVER", cups.socketPath.c_str(), 1);
    cupsSetServer(cups.socketPath.c_str());
    Listener printer;
    ASSERT_GT(printer.port, 0);
    const testsupport::RunResult added = testsupport::runCommand(
        "lpadmin -h '" + cups.socketPath +
        "' -p Labels -E -v socket://127.0.0.1:" + std::to_string(printer.port) + " 2>&1");
    ASSERT_EQ(added.status, 0) << added.out << cups.log();

    PrintSettings settings = settingsFor("Labels");
    settings.jobName = "Sheet";
    settings.copies = 2;
    PageFormat format;
    // The queue reports no resolution: the job prints at 1200 dpi.
    format.resolution = chooseResolution(settings.destination, GetSupportedResolutions(settings));
    EXPECT_EQ(format.resolution, (Resolution{1200, 1200}));
    PrintSession s;
    ASSERT_EQ(twoPageJob(s, settings, format), kPrintNoErr) << s.detail() << cups.log();
    printer.thread.join();

    const std::string path = testsupport::tempPath("arrived.pdf");
    spit(path, printer.received);
    ASSERT_EQ(printer.received.rfind("%PDF-", 0), 0u) << cups.log();
    EXPECT_EQ(testsupport::qpdfCheck(path).status, 0);
    const testsupport::RunResult info = testsupport::runCommand("pdfinfo '" + path + "'");
    EXPECT_NE(info.out.find("Pages:           2"), std::string::npos) << info.out;

    // An unknown queue: the status, and nothing sent.
    PrintSession t;
    EXPECT_EQ(twoPageJob(t, settingsFor("NoSuchQueue"), format), kPrintQueueError);
    EXPECT_NE(t.detail().find("NoSuchQueue"), std::string::npos) << t.detail();
}

}  // namespace
