// Serial numbers counted in the three bases, with carries, larger increments,
// the end of a run and the texts that cannot be counted.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "symbology/panels.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/serial.h"
#include "platform/resources.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

std::string messageText(uint16_t n) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    return std::string(reinterpret_cast<char*>(text + 1), text[0]);
}

struct Count {
    int32_t base;
    const char* current;
    const char* increment;
    const char* end;
    const char* next;  // "" when the run ends
};

std::string advance(const Count& c, SerialStep* step = nullptr) {
    char current[256];
    std::snprintf(current, sizeof current, "%s", c.current);
    const int32_t last = static_cast<int32_t>(std::strlen(c.end)) - 1;
    const SerialStep s = SerialNo("", c.end, c.increment, last, c.base, current);
    if (step) *step = s;
    return current;
}

class SerialCount : public ::testing::TestWithParam<Count> {
  protected:
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }
};

TEST_P(SerialCount, AdvancesOrEnds) {
    const Count& c = GetParam();
    SerialStep step;
    EXPECT_EQ(advance(c, &step), c.next);
    EXPECT_EQ(step, c.next[0] ? SerialStep::next : SerialStep::ended);
    EXPECT_EQ(gMsg.shown, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, SerialCount,
    ::testing::Values(Count{0, "0001", "0001", "9999", "0002"},
                      Count{0, "0009", "0001", "9999", "0010"},  // one carry
                      Count{0, "0999", "0001", "9999", "1000"},  // a chain of carries
                      Count{0, "0095", "0007", "9999", "0102"},  // increment above 1
                      Count{0, "0005", "0010", "9999", "0015"},  // the increment's tens
                      Count{0, "998", "001", "999", "999"},      // the end value is produced
                      Count{0, "999", "001", "999", ""},         // overflow
                      Count{0, "0002", "0002", "0003", ""},      // past the end
                      Count{0, "7", "1", "9999", "0008"}));      // short texts padded with 0

INSTANTIATE_TEST_SUITE_P(
    Base94, SerialCount,
    ::testing::Values(Count{1, "!!!!", "0001", "~~~~", "!!!\""},
                      Count{1, "!!!~", "0001", "~~~~", "!!\"!"},  // '~' carries to '!'
                      Count{1, "!!!!", "0009", "~~~~", "!!!*"},   // the increment is decimal
                      Count{1, "000A", "0001", "~~~~", "000B"},   // '0' is a digit (15)
                      Count{1, "!~~~", "0001", "~~~~", "\"!!!"},
                      Count{1, "~~~~", "0001", "~~~~", ""}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, SerialCount,
    ::testing::Values(Count{2, "00FF", "0001", "FFFF", "0100"},
                      Count{2, "0009", "0001", "FFFF", "000A"},
                      Count{2, "0000", "0010", "FFFF", "0010"},  // "10" adds sixteen
                      Count{2, "00fe", "0001", "FFFF", "00FF"},  // lower case is read
                      Count{2, "0FFE", "0002", "0FFF", ""},      // 1000 is past 0FFF
                      Count{2, "FFFF", "0001", "FFFF", ""}));

TEST(SerialNo, AnEndedRunStaysEnded) {
    resetWorld();
    // The bytes behind an emptied value must not come back as a number.
    char current[256] = {0, '9', '9', '9'};
    EXPECT_EQ(SerialNo("", "9999", "0001", 3, 0, current), SerialStep::ended);
    EXPECT_EQ(current[0], 0);
}

TEST(SerialNo, TextsThatCannotBeCountedAreRefused) {
    struct Bad {
        int32_t base;
        const char* current;
        const char* increment;
        const char* end;
        int32_t last;
        uint16_t message;
    };
    const Bad cases[] = {
        {0, "00-1", "0001", "9999", 3, 1301},   // no decimal digit
        {2, "00G1", "0001", "FFFF", 3, 1301},   // no hexadecimal digit
        {1, "00 1", "0001", "~~~~", 3, 1301},   // a blank is no base-94 digit
        {2, "0001", "000A", "FFFF", 3, 1301},   // the increment is decimal
        {0, "00001", "0001", "9999", 3, 1302},  // longer than the width
        {0, "0001", "0001", "99999", 3, 1302},
        {0, "0001", "0001", "9999", -1, 1300},  // no digit left for the number
        {0, "0001", "0001", "9999", 255, 1300},
    };
    for (const Bad& b : cases) {
        resetWorld();
        gMsg.quiet = true;
        char current[256];
        std::snprintf(current, sizeof current, "%s", b.current);
        EXPECT_EQ(SerialNo("", b.end, b.increment, b.last, b.base, current), SerialStep::refused)
            << b.current;
        EXPECT_EQ(current[0], 0) << b.current;
        EXPECT_EQ(gMsg.shown, 1) << b.current;
        EXPECT_EQ(gMsg.last, messageText(b.message)) << b.current;
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
    // Counters of any length are counted exactly.
    EXPECT_EQ(nextAddOnCounter("99999999999999999999", "1", "999999999999999999999"),
              "100000000000000000000");
    EXPECT_EQ(nextAddOnCounter("0998", "1", "999"), "0999");
    EXPECT_EQ(nextAddOnCounter("0999", "1", "999"), "");
}

TEST_F(SerialPanel, RunsThatCannotStartOrCouldNeverEndAreRefused) {
    const struct {
        const char *s, *e, *inc, *len, *prefix;
        uint16_t message;
    } cases[] = {
        {"1", "9", "1", "", "", 21},       // no length
        {"1", "9", "1", "0", "", 22},      // length zero
        {"1", "9", "1", "3", "ABC", 22},   // no digit beside the prefix
        {"1", "9", "1", "300", "", 1300},  // wider than a value can be
        {"", "9", "1", "3", "", 23},       // no start
        {"1", "", "1", "3", "", 24},       // no end
        {"1", "9", "", "3", "", 25},       // no increment
        {"1", "9", "000", "3", "", 25},    // a zero increment never moves
        {"1", "9", "0001", "3", "", 25},   // cut to its first three digits: zero
        {"A|1", "9", "0", "3", "", 25},    // the add-on form too
        {"A|1", "9", "x", "3", "", 1301},  // the add-on form counts in decimal
        {"1x", "9", "1", "3", "", 1301},   // no digit of the base
        {"1", "9", "-", "3", "", 25},      // a dash alone is dropped: zero
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.s, c.e, c.inc, c.len, c.prefix), 1) << c.s << " " << c.inc << " " << c.len;
        EXPECT_EQ(gMsg.shown, 1) << c.s << " " << c.inc << " " << c.len;
        EXPECT_EQ(gMsg.last, messageText(c.message)) << c.s << " " << c.inc << " " << c.len;
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
