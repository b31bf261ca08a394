#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

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

TEST_F(Codablock, GoldenLists) {
    for (const auto& c : testsupport::readCases("symbology/codablock_lists.txt", 2)) {
        ASSERT_EQ(encode(c[0]), 0);
        EXPECT_EQ(hex(gEl.chNum, gEl.cu_len), c[1]) << c[0];
    }
    // chMainCode is left with the last row's symbol string.
    EXPECT_EQ(gData.len1, 13);
    EXPECT_EQ(static_cast<unsigned char>(gData.chMainCode[0]), kStartA);
}

TEST_F(Codablock, EachRowReadsAsItsCharacters) {
    ASSERT_EQ(encode("ABCDEFGHIJKLMNOPQ"), 0);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(row(0).bytes, "ABCDEFGHIJ");
    EXPECT_EQ(row(1).bytes,
              "KLMNOPQ\xD5"
              "0");  // FNC4 raises 'U' by 128

    ASSERT_EQ(encode("ABCDEFGHIJKLMNOPQR"), 0);
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(row(0).bytes, "ABCDEFGHIJ");
    EXPECT_EQ(row(1).bytes, "KLMNOPQR");
    EXPECT_EQ(row(2).bytes, "6734");

    // Every character of code set B and a typed FNC1 over ten rows.
    std::string data;
    for (int c = 32; c < 127; ++c) data += static_cast<char>(c);
    data +=
        "\xDA"
        "x";
    ASSERT_EQ(encode(data), 0);
    ASSERT_EQ(rows(), 10);
    for (int r = 0; r < 9; ++r) {
        const Decoded d = row(r);
        EXPECT_TRUE(d.ok) << "row " << r << ": " << d.error;
        EXPECT_EQ(d.bytes, data.substr(static_cast<size_t>(r) * 10, 10)) << "row " << r;
    }
    EXPECT_EQ(row(9).bytes.substr(0, 7),
              "z{|}~\x1D"
              "x");
}

TEST_F(Codablock, Refusals) {
    // 44 rows hold 437 characters.
    ASSERT_EQ(encode(std::string(437, 'A')), 0);
    EXPECT_EQ(rows(), 44);
    EXPECT_FALSE(gEl.overflow);

    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(encode(std::string(438, 'A')), 1);
    EXPECT_EQ(gMsg.last, symtest::messageOf(msg128::kCodablockTooLong));
    EXPECT_EQ(gMsg.inerror, 1);
    EXPECT_EQ(encode(std::string(2047, 'A')), 1);

    for (const char* bad : {"AB\nCD",
                            "AB\x83"
                            "CD",
                            "AB\x87", "AB\xC8"}) {
        resetMessages();
        gMsg.quiet = true;
        gEl.clear();
        EXPECT_EQ(encode(bad), 1) << bad;
        EXPECT_NE(gMsg.last, "");
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
                data += "\x80\x81\x86\xDA\xDB\xDC"[rng() % 6];
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
        EXPECT_EQ(n, std::max<int>(2, (static_cast<int>(length) + 12) / 10));
        for (int r = 0; r < n; ++r) EXPECT_TRUE(row(r).ok) << "row " << r << " of " << data;
    }
    EXPECT_GT(accepted, 20);
}

}  // namespace
