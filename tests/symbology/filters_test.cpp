#include <gtest/gtest.h>

#include <string>

#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "platform/numbers.h"
#include "support/text_fields.h"
#include "symbol_support.h"
#include "symbology/Filters.h"
#include "symbology/panels.h"

namespace {

using platform::TERec;

struct KeyFilters : symtest::World {
    static void typeKeys(const std::string& keys) {
        for (char c : keys) {
            gFilter.theChar = static_cast<unsigned char>(c);
            Filter();
        }
    }
    static int32_t& focusOf(int32_t mode) {
        return mode == 1 ? gPanels.c_TE1 : mode == 5 ? gPanels.c_TE5 : gPanels.c_TE;
    }
};

TEST_F(KeyFilters, KeySequencesOfEveryFilter) {
    for (const auto& c : testsupport::readCases("symbology/key_filters.txt", 12)) {
        SCOPED_TRACE(c.where);
        resetWorld();
        gMsg.quiet = true;
        const int32_t mode = c.integer(0);
        const size_t slash = c[1].find('/');
        gSym.code = std::stoi(c[1].substr(0, slash));
        gSym.variation1 = std::stoi(c[1].substr(slash + 1));
        gProd.background = mode;
        gPanels.c_TE = gPanels.c_TE1 = gPanels.c_TE5 = 0;
        focusOf(mode) = c.integer(2);
        gSym.gglen = c[3].empty() ? 0 : c.integer(3);
        const int32_t serialIndex = mode == 1 ? c.integer(2) : 0;
        if (!c[4].empty()) {
            TERec* start = mode == 1                        ? &gPanels.TEBack1[serialIndex]
                           : mode == 0 && c.integer(2) == 1 ? &gPanels.TEX
                                                            : &gPanels.TEH;
            testsupport::fillMarked(start, c[4]);
        }
        const int beepsBefore = platform::beepCount();

        typeKeys(c[5]);

        EXPECT_EQ(gPanels.TEH.text, c[6]);
        EXPECT_EQ(gPanels.TEX.text, c[7]);
        if (serialIndex >= 0) {
            EXPECT_EQ(gPanels.TEBack1[serialIndex].text, c[8]);
        }
        EXPECT_EQ(platform::beepCount() - beepsBefore, c.integer(9));
        if (c[10].empty()) {
            EXPECT_EQ(gMsg.shown, 0);
        } else {
            EXPECT_EQ(gMsg.shown, platform::beepCount() - beepsBefore);
            EXPECT_EQ(gMsg.last, symtest::messageText(c.integer(10)));
        }
        EXPECT_EQ(focusOf(mode), c.integer(11));
    }
}

TEST_F(KeyFilters, TabActivatesTheNextFieldAlone) {
    gProd.background = 0;
    platform::TEActivate(&gPanels.TEBack2[3]);
    typeKeys("\t");
    EXPECT_TRUE(gPanels.TEX.active);
    EXPECT_FALSE(gPanels.TEH.active);
    EXPECT_FALSE(gPanels.TEBack2[3].active);
    gProd.background = 5;
    typeKeys("\t\t");
    EXPECT_TRUE(gPanels.TEBack5[1].active);
    EXPECT_FALSE(gPanels.TEX.active);
    gProd.background = 1;
    gPanels.c_TE1 = 3;
    typeKeys("\t");  // serial field 0 is never activated by Tab
    for (const TERec& f : gPanels.TEBack1) EXPECT_FALSE(f.active);
}

int gSounded = 0;

TEST_F(KeyFilters, ARefusalSoundsTheDesktopsBeep) {
    gSounded = 0;
    platform::SetBeepSound([](int16_t duration) { gSounded = duration; });
    typeKeys("x");
    platform::SetBeepSound(nullptr);
    EXPECT_EQ(gSounded, kRefusedBeep);
    EXPECT_EQ(gPanels.TEH.text, "");
}

// The Code 39 add-on is the item's add-on at once: after every key and every deletion.
TEST_F(KeyFilters, Code39AddOnFollowsIntoTheSymbolAndTheSelectedItem) {
    gSym.code = 6;
    gProd.background = 0;
    gPanels.c_TE = 1;
    ASSERT_EQ(addLabelItem(), 0);
    typeKeys("12.5");
    EXPECT_STREQ(gData.chAddCode, "12.5");
    EXPECT_EQ(itemAt(0)->text(item::addCode), "12.5");
    typeKeys("\x08");
    EXPECT_STREQ(gData.chAddCode, "12.");
    EXPECT_EQ(itemAt(0)->text(item::addCode), "12.");
    // Other code types leave the add-on to OK.
    gSym.code = 0;
    typeKeys(
        "\x08"
        "7");
    EXPECT_STREQ(gData.chAddCode, "12.");
}

// Every byte in every code type, variant, entry mode and focus: nothing is
// written outside a field, no field outgrows the data buffer, no key crashes.
TEST_F(KeyFilters, EveryKeyInEveryTypeStaysInsideItsFields) {
    gMsg.quiet = true;
    constexpr int kVariants = 16;
    const std::pair<int32_t, int32_t> places[] = {{0, 0}, {0, 1}, {1, 2}, {5, 0}, {0, 7}, {1, 9}};
    for (int32_t code = -1; code <= 43; ++code) {
        for (int32_t variant = 0; variant < kVariants; ++variant) {
            for (const auto& [mode, focus] : places) {
                resetPanels();
                gSym.code = code;
                gSym.variation1 = variant;
                gProd.background = mode;
                (mode == 1 ? gPanels.c_TE1 : gPanels.c_TE) = focus;
                for (int k = 0; k < 256; ++k) {
                    gFilter.theChar = k;
                    Filter();
                }
                for (const TERec* f : {&gPanels.TEH, &gPanels.TEX, &gPanels.TEBack1[2]})
                    ASSERT_LT(f->text.size(), kAddCodeSize) << code << "/" << variant;
            }
        }
    }
}

// The dashes a filter adds for reading are never data: what was typed is what
// the symbol holds.
TEST_F(KeyFilters, TypedDataReadsBackAsTyped) {
    for (const auto& c : testsupport::readCases("symbology/typed_reads.txt", 6)) {
        SCOPED_TRACE(c.where);
        SetUp();
        const size_t slash = c[0].find('/');
        gSym.code = std::stoi(c[0].substr(0, slash));
        gSym.variation1 = std::stoi(c[0].substr(slash + 1));
        gProd.background = 0;
        gPanels.c_TE = 0;
        typeKeys(c[1] + "\t" + c[2]);
        EXPECT_EQ(gPanels.TEH.text, c[3]);
        const std::string& main = gPanels.TEH.text;
        const std::string& addOn = gPanels.TEX.text;
        Gettw(main.c_str(), static_cast<int32_t>(main.size()), addOn.c_str(),
              static_cast<int32_t>(addOn.size()));
        ASSERT_EQ(STRixel(), 0) << gMsg.last;
        const std::string& format = c[4];
        const bool retail = format == "EAN-13" || format == "EAN-8" || format == "UPC-A";
        const double itfScale = 1.0 / 250.0, scale = 1.0 / 110.0;
        const testsupport::Decoded d =
            retail ? symtest::readBack(format.c_str(), !addOn.empty())
                   : symtest::read(format, {}, format == "ITF" ? itfScale : scale);
        EXPECT_EQ(d.text, c[5]) << d.error;
    }
}

TEST_F(KeyFilters, DataSplitByCodeType) {
    for (const auto& c : testsupport::readCases("symbology/data_split.txt", 6)) {
        SCOPED_TRACE(c.where);
        gSym.code = c.integer(0);
        Gettw(c[1].c_str(), static_cast<int32_t>(c[1].size()), c[2].c_str(),
              static_cast<int32_t>(c[2].size()));
        EXPECT_STREQ(gData.chMainCode, c[3].c_str());
        EXPECT_EQ(gData.len1, static_cast<int32_t>(c[3].size()));
        EXPECT_STREQ(gData.chMainCode2, c[4].c_str());
        EXPECT_EQ(gData.len11, static_cast<int32_t>(c[4].size()));
        EXPECT_STREQ(gData.chAddCode, c[5].c_str());
        EXPECT_STREQ(gData.chAddCode2, c[5].c_str());
        EXPECT_EQ(gData.len2, static_cast<int32_t>(c[5].size()));
        EXPECT_EQ(gData.len22, gData.len2);
    }
}

}  // namespace
