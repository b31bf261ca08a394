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
};

const Case kCases[] = {
    {"ean13", {0, 0, "501234567890", ""}, "EAN-13", "5012345678900"},
    {"ean13_add5", {0, 0, "501234567890", "52495"}, "EAN-13", "5012345678900 52495"},
    {"code128", {5, 0, "Strixel-128 ok", ""}, "Code128", "Strixel-128 ok"},
};

testsupport::Decoded read(const Case& c, const testsupport::Bitmap& b) {
    const testsupport::Bitmap p = testsupport::padBitmap(b, 80);
    return c.spec.addOn.empty() ? testsupport::decode(p, c.format)
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
