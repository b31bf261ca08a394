// Serial numbers counted in the three bases, with carries, larger increments,
// the end of a run and the texts that cannot be counted.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "label_world.h"
#include "symbology/panels.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/serial.h"
#include "platform/resources.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/cases.h"

namespace {

// A text of the test's into a buffer of the panel's size.
struct Text {
    char bytes[256];
    explicit Text(const std::string& t) { std::snprintf(bytes, sizeof bytes, "%s", t.c_str()); }
};

TEST(SerialNo, AdvancesOrEndsInEachBase) {
    for (const auto& c : testsupport::readCases("labels/serial_counts.txt", 5)) {
        SCOPED_TRACE(c[0] + " " + c[1] + " + " + c[2]);
        resetWorld();
        gMsg.quiet = true;
        Text current(c[1]);
        const int32_t last = static_cast<int32_t>(c[3].size()) - 1;
        const SerialStep step =
            SerialNo("", c[3].c_str(), c[2].c_str(), last, std::stoi(c[0]), current.bytes);
        EXPECT_EQ(current.bytes, c[4]);
        EXPECT_EQ(step, c[4].empty() ? SerialStep::ended : SerialStep::next);
        EXPECT_EQ(gMsg.shown, 0);
    }
    // The bytes behind an emptied value must not come back as a number.
    char current[256] = {0, '9', '9', '9'};
    EXPECT_EQ(SerialNo("", "9999", "0001", 3, 0, current), SerialStep::ended);
    EXPECT_EQ(current[0], 0);
}

TEST(SerialNo, TextsThatCannotBeCountedAreRefused) {
    for (const auto& c : testsupport::readCases("labels/serial_refused.txt", 6)) {
        SCOPED_TRACE(c[0] + " " + c[1] + " + " + c[2] + " to " + c[3]);
        resetWorld();
        gMsg.quiet = true;
        Text current(c[1]);
        EXPECT_EQ(SerialNo("", c[3].c_str(), c[2].c_str(), std::stoi(c[4]), std::stoi(c[0]),
                           current.bytes),
                  SerialStep::refused);
        EXPECT_EQ(current.bytes[0], 0);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_EQ(gMsg.last, messageText(static_cast<uint16_t>(std::stoi(c[5]))));
    }
}

TEST(SetToLength, PadsWithZerosOnTheLeftOrKeepsTheFirstCharacters) {
    const struct {
        const char* text;
        int32_t width;
        const char* want;
    } cases[] = {{"7", 4, "0007"}, {"12345", 3, "123"}, {"abc", 3, "abc"}, {"", 2, "00"}};
    for (const auto& c : cases) {
        char text[256];
        std::snprintf(text, sizeof text, "%s", c.text);
        SetToLength(text, static_cast<int32_t>(std::strlen(text)), c.width);
        EXPECT_STREQ(text, c.want) << c.text;
    }
    char text[256] = "1";
    SetToLength(text, 1, 1000);  // capped: the buffer keeps its NUL
    EXPECT_EQ(std::strlen(text), 255u);
    EXPECT_EQ(text[254], '1');
}

TEST(GetAnyField, DropsDashesUnlessTheCodeTypeCarriesThem) {
    resetWorld();
    char out[256];
    GetAnyField("12-34-5", 7, out);
    EXPECT_STREQ(out, "12345");
    EXPECT_EQ(gProd.globlen, 5);
    GetAnyField("12-34-5", 4, out);  // the count of characters read
    EXPECT_STREQ(out, "123");
    gSym.code = 5;
    GetAnyField("12-34-5", 7, out);
    EXPECT_STREQ(out, "12-34-5");
    EXPECT_EQ(gProd.globlen, 7);
}

// The serial panel as typed: start, end, increment, data length, prefix, suffix.
struct SerialPanel : ::testing::Test {
    int32_t length = 0;
    char start[256] = {}, end[256] = {}, increment[256] = {}, current[256] = {};
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }
    int32_t read(const char* s, const char* e, const char* inc, const char* len,
                 const char* prefix = "", const char* suffix = "") {
        const char* typed[] = {s, e, inc, len};
        for (int i = 0; i < 4; ++i) gPanels.TEBack1[i].text = typed[i];
        std::snprintf(gData.chPrefix, sizeof gData.chPrefix, "%s", prefix);
        std::snprintf(gData.chSuffix, sizeof gData.chSuffix, "%s", suffix);
        gMsg.shown = 0;
        return GetSerialText(&length, start, end, increment, current);
    }
    // The values a run produces, at most `most` of them.
    std::vector<std::string> run(int most = 100) {
        std::vector<std::string> out;
        while (current[0] && static_cast<int>(out.size()) < most) {
            out.emplace_back(current);
            SerialNo(start, end, increment, static_cast<int32_t>(std::strlen(end)) - 1,
                     gLabel.alpha, current);
        }
        return out;
    }
};

TEST_F(SerialPanel, ValuesArePaddedOrCutToTheWidthLeftBesideThePrefixAndSuffix) {
    ASSERT_EQ(read("998", "999", "1", "3"), 0);
    EXPECT_EQ(run(), (std::vector<std::string>{"998", "999"}));
    ASSERT_EQ(read("5", "12", "3", "6", "AB", "Z"), 0);  // width 3
    EXPECT_EQ(length, 6);
    EXPECT_EQ(run(), (std::vector<std::string>{"005", "008", "011"}));
    ASSERT_EQ(read("123456", "999999", "1", "4"), 0);  // cut to the first four
    EXPECT_STREQ(current, "1234");
    EXPECT_STREQ(end, "9999");
    ASSERT_EQ(read("1", "9", "1", "252"), 0) << "the most a label item keeps";
    ASSERT_EQ(read("0001", "0003", "0001", "4"), 0);
    EXPECT_EQ(run(), (std::vector<std::string>{"0001", "0002", "0003"}));
    gLabel.alpha = kSerialHex;
    ASSERT_EQ(read("0ffe", "0FFF", "2", "4"), 0);  // either case
    EXPECT_EQ(run(), (std::vector<std::string>{"0ffe"}));
    gLabel.alpha = kSerialBase94;
    ASSERT_EQ(read("!!}", "!\"#", "1", "3"), 0);
    EXPECT_EQ(run(), (std::vector<std::string>{"!!}", "!!~", "!\"!", "!\"\"", "!\"#"}));
}

TEST_F(SerialPanel, TheAddOnFormKeepsItsTexts) {
    ASSERT_EQ(read("A|05", "12", "3", "1"), 0);
    EXPECT_STREQ(current, "A|05");
    EXPECT_STREQ(end, "12");
    EXPECT_STREQ(increment, "3");
    std::vector<std::string> addOns;
    for (std::string c = "05"; !c.empty(); c = nextAddOnCounter(c, increment, end))
        addOns.push_back(c);
    EXPECT_EQ(addOns, (std::vector<std::string>{"05", "08", "11"}));
    // Counters of any length are counted exactly, and keep their width.
    EXPECT_EQ(nextAddOnCounter("09999999999999999999", "1", "999999999999999999999"),
              "10000000000000000000");
    EXPECT_EQ(nextAddOnCounter("0998", "1", "999"), "0999");
    EXPECT_EQ(nextAddOnCounter("0999", "1", "999"), "");
    EXPECT_EQ(nextAddOnCounter("99", "1", "999"), "") << "a wider counter ends the run";
}

// Every symbol of an add-on run carries an add-on of the counter's width, and
// EAN and UPC draw add-ons of 2 or 5 digits only.
TEST_F(SerialPanel, AddOnCountersThatWouldLoseTheirAddOnAreRefused) {
    gSym.code = 0;  // EAN-13
    const char* refused[][2] = {{"X|98", "101"}, {"X|99998", "100000"}, {"X|8", "9"}};
    for (const auto& c : refused) {
        SCOPED_TRACE(std::string(c[0]) + " to " + c[1]);
        EXPECT_EQ(read(c[0], c[1], "1", "12"), 1);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_NE(gMsg.last.find("counter"), std::string::npos) << gMsg.last;
    }
    EXPECT_EQ(read("X|98", "0099", "1", "12"), 0);
    gSym.code = 5;  // Code 128 takes an add-on of any width
    EXPECT_EQ(read("X|8", "9", "1", "12"), 0);
}

TEST_F(SerialPanel, RunsThatCannotStartOrCouldNeverEndAreRefused) {
    for (const auto& c : testsupport::readCases("labels/serial_panel_refused.txt", 6)) {
        SCOPED_TRACE(c[0] + " to " + c[1] + " by " + c[2] + " in " + c[3]);
        EXPECT_EQ(read(c[0].c_str(), c[1].c_str(), c[2].c_str(), c[3].c_str(), c[4].c_str()), 1);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_EQ(gMsg.last, messageText(static_cast<uint16_t>(std::stoi(c[5]))));
    }
    gLabel.alpha = kSerialHex;
    EXPECT_EQ(read("00G1", "FFFF", "1", "4"), 1);
    EXPECT_EQ(gMsg.last, messageText(1301));
}

TEST_F(SerialPanel, TheRepeatCountIsRead) {
    gPanels.TEBack1[8].text = "3";
    ASSERT_EQ(read("1", "9", "1", "2"), 0);
    EXPECT_EQ(gLabel.numRepeat, 3);
    EXPECT_EQ(gLabel.tempNumRepeat, 3);
}

}  // namespace
