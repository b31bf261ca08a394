#include <string>

#include "symbol_support.h"
#include "symbology/Codabar.h"

using namespace symtest;

namespace {

using Codabar = World;

constexpr int32_t kCodabar = 8;

TEST_F(Codabar, ReadsWithItsStartAndStop) {
    for (const auto& c : testsupport::readCases("symbology/codabar_reads.txt", 4)) {
        SCOPED_TRACE(c.where);
        ASSERT_EQ(make(kCodabar, c.integer(0), c[2], c.integer(1)), 0) << gMsg.last;
        const testsupport::Decoded d = read("Codabar", {false, false, true});
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, c[3]);
        EXPECT_EQ(std::string(gData.chMainCode), c[2]);  // the data is given back
    }
}

// A check edge that no symbol above reaches.
TEST_F(Codabar, AmeritechCheck) { EXPECT_EQ(ameritechDigit("55", 2), '4'); }

}  // namespace
