#include <gtest/gtest.h>

#include <string>

#include "app/world.h"
#include "support/cases.h"
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
    for (const auto& c : testsupport::readCases("symbology/guard_drops.txt", 7)) {
        SCOPED_TRACE(c.where);
        gSym.code = c.integer(1);
        gSym.variation1 = c.integer(2);
        gSym.flushBars = c.integer(3);
        gSym.multi_line = c.integer(4);
        const int bar = c.integer(5);
        EXPECT_EQ(c[0] == "top" ? CheckTopDrop(bar, 10) : CheckDrop(bar, 10),
                  static_cast<double>(c.integer(6)));
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
