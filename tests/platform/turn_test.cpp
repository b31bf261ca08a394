// Turned drawing: a cairo turn on live ports, kept as a group in pictures and
// written to PICT as the turned pixels.
#include <gtest/gtest.h>

#include <string>

#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/picture.h"
#include "platform/quickdraw/quickdraw.h"

namespace {

using namespace qd;

struct Turn : ::testing::Test {
    GWorldPtr world = nullptr;
    void SetUp() override {
        ASSERT_EQ(NewGWorld(&world, 32, {0, 0, 200, 200}), 0);
        SetGWorld(world);
    }
    void TearDown() override {
        SetGWorld(nullptr);
        DisposeGWorld(world);
    }
    static bool black(int h, int v) {
        RGBColor c;
        GetCPixel(h, v, &c);
        return c.red < 0x8000;
    }
    // A bar right of the centre, turned a quarter: it stands above the centre.
    static void turnedBar() {
        BeginTurn(90, {100, 100});
        PaintRect({95, 105, 105, 160});
        EndTurn();
    }
};

TEST_F(Turn, QuarterTurnIsCounterClockwiseAndEnds) {
    turnedBar();
    EXPECT_TRUE(black(100, 60));
    EXPECT_FALSE(black(130, 100));
    // After the turn, drawing is upright again.
    PaintRect({150, 150, 160, 190});
    EXPECT_TRUE(black(185, 155));
    EXPECT_FALSE(black(155, 185));
}

TEST_F(Turn, PicturesKeepTheTurnAndPictHoldsItsPixels) {
    const Rect frame{0, 0, 200, 200};
    Picture* pic = OpenPicture(frame);
    PicComment(190, 0, nullptr);
    turnedBar();
    PicComment(191, 0, nullptr);
    PaintRect({150, 150, 160, 190});
    ClosePicture();
    int turns = 0, comments = 0;
    for (const PicOp& op : pic->ops) {
        turns += op.op == Op::Turn;
        comments += op.op == Op::Comment;
    }
    EXPECT_EQ(turns, 2);
    EXPECT_EQ(comments, 2);

    // Replayed, the turn applies again.
    EraseRect(frame);
    DrawPicture(pic, frame);
    EXPECT_TRUE(black(100, 60));
    EXPECT_FALSE(black(130, 100));

    // PICT has no turn: the bar comes back as pixels in its place, the comments around it.
    const std::string bytes = WritePict(*pic);
    std::string error;
    Picture* back =
        ReadPict(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &error);
    ASSERT_NE(back, nullptr) << error;
    std::vector<Op> order;
    for (const PicOp& op : back->ops)
        if (op.op == Op::Comment || op.op == Op::Bits || op.op == Op::Turn) order.push_back(op.op);
    EXPECT_EQ(order, (std::vector<Op>{Op::Comment, Op::Bits, Op::Comment}));
    EraseRect(frame);
    DrawPicture(back, frame);
    EXPECT_TRUE(black(100, 60));
    EXPECT_TRUE(black(100, 93));
    EXPECT_FALSE(black(130, 100));
    EXPECT_FALSE(black(100, 110));
    EXPECT_TRUE(black(185, 155));
    KillPicture(back);
    KillPicture(pic);
}

TEST_F(Turn, APictureLeftTurnedIsEndedAfterItIsDrawn) {
    const Rect frame{0, 0, 200, 200};
    Picture pic;
    pic.frame = frame;
    pic.ops.emplace_back();
    pic.ops.back().op = Op::Turn;
    pic.ops.back().a[0] = 90000;
    pic.ops.back().a[1] = pic.ops.back().a[2] = 100;
    pic.ops.back().a[3] = 1;
    DrawPicture(&pic, frame);
    PaintRect({95, 105, 105, 160});
    EXPECT_TRUE(black(130, 100));
}

}  // namespace
