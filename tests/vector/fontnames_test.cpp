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

}  // namespace
