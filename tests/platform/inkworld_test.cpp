// One-bit and grey worlds against a colour world: the same drawing must give the
// same pixels, thresholded, whatever the spans' edges within the packed bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/quickdraw/quickdraw.h"
#include "qd_world.h"

namespace {

using namespace qd;
using qdtest::World;

constexpr Rect kBounds{0, 0, 37, 53};  // rows of an odd number of bytes

// Rectangles painted, erased, inverted and filled over every bit offset, some
// reaching past the world's edges, then a clip, an oval, text and a turned bar.
void drawMix() {
    uint32_t seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 16) % static_cast<uint32_t>(n));
    };
    for (int i = 0; i < 60; ++i) {
        const int32_t l = next(60) - 4, t = next(44) - 4;
        const Rect r{t, l, t + 1 + next(20), l + 1 + next(30)};
        switch (i % 4) {
            case 0:
                PaintRect(r);
                break;
            case 1:
                EraseRect(r);
                break;
            case 2:
                InvertRect(r);
                break;
            default:
                FillRect(r, i % 8 == 3 ? kBlack : kGray);
                break;
        }
    }
    ClipRect({3, 5, 30, 47});
    PenMode(patXor);
    PaintRect({0, 0, 37, 53});
    PenNormal();
    ClipAll();
    PaintOval({10, 10, 30, 40});
    MoveTo(4, 30);
    TextSize(14);
    DrawString(reinterpret_cast<const unsigned char*>("\x04Ink8"));
    BeginTurn(30, {20, 26});
    PaintRect({16, 2, 19, 50});
    EndTurn();
}

std::vector<uint32_t> drawnAt(int depth) {
    World w(kBounds, depth);
    drawMix();
    return w.pixels();
}

// Whether a one-bit world's pixels are the colour world's thresholded (only
// white stays white); how many are inked.
::testing::AssertionResult thresholded(const std::vector<uint32_t>& bits,
                                       const std::vector<uint32_t>& colour, int* inked) {
    if (bits.size() != colour.size()) return ::testing::AssertionFailure() << "sizes differ";
    *inked = 0;
    for (size_t i = 0; i < colour.size(); ++i) {
        const bool white = colour[i] == 0xFFFFFF;
        *inked += !white;
        if (bits[i] != (white ? 0xFFFFFFu : 0u))
            return ::testing::AssertionFailure() << "pixel " << i << " is " << bits[i];
    }
    return ::testing::AssertionSuccess();
}

TEST(InkWorlds, HoldTheColourWorldsPixelsThresholded) {
    const std::vector<uint32_t> colour = drawnAt(32);
    const std::vector<uint32_t> grey = drawnAt(kGreyDepth);
    int inked = 0;
    ASSERT_TRUE(thresholded(drawnAt(1), colour, &inked));
    EXPECT_GT(inked, 100);
    EXPECT_EQ(grey, colour);  // black and white are their own greys
}

// Glyphs far larger than the world, running out of it on every side: the one-bit
// world keeps what falls inside, and a larger world at the same origin drawing
// the same text afterwards gets all of its own.
TEST(InkWorlds, TextLargerThanTheWorldAsTheColourWorldDrawsIt) {
    auto bigText = [](const Rect& bounds, int depth) {
        World w(bounds, depth);
        MoveTo(-30, 90);
        TextSize(140);
        DrawString(reinterpret_cast<const unsigned char*>("\x02W8"));
        return w.pixels();
    };
    for (const Rect& bounds : {kBounds, Rect{0, 0, 90, 120}}) {
        int inked = 0;
        ASSERT_TRUE(thresholded(bigText(bounds, 1), bigText(bounds, 32), &inked))
            << bounds.bottom << " x " << bounds.right;
        EXPECT_GT(inked, bounds.bottom * bounds.right / 8);
    }
}

// A picture of rows of bars (rectangles painted one after another between the
// same two rows, each row in its own pen mode and colour, overlapping, at every
// bit offset, some past the edges) replayed at its size and scaled, under a clip.
std::vector<uint32_t> barsReplayedInto(int depth, const Rect& dst) {
    constexpr Rect kFrame{0, 0, 40, 90};
    World w(kFrame, depth);
    PaintRect({30, 0, 40, 90});  // ink for the clearing modes to take away
    Picture* pic = OpenPicture(kFrame);
    const int16_t modes[] = {patCopy, patOr, patXor, patBic, notPatCopy, patCopy};
    for (int row = 0; row < 6; ++row) {
        PenMode(modes[row]);
        if (row == 5) ForeColor(whiteColor);
        const int32_t top = row * 6 + (row == 5 ? 2 : 0), bottom = top + 9;
        for (int32_t left = -3; left < 92; left += 7)
            PaintRect({top, left, bottom, left + 1 + left % 5 + 3});
    }
    ClosePicture();
    EraseRect(kFrame);
    PaintRect({30, 0, 40, 90});
    ClipRect({1, 3, 38, 80});
    DrawPicture(pic, dst);
    KillPicture(pic);
    return w.pixels();
}

TEST(InkWorlds, FillRowsOfBarsFromAPictureAsTheColourWorldDoes) {
    for (const Rect& dst : {Rect{0, 0, 40, 90}, Rect{1, 2, 37, 77}}) {
        int inked = 0;
        ASSERT_TRUE(thresholded(barsReplayedInto(1, dst), barsReplayedInto(32, dst), &inked));
        EXPECT_GT(inked, 500);
    }
}

// Copies of a picture of bars and greys, scaled, copied and or-ed over ink.
std::vector<uint32_t> copiedInto(int depth) {
    World src({0, 0, 6, 9});
    RGBForeColor({0x3000, 0x3000, 0x3000});
    PaintRect({0, 0, 6, 3});
    ForeColor(blackColor);
    PaintRect({2, 5, 4, 7});
    World dst({0, 0, 20, 30}, depth);
    PaintRect({0, 0, 20, 4});
    CopyBits(src.w, {0, 0, 6, 9}, {1, 2, 13, 20}, srcCopy);
    CopyBits(src.w, {0, 0, 6, 9}, {8, 12, 14, 21}, srcOr);
    return dst.pixels();
}

TEST(InkWorlds, TakeCopiedPixelsThresholded) {
    const std::vector<uint32_t> colour = copiedInto(32);
    const std::vector<uint32_t> bits = copiedInto(1);
    const std::vector<uint32_t> grey = copiedInto(kGreyDepth);
    ASSERT_EQ(bits.size(), colour.size());
    ASSERT_EQ(grey.size(), colour.size());
    for (size_t i = 0; i < colour.size(); ++i) {
        ASSERT_EQ(bits[i], colour[i] == 0xFFFFFF ? 0xFFFFFFu : 0u) << "pixel " << i;
        ASSERT_EQ(grey[i], colour[i]) << "pixel " << i;
    }
}

TEST(InkWorlds, ShowColoursByTheirRule) {
    World grey({0, 0, 4, 8}, kGreyDepth);
    RGBForeColor({0x8000, 0x8000, 0x8000});
    PaintRect({0, 0, 4, 4});
    ForeColor(redColor);
    PaintRect({0, 4, 4, 8});
    EXPECT_EQ(grey.rgb(1, 1), 0x808080u);
    // Red's luminance: 0.299 0xDD6B + 0.587 0x08C2 + 0.114 0x06A2 is 0x481A.
    EXPECT_EQ(grey.rgb(5, 1), 0x484848u);
    InvertRect({0, 0, 4, 8});
    EXPECT_EQ(grey.rgb(1, 1), 0x7F7F7Fu);

    World bits({0, 0, 2, 3}, 1);
    SetGWorldWhiteFrom(bits.w, 129);
    RGBForeColor({0x8100, 0, 0});
    PaintRect({0, 0, 2, 1});
    RGBForeColor({0x80FF, 0xFFFF, 0xFFFF});
    PaintRect({0, 1, 2, 2});
    EXPECT_FALSE(bits.black(0, 0));
    EXPECT_TRUE(bits.black(1, 0));
    EXPECT_FALSE(bits.black(2, 0));
}

TEST(InkWorlds, GiveRowsAsFilesKeepThem) {
    World bits({0, 0, 2, 10}, 1);
    PaintRect({0, 0, 1, 1});
    PaintRect({0, 9, 1, 10});
    uint8_t row[2] = {0xAA, 0xAA};
    ASSERT_TRUE(GWorldBitRow(bits.w, 0, row));
    EXPECT_EQ(row[0], 0x7F);  // the first pixel black, in the top bit
    EXPECT_EQ(row[1], 0x80);  // the last pixel black, the padding 0
    EXPECT_FALSE(GWorldRowRepeats(bits.w, 1));
    PaintRect({1, 0, 2, 1});
    PaintRect({1, 9, 2, 10});
    EXPECT_TRUE(GWorldRowRepeats(bits.w, 1));
    EXPECT_FALSE(GWorldBitRow(bits.w, 2, row));
    EXPECT_FALSE(GWorldGreyRow(bits.w, 0, row));

    World grey({0, 0, 1, 2}, kGreyDepth);
    RGBForeColor({0x4040, 0x4040, 0x4040});
    PaintRect({0, 1, 1, 2});
    ASSERT_TRUE(GWorldGreyRow(grey.w, 0, row));
    EXPECT_EQ(row[0], 0xFF);
    EXPECT_EQ(row[1], 0x40);
}

}  // namespace
