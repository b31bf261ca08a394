// Image files of pictures: TIFF tags, pixel formats and option words read back
// by libtiff, bitmaps, and the PC EPS file's header.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "../pict_fixture.h"
#include "picture/output/pcEps.h"
#include "picture/output/rasterfiles.h"
#include "platform/quickdraw/picture.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// A single symbol's picture is in hundredths of a millimetre: at 254 dpi ten
// units make a pixel.
constexpr double kDpi = 254;

// Bars 6 pixels wide, 6 apart, over a picture 60 pixels square.
qd::Picture* stripes() {
    return picttest::recordPicture({0, 0, 600, 600}, [] {
        qd::RGBForeColor({0xFFFF, 0xFFFF, 0xFFFF});
        qd::PaintRect({0, 0, 600, 600});
        qd::ForeColor(qd::blackColor);
        for (int x = 0; x < 600; x += 120) qd::PaintRect({0, x, 600, x + 60});
    });
}

struct Tiff {
    TIFF* tif = nullptr;
    explicit Tiff(const std::string& bytes, const char* name = "t.tif") {
        const std::string path = testsupport::tempPath(name);
        std::ofstream(path, std::ios::binary) << bytes;
        tif = TIFFOpen(path.c_str(), "r");
    }
    ~Tiff() {
        if (tif) TIFFClose(tif);
    }
    uint32_t u32(ttag_t tag) const {
        uint32_t v = 0;
        TIFFGetField(tif, tag, &v);
        return v;
    }
    uint16_t u16(ttag_t tag) const {
        uint16_t v = 0;
        return TIFFGetField(tif, tag, &v) ? v : 0;
    }
    float f(ttag_t tag) const {
        float v = 0;
        TIFFGetField(tif, tag, &v);
        return v;
    }
    // Rows are read in order: compressed strips allow no skipping.
    std::vector<uint8_t> row(uint32_t y) const {
        std::vector<uint8_t> r(static_cast<size_t>(TIFFScanlineSize(tif)));
        for (uint32_t i = 0; i <= y; ++i) TIFFReadScanline(tif, r.data(), i, 0);
        return r;
    }
};

struct Raster : ::testing::Test {
    qd::Picture* pic = nullptr;
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        pic = stripes();
    }
    void TearDown() override {
        qd::KillPicture(pic);
        resetWorld();
    }
    std::string tiff(const char* options, int side = 60, double dpi = kDpi) {
        std::string out;
        EXPECT_TRUE(TiffToFile(pic, {0, 0, side, side}, options, dpi, &out));
        return out;
    }
};

TEST_F(Raster, BlackOnWhiteIsGreyscaleWithItsTags) {
    const Tiff t(tiff(""));
    ASSERT_TRUE(t.tif);
    EXPECT_EQ(t.u32(TIFFTAG_IMAGEWIDTH), 60u);
    EXPECT_EQ(t.u16(TIFFTAG_BITSPERSAMPLE), 8);
    EXPECT_EQ(t.u16(TIFFTAG_PHOTOMETRIC), PHOTOMETRIC_MINISBLACK);
    EXPECT_EQ(t.u16(TIFFTAG_COMPRESSION), COMPRESSION_PACKBITS);
    EXPECT_EQ(t.u16(TIFFTAG_RESOLUTIONUNIT), RESUNIT_INCH);
    EXPECT_FLOAT_EQ(t.f(TIFFTAG_XRESOLUTION), kDpi);
    EXPECT_EQ(t.u32(TIFFTAG_ROWSPERSTRIP), 8192u / 60);
    char* name = nullptr;
    ASSERT_TRUE(TIFFGetField(t.tif, TIFFTAG_DOCUMENTNAME, &name));
    EXPECT_STREQ(name, "Strixel");
    // 6 pixels a bar: black, then white.
    const std::vector<uint8_t> r = t.row(30);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[5], 0);
    EXPECT_EQ(r[6], 255);
    EXPECT_EQ(r[12], 0);
}

TEST_F(Raster, ColouredBarsUseThePalette) {
    gSym.black2 = 0;
    gSym.magenta2 = 100;
    gSym.yellow2 = 100;
    // The picture is drawn in the symbol's colours, as the painters draw it.
    qd::KillPicture(pic);
    pic = picttest::recordPicture({0, 0, 600, 600}, [] {
        qd::RGBForeColor({0xFFFF, 0, 0});
        qd::PaintRect({0, 0, 600, 60});
    });
    const Tiff t(tiff(""));
    EXPECT_EQ(t.u16(TIFFTAG_PHOTOMETRIC), PHOTOMETRIC_PALETTE);
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    ASSERT_TRUE(TIFFGetField(t.tif, TIFFTAG_COLORMAP, &red, &green, &blue));
    EXPECT_EQ(red[2], 65535);
    EXPECT_EQ(green[2], 0);
    EXPECT_EQ(red[1], 65535);
    EXPECT_EQ(blue[1], 65535);
    const std::vector<uint8_t> r = t.row(0);
    EXPECT_EQ(r[0], 2);
    EXPECT_EQ(r[10], 1);
}

TEST_F(Raster, BlackAndWhiteIsOneBitMostSignificantFirst) {
    const Tiff t(tiff("B/W", 10));
    EXPECT_EQ(t.u16(TIFFTAG_BITSPERSAMPLE), 1);
    EXPECT_EQ(t.u16(TIFFTAG_PHOTOMETRIC), PHOTOMETRIC_MINISBLACK);
    const std::vector<uint8_t> r = t.row(0);
    ASSERT_EQ(r.size(), 2u);
    // Six black pixels (0), four white (1), then six 0 bits of padding.
    EXPECT_EQ(r[0], 0x03);
    EXPECT_EQ(r[1], 0xC0);
}

// Yellow bars on a light cyan background are both light by their red: the
// background shows white and the bars black all the same.
TEST_F(Raster, BlackAndWhiteShowsColouredBarsBlackOnTheirBackground) {
    gSym.black2 = 0;
    gSym.yellow2 = 100;
    gSym.cyan22 = 40;
    qd::KillPicture(pic);
    pic = picttest::recordPicture({0, 0, 600, 600}, [] {
        qd::RGBForeColor({0x9999, 0xFFFF, 0xFFFF});
        qd::PaintRect({0, 0, 600, 600});
        qd::RGBForeColor({0xFFFF, 0xFFFF, 0});
        for (int x = 0; x < 600; x += 120) qd::PaintRect({0, x, 600, x + 60});
    });
    const Tiff t(tiff("B/W", 10));
    const std::vector<uint8_t> r = t.row(0);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], 0x03);
    EXPECT_EQ(r[1], 0xC0);
}

TEST_F(Raster, OptionWords) {
    struct {
        const char* options;
        uint16_t compression;
    } kinds[] = {{"-none", COMPRESSION_NONE},
                 {"-packbits", COMPRESSION_PACKBITS},
                 {"-lzw", COMPRESSION_LZW},
                 {"B/W -g3", COMPRESSION_CCITTFAX3},
                 {"B/W -g4", COMPRESSION_CCITTFAX4}};
    for (const auto& k : kinds) {
        const Tiff t(tiff(k.options));
        EXPECT_EQ(t.u16(TIFFTAG_COMPRESSION), k.compression) << k.options;
        EXPECT_EQ(t.row(0)[0], k.options[0] == 'B' ? 0x03 : 0) << k.options;
    }
    const Tiff lzw(tiff("-lzw -predictor 2 -rowsperstrip -7"));
    EXPECT_EQ(lzw.u16(TIFFTAG_PREDICTOR), 2);
    EXPECT_EQ(lzw.u32(TIFFTAG_ROWSPERSTRIP), 7u);
    const Tiff g3(tiff("B/W -g3 -2d -fill -lsb2msb"));
    EXPECT_EQ(g3.u32(TIFFTAG_GROUP3OPTIONS), GROUP3OPT_2DENCODING | GROUP3OPT_FILLBITS);
    EXPECT_EQ(g3.u16(TIFFTAG_FILLORDER), FILLORDER_LSB2MSB);
    EXPECT_EQ(g3.row(0)[0], 0x03);  // libtiff turns the bits back
    // The first compression word in the table's order wins.
    EXPECT_EQ(parseTiffOptions("-lzw -none").compression, COMPRESSION_NONE);
    EXPECT_EQ(MaxValToBits(255), 8);
    EXPECT_EQ(MaxValToBits(256), 9);
    EXPECT_EQ(MaxValToBits(1), 1);
    EXPECT_EQ(MaxValToBits(0), 0);
}

// Packed strips (each row packed once however often it repeats) hold exactly
// the rows of the unpacked file: runs longer than a PackBits run, single and
// double pixels, repeated rows and strips of a few rows.
TEST_F(Raster, PackedRowsEqualTheUnpackedOnes) {
    qd::KillPicture(pic);
    pic = picttest::recordPicture({0, 0, 600, 600}, [] {
        qd::ForeColor(qd::blackColor);
        for (int y = 0, w = 1; y < 600; y += 40, w = w * 3 % 37 + 1)
            for (int x = 0; x < 600; x += 4 * w) qd::PaintRect({y, x, y + 20 + w, x + w});
        qd::PaintRect({300, 0, 320, 600});
    });
    for (const char* options : {"", "-rowsperstrip 3", "B/W", "B/W -rowsperstrip 1"}) {
        SCOPED_TRACE(options);
        const std::string plain = std::string(options) + " -none";
        const Tiff packed(tiff(options, 300, 1270), "packed.tif");
        const Tiff unpacked(tiff(plain.c_str(), 300, 1270), "unpacked.tif");
        ASSERT_TRUE(packed.tif && unpacked.tif);
        EXPECT_EQ(packed.u16(TIFFTAG_COMPRESSION), COMPRESSION_PACKBITS);
        std::vector<uint8_t> a(static_cast<size_t>(TIFFScanlineSize(packed.tif))), b(a.size());
        for (uint32_t y = 0; y < 300; ++y) {
            ASSERT_EQ(TIFFReadScanline(packed.tif, a.data(), y, 0), 1) << y;
            ASSERT_EQ(TIFFReadScanline(unpacked.tif, b.data(), y, 0), 1) << y;
            ASSERT_EQ(a, b) << "row " << y;
        }
    }
}

TEST_F(Raster, BitmapsOfOneAndEightBits) {
    std::string bmp;
    ASSERT_TRUE(BMPToFile(pic, {0, 0, 30, 30}, kDpi, &bmp));
    ASSERT_GE(bmp.size(), 62u);
    auto u32 = [&bmp](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bmp[at + i]);
        return v;
    };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(u32(2), bmp.size());
    EXPECT_EQ(static_cast<uint8_t>(bmp[28]), 1);  // bits a pixel
    EXPECT_EQ(u32(38), 10000u);                   // 254 dpi in pixels a metre
    // The bottom row comes first: six black pixels (0), six white.
    EXPECT_EQ(static_cast<uint8_t>(bmp[u32(10)]), 0x03);
    EXPECT_EQ(static_cast<uint8_t>(bmp[u32(10) + 1]), 0xF0);
    gSym.black2 = 0;
    gSym.cyan2 = 100;
    ASSERT_TRUE(BMPToFile(pic, {0, 0, 30, 30}, kDpi, &bmp));
    EXPECT_EQ(static_cast<uint8_t>(bmp[28]), 8);
    EXPECT_EQ(u32(46), 256u);
    if (!testsupport::requireProgram("/usr/bin/convert", "imagemagick")) return;
    const std::string path = testsupport::tempPath("b.bmp");
    std::ofstream(path, std::ios::binary) << bmp;
    const testsupport::RunResult r = testsupport::runCommand("/usr/bin/convert " + path + " info:");
    EXPECT_NE(r.out.find("30x30"), std::string::npos) << r.out << r.err;
}

TEST_F(Raster, PcEpsHeaderGivesTheParts) {
    const std::string file = pcEpsFile("%!PS eps", "TIFF");
    ASSERT_EQ(file.size(), 30u + 8 + 4);
    const std::string header(
        "\xC5\xD0\xD3\xC6\x1E\0\0\0\x08\0\0\0\0\0\0\0\0\0\0\0\x26\0\0\0\x04\0\0\0\xFF\xFF", 30);
    EXPECT_EQ(file.substr(0, 30), header);
    EXPECT_EQ(file.substr(30), "%!PS epsTIFF");
    EXPECT_TRUE(pcEpsPreviewFits({0, 0, 600, 600}));
    EXPECT_FALSE(pcEpsPreviewFits({0, 0, 200, 700}));
}

}  // namespace
