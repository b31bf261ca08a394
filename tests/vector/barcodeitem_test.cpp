// The barcode item: placement, the Type 3 glyph procedure, bearers, cut marks,
// gauges, quiet-zone marks, retail text and item rotation, proven on renders.
#include <gtest/gtest.h>

#include <string>

#include "doc_fixture.h"
#include "labels/labelDoc.h"
#include "paint_fixture.h"
#include "symbology/info.h"
#include "symbology/state.h"
#include "vector/page.h"
#include "vector/textruns.h"
#include "vector_fixture.h"

using namespace painttest;

namespace {

constexpr int kDpi = 300;
constexpr double kModule = 330 * 72 / 25400.0;  // points at 100 %
constexpr int kDark = 80;
constexpr int kLight = 200;

testsupport::Bitmap rendered(const std::string& doc, int ill = 95) {
    testsupport::Rendered r = render(doc, ill, kDpi, "item");
    EXPECT_TRUE(r.ok) << r.err;
    return r.bitmap;
}

struct ItemText : VectorTest {};

TEST_F(ItemText, PlacementLines) {
    // A label position writes a translation and takes it back, whatever its sign.
    gSym.code = 0;
    copyBounded(gData.chMainCode, "501234567890");
    gData.len1 = 12;
    ASSERT_EQ(STRixel(), 0);
    PageRect r;
    r.upper = 75;
    r.right = 109;
    dialect(95);
    EPSbcode(1, -1, r, -3, 2.5);
    std::string w = written();
    EXPECT_EQ(w.rfind("-3.000000 2.500000 translate\r", 0), 0u) << crToLf(w.substr(0, 80));
    EXPECT_NE(w.find("3.000000 -2.500000 translate\r"), std::string::npos);
    EXPECT_EQ(w.find("--"), std::string::npos);
    dialect(1115);
    EPSbcode(1, -1, r, 4, 0);
    w = written();
    EXPECT_EQ(w.rfind("1 0 0 1 4.000000 0.000000 cm\r", 0), 0u);
    EXPECT_NE(w.find("1 0 0 1 -4.000000 -0.000000 cm\r"), std::string::npos);
    // A single symbol stays where it is.
    EPSbcode(1, -1, r, 0, 0);
    EXPECT_EQ(written().find(" cm\r"), std::string::npos);

    // In the Type 3 font dialect the item is the glyph procedure "six".
    dialect(2);
    EPSbcode(1, -1, r, 0, 0);
    w = written();
    EXPECT_EQ(w.rfind("/six {3237 0 -429 -353 3419 7409 Cache\r", 0), 0u);
    EXPECT_EQ(w.substr(w.size() - 10), "Fill }def\r");
}

TEST(BarcodeItem, GuardsAndRetailTextStandUnderTheirBars) {
    const std::string doc = writeSymbol({0, 0, "501234567890", ""}, 95);
    const testsupport::Bitmap b = rendered(doc);
    const double L = 1;  // the bars' left margin
    auto moduleX = [&](double modules) { return L + modules * kModule; };
    // The start guard reaches below the ordinary bars (T / 2 above the base);
    // the first bar of the first digit does not.
    EXPECT_LT(probe(b, kDpi, moduleX(11.5), 7), kDark);
    EXPECT_GT(probe(b, kDpi, moduleX(11.5), 3), kLight);
    const double digitBar = moduleX(14 + 3.5);  // digit 0 in set B: space 3, bar 1...
    EXPECT_GT(darkestAround(b, kDpi, digitBar, 9, 0.3), kLight) << "no drop on data bars";
    EXPECT_LT(darkestAround(b, kDpi, digitBar, 20, 0.3), kDark);

    // Digits: the first left of the start guard, six under each half, none under
    // the guards, the light-margin mark after the end guard.
    const double textY = 4;
    EXPECT_LT(darkestAround(b, kDpi, moduleX(4.5), textY, 2), kDark);
    for (int k = 0; k < 6; ++k) {
        EXPECT_LT(darkestAround(b, kDpi, moduleX(14 + 7 * k + 3.5), textY, 1.5), kDark) << k;
        EXPECT_LT(darkestAround(b, kDpi, moduleX(61 + 7 * k + 3.5), textY, 1.5), kDark) << k;
    }
    for (double guard : {12.5, 58.5, 104.5})
        EXPECT_GT(darkestAround(b, kDpi, moduleX(guard), textY, 0.4), kLight) << guard;
    EXPECT_LT(darkestAround(b, kDpi, moduleX(108.5), textY, 1.5), kDark);
}

TEST(BarcodeItem, AddOnDigitsStandAboveTheAddOn) {
    Placed p;
    const std::string doc = writeSymbol({0, 0, "501234567890", "52495"}, 95, &p);
    const testsupport::Bitmap b = rendered(doc);
    // The add-on follows the main symbol's 113 modules; its bars stop T below
    // the top, where its digits stand.
    const double addOn = 1 + 113 * kModule;
    const double top = 26.26 * 2.8346456;
    EXPECT_LT(darkestAround(b, kDpi, addOn + 4 * kModule, top - 5, 3), kDark);
    EXPECT_GT(darkestAround(b, kDpi, addOn + 0.5 * kModule, top - 2, 0.3), kLight);
    EXPECT_LT(darkestAround(b, kDpi, addOn + 0.5 * kModule, top - 15, 0.3), kDark);
}

// Code 128 with its default light-margin marks, in a box with room round it.
constexpr double kCode128Height = 33 * 2.8346456;  // points: its default 33 mm
std::string code128(const std::function<void()>& settings, Placed* p = nullptr, int ill = 95) {
    return writeSymbol({5, 0, "BEARER 128", ""}, ill, p, settings);
}

TEST(BarcodeItem, BearerBoxAndParallelBars) {
    Placed p;
    const testsupport::Bitmap box = rendered(code128(
        [] {
            gSym.line = 4;
            gSym.gline = 4;
        },
        &p));
    const double mid = p.width / 2.0, height = kCode128Height;
    EXPECT_LT(probe(box, kDpi, mid, height - 1), kDark);  // upper bearer
    EXPECT_LT(probe(box, kDpi, mid, 1), kDark);           // lower bearer
    EXPECT_LT(probe(box, kDpi, 2, height / 2), kDark);    // the box's sides
    EXPECT_LT(probe(box, kDpi, p.width - 2, height / 2), kDark);

    const testsupport::Bitmap para = rendered(code128(
        [] {
            gSym.line = 4;
            gSym.gline = 4;
            gSym.para = 1;
        },
        &p));
    EXPECT_LT(probe(para, kDpi, mid, height - 1), kDark);
    EXPECT_LT(probe(para, kDpi, mid, 1), kDark);
    EXPECT_GT(probe(para, kDpi, 2, height / 2), kLight);  // no sides
}

// SCC 14 in its bearer box with the digits under it: the box's lower bar stands
// between the text line and the bars, in the filled and the stroked box alike.
TEST(BarcodeItem, DigitsUnderTheBearerBoxStandClearOfIt) {
    constexpr double kText = 20, kBearer = 14;  // the text line's height, the bar's width
    for (int ill : {95, 88}) {
        SCOPED_TRACE(ill);
        Placed p;
        const testsupport::Bitmap b = rendered(writeSymbol({4, 11, "1234567890123", ""}, ill, &p,
                                                           [] {
                                                               gSym.line = gSym.gline = kBearer;
                                                               gSym.AboveHu = 1;
                                                               gSym.non_light = 0;
                                                           }),
                                               ill);
        int inkOverText = 0, lightInBar = 0, inkInText = 0;
        for (double x = kBearer; x < p.width - kBearer; x += 0.5) {
            if (probe(b, kDpi, x, kText - 1) < kLight) ++inkOverText;
            if (probe(b, kDpi, x, kText + kBearer / 2) > kDark) ++lightInBar;
            if (darkestAround(b, kDpi, x, kText / 2, 0.3) < kDark) ++inkInText;
        }
        EXPECT_EQ(inkOverText, 0) << "the bearer reaches into the text line";
        EXPECT_EQ(lightInBar, 0) << "the lower bearer has a gap";
        EXPECT_GT(inkInText, 0) << "no digits";
        EXPECT_EQ(testsupport::decode(testsupport::padBitmap(b, 60), "ITF").text, "12345678901231");
    }
}

TEST(BarcodeItem, CutMarksAtTheCorners) {
    Placed p;
    const std::string doc = code128(
        [] {
            gSym.cutMarks = 1;
            gSym.insetAmount = 10;
        },
        &p);
    const testsupport::Bitmap b = rendered(doc);
    const double top = kCode128Height, right = p.width;
    EXPECT_LT(darkestAround(b, kDpi, 5, 10, 0.6), kDark);
    EXPECT_LT(darkestAround(b, kDpi, 10, 5, 0.6), kDark);
    EXPECT_LT(darkestAround(b, kDpi, right - 5, top - 10, 0.6), kDark);
    EXPECT_LT(darkestAround(b, kDpi, right - 10, top - 5, 0.6), kDark);
    EXPECT_GT(darkestAround(b, kDpi, 4, 4, 2), kLight);  // the corner itself stays clear
    // The symbol is still read.
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(b, 60), "Code128").text, "BEARER 128");
}

TEST(BarcodeItem, GaugesStandInTheQuietZones) {
    Placed p;
    const std::string doc = code128(
        [] {
            gSym.Hgauge = 2;
            gSym.HgaugeJ = 0;
            gSym.non_light = 0;
        },
        &p);
    const testsupport::Bitmap b = rendered(doc);
    // Glyph size 200: a unit is 1/352.8 point; the H stands height / 2 - s / 2
    // above the base with its uprights 900 units wide, 7077 high.
    const double unit = 200 / 70560.0, s = 20, height = kCode128Height;
    const double y = height / 2 - s / 2 + 1500 * unit;  // below the crossbar
    const int d1 = 100, d2 = 50;  // no reduction: the thinnest left mark, step 0 on the right
    EXPECT_LT(probe(b, kDpi, (1410 - d1 + 450) * unit, y), kDark);
    EXPECT_LT(probe(b, kDpi, (2310 + d1 + 450) * unit, y), kDark);
    EXPECT_GT(probe(b, kDpi, 2310 * unit, y), kLight);  // between the uprights
    const double right = p.width - 12;                  // the gauge is 12 points wide
    EXPECT_LT(probe(b, kDpi, right + (1410 - d2 + 450) * unit, y), kDark);
    EXPECT_LT(probe(b, kDpi, right + (2310 + d2 + 450) * unit, y), kDark);
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(b, 60), "Code128").text, "BEARER 128");
}

TEST(BarcodeItem, QuietZoneMarks) {
    Placed p;
    const testsupport::Bitmap marked = rendered(code128({}, &p));
    const testsupport::Bitmap plain = rendered(code128([] { gSym.non_light = 0; }));
    // '>' and '<' at glyph size 200 stand in the quiet zones, level with the base.
    const double midY = (1095 + 5458) / 2 * 200 / 70560.0;
    EXPECT_LT(darkestAround(marked, kDpi, 4, midY, 2.5), kDark);
    EXPECT_LT(darkestAround(marked, kDpi, p.width - 6, midY, 2.5), kDark);
    EXPECT_GT(darkestAround(plain, kDpi, 4, midY, 2.5), kLight);
    EXPECT_GT(darkestAround(plain, kDpi, p.width - 6, midY, 2.5), kLight);
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(marked, 60), "Code128").text,
              "BEARER 128");
}

// The M&S BOC line sets its second group white on a dark box; the left mark
// after it is painted in the item's colour again, in the Type 3 font as well.
TEST(BarcodeItem, MarkAfterWhiteRetailTextKeepsItsColour) {
    for (int variant : {2, 3})
        for (int ill : {2, 95}) {
            SCOPED_TRACE(std::to_string(variant) + " " + std::to_string(ill));
            const testsupport::Bitmap b =
                rendered(writeSymbol({5, variant, "12345678", ""}, ill), ill);
            EXPECT_LT(darkestAround(b, kDpi, 5, 9.3, 2), kDark);
        }
}

TEST(BarcodeItem, RotationTurnsBarsAndText) {
    for (int ill : {88, 95, 1115}) {
        SCOPED_TRACE(ill);
        Placed p = prepare({5, 0, "TURN 90", ""});
        const std::string doc = write(ill, [&] {
            LabelItem* it = gLabel.labelParts[0].get();
            it->setI16(item::orientPacked, (90 * 2) & 0x3FF);
            // The turned item stands upright: its width is the symbol's height.
            it->setI16(item::rectBottom, p.width);
            it->setI16(item::rectRight, p.height);
        });
        // The characters are set unturned inside the turned item.
        if (ill == 88) {
            EXPECT_NE(doc.find("[1 0 0 1 "), std::string::npos);
            EXPECT_EQ(doc.find("[0 1 -1 0 "), std::string::npos);
        }
        const testsupport::Bitmap b = rendered(doc, ill);
        EXPECT_GT(b.height, b.width);
        // Turn the render back a quarter (clockwise) and read it.
        const testsupport::Bitmap back = testsupport::turnedClockwise(b);
        EXPECT_EQ(testsupport::decode(testsupport::padBitmap(back, 60), "Code128").text, "TURN 90");
        // All of it on the page.
        const std::string path = testsupport::tempPath("turned.eps");
        if (ill != 1115 && vectortest::writeFile(path, doc)) {
            double ink[4];
            ASSERT_TRUE(testsupport::inkBoundingBox(path, &ink[0], &ink[1], &ink[2], &ink[3]));
            EXPECT_GE(ink[0], -0.05);
            EXPECT_GE(ink[1], -0.05);
            EXPECT_LE(ink[2], p.height + 0.05);
            EXPECT_LE(ink[3], p.width + 0.05);
        }
    }
}

}  // namespace
