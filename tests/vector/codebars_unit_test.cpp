// Bar painting on element lists made by hand: the rows it paints, grip
// outlines, the second colour of the last bars, and nothing read past cu_len.
#include <cctype>
#include <cstring>
#include <random>
#include <string>

#include "doc_fixture.h"
#include "paint_fixture.h"
#include "symbology/codebars.h"
#include "vector/codebars_paint.h"
#include "vector_fixture.h"

namespace {

struct Painting : VectorTest {};

// Bars 190 (330 um) and spaces ';', rows ended by 13.
const std::string kRow = "?\xbe;\xbe\xbe;;\xbe?\r";  // three bars: 330, 660, 330

void paint(const std::string& rows) {
    gEl.clear();
    gEl.put(reinterpret_cast<const unsigned char*>(rows.data()), rows.size());
    drawCodebars(10, 0, 90, 200, 0, -1, 0, 0);
}

TEST_F(Painting, RowsGripsAndSecondColoursMatchTheirGoldenText) {
    expectGoldens(*this,
                  {
                      // A linear symbol paints its second row only.
                      {"paint.second-row", 95,
                       [] {
                           gSym.code = 28;
                           paint("\xbe;\xbe\r" + kRow + kRow + kRow);
                       }},
                      // Royal Mail and POSTNET paint their rows from the first, three
                      // and two of them.
                      {"paint.royal-mail", 95,
                       [] {
                           gSym.code = 30;
                           paint(kRow + kRow + kRow + kRow);
                           EXPECT_EQ(gSym.multi_line, 0);
                       }},
                      {"paint.postnet", 95,
                       [] {
                           gSym.code = 31;
                           paint(kRow + kRow + kRow + kRow);
                       }},
                      // Grip outlines every bar (100 micrometres: 0.2834 points).
                      {"paint.grip", 88,
                       [] {
                           gSym.code = 28;
                           gSym.grip = 100;
                           gSym.cyan22 = 50;
                           paint(kRow + kRow);
                       }},
                      // Only the last bar takes the second colour; cyan, magenta and
                      // black all below 60 give full black of all four.
                      {"paint.second-colour", 95,
                       [] {
                           gSym.code = 12;
                           gSym.transpar_ent = 1;
                           gSym.black22 = 30;
                           paint(kRow + kRow);
                       }},
                      {"paint.second-colour.magenta", 95,
                       [] {
                           gSym.code = 12;
                           gSym.transpar_ent = 1;
                           gSym.black22 = 30;
                           gSym.magenta22 = 70;
                           paint(kRow + kRow);
                           EXPECT_EQ(gSym.magenta2, 0);  // the first set itself is kept
                       }},
                  },
                  [] {
                      gSym.human = 0;
                      gSym.Hei = 20;
                  });
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
        // Past the row indicator: one character, or two digits in code set C.
        if (!d.text.empty())
            read += d.text.substr(std::isdigit(static_cast<unsigned char>(d.text[0])) ? 2 : 1);
    }
    EXPECT_EQ(read.substr(0, data.size()), data);
}

}  // namespace
