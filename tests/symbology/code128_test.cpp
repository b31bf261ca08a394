#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/world.h"
#include "support/reader.h"
#include "symbology/Code128.h"
#include "symbology/GS1AI.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

using testsupport::decode;
using testsupport::Decoded;
using testsupport::LinearOptions;
using testsupport::rasteriseElementList;

struct Code128 : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }
    static void setData(const std::string& data) {
        ASSERT_LT(data.size(), kMainCodeSize);
        std::memcpy(gData.chMainCode, data.data(), data.size());
        gData.chMainCode[data.size()] = 0;
        std::memcpy(gData.chMainCode2, data.data(), data.size());
        gData.chMainCode2[data.size()] = 0;
        gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
    }
    // Encodes as the dispatcher would for the code type.
    static int32_t encode(int code, int variant, const std::string& data) {
        gSym.code = code;
        gSym.variation1 = variant;
        setData(data);
        gEl.clear();
        if (code == 5 && variant == 7) return JCPenney();
        if (code == 13) return MSBel();
        if (code == 15 || code == 34) return MSShoe();
        return OneTwoEight();
    }
    static Decoded read() {
        LinearOptions opt;
        opt.firstRowOnly = true;
        return decode(rasteriseElementList(gEl.chNum, gEl.cu_len, opt), "Code128");
    }
    // The symbol bytes that the encoder left in chMainCode (start to check character).
    static std::vector<int> symbols() {
        std::vector<int> s;
        for (int i = 0; i < gData.len1; ++i)
            s.push_back(static_cast<unsigned char>(gData.chMainCode[i]));
        return s;
    }
    static bool contains(const std::vector<int>& s, const std::vector<int>& run) {
        for (size_t i = 0; i + run.size() <= s.size(); ++i)
            if (std::equal(run.begin(), run.end(), s.begin() + static_cast<long>(i))) return true;
        return false;
    }
    // The text of message n, leaving the message state as it was.
    static std::string messageOf(uint16_t n) {
        const MessageState saved = gMsg;
        Message(n);
        std::string text = gMsg.last;
        gMsg = saved;
        return text;
    }
    // A refusal: result 1, the message shown, nothing left in the element list.
    static void expectRefused(int code, int variant, const std::string& data, uint16_t message) {
        const std::string expected = messageOf(message);
        gMsg.last.clear();
        gMsg.inerror = 0;
        EXPECT_EQ(encode(code, variant, data), 1) << data;
        EXPECT_EQ(gMsg.last, expected) << data;
        EXPECT_EQ(gMsg.inerror, 1);
        EXPECT_EQ(gEl.cu_len, 0);
    }
};

// Code 128 reads back exactly the data, through an outside decoder.
TEST_F(Code128, DecodesTheData) {
    std::string mixed;
    for (int i = 0; i < 80; ++i) mixed += "Ab3 9x-Z01234/qR"[i % 16];
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1234", "1234"},
        {"123", "123"},
        {"12345", "12345"},
        {"AB1", "AB1"},
        {"AB123456cd7890123e", "AB123456cd7890123e"},
        {"1234\\n5678", "1234\n5678"},  // C to B, B to A, A to B, B to C
        {"\\d065BC", "ABC"},
        {"AB\\ncd\\tx\\ry", "AB\ncd\tx\ry"},
        {"x\\d010\\d010y", "x\n\ny"},
        {mixed, mixed},
    };
    for (const auto& [data, expected] : cases) {
        ASSERT_EQ(encode(5, 0, data), 0) << data;
        const Decoded d = read();
        EXPECT_TRUE(d.ok) << data << ": " << d.error;
        EXPECT_EQ(d.bytes, expected) << data;
        EXPECT_EQ(d.symbologyId, "]C0") << data;
    }
}

// Every control character travels through code set A and DEL through set B, in
// every variant that can switch; the reader checks the check character.
TEST_F(Code128, ControlCharactersAndDelete) {
    std::string everyControl, everyControlEscaped;
    for (int c = 1; c <= 31; ++c) {
        everyControl += static_cast<char>(c);
        char esc[8];
        std::snprintf(esc, sizeof esc, "\\d%03d", c);
        everyControlEscaped += esc;
    }
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\\d001a\\d002b\\d003c",
         "\x01"
         "a\x02"
         "b\x03"
         "c"},
        {"\\d001\\d002ABC\\d031",
         "\x01\x02"
         "ABC\x1F"},
        {"\\d001\\d001", "\x01\x01"},  // only HT, LF and CR travel as pairs
        {"12345678\\d00712",
         "12345678\x07"
         "12"},
        {"a\\d127b",
         "a\x7F"
         "b"},
        {"A\\d127B",
         "A\x7F"
         "B"},
        {everyControlEscaped, everyControl},
    };
    for (int variant : {0, 5, 8}) {
        for (const auto& [data, expected] : cases) {
            const bool lowerCase = data.find_first_of("abc") != std::string::npos;
            if (variant == 5 && lowerCase) continue;  // Code 128 A has no lower case
            ASSERT_EQ(encode(5, variant, data), 0) << variant << " " << data;
            const Decoded d = read();
            EXPECT_TRUE(d.ok) << variant << " " << data << ": " << d.error;
            EXPECT_EQ(d.bytes, expected) << variant << " " << data;
        }
    }
}

// Every value of the symbol table, read back by the outside decoder.
TEST_F(Code128, EveryPatternReads) {
    std::string setB;
    for (int c = 32; c < 128; ++c) setB += static_cast<char>(c);  // values 0 to 95
    ASSERT_EQ(encode(5, 8, setB), 0);
    EXPECT_EQ(read().bytes, setB);

    std::string pairs;  // code set C values 0 to 99
    for (int v = 0; v < 100; ++v) pairs += std::to_string(v / 10) + std::to_string(v % 10);
    ASSERT_EQ(encode(5, 0, pairs), 0);
    EXPECT_EQ(read().bytes, pairs);

    // START A, SHIFT, FNC2, FNC3 and FNC4 in set A; the function characters read
    // as nothing of their own here.
    ASSERT_EQ(encode(5, 5, "A\\d234aB\\2C"), 0);
    EXPECT_EQ(symbols()[0], kStartA);
    EXPECT_EQ(read().bytes, "AaBC");
    ASSERT_EQ(encode(5, 8, "A\\3B"), 0);
    EXPECT_EQ(read().bytes, "AB");
    ASSERT_EQ(encode(5, 5, "A\\4B"), 0);
    EXPECT_EQ(read().bytes, "A\xC2");
}

// The module writer that Code 93 and Telepen share: bars at odd places, spaces
// at even places, the bar-width step on the last byte of a bar only.
TEST_F(Code128, MakerModuleSets) {
    const unsigned char pattern[] = {5, '1', '2', '3', 'x', '4'};
    auto bytes = [&] {
        gEl.clear();
        Maker2(pattern);
        return std::vector<int>(gEl.chNum, gEl.chNum + gEl.cu_len);
    };
    gSym.code = 5;
    EXPECT_EQ(bytes(), (std::vector<int>{190, ';', ';', 254, 208}));  // 'x' keeps its space place
    gSym.BW = 2;
    EXPECT_EQ(bytes(), (std::vector<int>{192, ';', ';', 204, 210}));
    gSym.code = 28;
    EXPECT_EQ(bytes(), (std::vector<int>{186, '|', 184, 184, 186, 184, 184, 184, 186}));
    gSym.BW = 0;
    const unsigned char spaces[] = {8, '1', '1', '1', '2', '1', '3', '1', '4'};
    gEl.clear();
    Maker2(spaces);
    EXPECT_EQ(std::vector<int>(gEl.chNum, gEl.chNum + gEl.cu_len),
              (std::vector<int>{184, '{', 184, '|', 184, '/', 184, 255}));
}

TEST_F(Code128, ChoosesCodeSets) {
    ASSERT_EQ(encode(5, 0, "1234"), 0);
    EXPECT_EQ(symbols(), (std::vector<int>{kStartC, 32 + 12, 32 + 34, symbols()[3]}));

    ASSERT_EQ(encode(5, 0, "123"), 0);
    EXPECT_EQ(symbols(), (std::vector<int>{kStartB, '1', '2', '3', symbols()[4]}));

    ASSERT_EQ(encode(5, 0, "12345"), 0);
    EXPECT_EQ(symbols(), (std::vector<int>{kStartC, 44, 66, kCodeB, '5', symbols()[5]}));

    // The check character weights the start character and the first data
    // character by 1: START B (104) + 'A' (33) + 2 x 'B' (34) = 205 = 103 + 102.
    ASSERT_EQ(encode(5, 0, "AB"), 0);
    EXPECT_EQ(symbols()[3], 102 + 32);

    // Fixed start characters, whatever the data.
    ASSERT_EQ(encode(5, 5, "1234"), 0);
    EXPECT_EQ(symbols()[0], kStartA);
    EXPECT_EQ(read().bytes, "1234");
    ASSERT_EQ(encode(5, 8, "1234"), 0);
    EXPECT_EQ(symbols()[0], kStartB);
    EXPECT_EQ(read().bytes, "1234");

    // Variant 1 has no check character.
    ASSERT_EQ(encode(5, 1, "AB"), 0);
    EXPECT_EQ(symbols(), (std::vector<int>{kStartB, 'A', 'B'}));
}

TEST_F(Code128, SwitchesInEveryDirection) {
    // Code 128 A: CODE C typed as \d141, a line feed inside set C, CODE B as \d186.
    ASSERT_EQ(encode(5, 5, "AB\\d1411234\\n56\\d186xy"), 0);
    const std::vector<int> s = symbols();
    EXPECT_TRUE(contains(s, {'B', kCodeC, 44, 66, kCodeA, 10, kCodeC, 88, kCodeB, 'x'}));
    EXPECT_EQ(read().bytes, "AB1234\n56xy");

    ASSERT_EQ(encode(5, 0, "1234\\n5678"), 0);
    EXPECT_TRUE(contains(symbols(), {66, kCodeB, kCodeA, 10, kCodeB, kCodeC, 88}));

    // A lone digit after a typed CODE C goes back to set B.
    ASSERT_EQ(encode(5, 8, "x\\d141123"), 0);
    EXPECT_EQ(read().bytes, "x123");
}

TEST_F(Code128, EscapesAndPrintedCopy) {
    ASSERT_EQ(encode(5, 0, "AB\\1CD"), 0);
    EXPECT_EQ(read().bytes,
              "AB\x1D"
              "CD");  // FNC1 inside the data reads as GS
    ASSERT_EQ(encode(5, 0, "AB\\ncd"), 0);
    EXPECT_STREQ(gData.chMainCode2, "ABcd");
    EXPECT_EQ(gData.len11, 4);
    ASSERT_EQ(encode(5, 0, "\\d065BC"), 0);
    EXPECT_STREQ(gData.chMainCode2, "ABC");

    // Value 95 typed as its marker byte counts as 95 in the check character.
    ASSERT_EQ(encode(5, 8, "A\\d235"), 0);
    EXPECT_EQ(read().bytes, "A\x7F");
}

TEST_F(Code128, RefusesWhatItCannotEncode) {
    expectRefused(5, 5, "ABc", msg128::kLowerInSetA);
    expectRefused(5, 0, "ab\\d140cd", msg128::kLowerInSetA);  // typed CODE A, then lower case
    expectRefused(5, 0, "A\\d200", msg128::kNotEncodable);
    expectRefused(5, 0, "A\\d135B", msg128::kNotEncodable);  // START A inside the data
    expectRefused(5, 8, "\\d14112AB", msg128::kNotInSetC);
    for (const char* bad : {"\\d999", "\\d12", "\\dab1", "\\d000", "A\\d"})
        expectRefused(5, 0, bad, msg128::kBadEscape);
    expectRefused(5, 0, "", msg128::kEmpty);
}

TEST_F(Code128, LongDataIsRefusedNotTruncated) {
    // The prepared string holds 254 symbol characters with the start character.
    ASSERT_EQ(encode(5, 0, std::string(253, 'A')), 0);
    EXPECT_EQ(read().bytes, std::string(253, 'A'));
    // Digits pass the code-set work buffer before they are paired.
    ASSERT_EQ(encode(5, 0, std::string(252, '7')), 0);
    EXPECT_EQ(read().bytes, std::string(252, '7'));
    expectRefused(5, 0, std::string(300, '7'), msg128::kTooLong);
    expectRefused(5, 0, std::string(254, 'A'), msg128::kTooLong);
    expectRefused(5, 8, std::string(254, 'A'), msg128::kTooLong);
    expectRefused(5, 0, std::string(2047, 'A'), msg128::kTooLong);
    expectRefused(7, 0, std::string(2047, '1'), kMsgGS1TooLong);

    // A length past the buffer (3000 characters asked for) reads only the buffer.
    std::memset(gData.chMainCode, 'A', kMainCodeSize - 1);
    gData.chMainCode[kMainCodeSize - 1] = 0;
    gData.len1 = 3000;
    gSym.code = 5;
    EXPECT_EQ(OneTwoEight(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(Code128, Proc128CountsSymbolCharactersForTheFit) {
    setData("12345");
    gSym.code = 5;
    ASSERT_EQ(Proc128(), 0);
    EXPECT_EQ(gData.len1, 5);  // START C, 12, 34, CODE B, 5
    setData("ABc");
    gSym.variation1 = 5;
    EXPECT_EQ(Proc128(), 1);
    EXPECT_EQ(lastProc128Fault(), C128Fault::LowerInSetA);
    EXPECT_EQ(gMsg.shown, 0);  // the fit runs quietly
}

// Through the dispatcher, as the picture and vector output call it.
TEST_F(Code128, ThroughTheDispatcher) {
    const struct {
        int code, variant;
        const char* data;
        const char* expected;
    } cases[] = {
        {5, 0, "Strixel 128", "Strixel 128"},
        {7, 0, "(01)1540014128876(10)AB1",
         "01154001412887631"
         "0AB1"},
        {13, 0, "12345678901234567801", "12345678901234567807"},  // cut to 19 digits
        {15, 0, "0123456789", "0123456789"},
    };
    for (const auto& c : cases) {
        gSym.code = c.code;
        gSym.variation1 = c.variant;
        setData(c.data);
        ASSERT_EQ(STRixel(), 0) << c.data;
        EXPECT_EQ(read().bytes, c.expected) << c.data;
    }
    gSym.code = 5;
    gSym.variation1 = 5;
    setData("abc");
    EXPECT_EQ(STRixel(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_EQ(gMsg.last, messageOf(msg128::kLowerInSetA));
}

// Random data of every kind: each result is either a symbol that the outside
// decoder reads (exactly the data, when it holds no escapes or markers) or a
// refusal with a message; the sanitizers watch the buffers.
TEST_F(Code128, RandomDataScansOrIsRefused) {
    std::mt19937 rng(128);
    const std::string alphabet =
        "0123456789012345678901234567890123456789ABCxyz ()\\dnrt1234-#:;/"
        "\x09\x0A\x0D\x7F\x80\x81\x83\x84\x85\x86\x87\x8C\x8D\xA9\xBA\xC4\xC6\xDA\xDD\xEA\xEB\xFA";
    const int kinds[][2] = {{5, 0}, {5, 1},  {5, 2},  {5, 3},  {5, 4}, {5, 5},  {5, 8}, {5, 13},
                            {7, 0}, {7, 10}, {7, 12}, {7, 14}, {5, 7}, {13, 0}, {15, 0}};
    for (int round = 0; round < 1500; ++round) {
        const auto& kind = kinds[round % (sizeof kinds / sizeof kinds[0])];
        const int mode = static_cast<int>(rng() % 3);  // mixed, printable ASCII, digits
        const bool plain = mode == 1;
        size_t length = 1 + rng() % (round % 7 == 0 ? 300 : 40);
        if (mode == 2 && rng() % 2 == 0) length = 9 + rng() % 12;  // near the retail lengths
        std::string data;
        for (size_t i = 0; i < length; ++i)
            data += mode == 1   ? static_cast<char>(32 + rng() % 95)
                    : mode == 2 ? static_cast<char>('0' + rng() % 10)
                                : alphabet[rng() % alphabet.size()];
        if (plain)
            for (char& c : data)
                if (c == '\\') c = '/';
        resetMessages();
        gMsg.quiet = true;
        const int32_t result = encode(kind[0], kind[1], data);
        if (result != 0) {
            EXPECT_NE(gMsg.last, "") << kind[0] << "/" << kind[1] << " " << data;
            continue;
        }
        if (kind[1] == 1) continue;  // no check character: no reader takes it
        const Decoded d = read();
        EXPECT_TRUE(d.ok) << kind[0] << "/" << kind[1] << " " << data << ": " << d.error;
        if (plain && kind[0] == 5 && kind[1] != 4 && kind[1] != 7 && kind[1] != 13) {
            EXPECT_EQ(d.bytes, data);
        }
    }
}

struct GS1128 : Code128 {};

TEST_F(GS1128, CompletesTheCheckDigitAndReadsAsGS1) {
    ASSERT_EQ(encode(7, 0, "(01)1540014128876(17)251231(10)AB1"), 0);
    const Decoded d = read();
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.symbologyId, "]C1");
    EXPECT_EQ(d.bytes, "01154001412887631725123110AB1");
    // The text line prints the AIs with the completed check digit; the bar font
    // draws the brackets as '>' and '<'.
    EXPECT_STREQ(gData.chMainCode2, "(01)15400141288763(17)251231(10)AB1");
    const std::string list(reinterpret_cast<const char*>(gEl.chNum), gEl.cu_len);
    EXPECT_NE(list.find(">01<15400141288763>17<251231>10<AB1"), std::string::npos);
}

TEST_F(GS1128, SymbolCharacters) {
    // START C, FNC1, 13 pairs, CODE B, the lot, the check character: no FNC1 at the end.
    gSym.code = 7;
    setData("(01)15400141288763(17)251231(10)AB1");
    ASSERT_EQ(Proc128(), 0);
    const std::vector<int> s = symbols();
    ASSERT_EQ(s.size(), 19u);
    EXPECT_EQ(s[0], kStartC);
    EXPECT_EQ(s[1], kFNC1);
    EXPECT_EQ(s[2], 32 + 1);
    EXPECT_EQ(s[15], kCodeB);
    EXPECT_EQ(std::string(s.begin() + 16, s.end()), "AB1");
}

TEST_F(GS1128, SeparatesVariableElements) {
    ASSERT_EQ(encode(7, 0, "(10)ABC(21)123"), 0);
    EXPECT_EQ(read().bytes,
              "10ABC\x1D"
              "21123");
    ASSERT_EQ(encode(7, 0, "(10)ABC"), 0);
    EXPECT_EQ(read().bytes, "10ABC");
    // Spaces are left out of the symbol but kept in the text line.
    ASSERT_EQ(encode(7, 0, "(10) AB 1"), 0);
    EXPECT_EQ(read().bytes, "10AB1");
    EXPECT_STREQ(gData.chMainCode2, "(10) AB 1");
}

TEST_F(GS1128, NumberVariants) {
    ASSERT_EQ(encode(7, 10, "1234567890123"), 0);
    EXPECT_EQ(read().bytes, "0112345678901231");
    EXPECT_STREQ(gData.chMainCode2, "(01)12345678901231");
    ASSERT_EQ(encode(7, 11, "234567890123"), 0);  // 12 digits: a leading zero
    EXPECT_EQ(read().bytes, "0102345678901234");
    ASSERT_EQ(encode(7, 12, "10614141123456789"), 0);
    EXPECT_EQ(read().symbologyId, "]C1");
    EXPECT_EQ(read().bytes, "00106141411234567897");
    EXPECT_STREQ(gData.chMainCode2, "(00)106141411234567897");

    expectRefused(7, 10, "12345678901", msg128::kEAN14Length);
    expectRefused(7, 10, "12345678901234", msg128::kEAN14Length);
    expectRefused(7, 12, "1061414112345678A", msg128::kSSCCLength);
}

// The DataBar road: '#' separators, no check digit completed, the program's table.
TEST_F(GS1128, FilterKeepsTheProgramsTable) {
    gSym.code = 37;
    const std::string x33(33, 'x'), x34(34, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"(01)1540014128876(10)AB(21)C", "01154001412887610AB#21C"},
        // (90) takes up to 33 characters: the separator follows only an element
        // that the next '(' ended.
        {"(90)" + x33 + "(10)1", "90" + x33 + "#101"},
        {"(90)" + x34 + "(10)1", "90" + x34 + "101"},
        {"(8020)ABC(10)1", "8020ABC#101"},
        {"(17)251231(20)12(10)1", "172512312012101"},
    };
    for (const auto& [data, want] : cases) {
        setData(data);
        ASSERT_EQ(EAN_APP_ID_FILTER(0, '#'), 0) << data;
        EXPECT_EQ(std::string(gData.chMainCode), want);
    }
    setData(std::string(255, '1'));
    EXPECT_EQ(EAN_APP_ID_FILTER(0, '#'), 1);
    EXPECT_EQ(gMsg.last, messageOf(kMsgGS1TooLong));
    EXPECT_EQ(calcheck2("1540014128876?", 14), '3');
}

struct Retail : Code128 {};

TEST_F(Retail, DecodeToTheirDigits) {
    ASSERT_EQ(encode(5, 7, "12345"), 0);  // JC Penney appends '0'
    EXPECT_EQ(read().bytes, "123450");
    ASSERT_EQ(encode(5, 7, "123456"), 0);  // drops the sixth, then appends '0'
    EXPECT_EQ(read().bytes, "123450");
    EXPECT_STREQ(gData.chMainCode2, "12345");

    // M&S BEL: weight 3 on the even positions; (1+3+5+7+9+1+3+5+7+0) x 3 + 40 = 163.
    // Code type 34 draws with the 1000-unit module.
    for (const auto& [code, data, want] :
         {std::tuple{13, "1234567890123456780", "12345678901234567807"},
          std::tuple{15, "0123456789", "0123456789"}, std::tuple{34, "9876543210", "9876543210"}}) {
        ASSERT_EQ(encode(code, 0, data), 0) << code;
        EXPECT_EQ(read().bytes, want) << code;
    }

    expectRefused(5, 7, "12A45", msg128::kDigitsOnly);
    expectRefused(13, 0, "123456789012345678", msg128::kRetailLength);
    expectRefused(15, 0, "01234567A9", msg128::kDigitsOnly);
}

TEST_F(Retail, ApexCheckLetter) {
    // Character codes of the decimal digits of each byte, weights 22 down to 7:
    // "12345678" sums to 12120, remainder 22, letter 'B'.
    ASSERT_EQ(encode(5, 4, "1234567890"), 0);
    EXPECT_EQ(read().bytes, "12345678B");
    EXPECT_STREQ(gData.chMainCode2, "12345678B");
    expectRefused(5, 4, "1234567", msg128::kApexShort);
}

TEST_F(Retail, SiciEncodesItsSisacNumber) {
    ASSERT_EQ(encode(5, 13, "00954403(199502/03)21:3;2"), 0);
    // ISSN, chronology 930 with the month pair, enumeration 765 + 4, levels,
    // then 0 and the contribution.
    EXPECT_EQ(read().bytes,
              std::string("00954403") + "930" + "199502" + "03" + "0769" + "21" + "3" + "0" + "2");
    EXPECT_STREQ(gData.chMainCode2, "00954403(199502/03)21:3;2P");

    ASSERT_EQ(encode(5, 13, "0095-4403(1995)21:3;2"), 0);
    EXPECT_EQ(read().bytes, std::string("00954403") + "901" + "1995" + "0769" + "213" + "02");

    // Check characters at the two ends of the table.
    ASSERT_EQ(encode(5, 13, "00954403(199502/03)21:0;1"), 0);
    EXPECT_EQ(gData.chMainCode2[gData.len11 - 1], '0');
    ASSERT_EQ(encode(5, 13, "00954403(199502/03)29:9;9"), 0);
    EXPECT_EQ(gData.chMainCode2[gData.len11 - 1], '#');

    // Unsupported: the stand-in text is encoded and the user is told.
    for (const char* bad : {"00954403199502", "00954403(1995)1234567:3;2", "00954403(1995)21:3"}) {
        resetMessages();
        gMsg.quiet = true;
        EXPECT_EQ(encode(5, 13, bad), 1) << bad;
        EXPECT_EQ(gMsg.last, messageOf(msg128::kSiciFormat));
        EXPECT_EQ(read().bytes, "Format Not Supported");
    }
}

}  // namespace
