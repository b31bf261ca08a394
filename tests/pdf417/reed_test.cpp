#include <gtest/gtest.h>

#include <vector>

#include "pdf417/reed.h"

namespace {

std::vector<int32_t> check(std::vector<int32_t> data, int32_t nc) {
    int32_t block[reed::kBlockRoom] = {};
    for (size_t i = 0; i < data.size(); ++i) block[i] = data[i];
    const auto nd = static_cast<int32_t>(data.size());
    reed::calculateReedSolomon(block, nd, nc);
    return {block + nd, block + nd + nc};
}

TEST(DataMatrixField, TablesFollowPolynomial301) {
    const auto& f = reed::kField;
    EXPECT_EQ(f.gfi[0], 1);
    EXPECT_EQ(f.gfi[7], 128);
    EXPECT_EQ(f.gfi[8], 45);  // 256 reduced by 301
    EXPECT_EQ(f.gfi[9], 90);
    EXPECT_EQ(f.gfi[255], 0);
    EXPECT_EQ(f.gflog[45], 8);
    EXPECT_EQ(f.gflog[0], 0);
    EXPECT_EQ(reed::mult(0, 77), 0);
    EXPECT_EQ(reed::mult(128, 2), 45);
}

TEST(DataMatrixField, GeneratorsMatchTheStandard) {
    // Coefficients highest degree first, as ISO/IEC 16022 Annex E lists them.
    const int32_t p5[] = {62, 111, 15, 48, 228};
    const int32_t p7[] = {254, 92, 240, 134, 144, 68, 23};
    const auto& g5 = reed::setpolynomial(5);
    const auto& g7 = reed::setpolynomial(7);
    ASSERT_EQ(g5.n, 5);
    ASSERT_EQ(g7.n, 7);
    for (int j = 0; j < 5; ++j) EXPECT_EQ(g5.coef[j], p5[j]) << j;
    for (int j = 0; j < 7; ++j) EXPECT_EQ(g7.coef[j], p7[j]) << j;
    for (int32_t n : reed::kCheckCounts) EXPECT_EQ(reed::setpolynomial(n).n, n);
    EXPECT_EQ(reed::setpolynomial(9).n, 68);
}

TEST(DataMatrixReedSolomon, KnownBlocks) {
    EXPECT_EQ(check({142, 164, 186}, 5), (std::vector<int32_t>{114, 25, 5, 88, 102}));
    EXPECT_EQ(check({66, 129, 70}, 5), (std::vector<int32_t>{138, 234, 82, 82, 95}));
    EXPECT_EQ(check(std::vector<int32_t>(155, 0), 62), std::vector<int32_t>(62, 0));
}

TEST(DataMatrixReedSolomon, NoCheckCodewordsWritesNothing) {
    // Once a count of 0 overwrote the last data codeword, and a negative count
    // wrote in front of the block.
    int32_t buf[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::vector<int32_t> before(buf, buf + 10);
    reed::calculateReedSolomon(buf + 6, 3, 0);
    reed::calculateReedSolomon(buf + 6, 1, -5);
    EXPECT_EQ(std::vector<int32_t>(buf, buf + 10), before);
}

}  // namespace
