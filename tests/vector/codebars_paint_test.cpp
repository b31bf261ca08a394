// Bar painting through whole documents: every dialect renders in Ghostscript and
// an outside reader reads back exactly the data; the ink stays in the box; the
// painter applies the bar-width reduction itself; guards, text and module rows
// land where they belong.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "doc_fixture.h"
#include "paint_fixture.h"
#include "symbology/state.h"

using namespace painttest;

namespace {

struct Retail {
    const char* name;
    SymbolSpec spec;
    const char* format;
    const char* want;
};

const Retail kRetail[] = {
    {"ean13", {0, 0, "501234567890", ""}, "EAN-13", "5012345678900"},
    {"ean13_add5", {0, 0, "501234567890", "52495"}, "EAN-13", "5012345678900 52495"},
    {"ean13_add2", {0, 0, "400638133393", "34"}, "EAN-13", "4006381333931 34"},
    {"upca", {10, 0, "01234567890", ""}, "UPC-A", "012345678905"},
    {"upce", {11, 0, "01234000005", ""}, "UPC-E", "01234543"},
    {"ean8", {3, 0, "5512345", ""}, "EAN-8", "55123457"},
    {"isbn", {1, 0, "080442957", ""}, "EAN-13", "9780804429573"},
    {"isbn13", {1, 3, "978030640615", ""}, "EAN-13", "9780306406157"},
    {"issn", {2, 0, "0317847", ""}, "EAN-13", "9770317847001"},
    {"code128", {5, 0, "Strixel-128 ok", ""}, "Code128", "Strixel-128 ok"},
    {"gs1_128",
     {7, 0, "(01)95012345678903(3103)000123", ""},
     "Code128",
     "01950123456789033103000123"},
};

// Linear symbols read at 400 dpi: whole modules of 5 pixels and more.
constexpr int kDpi = 400;

testsupport::Decoded readSymbol(const std::string& doc, int ill, const Retail& c) {
    testsupport::Rendered r = render(doc, ill, kDpi, c.name);
    EXPECT_TRUE(r.ok) << r.err;
    if (!r.ok) return {};
    const testsupport::Bitmap b = padded(r.bitmap, 80);
    const bool addOn = !c.spec.addOn.empty();
    return addOn ? testsupport::decodeWithAddOn(b, c.format) : testsupport::decode(b, c.format);
}

TEST(BarPainting, RetailAndCode128ReadBackInEveryDialect) {
    for (const Retail& c : kRetail) {
        for (int ill : vectortest::kDialects) {
            SCOPED_TRACE(std::string(c.name) + " in dialect " + std::to_string(ill));
            const std::string doc = writeSymbol(c.spec, ill);
            const testsupport::Decoded d = readSymbol(doc, ill, c);
            EXPECT_EQ(d.text, c.want);
        }
    }
}

TEST(BarPainting, BarWidthReductionReadsBack) {
    for (const Retail& c : kRetail) {
        for (int ill : {88, 95, 1115}) {
            SCOPED_TRACE(std::string(c.name) + " in dialect " + std::to_string(ill));
            SymbolSpec s = c.spec;
            s.bwr = 20;
            EXPECT_EQ(readSymbol(writeSymbol(s, ill), ill, c).text, c.want);
        }
    }
}

// The first bar rectangle of a page: its left and right x.
bool firstBar(const std::string& doc, double* x0, double* x1) {
    const std::vector<std::string> l = vectortest::lines(doc);
    for (size_t k = 0; k + 1 < l.size(); ++k) {
        // A bar's path: "x0 top m", "x1 top L" at the same y.
        if (l[k].size() < 3 || l[k].substr(l[k].size() - 2) != " m") continue;
        std::istringstream a(l[k]), b(l[k + 1]);
        double ay = 0, by = 0;
        std::string op;
        if (!(a >> *x0 >> ay) || !(b >> *x1 >> by >> op) || op != "L" || ay != by) continue;
        if (*x0 > 0) return true;  // past the background box at x 0
    }
    return false;
}

TEST(BarPainting, ReductionIsAppliedByThePainterOnly) {
    // EAN-13 starts with a one-module guard bar: 330 um, 310 um with 20 um less,
    // at the same place; the encoder's bar-font step stays 0.
    double a0 = 0, a1 = 0, b0 = 0, b1 = 0;
    ASSERT_TRUE(firstBar(writeSymbol({0, 0, "501234567890", ""}, 95), &a0, &a1));
    ASSERT_TRUE(firstBar(writeSymbol({0, 0, "501234567890", "", 0, 0, 20}, 95), &b0, &b1));
    EXPECT_EQ(gSym.BW, 0);
    EXPECT_DOUBLE_EQ(a0, b0);
    EXPECT_NEAR(a1 - a0, 330 * 72 / 25400.0, 1e-4);
    EXPECT_NEAR(b1 - b0, 310 * 72 / 25400.0, 1e-4);

    // A reduction wider than a bar leaves a zero-width rectangle, still written;
    // the bar-font step that such a reduction gives a label item is read through.
    ASSERT_TRUE(firstBar(writeSymbol({0, 0, "501234567890", "", 0, 0, 400}, 95), &b0, &b1));
    EXPECT_DOUBLE_EQ(b0, a0);
    EXPECT_DOUBLE_EQ(b0, b1);
}

bool boxOf(const std::string& doc, double box[4]) {
    const size_t p = doc.find("%%BoundingBox: ");
    if (p == std::string::npos) return false;
    std::istringstream in(doc.substr(p + 15));
    return static_cast<bool>(in >> box[0] >> box[1] >> box[2] >> box[3]);
}

TEST(BarPainting, InkStaysInsideTheBoundingBox) {
    std::vector<SymbolSpec> specs;
    for (const Retail& c : kRetail) specs.push_back(c.spec);
    specs.push_back({10, 0, "01234567891", ""});  // UPC-A with the widest check digit shift
    specs.push_back({40, 0, "HELLO WORLD 123", ""});
    specs.push_back({38, 0, "Hello DataMatrix", ""});
    specs.push_back({38, 0, "Hello DataMatrix", "16X48"});
    specs.push_back({42, 0, "PDF417 test data 12345", ""});
    for (const SymbolSpec& s : specs) {
        SCOPED_TRACE(std::to_string(s.code) + " " + s.data + " " + s.addOn);
        const std::string doc = writeSymbol(s, 95);
        double box[4], ink[4];
        ASSERT_TRUE(boxOf(doc, box));
        const std::string path = testsupport::tempPath("box.eps");
        ASSERT_TRUE(vectortest::writeFile(path, doc));
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &ink[0], &ink[1], &ink[2], &ink[3]));
        // The bbox device reports whole pixels of its own resolution.
        const double px = 0.05;
        EXPECT_GE(ink[0], box[0] - px);
        EXPECT_GE(ink[1], box[1] - px);
        EXPECT_LE(ink[2], box[2] + px);
        EXPECT_LE(ink[3], box[3] + px);
    }
}

TEST(BarPainting, ModuleSymbolsReadBack) {
    struct Case {
        SymbolSpec spec;
        const char* format;
    } cases[] = {
        {{40, 0, "HELLO WORLD 123", ""}, "QRCode"},
        {{40, 0, "https://example.com/strixel?q=vector", ""}, "QRCode"},
        {{38, 0, "Hello DataMatrix", ""}, "DataMatrix"},
        {{38, 0, "Hello DataMatrix", "16X48"}, "DataMatrix"},  // rectangular, its rows asked for
        {{42, 0, "PDF417 test data 12345", ""}, "PDF417"},
        {{42, 2, "Truncated PDF417", ""}, "PDF417"},
    };
    for (const Case& c : cases) {
        for (int ill : vectortest::kDialects) {
            SCOPED_TRACE(std::to_string(c.spec.code) + " " + c.spec.addOn + " in dialect " +
                         std::to_string(ill));
            testsupport::Rendered r = render(writeSymbol(c.spec, ill), ill, 300, "module");
            ASSERT_TRUE(r.ok) << r.err;
            EXPECT_EQ(testsupport::decode(inkOnly(r.bitmap, 60), c.format).text, c.spec.data);
        }
    }
}

TEST(BarPainting, EveryRunOfAModuleRowIsPainted) {
    // Each PDF417 row opens with the start pattern: its first bar is at the left
    // edge of the symbol in every row.
    const std::string doc = writeSymbol({42, 0, "PDF417 rows", ""}, 95);
    const int dpi = 300;
    testsupport::Rendered r = render(doc, 95, dpi, "rows");
    ASSERT_TRUE(r.ok) << r.err;
    const double top = static_cast<int>(gSym.Hei * 2.8346);
    const double rowHeight = 3 * 0.1 * static_cast<int>(gSym.Siz * 0.1);
    const double startBar = 1 + 330 * 72 / 25400.0 * 4;  // L + half the 8-module start bar
    int rows = 0;
    for (int i = 0; i < gEl.cu_len; ++i) rows += gEl.chNum[i] == 13;
    ASSERT_GE(rows, 3);
    for (int k = 0; k < rows; ++k)
        EXPECT_LT(probe(r.bitmap, dpi, startBar, top - rowHeight * (k + 0.5)), 60) << "row " << k;
    EXPECT_GT(probe(r.bitmap, dpi, startBar, top - rowHeight * (rows + 0.5)), 200);
}

// The PDF is a valid file that a second renderer draws readably too.
TEST(BarPainting, PdfPassesQpdfAndReadsInPdftoppm) {
    struct Case {
        SymbolSpec spec;
        const char* want;
    } cases[] = {
        {{0, 0, "501234567890", ""}, "5012345678900"},
        {{5, 0, "Strixel PDF", ""}, "Strixel PDF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        const std::string path = testsupport::tempPath("symbol.pdf");
        ASSERT_TRUE(vectortest::writeFile(path, writeSymbol(c.spec, 1115)));
        const testsupport::RunResult check = testsupport::qpdfCheck(path);
        EXPECT_EQ(check.status, 0) << check.out << check.err;
        const std::string prefix = testsupport::tempPath("poppler");
        ASSERT_EQ(testsupport::pdftoppm(path, prefix).status, 0);
        // A page of one symbol: pdftoppm names it prefix-1.pgm.
        const testsupport::RunResult read = testsupport::zbarimg(prefix + "-1.pgm");
        EXPECT_EQ(read.out, std::string(c.want) + "\n");
    }
}

}  // namespace
