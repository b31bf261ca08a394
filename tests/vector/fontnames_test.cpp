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

TEST(FontNames, MenuNamesToPostScriptNames) {
    const struct {
        const char* menu;
        const char* postscript;
    } kCases[] = {
        // Fixed rules and the table.
        {"OCR-ANormal", "OCR-Plain"},
        {"OCR-A Bar Code Pro", "OCR-ABarCodePro"},
        {"OCR-B Bar Code Pro", "OCR-BBarCodePro"},
        {"Strixel", "Strixel"},
        {"Arial Narrow Bold", "ArialNarrow-Bold"},
        {"Frutiger Bold Condensed", "Frutiger-BoldCn"},
        // Base fonts come before their installed twins.
        {"Helvetica", "Helvetica"},
        {"Times", "Times-Roman"},
        {"Courier", "Courier"},
        {"Symbol", "Symbol"},
        {"Helvetica-Bold", "Helvetica-Bold"},
        {"Times-Bold", "Times-Bold"},
        {"Palatino-Bold", "Palatino-Bold"},
        {"Bookman-Bold", "Bookman-Demi"},
        {"Helvetica Narrow-Bold", "Helvetica-Narrow-Bold"},
        // Installed fonts by PostScript name, full name and family.
        {"NimbusSans-Bold", "NimbusSans-Bold"},
        {"Nimbus Sans Bold", "NimbusSans-Bold"},
        {"Nimbus Sans", "NimbusSans-Regular"},
        {"Nimbus Sans-Bold", "NimbusSans-Bold"},
        {"OCR B", "OCRB-Regular"},
        // Unknown fonts fall back on Helvetica.
        {"No Such Font 123", "Helvetica"},
        {"No Such Font-Bold", "Helvetica-Bold"},
        {"", "Helvetica"},
        {"Bad(Name)", "Helvetica"},
    };
    for (const auto& c : kCases) EXPECT_EQ(laserName(c.menu), c.postscript) << c.menu;
    resetLaserFontNames();
    EXPECT_EQ(laserName("Times"), "Times-Roman");
}

}  // namespace
