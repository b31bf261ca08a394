// Every linear code type drawn as a picture, in hundredths of a millimetre and
// in points, with and without bar-width reduction, and read back by zxing-cpp.
// In hundredths of a millimetre at 100 % and 80 %; on a label, whose bars are
// whole points, from 200 %: a 0.33 mm module is less than a point.
#include <gtest/gtest.h>

#include <vector>

#include "labels/itemFields.h"
#include "pict_fixture.h"

using namespace picttest;

namespace {

testsupport::Decoded read(const SymbolCase& c, const testsupport::Bitmap& b) {
    const testsupport::Bitmap p = testsupport::padBitmap(b, 80);
    return c.spec.addOn.empty() ? testsupport::decode(p, c.format, c.opt)
                                : testsupport::decodeWithAddOn(p, c.format);
}

TEST(PictureReadBack, EveryUnitSizeAndReduction) {
    for (const SymbolCase& c : symbolCases())
        for (bool label : {false, true})
            for (double siz :
                 label ? std::vector<double>{200, 300, 400} : std::vector<double>{100, 80})
                for (int bwr : {0, 20}) {
                    if (c.format == "-") continue;
                    SCOPED_TRACE(c.where + (label ? " points" : " fine") + " at " +
                                 std::to_string(siz) + " bwr " + std::to_string(bwr));
                    Spec s = c.spec;
                    s.label = label;
                    s.siz = siz;
                    s.bwr = bwr;
                    const testsupport::Bitmap b = draw(s);
                    ASSERT_GT(b.width, 0);
                    const testsupport::Decoded d = read(c, b);
                    if (d.text != c.want)
                        testsupport::writePGM(b, testsupport::tempPath("failed.pgm"));
                    EXPECT_EQ(d.text, c.want);
                }
}

// A desktop picture takes the bar-font step from a reduction of a module or so:
// the encoders then raise the last byte of every bar. The frame stays the
// symbol's width, so every bar is inside it, and the symbol reads.
TEST(PictureReadBack, BarFontStepKeepsTheWholeSymbol) {
    for (const SymbolCase& c : symbolCases())
        for (double siz : {100.0, 80.0})
            for (int bwr : {50, 100}) {
                SCOPED_TRACE(c.where + " at " + std::to_string(siz) + " bwr " +
                             std::to_string(bwr));
                Spec s = c.spec;
                s.siz = siz;
                ASSERT_TRUE(prepare(s));
                qd::Picture* plain = record();
                const int32_t whole = plain->frame.width();
                qd::KillPicture(plain);
                s.bwr = bwr;
                s.widthStep = widthStepOfReduction(bwr, siz, s.code);
                ASSERT_GT(s.widthStep, 0);
                ASSERT_TRUE(prepare(s));
                qd::Picture* pic = record();
                EXPECT_EQ(pic->frame.width(), whole);
                const testsupport::Bitmap b = rasterise(pic);
                qd::KillPicture(pic);
                if (c.format != "-") {
                    EXPECT_EQ(read(c, b).text, c.want);
                }
            }
}

// Codablock F's rows are Code 128 rows set in the bar font one text line apart:
// each band of the picture reads as its row's indicator and characters, the
// last row's ending in K1 and K2.
TEST(PictureReadBack, CodablockRowsReadAsCode128) {
    for (double siz : {100.0, 200.0}) {
        SCOPED_TRACE(siz);
        const testsupport::Bitmap ink =
            testsupport::cropToInk(draw({39, 0, "ABCDEFGHIJKLMNOPQR", "", siz}), 0);
        const char* const rows[] = {"`ABCDEFGHIJ", "+KLMNOPQRM\""};
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

// A print run draws label items in printer dots: magnification, bar height and
// reduction grow by the dots a point holds, and each dot is a pixel. EAN and
// UPC, whose modules are less than a point, read at their own sizes there.
TEST(PictureReadBack, RetailSymbolsInPointsAtThePrintResolution) {
    constexpr double kDotsPerPoint = 1200 / 72.0;
    constexpr int kOneDotAPixel = 72;  // the picture's unit is a dot
    for (const SymbolCase& c : symbolCases()) {
        if (c.format.rfind("EAN", 0) != 0 && c.format.rfind("UPC", 0) != 0) continue;
        for (double siz : {100.0, 80.0})
            for (int bwr : {0, 20}) {
                SCOPED_TRACE(c.where + " at " + std::to_string(siz) + " bwr " +
                             std::to_string(bwr));
                Spec s = c.spec;
                s.label = true;
                s.siz = siz * kDotsPerPoint;
                s.bwr = static_cast<int>(bwr * kDotsPerPoint);
                const testsupport::Bitmap b = draw(s, kOneDotAPixel);
                ASSERT_GT(b.width, 0);
                EXPECT_EQ(read(c, b).text, c.want);
            }
    }
}

}  // namespace
