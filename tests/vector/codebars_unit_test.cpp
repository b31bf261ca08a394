// Bar painting on element lists made by hand: the rows it paints, grip
// outlines, the second colour of the last bars, and nothing read past cu_len.
#include <cstring>
#include <random>
#include <string>

#include "doc_fixture.h"
#include "paint_fixture.h"
#include "symbology/codebars.h"
#include "vector/codebars_paint.h"
#include "vector_fixture.h"

namespace {

struct Painting : VectorTest {
    void list(const std::string& bytes) {
        gEl.clear();
        gEl.put(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }
    // Rectangles written: closing lines of filled and stroked paths.
    static int count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
        return n;
    }
    std::string paint() {
        drawCodebars(10, 0, 90, 200, 0, -1, 0, 0);
        return written();
    }
};

// Bars 190 (330 um) and spaces ';', rows ended by 13.
const std::string kRow = "?\xbe;\xbe\xbe;;\xbe?\r";  // three bars: 330, 660, 330

TEST_F(Painting, ALinearSymbolPaintsItsSecondRowOnly) {
    dialect(95);
    gSym.code = 28;
    gSym.human = 0;
    gSym.Hei = 20;
    list("\xbe;\xbe\r" + kRow + kRow + kRow);  // a first row of two bars, then three-bar rows
    EXPECT_EQ(count(paint(), " L\rf\r"), 3);

    // Royal Mail and POSTNET paint their rows from the first, three and two of them.
    gSym.code = 30;
    list(kRow + kRow + kRow + kRow);
    EXPECT_EQ(count(paint(), " L\rf\r"), 9);
    EXPECT_EQ(gSym.multi_line, 0);
    gSym.code = 31;
    EXPECT_EQ(count(paint(), " L\rf\r"), 6);
}

TEST_F(Painting, GripOutlinesEveryBar) {
    dialect(88);
    gSym.code = 28;
    gSym.human = 0;
    gSym.Hei = 20;
    gSym.grip = 100;  // micrometres: 0.2834 points
    gSym.cyan22 = 50;
    list(kRow + kRow);
    const std::string w = paint();
    EXPECT_EQ(count(w, " L\rs\r"), 3);
    EXPECT_EQ(count(w, " L\rf\r"), 3);
    EXPECT_EQ(count(w, ".50 0 0 0 K\r0 R\r0.2834 w\r"), 3);
    EXPECT_EQ(count(w, "0 w\r"), 3);
}

TEST_F(Painting, LastBarsTakeTheSecondColour) {
    dialect(95);
    gSym.code = 12;
    gSym.human = 0;
    gSym.Hei = 20;
    gSym.transpar_ent = 1;
    gSym.black22 = 30;  // cyan, magenta and black all below 60: full black of all four
    list(kRow + kRow);
    std::string w = paint();
    const size_t second = w.find("1 1 1 1 k\r");
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(count(w.substr(second), " L\rf\r"), 1);  // only the last bar
    gSym.magenta22 = 70;
    w = paint();
    EXPECT_NE(w.find("0 .70 0 .30 k\r"), std::string::npos);
    EXPECT_EQ(gSym.magenta2, 0);  // the first set itself is kept
}

TEST_F(Painting, NothingIsReadPastTheList) {
    // The same list paints the same page whatever stands behind cu_len.
    std::mt19937 rng(7);
    for (int code = 0; code <= 42; ++code) {
        for (int trial = 0; trial < 4; ++trial) {
            SCOPED_TRACE(std::to_string(code) + "/" + std::to_string(trial));
            const SymbolSettings fresh = gSym;
            gSym.code = code;
            gSym.variation1 = trial;
            gSym.Hei = 20;
            const int len = static_cast<int>(rng() % 300);
            unsigned char bytes[300];
            for (int k = 0; k < len; ++k) {
                const unsigned r = rng() % 8;
                bytes[k] = r == 0  ? 13
                           : r < 4 ? 190
                           : r < 6 ? ';'
                                   : static_cast<unsigned char>(rng());
            }
            auto run = [&](unsigned char tail) {
                std::memset(gEl.chNum, tail, kElementListSize);
                std::memcpy(gEl.chNum, bytes, static_cast<size_t>(len));
                gEl.cu_len = len;
                gSym.multi_line = 0;
                drawCodebars(10, 0, 90, 200, 0, -1, 0, 0);
                return written();
            };
            const std::string a = run(0), b = run(190), c = run('t');
            EXPECT_EQ(a, b);
            EXPECT_EQ(a, c);
            gSym = fresh;
        }
    }
}

TEST(Codablock, EveryRowIsPaintedAndReadsAsItsOwnRow) {
    const std::string data = "CodablockFpaintsEveryRow0123456789";
    const std::string doc = painttest::writeSymbol({39, 0, data, ""}, 95);
    int rows = 0;
    for (int i = 0; i < gEl.cu_len; ++i) rows += gEl.chNum[i] == 13;
    ASSERT_GE(rows, 4);
    testsupport::Rendered r = painttest::render(doc, 95, 400, "codablock");
    ASSERT_TRUE(r.ok) << r.err;
    std::string read;
    const int H = r.bitmap.height;
    for (int k = 0; k < rows; ++k) {
        testsupport::Bitmap row;
        row.width = r.bitmap.width;
        const int y0 = H * k / rows + 4, y1 = H * (k + 1) / rows - 4;
        row.height = y1 - y0;
        row.pixels.assign(r.bitmap.pixels.begin() + static_cast<long>(y0) * row.width,
                          r.bitmap.pixels.begin() + static_cast<long>(y1) * row.width);
        const testsupport::Decoded d =
            testsupport::decode(testsupport::padBitmap(row, 80), "Code128");
        EXPECT_TRUE(d.ok) << "row " << k;
        read += d.text;
    }
    EXPECT_EQ(read.substr(0, data.size()), data);
}

}  // namespace
