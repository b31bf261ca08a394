#include <string>

#include "symbol_support.h"
#include "symbology/Code93.h"

using namespace symtest;

namespace {

using Code93 = World;
using Code11 = World;

constexpr int32_t kCode93 = 28, kCode11 = 19;

int32_t thousandths(int32_t w) { return w / 1000; }
// Code 11 elements are 1016 um narrow and 2540 um wide; zint draws 1 and 2 modules.
int32_t narrowOrWide(int32_t w) { return w > 2000 ? 2 : 1; }

TEST_F(Code93, ReadsBackWithBothChecks) {
    // "AN" has the check C of value 43, written as the shift character ($).
    for (const auto& [data, want] : {std::pair{"TEST93", "TEST93"},
                                     {"CODE 93-$/+%.", "CODE 93-$/+%."},
                                     {"\xad"
                                      "A\xa2"
                                      "A",
                                      "a\x01"},
                                     {"AN", "AN"}}) {
        SCOPED_TRACE(data);
        ASSERT_EQ(make(kCode93, 0, data), 0) << gMsg.last;
        const testsupport::Decoded d = read("Code93");
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, want);
    }
}

TEST_F(Code93, ModulesLikeZint) {
    ASSERT_EQ(make(kCode93, 0, "TEST93"), 0);
    EXPECT_EQ(symbolModules(rowsOf()[0], thousandths), trimRight(zintRows("CODE93", "TEST93")[0]));
    // Without checks the row is the start, the data and the stop.
    ASSERT_EQ(make(kCode93, 0, "+", 1), 0);
    EXPECT_EQ(symbolModules(rowsOf()[0], thousandths), "1010111101011101101010111101");
}

TEST_F(Code11, StartStopWhereTypedLikeZint) {
    // zint with no check digit: start, the data, stop.
    ASSERT_EQ(make(kCode11, 0, "*0123456789-*"), 0);
    EXPECT_EQ(symbolModules(rowsOf()[0], narrowOrWide),
              trimRight(zintRows("CODE11", "0123456789-", "--vers=2")[0]));
}

}  // namespace
