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

const Spec kSpecs[] = {
    {0, 0, "501234567890", "52495"},
    {0, 0, "501234567890", ""},
    {10, 0, "01234567890", ""},
    {10, 0, "01234567890", "12"},
    {11, 0, "01234000005", ""},
    {3, 0, "5512345", ""},
    {1, 0, "080442957", ""},
    {1, 3, "978030640615", ""},
    {1, 2, "979023456789", ""},
    {2, 0, "0317847", ""},
    {5, 0, "Strixel-128 ok", ""},
    {7, 0, "(01)95012345678903(3103)000123", ""},
    {6, 0, "CODE39", ""},
    {6, 1, "CODE39", ""},
    {28, 0, "TEST93", ""},
    {8, 0, "A40156B", "", 0, 0, false, 1},
    {19, 0, "123-45", ""},
    {36, 0, "Strixel", ""},
    {30, 0, "SN34RD1A", ""},
    {31, 0, "12345", ""},
    {39, 0, "CODABLOCK F TEST", ""},
    {40, 0, "HELLO WORLD", ""},
};

// The retail Code 128 line of GS1-128 is set at a fixed pitch that a long
// bracketed text outruns, and the light-margin marks of Code 128 and POSTNET
// reach a hair below the baseline at the box's bottom edge.
bool knownOverflow(const Spec& s) { return s.code == 5 || s.code == 7 || s.code == 31; }

// The picture drawn with a white margin round its frame; true when no dark
// pixel lies in the margin.
bool inkInsideFrame(const qd::Picture* pic, std::string* where) {
    const int margin = 40;
    const double k = 300 / 72.0 / unitsPerPoint();
    const int w = static_cast<int>(pic->frame.width() * k),
              h = static_cast<int>(pic->frame.height() * k);
    qd::GWorldPtr world = nullptr;
    if (qd::NewGWorld(&world, 32, {0, 0, h + 2 * margin, w + 2 * margin}) != 0) return false;
    qd::GWorldPtr keep = qd::GetGWorld();
    qd::SetGWorld(world);
    qd::DrawPicture(pic, {margin, margin, margin + h, margin + w});
    bool ok = true;
    for (int y = 0; y < h + 2 * margin && ok; ++y)
        for (int x = 0; x < w + 2 * margin && ok; ++x) {
            const bool outside = x < margin || y < margin || x >= margin + w || y >= margin + h;
            if (!outside) continue;
            qd::RGBColor c;
            qd::GetCPixel(x, y, &c);
            if (c.red < 0x8000) {
                ok = false;
                *where = std::to_string(x - margin) + "," + std::to_string(y - margin) + " of " +
                         std::to_string(w) + "x" + std::to_string(h);
            }
        }
    qd::SetGWorld(keep);
    qd::DisposeGWorld(world);
    return ok;
}

TEST(PictureBox, HoldsAllInk) {
    for (const Spec& base : kSpecs)
        for (bool label : {false, true})
            for (double siz : {100.0, 200.0}) {
                Spec s = base;
                s.label = label;
                s.siz = siz;
                SCOPED_TRACE(std::to_string(s.code) + "/" + std::to_string(s.variation) + " " +
                             s.data + (label ? " points " : " fine ") + std::to_string(siz));
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
    for (const Spec& base : kSpecs) {
        Spec s = base;
        s.label = true;
        SCOPED_TRACE(std::to_string(s.code) + "/" + std::to_string(s.variation) + " " + s.data);
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
    ASSERT_TRUE(prepare({38, 0, "HELLO", ""}));
    copyBounded(gData.chAddCode, "16X48");
    MeasureBarCodeBox(&frame, &window);
    EXPECT_EQ(window.height(), static_cast<int>(window.width() / 48.0 * 16));
}

}  // namespace
