#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/world.h"
#include "support/cases.h"
#include "symbol_support.h"
#include "labels/labelDoc.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/Filters.h"
#include "symbology/state.h"

namespace {

struct Dispatcher : symtest::World {
    static void data(const std::string& d, const std::string& addOn = "") {
        symtest::setData(d, addOn);
    }
    static void type(int code, int variant = 0) {
        gSym.code = code;
        gSym.variation1 = variant;
    }
};

TEST_F(Dispatcher, EmptyDataFailsSilently) {
    type(0);
    data("");
    EXPECT_EQ(STRixel(), 1);
    EXPECT_EQ(gMsg.shown, 0);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(Dispatcher, LengthAndPrefixRules) {
    for (const auto& r : testsupport::readCases("symbology/dispatcher_rules.txt", 4)) {
        SCOPED_TRACE(r[0] + "/" + r[1] + " " + r[2]);
        SetUp();
        EXPECT_EQ(symtest::make(r.integer(0), r.integer(1), r[2]), 1);
        EXPECT_EQ(gEl.cu_len, 0);
        if (r[3] == "#65") {
            EXPECT_EQ(gMsg.last, symtest::messageText(65));
            continue;
        }
        EXPECT_EQ(gMsg.last, r[3]);
        EXPECT_EQ(gMsg.inerror, 1);
        EXPECT_EQ(std::string(gData.chMainCode), r[2]);  // data left as it was
    }
    // With a label layout open the preview shows nothing new, but it still fails.
    type(1, 2);
    data("979123456789");
    labelBack.labelWidth = 100;
    gMsg.shown = 0;
    EXPECT_EQ(STRixel(), 1);
    EXPECT_EQ(gMsg.shown, 0);
}

TEST_F(Dispatcher, LengthRuleCutsAndDropsAddOns) {
    // The names as the length rule takes them: a length byte in front.
    static const unsigned char kEan13Name[] = "\6EAN 13", kIssnName[] = "\4ISSN";
    data("4006381333931", "123");
    EXPECT_EQ(CheckLength(kEan13Name, 12, 2, 5), 0);
    EXPECT_STREQ(gData.chMainCode, "400638133393");
    EXPECT_EQ(gData.len1, 12);
    EXPECT_EQ(gData.len2, 0);  // a 3-digit add-on is dropped
    type(2);
    data("03178475");
    EXPECT_EQ(CheckLength(kIssnName, 7, 2, 5), 0);
    EXPECT_STREQ(gData.chMainCode, "03178475");  // ISSN data is never cut
}

TEST_F(Dispatcher, LettersAreRefusedBeforeAnyCheckDigit) {
    for (int code : {0, 1, 2, 3, 4, 10, 11, 14, 16, 25}) {
        SCOPED_TRACE(code);
        type(code);
        data("40063A133393");
        gMsg.shown = 0;
        EXPECT_EQ(STRixel(), 1);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_NE(gMsg.last.find("digits only"), std::string::npos) << gMsg.last;
        EXPECT_STREQ(gData.chMainCode, "40063A133393");
    }
    type(0);
    data("400638133393", "52A95");
    EXPECT_EQ(STRixel(), 1);
    EXPECT_NE(gMsg.last.find("add-on"), std::string::npos);
}

TEST_F(Dispatcher, QROptions) {
    const struct {
        const char* text;
        int32_t level, version;
    } cases[] = {{"H1", 3, 1},   {"M12", 1, 12}, {"", 0, 1}, {"Q4", 2, 4},
                 {"H40", 3, 40}, {"q09", 2, 9},  {"L", 0, 1}};
    int32_t level = -1, version = -1;
    for (const auto& c : cases) {
        EXPECT_TRUE(parseQROptions(c.text, &level, &version)) << c.text;
        EXPECT_EQ(std::pair(level, version), std::pair(c.level, c.version)) << c.text;
    }
    for (const char* bad : {"x", "H41", "H0", "H400", "M1x", "H 4"})
        EXPECT_FALSE(parseQROptions(bad, &level, &version)) << bad;
}

TEST_F(Dispatcher, FittingTheMagnificationToALength) {
    type(21);
    data("0123456789");
    gSym.lMode = 1;
    getCodeScale(100);
    EXPECT_EQ(gSym.Siz, 135);  // W = 74.676 mm; 10000 / 74

    gSym.Siz = 100;
    gSym.lMode = 0;
    getCodeScale(100);
    EXPECT_EQ(gSym.Siz, 100);  // no fitting asked for

    type(0);
    data("400638133393", "12");
    gSym.lMode = 1;
    getCodeScale(20);
    EXPECT_EQ(gSym.Siz, 44);  // 2000 / 45 with a 2-digit add-on
    getCodeScale(5);
    EXPECT_EQ(gSym.Siz, 10);  // 500 / 45 = 11, below 12 becomes 10
}

// Made twice from the same data, a prefix and its check digit go in once.
TEST_F(Dispatcher, RetailPrefixesAreAddedOnce) {
    const struct {
        int code, variant;
        const char* data;
        const char* main;
    } cases[] = {{0, 6, "12345", "5015025123455"},
                 {0, 12, "12345678", "4850123456781"},
                 {38, 2, "0112345678901231", "\\10112345678901231"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        type(c.code, c.variant);
        data(c.data);
        STRixel();
        EXPECT_STREQ(gData.chMainCode, c.main);
        const std::string list(reinterpret_cast<const char*>(gEl.chNum), gEl.cu_len);
        const std::string head = gData.chHeadCode;
        STRixel();
        EXPECT_STREQ(gData.chMainCode, c.main);
        EXPECT_EQ(gData.chHeadCode, head);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(gEl.chNum), gEl.cu_len), list);
    }
}

TEST_F(Dispatcher, PlusAndPipHeadersMustFit) {
    type(27);
    data("400638133393", std::string(200, '7'));
    EXPECT_EQ(STRixel(), 1);
    EXPECT_NE(gMsg.last.find("too long"), std::string::npos);
    type(26);
    data("400638133393", "AB");
    STRixel();
    EXPECT_STREQ(gData.chHeadCode, "AB ");
    EXPECT_EQ(gData.len2, 0);
}

TEST_F(Dispatcher, UnknownAndLegacyFamiliesNeverSucceedEmpty) {
    for (int code : {33, 43, -1, 99}) {
        SCOPED_TRACE(code);
        type(code);
        data("1234567");
        gMsg.shown = 0;
        EXPECT_EQ(STRixel(), 1);
        EXPECT_EQ(gMsg.shown, 1);
    }
    type(18);
    data("1234567");
    STRixel();
    EXPECT_EQ(gSym.code, 4);
}

// Every family, every buffer edge: no result 0 with an empty list, nothing past
// a buffer (the sanitizers watch), and a well-formed list on success.
TEST_F(Dispatcher, EveryFamilyAtTheBufferEdges) {
    const std::string samples[] = {"",
                                   "1",
                                   std::string(2047, '7'),
                                   std::string(2047, 'A'),
                                   "(01)12345678901231",
                                   "\\1\\2\\d255"};
    for (int code = 0; code <= 42; ++code) {
        for (int variant : {0, 1, 2, 255}) {
            for (const std::string& s : samples) {
                resetWorld();
                gMsg.quiet = true;
                type(code, variant);
                data(s, "12345");
                int32_t r = STRixel();
                SCOPED_TRACE(std::to_string(code) + "/" + std::to_string(variant) + " len " +
                             std::to_string(s.size()));
                if (r == 0) {
                    EXPECT_GT(gEl.cu_len, 0);
                    EXPECT_LE(gEl.cu_len, static_cast<int32_t>(kElementListSize));
                } else {
                    EXPECT_EQ(gEl.cu_len, 0);
                    if (!s.empty()) {
                        EXPECT_GT(gMsg.shown, 0);
                    }
                }
            }
        }
    }
}

TEST(DataSplit, OverlongEntriesStayInsideTheBuffers) {
    resetWorld();
    gSym.code = 5;
    std::string big(5000, 'x');
    std::string addOn(5000, '1');
    Gettw(big.c_str(), 5000, addOn.c_str(), 5000);
    EXPECT_EQ(gData.len1, static_cast<int32_t>(kMainCodeSize - 1));
    EXPECT_EQ(gData.len2, static_cast<int32_t>(kAddCodeSize - 1));
    EXPECT_EQ(gData.chMainCode[kMainCodeSize - 1], 0);
}

TEST(DataSplit, SeparatorsByCodeType) {
    resetWorld();
    gSym.code = 0;
    Gettw("400-638 133393", 14, "52 4-95", 7);
    EXPECT_STREQ(gData.chMainCode, "400638133393");
    EXPECT_STREQ(gData.chMainCode2, "400638133393");
    EXPECT_STREQ(gData.chAddCode, "52495");
    gSym.code = 1;
    Gettw("0-306-40615", 11, "", 0);
    EXPECT_STREQ(gData.chMainCode, "030640615");
    EXPECT_STREQ(gData.chMainCode2, "0-306-40615");
    for (int code : {5, 8, 36, 39}) {
        gSym.code = code;
        Gettw("A-B C", 5, "", 0);
        EXPECT_STREQ(gData.chMainCode, "A-B C") << code;
    }
}

// A check digit or a leading zero only while the data stays inside its buffer.
TEST(Dispatcher2, CheckDigitAndLeadingZeroOnlyInsideTheBuffer) {
    resetWorld();
    copyBounded(gData.chMainCode, "400638133393");
    gData.len1 = 12;
    calcheck();
    EXPECT_STREQ(gData.chMainCode, "4006381333931");
    for (void (*grow)() : {calcheck, Len, LenEven}) {
        for (int32_t len : {-1, -5000, -5001, static_cast<int32_t>(kMainCodeSize) - 1, 1 << 30}) {
            gData.len1 = len;
            grow();
            EXPECT_EQ(gData.len1, len);
            EXPECT_STREQ(gData.chMainCode, "4006381333931");
        }
    }
}

TEST(Dispatcher2, UnterminatedDataIsReadWithinItsBuffer) {
    resetWorld();
    gMsg.quiet = true;
    std::memset(gData.chMainCode, '1', kMainCodeSize);  // no NUL at all
    gSym.code = 9;
    EXPECT_EQ(STRixel(), 1);  // far longer than the type takes
    EXPECT_EQ(gEl.cu_len, 0);
}

// Bar heights that would repeat a row past the element list never overflow it:
// the row builders stop early, and the dispatcher refuses any list that filled.
TEST(Dispatcher3, TallSymbolsStayInsideTheList) {
    struct {
        int code;
        const char* data;
    } cases[] = {{0, "400638133393"}, {10, "03600029145"},       {11, "01234500006"},
                 {5, "ABC123"},       {7, "(01)15400141288763"}, {3, "9638507"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        resetWorld();
        gMsg.quiet = true;
        gSym.Hei = 100000;
        const int32_t r = symtest::make(c.code, 0, c.data);
        EXPECT_LE(gEl.cu_len, static_cast<int32_t>(kElementListSize));
        EXPECT_FALSE(gEl.overflow);
        if (r == 1) {
            EXPECT_EQ(gEl.cu_len, 0);
            EXPECT_GT(gMsg.shown, 0);
        }
    }
}

// The text line of M&S Top Bottom prints the digits, not the symbol bytes that
// the encoder leaves in the data.
TEST(RetailText, TopBottomPrintsItsDigits) {
    resetWorld();
    gMsg.quiet = true;
    gSym.variation = 2;
    ASSERT_EQ(symtest::make(34, 0, "1234567891"), 0);
    std::string digits;
    for (unsigned char b : symtest::textLine()) {
        if (b >= '0' + 126 && b <= '9' + 126)
            digits += static_cast<char>(b - 126);
        else
            EXPECT_TRUE(b == '=' || b == 'T' || b == 'B' || b == 'L' || b == 'R') << int(b);
    }
    EXPECT_EQ(digits, "1234567");
}

}  // namespace
