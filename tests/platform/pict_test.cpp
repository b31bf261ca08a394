#include "platform/quickdraw/pict.h"

#include <gtest/gtest.h>

#include <cairo-pdf.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/quickdraw/image.h"
#include "qd_world.h"
#include "support/fonts.h"
#include "support/reader.h"

namespace {

using namespace qd;

using qdtest::fontNumber;
using qdtest::World;

// The shapes an outside reader draws as we do: no patterns, round corners or
// turned clips, which it approximates.
void drawPlain(bool withText = true) {
    RGBForeColor({0xFFFF, 0xF000, 0xC000});
    PaintRect({0, 0, 100, 160});
    ForeColor(blackColor);
    for (int i = 0; i < 12; ++i) PaintRect({10, 10 + i * 6, 60, 13 + i * 6 + (i % 3)});
    PenSize(2, 2);
    FrameRect({4, 4, 96, 156});
    PenNormal();
    RGBForeColor({0x0000, 0x8000, 0xFFFF});
    PaintOval({66, 100, 94, 150});
    ForeColor(redColor);
    PaintRect({12, 100, 40, 150});
    ForeColor(blackColor);
    if (withText) {
        TextFont(fontNumber("Helvetica"));
        TextSize(14);
        MoveTo(12, 84);
        DrawString(
            reinterpret_cast<const unsigned char*>("\x07"
                                                   "ABC 123"));
    }
    ClipRect({0, 0, 100, 160});
}

// All a label picture holds: the plain shapes, then comments, lines, patterns,
// round corners, arcs, styled and fractional text and a turned clip.
void drawLabel(bool withText) {
    drawPlain(withText);
    PicComment(190, 0, nullptr);
    PenSize(2, 2);
    MoveTo(90, 70);
    LineTo(150, 90);
    PenNormal();
    PicComment(191, 0, nullptr);
    ForeColor(redColor);
    FrameRoundRect({10, 96, 40, 150}, 12, 12);
    PaintArc({42, 96, 64, 118}, 45, 180);
    FillRect({44, 124, 62, 150}, kGray);
    ForeColor(blackColor);
    if (withText) {
        TextSize(12);
        TextFace(bold);
        MoveTo(12, 80);
        DrawString(
            reinterpret_cast<const unsigned char*>("\x03"
                                                   "ABC"));
        TextFace(0);
        SetFractEnable(true);
        DrawString(reinterpret_cast<const unsigned char*>("\x03xyz"));
        SetFractEnable(false);
    }
    const char rotate[8] = {0, 0, 1, 14, 1, 14, 0, 0};
    PicComment(200, 8, rotate);
    PicComment(201, 0, nullptr);
    ClipPoly({{{70, 10}, {95, 35}, {70, 60}, {45, 35}}});
    PaintRect({40, 0, 100, 70});
    ClipRect({0, 0, 100, 160});
}

// A copied bitmap, scaled and masked; `plain` copies it as it is, for outside
// readers, which scale by their own rounding and draw the or mode as copy.
void drawBits(bool plain = false) {
    GWorldPtr src = nullptr;
    GrafPort* port = GetPort();
    ASSERT_EQ(NewGWorld(&src, 32, {0, 0, 8, 12}), 0);
    SetGWorld(src);
    RGBForeColor({0x2000, 0x4000, 0x8000});
    PaintRect({0, 0, 4, 12});
    PaintRect({4, 0, 8, 3});
    SetPort(port);
    if (plain) {
        CopyBits(src, {0, 0, 8, 12}, {70, 100, 78, 112}, srcCopy);
        DisposeGWorld(src);
        // One pixel wide, grey over white (rows PackBits would shorten): its
        // rows go unpacked, as every reader takes them.
        GWorldPtr column = nullptr;
        ASSERT_EQ(NewGWorld(&column, 32, {0, 0, 8, 1}), 0);
        SetGWorld(column);
        RGBForeColor({0x8080, 0x8080, 0x8080});
        PaintRect({0, 0, 4, 1});
        SetPort(port);
        CopyBits(column, {0, 0, 8, 1}, {70, 151, 94, 154}, srcCopy);
        DisposeGWorld(column);
        return;
    }
    CopyBits(src, {0, 0, 8, 12}, {70, 100, 86, 124}, srcCopy);
    Polygon mask{{{0, 0}, {0, 30}, {30, 0}}};
    CopyBits(src, {0, 0, 8, 12}, {0, 0, 8, 12}, srcOr, &mask);
    DisposeGWorld(src);
}

Picture* recordLabel(bool withText) {
    World w({0, 0, 100, 160});
    Picture* pic = OpenPicture({0, 0, 100, 160});
    drawLabel(withText);
    drawBits();
    ClosePicture();
    return pic;
}

TEST(Pict, ReaderGivesBackTheDisplayListTheWriterWrote) {
    ASSERT_TRUE(testsupport::useTestFonts());
    Picture* pic = recordLabel(true);
    for (int resolution : {kPictPointsPerInch, kPictHundredthsMmPerInch}) {
        const std::string bytes = WritePict(*pic, resolution);
        ASSERT_EQ(bytes.size() % 2, 0u);
        std::string error;
        const qdtest::PicturePtr back = qdtest::readPict(bytes, &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(back->frame, pic->frame);
        ASSERT_EQ(back->ops.size(), pic->ops.size());
        for (size_t i = 0; i < pic->ops.size(); ++i)
            EXPECT_TRUE(back->ops[i] == pic->ops[i])
                << "op " << i << " kind " << static_cast<int>(pic->ops[i].op);
    }
    // The frame word holds the size at 72 a inch.
    pic->frame = {0, 0, 2540, 5080};
    const std::string fine = WritePict(*pic, kPictHundredthsMmPerInch);
    EXPECT_EQ(static_cast<uint8_t>(fine[6]), 0);
    EXPECT_EQ(static_cast<uint8_t>(fine[7]), 72);
    KillPicture(pic);
}

// The picture written, read back to the same display list, and written again
// to the same bytes.
::testing::AssertionResult readsBackAsRecorded(const Picture& pic) {
    const std::string bytes = WritePict(pic);
    std::string error;
    const qdtest::PicturePtr back = qdtest::readPict(bytes, &error);
    if (!back) return ::testing::AssertionFailure() << error;
    std::string why;
    if (back->ops.size() != pic.ops.size()) why = "another number of ops";
    for (size_t i = 0; why.empty() && i < pic.ops.size(); ++i)
        if (!(back->ops[i] == pic.ops[i])) why = "op " + std::to_string(i) + " differs";
    if (why.empty() && WritePict(*back) != bytes) why = "written again to other bytes";
    return why.empty() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << why;
}

// A clip outline whose region would need more scan lines than a region's
// 16-bit size counts: the region goes as its box, and the outline still reads
// back exactly from its comment.
TEST(Pict, OutlinesLongerThanARegionHoldsReadBack) {
    World w({0, 0, 100, 100});
    Picture* pic = OpenPicture({0, 0, 100, 100});
    const Polygon slant{{{0, 0}, {20000, 20000}, {20000, 20010}}};
    ClipPoly(slant);
    PaintRect({0, 0, 100, 100});
    ClosePicture();
    EXPECT_TRUE(readsBackAsRecorded(*pic));
    KillPicture(pic);
}

// An outline reaching past 16-bit coordinates is written as the file can hold
// it, its region made from the same points: read back, it writes the same bytes.
TEST(Pict, OutlinesBeyondSixteenBitsWriteAlikeOnceReadBack) {
    World w({0, 0, 100, 100});
    Picture* pic = OpenPicture({0, 0, 100, 100});
    ClipPoly(Polygon{{{0, -40000}, {50, 60}, {90, -5}}});
    PaintRect({0, 0, 100, 100});
    ClosePicture();
    std::string bytes, error;
    const qdtest::PicturePtr back = qdtest::writtenAndReadBack(pic, &bytes, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(WritePict(*back), bytes);
}

// Rows of fewer than 8 bytes are never packed: a map one pixel wide goes raw.
TEST(Pict, MapsOnePixelWideReadBack) {
    World w({0, 0, 40, 40});
    Picture* pic = OpenPicture({0, 0, 40, 40});
    Image column;
    column.width = 1;
    column.height = 3;
    column.pixels = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u};
    DrawImage(column, {4, 10, 34, 12}, 0);
    ClosePicture();
    EXPECT_TRUE(readsBackAsRecorded(*pic));
    KillPicture(pic);
}

TEST(Pict, DamagedBytesFailCleanly) {
    Picture* pic = recordLabel(false);
    const std::string bytes = WritePict(*pic);
    KillPicture(pic);
    std::string error;
    for (size_t n = 0; n < bytes.size(); n += (n < 64 ? 1 : 7)) {
        std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        error.clear();
        EXPECT_EQ(ReadPict(cut.data(), cut.size(), &error), nullptr) << n;
        EXPECT_FALSE(error.empty());
    }
    // Flipped bytes never crash: they read or fail.
    std::srand(7);
    for (int round = 0; round < 300; ++round) {
        std::string bad = bytes;
        for (int k = 0; k < 4; ++k)
            bad[std::rand() % bad.size()] ^= static_cast<char>(1 + std::rand() % 255);
        KillPicture(
            ReadPict(reinterpret_cast<const unsigned char*>(bad.data()), bad.size(), &error));
    }
    const unsigned char v1[] = {0, 20, 0, 0, 0, 0, 0, 10, 0, 10, 0x11, 0x01, 0xFF};
    EXPECT_EQ(ReadPict(v1, sizeof v1, &error), nullptr);
}

// Reads a binary PPM (as pdftoppm writes it) into 0xRRGGBB pixels.
bool readPPM(const std::string& path, int* w, int* h, std::vector<uint32_t>* px) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int depth = 0;
    if (!(in >> magic >> *w >> *h >> depth) || magic != "P6" || depth != 255) return false;
    in.get();
    std::vector<unsigned char> raw(static_cast<size_t>(*w) * *h * 3);
    if (!in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size())))
        return false;
    px->resize(static_cast<size_t>(*w) * *h);
    for (size_t i = 0; i < px->size(); ++i)
        (*px)[i] = (raw[3 * i] << 16) | (raw[3 * i + 1] << 8) | raw[3 * i + 2];
    return true;
}

// How many of our pixels a rendered page (a PPM) lacks: the picture is found by
// its background's corner on the page; a pixel matches when the page has its
// colour within one pixel, since readers place pictures at fractions of a point.
int pixelsApart(const std::string& ppm, const std::vector<uint32_t>& ours, const Rect& frame) {
    int w = 0, h = 0;
    std::vector<uint32_t> page;
    if (!readPPM(ppm, &w, &h, &page)) return frame.width() * frame.height();
    int left = w, top = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (page[static_cast<size_t>(y) * w + x] != 0xFFFFFF) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
    if (left + frame.width() > w || top + frame.height() > h) return frame.width() * frame.height();
    auto matches = [&](int x, int y) {
        const uint32_t want = ours[static_cast<size_t>(y) * frame.width() + x];
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = left + x + dx, py = top + y + dy;
                if (px >= 0 && py >= 0 && px < w && py < h &&
                    qdtest::channelGap(page[static_cast<size_t>(py) * w + px], want) <= 64)
                    return true;
            }
        return false;
    };
    int differ = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) differ += !matches(x, y);
    return differ;
}

// The plain label and its bitmap recorded; `ours` gets the picture as we draw it.
Picture* recordPlain(bool plainBits, std::vector<uint32_t>* ours) {
    World w({0, 0, 100, 160});
    Picture* pic = OpenPicture({0, 0, 100, 160});
    drawPlain();
    drawBits(plainBits);
    ClosePicture();
    DrawPicture(pic, pic->frame);
    *ours = w.pixels();
    return pic;
}

TEST(Pict, AnOutsideReaderDrawsOurBytesAsWeDo) {
    ASSERT_TRUE(testsupport::useTestFonts());
    std::vector<uint32_t> ours;
    Picture* pic = recordPlain(true, &ours);
    const Rect frame = pic->frame;
    const std::string page = testsupport::pictThroughLibreOffice(WritePict(*pic), 72, false);
    KillPicture(pic);
    ASSERT_FALSE(page.empty());
    // Text is set by the reader's own font engine: under 1 per cent may differ.
    EXPECT_LT(pixelsApart(page, ours, frame), frame.width() * frame.height() / 100);
}

TEST(Pict, PicturesReplayIntoPdfPages) {
    ASSERT_TRUE(testsupport::useTestFonts());
    if (!testsupport::requireProgram("pdftoppm", "poppler-utils")) return;
    std::vector<uint32_t> ours;
    Picture* pic = recordPlain(false, &ours);
    const Rect frame = pic->frame;
    const std::string pdf = testsupport::tempPath("page.pdf");
    cairo_surface_t* page = cairo_pdf_surface_create(pdf.c_str(), 300, 200);
    GrafPort* port = NewPort(page, {-40, -50, 160, 250});
    SetPort(port);
    DrawPicture(pic, frame);
    DisposePort(port);
    cairo_surface_destroy(page);
    KillPicture(pic);
    const std::string prefix = testsupport::tempPath("page");
    const auto ppm = testsupport::runCommand("pdftoppm -r 72 -aa no -aaVector no '" + pdf + "' '" +
                                             prefix + "'");
    ASSERT_EQ(ppm.status, 0) << ppm.err;
    // Only edges of curves and glyphs may fall differently in the PDF rasteriser.
    EXPECT_LT(pixelsApart(prefix + "-1.ppm", ours, frame), frame.width() * frame.height() / 1000);
}

}  // namespace
