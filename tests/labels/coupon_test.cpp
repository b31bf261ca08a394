// The coupon data check: the assembled data and the message of each fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/world.h"
#include "labels/coupon.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

struct Coupon : ::testing::Test {
    char f[kCouponFieldsBytes] = {};
    std::string out;
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        std::memset(f, 0, sizeof f);
        put(0, "8110");
        put(10, "0614141");
        put(20, "123456");
        put(30, "150");
        put(40, "1");
        put(50, "0");
        put(60, "123");
    }
    // A slot filled to its 10 bytes has no NUL; it is read as those 10 bytes.
    void put(size_t at, const char* text) {
        std::memset(f + at, 0, kCouponSlot);
        std::memcpy(f + at, text, std::min(std::strlen(text), kCouponSlot));
    }
    std::string refused() {
        gMsg.shown = 0;
        EXPECT_EQ(verifycoupon(f, &out), 0);
        EXPECT_EQ(gMsg.shown, 1);
        return gMsg.last;
    }
};

TEST_F(Coupon, TheRequiredFieldsAlone) {
    ASSERT_EQ(verifycoupon(f, &out), 1);
    // The 7-digit prefix takes the length indicator 1.
    EXPECT_EQ(out,
              "8110"
              "1"
              "0614141"
              "123456"
              "3150"
              "11"
              "0"
              "123");
}

TEST_F(Coupon, EveryGroupAppended) {
    put(80, "1");
    put(90, "2");
    put(100, "1");
    put(110, "456");
    put(120, "061414");
    put(140, "3");
    put(150, "2");
    put(160, "789");
    put(170, "0614142");
    put(190, "251231");
    put(230, "123");
    ASSERT_EQ(verifycoupon(f, &out), 1) << gMsg.last;
    EXPECT_EQ(out,
              "8110106141411234563150110123"
              "1"
              "1"
              "12"
              "1"
              "456"
              "0061414"
              "2"
              "13"
              "2"
              "789"
              "10614142"
              "3251231"

              "53123");
    // A retailer group passes the 70 characters: the whole code is checked.
    put(270, "0614141");
    put(280, "12");
    put(290, "34");
    put(300, "5678901234");
    EXPECT_EQ(refused(), "You need less than 70 characters in the whole code");
    EXPECT_GT(out.size(), kCouponMostCharacters);
}

TEST_F(Coupon, IncompleteGroupsAreLeftOut) {
    put(80, "1");
    put(90, "2");  // three of the five second-purchase fields missing
    put(270, "0614141");
    ASSERT_EQ(verifycoupon(f, &out), 1);
    EXPECT_EQ(out, "8110106141411234563150110123");
}

TEST_F(Coupon, EachFaultHasItsMessage) {
    put(30, "12345");
    EXPECT_EQ(verifycoupon(f, &out), 1);  // five digits pass
    struct Case {
        size_t at;
        const char* value;
        const char* message;
    } cases[] = {
        {10, "12345", "You need at least 6 digits in your Company Prefix"},
        {20, "12345", "You need 6 digits in your Offer Code"},
        {30, "123456", "You need less then 5 digits and more than 0 in your Save value"},
        {30, "", "You need less then 5 digits and more than 0 in your Save value"},
        {40, "",
         "You need less then 5 digits and more than 0 in your Primary Purchase Requirement"},
        {50, "", "You need to choose a Primary Purchase Requirement code"},
        {60, "12", "You need 3 digits in your primary purchase Family Code"},
        {190, "2512", "You need 6 digits in your expiry date"},
        {210, "25", "You need 6 digits in your start date"},
    };
    for (const Case& c : cases) {
        SetUp();
        put(c.at, c.value);
        EXPECT_EQ(refused(), c.message) << c.at << " " << c.value;
    }
    SetUp();
    put(80, "1");
    put(90, "123456");
    put(100, "1");
    put(110, "456");
    put(120, "061414");
    EXPECT_EQ(refused(),
              "You need less then 5 digits and more than 0 in your 2nd Purchase Requirement");
    put(90, "1");
    put(110, "45");
    EXPECT_EQ(refused(), "You need 3 digits in your Optional Data Field 1 Family Code");
    put(110, "456");
    put(120, "06141");
    EXPECT_EQ(refused(), "You need at least 6 digits in your 2nd Company Prefix");
    SetUp();
    put(140, "123456");
    put(150, "1");
    put(160, "456");
    put(170, "061414");
    EXPECT_EQ(refused(),
              "You need less then 5 digits and more than 0 in your 3rd Purchase Requirement");
    put(140, "1");
    put(160, "4");
    EXPECT_EQ(refused(), "You need 3 digits in your Optional Data Field 2 Family Code");
    put(160, "456");
    put(170, "1");
    EXPECT_EQ(refused(), "You need at least 6 digits in your 3rd Company Prefix");
}

TEST_F(Coupon, ASerialNumberAppendsItsLengthAndAFullSlotIsReadAsTenBytes) {
    put(230, "123");
    ASSERT_EQ(verifycoupon(f, &out), 1);
    EXPECT_EQ(out.substr(out.size() - 5), "53123");
    put(230, "1234567890");  // no NUL in the slot; the next slot must not be read
    put(240, "99");
    ASSERT_EQ(verifycoupon(f, &out), 1);
    EXPECT_EQ(out.substr(out.size() - 12), "5:1234567890");
}

}  // namespace
