// The module and row painters: symbols painted through the bar hook, drawn at
// 600 dpi, read back by zxing-cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/world.h"
#include "databar/RSSENC.h"
#include "labels/labelDoc.h"
#include "picture/hooks.h"
#include "picture/painters2d.h"
#include "picture/rowpaint.h"
#include "support/reader.h"
#include "symbology/codebars.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

using testsupport::Bitmap;

namespace {

std::vector<qd::Rect> bars;
void recordBar(const qd::Rect& r) { bars.push_back(r); }
std::vector<std::string> strings;
void recordString(const unsigned char* text, int32_t, int32_t, int32_t count) {
    strings.emplace_back(reinterpret_cast<const char*>(text), static_cast<size_t>(count));
}

constexpr double kDpi = 600;

// The recorded bars at 600 dpi: pixels per unit from the frame's unit. The
// ink spreads by the bar-width reduction, as the reduction expects of print,
// unless the bars are taken as painted.
Bitmap drawBars(bool label, bool inkSpreads = true) {
    const double spread = inkSpreads ? gSym.BWidthRed / 2.0 / (label ? 352.777 : 10.0) : 0;
    const double px = label ? kDpi / 72 : kDpi / 2540;
    int32_t right = 0, bottom = 0;
    for (const qd::Rect& r : bars)
        right = std::max(right, r.right), bottom = std::max(bottom, r.bottom);
    Bitmap b;
    const int margin = 80;
    b.width = static_cast<int>(right * px) + 2 * margin;
    b.height = static_cast<int>(bottom * px) + 2 * margin;
    b.pixels.assign(static_cast<size_t>(b.width) * b.height, 255);
    for (const qd::Rect& r : bars)
        for (int y = static_cast<int>((r.top - spread) * px);
             y < static_cast<int>((r.bottom + spread) * px); ++y)
            for (int x = static_cast<int>((r.left - spread) * px);
                 x < static_cast<int>((r.right + spread) * px); ++x)
                b.pixels[static_cast<size_t>(y + margin) * b.width + x + margin] = 0;
    return b;
}

struct Painters : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        resetDrawingHooks();
        gHooks.bar_ptr = recordBar;
        gHooks.drawstring_ptr = recordString;
        bars.clear();
        strings.clear();
    }
    void TearDown() override { resetDrawingHooks(); }

    static int32_t make(int32_t code, int32_t variation, const std::string& data) {
        gSym.code = code;
        gSym.variation1 = variation;
        std::memcpy(gData.chMainCode, data.data(), data.size());
        gData.chMainCode[data.size()] = 0;
        gData.len1 = static_cast<int32_t>(data.size());
        return STRixel();
    }
    // Paints the current symbol at (40, 30) output units, as the barcode item does.
    static void paint(bool label) {
        labelBack.labelWidth = label ? 2000 : 0;
        const double s = label ? 1 : 35;
        const auto u = static_cast<int32_t>(gSym.Siz * s * 0.1);
        bars.clear();
        if (gSym.code == 38 || gSym.code == 40)
            DrawDatamatrixPC(40, 30, u, s);
        else if (gSym.code == 37)
            DrawRSSStackedPC(40, 30, u, s, 0, 0, 0, 4000);
        else
            DrawMicroPDF417PC(40, 30, u, s, 0, 0, 0, 4000);
    }
};

struct Case {
    int32_t code;
    const char* format;
    const char* data;
};

TEST_F(Painters, TwoDimensionalSymbolsReadBackAtEverySizeAndReduction) {
    const Case cases[] = {{40, "QRCode", "Strixel picture 12345"},
                          {38, "DataMatrix", "DATA MATRIX 0123456789"},
                          {42, "PDF417", "PDF417 rows keep their start bar"}};
    for (const Case& c : cases)
        for (double siz : {100.0, 80.0})
            for (int32_t reduction : {0, 40})
                for (bool label : {false, true}) {
                    // Whole points hold neither PDF417's modules of a third of a
                    // millimetre nor a reduction of a tenth of a point.
                    if (label && (c.code == 42 || reduction != 0)) continue;
                    SCOPED_TRACE(std::string(c.format) + " " + std::to_string(siz) + "% -" +
                                 std::to_string(reduction) + (label ? " points" : " fine"));
                    gSym.Siz = siz;
                    gSym.BWidthRed = reduction;
                    ASSERT_EQ(make(c.code, 0, c.data), 0);
                    paint(label);
                    ASSERT_FALSE(bars.empty());
                    const testsupport::Decoded d = testsupport::decode(drawBars(label), c.format);
                    EXPECT_TRUE(d.ok) << d.error;
                    EXPECT_EQ(d.text, c.data);
                }
}

// Taken as painted, without the ink spread the reduction allows for, a
// reduced QR Code or DataMatrix reads: the reduction narrows the dark areas at
// their outer edges but leaves no light seam between two dark modules.
TEST_F(Painters, ReducedMatrixSymbolsStaySolidInside) {
    const Case cases[] = {{40, "QRCode", "Strixel picture 12345"},
                          {38, "DataMatrix", "DATA MATRIX 0123456789"}};
    auto extent = [] {
        qd::Rect all = bars.front();
        for (const qd::Rect& r : bars)
            all.right = std::max(all.right, r.right), all.bottom = std::max(all.bottom, r.bottom);
        return all;
    };
    for (const Case& c : cases)
        for (bool label : {false, true})
            for (double siz : {50.0, 100.0, 200.0}) {
                if (label && siz < 200) continue;  // a reduction needs whole points to show
                gSym.Siz = siz;
                gSym.BWidthRed = 0;
                ASSERT_EQ(make(c.code, 0, c.data), 0);
                paint(label);
                const qd::Rect whole = extent();
                for (int32_t reduction : {1, 20, 50}) {
                    SCOPED_TRACE(std::string(c.format) + " " + std::to_string(siz) + "% -" +
                                 std::to_string(reduction) + (label ? " points" : " fine"));
                    gSym.BWidthRed = reduction;
                    paint(label);
                    const testsupport::Decoded d =
                        testsupport::decode(drawBars(label, false), c.format);
                    EXPECT_EQ(d.text, c.data) << d.error;
                    // Whole points round a reduction this small away.
                    if (!label && reduction >= 50) {
                        EXPECT_LT(extent().right, whole.right);
                        EXPECT_LT(extent().bottom, whole.bottom);
                    }
                }
            }
}

// Each PDF417 row opens with the start pattern's eight-module bar: it is
// painted, flush with the symbol's left edge, and as wide as the other rows'.
TEST_F(Painters, Pdf417RowsOpenWithTheirStartBar) {
    ASSERT_EQ(make(42, 0, "start bar"), 0);
    paint(false);
    int32_t rows = 0;
    for (int32_t i = 0; i < gEl.cu_len; ++i) rows += gEl.chNum[i] == kRowEnd;
    std::vector<qd::Rect> first;
    for (const qd::Rect& r : bars)
        if (r.left == 40) first.push_back(r);
    ASSERT_EQ(static_cast<int32_t>(first.size()), rows);
    for (const qd::Rect& r : first) EXPECT_EQ(r.right - r.left, first[0].right - first[0].left);
    // 8 modules of 330 um at 100 %, in hundredths of a millimetre.
    EXPECT_EQ(first[0].right - first[0].left, 264);
    // Rows are three tenths of the row unit high (3 points at 100 %, as in the
    // vector output), from the magnification in micrometres.
    EXPECT_EQ(first[0].bottom - first[0].top, 105);
}

TEST_F(Painters, MicroPdf417ModulesMatchTheElementList) {
    gSym.code = 41;
    ASSERT_EQ(make(41, 0, "MicroPDF417 1234"), 0);
    paint(false);
    const std::vector<std::string> rows = testsupport::moduleRowStrings(gEl.chNum, gEl.cu_len);
    ASSERT_FALSE(rows.empty());
    // Each painted row back to modules of 33 units.
    std::vector<std::string> painted(rows.size(), std::string(rows[0].size(), '0'));
    int32_t top0 = bars.front().top, rowH = 0;
    for (const qd::Rect& r : bars) {
        if (r.top != top0 && rowH == 0) rowH = r.top - top0;
    }
    ASSERT_GT(rowH, 0);
    for (const qd::Rect& r : bars) {
        const size_t row = static_cast<size_t>((r.top - top0) / rowH);
        ASSERT_LT(row, painted.size());
        for (int32_t m = (r.left - 40 + 16) / 33; m < (r.right - 40 + 16) / 33; ++m)
            painted[row][static_cast<size_t>(m)] = '1';
    }
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(painted[i], rows[i]) << "row " << i;
}

TEST_F(Painters, BlockLetterValuesAndAModuleOfNoSide) {
    gSym.code = 38;
    const unsigned char list[] = {'e', 't', 'm', kRowEnd};
    std::memcpy(gEl.chNum, list, sizeof list);
    gEl.cu_len = sizeof list;
    paint(true);
    // "e" nothing, "t" four modules, "m" (8) the top one: the top row's two dark
    // modules are one run, the three rows below one module each.
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_EQ(bars[0].top, 30);
    EXPECT_EQ(bars[0].left, 40 + 2);   // the second column, 2.83 points on
    EXPECT_EQ(bars[0].right, 40 + 8);  // to the end of the third
    for (size_t i = 1; i < bars.size(); ++i) {
        EXPECT_EQ(bars[i].left, 40 + 2);
        EXPECT_EQ(bars[i].top, bars[i - 1].bottom);
    }
    // Reduced by a whole module, a module has no side but where a dark module
    // under it keeps the column solid: the second column's upper three reach
    // the next row, the lowest has no height, and "m"'s has no height either.
    gSym.BWidthRed = 1000;
    paint(true);
    ASSERT_EQ(bars.size(), 5u);  // the top row's run split: column two, then three
    EXPECT_EQ(bars[0].bottom, bars[2].top);
    EXPECT_EQ(bars[2].bottom, bars[3].top);
    EXPECT_EQ(bars[3].bottom, bars[4].top);
    EXPECT_EQ(bars[1].bottom, bars[1].top);
    EXPECT_EQ(bars[4].bottom, bars[4].top);
}

TEST_F(Painters, DataBarReadsBackAndItsLineShowsEighteenCharacters) {
    gSym.Hei = 12;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(make(37, 0, "0950110153001"), 0);
        paint(false);
        const testsupport::Decoded d = testsupport::decode(drawBars(false), "DataBar");
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, "09501101530010");
    }
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0], "(01)09501101530010");
}

// An Expanded Stacked list from a fixture: two component rows, a separator,
// then the linear rows.
void expandedFixture(int32_t linearRows) {
    gSym.code = 37;
    gSym.variation1 = 6;
    gSym.human = 0;
    gEl.clear();
    for (int32_t row = 0; row < 3 + linearRows; ++row) {
        gEl.put(kLightModule);
        for (int32_t m = 0; m < 20; ++m) gEl.put(m % 2 ? kDarkModule : kLightModule);
        gEl.put(kRowEnd);
    }
    gRss.stackrows[0] = 2;
}

// Painting twice gives the same bars and leaves the row count; without linear
// rows (the separator last) only the component is painted.
TEST_F(Painters, ExpandedStackedComponentAndRows) {
    gSym.Hei = 20;
    expandedFixture(5);  // two symbol rows, three separators
    paint(false);
    const std::vector<qd::Rect> once = bars;
    paint(false);
    EXPECT_EQ(bars, once);
    EXPECT_EQ(gRss.stackrows[0], 2);
    expandedFixture(0);
    paint(false);
    EXPECT_EQ(bars.size(), 30u);  // ten bars in each of the component rows and the separator
}

// Expanded Stacked in many rows under its text line: each painted row stands in
// its own band, the separator rows too, so that no row's bars reach over the
// rows under it; the symbol reads back.
TEST_F(Painters, ExpandedStackedRowsStandApartAndReadBack) {
    const char* data = "(01)95326345033465(30)40777869(3305)622978";
    for (const char* segments : {"2", "4", "6"}) {
        SCOPED_TRACE(std::string("segments per row ") + segments);
        gSym.human = 1;
        gSym.Hei = 15;
        copyBounded(gData.chAddCode, segments);
        gData.len2 = static_cast<int32_t>(std::strlen(segments));
        ASSERT_EQ(make(37, 6, data), 0);
        paint(false);
        ASSERT_FALSE(bars.empty());
        std::vector<std::pair<int32_t, int32_t>> bands;
        for (const qd::Rect& r : bars) bands.emplace_back(r.top, r.bottom);
        std::sort(bands.begin(), bands.end());
        bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
        ASSERT_GE(bands.size(), 5u);  // two symbol rows and three separator rows at least
        for (size_t i = 1; i < bands.size(); ++i)
            EXPECT_LE(bands[i - 1].second, bands[i].first)
                << "band " << i - 1 << " reaches into band " << i;
        // The rows end over the text line: the bar height (from y = 30) less
        // the line's row unit of ten points at 100 %.
        const int32_t textTop = 30 + static_cast<int32_t>(gSym.Hei * 100) - 352;
        EXPECT_LE(bands.back().second, textTop);
        const testsupport::Decoded d = testsupport::decode(drawBars(false), "DataBarExpanded");
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, data);
    }
}

TEST_F(Painters, ShortTextRowIsBounded) {
    ASSERT_EQ(make(37, 0, "0950110153001"), 0);
    // Cut the text row to five characters.
    int32_t last = gEl.cu_len - 1;
    while (last > 0 && gEl.chNum[last - 1] != kRowEnd) --last;
    gEl.cu_len = last + 5;
    paint(false);
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(strings[0].size(), 5u);
}

}  // namespace
