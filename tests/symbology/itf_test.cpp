// Interleaved 2 of 5 and ITF-6: read back by zxing-cpp from the element list,
// the dispatcher's length rules and the text line of each variant.
#include <algorithm>
#include <cstring>
#include <string>

#include "symbol_support.h"

namespace {

using symtest::make;
using symtest::messageOf;

struct Itf : symtest::World {
    static std::string read() { return symtest::read("ITF", {}, 1.0 / 250.0).text; }
    // The text line without its gaps ('?').
    static std::string textLine() {
        std::string s = symtest::textLine();
        s.erase(std::remove(s.begin(), s.end(), '?'), s.end());
        return s;
    }
    static int count(unsigned char b, int32_t from, int32_t to) {
        return static_cast<int>(std::count(gEl.chNum + from, gEl.chNum + to, b));
    }
};

char gs1Check(const std::string& d) {
    int sum = 0;
    for (size_t i = 0; i < d.size(); ++i) sum += (d[d.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

TEST_F(Itf, ShippingContainerAndOtherLengthsRead) {
    ASSERT_EQ(make(4, 0, "1540014128876"), 0);
    EXPECT_EQ(read(), "15400141288763");
    EXPECT_EQ(textLine(), "15400141288763");
    const std::string d44 = "12345678901234567890123456789012345678901234";
    for (const std::string& d : {std::string("123456"), std::string("12345678"), d44}) {
        SCOPED_TRACE(d);
        ASSERT_EQ(make(4, 0, d, 1), 0) << gMsg.last;
        EXPECT_EQ(read(), d);
    }
}

// Each variant's digits as a reader sees them, with and without the check digit.
TEST_F(Itf, EveryVariantReadsWithAndWithoutItsCheck) {
    for (const auto& r : testsupport::readCases("symbology/itf_variants.txt", 5)) {
        SCOPED_TRACE(r[0]);
        const int variant = r.integer(0);
        ASSERT_EQ(make(4, variant, r[1], 0), 0) << gMsg.last;
        const std::string want = r[3].size() % 2 == 0 ? "0" + r[3] : r[3];
        EXPECT_EQ(read(), want + gs1Check(want));
        ASSERT_EQ(make(4, variant, r[2], 1), 0) << gMsg.last;
        EXPECT_EQ(read(), r[4]);
    }
}

TEST_F(Itf, WrongLengthsGetTheFamilysMessages) {
    EXPECT_EQ(make(4, 0, "123456789012"), 1);
    EXPECT_EQ(gMsg.last, messageOf(29));
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_EQ(make(4, 6, "012345678901"), 1);
    EXPECT_EQ(gMsg.last, messageOf(67));
    EXPECT_EQ(make(4, 6, "1234567"), 1);  // must begin with 0
    EXPECT_EQ(gMsg.last, messageOf(67));
    EXPECT_EQ(make(4, 7, "123456789"), 1);
    EXPECT_EQ(gMsg.last, messageOf(29));
    EXPECT_EQ(make(4, 0, "123456", 0), 1);
    EXPECT_EQ(make(4, 0, "1234567", 0), 0);
}

TEST_F(Itf, TextLinesShowTheDataAsTyped) {
    ASSERT_EQ(make(4, 2, "M1234567"), 0);
    EXPECT_EQ(read().substr(0, 2), "23");
    EXPECT_EQ(textLine(), std::string("M1234567") + gs1Check("231234567"));
    ASSERT_EQ(make(4, 14, "12345678"), 0);
    EXPECT_EQ(textLine(), std::string("123-456-78") + gs1Check("912345678"));
    // Accessorize10: the ten digits, the check digit not shown, nothing read past them.
    ASSERT_EQ(make(4, 7, "1234567890"), 0);
    EXPECT_EQ(textLine(), "1234567890");
    ASSERT_EQ(make(4, 3, "1234567890123"), 0);
    const std::string line = textLine();
    EXPECT_EQ(line.substr(line.size() - 2), std::string(" ") + gs1Check("01234567890123"));
}

TEST_F(Itf, LightMarginsGaugesAndRatios) {
    auto rowEnd = [] {
        return static_cast<int32_t>(
            static_cast<const unsigned char*>(std::memchr(gEl.chNum, 13, gEl.cu_len)) - gEl.chNum);
    };
    ASSERT_EQ(make(4, 0, "1234567"), 0);
    EXPECT_EQ(count(160, 0, rowEnd()), 20);
    gSym.Hgauge = 1;
    ASSERT_EQ(make(4, 0, "1234567"), 0);
    EXPECT_EQ(count(160, 0, rowEnd()), 26);
    EXPECT_EQ(gEl.chNum[0], 160);

    // Every ratio reads, one outside the table too (chosen from the size).
    for (int ratio : {0, 2, 3, 5, 1, -1}) {
        SCOPED_TRACE(ratio);
        gSym.ratio = ratio;
        ASSERT_EQ(make(4, 0, "1540014128876"), 0);
        EXPECT_EQ(read(), "15400141288763");
        const std::string nw =
            testsupport::narrowWide(testsupport::elementRuns(gEl.chNum, gEl.cu_len));
        EXPECT_NE(nw.find('W'), std::string::npos);
    }
    // 3:1 wide bars are three narrow bar bytes, the width step on the last.
    gSym.ratio = 3;
    gSym.BW = 2;
    ASSERT_EQ(make(4, 0, "1234567"), 0);
    const unsigned char wide3[] = {130, 130, 132};
    EXPECT_NE(std::search(gEl.chNum, gEl.chNum + gEl.cu_len, wide3, wide3 + 3),
              gEl.chNum + gEl.cu_len);
}

TEST_F(Itf, BearerVariantHasOuterBars) {
    ASSERT_EQ(make(4, 1, "1234567"), 0);
    EXPECT_EQ(gEl.chNum[0], 140);
    const unsigned char* end =
        static_cast<const unsigned char*>(std::memchr(gEl.chNum, 13, gEl.cu_len));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end[-1], 140);
}

// zint's module rows agree element for element (2.5:1 against its 3:1).
TEST_F(Itf, ModuleRowsAgreeWithZint) {
    for (const char* d : {"12345678", "1540014128876"}) {
        SCOPED_TRACE(d);
        const std::string data(d);
        ASSERT_EQ(make(4, 0, data, data.size() % 2 == 0 ? 1 : 0), 0);
        std::string zdata = data.size() % 2 == 0 ? data : data + gs1Check(data);
        EXPECT_EQ(testsupport::narrowWide(testsupport::elementRuns(gEl.chNum, gEl.cu_len)),
                  testsupport::narrowWide(testsupport::zintRuns(3, zdata)));
    }
}

TEST_F(Itf, SixDigitsWithoutCheck) {
    gSym.human = 0;
    ASSERT_EQ(make(14, 0, "12345"), 0);
    EXPECT_EQ(read(), "012345");
    EXPECT_NE(gEl.chNum[gEl.cu_len - 1], 13);
    EXPECT_STREQ(gData.chHeadCode, "012345");
}

}  // namespace
