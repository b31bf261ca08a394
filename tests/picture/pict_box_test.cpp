// The symbol box: MeasureBarCodeBox holds all ink of the picture for every
// code type, and agrees with the vector writer's extent where both measure alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "labels/labelDoc.h"
#include "pict_fixture.h"
#include "picture/PICbcode.h"
#include "symbology/state.h"
#include "vector/page.h"

using namespace picttest;

namespace {

// The retail Code 128 line of GS1-128 is set at a fixed pitch that a long
// bracketed text outruns, and the light-margin marks of Code 128 and POSTNET
// reach a hair below the baseline at the box's bottom edge.
bool knownOverflow(const Spec& s) { return s.code == 5 || s.code == 7 || s.code == 31; }

// The picture drawn with a white margin round its frame; true when no dark
// pixel lies in the margin.
bool inkInsideFrame(const qd::Picture* pic, std::string* where) {
    const int m = 40;
    const testsupport::Bitmap b = rasterise(pic, 300, m);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if ((x < m || y < m || x >= b.width - m || y >= b.height - m) && b.at(x, y) < 128) {
                *where = std::to_string(x - m) + "," + std::to_string(y - m) + " of " +
                         std::to_string(b.width - 2 * m) + "x" + std::to_string(b.height - 2 * m);
                return false;
            }
    return true;
}

TEST(PictureBox, HoldsAllInk) {
    for (const SymbolCase& c : symbolCases())
        for (bool label : {false, true})
            for (double siz : {100.0, 200.0}) {
                Spec s = c.spec;
                s.label = label;
                s.siz = siz;
                SCOPED_TRACE(c.where + (label ? " points " : " fine ") + std::to_string(siz));
                ASSERT_TRUE(prepare(s));
                qd::Picture* pic = record();
                std::string where;
                const bool inside = inkInsideFrame(pic, &where);
                if (!knownOverflow(s)) {
                    EXPECT_TRUE(inside) << where;
                }
                qd::KillPicture(pic);
            }
}

TEST(PictureBox, AgreesWithTheVectorWriter) {
    // UPC-A without an add-on takes 4 points for its check digit where the
    // vector writer's extent takes none; ISSN keeps a fifth of a text line
    // above for its header.
    for (const SymbolCase& c : symbolCases()) {
        Spec s = c.spec;
        s.label = true;
        SCOPED_TRACE(c.where);
        ASSERT_TRUE(prepare(s));
        qd::Rect frame, window;
        MeasureBarCodeBox(&frame, &window);
        const SymbolExtent e = symbolExtent();
        const double extra = (s.code == 10 && s.addOn.empty()) ? 4 : 0;
        EXPECT_NEAR(frame.width(), e.width + extra, 1.0);
        const double above = s.code == 2 ? static_cast<int>(gSym.Siz * 0.1) * 0.2 : 0;
        EXPECT_NEAR(frame.height(), e.height + above, 1.0);
        EXPECT_EQ(window.width(), frame.width());
        EXPECT_EQ(window.left, 200);
        EXPECT_EQ(window.top, 120);
    }
}

TEST(PictureBox, SquareSymbolsAndDataMatrixOptions) {
    ASSERT_TRUE(prepare({40, 0, "HELLO WORLD", ""}));
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    EXPECT_EQ(frame.width(), frame.height());
    // A DataMatrix options text without a rows X columns form, or with no
    // columns, gives a square box instead of a division by zero.
    for (const char* options : {"", "16", "16X0", "X"}) {
        ASSERT_TRUE(prepare({38, 0, "HELLO", ""}));
        copyBounded(gData.chAddCode, options);
        MeasureBarCodeBox(&frame, &window);
        EXPECT_EQ(window.width(), window.height()) << options;
    }
    // The rectangle made in the size asked for has a box as high as its rows; an
    // options text the symbol was not made in leaves its square box.
    ASSERT_TRUE(prepare({38, 0, "HELLO", "16X48"}));
    MeasureBarCodeBox(&frame, &window);
    EXPECT_EQ(window.height(), static_cast<int>(window.width() / 48.0 * 16));
    ASSERT_TRUE(prepare({38, 0, "HELLO", ""}));
    copyBounded(gData.chAddCode, "16X48");
    MeasureBarCodeBox(&frame, &window);
    EXPECT_EQ(window.width(), window.height());
}

// A damaged document's border line (32,767 points) printed at 1200 dpi, where the
// run scales it by the dots a point holds: the box in hundredths of a millimetre,
// some 390 m wide, is more than the points times 2540 hold in 32 bits. It is kept
// whole instead of wrapping round to a box of negative size.
TEST(PictureBox, AWideBorderPrintedInDotsKeepsItsBox) {
    for (const Spec& spec : {Spec{5, 0, "WIDE BORDER", ""}, Spec{38, 0, "WIDE", ""}}) {
        ASSERT_TRUE(prepare(spec));
        gSym.line = 32767 * 1200 / 72.0;
        qd::Rect frame, window;
        MeasureBarCodeBox(&frame, &window);
        EXPECT_GT(window.width(), 2 * gSym.line) << spec.code;
        EXPECT_EQ(frame.width(), int64_t{window.width()} * 2540 / 72) << spec.code;
        EXPECT_GT(frame.height(), 0) << spec.code;
        qd::Picture* pic = record();
        EXPECT_EQ(pic->frame.width(), frame.width()) << spec.code;
        qd::KillPicture(pic);
    }
}

}  // namespace
