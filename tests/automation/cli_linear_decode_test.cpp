// Code 39, Code 93 and Codabar made by the command line, rendered by
// Ghostscript, read back by zxing-cpp and zbarimg.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "automation/cli.h"
#include "support/reader.h"

namespace {

struct Case {
    const char* name;
    const char* type;
    const char* data;
    const char* format;  // zxing's name
    testsupport::ReadOptions opt;
    const char* want;  // zxing's text
    const char* zbar;  // what zbarimg reads (it keeps check characters and pairs)
};

constexpr testsupport::ReadOptions kPlain{};
constexpr testsupport::ReadOptions kChecked{false, true, false};
constexpr testsupport::ReadOptions kFullAscii{true, true, false};
constexpr testsupport::ReadOptions kStartStop{false, false, true};

const Case kCases[] = {
    {"code39", "Code 39", "CODE39", "Code39", kChecked, "CODE39", "CODE39W"},
    {"code39nc", "Code 39 NC", "CODE39", "Code39", kPlain, "CODE39", "CODE39"},
    {"fullascii", "Code 39 Full Ascii", "lower case", "Code39", kFullAscii, "lower case",
     "+L+O+W+E+R +C+A+S+EU"},
    {"code32", "Code 32", "A01234567", "Code39", kChecked, "0CSSBD", "0CSSBD6"},
    {"hibc", "HIBC Code 39", "+A123BJC5D6E71", "Code39", kChecked, "+A123BJC5D6E71",
     "+A123BJC5D6E71G"},
    {"code93", "Code 93", "TEST93", "Code93", kPlain, "TEST93", "TEST93"},
    {"codabar", "Codabar", "A40156B", "Codabar", kStartStop, "A40156B", "A40156B"},
    {"codabar_film", "Codabar Film", "C123-$:/.+D", "Codabar", kStartStop, "C123-$:/.+D",
     "C123-$:/.+D"},
    {"codabar_dynix", "Codabar Dynix", "2123456789012", "Codabar", kStartStop, "A21234567890124B",
     "A21234567890124B"},
    {"codabar_ameritech", "Codabar Ameritech Mod10", "91", "Codabar", kStartStop, "A910B", "A910B"},
    {"codabar_msi", "Codabar MSI Mod10", "1234567", "Codabar", kStartStop, "B12345674A",
     "B12345674A"},
};

int run(const std::vector<std::string>& args, std::string* errors) {
    std::vector<const char*> argv{"strixel"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream in;
    std::ostringstream out, err;
    const int status = runCommandLine(static_cast<int>(argv.size()), argv.data(), in, out, err);
    *errors = err.str();
    return status;
}

std::string record(const char* type, const char* data, const std::string& path) {
    return std::string("{type:\"") + type + "\", data:\"" + data + "\", saveto:\"" + path + "\"}";
}

TEST(CommandLineLinearSymbols, ReadBackByZxingAndZbar) {
    for (const char* dialect : {"--dialect=ai88", "--dialect=pdf"}) {
        const bool pdf = std::string(dialect) == "--dialect=pdf";
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(c.name) + " " + dialect);
            const std::string path =
                testsupport::tempPath(std::string(c.name) + (pdf ? ".pdf" : ".eps"));
            std::string err;
            ASSERT_EQ(run({dialect, record(c.type, c.data, path)}, &err), 0) << err;
            const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 300, !pdf);
            ASSERT_TRUE(r.ok) << r.err;
            const testsupport::Bitmap b = testsupport::cropToInk(r.bitmap, 80);
            const testsupport::Decoded d = testsupport::decode(b, c.format, c.opt);
            EXPECT_TRUE(d.ok) << d.error;
            EXPECT_EQ(d.text, c.want);
            const std::string pgm = testsupport::tempPath(std::string(c.name) + ".pgm");
            ASSERT_TRUE(testsupport::writePGM(b, pgm));
            const testsupport::RunResult z = testsupport::zbarimg(pgm);
            EXPECT_NE(z.out.find(c.zbar), std::string::npos) << z.out << z.err;
        }
    }
}

TEST(CommandLineLinearSymbols, Code39AtThreeToOneReadsInZbar) {
    // Every character without a wide bar, and a wide element of three narrow ones.
    const std::string path = testsupport::tempPath("ratio3.eps");
    std::string err;
    ASSERT_EQ(
        run({"{type:\"Code 39 NC\", data:\"A$/+%B\", options:\"3\", saveto:\"" + path + "\"}"},
            &err),
        0)
        << err;
    const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 300, true);
    ASSERT_TRUE(r.ok) << r.err;
    const std::string pgm = testsupport::tempPath("ratio3.pgm");
    ASSERT_TRUE(testsupport::writePGM(testsupport::cropToInk(r.bitmap, 80), pgm));
    EXPECT_EQ(testsupport::zbarimg(pgm).out, "A$/+%B\n");
}

TEST(CommandLineLinearSymbols, BadDataIsRefusedWithAMessage) {
    const char* bad[][2] = {
        {"Code 39", "lower"},   {"Code 39 NC", "A*B"},    {"Code 32", "A12"},
        {"Codabar", "A12 x4B"}, {"Codabar Dynix", "12A"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(std::string(b[0]) + " " + b[1]);
        const std::string path = testsupport::tempPath("bad.eps");
        std::string err;
        EXPECT_EQ(run({record(b[0], b[1], path)}, &err), 1);
        EXPECT_NE(err.find("record 1"), std::string::npos) << err;
        EXPECT_TRUE(testsupport::slurp(path).empty());
    }
}

}  // namespace
