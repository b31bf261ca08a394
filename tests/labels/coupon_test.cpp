// The coupon data check: the assembled data and the message of each fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>

#include "app/world.h"
#include "labels/coupon.h"
#include "support/cases.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// A slot filled to its 10 bytes has no NUL; it must be read as those 10 bytes.
void put(char* fields, size_t at, const std::string& text) {
    std::memset(fields + at, 0, kCouponSlot);
    std::memcpy(fields + at, text.data(), std::min(text.size(), kCouponSlot));
}

TEST(Coupon, AssembledDataOrTheMessageOfTheFault) {
    for (const auto& c : testsupport::readCases("labels/coupon.txt", 2)) {
        SCOPED_TRACE(c[0]);
        resetWorld();
        gMsg.quiet = true;
        char f[kCouponFieldsBytes] = {};
        std::istringstream set("0=8110 10=0614141 20=123456 30=150 40=1 50=0 60=123 " + c[0]);
        for (std::string slot; set >> slot;) {
            const size_t eq = slot.find('=');
            put(f, std::stoul(slot.substr(0, eq)), slot.substr(eq + 1));
        }
        std::string out;
        const bool refused = c[1][0] == '!';
        EXPECT_EQ(verifycoupon(f, &out), refused ? 0 : 1) << gMsg.last;
        EXPECT_EQ(gMsg.shown, refused ? 1 : 0);
        EXPECT_EQ(refused ? gMsg.last : out, c[1].substr(1));
    }
}

}  // namespace
