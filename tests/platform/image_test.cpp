#include "platform/quickdraw/image.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include <jpeglib.h>

#include "platform/quickdraw/picture.h"
#include "qd_world.h"
#include "support/reader.h"

namespace {

using namespace qd;

// The fixtures: 20 x 10 pixels in four quadrants.
constexpr int kW = 20, kH = 10;
enum Quadrant { TopLeft, TopRight, BottomLeft, BottomRight };
Quadrant quadrantAt(int x, int y) {
    return static_cast<Quadrant>((y >= kH / 2) * 2 + (x >= kW / 2));
}
constexpr uint32_t kColours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
constexpr uint8_t kGreys[] = {0x40, 0x80, 0xC0, 0x00};

// The fixture's pixels row by row: `channels` 1 grey, 3 RGB, 4 RGBA with the
// bottom right quadrant see-through, 0 the quadrant's palette index.
std::vector<unsigned char> quadrantPixels(int channels) {
    std::vector<unsigned char> px;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const Quadrant q = quadrantAt(x, y);
            if (channels == 0) {
                px.push_back(static_cast<unsigned char>(q));
            } else if (channels == 1) {
                px.push_back(kGreys[q]);
            } else {
                for (int shift : {16, 8, 0})
                    px.push_back(static_cast<unsigned char>(kColours[q] >> shift));
                if (channels == 4) px.push_back(q == BottomRight ? 0 : 255);
            }
        }
    return px;
}

std::string pngBytes(png_uint_32 format, int channels) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = kW;
    img.height = kH;
    img.format = format;
    unsigned char map[12] = {};
    if (format & PNG_FORMAT_FLAG_COLORMAP) {
        img.colormap_entries = 4;
        for (int i = 0; i < 12; ++i)
            map[i] = static_cast<unsigned char>(kColours[i / 3] >> (16 - 8 * (i % 3)));
    }
    const std::vector<unsigned char> pixels = quadrantPixels(channels);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&img, nullptr, &size, 0, pixels.data(), 0, map));
    std::string out(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&img, out.data(), &size, 0, pixels.data(), 0, map));
    out.resize(size);
    return out;
}

std::string palettePng() { return pngBytes(PNG_FORMAT_RGB | PNG_FORMAT_FLAG_COLORMAP, 0); }
std::string greyPng() { return pngBytes(PNG_FORMAT_GRAY, 1); }
std::string rgbaPng() { return pngBytes(PNG_FORMAT_RGBA, 4); }

std::string jpegBytes() {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = kW;
    c.image_height = kH;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 98, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> rgb = quadrantPixels(3);
    while (c.next_scanline < kH) {
        JSAMPROW r = &rgb[c.next_scanline * kW * 3];
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::string out(reinterpret_cast<char*>(buf), size);
    std::free(buf);
    return out;
}

std::string tiffBytes() {
    const std::string path = testsupport::tempPath("fixture.tif");
    TIFF* t = TIFFOpen(path.c_str(), "w");
    EXPECT_NE(t, nullptr);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kW);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, kH);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 2);
    std::vector<unsigned char> rgb = quadrantPixels(3);
    for (int y = 0; y < kH; ++y)
        TIFFWriteScanline(t, &rgb[y * kW * 3], static_cast<uint32_t>(y), 0);
    TIFFClose(t);
    return testsupport::slurp(path);
}

using qdtest::World;

bool near(uint32_t a, uint32_t b, int tolerance) { return qdtest::channelGap(a, b) <= tolerance; }

// Where each quadrant's middle lands when the 40 x 20 placement at (10, 10) is
// turned clockwise by 0, 90, 180 and 270 degrees about its centre (30, 20).
struct Probe {
    int h, v;
};
constexpr Probe kProbes[4][4] = {
    {{20, 15}, {40, 15}, {20, 25}, {40, 25}},
    {{35, 10}, {35, 30}, {25, 10}, {25, 30}},
    {{40, 25}, {20, 25}, {40, 15}, {20, 15}},
    {{25, 30}, {25, 10}, {35, 30}, {35, 10}},
};

void checkTurns(const std::string& bytes, const uint32_t (&want)[4], int tolerance,
                bool clearCorner = false) {
    Image img;
    std::string error;
    ASSERT_TRUE(
        ReadImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &img, &error))
        << error;
    EXPECT_EQ(img.width, kW);
    EXPECT_EQ(img.height, kH);
    for (int turn = 0; turn < 4; ++turn) {
        World w({0, 0, 60, 60});
        RGBForeColor({0xFFFF, 0xFFFF, 0});  // a yellow ground shows through
        PaintRect({0, 0, 60, 60});
        DrawImage(img, {10, 10, 30, 50}, turn * 90);
        for (int q = 0; q < 4; ++q) {
            const Probe p = kProbes[turn][q];
            const uint32_t expect = clearCorner && q == BottomRight ? 0xFFFF00 : want[q];
            EXPECT_TRUE(near(w.rgb(p.h, p.v), expect, tolerance))
                << "turn " << turn * 90 << " quadrant " << q << std::hex << " got "
                << w.rgb(p.h, p.v) << " want " << expect;
        }
    }
}

TEST(Images, PngJpegAndTiffDrawnAtQuarterTurns) {
    const uint32_t colours[4] = {kColours[0], kColours[1], kColours[2], kColours[3]};
    checkTurns(palettePng(), colours, 0);
    uint32_t greys[4];
    for (int i = 0; i < 4; ++i) greys[i] = kGreys[i] * 0x010101u;
    checkTurns(greyPng(), greys, 0);
    checkTurns(rgbaPng(), colours, 0, true);
    checkTurns(jpegBytes(), colours, 40);
    checkTurns(tiffBytes(), colours, 0);
}

TEST(Images, AnyAngleAndPictures) {
    Image img;
    std::string error;
    const std::string bytes = palettePng();
    ASSERT_TRUE(ReadImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &img,
                          &error));
    World w({0, 0, 60, 60});
    Picture* pic = OpenPicture({0, 0, 60, 60});
    DrawImage(img, {10, 10, 30, 50}, 45);
    ClosePicture();
    DrawPicture(pic, {0, 0, 60, 60});
    KillPicture(pic);
    // Turned 45 degrees the corners of the placement are left alone; the middle
    // row of the image runs down to the right.
    EXPECT_EQ(w.rgb(10, 10), 0xFFFFFFu);
    EXPECT_EQ(w.rgb(49, 29), 0xFFFFFFu);
    EXPECT_TRUE(near(w.rgb(24, 12), kColours[TopLeft], 60)) << std::hex << w.rgb(24, 12);
    EXPECT_TRUE(near(w.rgb(36, 28), kColours[BottomRight], 60)) << std::hex << w.rgb(36, 28);
    // No width or height: 100 units that way.
    World w2({0, 0, 60, 60});
    DrawImage(img, {0, 0, 0, 0}, 0);
    EXPECT_EQ(w2.rgb(10, 10), kColours[TopLeft]);
    EXPECT_EQ(w2.rgb(55, 55), kColours[BottomRight]);
}

TEST(Images, DamagedFilesFailWithAReason) {
    for (const std::string& whole :
         {palettePng(), greyPng(), rgbaPng(), jpegBytes(), tiffBytes()}) {
        for (size_t n : {whole.size() / 2, whole.size() * 3 / 4, size_t{12}}) {
            Image img;
            std::string error;
            EXPECT_FALSE(
                ReadImage(reinterpret_cast<const unsigned char*>(whole.data()), n, &img, &error))
                << n << " of " << whole.size();
            EXPECT_FALSE(error.empty());
            EXPECT_TRUE(img.pixels.empty());
        }
    }
    Image img;
    std::string error;
    EXPECT_FALSE(ReadImage(reinterpret_cast<const unsigned char*>("GIF89a"), 6, &img, &error));
    EXPECT_FALSE(ReadImageFile(testsupport::tempPath("missing.png"), &img, &error));
    EXPECT_NE(error.find("missing.png"), std::string::npos);
    const std::string path = testsupport::tempPath("ok.png");
    std::ofstream(path, std::ios::binary) << palettePng();
    EXPECT_TRUE(ReadImageFile(path, &img, &error)) << error;
    EXPECT_EQ(ReadableImageKinds().size(), 3u);
}

}  // namespace
