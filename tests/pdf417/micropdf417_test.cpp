// MicroPDF417: no reader in the test machine decodes it, so the module rows are
// held against zint's, and the codewords read back from the rows are checked
// for their error correction and data.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "pdf417/micropdf417.h"
#include "pdf417/pdf417_tables.h"
#include "support/reader.h"
#include "symbology/info.h"
#include "symbology/messages.h"

namespace {

class MicroPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        resetWorld();
        resetMessages();
        gMsg.quiet = true;
        gSym.code = 41;
        gSym.variation1 = -1;
    }
};

// Bytes no text compaction holds, so that zint takes byte compaction too.
std::string binaryData(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>(0x80 + (i * 37 + 11) % 0x80);
    return s;
}

int32_t make(const std::string& data) {
    std::memcpy(gData.chMainCode, data.data(), data.size());
    gData.chMainCode[data.size()] = 0;
    gData.len1 = static_cast<int32_t>(data.size());
    return STRixel();
}

std::vector<std::string> ourRows() { return testsupport::moduleRowStrings(gEl.chNum, gEl.cu_len); }

// The codewords of one row: the columns at their places behind the patterns.
std::vector<int32_t> rowCodewords(const std::string& row, int32_t cluster) {
    std::vector<int32_t> cw;
    for (int32_t start : {11, 28, 55, 72}) {
        uint32_t bits = 0;
        for (int32_t i = 0; i < kPdfModulesPerCodeword; ++i)
            bits = bits << 1 | (row[start + i] == '1');
        int32_t value = -1;
        for (int32_t v = 0; v < kPdfCodewordValues; ++v)
            if (PDF417_BITS[cluster][v] == bits) value = v;
        cw.push_back(value);
    }
    return cw;
}

TEST_F(MicroPdf, RowsEqualZintForEverySize) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    // The last length of each size and the first of the next, multiples of six
    // (latch 924) among them.
    const size_t lengths[] = {26, 27, 28, 30,  34,  35,  45,  46, 63,
                              64, 86, 87, 107, 108, 129, 130, 148};
    std::vector<size_t> rowCounts;
    for (size_t n : lengths) {
        SCOPED_TRACE(n);
        const std::string data = binaryData(n);
        ASSERT_EQ(make(data), 0) << gMsg.last;
        const std::vector<std::string> ours = ourRows();
        const std::vector<std::string> zint = testsupport::zintRows("-b 84 --cols=4", data);
        ASSERT_EQ(ours.size(), zint.size());
        for (size_t r = 0; r < ours.size(); ++r) {
            // Our rows carry a light module at each end.
            ASSERT_EQ(ours[r].size(), 101u);
            EXPECT_EQ(ours[r].front(), '0');
            EXPECT_EQ(ours[r].back(), '0');
            EXPECT_TRUE(testsupport::sameModules(ours[r].substr(1, 99), zint[r])) << "row " << r;
        }
        if (rowCounts.empty() || rowCounts.back() != ours.size()) rowCounts.push_back(ours.size());
    }
    EXPECT_EQ(rowCounts, (std::vector<size_t>{10, 12, 15, 20, 26, 32, 38, 44}));
}

TEST_F(MicroPdf, CodewordsCarryExactlyTheDataAndTheirErrorCorrection) {
    for (size_t n : {26u, 30u, 61u, 148u}) {
        SCOPED_TRACE(n);
        std::string data = binaryData(n);
        data[3] = 'a';  // bytes as they stand, no character set conversion
        data[4] = '\x01';
        ASSERT_EQ(make(data), 0);
        const std::vector<std::string> rows = ourRows();
        const MicroPdfSize* size = nullptr;
        for (const MicroPdfSize& s : kMicroPdf4ColumnSizes)
            if (s.rows == static_cast<int32_t>(rows.size())) size = &s;
        ASSERT_NE(size, nullptr);
        std::vector<int32_t> cw;
        for (size_t r = 0; r < rows.size(); ++r) {
            // Each row's left pattern names its place in the sequence of 52.
            const int32_t p = (size->startPattern - 1 + static_cast<int32_t>(r)) % 52;
            uint32_t left = 0;
            for (int32_t i = 1; i <= 10; ++i) left = left << 1 | (rows[r][i] == '1');
            EXPECT_EQ(left, kMicroPdfSideRap[p]) << "row " << r;
            for (int32_t v : rowCodewords(rows[r], p % 3)) cw.push_back(v);
        }
        ASSERT_EQ(cw.size(), static_cast<size_t>(size->dataCodewords + size->ecCodewords));
        // The whole codeword polynomial vanishes at 3^1 ... 3^k.
        int32_t root = 1;
        for (int32_t j = 1; j <= size->ecCodewords; ++j) {
            root = root * 3 % 929;
            int64_t sum = 0;
            for (int32_t c : cw) sum = (sum * root + c) % 929;
            EXPECT_EQ(sum, 0) << "syndrome " << j;
        }
        // Byte compaction of the data, then nothing but pads.
        EXPECT_EQ(cw[0], n % 6 == 0 ? 924 : 901);
        std::string back;
        size_t i = 1;
        for (; back.size() + 6 <= n; i += 5) {
            uint64_t v = 0;
            for (size_t k = 0; k < 5; ++k) v = v * 900 + static_cast<uint64_t>(cw[i + k]);
            for (int b = 5; b >= 0; --b) back += static_cast<char>(v >> (8 * b) & 0xff);
        }
        while (back.size() < n) back += static_cast<char>(cw[i++]);
        EXPECT_EQ(back, data);
        for (; i < static_cast<size_t>(size->dataCodewords); ++i) EXPECT_EQ(cw[i], 900);
    }
}

TEST_F(MicroPdf, DataPastTheLargestSizeIsRefused) {
    ASSERT_EQ(make(binaryData(148)), 0);
    EXPECT_EQ(ourRows().size(), 44u);
    EXPECT_EQ(make(binaryData(149)), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_NE(gMsg.last.find("148"), std::string::npos) << gMsg.last;
    EXPECT_EQ(make(std::string(1500, 'x')), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(MicroPdf, MadeAgainTheSymbolIsTheSame) {
    // The file writer makes the symbol a second time from the same data.
    ASSERT_EQ(make("Lot 17, 2024-03-31"), 0);
    const std::vector<std::string> first = ourRows();
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(ourRows(), first);
    EXPECT_STREQ(gData.chMainCode2, "Lot 17, 2024-03-31");
}

}  // namespace
