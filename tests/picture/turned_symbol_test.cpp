// Barcode items turned a quarter at a time: drawn into pictures, shown at
// 600 dpi and read by zxing-cpp. Turned items through the printing pass and
// PICT are read back in the picture driver's tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "labels/labelDoc.h"
#include "pict_fixture.h"
#include "picture/PICbcode.h"
#include "picture/rotate.h"

namespace {

// The item turned by angle about its centre, in a picture wide enough for
// every turn; printMode 1 adds the printing pass.
qd::Picture* recordTurned(int angle, int printMode) {
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    const int32_t S = std::max(frame.width(), frame.height());
    const qd::Point centre{frame.height() / 2, frame.width() / 2};
    const qd::Rect big{centre.v - S, centre.h - S, centre.v + S, centre.h + S};
    return picttest::recordPicture(big, [&] {
        qd::EraseRect(big);
        DrawXRString(centre, 0, angle, frame, -1, printMode, 4);
    });
}

// The bitmap turned back by angle (a multiple of 90 degrees, counter-clockwise
// on the screen), for readers that look at rows in one direction only.
testsupport::Bitmap turnBack(const testsupport::Bitmap& b, int angle) {
    return testsupport::turnedClockwise(b, angle / 90);
}

struct Symbol {
    int code;
    const char* format;
    const char* data;
};

TEST(TurnedSymbols, ReadBackAtEveryQuarterTurnSizeAndReduction) {
    const Symbol symbols[] = {{40, "QRCode", "Turned QR 0123"},
                              {38, "DataMatrix", "TURNED DATAMATRIX"},
                              {42, "PDF417", "Turned PDF417 rows"}};
    for (const Symbol& s : symbols)
        for (double siz : {100.0, 80.0})
            for (int bwr : {0, 20})
                for (int angle : {0, 90, 180, 270}) {
                    // Square modules made smaller part from each other: only
                    // ink spread would join them again.
                    if (bwr != 0 && s.code != 42) continue;
                    SCOPED_TRACE(std::string(s.format) + " " + std::to_string(siz) + "% -" +
                                 std::to_string(bwr) + " at " + std::to_string(angle));
                    picttest::Spec spec;
                    spec.code = s.code;
                    spec.data = s.data;
                    spec.siz = siz;
                    spec.bwr = bwr;
                    ASSERT_TRUE(picttest::prepare(spec));
                    qd::Picture* pic = recordTurned(angle, 0);
                    const testsupport::Decoded d =
                        testsupport::decode(turnBack(picttest::rasterise(pic), angle), s.format);
                    EXPECT_TRUE(d.ok) << d.error;
                    EXPECT_EQ(d.text, s.data);
                    qd::KillPicture(pic);
                }
}

}  // namespace
