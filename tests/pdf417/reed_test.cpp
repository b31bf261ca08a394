// The DataMatrix Reed-Solomon code itself is proven by read-backs of every
// symbol size; here only what no symbol shows.
#include <gtest/gtest.h>

#include <vector>

#include "pdf417/reed.h"

namespace {

TEST(DataMatrixReedSolomon, NoCheckCodewordsWritesNothing) {
    // Once a count of 0 overwrote the last data codeword, and a negative count
    // wrote in front of the block.
    int32_t buf[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::vector<int32_t> before(buf, buf + 10);
    reed::calculateReedSolomon(buf + 6, 3, 0);
    reed::calculateReedSolomon(buf + 6, 1, -5);
    EXPECT_EQ(std::vector<int32_t>(buf, buf + 10), before);
    // A count no symbol has takes the largest generator rather than none.
    EXPECT_EQ(reed::setpolynomial(9).n, 68);
}

}  // namespace
