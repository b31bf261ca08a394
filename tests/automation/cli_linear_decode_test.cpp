// Code 39, Code 93, Codabar and Interleaved 2 of 5 made by the command line,
// rendered by Ghostscript, read back by zxing-cpp and zbarimg; the families no
// reader decodes must render with ink in every output.
#include <gtest/gtest.h>

#include <string>

#include "cli_run.h"

namespace {

// zbarimg's first line for the bitmap.
std::string zbarRead(const testsupport::Bitmap& b, const std::string& pgm) {
    EXPECT_TRUE(testsupport::writePGM(b, pgm));
    const std::string out = testsupport::zbarimg(pgm).out;
    return out.substr(0, out.find('\n'));
}

testsupport::ReadOptions readOptions(const std::string& how) {
    testsupport::ReadOptions opt;
    opt.code39FullAscii = how == "fullascii";
    opt.code39Check = how == "check" || how == "fullascii";
    opt.codabarStartStop = how == "startstop";
    return opt;
}

TEST(CommandLineLinearSymbols, ReadBackByZxingAndZbar) {
    if (!testsupport::requireProgram("zbarimg", "zbar-tools")) return;
    for (const char* ext : {".eps", ".pdf"})
        for (const auto& c : testsupport::readCases("automation/linear.txt", 6)) {
            SCOPED_TRACE(c[0] + ext);
            const std::string path = testsupport::tempPath(c[0] + ext);
            const CliRun r = run({record(c[1], path)});
            ASSERT_EQ(r.status, 0) << r.err;
            const testsupport::Bitmap b = rendered(path, 300);
            const testsupport::Decoded d = testsupport::decode(b, c[2], readOptions(c[3]));
            EXPECT_EQ(d.text, c[4]) << d.error;
            EXPECT_EQ(zbarRead(b, path + ".pgm"), c[5]);
        }
    // Code 39 at 3:1, every character without a wide bar: a wide element of three narrow ones.
    const std::string path = testsupport::tempPath("ratio3.eps");
    ASSERT_EQ(run({record("Code 39 NC", "A$/+%B", path, ", options:\"3\"")}).status, 0);
    EXPECT_EQ(zbarRead(rendered(path, 300), path + ".pgm"), "A$/+%B");
}

const char* const kEps[] = {"--dialect=ai88", ".eps"};
const char* const kPostScript[] = {"--dialect=ps", ".ps"};
const char* const kPdf[] = {"--dialect=pdf", ".pdf"};

TEST(CommandLineLinearSymbols, EveryInterleavedNameReadsFromEpsPostScriptAndPdf) {
    if (!testsupport::requireProgram("zbarimg", "zbar-tools")) return;
    for (const auto& c : testsupport::readCases("automation/interleaved.txt", 2))
        for (const char* const* o : {kEps, kPostScript, kPdf}) {
            SCOPED_TRACE(c[0] + o[0]);
            const std::string path = testsupport::tempPath(std::string("itf") + o[1]);
            const CliRun r = run({o[0], record(c[0], path)});
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(testsupport::decode(rendered(path), "ITF").text, c[1]);
            EXPECT_EQ(zbarRead(rendered(path, 300), path + ".pgm"), c[1]);
        }
}

TEST(CommandLineLinearSymbols, OtherFamiliesRenderInEveryOutput) {
    for (const auto& c : testsupport::readCases("automation/families.txt", 1))
        for (const char* ext : {".eps", ".ps", ".pdf"}) {
            SCOPED_TRACE(c[0] + ext);
            const std::string path = testsupport::tempPath(std::string("sym") + ext);
            const CliRun r = run({record(c[0], path)});
            ASSERT_EQ(r.status, 0) << r.err;
            int ink = 0;
            for (uint8_t p : rendered(path, 150).pixels) ink += p < 128;
            EXPECT_GT(ink, 100);
        }
}

}  // namespace
