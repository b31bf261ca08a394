// Symbols made by the command line, rendered by Ghostscript (and pdftoppm), read
// back by zxing-cpp: every dialect must carry exactly the data.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
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
    const char* options;
    const char* format;
    const char* want;  // with the symbology identifier where it matters
};

const Case kCases[] = {
    {"ean13", "EAN 13", "400638133393", "", "EAN-13", "4006381333931"},
    {"ean13_5", "EAN 13", "501234567890", "52495", "EAN-13", "5012345678900 52495"},
    {"ean13_2", "EAN 13", "501234567890", "12", "EAN-13", "5012345678900 12"},
    {"ean8", "EAN 8", "9638507", "", "EAN-8", "96385074"},
    {"upca", "UPC A", "03600029145", "", "UPC-A", "036000291452"},
    {"upce", "UPC E", "01234500006", "", "UPC-E", "01234565"},
    {"isbn", "ISBN -OCRB", "030640615", "", "EAN-13", "9780306406157"},
    {"issn", "ISSN -OCRB", "0317847", "", "EAN-13", "9770317847001"},
    {"code128", "Code 128", "Strixel 128-ok", "", "Code128", "Strixel 128-ok"},
    {"gs1", "EAN 128", "(01)1540014128876(17)251231(10)AB1", "", "Code128",
     "]C101154001412887631725123110AB1"},
    {"qr", "QRCode", "https://example.com/Crème", "M", "QRCode", "https://example.com/Crème"},
    {"datamatrix", "Datamatrix", "Strixel DataMatrix 123", "", "DataMatrix",
     "Strixel DataMatrix 123"},
    {"pdf417", "PDF417", "Strixel PDF417, printed.", "", "PDF417", "Strixel PDF417, printed."},
    {"itf14", "ITF", "1540014128876", "", "ITF", "15400141288763"},
    {"itf6", "ITF6 NoCheck", "123456", "", "ITF", "123456"},
    {"itf8", "ITF NC", "12345678", "", "ITF", "12345678"},
};

struct Dialect {
    const char* flag;
    const char* ext;
};
const Dialect kDialectsToRead[] = {{"--dialect=ai1", ".eps"},   {"--dialect=ai88", ".eps"},
                                   {"--dialect=ai3", ".eps"},   {"--dialect=ai5", ".eps"},
                                   {"--dialect=press", ".eps"}, {"--dialect=pdf", ".pdf"},
                                   {"--dialect=ps", ".ps"}};

int run(const std::vector<std::string>& args, std::string* errors) {
    std::vector<const char*> argv{"strixel"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream in;
    std::ostringstream out, err;
    const int status = runCommandLine(static_cast<int>(argv.size()), argv.data(), in, out, err);
    *errors = err.str();
    return status;
}

int make(const std::vector<std::string>& args) {
    std::string err;
    const int status = run(args, &err);
    EXPECT_EQ(status, 0) << err;
    return status;
}

std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

std::string recordOf(const Case& c, const std::string& path, const std::string& more = "") {
    std::string r = std::string("{type:\"") + c.type + "\", data:\"" + c.data + "\"";
    if (*c.options) r += std::string(", options:\"") + c.options + "\"";
    return r + more + ", saveto:\"" + path + "\"}";
}

std::string read(const std::string& path, const Case& c, bool eps) {
    testsupport::Rendered r = testsupport::renderWithGhostscript(path, 400, eps);
    EXPECT_TRUE(r.ok) << r.err;
    if (!r.ok) return {};
    const testsupport::Bitmap b = testsupport::cropToInk(r.bitmap, 80);
    const bool addOn = *c.options && std::string(c.format).rfind("EAN", 0) == 0;
    testsupport::Decoded d =
        addOn ? testsupport::decodeWithAddOn(b, c.format) : testsupport::decode(b, c.format);
    std::string got = d.text;
    if (std::string(c.want).rfind("]", 0) == 0) got = d.symbologyId + got;
    return got;
}

TEST(CommandLineSymbols, ReadBackInEveryDialect) {
    for (const Dialect& dialect : kDialectsToRead) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(c.name) + " " + dialect.flag);
            const std::string path = testsupport::tempPath(std::string(c.name) + dialect.ext);
            if (make({dialect.flag, recordOf(c, path)}) != 0) continue;
            const bool eps = std::string(dialect.ext) == ".eps";
            EXPECT_EQ(read(path, c, eps), c.want);
        }
    }
}

// A long Interleaved 2 of 5, made small enough for the plain PostScript page.
TEST(CommandLineSymbols, LongInterleavedReadsInEveryDialect) {
    const std::string digits = "12345678901234567890123456789012345678901234";
    const Case c{"itf44", "ITF NC", digits.c_str(), "", "ITF", digits.c_str()};
    for (const Dialect& dialect : kDialectsToRead) {
        SCOPED_TRACE(dialect.flag);
        const std::string path = testsupport::tempPath(std::string("itf44") + dialect.ext);
        if (make({dialect.flag, recordOf(c, path, ", size:\"45\"")}) != 0) continue;
        EXPECT_EQ(read(path, c, std::string(dialect.ext) == ".eps"), c.want);
    }
}

TEST(CommandLineSymbols, BarWidthReductionStillReads) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string path = testsupport::tempPath(std::string(c.name) + "_bwr.eps");
        if (make({recordOf(c, path, ", bwr:\"20\"")}) != 0) continue;
        EXPECT_EQ(read(path, c, true), c.want);
    }
}

TEST(CommandLineSymbols, InkInsideTheBoxAndTheBoxFitsTheSymbol) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string path = testsupport::tempPath(std::string(c.name) + "_box.eps");
        if (make({recordOf(c, path)}) != 0) continue;
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        const std::string doc = slurp(path);
        const size_t at = doc.find("%%HiResBoundingBox: ");
        ASSERT_NE(at, std::string::npos);
        std::istringstream box(doc.substr(at + 20));
        double bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
        box >> bx0 >> by0 >> bx1 >> by1;
        EXPECT_GE(llx, bx0 - 0.01);
        EXPECT_GE(lly, by0 - 0.01);
        EXPECT_LE(urx, bx1 + 0.01);
        EXPECT_LE(ury, by1 + 0.01);
        // The declared box holds the symbol with its light margins, not a page
        // around it.
        // Interleaved 2 of 5 sets its light-margin marks 12 points in from each side.
        const double slack =
            std::string(c.type) == "ITF" || std::string(c.type) == "ITF NC" ? 30 : 6;
        EXPECT_LE((bx1 - bx0) - (urx - llx), slack);
        EXPECT_LE((by1 - by0) - (ury - lly), 6.0);
    }
}

TEST(CommandLineSymbols, PdfPassesQpdfAndPdftoppm) {
    const Case& c = kCases[0];
    const std::string path = testsupport::tempPath("ean.pdf");
    ASSERT_EQ(make({recordOf(c, path)}), 0);
    testsupport::RunResult q = testsupport::qpdfCheck(path);
    EXPECT_EQ(q.status, 0) << q.out << q.err;
    testsupport::RunResult p = testsupport::pdftoppm(path, testsupport::tempPath("page"));
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.err, "");
    testsupport::RunResult f = testsupport::runCommand("pdffonts '" + path + "'");
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_NE(f.out.find("Helvetica "), std::string::npos) << f.out;
}

// A symbol low enough to have a single bar row keeps its bars.
TEST(CommandLineSymbols, LowSymbolsKeepTheirBars) {
    const Case cases[] = {
        {"low128", "Code 128", "ABC-123", "", "Code128", "ABC-123"},
        {"lowgs1", "EAN 128", "(01)1540014128876", "", "Code128", "]C10115400141288763"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = testsupport::tempPath(std::string(c.name) + ".eps");
        if (make({recordOf(c, path, ", height:\"10\"")}) != 0) continue;
        EXPECT_EQ(read(path, c, true), c.want);
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        EXPECT_GT(urx - llx, 60);  // the bars, not only the text
    }
}

// A DataMatrix size too small for the data gives way to a larger symbol, which
// stands inside its box all the same.
TEST(CommandLineSymbols, DataMatrixSizeGivingWayStaysInItsBox) {
    const Case c{"dm10", "Datamatrix", "Hello", "10X10", "DataMatrix", "Hello"};
    const std::string path = testsupport::tempPath("dm10.eps");
    ASSERT_EQ(make({recordOf(c, path)}), 0);
    double llx = 0, lly = 0, urx = 0, ury = 0;
    ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
    EXPECT_GE(lly, -0.01);
    EXPECT_GE(llx, -0.01);
    EXPECT_EQ(read(path, c, true), "Hello");
}

TEST(CommandLineSymbols, RowSymbolsTooSmallToCarryAreRefused) {
    const std::string path = testsupport::tempPath("p20.eps");
    std::string err;
    EXPECT_EQ(
        run({"{type:\"PDF417\", data:\"Hello\", size:\"10\", saveto:\"" + path + "\"}"}, &err), 1);
    EXPECT_NE(err.find("too small"), std::string::npos) << err;
}

// Every row of a tall PDF417 stands inside its box, the last one too.
TEST(CommandLineSymbols, TallPdf417StaysInItsBox) {
    const std::string data(150, 'x');
    const Case c{"tallpdf", "PDF417", data.c_str(), "", "PDF417", data.c_str()};
    const std::string path = testsupport::tempPath("tallpdf.eps");
    ASSERT_EQ(make({recordOf(c, path)}), 0);
    double llx = 0, lly = 0, urx = 0, ury = 0;
    ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
    EXPECT_GE(lly, -0.01);
    EXPECT_EQ(read(path, c, true), data);
}

// The document's own "%%BoundingBox:" (llx, lly, urx, ury); all -1 when it has none.
std::array<double, 4> boundingBox(const std::string& path) {
    const std::string doc = slurp(path);
    const size_t at = doc.find("%%BoundingBox:");
    std::array<double, 4> box{-1, -1, -1, -1};
    if (at == std::string::npos) return box;
    std::istringstream numbers(doc.substr(at + 14, 80));
    numbers >> box[0] >> box[1] >> box[2] >> box[3];
    return box;
}

// A linear symbol whose text needs more height than it has had its bars
// painted upside down, bars and text above the bounding box. The lowest
// heights that leave the bars room stay in their box; lower ones are refused.
TEST(CommandLineSymbols, LinearSymbolsLowerThanTheirTextAreRefused) {
    struct Low {
        const char* type;
        const char* data;
        const char* lowest;   // millimetres: still written
        const char* refused;  // no room for the bars
        const char* size;
    };
    const Low cases[] = {{"EAN 13", "400638133393", "4", "3", "100"},
                         {"Code 128", "ABC123", "8", "7", "100"},
                         {"Code 128", "ABC123", "24", "22", "327"}};
    for (const Low& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " at " + c.refused + " mm, size " + c.size);
        auto record = [&](const std::string& path, const char* height) {
            return std::string("{type:\"") + c.type + "\", data:\"" + c.data + "\", size:\"" +
                   c.size + "\", height:\"" + height + "\", saveto:\"" + path + "\"}";
        };
        const std::string path = testsupport::tempPath("low.eps");
        std::remove(path.c_str());
        std::string err;
        EXPECT_EQ(run({record(path, c.refused)}, &err), 1);
        EXPECT_NE(err.find("no room"), std::string::npos) << err;
        EXPECT_FALSE(std::ifstream(path).good()) << "a refused symbol left a file";

        ASSERT_EQ(make({record(path, c.lowest)}), 0);
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        EXPECT_GE(lly, -0.5);
        EXPECT_LE(ury, boundingBox(path)[3] + 0.5);
    }
}

// UPC-A's check digit stands right of the bars, past the quiet zone; at a
// large size it reached past the bounding box (and was cut off where the
// symbol was placed). Every check digit, since each has a place of its own.
TEST(CommandLineSymbols, UpcCheckDigitStaysInItsBox) {
    for (char last = '0'; last <= '9'; ++last) {
        const std::string data = std::string("0720005829") + last;
        SCOPED_TRACE(data);
        const std::string path = testsupport::tempPath("upc327.eps");
        ASSERT_EQ(make({"{type:\"UPC A\", data:\"" + data + "\", size:\"327\", saveto:\"" + path +
                        "\"}"}),
                  0);
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        EXPECT_LE(urx, boundingBox(path)[2]);
    }
}

}  // namespace
