#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "symbol_support.h"
#include "symbology/Code128.h"
#include "symbology/GS1AI.h"
#include "symbology/encoders.h"

using namespace symtest;
using testsupport::readCases;

namespace {

struct Code128 : World {
    // Encodes as the dispatcher would for the code type, without its length rules.
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
    static testsupport::Decoded read128() { return read("Code128"); }
    // The symbol characters that the encoder left in chMainCode (start to check character).
    static std::vector<int> symbols() {
        std::vector<int> s;
        for (int i = 0; i < gData.len1; ++i)
            s.push_back(static_cast<unsigned char>(gData.chMainCode[i]));
        return s;
    }
    static bool contains(const std::vector<int>& s, const std::vector<int>& run) {
        return std::search(s.begin(), s.end(), run.begin(), run.end()) != s.end();
    }
};

TEST_F(Code128, EveryCaseReadsBack) {
    for (const auto& c : readCases("symbology/code128_reads.txt", 6)) {
        SCOPED_TRACE(c[0] + " " + c[1] + "/" + c[2] + " " + c[3].substr(0, 60));
        SetUp();
        const int code = c.integer(1), variant = c.integer(2);
        ASSERT_EQ(c[0] == "disp" ? make(code, variant, c[3]) : encode(code, variant, c[3]), 0)
            << gMsg.last;
        const testsupport::Decoded d = read128();
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.bytes, c[4]);
        if (!c[5].empty()) {
            EXPECT_EQ(d.symbologyId, c[5]);
        }
    }
}

// A refusal shows its own message and leaves nothing in the element list.
TEST_F(Code128, RefusesWhatItCannotEncode) {
    for (const auto& c : readCases("symbology/code128_refusals.txt", 4)) {
        SCOPED_TRACE(c[0] + "/" + c[1] + " " + c[2].substr(0, 40));
        SetUp();
        EXPECT_EQ(encode(c.integer(0), c.integer(1), c[2]), 1);
        EXPECT_EQ(gMsg.last, messageOf(static_cast<uint16_t>(c.integer(3))));
        EXPECT_EQ(gMsg.inerror, 1);
        EXPECT_EQ(gEl.cu_len, 0);
    }
    // Through the dispatcher too.
    EXPECT_EQ(make(5, 5, "abc"), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_EQ(gMsg.last, messageOf(msg128::kLowerInSetA));

    // A length past the buffer (3000 characters asked for) reads only the buffer.
    std::fill(gData.chMainCode, gData.chMainCode + kMainCodeSize - 1, 'A');
    gData.chMainCode[kMainCodeSize - 1] = 0;
    gData.len1 = 3000;
    gSym.code = 5;
    EXPECT_EQ(OneTwoEight(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

// The module writer that Code 93 and Telepen share: bars at odd places, spaces
// at even places, the bar-width step on the last byte of a bar only.
TEST_F(Code128, MakerModuleSets) {
    auto bytesOf = [](std::initializer_list<unsigned char> pattern) {
        const std::vector<unsigned char> p(pattern);
        gEl.clear();
        Maker2(p.data());
        return std::vector<int>(gEl.chNum, gEl.chNum + gEl.cu_len);
    };
    gSym.code = 5;
    EXPECT_EQ(bytesOf({5, '1', '2', '3', 'x', '4'}), (std::vector<int>{190, ';', ';', 254, 208}));
    gSym.BW = 2;
    EXPECT_EQ(bytesOf({5, '1', '2', '3', 'x', '4'}), (std::vector<int>{192, ';', ';', 204, 210}));
    gSym.code = 28;
    EXPECT_EQ(bytesOf({5, '1', '2', '3', 'x', '4'}),
              (std::vector<int>{186, '|', 184, 184, 186, 184, 184, 184, 186}));
    gSym.BW = 0;
    EXPECT_EQ(bytesOf({8, '1', '1', '1', '2', '1', '3', '1', '4'}),
              (std::vector<int>{184, '{', 184, '|', 184, '/', 184, 255}));
}

// The shortest code-set choice and the check character, which no reader shows.
TEST_F(Code128, ChoosesCodeSets) {
    ASSERT_EQ(encode(5, 0, "1234"), 0);
    EXPECT_EQ(symbols(), (std::vector<int>{kStartC, 32 + 12, 32 + 34, symbols()[3]}));
    ASSERT_EQ(encode(5, 0, "123"), 0);
    EXPECT_EQ(symbols(), (std::vector<int>{kStartB, '1', '2', '3', symbols()[4]}));
    ASSERT_EQ(encode(5, 0, "12345"), 0);
    EXPECT_EQ(symbols(), (std::vector<int>{kStartC, 44, 66, kCodeB, '5', symbols()[5]}));
    // START B (104) + 'A' (33) + 2 x 'B' (34) = 205 = 103 + 102.
    ASSERT_EQ(encode(5, 0, "AB"), 0);
    EXPECT_EQ(symbols()[3], 102 + 32);
    ASSERT_EQ(encode(5, 5, "1234"), 0);
    EXPECT_EQ(symbols()[0], kStartA);
    ASSERT_EQ(encode(5, 8, "1234"), 0);
    EXPECT_EQ(symbols()[0], kStartB);
    ASSERT_EQ(encode(5, 1, "AB"), 0);  // variant 1 has no check character
    EXPECT_EQ(symbols(), (std::vector<int>{kStartB, 'A', 'B'}));

    ASSERT_EQ(encode(5, 5, "AB\\d1411234\\n56\\d186xy"), 0);
    EXPECT_TRUE(contains(symbols(), {'B', kCodeC, 44, 66, kCodeA, 10, kCodeC, 88, kCodeB, 'x'}));
    ASSERT_EQ(encode(5, 0, "1234\\n5678"), 0);
    EXPECT_TRUE(contains(symbols(), {66, kCodeB, kCodeA, 10, kCodeB, kCodeC, 88}));

    // GS1: START C, FNC1, 13 pairs, CODE B, the lot, the check: no FNC1 at the end.
    gSym.code = 7;
    setData("(01)15400141288763(17)251231(10)AB1");
    ASSERT_EQ(Proc128(), 0);
    const std::vector<int> s = symbols();
    ASSERT_EQ(s.size(), 19u);
    EXPECT_EQ((std::vector<int>{s[0], s[1], s[2], s[15]}),
              (std::vector<int>{kStartC, kFNC1, 32 + 1, kCodeB}));
    EXPECT_EQ(std::string(s.begin() + 16, s.end()), "AB1");
}

// Unsupported SICI: the stand-in text is encoded and the user is told.
TEST_F(Code128, SiciStandIn) {
    for (const char* bad : {"00954403199502", "00954403(1995)1234567:3;2", "00954403(1995)21:3"}) {
        resetMessages();
        gMsg.quiet = true;
        EXPECT_EQ(encode(5, 13, bad), 1) << bad;
        EXPECT_EQ(gMsg.last, messageOf(msg128::kSiciFormat));
        EXPECT_EQ(read128().bytes, "Format Not Supported");
    }
}

TEST_F(Code128, Proc128CountsSymbolCharactersQuietly) {
    setData("12345");
    gSym.code = 5;
    ASSERT_EQ(Proc128(), 0);
    EXPECT_EQ(gData.len1, 5);  // START C, 12, 34, CODE B, 5
    setData("ABc");
    gSym.variation1 = 5;
    EXPECT_EQ(Proc128(), 1);
    EXPECT_EQ(lastProc128Fault(), C128Fault::LowerInSetA);
    EXPECT_EQ(gMsg.shown, 0);
}

// The DataBar road: '#' separators, no check digit completed, the program's table.
TEST_F(Code128, Gs1FilterKeepsTheProgramsTable) {
    gSym.code = 37;
    for (const auto& c : readCases("symbology/gs1_filter.txt", 2)) {
        setData(c[0]);
        ASSERT_EQ(EAN_APP_ID_FILTER(0, '#'), 0) << c.where;
        EXPECT_EQ(std::string(gData.chMainCode), c[1]) << c.where;
    }
    setData(std::string(255, '1'));
    EXPECT_EQ(EAN_APP_ID_FILTER(0, '#'), 1);
    EXPECT_EQ(gMsg.last, messageOf(kMsgGS1TooLong));
    EXPECT_EQ(calcheck2("1540014128876?", 14), '3');
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
        if (plain) std::replace(data.begin(), data.end(), '\\', '/');
        resetMessages();
        gMsg.quiet = true;
        if (encode(kind[0], kind[1], data) != 0) {
            EXPECT_NE(gMsg.last, "") << kind[0] << "/" << kind[1] << " " << data;
            continue;
        }
        if (kind[1] == 1) continue;  // no check character: no reader takes it
        const testsupport::Decoded d = read128();
        EXPECT_TRUE(d.ok) << kind[0] << "/" << kind[1] << " " << data << ": " << d.error;
        if (plain && kind[0] == 5 && kind[1] != 4 && kind[1] != 7 && kind[1] != 13) {
            EXPECT_EQ(d.bytes, data);
        }
    }
}

}  // namespace
