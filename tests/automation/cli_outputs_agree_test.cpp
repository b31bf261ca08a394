// The picture, image and print paths against the EPS of the same symbol: the
// same rows, the same text, every mark inside the box.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli_run.h"
#include "platform/quickdraw/image.h"
#include "support/reader.h"

namespace {

constexpr int kDpi = 600;

// An image file as grey pixels, read by our own reader (libtiff).
testsupport::Bitmap imageOf(const std::string& path) {
    qd::Image image;
    std::string error;
    testsupport::Bitmap b;
    if (!qd::ReadImageFile(path, &image, &error)) {
        ADD_FAILURE() << path << ": " << error;
        return b;
    }
    b.width = image.width;
    b.height = image.height;
    for (uint32_t p : image.pixels)
        b.pixels.push_back(
            static_cast<uint8_t>(((p >> 16 & 255) + (p >> 8 & 255) + (p & 255)) / 3));
    return b;
}

struct InkRows {
    int first = -1, last = -1;
};
InkRows inkRows(const testsupport::Bitmap& b) {
    InkRows r;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) < 128) {
                if (r.first < 0) r.first = y;
                r.last = y;
                break;
            }
    return r;
}

// PDF417's rows are as high in the TIFF as in the EPS, and fill the picture's
// box down to its bottom.
TEST(OutputsAgree, StackedRowsAsHighInTiffAsInEps) {
    for (const char* type : {"PDF417", "Micro PDF417"}) {
        SCOPED_TRACE(type);
        const std::string tif = fresh("rows.tif"), eps = fresh("rows.eps");
        const std::string keys =
            std::string("type:\"") + type + "\", data:\"PDF417 symbol text, 2024\"";
        ASSERT_EQ(run({record(keys, tif), record(keys, eps)}).status, 0);
        const testsupport::Bitmap image = imageOf(tif);
        const InkRows tiffInk = inkRows(image);
        const testsupport::Rendered page = testsupport::renderWithGhostscript(eps, kDpi);
        ASSERT_TRUE(page.ok) << page.err;
        const InkRows epsInk = inkRows(page.bitmap);
        ASSERT_GE(tiffInk.first, 0);
        EXPECT_NEAR(tiffInk.last - tiffInk.first, epsInk.last - epsInk.first, 4);
        EXPECT_GE(tiffInk.last, image.height - 16) << "a blank band under the rows";
        // The reader takes PDF417 only; MicroPDF417's rows are the same painter's.
        if (std::string(type) == "PDF417") {
            EXPECT_EQ(testsupport::decode(testsupport::padBitmap(image, 40), "PDF417").text,
                      "PDF417 symbol text, 2024");
        }
    }
}

}  // namespace
