#include <gtest/gtest.h>

#include "symbology/codebars.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "labels/labelDoc.h"

namespace {

struct ElementWidths : ::testing::Test {
    void SetUp() override { resetWorld(); }
};

TEST_F(ElementWidths, BytesAndLaetusMini) {
    EXPECT_EQ(charToWidth(130), 1016);
    EXPECT_EQ(charToWidth(131), kNoElement);  // a bar raised by BW 1 has no width of its own
    EXPECT_EQ(charToWidth(227 + 5), 1020);
    EXPECT_EQ(charToWidth(13), kNoElement);
    EXPECT_EQ(charToWidth(0), kNoElement);
    EXPECT_EQ(charToWidth(59), -330);
    gSym.code = 17;
    gSym.variation1 = 1;
    EXPECT_EQ(charToWidth(59), -350);
    EXPECT_EQ(charToWidth(196), 650);
    EXPECT_EQ(charToWidth(208), 1320);
}

TEST_F(ElementWidths, GuardDrops) {
    EXPECT_EQ(CheckDrop(15, 10), 5);
    EXPECT_EQ(CheckDrop(14, 10), 0);
    gSym.flushBars = 0;
    EXPECT_EQ(CheckDrop(15, 10), 0);
    gSym.flushBars = 1;
    gSym.variation1 = 255;
    EXPECT_EQ(CheckDrop(31, 10), 0);
    gSym.variation1 = 0;
    EXPECT_EQ(CheckDrop(31, 10), 5);
    gSym.variation1 = 12;  // Peacocks: no centre guard drop
    EXPECT_EQ(CheckDrop(15, 10), 0);
    EXPECT_EQ(CheckDrop(29, 10), 5);
    gSym.code = 3;
    gSym.variation1 = 0;
    EXPECT_EQ(CheckDrop(11, 10), 5);
    gSym.variation1 = 1;
    EXPECT_EQ(CheckDrop(11, 10), 0);
    gSym.code = 30;
    gSym.multi_line = 1;
    EXPECT_EQ(CheckDrop(5, 10), 30);
}

TEST_F(ElementWidths, TopRises) {
    EXPECT_EQ(CheckTopDrop(31, 10), 10);
    EXPECT_EQ(CheckTopDrop(30, 10), 0);
    gSym.code = 11;
    EXPECT_EQ(CheckTopDrop(18, 10), 10);
    gSym.code = 7;
    gSym.variation1 = 14;
    EXPECT_EQ(CheckTopDrop(1, 10), 13);
    gSym.code = 31;
    gSym.multi_line = 1;
    EXPECT_EQ(CheckTopDrop(1, 10), 10);
}

TEST(ElementListBuffer, RefusesAppendsPastTheEnd) {
    ElementList list;
    for (size_t i = 0; i < kElementListSize; ++i) ASSERT_TRUE(list.put(1));
    EXPECT_FALSE(list.overflow);
    EXPECT_FALSE(list.put(2));
    EXPECT_TRUE(list.overflow);
    EXPECT_EQ(list.cu_len, static_cast<int32_t>(kElementListSize));
    EXPECT_FALSE(list.terminate());
}

TEST(Messages, LabelLayoutKeepsTheErrorText) {
    resetWorld();
    resetLabelDocument();
    gMsg.quiet = true;
    Message(29);
    EXPECT_NE(gMsg.last.find("Interleaved"), std::string::npos);
    labelBack.labelWidth = 1000;
    MessageText("first");
    MessageText("second");
    EXPECT_EQ(gMsg.last, "first");  // only the first box until the flag is cleared
    gMsg.inerror = 0;
    Message(29);
    EXPECT_NE(std::string(gMsg.gerrorstr).find("Interleaved"), std::string::npos);
    resetLabelDocument();
}

}  // namespace
