// PostScript names of menu fonts: fixed names, the base fonts before
// fontconfig, exact fontconfig matches, the bold road, and Helvetica for the rest.
#include <gtest/gtest.h>

#include <string>

#include "support/cases.h"
#include "vector/fontnames.h"

namespace {

std::string laserName(const std::string& menu) {
    unsigned char in[256], out[256];
    in[0] = static_cast<unsigned char>(menu.size());
    menu.copy(reinterpret_cast<char*>(in + 1), menu.size());
    GetLaserFontName(out, in);
    return std::string(reinterpret_cast<char*>(out + 1), out[0]);
}

TEST(FontNames, MenuNamesToPostScriptNames) {
    for (const testsupport::CaseLine& c : testsupport::readCases("vector/fontnames.txt", 2))
        EXPECT_EQ(laserName(c[0]), c[1]) << c.where;
    resetLaserFontNames();
    EXPECT_EQ(laserName("Times"), "Times-Roman");
}

TEST(FontNames, KeptAnswersStayWithTheirNames) {
    // A symbol's text font and a header's fonts asked for in turn: each name
    // keeps its own answer however the asking interleaves.
    const auto cases = testsupport::readCases("vector/fontnames.txt", 2);
    ASSERT_GE(cases.size(), 6u);
    for (int round = 0; round < 3; ++round)
        for (size_t i = 0; i < 6; ++i)
            for (size_t j : {i, (i + 1) % 6, i}) EXPECT_EQ(laserName(cases[j][0]), cases[j][1]);
}

}  // namespace
