// Every linear code type drawn as a picture, in hundredths of a millimetre and
// in points, with and without bar-width reduction, and read back by zxing-cpp.
// In hundredths of a millimetre at 100 % and 80 %; on a label, whose bars are
// whole points, from 200 %: a 0.33 mm module is less than a point.
#include <gtest/gtest.h>

#include <vector>

#include "pict_fixture.h"

using namespace picttest;

namespace {

struct Case {
    const char* name;
    Spec spec;
    const char* format;
    const char* want;
    testsupport::ReadOptions opt{};
};

constexpr testsupport::ReadOptions kChecked{false, true, false};
constexpr testsupport::ReadOptions kStartStop{false, false, true};

const Case kCases[] = {
    {"ean13", {0, 0, "501234567890", ""}, "EAN-13", "5012345678900"},
    {"ean13_add5", {0, 0, "501234567890", "52495"}, "EAN-13", "5012345678900 52495"},
    {"ean13_add2", {0, 0, "400638133393", "34"}, "EAN-13", "4006381333931 34"},
    {"upca", {10, 0, "01234567890", ""}, "UPC-A", "012345678905"},
    {"upca_add2", {10, 0, "01234567890", "12"}, "UPC-A", "012345678905 12"},
    {"upce", {11, 0, "01234000005", ""}, "UPC-E", "01234543"},
    {"ean8", {3, 0, "5512345", ""}, "EAN-8", "55123457"},
    {"isbn", {1, 0, "080442957", ""}, "EAN-13", "9780804429573"},
    {"isbn13", {1, 3, "978030640615", ""}, "EAN-13", "9780306406157"},
    {"ismn", {1, 2, "979023456789", ""}, "EAN-13", "9790234567899"},
    {"issn", {2, 0, "0317847", ""}, "EAN-13", "9770317847001"},
    {"code128", {5, 0, "Strixel-128 ok", ""}, "Code128", "Strixel-128 ok"},
    {"gs1_128",
     {7, 0, "(01)95012345678903(3103)000123", ""},
     "Code128",
     "01950123456789033103000123"},
    {"code39", {6, 0, "CODE39", ""}, "Code39", "CODE39", kChecked},
    {"code93", {28, 0, "TEST93", ""}, "Code93", "TEST93"},
    {"codabar", {8, 0, "A40156B", "", 0, 0, false, 1}, "Codabar", "A40156B", kStartStop},
};

testsupport::Decoded read(const Case& c, const testsupport::Bitmap& b) {
    const testsupport::Bitmap p = testsupport::padBitmap(b, 80);
    return c.spec.addOn.empty() ? testsupport::decode(p, c.format, c.opt)
                                : testsupport::decodeWithAddOn(p, c.format);
}

TEST(PictureReadBack, EveryUnitSizeAndReduction) {
    for (const Case& c : kCases)
        for (bool label : {false, true})
            for (double siz :
                 label ? std::vector<double>{200, 300, 400} : std::vector<double>{100, 80})
                for (int bwr : {0, 20}) {
                    SCOPED_TRACE(std::string(c.name) + (label ? " points" : " fine") + " at " +
                                 std::to_string(siz) + " bwr " + std::to_string(bwr));
                    Spec s = c.spec;
                    s.label = label;
                    s.siz = siz;
                    s.bwr = bwr;
                    const testsupport::Bitmap b = draw(s);
                    ASSERT_GT(b.width, 0);
                    const testsupport::Decoded d = read(c, b);
                    if (d.text != c.want)
                        testsupport::writePGM(b,
                                              testsupport::tempPath(std::string(c.name) + ".pgm"));
                    EXPECT_EQ(d.text, c.want);
                }
}

}  // namespace
