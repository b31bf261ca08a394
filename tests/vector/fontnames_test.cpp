// PostScript names of menu fonts: fixed names, the base fonts before
// fontconfig, exact fontconfig matches, the bold road, and Helvetica for the rest.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

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
    // "menu name|PostScript name" a line.
    std::ifstream in(STRIXEL_TEST_DATA "/vector/fontnames.txt");
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t bar = line.find('|');
        EXPECT_EQ(laserName(line.substr(0, bar)), line.substr(bar + 1)) << line;
        ++cases;
    }
    EXPECT_GT(cases, 20);
    resetLaserFontNames();
    EXPECT_EQ(laserName("Times"), "Times-Roman");
}

}  // namespace
