// PostScript names of menu fonts: fixed names, the base fonts before
// fontconfig, exact fontconfig matches, the bold road, and Helvetica for the rest.
#include <gtest/gtest.h>

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

TEST(FontNames, FixedRulesAndTable) {
    EXPECT_EQ(laserName("OCR-ANormal"), "OCR-Plain");
    EXPECT_EQ(laserName("OCR-A Bar Code Pro"), "OCR-ABarCodePro");
    EXPECT_EQ(laserName("OCR-B Bar Code Pro"), "OCR-BBarCodePro");
    EXPECT_EQ(laserName("Strixel"), "Strixel");
    EXPECT_EQ(laserName("Arial Narrow Bold"), "ArialNarrow-Bold");
    EXPECT_EQ(laserName("Frutiger Bold Condensed"), "Frutiger-BoldCn");
}

TEST(FontNames, BaseFontsComeBeforeTheirInstalledTwins) {
    EXPECT_EQ(laserName("Helvetica"), "Helvetica");
    EXPECT_EQ(laserName("Times"), "Times-Roman");
    EXPECT_EQ(laserName("Courier"), "Courier");
    EXPECT_EQ(laserName("Symbol"), "Symbol");
    EXPECT_EQ(laserName("Helvetica-Bold"), "Helvetica-Bold");
    EXPECT_EQ(laserName("Times-Bold"), "Times-Bold");
    EXPECT_EQ(laserName("Palatino-Bold"), "Palatino-Bold");
    EXPECT_EQ(laserName("Bookman-Bold"), "Bookman-Demi");
    EXPECT_EQ(laserName("Helvetica Narrow-Bold"), "Helvetica-Narrow-Bold");
}

TEST(FontNames, InstalledFontsByPostScriptNameFullNameAndFamily) {
    EXPECT_EQ(laserName("NimbusSans-Bold"), "NimbusSans-Bold");
    EXPECT_EQ(laserName("Nimbus Sans Bold"), "NimbusSans-Bold");
    EXPECT_EQ(laserName("Nimbus Sans"), "NimbusSans-Regular");
    EXPECT_EQ(laserName("Nimbus Sans-Bold"), "NimbusSans-Bold");
    EXPECT_EQ(laserName("OCR B"), "OCRB-Regular");
}

TEST(FontNames, UnknownFontsFallBackOnHelvetica) {
    EXPECT_EQ(laserName("No Such Font 123"), "Helvetica");
    EXPECT_EQ(laserName("No Such Font-Bold"), "Helvetica-Bold");
    EXPECT_EQ(laserName(""), "Helvetica");
    EXPECT_EQ(laserName("Bad(Name)"), "Helvetica");
    resetLaserFontNames();
    EXPECT_EQ(laserName("Times"), "Times-Roman");
}

}  // namespace
