// Every code type's picture replayed into a one-bit and a grey world gives the
// pixels of the colour world thresholded, as the raster files threshold them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "picture/fileservices.h"
#include "picture/outputstate.h"
#include "picture/symbolbox.h"
#include "picture/symbolpicture.h"
#include "platform/macroman.h"
#include "platform/quickdraw/picture.h"
#include "platform/quickdraw/quickdraw.h"
#include "support/cases.h"
#include "symbology/messages.h"

namespace {

constexpr double kDpi = 300;
constexpr int kWhiteFrom = 129;  // what the black-and-white files call white

// The picture drawn at kDpi into a world of the depth, every pixel 0xRRGGBB.
std::vector<uint32_t> replayed(const qd::Picture* pic, int depth, int whiteFrom) {
    const double k = kDpi / pictureUnitsPerInch();
    const qd::Rect natural{0, 0, static_cast<int32_t>(std::lround(pic->frame.height() * k)),
                           static_cast<int32_t>(std::lround(pic->frame.width() * k))};
    qd::GWorldPtr keep = qd::GetGWorld();
    qd::GWorldPtr w = nullptr;
    std::vector<uint32_t> out;
    if (qd::NewGWorld(&w, depth, natural) != 0) return out;
    qd::SetGWorldWhiteFrom(w, whiteFrom);
    qd::SetGWorld(w);
    qd::DrawPicture(pic, natural);
    int stride = 0;
    const uint32_t* px = qd::GWorldPixels(w, &stride);
    for (int y = 0; y < natural.height(); ++y)
        for (int x = 0; x < natural.width(); ++x) out.push_back(px[y * stride / 4 + x] & 0xFFFFFF);
    qd::SetGWorld(keep);
    qd::DisposeGWorld(w);
    return out;
}

uint32_t luminance(uint32_t px) {
    const uint32_t r = px >> 16 & 0xFF, g = px >> 8 & 0xFF, b = px & 0xFF;
    const uint32_t level = ((299 * r + 587 * g + 114 * b) * 0x101 + 500) / 1000 >> 8;
    return level << 16 | level << 8 | level;
}

TEST(InkWorldSymbols, EveryCodeTypeThresholdsAsItsColourPicture) {
    // Black bars, and red bars whose red the threshold calls white.
    for (const char* colour : {"", ", colour:\"10 20 30 60\"", ", colour:\"0 100 100 0\""}) {
        for (const auto& c : testsupport::readCases("automation/sweep.txt", 5)) {
            SCOPED_TRACE(c.where + " " + c[0] + colour);
            resetWorld();
            initLabelItems();
            gMsg.quiet = true;
            // The record's text in Mac OS Roman, as the command line takes it.
            std::string record, error;
            ASSERT_TRUE(platform::utf8ToMacRoman("{" + c[1] + colour + "}", &record));
            ASSERT_TRUE(forEachScriptPair(record.c_str(), applyScriptPair, &error)) << error;
            ASSERT_TRUE(addSingleSymbolItem() && recordSymbolPicture());
            const qd::Picture* pic = gPictOut.Pict;
            const std::vector<uint32_t> rgb = replayed(pic, 32, 0);
            const std::vector<uint32_t> bits = replayed(pic, 1, kWhiteFrom);
            const std::vector<uint32_t> grey = replayed(pic, qd::kGreyDepth, 0);
            ASSERT_FALSE(rgb.empty());
            ASSERT_EQ(bits.size(), rgb.size());
            ASSERT_EQ(grey.size(), rgb.size());
            size_t wrongBits = 0, wrongGreys = 0, firstWrong = rgb.size();
            for (size_t i = 0; i < rgb.size(); ++i) {
                const uint32_t want = (rgb[i] >> 16) >= kWhiteFrom ? 0xFFFFFFu : 0u;
                if (bits[i] != want) ++wrongBits, firstWrong = std::min(firstWrong, i);
                if (grey[i] != luminance(rgb[i])) ++wrongGreys;
            }
            EXPECT_EQ(wrongBits, 0u) << "first at pixel " << firstWrong;
            EXPECT_EQ(wrongGreys, 0u);
        }
    }
    resetWorld();
}

}  // namespace
