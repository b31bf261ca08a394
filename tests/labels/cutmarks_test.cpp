#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "labels/cutMarks.h"
#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "labels/units.h"
#include "platform/quickdraw/picture.h"

namespace {

using namespace qd;
using Line = std::tuple<int32_t, int32_t, int32_t, int32_t>;

void screenMarks(Point at, int16_t flag, int32_t oh, int32_t ov) {
    DrawPageCutMarks(at, flag, oh, ov);
}

// A 1200-dpi printer's port: 50 dots to 3 points.
void printerMarks(Point at, int16_t flag, int32_t oh, int32_t ov) {
    DrawPageCutMarks(at, flag, oh, ov, 1200.0 / 72);
}

struct CutMarks : ::testing::Test {
    GWorldPtr world = nullptr;
    LabelSheet saved;
    void SetUp() override {
        saved = labelBack;
        ASSERT_EQ(NewGWorld(&world, 1, {0, 0, 900, 700}), 0);
        SetGWorld(world);
        labelBack = LabelSheet{};
        labelBack.leftMargin = 100;
        labelBack.topMargin = 300;
        labelBack.across = 3;
        labelBack.down = 2;
        labelBack.spaceAcross = 50;
        labelBack.spaceDown = 30;
        labelBack.labelWidth = 1000;
        labelBack.labelHeight = 200;
    }
    void TearDown() override {
        SetGWorld(nullptr);
        DisposeGWorld(world);
        labelBack = saved;
        resetPrintDefaults();
        resetUnits();
    }
    // What the call draws, as recorded: lines drawn with a pen of `pen` points,
    // and painted rectangles.
    using Draw = void (*)(Point, int16_t, int32_t, int32_t);
    std::set<Line> record(Point at, int16_t flag, int32_t oh = 0, int32_t ov = 0,
                          Draw draw = screenMarks, int32_t pen = 1,
                          std::set<Line>* painted = nullptr) {
        Picture* pic = OpenPicture({0, 0, 900, 700});
        draw(at, flag, oh, ov);
        ClosePicture();
        std::set<Line> lines;
        int32_t h = 0, v = 0, size = 1;
        for (const PicOp& op : pic->ops) {
            if (op.op == Op::MoveTo) h = op.a[0], v = op.a[1];
            if (op.op == Op::PenSize) size = op.a[0];
            if (op.op == Op::LineTo) {
                if (size == pen) lines.insert({h, v, op.a[0], op.a[1]});
                h = op.a[0], v = op.a[1];
            }
            if (op.op == Op::Shape && painted && op.a[0] == int32_t(Verb::Paint))
                painted->insert({op.rect.left, op.rect.top, op.rect.right, op.rect.bottom});
        }
        KillPicture(pic);
        return lines;
    }
};

TEST_F(CutMarks, RowTicksLeftAndRightOfTopAndBottom) {
    // L = 10, R = 10 + 3 * 105 - 5 = 320; a 20-point label at v 50: 50 and 69.
    const std::set<Line> want = {
        {6, 50, 8, 50}, {320, 50, 322, 50}, {6, 69, 8, 69}, {320, 69, 322, 69}};
    EXPECT_EQ(record({50, 10}, kCutMarkRow), want);
}

TEST_F(CutMarks, ColumnTicksAboveAndBelowFollowTheOrigin) {
    // T = 30 + 20, B = 50 + 2 * 23 - 3 = 93; columns at h 115 and 214.
    const std::set<Line> want = {
        {115, 46, 115, 48}, {115, 94, 115, 96}, {214, 46, 214, 48}, {214, 94, 214, 96}};
    EXPECT_EQ(record({50, 115}, kCutMarkColumn, 0, 20), want);
}

// The printer's port counts dots: the marks stand where they stand on the
// screen's sheet, the pen a point wide.
TEST_F(CutMarks, PrinterDotsPlaceTheMarksAsPoints) {
    const std::set<Line> want = {{100, 833, 133, 833},
                                 {5333, 833, 5367, 833},
                                 {100, 1150, 133, 1150},
                                 {5333, 1150, 5367, 1150}};
    EXPECT_EQ(record({50, 10}, kCutMarkRow, 0, 0, printerMarks, 17), want);
}

TEST_F(CutMarks, GutterGetsTicksOnBothSides) {
    labelBack.across = 3 + 1280 * 1;  // after the first column
    labelBack.down = 2 + 1280 * 125;  // 12.5 points wide: 12
    const std::set<Line> lines = record({50, 10}, kCutMarkRow);
    // E = 10 + 105 - 5 = 110; the far side 110 + 12 + 5 = 127; R moves by 12.
    EXPECT_TRUE(lines.count({110, 50, 112, 50}));
    EXPECT_TRUE(lines.count({125, 50, 123, 50}));
    EXPECT_TRUE(lines.count({110, 69, 112, 69}));
    EXPECT_TRUE(lines.count({332, 50, 334, 50}));
    EXPECT_EQ(lines.size(), 8u);
    // A gutter column without width draws no inner ticks.
    labelBack.down = 2;
    EXPECT_EQ(record({50, 10}, kCutMarkRow).size(), 4u);
    // A gutter that stands between no columns moves no label: the right ticks
    // stay at the last column's edge, with none inside.
    const std::set<Line> plain = {
        {6, 50, 8, 50}, {320, 50, 322, 50}, {6, 69, 8, 69}, {320, 69, 322, 69}};
    for (uint32_t column : {0u, 3u, 4u}) {
        SCOPED_TRACE(column);
        labelBack.across = 3 + 1280 * column;
        labelBack.down = 2 + 1280 * 200;
        EXPECT_EQ(record({50, 10}, kCutMarkRow), plain);
    }
}

// The press sheet's marks in millimetres made whole points: 5.5 mm is 15
// points, 4 mm 11, 0.5 mm 1, 1 mm 2, 1.5 mm 4, 32.5 mm 92, 20 mm 56, 6 mm 17,
// 12 mm 34, 20.5 mm 58, 15 mm 42.
TEST_F(CutMarks, PressSheetMarksPerColumn) {
    labelBack.across = 2;
    labelBack.topMargin = 0;
    gUnits.gMeasType = kMeasInch;
    for (int32_t shifted : {1, 2}) {
        SCOPED_TRACE(shifted);
        gPrintSwitches.pCutMarks = shifted;
        std::set<Line> bars;
        const std::set<Line> thin =
            record({50, 999}, kCutMarkRow, 0, 0, DrawPageCutMarksIndigo, 1, &bars);
        const std::set<Line> thick =
            record({50, 999}, kCutMarkRow, 0, 0, DrawPageCutMarksIndigo, 3);
        // Columns at 10 and 115 points, or one column on: 115 and 220.
        const int32_t x0 = shifted == 2 ? 115 : 10, x1 = x0 + 105;
        EXPECT_EQ(bars, (std::set<Line>{{x0 - 15, 39, x0 + 1, 48}, {x1 - 15, 39, x1 + 1, 48}}));
        EXPECT_TRUE(thin.count({x0 + 1 + 92, 43, x0 + 1 + 92 + 56, 43}));
        EXPECT_TRUE(thin.count({x0 + 1 - 11, 65, x0 + 1 - 11 + 4, 65}));
        EXPECT_TRUE(thin.count({x1 + 1 - 11, 82, x1 + 1 - 11 + 4, 82}));
        EXPECT_EQ(thin.size(), 6u);
        const int32_t stroke = shifted == 2 ? x0 - 15 + 2 - 3 : x0 + 1 - 2 - 3;
        EXPECT_TRUE(thick.count({stroke, 39 + 58, stroke, 39 + 58 + 42}));
        EXPECT_EQ(thick.size(), 2u);
    }
    EXPECT_EQ(gUnits.gMeasType, kMeasInch);  // the unit comes back
    EXPECT_TRUE(record({50, 999}, kCutMarkColumn, 0, 0, DrawPageCutMarksIndigo).empty());
    // A row low on a tall sheet gets the bar of the row below as well.
    std::set<Line> bars;
    record({1100, 999}, kCutMarkRow, 0, 0, DrawPageCutMarksIndigo, 1, &bars);
    EXPECT_EQ(bars.size(), 4u);
}

}  // namespace
