// Bar painting through whole documents: every dialect renders in Ghostscript and
// an outside reader reads back exactly the data; the ink stays in the box; the
// painter applies the bar-width reduction itself; guards, text and module rows
// land where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>

#include "doc_fixture.h"
#include "paint_fixture.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/codebars_paint.h"
#include "vector_fixture.h"

using namespace painttest;

namespace {

// Linear symbols read at 400 dpi: whole modules of 5 pixels and more.
constexpr int kDpi = 400;

testsupport::Decoded readSymbol(const std::string& doc, int ill, const Readable& c) {
    testsupport::Rendered r = render(doc, ill, kDpi, c.name);
    EXPECT_TRUE(r.ok) << r.err;
    if (!r.ok) return {};
    const testsupport::Bitmap b = testsupport::padBitmap(r.bitmap, 80);
    return c.spec.addOn.empty() ? testsupport::decode(b, c.format)
                                : testsupport::decodeWithAddOn(b, c.format);
}

// Every dialect, and three of them again with the bar-width reduction.
TEST(BarPainting, LinearSymbolsReadBackInEveryDialect) {
    for (const Readable& c : readableSymbols()) {
        if (c.module) continue;
        for (int ill : vectortest::kDialects) {
            for (int bwr : {0, 20}) {
                if (bwr > 0 && ill != 88 && ill != 95 && ill != 1115) continue;
                SCOPED_TRACE(c.name + " in dialect " + std::to_string(ill) + " bwr " +
                             std::to_string(bwr));
                SymbolSpec s = c.spec;
                s.bwr = bwr;
                EXPECT_EQ(readSymbol(writeSymbol(s, ill), ill, c).text, c.want);
            }
        }
    }
}

// The first bar rectangle of a page: its left and right x.
bool firstBar(const std::string& doc, double* x0, double* x1) {
    const std::vector<std::string> l = linesOf(doc);
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

    // A reduction wider than a bar would leave no bars: the symbol is refused.
    EXPECT_FALSE(firstBar(writeSymbol({0, 0, "501234567890", "", 0, 0, 400}, 95), &b0, &b1));
    EXPECT_EQ(gMsg.last, kBarsVanishText);
}

// DataBar rows and the four-state bands are bars too: a reduction as wide as the
// narrowest of them (a 330 um DataBar module, a 635 um postal bar at 100 %) is
// refused, and one micrometre less still makes the symbol.
TEST(BarPainting, ReductionAsWideAsADataBarModuleOrAPostalBarIsRefused) {
    const struct {
        SymbolSpec spec;
        int narrowest;
    } cases[] = {{{37, 0, "0123456789012", ""}, 330}, {{37, 2, "0123456789012", ""}, 330},
                 {{37, 4, "0123456789012", ""}, 330}, {{30, 0, "SN34RD1A", ""}, 635},
                 {{30, 1, "2500GG30250", ""}, 635},   {{31, 0, "555551237", ""}, 635}};
    for (auto c : cases) {
        SCOPED_TRACE(std::to_string(c.spec.code) + "/" + std::to_string(c.spec.variation));
        c.spec.bwr = c.narrowest - 1;
        gMsg.last.clear();
        EXPECT_NE(writeSymbol(c.spec, 95).find("%%EOF"), std::string::npos);
        EXPECT_NE(gMsg.last, kBarsVanishText);
        c.spec.bwr = c.narrowest;
        gMsg.last.clear();
        writeSymbol(c.spec, 95);
        EXPECT_EQ(gMsg.last, kBarsVanishText);
    }
}

bool boxOf(const std::string& doc, double box[4]) {
    const size_t p = doc.find("%%BoundingBox: ");
    if (p == std::string::npos) return false;
    std::istringstream in(doc.substr(p + 15));
    return static_cast<bool>(in >> box[0] >> box[1] >> box[2] >> box[3]);
}

TEST(BarPainting, InkStaysInsideTheBoundingBox) {
    std::vector<SymbolSpec> specs;
    for (const Readable& c : readableSymbols()) specs.push_back(c.spec);
    specs.push_back({10, 0, "01234567891", ""});  // UPC-A with the widest check digit shift
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
    for (const Readable& c : readableSymbols()) {
        if (!c.module) continue;
        for (int ill : vectortest::kDialects) {
            SCOPED_TRACE(c.name + " in dialect " + std::to_string(ill));
            testsupport::Rendered r = render(writeSymbol(c.spec, ill), ill, 300, "module");
            ASSERT_TRUE(r.ok) << r.err;
            EXPECT_EQ(testsupport::decode(testsupport::cropToInk(r.bitmap, 60), c.format).text,
                      c.want);
        }
    }
}

// A reduced QR Code or DataMatrix stays solid inside: each module meets its
// dark neighbours, so that no hairline between them splits the symbol in a
// smoothing render.
TEST(BarPainting, ReducedMatrixSymbolsReadBackWithoutHairlines) {
    constexpr int kPdfDialect = 1115;
    constexpr int kFineDpi = 600;
    for (const Readable& c : readableSymbols()) {
        if (!c.module || c.format == "PDF417") continue;
        for (double siz : {50.0, 200.0})
            for (int bwr : {20, 50}) {
                SCOPED_TRACE(c.name + " at " + std::to_string(siz) + " bwr " + std::to_string(bwr));
                SymbolSpec s = c.spec;
                s.siz = siz;
                s.bwr = bwr;
                const std::string path = testsupport::tempPath("reduced.pdf");
                ASSERT_TRUE(vectortest::writeFile(path, writeSymbol(s, kPdfDialect)));
                testsupport::Bitmap page;
                ASSERT_TRUE(testsupport::pdfPage(path, kFineDpi, 1, &page));
                EXPECT_EQ(testsupport::decode(testsupport::cropToInk(page, 60), c.format).text,
                          c.want);
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

// The filled paths of a page, each as its lowest and highest x and y.
std::vector<std::array<double, 4>> filledPaths(const std::string& doc) {
    std::vector<std::array<double, 4>> paths;
    std::array<double, 4> cur{1e9, 1e9, -1e9, -1e9};
    for (const std::string& line : linesOf(doc)) {
        std::istringstream words(line);
        double x = 0, y = 0;
        std::string op;
        if (words >> x >> y >> op && (op == "m" || op == "L")) {
            cur = {std::min(cur[0], x), std::min(cur[1], y), std::max(cur[2], x),
                   std::max(cur[3], y)};
        } else if (line == "f" && cur[2] >= cur[0]) {
            paths.push_back(cur);
            cur = {1e9, 1e9, -1e9, -1e9};
        }
    }
    return paths;
}

// QR Code and DataMatrix modules stand inside the symbol's white box with the
// same margin below and above as left and right, whatever size, margin or cut
// marks: hung from the item's width rounded up, they stood above the box.
TEST(BarPainting, MatrixModulesStandInsideTheirWhiteBox) {
    const SymbolSpec specs[] = {{40, 0, "HELLO WORLD 123", ""},
                                {40, 0, "HELLO WORLD 123", "", 137},
                                {38, 0, "STRIXEL-100", "", 80, 0, 15},
                                {38, 0, "STRIXEL-100", ""}};
    for (const SymbolSpec& s : specs)
        for (int inset : {0, 10})
            for (int margin : {0, 3}) {
                SCOPED_TRACE(std::to_string(s.code) + " at " + std::to_string(s.siz) + " inset " +
                             std::to_string(inset) + " margin " + std::to_string(margin));
                const auto paths = filledPaths(writeSymbol(s, 95, nullptr, [&] {
                    gSym.insetAmount = inset;
                    gSym.extraMargin = margin;
                }));
                ASSERT_GT(paths.size(), 10u);
                const auto& white = paths.front();
                std::array<double, 4> ink{1e9, 1e9, -1e9, -1e9};
                for (size_t i = 1; i < paths.size(); ++i)
                    ink = {std::min(ink[0], paths[i][0]), std::min(ink[1], paths[i][1]),
                           std::max(ink[2], paths[i][2]), std::max(ink[3], paths[i][3])};
                constexpr double kNear = 1e-3;
                EXPECT_LE(ink[3], white[3] + kNear) << "a module row above the white box";
                EXPECT_NEAR(ink[1] - white[1], ink[0] - white[0], kNear);
                // A reduction takes its width off the right and upper edges alike.
                EXPECT_NEAR(white[3] - ink[3], white[2] - ink[2], kNear);
            }
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

// The codes the bar font draws as letters in book and retail texts ('%' X, '['
// I, '`' M...) are characters of the data under Code 93 and Telepen bars, and
// so are the gap and spacer bytes of the grouped lines ('?', '=', '{' ...) and
// the bytes the bar font has no glyph for ('!', '~' ...) in a line of data as
// typed: the text line shows them as they are, in PDF as text a reader finds.
TEST(BarPainting, DataTextShowsTheLetterCodesAsThemselves) {
    struct Case {
        SymbolSpec spec;
        const char* shown;  // what the text of the line holds, blanks left out
        const char* run;    // a text run of the EPS
        const char* font;   // in the font the EPS names
    } cases[] = {
        {{28, 0, "TEST 5%", ""}, "E%", "(%)", "OCRB-Regular"},
        {{36, 0, "50% (A)", ""}, "%(A)", "(%)", "OCRB-Regular"},
        {{36, 0, "[a]_^`\\x", ""}, "[a]_^`\\x", "([)", "OCRB-Regular"},
        {{36, 0, "PA=b?c{d|e}f!\"~@", ""}, "PA=b?c{d|e}f!\"~@", "(=)", "OCRB-Regular"},
        {{6, 10, "Q=1?{x}|y~z@w!\"", ""}, "Q=1?{x}|y~z@w!\"", "(?)", "Helvetica"},
        {{5, 0, "PART=12?A!{x}", ""}, "PART=12?A!{x}", "(=)", "Helvetica"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec.data);
        const std::string path = testsupport::tempPath("data.pdf");
        ASSERT_TRUE(vectortest::writeFile(path, writeSymbol(c.spec, 1115)));
        std::string text = testsupport::runCommand("pdftotext '" + path + "' -").out;
        std::erase_if(text, [](char ch) { return ch == ' ' || ch == '\n' || ch == '\f'; });
        EXPECT_EQ(text, c.shown);
        // The EPS dialects set them in the same font.
        const std::string eps = writeSymbol(c.spec, 95);
        EXPECT_NE(eps.find(std::string("%%DocumentFonts: ") + c.font), std::string::npos);
        EXPECT_NE(eps.find(c.run), std::string::npos);
    }
}

}  // namespace
