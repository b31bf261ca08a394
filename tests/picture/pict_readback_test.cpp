// Every linear code type drawn as a picture, in hundredths of a millimetre and
// in points, with and without bar-width reduction, and read back by zxing-cpp.
// In hundredths of a millimetre at 100 % and 80 %; on a label, whose bars are
// whole points, from 200 %: a 0.33 mm module is less than a point.
#include <gtest/gtest.h>

#include <vector>

#include "pict_fixture.h"

using namespace picttest;

namespace {

testsupport::Decoded read(const SymbolCase& c, const testsupport::Bitmap& b) {
    const testsupport::Bitmap p = testsupport::padBitmap(b, 80);
    return c.spec.addOn.empty() ? testsupport::decode(p, c.format, c.opt)
                                : testsupport::decodeWithAddOn(p, c.format);
}

TEST(PictureReadBack, EveryUnitSizeAndReduction) {
    for (const SymbolCase& c : symbolCases())
        for (bool label : {false, true})
            for (double siz :
                 label ? std::vector<double>{200, 300, 400} : std::vector<double>{100, 80})
                for (int bwr : {0, 20}) {
                    if (c.format == "-") continue;
                    SCOPED_TRACE(c.where + (label ? " points" : " fine") + " at " +
                                 std::to_string(siz) + " bwr " + std::to_string(bwr));
                    Spec s = c.spec;
                    s.label = label;
                    s.siz = siz;
                    s.bwr = bwr;
                    const testsupport::Bitmap b = draw(s);
                    ASSERT_GT(b.width, 0);
                    const testsupport::Decoded d = read(c, b);
                    if (d.text != c.want)
                        testsupport::writePGM(b, testsupport::tempPath("failed.pgm"));
                    EXPECT_EQ(d.text, c.want);
                }
}

}  // namespace
