// Serial numbers counted in the three bases, with carries, larger increments,
// the end of a run and the texts that cannot be counted.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/world.h"
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

}  // namespace
