// Barcode items turned a quarter at a time: drawn into pictures, shown at
// 600 dpi and read by zxing-cpp. Turned items through the printing pass and
// PICT are read back in the picture driver's tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "labels/labelDoc.h"
#include "pict_fixture.h"
#include "picture/PICbcode.h"
#include "picture/rotate.h"

namespace {

// The item turned by angle about its centre, in a picture wide enough for
// every turn; printMode 1 adds the printing pass.
qd::Picture* recordTurned(int angle, int printMode) {
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    const int32_t S = std::max(frame.width(), frame.height());
    const qd::Point centre{frame.height() / 2, frame.width() / 2};
    const qd::Rect big{centre.v - S, centre.h - S, centre.v + S, centre.h + S};
    return picttest::recordPicture(big, [&] {
        qd::EraseRect(big);
        DrawXRString(centre, 0, angle, frame, -1, printMode, 4);
    });
}

// The bitmap turned back by angle (a multiple of 90 degrees, counter-clockwise
// on the screen), for readers that look at rows in one direction only.
testsupport::Bitmap turnBack(const testsupport::Bitmap& b, int angle) {
    return testsupport::turnedClockwise(b, angle / 90);
}

struct Symbol {
    int code;
    const char* format;
    const char* data;
};

TEST(TurnedSymbols, ReadBackAtEveryQuarterTurnSizeAndReduction) {
    const Symbol symbols[] = {{40, "QRCode", "Turned QR 0123"},
                              {38, "DataMatrix", "TURNED DATAMATRIX"},
                              {42, "PDF417", "Turned PDF417 rows"}};
    for (const Symbol& s : symbols)
        for (double siz : {100.0, 80.0})
            for (int bwr : {0, 20})
                for (int angle : {0, 90, 180, 270}) {
                    // Square modules made smaller part from each other: only
                    // ink spread would join them again.
                    if (bwr != 0 && s.code != 42) continue;
                    SCOPED_TRACE(std::string(s.format) + " " + std::to_string(siz) + "% -" +
                                 std::to_string(bwr) + " at " + std::to_string(angle));
                    picttest::Spec spec;
                    spec.code = s.code;
                    spec.data = s.data;
                    spec.siz = siz;
                    spec.bwr = bwr;
                    ASSERT_TRUE(picttest::prepare(spec));
                    qd::Picture* pic = recordTurned(angle, 0);
                    const testsupport::Decoded d =
                        testsupport::decode(turnBack(picttest::rasterise(pic), angle), s.format);
                    EXPECT_TRUE(d.ok) << d.error;
                    EXPECT_EQ(d.text, s.data);
                    qd::KillPicture(pic);
                }
}

// Codablock F's rows are Code 128 rows one text line apart: turned back, each
// band of the turned picture reads as its row's indicator and characters.
TEST(TurnedSymbols, CodablockRowsReadBackAtEveryQuarterTurn) {
    const char* const rows[] = {"`ABCDEFGHIJ", "+KLMNOPQRM\""};
    for (int angle : {0, 90, 180, 270}) {
        SCOPED_TRACE(angle);
        picttest::Spec spec;
        spec.code = 39;
        spec.data = "ABCDEFGHIJKLMNOPQR";
        spec.siz = 100;
        ASSERT_TRUE(picttest::prepare(spec));
        qd::Picture* pic = recordTurned(angle, 0);
        const testsupport::Bitmap ink =
            testsupport::cropToInk(turnBack(picttest::rasterise(pic), angle), 0);
        qd::KillPicture(pic);
        const int band = ink.height / 2;
        ASSERT_GT(band, 10);
        for (int r = 0; r < 2; ++r) {
            const testsupport::Bitmap row = testsupport::rowsOf(ink, r * band + band / 4, band / 2);
            const testsupport::Decoded d =
                testsupport::decode(testsupport::padBitmap(row, 80), "Code128");
            EXPECT_EQ(d.bytes.substr(0, std::string(rows[r]).size()), rows[r]) << "row " << r;
        }
    }
}

// Dark areas grown by r pixels on every side: ink spreading on paper.
testsupport::Bitmap spread(const testsupport::Bitmap& b, int r) {
    testsupport::Bitmap across = b, out = b;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            uint8_t v = 255;
            for (int d = std::max(0, x - r); d <= std::min(b.width - 1, x + r); ++d)
                v = std::min(v, b.at(d, y));
            across.pixels[static_cast<size_t>(y) * b.width + x] = v;
        }
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            uint8_t v = 255;
            for (int d = std::max(0, y - r); d <= std::min(b.height - 1, y + r); ++d)
                v = std::min(v, across.at(x, d));
            out.pixels[static_cast<size_t>(y) * b.width + x] = v;
        }
    return out;
}

// The bar-width reduction is taken off each module's edges so that the ink
// spread of print brings the dark areas back to size: grown by half the
// reduction on every side, the matrix symbols read, upright and turned.
TEST(TurnedSymbols, ReducedMatrixSymbolsReadOnceTheInkHasSpread) {
    constexpr int kDpi = 1200;  // a pixel is 21 micrometres
    const Symbol symbols[] = {{40, "QRCode", "Reduced QR 0123"},
                              {38, "DataMatrix", "REDUCED DATAMATRIX"}};
    for (const Symbol& s : symbols)
        for (int bwr : {40, 100})
            for (int angle : {0, 90}) {
                SCOPED_TRACE(std::string(s.format) + " -" + std::to_string(bwr) + " at " +
                             std::to_string(angle));
                picttest::Spec spec;
                spec.code = s.code;
                spec.data = s.data;
                spec.bwr = bwr;
                ASSERT_TRUE(picttest::prepare(spec));
                qd::Picture* pic = recordTurned(angle, 0);
                const testsupport::Bitmap b =
                    testsupport::cropToInk(picttest::rasterise(pic, kDpi), 80);
                qd::KillPicture(pic);
                // Whole pixels: what is left of a gap narrower than a pixel still shows.
                const int grow = static_cast<int>(std::ceil(bwr / 2.0 * kDpi / 25400));
                const testsupport::Bitmap inked = turnBack(spread(b, grow), angle);
                const testsupport::Decoded d = testsupport::decode(inked, s.format);
                EXPECT_TRUE(d.ok) << d.error;
                EXPECT_EQ(d.text, s.data);
            }
}

}  // namespace
