#include <string>

#include "symbol_support.h"
#include "symbology/Codabar.h"

using namespace symtest;

namespace {

using Codabar = World;

constexpr int32_t kCodabar = 8;

TEST_F(Codabar, ReadsWithItsStartAndStop) {
    struct Case {
        int32_t variant, nCheck;
        const char* data;
        const char* want;
    };
    for (const Case& c :
         {Case{0, 1, "A0123456789-$:/.+B", "A0123456789-$:/.+B"}, Case{0, 1, "T12N", "T12N"},
          Case{0, 1, "*12E", "*12E"}, Case{1, 0, "C123D", "C123D"},
          Case{0, 0, "2123456789012", "A21234567890124B"}, Case{2, 0, "91", "A910B"},
          Case{3, 0, "1234567", "B12345674A"}}) {
        SCOPED_TRACE(c.data);
        ASSERT_EQ(make(kCodabar, c.variant, c.data, c.nCheck), 0) << gMsg.last;
        const testsupport::Decoded d = read("Codabar", {false, false, true});
        EXPECT_TRUE(d.ok) << d.error;
        // zxing names the alternate start/stop letters by their main names.
        std::string want = c.want;
        for (char& ch : want)
            ch = ch == 'T' ? 'A' : ch == 'N' ? 'B' : ch == '*' ? 'C' : ch == 'E' ? 'D' : ch;
        EXPECT_EQ(d.text, want);
        EXPECT_EQ(std::string(gData.chMainCode), c.data);  // the data is given back
    }
}

// A check edge that no symbol above reaches.
TEST_F(Codabar, AmeritechCheck) { EXPECT_EQ(ameritechDigit("55", 2), '4'); }

}  // namespace
