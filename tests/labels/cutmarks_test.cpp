#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "labels/cutMarks.h"
#include "labels/labelDoc.h"
#include "platform/quickdraw/picture.h"

namespace {

using namespace qd;
using Line = std::tuple<int32_t, int32_t, int32_t, int32_t>;

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
    }
    // The lines the call draws, as recorded.
    std::set<Line> record(Point at, int16_t flag, int32_t oh = 0, int32_t ov = 0) {
        Picture* pic = OpenPicture({0, 0, 900, 700});
        DrawPageCutMarks(at, flag, oh, ov);
        ClosePicture();
        std::set<Line> lines;
        int32_t h = 0, v = 0;
        for (const PicOp& op : pic->ops) {
            if (op.op == Op::MoveTo) h = op.a[0], v = op.a[1];
            if (op.op == Op::LineTo) {
                lines.insert({h, v, op.a[0], op.a[1]});
                h = op.a[0], v = op.a[1];
            }
            if (op.op == Op::PenSize) {
                EXPECT_EQ(op.a[0], 1);
            }
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
}

}  // namespace
