#include <gtest/gtest.h>

#include <string>

#include "linear_support.h"
#include "symbology/Code93.h"

namespace {

using lineartest::expectRefused;
using lineartest::make;
using lineartest::read;
using lineartest::rowsOf;
using lineartest::symbolModules;
using lineartest::trimRight;
using lineartest::zintRows;

struct Code93 : lineartest::World {};
struct Code11 : lineartest::World {};

constexpr int32_t kCode93 = 28, kCode11 = 19;

int32_t thousandths(int32_t w) { return w / 1000; }

TEST_F(Code93, ReadsBackWithBothChecks) {
    struct Case {
        const char* data;
        const char* want;
    };
    // "AN" has the check C of value 43, written as the shift character ($).
    for (const Case& c : {Case{"TEST93", "TEST93"}, Case{"CODE 93-$/+%.", "CODE 93-$/+%."},
                          Case{"\xad"
                               "A\xa2"
                               "A",
                               "a\x01"},
                          Case{"AN", "AN"}}) {
        SCOPED_TRACE(c.data);
        ASSERT_EQ(make(kCode93, 0, c.data), 0) << gMsg.last;
        const testsupport::Decoded d = read("Code93");
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, c.want);
    }
}

TEST_F(Code93, ChecksOfTheStandardAndModulesLikeZint) {
    lineartest::setData("TEST93");
    Check93(20);
    Check93(15);
    EXPECT_EQ(std::string(gData.chMainCode), "TEST93+6");
    lineartest::setData("AN");
    Check93(20);
    EXPECT_EQ(static_cast<unsigned char>(gData.chMainCode[2]), 162);

    gSym.human = 1;
    ASSERT_EQ(make(kCode93, 0, "TEST93"), 0);
    EXPECT_EQ(symbolModules(rowsOf()[0], thousandths), trimRight(zintRows("CODE93", "TEST93")[0]));
    EXPECT_EQ(lineartest::textLine(), "TEST93");  // the checks are not printed
    // Without checks the row is the start, the data and the stop.
    ASSERT_EQ(make(kCode93, 0, "+", 1), 0);
    EXPECT_EQ(symbolModules(rowsOf()[0], thousandths),
              "101011110"
              "101110110"
              "1010111101");
}

TEST_F(Code93, Refusals) {
    expectRefused(kCode93, 0, "test");
    expectRefused(kCode93, 0, "A*B");
    expectRefused(kCode93, 0, "A\x8e");
}

// Code 11 elements are 1016 um narrow and 2540 um wide; zint draws 1 and 2 modules.
int32_t narrowOrWide(int32_t w) { return w > 2000 ? 2 : 1; }

TEST_F(Code11, ElementsOfSixAndDash) {
    ASSERT_EQ(make(kCode11, 0, "6"), 0);
    EXPECT_EQ(rowsOf()[0], std::string("\x82\x81\x8c\x80\x82\x80"));
    ASSERT_EQ(make(kCode11, 0, "-"), 0);
    EXPECT_EQ(rowsOf()[0], std::string("\x82\x80\x8c\x80\x82\x80"));
}

TEST_F(Code11, StartStopOnlyWhereTyped) {
    // zint with no check digit: start, the data, stop.
    ASSERT_EQ(make(kCode11, 0, "*0123456789-*"), 0);
    EXPECT_EQ(symbolModules(rowsOf()[0], narrowOrWide),
              trimRight(zintRows("CODE11", "0123456789-", "--vers=2")[0]));
    ASSERT_EQ(make(kCode11, 0, "12"), 0);
    EXPECT_EQ(rowsOf()[0].size(), 12u);  // two characters, no start, stop or check
}

TEST_F(Code11, Refusals) {
    expectRefused(kCode11, 0, "12A");
    expectRefused(kCode11, 0, "1 2");
}

}  // namespace
