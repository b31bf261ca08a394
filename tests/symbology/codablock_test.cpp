#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "symbol_support.h"
#include "symbology/Code128.h"

namespace {

using testsupport::decode;
using testsupport::Decoded;
using testsupport::LinearOptions;
using testsupport::rasteriseElementRow;

std::string hex(const unsigned char* p, int n) {
    static const char* const kDigits = "0123456789abcdef";
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += kDigits[p[i] >> 4];
        s += kDigits[p[i] & 15];
    }
    return s;
}

struct Codablock : symtest::World {
    void SetUp() override {
        World::SetUp();
        gSym.code = 39;
    }
    // Called with chMainCode, as the dispatcher does.
    static int32_t encode(const std::string& data) {
        std::memcpy(gData.chMainCode, data.data(), data.size());
        gData.chMainCode[data.size()] = 0;
        gData.len1 = static_cast<int32_t>(data.size());
        return CodaBlock(gData.chMainCode);
    }
    static int rows() { return static_cast<int>(symtest::rowsOf().size()) - 1; }
    static Decoded row(int r) {
        LinearOptions opt;
        opt.pixelsPerMicrometre = 1.0 / 250.0;
        return decode(rasteriseElementRow(gEl.chNum, gEl.cu_len, r, opt), "Code128");
    }
};

// Every row of the symbol against zint's row for the same data at ten data
// columns (zint counts 15 with the start, code set, row indicator, check and
// stop characters).
void expectRowsLikeZint(const std::string& data) {
    const std::vector<std::string> zint = symtest::zintRows("74", data, "--cols=15");
    if (zint.empty()) return;  // no zint: requireProgram has said so
    const std::vector<std::string> ours = symtest::rowsOf();
    ASSERT_EQ(ours.size() - 1, zint.size()) << data;
    for (size_t r = 0; r < zint.size(); ++r)
        EXPECT_EQ(symtest::symbolModules(ours[r], [](int32_t w) { return w / 1000; }),
                  symtest::trimRight(zint[r]))
            << "row " << r << " of " << zint.size() << ": " << data;
}

TEST_F(Codablock, RowsLikeZint) {
    const std::string digits =
        "31415926535897932384626433832795028841971693993751058209749445923"
        "07816406286208998628034825342117067982148086513282306647";
    const std::string text =
        "The Quick brown fox Jumps over the Lazy dog; aBcDeFgHiJkLmNoPqRsTuV"
        "wXyZ and 0123 more Mixed Case text to Fill a hundred!";
    const std::string punct =
        "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"
        " ~}|{`_^]\\[@?>=<;:/.-,+*)('&%$#\"!";
    for (const std::string* source : {&digits, &text, &punct})
        for (size_t length : {1, 10, 17, 18, 40, 100}) {
            const std::string data = source->substr(0, length);
            ASSERT_EQ(encode(data), 0) << data;
            expectRowsLikeZint(data);
        }
    // Code set C runs that start a row, start after text, end on an odd digit,
    // fill the row's last column or meet DEL and the last row's checks.
    for (const char* data : {"1234", "A1234", "AB123", "ABCDEFGH12345", "ABCDEFGHI1234567",
                             "12A4567890123", "1234567890123456789",
                             "X\x7F"
                             "12345678Y",
                             "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRST"}) {
        ASSERT_EQ(encode(data), 0) << data;
        expectRowsLikeZint(data);
    }
    // The largest symbols: 44 rows.
    for (const std::string& data : {std::string(438, 'A'), std::string(876, '7')}) {
        ASSERT_EQ(encode(data), 0);
        expectRowsLikeZint(data);
    }
}

TEST_F(Codablock, RandomDataRowsLikeZint) {
    std::mt19937 rng(74);
    const std::string alphabet = "0123456789012345678901234567890123456789ABCxyz -.~";
    for (int round = 0; round < 40; ++round) {
        std::string data;
        const size_t length = 1 + rng() % 120;
        for (size_t i = 0; i < length; ++i)
            data += round % 2 == 0 ? alphabet[rng() % alphabet.size()]
                                   : static_cast<char>(32 + rng() % 96);
        ASSERT_EQ(encode(data), 0) << data;
        expectRowsLikeZint(data);
    }
}

TEST_F(Codablock, GoldenLists) {
    for (const auto& c : testsupport::readCases("symbology/codablock_lists.txt", 2)) {
        ASSERT_EQ(encode(c[0]), 0);
        EXPECT_EQ(hex(gEl.chNum, gEl.cu_len), c[1]) << c[0];
    }
    // chMainCode is left with the last row's symbol string.
    EXPECT_EQ(gData.len1, 14);
    EXPECT_EQ(static_cast<unsigned char>(gData.chMainCode[0]), kStartA);
}

TEST_F(Codablock, EachRowReadsAsItsCharacters) {
    // Each row reads as Code 128: its row indicator ('`' is the first row of
    // two, '+' the second row), its characters and, last, K1 and K2.
    ASSERT_EQ(encode("ABCDEFGHIJKLMNOPQ"), 0);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(row(0).bytes, "`ABCDEFGHIJ");
    EXPECT_EQ(row(1).bytes, "+KLMNOPQ5316");  // CODE C, then K1 53 and K2 16 as pairs

    ASSERT_EQ(encode("ABCDEFGHIJKLMNOPQR"), 0);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(row(0).bytes, "`ABCDEFGHIJ");
    EXPECT_EQ(row(1).bytes, "+KLMNOPQRM\"");  // K1 67 and K2 34 in code set B

    // Every character of code set B and a typed FNC1: the rows read one after
    // the other, without their indicators, give back the data. An indicator in
    // code set B is never a digit; in code set C it reads as two.
    std::string data;
    for (int c = 32; c < 127; ++c) data += static_cast<char>(c);
    data +=
        "\xDA"
        "x";
    ASSERT_EQ(encode(data), 0);
    const int n = rows();
    ASSERT_EQ(n, 10);  // the ten digits take five columns
    std::string read;
    for (int r = 0; r < n; ++r) {
        const Decoded d = row(r);
        EXPECT_TRUE(d.ok) << "row " << r << ": " << d.error;
        if (d.bytes.empty()) continue;
        read += d.bytes.substr(std::isdigit(static_cast<unsigned char>(d.bytes[0])) ? 2 : 1);
    }
    std::string want = data;
    want[want.size() - 2] = '\x1D';  // FNC1 reads as GS
    EXPECT_EQ(read.substr(0, want.size()), want);

    // FNC1 inside a run of digits stays in code set C.
    for (const char* withFnc1 : {"AB1234\xDA"
                                 "567890CD",
                                 "12345678\xDA"
                                 "12\xDA"
                                 "3456AB"}) {
        ASSERT_EQ(encode(withFnc1), 0);
        std::string back;
        for (int r = 0; r < rows(); ++r) {
            const Decoded d = row(r);
            EXPECT_TRUE(d.ok) << "row " << r << ": " << d.error;
            if (!d.bytes.empty())
                back +=
                    d.bytes.substr(std::isdigit(static_cast<unsigned char>(d.bytes[0])) ? 2 : 1);
        }
        std::string expected = withFnc1;
        std::replace(expected.begin(), expected.end(), '\xDA', '\x1D');
        EXPECT_EQ(back.substr(0, expected.size()), expected);
    }
}

TEST_F(Codablock, Refusals) {
    // 44 rows hold 438 letters (the last row ends with K1 and K2) or 876 digits.
    ASSERT_EQ(encode(std::string(437, 'A')), 0);
    EXPECT_EQ(rows(), 44);
    EXPECT_FALSE(gEl.overflow);
    ASSERT_EQ(encode(std::string(438, 'A')), 0);
    EXPECT_EQ(rows(), 44);
    ASSERT_EQ(encode(std::string(876, '7')), 0);
    EXPECT_EQ(rows(), 44);

    for (const std::string& tooLong : {std::string(439, 'A'), std::string(877, '7')}) {
        resetMessages();
        gMsg.quiet = true;
        EXPECT_EQ(encode(tooLong), 1);
        EXPECT_EQ(gMsg.last, symtest::messageOf(msg128::kCodablockTooLong));
    }
    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(encode(std::string(438, 'A') + "B"), 1);
    EXPECT_EQ(gMsg.last, symtest::messageOf(msg128::kCodablockTooLong));
    EXPECT_EQ(gMsg.inerror, 1);
    EXPECT_EQ(encode(std::string(2047, 'A')), 1);

    // Letters stay letters: Ä, Å and Ü (Mac OS Roman) are the bytes of FNC3,
    // FNC2 and FNC1 in the rows, and would draw those instead.
    for (const char* bad : {"AB\nCD",
                            "AB\x83"
                            "CD",
                            "AB\x87", "AB\xC8",
                            "\x80rger \x86"
                            "bung \x81re",
                            "12\x86"
                            "34",
                            "AB\x81"}) {
        resetMessages();
        gMsg.quiet = true;
        gEl.clear();
        EXPECT_EQ(encode(bad), 1) << bad;
        EXPECT_EQ(gMsg.last, symtest::messageOf(msg128::kCodablockChar));
        EXPECT_EQ(gEl.cu_len, 0);
    }
    EXPECT_EQ(encode(""), 1);
}

TEST_F(Codablock, RandomDataScansRowByRowOrIsRefused) {
    std::mt19937 rng(39);
    int accepted = 0;
    for (int round = 0; round < 60; ++round) {
        std::string data;
        const size_t length = 1 + rng() % 460;
        const bool clean = round % 2 == 0;  // code set B and FNC1 to FNC3 only
        for (size_t i = 0; i < length; ++i) {
            const unsigned r = rng() % 100;
            if (r < 97 || !clean)
                data += static_cast<char>(r < 97 ? 32 + rng() % 96 : 1 + rng() % 255);
            else
                data +=
                    "\xDA\xDB\xDC"
                    "0123456789"[rng() % 13];
        }
        if (!clean) data[rng() % length] = static_cast<char>(1 + rng() % 255);
        resetMessages();
        gMsg.quiet = true;
        if (encode(data) != 0) {
            EXPECT_NE(gMsg.last, "");
            continue;
        }
        ++accepted;
        const int n = rows();
        // Ten columns a row, K1 and K2 in the last; a run of digits takes half.
        const int columns = static_cast<int>(length) + 2;
        EXPECT_LE(n, std::max(2, (columns + 9) / 10)) << data;
        EXPECT_GE(n, std::max(2, (columns / 2 + 9) / 10)) << data;
        for (int r = 0; r < n; ++r) EXPECT_TRUE(row(r).ok) << "row " << r << " of " << data;
    }
    EXPECT_GT(accepted, 20);
}

}  // namespace
