// The painters' guards: element lists walked only up to cu_len, long symbols
// in 32-bit sums, a bounded header, the retail Code 128 line shorter than 18
// characters, and the scaled and spaced text routines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/world.h"
#include "pict_fixture.h"
#include "pict_ops.h"
#include "picture/hooks.h"
#include "picture/pictpaint.h"
#include "picture/picttext.h"
#include "picture/services.h"
#include "symbology/state.h"

using namespace picttest;

namespace {

// Records the picture of the painter alone over the current element list.
Ops paintAlone(int32_t boxWidth) {
    return recordOps({0, 0, 4000, 40000}, [boxWidth] {
        gHooks.text_ptr = getCharacterOutPict;
        gHooks.drawstring_ptr = getStringOutPict;
        DrawPictBarcode(352, 0, 0, boxWidth, 0, 0, 0, 1);
    });
}

TEST(PictureGuards, ElementListIsReadOnlyUpToItsLength) {
    ASSERT_TRUE(prepare({5, 0, "ABC", ""}));
    // One bar row without any row end, and bars beyond cu_len that must stay unread.
    gEl.clear();
    for (unsigned char b : {59, 59, 190, 59, 196, 59}) gEl.put(b);
    for (int i = 0; i < 50; ++i) gEl.chNum[gEl.cu_len + i] = 202;
    const Ops o = paintAlone(2000);
    ASSERT_EQ(o.painted.size(), 2u);
    EXPECT_EQ(o.painted[1].right, o.painted[1].left + 2 * 660 / 10);
}

TEST(PictureGuards, LongSymbolsKeepTheirPlaces) {
    // Past 327 mm the places no longer fit 16 bits.
    ASSERT_TRUE(prepare({5, 0, std::string(60, 'A'), "", 200}));
    const Ops o = paintAlone(40000);
    int last = 0;
    for (const qd::Rect& r : o.painted) {
        EXPECT_GT(r.left, last);
        last = r.left;
    }
    EXPECT_GT(last, 32767);
}

TEST(PictureGuards, HeaderLengthIsBounded) {
    ASSERT_TRUE(prepare({2, 0, "0317847", ""}));
    std::memset(gData.chHeadCode, '7', kHeadCodeSize);
    gData.len3 = 5000;
    const Ops o = paintAlone(3000);
    size_t header = 0;
    for (const TextRun& t : o.texts)
        if (t.y < 400) header += t.text.size();
    EXPECT_LE(header, kHeadCodeSize - 1);
}

TEST(PictureGuards, RetailCode128LineDrawsWhatItHas) {
    const Ops o = recordOps({0, 0, 100, 400}, [] { DrawMS128Text("1234567", 7, 0, 10, 50, 1); });
    std::string drawn;
    for (const TextRun& t : o.texts)
        for (char c : t.text)
            if (c != ' ') drawn += c;
    EXPECT_EQ(drawn, "1234567");
    // The white group stands on its dark box.
    ASSERT_EQ(o.painted.size(), 1u);
    EXPECT_EQ(o.painted[0], (qd::Rect{32, 30, 50, 73}));
}

TEST(PictureGuards, ScaledAndSpacedText) {
    auto runs = [](double siz, int code) {
        resetWorld();
        gSym.Siz = siz;
        gSym.code = code;
        return recordOps({0, 0, 100, 400}, [siz] {
            DrawScaledText(10, 50, 10, siz, reinterpret_cast<const unsigned char*>("ABC"), 3, 10,
                           0);
        });
    };
    // Whole tens: a plain size by the code type; others scaled.
    Ops a = runs(100, 6);
    ASSERT_FALSE(a.texts.empty());
    EXPECT_EQ(a.texts.back().size, 20);
    Ops b = runs(80, 4);
    EXPECT_EQ(b.texts.back().size, 16);
    EXPECT_EQ(b.texts.back().text, "ABC");
    Ops c = runs(95, 6);
    EXPECT_EQ(c.texts.back().text, "ABC");

    // Spaced text: each character starts `spacing` after the one before.
    int32_t w = 0;
    const Ops s = recordOps({0, 0, 100, 400}, [&w] {
        qd::MoveTo(10, 50);
        w = DrawStyledText(reinterpret_cast<const unsigned char*>("WXYZ"), 4, 1, 7.5);
    });
    ASSERT_EQ(s.texts.size(), 4u);
    EXPECT_EQ(s.texts[1].x, 17);
    EXPECT_EQ(s.texts[2].x, 25);
    EXPECT_EQ(s.texts[3].x, 32);
    EXPECT_GT(w, 22);
}

TEST(PictureGuards, BarcodeTextSize) {
    ASSERT_TRUE(prepare({40, 0, "HELLO", ""}));
    double mm = -1;
    EXPECT_EQ(GetBarcodeTextSize(&mm), 0);
    EXPECT_EQ(mm, 0);
    ASSERT_TRUE(prepare({5, 0, "ABC", ""}));
    EXPECT_EQ(GetBarcodeTextSize(&mm), 20);
    EXPECT_NEAR(mm, 20 * 25.4 / 72, 1e-9);
    gSym.customTeSize = 7;
    EXPECT_EQ(GetBarcodeTextSize(&mm), 7);
}

}  // namespace
