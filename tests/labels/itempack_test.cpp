// Packing settings into a label item and loading them back, over many random
// settings and at the edges of each field.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

struct ItemPack : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
    }
    static int32_t newItem(uint16_t kind) {
        EXPECT_EQ(addLabelItem(), 0);
        const int32_t i = labelBack.lastItem;
        gLabel.labelParts[static_cast<size_t>(i)]->setI16(item::kind, kind);
        return i;
    }
    static LabelItem& at(int32_t i) { return *gLabel.labelParts[static_cast<size_t>(i)]; }
    static void forget() {
        gSym = SymbolSettings{};
        gData = SymbolData{};
        gLabel.alpha = gLabel.sepImp = gLabel.impoMode = gLabel.notDrawn = 0;
        gLabel.tempNumRepeat = gLabel.numRepeat = gLabel.proMode = gLabel.selected = 0;
        gLabel.textQuest.clear();
        gLabel.serPos.clear();
        gLabel.incAmount.clear();
        gLabel.serEnd.clear();
    }
};

// Everything a store keeps, so that two loads can be compared whole.
struct Snapshot {
    SymbolSettings s;
    std::string main, main2, prefix, suffix, add, quest, inc, end;
    int32_t len1, len2, alpha, sepImp, impoMode, notDrawn, tempRepeat, repeat, proMode, selected;
    static Snapshot take() {
        return {gSym,
                gData.chMainCode,
                gData.chMainCode2,
                gData.chPrefix,
                gData.chSuffix,
                gData.chAddCode,
                gLabel.textQuest,
                gLabel.incAmount,
                gLabel.serEnd,
                gData.len1,
                gData.len2,
                gLabel.alpha,
                gLabel.sepImp,
                gLabel.impoMode,
                gLabel.notDrawn,
                gLabel.tempNumRepeat,
                gLabel.numRepeat,
                gLabel.proMode,
                gLabel.selected};
    }
};

std::string randomText(std::mt19937& rng, size_t maxLen, size_t minLen = 0) {
    static const std::string kChars =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<size_t> len(minLen, maxLen), pick(0, kChars.size() - 1);
    std::string t(len(rng), ' ');
    for (char& c : t) c = kChars[pick(rng)];
    return t;
}

int32_t in(std::mt19937& rng, int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
}

void randomSettings(std::mt19937& rng, uint16_t kind) {
    gSym.code = in(rng, 0, 42);
    gSym.variation1 = in(rng, 0, 300);
    gSym.Siz = in(rng, 1000, 65535) / 100.0;
    gSym.Hei = in(rng, 101, 32767) / 100.0;
    gSym.cuHei = in(rng, 0, 32767) / 10.0;
    gSym.lMode = in(rng, 0, 7);
    gSym.cLength = in(rng, 0, 2047);
    gSym.end_bars = in(rng, 0, 1);
    gSym.para = in(rng, 0, 1);
    gSym.BWidthRed = in(rng, -32768, 32767);
    gSym.customTeSize = in(rng, -32768, 32767);
    gSym.line = in(rng, -32768, 32767);
    gSym.insetAmount = in(rng, -32768, 32767);
    gSym.orient = kind == kKindBarcode ? 0 : in(rng, 0, 359);
    gSym.textAsFont = in(rng, 0, 1);
    gSym.extraMargin = in(rng, 0, 15);
    gSym.Hgauge = in(rng, -32768, 32767);
    gSym.human = in(rng, 0, 1);
    gSym.AboveHu = in(rng, -32768, 32767);
    gSym.nCheck = in(rng, 0, 1);
    gSym.customColour = in(rng, 0, 1);
    gSym.transpar_ent = in(rng, 0, 1);
    gSym.cutMarks = in(rng, 0, 3);
    gSym.ratio = in(rng, -1, 8);
    gSym.HgaugeJ = in(rng, -32768, 32767);
    gSym.attTop = in(rng, 0, 1);
    for (int32_t* c : {&gSym.black2, &gSym.cyan2, &gSym.magenta2, &gSym.yellow2, &gSym.black22,
                       &gSym.cyan22, &gSym.magenta22, &gSym.yellow22})
        *c = in(rng, 0, 100);
    gSym.non_light = in(rng, 0, 1);
    gSym.strip_extra = in(rng, 0, 1);
    gSym.flushBars = in(rng, 0, 1);
    gSym.TEface = in(rng, 0, 127);
    gSym.TEjust = in(rng, -1, 1);
    gLabel.proMode = in(rng, 0, 3);
    gLabel.alpha = in(rng, 0, 3);
    gLabel.sepImp = in(rng, 0, 1);
    gLabel.impoMode = in(rng, 0, 15);
    gLabel.notDrawn = in(rng, 0, 3);
    gLabel.tempNumRepeat = in(rng, 0, 255);
    gLabel.numRepeat = in(rng, 0, 255);
    gLabel.selected = in(rng, 0, 1);
    pstrSet(gSym.fontAbove, randomText(rng, 60, 1).c_str());
    pstrSet(gSym.customCol, gSym.customColour ? randomText(rng, 60).c_str() : "");
    pstrSet(gSym.fontBelow, randomText(rng, 200).c_str());
    pstrSet(gSym.defFont, randomText(rng, 126, 1).c_str());
    gLabel.textQuest = randomText(rng, 100);
    const std::string prefix = randomText(rng, 40), suffix = randomText(rng, 40);
    const std::string data = randomText(rng, 254 - 2 - prefix.size() - suffix.size(), 1);
    copyBounded(gData.chMainCode, data.c_str());
    copyBounded(gData.chMainCode2, data.c_str());
    copyBounded(gData.chPrefix, prefix.c_str());
    copyBounded(gData.chSuffix, suffix.c_str());
    const std::string add = randomText(rng, 254);
    copyBounded(gData.chAddCode, add.c_str());
    copyBounded(gData.chAddCode2, add.c_str());
    gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
    gData.len2 = static_cast<int32_t>(add.size());
    gLabel.incAmount = randomText(rng, 254);
    gLabel.serEnd = randomText(rng, 254);
}

void expectSame(const Snapshot& a, const Snapshot& b, uint32_t seed) {
    SCOPED_TRACE(seed);
    const SymbolSettings &x = a.s, &y = b.s;
    EXPECT_EQ(x.code, y.code);
    EXPECT_EQ(x.variation1, y.variation1);
    EXPECT_DOUBLE_EQ(x.Siz, y.Siz);
    // Bar-length mode 4 takes the height from the kept bar height.
    EXPECT_DOUBLE_EQ((x.lMode & 4) ? x.cuHei : x.Hei, y.Hei);
    EXPECT_DOUBLE_EQ(x.cuHei, y.cuHei);
    for (auto f :
         {&SymbolSettings::lMode,        &SymbolSettings::cLength,   &SymbolSettings::end_bars,
          &SymbolSettings::para,         &SymbolSettings::BWidthRed, &SymbolSettings::customTeSize,
          &SymbolSettings::insetAmount,  &SymbolSettings::orient,    &SymbolSettings::textAsFont,
          &SymbolSettings::extraMargin,  &SymbolSettings::Hgauge,    &SymbolSettings::human,
          &SymbolSettings::AboveHu,      &SymbolSettings::nCheck,    &SymbolSettings::customColour,
          &SymbolSettings::transpar_ent, &SymbolSettings::cutMarks,  &SymbolSettings::ratio,
          &SymbolSettings::HgaugeJ,      &SymbolSettings::attTop,    &SymbolSettings::black2,
          &SymbolSettings::cyan2,        &SymbolSettings::magenta2,  &SymbolSettings::yellow2,
          &SymbolSettings::black22,      &SymbolSettings::cyan22,    &SymbolSettings::magenta22,
          &SymbolSettings::yellow22,     &SymbolSettings::non_light, &SymbolSettings::strip_extra,
          &SymbolSettings::flushBars,    &SymbolSettings::TEface,    &SymbolSettings::TEjust})
        EXPECT_EQ(x.*f, y.*f);
    EXPECT_DOUBLE_EQ(x.line, y.line);
    EXPECT_EQ(std::string(x.fontAbove, x.fontAbove + 1 + x.fontAbove[0]),
              std::string(y.fontAbove, y.fontAbove + 1 + y.fontAbove[0]));
    EXPECT_EQ(std::string(x.fontBelow, x.fontBelow + 1 + x.fontBelow[0]),
              std::string(y.fontBelow, y.fontBelow + 1 + y.fontBelow[0]));
    EXPECT_EQ(std::string(x.defFont, x.defFont + 1 + x.defFont[0]),
              std::string(y.defFont, y.defFont + 1 + y.defFont[0]));
    if (x.customColour) {
        EXPECT_EQ(std::string(x.customCol, x.customCol + 1 + x.customCol[0]),
                  std::string(y.customCol, y.customCol + 1 + y.customCol[0]));
    }
    EXPECT_EQ(a.main, b.main);
    EXPECT_EQ(a.main2, b.main2);
    EXPECT_EQ(a.prefix, b.prefix);
    EXPECT_EQ(a.suffix, b.suffix);
    EXPECT_EQ(a.add, b.add);
    EXPECT_EQ(a.quest, b.quest);
    EXPECT_EQ(a.inc, b.inc);
    EXPECT_EQ(a.end, b.end);
    EXPECT_EQ(a.len1, b.len1);
    EXPECT_EQ(a.len2, b.len2);
    EXPECT_EQ(a.alpha, b.alpha);
    EXPECT_EQ(a.sepImp, b.sepImp);
    EXPECT_EQ(a.impoMode, b.impoMode);
    EXPECT_EQ(a.notDrawn, b.notDrawn);
    EXPECT_EQ(a.tempRepeat, b.tempRepeat);
    EXPECT_EQ(a.repeat, b.repeat);
    EXPECT_EQ(a.proMode, b.proMode);
    EXPECT_EQ(a.selected, b.selected);
}

TEST_F(ItemPack, RandomSettingsSurviveAStoreAndLoad) {
    labelBack.labelWidth = 2000;  // a layout: the bar-width step is not forced to 0
    const uint16_t kinds[] = {kKindText, kKindBarcode, kKindRect, kKindOvalFilled, kKindLine};
    for (uint32_t seed = 1; seed <= 3000; ++seed) {
        std::mt19937 rng(seed);
        killLabelItems();
        const uint16_t kind = kinds[seed % 5];
        const int32_t i = newItem(kind);
        randomSettings(rng, kind);
        setItemData(i, 4);
        const Snapshot stored = Snapshot::take();
        forget();
        getItemData(i);
        Snapshot loaded = Snapshot::take();
        // The bar-width step is derived on loading, not stored.
        loaded.s.BW = stored.s.BW;
        expectSame(stored, loaded, seed);
        if (HasFailure()) break;
        EXPECT_EQ(gLabel.iteTyp, kind);
    }
}

TEST_F(ItemPack, MagnificationAbove327PercentKeepsItsValue) {
    const int32_t i = newItem(kKindBarcode);
    gSym.Siz = 400;
    setItemData(i, 0);
    EXPECT_EQ(at(i).u16(item::siz), 40000);
    gSym.Siz = 100;
    getItemData(i);
    EXPECT_DOUBLE_EQ(gSym.Siz, 400);
    // Beyond what 16 bits hold the word stops at its largest value.
    gSym.Siz = 900;
    setItemData(i, 0);
    getItemData(i);
    EXPECT_DOUBLE_EQ(gSym.Siz, 655.35);
}

TEST_F(ItemPack, BarWidthStepAtZeroMagnification) {
    const int32_t i = newItem(kKindBarcode);
    at(i).setI16(item::siz, 0);
    at(i).setI16(item::bWidthRed, 30);
    getItemData(i);
    EXPECT_EQ(gSym.BW, 0);
}

// Settings beyond their bits are held at the bit field's limits instead of
// spilling into the neighbouring settings of the same word.
TEST_F(ItemPack, OutOfRangeSettingsAreClamped) {
    const int32_t i = newItem(kKindText);
    gSym.extraMargin = 40;
    gSym.textAsFont = 1;
    gSym.cLength = 5000;
    gSym.end_bars = 1;
    gSym.lMode = 2;
    gLabel.tempNumRepeat = 700;
    gLabel.numRepeat = -3;
    gSym.flushBars = 1;
    gSym.attTop = 1;
    gLabel.notDrawn = 1;
    setItemData(i, 0);
    forget();
    getItemData(i);
    EXPECT_EQ(gSym.extraMargin, 15);
    EXPECT_EQ(gSym.textAsFont, 1);
    EXPECT_EQ(gSym.cLength, 2047);
    EXPECT_EQ(gSym.end_bars, 1);
    EXPECT_EQ(gSym.lMode, 2);
    EXPECT_EQ(gLabel.tempNumRepeat, 255);
    EXPECT_EQ(gLabel.numRepeat, 0);
    EXPECT_EQ(gSym.flushBars, 1);
    EXPECT_EQ(gSym.attTop, 1);
    EXPECT_EQ(gLabel.notDrawn, 1);
}

// Stored files hold heights of 1 mm or less as 100 or less, which loads as that
// many millimetres; the reading is kept for them.
TEST_F(ItemPack, HeightsOfAMillimetreOrLessLoadTimesAHundred) {
    const int32_t i = newItem(kKindBarcode);
    gSym.Hei = 0.5;
    setItemData(i, 0);
    EXPECT_EQ(at(i).i16(item::hei), 50);
    getItemData(i);
    EXPECT_DOUBLE_EQ(gSym.Hei, 50);
    gSym.Hei = 1.01;
    setItemData(i, 0);
    getItemData(i);
    EXPECT_DOUBLE_EQ(gSym.Hei, 1.01);
}

// Every text field is cut at its end; the fields after it keep their values.
TEST_F(ItemPack, OverlongTextsSpareTheirNeighbours) {
    const int32_t i = newItem(kKindText);
    const std::string big(2000, 'D');
    copyBounded(gData.chMainCode, big.c_str());
    copyBounded(gData.chMainCode2, big.c_str());
    copyBounded(gData.chPrefix, std::string(255, 'P').c_str());
    copyBounded(gData.chSuffix, "S");
    copyBounded(gData.chAddCode, std::string(255, 'A').c_str());
    pstrSet(gSym.fontAbove, std::string(255, 'F').c_str());
    gSym.customColour = 1;
    pstrSet(gSym.customCol, std::string(255, 'C').c_str());
    pstrSet(gSym.fontBelow, std::string(255, 'B').c_str());
    pstrSet(gSym.defFont, std::string(255, 'E').c_str());
    gLabel.textQuest = std::string(400, 'Q');
    gLabel.incAmount = std::string(300, 'I');
    gLabel.serEnd = std::string(300, 'Z');
    setItemData(i, 4);
    const LabelItem& it = at(i);
    for (size_t off : {item::fontAbove, item::fontBelow, item::defFont, item::dataText,
                       item::addCode, item::serPos, item::incAmount, item::serEnd}) {
        EXPECT_EQ(it.rec[off + kLabelItemTextSize - 1], 0) << off;
        EXPECT_LE(it.text(off).size(), kLabelItemTextSize - 1) << off;
    }
    EXPECT_EQ(it.text(item::incAmount), std::string(254, 'I'));
    EXPECT_EQ(it.text(item::serEnd), std::string(254, 'Z'));
    EXPECT_EQ(it.rec[item::dataHandle], 0);
    forget();
    getItemData(i);
    // The name claims only the bytes the field kept; the colour found no room.
    EXPECT_EQ(gSym.fontAbove[0], 253);
    EXPECT_EQ(gSym.customCol[0], 0);
    EXPECT_EQ(gData.chMainCode[0], 'D');
}

// A field that a file filled to its end without a NUL is read to the field's end.
TEST_F(ItemPack, FieldsWithoutTheirEndStopAtTheFieldsEnd) {
    const int32_t i = newItem(kKindText);
    LabelItem& it = at(i);
    for (size_t off = item::fontAbove; off < item::dataHandle; ++off) it.rec[off] = 'x';
    getItemData(i);
    EXPECT_EQ(it.text(item::dataText).size(), kLabelItemTextSize);
    EXPECT_EQ(std::string(gData.chMainCode).size(), kLabelItemTextSize);
    EXPECT_EQ(gLabel.serEnd.size(), kLabelItemTextSize);
}

// Offset 18 of picture and background items marks where the picture comes from.
TEST_F(ItemPack, PictureSourceMarkersStay) {
    for (uint16_t kind : {kKindPicture, kKindBackground}) {
        killLabelItems();
        const int32_t i = newItem(kind);
        at(i).setI16(item::hei, 101);
        gSym.Hei = 30;
        setItemData(i, 4);
        EXPECT_EQ(at(i).i16(item::hei), 101) << kind;
    }
}

TEST_F(ItemPack, TempRepeatKeepsTheLowBits) {
    const int32_t i = newItem(kKindBarcode);
    at(i).setI16(item::attTopPacked, 0x7F);
    gLabel.tempNumRepeat = 200;
    setTempNumRepeat(i);
    EXPECT_EQ(at(i).u16(item::attTopPacked), 0x7F + 128 * 200);
    gLabel.tempNumRepeat = 999;
    setTempNumRepeat(i);
    EXPECT_EQ(at(i).u16(item::attTopPacked), 0x7F + 128 * 255);
}

TEST_F(ItemPack, RectanglesGoToTheSelectedItems) {
    const int32_t a = newItem(kKindText), b = newItem(kKindRect);
    at(b).setI16(item::selected, 1);
    gLabel.itRect = {10, 20, 30, 40};
    labelBack.labelWidth = 1000;
    setItemRectSelItems();
    EXPECT_EQ(at(a).i16(item::rectTop), 0);
    EXPECT_EQ(at(b).i16(item::rectRight), 40);
    gLabel.itRect = {};
    getItemRect(b);
    EXPECT_EQ(gLabel.itRect.left, 20);
    labelBack.labelWidth = 0;  // no layout: every item
    setItemRectSelItems();
    EXPECT_EQ(at(a).i16(item::rectTop), 10);
    EXPECT_EQ(getProMode(a), 0);
}

TEST_F(ItemPack, ShapeToolsSetTheFill) {
    EXPECT_EQ(shapeTransparency(kKindRect), 1);
    EXPECT_EQ(shapeTransparency(kKindRoundRectFilled), 0);
    EXPECT_EQ(shapeTransparency(kKindText), -1);
    EXPECT_TRUE(isShapeKind(kKindLine));
    EXPECT_FALSE(isShapeKind(kKindBackground));
    EXPECT_TRUE(isPictureKind(kKindBackground));
}

TEST_F(ItemPack, SheetCopiesHoldLengthsTimesAThousand) {
    initLabelItems();
    labelBack.labelWidth = 1000;
    labelBack.across = 1280 * 2 + 3;
    labelBack.sheetWidth = 5953;
    labelBack2 = sheetToCopy(labelBack);
    EXPECT_EQ(labelBack2.leftMargin, 162000u);
    EXPECT_EQ(labelBack2.labelWidth, 1000000u);
    EXPECT_EQ(labelBack2.across, 1280u * 2 + 3);
    EXPECT_EQ(labelBack2.backRed, 65535u);
    EXPECT_EQ(sheetFromCopy(labelBack2).sheetWidth, 5953u);
    LabelSheet huge;
    huge.sheetHeight = 0xFFFFFFFF;
    EXPECT_EQ(sheetToCopy(huge).sheetHeight, 0xFFFFFFFFu);
}

}  // namespace
