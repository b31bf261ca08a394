// The print request of a record: the printer keys, a plain symbol printed once a
// page, and the keys' faults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli_run.h"
#include "support/reader.h"

namespace {

struct CliPrint : ::testing::Test {
    void SetUp() override {
        const std::string config = testsupport::tempPath("config");
        std::filesystem::remove_all(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
};

TEST_F(CliPrint, PlainSymbolOnceAPage) {
    const std::string pdf = testsupport::tempPath("symbols.pdf");
    const CliRun r = run({"{type:\"Code 128\", data:\"PRINT 42\", printer:\"" + pdf +
                          "\", number:\"2\", cutter:\"1\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(testsupport::pdftoppm(pdf, pdf, 300).status, 0);
    for (const char* page : {"-1.pgm", "-2.pgm"}) {
        testsupport::Bitmap b;
        ASSERT_TRUE(testsupport::readPGM(pdf + page, &b)) << page;
        EXPECT_EQ(testsupport::decode(b, "Code128").text, "PRINT 42") << page;
    }
}

// A job longer than a 16-bit page count prints every page it was asked for.
TEST_F(CliPrint, EveryPageOfALongJobIsPrinted) {
    const std::string pdf = testsupport::tempPath("long.pdf");
    const CliRun r =
        run({"{type:\"Code 128\", data:\"LONG\", printer:\"" + pdf + "\", number:\"32769\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const testsupport::RunResult info = testsupport::runCommand("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.out.find("Pages:           32769\n"), std::string::npos) << info.out;
    const std::string page = pdf + "-last";
    ASSERT_EQ(testsupport::runCommand("pdftoppm -gray -r 300 -f 32769 -l 32769 -singlefile '" +
                                      pdf + "' '" + page + "'")
                  .status,
              0);
    testsupport::Bitmap last;
    ASSERT_TRUE(testsupport::readPGM(page + ".pgm", &last));
    EXPECT_EQ(testsupport::decode(last, "Code128").text, "LONG");
    std::filesystem::remove(pdf);
}

TEST_F(CliPrint, PrinterKeysAreChecked) {
    const std::string pdf = testsupport::tempPath("none.pdf");
    const std::string head = "{type:\"Code 128\", data:\"X\", ";
    const struct {
        std::string record, says;
    } faults[] = {
        {head + "number:\"2\", saveto:\"" + pdf + "\"}", "the key \"number\" needs printer"},
        {head + "printer:\"" + pdf + "\", number:\"2.5\"}", "the number must be a number"},
        {head + "printer:\"" + pdf + "\", number:\"1e2\"}", "the number must be a number"},
        {head + "printer:\"" + pdf + "\", number:\"0x10\"}", "the number must be a number"},
        {head + "printer:\"" + pdf + "\", stripper:\"2\"}", "the stripper must be a number"},
        {head + "printer:\"NoSuchQueue\"}", "Error -30873"},
        {head + "printer:\"" + pdf + "\", answer:\"7\"}", "applies to an opened label document"},
        {head + "answer:\"7\", saveto:\"" + pdf + "\"}", "applies to an opened label document"},
    };
    for (const auto& f : faults) {
        const CliRun r = run({f.record});
        EXPECT_EQ(r.status, 1) << f.record;
        EXPECT_NE(r.err.find(f.says), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(pdf));
    const CliRun help = run({"--help"});
    for (const char* key : {"printer ", "number ", "continuous, stripper, cutter"})
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
}

// A symbol wider or taller than the paper would print cut off at its edge; the
// run says so and prints nothing, and one that fits still prints.
TEST_F(CliPrint, SymbolOffThePaperIsRefused) {
    const std::string pdf = testsupport::tempPath("off-paper.pdf");
    std::filesystem::remove(pdf);
    for (const char* keys : {"type:\"HIBC Code 39\", data:\"+A123BJC5D6E71\"",
                             "type:\"Code 128\", data:\"X\", height:\"320\""}) {
        std::string record = "{";
        record.append(keys).append(", printer:\"").append(pdf).append("\"}");
        const CliRun r = run({record});
        EXPECT_EQ(r.status, 1) << keys;
        EXPECT_NE(r.err.find("does not fit on the A4 paper"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << keys;
    }
    const CliRun fits = run({"{type:\"HIBC Code 39\", data:\"+A1230\", printer:\"" + pdf + "\"}"});
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_TRUE(std::filesystem::exists(pdf));
}

// The PostScript writer keeps the pages in a temporary file of its own; the
// file-size limit (run in a shell of its own) fails it part way. The message
// names the file and the reason, and the old file stays.
TEST_F(CliPrint, AFailedPageWriterNamesTheFileAndWhy) {
    const std::string ps = testsupport::tempPath("limited.ps");
    std::ofstream(ps) << "OLD";
    const testsupport::RunResult r = testsupport::runCommand(
        "(ulimit -f 2; exec timeout 60 " + std::string(STRIXEL_BINARY) +
        " '{type:\"Code 128\", data:\"X\", number:\"50\", printer:\"" + ps + "\"}')");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("(" + ps + ": File too large"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::slurp(ps), "OLD");
}

}  // namespace

// Matrix symbols on a printed page read back through both PDF renderers at
// 600 dpi: poppler smooths the edge of every fill, so modules painted one by one
// leave light seams between them that break the symbol.
TEST_F(CliPrint, MatrixSymbolsReadThroughBothPdfRenderers) {
    const struct {
        const char* type;
        const char* format;
        const char* data;
    } symbols[] = {{"QRCode", "QRCode", "Printed QR 0123456789"},
                   {"Datamatrix", "DataMatrix", "PRINTED DATAMATRIX 0123"}};
    for (const auto& s : symbols)
        for (const char* size : {"100", "80"}) {
            SCOPED_TRACE(std::string(s.type) + " at " + size);
            const std::string pdf = testsupport::tempPath(std::string(s.type) + size + ".pdf");
            const CliRun r = run({"{type:\"" + std::string(s.type) + "\", data:\"" + s.data +
                                  "\", size:\"" + size + "\", printer:\"" + pdf + "\"}"});
            ASSERT_EQ(r.status, 0) << r.err;
            for (int dpi : {300, 600}) {
                ASSERT_EQ(testsupport::pdftoppm(pdf, pdf, dpi).status, 0);
                testsupport::Bitmap poppler;
                ASSERT_TRUE(testsupport::readPGM(pdf + "-1.pgm", &poppler));
                EXPECT_EQ(testsupport::decode(testsupport::cropToInk(poppler, 80), s.format).text,
                          s.data)
                    << "pdftoppm at " << dpi;
            }
            const testsupport::Rendered gs = testsupport::renderWithGhostscript(pdf, 600, false);
            ASSERT_TRUE(gs.ok) << gs.err;
            EXPECT_EQ(testsupport::decode(testsupport::cropToInk(gs.bitmap, 80), s.format).text,
                      s.data)
                << "Ghostscript";
        }
}

// Codablock F's rows abut: printed bar by bar, poppler showed seams between them
// and no row read. zbar reads each row as a Code 128 symbol of its own.
TEST_F(CliPrint, StackedRowsReadThroughPoppler) {
    const std::string pdf = testsupport::tempPath("codablock.pdf");
    const CliRun r =
        run({"{type:\"Codablock F\", data:\"CODABLOCK F TEST DATA 1234567890\", "
             "printer:\"" +
             pdf + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (int dpi : {300, 600}) {
        ASSERT_EQ(testsupport::pdftoppm(pdf, pdf, dpi).status, 0);
        testsupport::Bitmap page;
        ASSERT_TRUE(testsupport::readPGM(pdf + "-1.pgm", &page));
        const std::string cropped = pdf + "-cropped.pgm";
        ASSERT_TRUE(testsupport::writePGM(testsupport::cropToInk(page, 80), cropped));
        const std::string rows = testsupport::zbarimg(cropped).out;
        for (const char* piece : {"CODABLOCK ", "F TEST DAT", "A 1234567890"})
            EXPECT_NE(rows.find(piece), std::string::npos) << dpi << " dpi: " << rows;
    }
}
