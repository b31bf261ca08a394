#include "platform/quickdraw/image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

// After <cstdio>: it takes FILE from there.
#include <jpeglib.h>

#include "platform/quickdraw/eps.h"
#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/picture.h"
#include "qd_world.h"
#include "support/reader.h"

namespace {

using namespace qd;

// The fixtures, written by ImageMagick: 20 x 10 pixels in four quadrants.
constexpr int kW = 20, kH = 10;
enum Quadrant { TopLeft, TopRight, BottomLeft, BottomRight };
constexpr uint32_t kColours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
constexpr uint32_t kGreys[] = {0x404040, 0x808080, 0xC0C0C0, 0x000000};

// The quadrants in `colours` on `ground` (the bottom right's colour), written
// as a file of `extension`, in ImageMagick's `format` when one is given.
std::string written(const char* format, const char* extension, const std::string& options = "",
                    const uint32_t (&colours)[4] = kColours, const char* ground = "black") {
    const char* corners[] = {"0,0 9,4", "10,0 19,4", "0,5 9,9"};
    std::string command = "/usr/bin/convert -size 20x10 xc:" + std::string(ground);
    for (int q = 0; q < 3; ++q) {
        char fill[64];
        std::snprintf(fill, sizeof fill, " -fill '#%06X' -draw 'rectangle %s'", colours[q],
                      corners[q]);
        command += fill;
    }
    const std::string path = testsupport::tempPath(std::string("fixture.") + extension);
    // Stripped of the text chunks that would follow the pixels, so that a cut
    // file lacks pixels.
    const testsupport::RunResult r =
        testsupport::runCommand(command + " -strip " + options + " '" + format + path + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    return testsupport::slurp(path);
}

std::string palettePng() { return written("PNG8:", "png"); }
std::string greyPng() { return written("", "png", "-define png:color-type=0 -depth 8", kGreys); }
std::string rgbaPng() { return written("PNG32:", "png", "", kColours, "none"); }
std::string jpegBytes() { return written("", "jpg", "-quality 98"); }
std::string tiffBytes() {
    return written("", "tif",
                   "-type TrueColor -depth 8 -compress RLE -define tiff:rows-per-strip=2");
}

// The whole of `bytes` read as an image file.
bool readBytes(const std::string& bytes, Image* img, std::string* error) {
    return ReadImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), img,
                     error);
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
    ASSERT_TRUE(readBytes(bytes, &img, &error)) << error;
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
    checkTurns(greyPng(), kGreys, 0);
    checkTurns(rgbaPng(), colours, 0, true);
    checkTurns(jpegBytes(), colours, 40);
    checkTurns(tiffBytes(), colours, 0);
}

TEST(Images, AnyAngleAndPictures) {
    Image img;
    std::string error;
    const std::string bytes = palettePng();
    ASSERT_TRUE(readBytes(bytes, &img, &error));
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

// Longer than cairo makes a surface (a banner scan, a damaged file's claim):
// drawn from every n-th pixel at any turn and depth, written into a picture's
// bytes that read back, and never a null surface written through.
TEST(Images, LongerThanASurfaceStillDraw) {
    Image banner;
    banner.width = 40000;
    banner.height = 8;
    banner.pixels.assign(static_cast<size_t>(banner.width) * banner.height, 0xFF000000u);
    for (int depth : {1, 32})
        for (double turn : {0.0, 90.0, 30.0}) {
            World w({0, 0, 60, 60}, depth);
            DrawImage(banner, {20, 10, 40, 50}, turn);
            EXPECT_TRUE(w.black(30, 30)) << "depth " << depth << " turn " << turn;
        }

    // Wider than a PICT row holds: the map goes in sampled, onto the same place.
    Image wide = banner;
    wide.width = 5000;
    wide.pixels.resize(static_cast<size_t>(wide.width) * wide.height);
    for (int y = 0; y < wide.height; ++y)
        for (int x = wide.width / 2; x < wide.width; ++x)
            wide.pixels[static_cast<size_t>(y) * wide.width + x] = ~0u;
    World w({0, 0, 60, 60});
    Picture* pic = OpenPicture({0, 0, 60, 60});
    DrawImage(wide, {10, 10, 30, 50}, 0);
    ClosePicture();
    std::string bytes, error;
    const qdtest::PicturePtr back = qdtest::writtenAndReadBack(pic, &bytes, &error);
    ASSERT_TRUE(back) << error;
    World shown({0, 0, 60, 60});
    DrawPicture(back.get(), {0, 0, 60, 60});
    EXPECT_TRUE(shown.inked({{12, 20}, {28, 20}}, {{32, 20}, {48, 20}}));

    // A turned group over a frame taller than a surface at the turn's resolution.
    World tall({0, 0, 60, 60});
    Picture* turned = OpenPicture({0, 0, 5000, 20});
    BeginTurn(90, {10, 10});
    PaintRect({5, 5, 15, 15});
    EndTurn();
    ClosePicture();
    EXPECT_TRUE(qdtest::writtenAndReadBack(turned, &bytes, &error)) << error;
}

// A little-endian TIFF of uncompressed grey data whose tags are `tags` (tag,
// type, value; one value each), 64 zero bytes of data at offset 8.
std::string handMadeTiff(std::vector<std::array<uint32_t, 3>> tags) {
    std::sort(tags.begin(), tags.end());
    auto put = [](std::string& s, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
    };
    std::string t = "II*";
    t += '\0';
    put(t, 8 + 64, 4);
    t.append(64, '\0');
    put(t, static_cast<uint32_t>(tags.size()), 2);
    for (const auto& [tag, type, value] : tags) {
        put(t, tag, 2);
        put(t, type, 2);
        put(t, 1, 4);
        put(t, value, 4);  // a SHORT sits in the first two bytes, little-endian
    }
    put(t, 0, 4);
    return t;
}

// Tags that claim more decoded data than any image taken (thousands of samples
// a pixel, tiles of billions of pixels) are refused before libtiff sets aside
// its buffer; a deep image of real depth still reads.
TEST(Images, TiffClaimingMoreDataThanAnyImageIsRefused) {
    constexpr uint32_t kShort = 3, kLong = 4;
    const std::vector<std::array<uint32_t, 3>> grey = {
        {259, kShort, 1}, {262, kShort, 1}, {284, kShort, 1}, {258, kShort, 16}};
    auto with = [&](std::vector<std::array<uint32_t, 3>> more) {
        more.insert(more.end(), grey.begin(), grey.end());
        return handMadeTiff(more);
    };
    // 16,396 x 158 pixels of 31,233 samples; one strip offset for twenty strips.
    const std::string deep = with({{256, kShort, 16396},
                                   {257, kShort, 158},
                                   {277, kShort, 31233},
                                   {278, kShort, 8},
                                   {273, kLong, 8},
                                   {279, kLong, 64}});
    const std::string tiled = with({{256, kShort, 16},
                                    {257, kShort, 16},
                                    {322, kLong, 65536},
                                    {323, kLong, 65536},
                                    {324, kLong, 8},
                                    {325, kLong, 64}});
    for (const std::string& bytes : {deep, tiled}) {
        Image img;
        std::string error;
        EXPECT_FALSE(readBytes(bytes, &img, &error));
        EXPECT_NE(error.find("too large"), std::string::npos) << error;
    }

    const std::string rgba16 =
        written("", "tif", "-depth 16 -type TrueColorAlpha", kColours, "none");
    Image img;
    std::string error;
    ASSERT_TRUE(readBytes(rgba16, &img, &error)) << error;
    EXPECT_EQ(img.width, kW);
    EXPECT_EQ(img.pixels[0] & 0xFFFFFF, kColours[TopLeft]);
}

// A JPEG compressor into memory of a square image, its defaults set; finish()
// writes `row` on every line and gives back the file.
struct JpegWriter {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    JpegWriter(int side, int components, J_COLOR_SPACE space) {
        c.err = jpeg_std_error(&errors);
        jpeg_create_compress(&c);
        jpeg_mem_dest(&c, &buffer, &size);
        c.image_width = c.image_height = static_cast<JDIMENSION>(side);
        c.input_components = components;
        c.in_color_space = space;
        jpeg_set_defaults(&c);
    }
    JpegWriter(const JpegWriter&) = delete;  // the compressor holds buffer's address
    JpegWriter& operator=(const JpegWriter&) = delete;
    std::string finish(std::vector<JSAMPLE>& row) {
        while (c.next_scanline < c.image_height) {
            JSAMPROW r = row.data();
            jpeg_write_scanlines(&c, &r, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        std::string bytes(reinterpret_cast<const char*>(buffer), size);
        std::free(buffer);
        return bytes;
    }
};

// A 64 x 64 grey progressive JPEG of `scans` valid scans: the DC coefficient
// to every bit, then each AC coefficient alone, one bit of precision a round.
std::string progressiveJpeg(int scans) {
    JpegWriter w(64, 1, JCS_GRAYSCALE);
    jpeg_compress_struct& c = w.c;
    constexpr int kTopBit = 10;  // the most the encoder takes for 8-bit samples
    std::vector<jpeg_scan_info> script;
    auto add = [&](int first, int last, int high, int low) {
        jpeg_scan_info s{};
        s.comps_in_scan = 1;
        s.Ss = first;
        s.Se = last;
        s.Ah = high;
        s.Al = low;
        if (static_cast<int>(script.size()) < scans) script.push_back(s);
    };
    add(0, 0, 0, kTopBit);
    for (int bit = kTopBit - 1; bit >= 0; --bit) add(0, 0, bit + 1, bit);
    for (int bit = kTopBit; bit >= 0; --bit)
        for (int k = 1; k < 64; ++k) add(k, k, bit == kTopBit ? 0 : bit + 1, bit);
    c.scan_info = script.data();
    c.num_scans = static_cast<int>(script.size());
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(64);
    for (int x = 0; x < 64; ++x) row[x] = static_cast<JSAMPLE>(x * 4);
    return w.finish(row);
}

// Every scan of a progressive file is a pass over the whole image, so a file
// of hundreds of them is refused; a few dozen read.
TEST(Images, JpegOfHundredsOfScansIsRefused) {
    for (int scans : {40, 300}) {
        const std::string jpeg = progressiveJpeg(scans);
        Image img;
        std::string error;
        const bool read = readBytes(jpeg, &img, &error);
        EXPECT_EQ(read, scans == 40) << scans << ": " << error;
        if (!read) {
            EXPECT_NE(error.find("scans"), std::string::npos) << error;
        }
    }
}

// An 8 x 8 CMYK JPEG of one colour, with or without the Adobe marker that
// says its samples are inverted.
std::string cmykJpeg(const JSAMPLE (&cmyk)[4], bool adobe) {
    JpegWriter w(8, 4, JCS_CMYK);
    jpeg_compress_struct& c = w.c;
    jpeg_set_quality(&c, 100, TRUE);
    c.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row;
    for (int x = 0; x < 8; ++x) row.insert(row.end(), cmyk, cmyk + 4);
    return w.finish(row);
}

// CMYK files (print work's usual JPEGs) read in their own colours, inverted
// (as ImageMagick and Adobe write them) or not.
TEST(Images, CmykJpegsReadInTheirColours) {
    Image img;
    std::string error;
    ASSERT_TRUE(readBytes(written("", "jpg", "-quality 98 -colorspace CMYK"), &img, &error))
        << error;
    for (int q = 0; q < 4; ++q) {
        const int x = q % 2 == 0 ? kW / 4 : kW * 3 / 4, y = q < 2 ? kH / 4 : kH * 3 / 4;
        EXPECT_TRUE(near(img.pixels[static_cast<size_t>(y) * kW + x] & 0xFFFFFF, kColours[q], 40))
            << "quadrant " << q << std::hex << " got " << img.pixels[y * kW + x];
    }
    const JSAMPLE red[4] = {0, 255, 255, 0}, invertedRed[4] = {255, 0, 0, 255};
    for (const bool adobe : {false, true}) {
        ASSERT_TRUE(readBytes(cmykJpeg(adobe ? invertedRed : red, adobe), &img, &error)) << error;
        EXPECT_TRUE(near(img.pixels[0] & 0xFFFFFF, 0xFF0000, 8))
            << adobe << std::hex << " got " << img.pixels[0];
    }
}

TEST(Images, EpsBoundingBoxesLargerThanAnyPageAreRefused) {
    auto read = [](const std::string& box, std::string* error) {
        const std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: " + box + "\n";
        EpsFile out;
        return ReadEps(reinterpret_cast<const unsigned char*>(eps.data()), eps.size(), &out, error);
    };
    std::string error;
    EXPECT_TRUE(read("0 0 32767 20", &error)) << error;
    EXPECT_FALSE(read("0 0 40000 20", &error));
    EXPECT_NE(error.find("BoundingBox"), std::string::npos);
    EXPECT_FALSE(read("-1e300 0 1e300 20", &error));
}

}  // namespace
