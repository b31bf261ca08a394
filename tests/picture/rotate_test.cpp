#include "picture/rotate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pict_fixture.h"
#include "platform/quickdraw/picture.h"

namespace {

TEST(Rotate, RectangleTurnsCounterClockwiseOnTheScreen) {
    qd::Rect r{0, 0, 10, 20};
    qd::Polygon outline;
    QDRotatedRect(&r, {0, 0}, 90, &outline, 1);
    EXPECT_EQ(r, (qd::Rect{-20, 0, 0, 10}));
    ASSERT_EQ(outline.points.size(), 4u);
    // The top right corner goes up.
    EXPECT_EQ(outline.points[1].h, 0);
    EXPECT_EQ(outline.points[1].v, -20);

    qd::Rect half{0, 0, 10, 20};
    QDRotatedRect(&half, {5, 10}, 180, nullptr, 0);
    EXPECT_EQ(half, (qd::Rect{0, 0, 10, 20}));
}

TEST(Rotate, CommentDataIsBigEndianFixedPoint) {
    const RotationComments c = rotationComments(90, {30, 40}, false);
    const std::vector<unsigned char> begin(c.begin, c.begin + 8);
    EXPECT_EQ(begin, (std::vector<unsigned char>{0, 0, 1, 14, 1, 14, 0, 0}));  // 270
    const std::vector<unsigned char> centre(c.centre, c.centre + 8);
    EXPECT_EQ(centre, (std::vector<unsigned char>{0, 30, 0, 0, 0, 40, 0, 0}));
}

TEST(Rotate, FormsAndPostScriptCommentsInOrder) {
    qd::Picture* pic = picttest::recordPicture({0, 0, 10, 10}, [] {
        TurnOnFormsPrinting();
        FlushPostScriptState();
        FormsCopyPage();
        TurnOffFormsPrinting();
    });
    std::vector<int32_t> kinds;
    std::string text;
    for (const qd::PicOp& op : pic->ops)
        if (op.op == qd::Op::Comment) {
            kinds.push_back(op.a[0]);
            text += op.bytes;
        }
    EXPECT_EQ(kinds, (std::vector<int32_t>{210, 190, 191, 190, 192, 191, 211}));
    EXPECT_EQ(text, "copypage");
    qd::KillPicture(pic);
}

}  // namespace
