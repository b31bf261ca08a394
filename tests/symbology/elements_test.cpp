#include <gtest/gtest.h>

#include <string>

#include "app/world.h"
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

// Guard bars that drop below the others and bars that rise, by the settings
// each case sets.
TEST_F(ElementWidths, GuardDropsAndTopRises) {
    const struct {
        bool top;  // CheckTopDrop, else CheckDrop
        int code, variant, flushBars, multiLine, bar;
        double want;
    } cases[] = {
        {false, 0, 0, 1, 0, 15, 5},  {false, 0, 0, 1, 0, 14, 0},
        {false, 0, 0, 0, 0, 15, 0},  {false, 0, 255, 1, 0, 31, 0},
        {false, 0, 0, 1, 0, 31, 5},  {false, 0, 12, 1, 0, 15, 0},  // Peacocks: no centre drop
        {false, 0, 12, 1, 0, 29, 5}, {false, 3, 0, 1, 0, 11, 5},
        {false, 3, 1, 1, 0, 11, 0},  {false, 30, 1, 1, 1, 5, 30},
        {true, 0, 0, 1, 0, 31, 10},  {true, 0, 0, 1, 0, 30, 0},
        {true, 11, 0, 1, 0, 18, 10}, {true, 7, 14, 1, 0, 1, 13},
        {true, 31, 14, 1, 1, 1, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + "/" + std::to_string(c.variant) + " bar " +
                     std::to_string(c.bar));
        gSym.code = c.code;
        gSym.variation1 = c.variant;
        gSym.flushBars = c.flushBars;
        gSym.multi_line = c.multiLine;
        EXPECT_EQ(c.top ? CheckTopDrop(c.bar, 10) : CheckDrop(c.bar, 10), c.want);
    }
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
