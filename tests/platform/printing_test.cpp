#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/printing/printing.h"
#include "support/cups.h"
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

// The job's name is a file name: a line end in it stays inside the title comment
// (or the rest would run as PostScript), and a long one still prints.
TEST(Printing, AnyJobNameMakesOneTitleLine) {
    const std::string path = testsupport::tempPath("named.ps");
    const struct {
        std::string name, title;
    } cases[] = {
        {"inj\nshowpage showpage\n%.labl", "%%Title: inj showpage showpage %.labl\n"},
        {std::string(300, 'x'), "%%Title: " + std::string(246, 'x') + "\n"},
        {std::string(245, 'x') + "\xc3\xa9", "%%Title: " + std::string(245, 'x') + "\n"},
    };
    for (const auto& c : cases) {
        PrintSettings settings = settingsFor(path);
        settings.jobName = c.name;
        PrintSession s;
        ASSERT_EQ(twoPageJob(s, settings, PageFormat{}), kPrintNoErr);
        const std::string ps = testsupport::slurp(path);
        EXPECT_NE(ps.find(c.title), std::string::npos) << ps.substr(0, 400);
        const testsupport::RunResult gs =
            testsupport::runCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox '" + path + "'");
        EXPECT_EQ(gs.status, 0) << gs.out;
        // Ghostscript's bbox device names each page's box on its standard error.
        EXPECT_EQ(std::count(gs.err.begin(), gs.err.end(), '\n'), 4) << gs.err;  // two pages
    }
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

TEST(Printing, OnlyThePagesOfTheRangeChosenAreKept) {
    const std::string path = testsupport::tempPath("range.pdf");
    PageFormat format;
    ASSERT_TRUE(paperFormat("Letter", &format));
    PrintSettings settings = settingsFor(path);
    settings.firstPage = settings.lastPage = 2;
    PrintSession s;
    ASSERT_EQ(twoPageJob(s, settings, format), kPrintNoErr);
    const testsupport::RunResult info = testsupport::runCommand("pdfinfo '" + path + "'");
    EXPECT_NE(info.out.find("Pages:           1"), std::string::npos) << info.out;
    ASSERT_EQ(testsupport::pdftoppm(path, folderOf(path) + "/range").status, 0);
    testsupport::Bitmap kept;
    ASSERT_TRUE(testsupport::readPGM(folderOf(path) + "/range-1.pgm", &kept));
    EXPECT_GT(darkShare(kept, 302, 302, 448, 448), 0.99);  // page 2's square
    EXPECT_LT(darkShare(kept, 152, 152, 298, 298), 0.01);

    // A range past the job's pages prints nothing and says so.
    spit(path, "old");
    settings.firstPage = 3;
    settings.lastPage = 4;
    PrintSession t;
    EXPECT_EQ(twoPageJob(t, settings, format), kPrintGeneralError);
    EXPECT_NE(t.detail().find("page range"), std::string::npos) << t.detail();
    EXPECT_EQ(testsupport::slurp(path), "old");
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
    // A pipe in its place would block the read or the write for good; the
    // alarm ends a hang.
    constexpr unsigned kMostSeconds = 10;
    std::filesystem::remove(pageFormatPath());
    ASSERT_EQ(mkfifo(pageFormatPath().c_str(), 0600), 0);
    alarm(kMostSeconds);
    EXPECT_EQ(loadPageFormat(), PageFormat{});
    EXPECT_EQ(savePageFormat(f), kPrintIOError);
    alarm(0);
}

TEST(PrintingQueue, JobArrivesAsPdfThroughAPrivateQueue) {
    if (!testsupport::haveCupsd())
        GTEST_SKIP() << "cupsd is not installed (Debian package cups-daemon)";
    testsupport::PrivateCups cups;
    testsupport::Listener printer;
    ASSERT_TRUE(testsupport::startQueue(cups, printer, "Labels"));

    PrintSettings settings = settingsFor("Labels");
    settings.jobName = "Sheet";
    settings.copies = 2;
    PageFormat format;
    // The queue reports no resolution: the job prints at 1200 dpi.
    format.resolution = chooseResolution(settings.destination, GetSupportedResolutions(settings));
    EXPECT_EQ(format.resolution, (Resolution{1200, 1200}));
    PrintSession s;
    ASSERT_EQ(twoPageJob(s, settings, format), kPrintNoErr) << s.detail() << cups.log();
    printer.join();

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
