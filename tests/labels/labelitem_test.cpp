// Label items: settings packed into an item and loaded back (over many random
// settings and at the edges of each field), and the item list itself.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "label_world.h"

namespace {

struct LabelItems : LabelWorld {
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
    // The data as the data field leaves it.
    static void setData(const std::string& data) {
        copyBounded(gData.chMainCode, data.c_str());
        copyBounded(gData.chMainCode2, data.c_str());
        gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
    }
};

// The whole-number settings an item stores, each with the values it may take.
struct SymbolInt {
    int32_t SymbolSettings::*field;
    int32_t lo, hi;
};
constexpr int32_t kS16 = -32768, kU16 = 32767;
constexpr SymbolInt kSymbolInts[] = {{&SymbolSettings::code, 0, 42},
                                     {&SymbolSettings::variation1, 0, 300},
                                     {&SymbolSettings::lMode, 0, 7},
                                     {&SymbolSettings::cLength, 0, 2047},
                                     {&SymbolSettings::end_bars, 0, 1},
                                     {&SymbolSettings::para, 0, 1},
                                     {&SymbolSettings::BWidthRed, kS16, kU16},
                                     {&SymbolSettings::customTeSize, kS16, kU16},
                                     {&SymbolSettings::insetAmount, kS16, kU16},
                                     {&SymbolSettings::orient, 0, 359},
                                     {&SymbolSettings::textAsFont, 0, 1},
                                     {&SymbolSettings::extraMargin, 0, 15},
                                     {&SymbolSettings::Hgauge, kS16, kU16},
                                     {&SymbolSettings::human, 0, 1},
                                     {&SymbolSettings::AboveHu, kS16, kU16},
                                     {&SymbolSettings::nCheck, 0, 1},
                                     {&SymbolSettings::customColour, 0, 1},
                                     {&SymbolSettings::transpar_ent, 0, 1},
                                     {&SymbolSettings::cutMarks, 0, 3},
                                     {&SymbolSettings::ratio, -1, 8},
                                     {&SymbolSettings::HgaugeJ, kS16, kU16},
                                     {&SymbolSettings::attTop, 0, 1},
                                     {&SymbolSettings::black2, 0, 100},
                                     {&SymbolSettings::cyan2, 0, 100},
                                     {&SymbolSettings::magenta2, 0, 100},
                                     {&SymbolSettings::yellow2, 0, 100},
                                     {&SymbolSettings::black22, 0, 100},
                                     {&SymbolSettings::cyan22, 0, 100},
                                     {&SymbolSettings::magenta22, 0, 100},
                                     {&SymbolSettings::yellow22, 0, 100},
                                     {&SymbolSettings::non_light, 0, 1},
                                     {&SymbolSettings::strip_extra, 0, 1},
                                     {&SymbolSettings::flushBars, 0, 1},
                                     {&SymbolSettings::TEface, 0, 127},
                                     {&SymbolSettings::TEjust, -1, 1}};
struct LabelInt {
    int32_t* value;
    int32_t lo, hi;
};
const LabelInt kLabelInts[] = {{&gLabel.proMode, 0, 3},     {&gLabel.alpha, 0, 3},
                               {&gLabel.sepImp, 0, 1},      {&gLabel.impoMode, 0, 15},
                               {&gLabel.notDrawn, 0, 3},    {&gLabel.tempNumRepeat, 0, 255},
                               {&gLabel.numRepeat, 0, 255}, {&gLabel.selected, 0, 1},
                               {&gData.len1, 0, 0},         {&gData.len2, 0, 0}};

std::string pstr(const unsigned char* p) { return std::string(p, p + 1 + p[0]); }

// Everything a store keeps, so that two loads can be compared whole.
struct Snapshot {
    std::vector<int32_t> numbers;
    std::vector<double> reals;
    std::vector<std::string> texts;
    static Snapshot take() {
        Snapshot s;
        for (const SymbolInt& f : kSymbolInts) s.numbers.push_back(gSym.*f.field);
        for (const LabelInt& f : kLabelInts) s.numbers.push_back(*f.value);
        s.reals = {gSym.Siz, gSym.Hei, gSym.cuHei, gSym.line};
        s.texts = {pstr(gSym.fontAbove), pstr(gSym.fontBelow), pstr(gSym.defFont),
                   pstr(gSym.customCol), gData.chMainCode,     gData.chMainCode2,
                   gData.chPrefix,       gData.chSuffix,       gData.chAddCode,
                   gLabel.textQuest,     gLabel.incAmount,     gLabel.serEnd};
        return s;
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
    for (const SymbolInt& f : kSymbolInts) gSym.*f.field = in(rng, f.lo, f.hi);
    for (const LabelInt& f : kLabelInts) *f.value = in(rng, f.lo, f.hi);
    if (kind == kKindBarcode) gSym.orient = 0;
    gSym.Siz = in(rng, 1000, 65535) / 100.0;
    gSym.Hei = in(rng, 101, 32767) / 100.0;
    gSym.cuHei = in(rng, 0, 32767) / 10.0;
    gSym.line = in(rng, kS16, kU16);
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

TEST_F(LabelItems, RandomSettingsSurviveAStoreAndLoad) {
    labelBack.labelWidth = 2000;  // a layout: the bar-width step is not forced to 0
    const uint16_t kinds[] = {kKindText, kKindBarcode, kKindRect, kKindOvalFilled, kKindLine};
    for (uint32_t seed = 1; seed <= 3000; ++seed) {
        std::mt19937 rng(seed);
        killLabelItems();
        const uint16_t kind = kinds[seed % 5];
        const int32_t i = newItem(kind);
        randomSettings(rng, kind);
        setItemData(i, 4);
        Snapshot stored = Snapshot::take();
        // Bar-length mode 4 takes the height from the kept bar height.
        if (gSym.lMode & 4) stored.reals[1] = gSym.cuHei;
        forget();
        getItemData(i);
        const Snapshot loaded = Snapshot::take();
        SCOPED_TRACE(seed);
        EXPECT_EQ(loaded.numbers, stored.numbers);
        EXPECT_EQ(loaded.texts, stored.texts);
        for (size_t k = 0; k < stored.reals.size(); ++k)
            EXPECT_DOUBLE_EQ(loaded.reals[k], stored.reals[k]) << k;
        if (HasFailure()) break;
        EXPECT_EQ(gLabel.iteTyp, kind);
    }
}

// Settings and record words the store-and-load cases name.
const std::pair<const char*, double*> kReals[] = {{"Siz", &gSym.Siz}, {"Hei", &gSym.Hei}};
const std::pair<const char*, int32_t*> kWholes[] = {{"BW", &gSym.BW},
                                                    {"BWidthRed", &gSym.BWidthRed},
                                                    {"ratio", &gSym.ratio},
                                                    {"cutMarks", &gSym.cutMarks},
                                                    {"nCheck", &gSym.nCheck},
                                                    {"human", &gSym.human},
                                                    {"extraMargin", &gSym.extraMargin},
                                                    {"customColour", &gSym.customColour},
                                                    {"textAsFont", &gSym.textAsFont},
                                                    {"cLength", &gSym.cLength},
                                                    {"end_bars", &gSym.end_bars},
                                                    {"lMode", &gSym.lMode},
                                                    {"flushBars", &gSym.flushBars},
                                                    {"attTop", &gSym.attTop},
                                                    {"alpha", &gLabel.alpha},
                                                    {"tempNumRepeat", &gLabel.tempNumRepeat},
                                                    {"numRepeat", &gLabel.numRepeat},
                                                    {"notDrawn", &gLabel.notDrawn}};
const std::pair<const char*, size_t> kWords[] = {{"siz", item::siz},
                                                 {"hei", item::hei},
                                                 {"bWidthRed", item::bWidthRed},
                                                 {"checkPacked", item::checkPacked},
                                                 {"ratioPacked", item::ratioPacked}};

template <class Table>
auto lookUp(const Table& table, const std::string& name) {
    for (const auto& [n, v] : table)
        if (name == n) return v;
    ADD_FAILURE() << "no " << name;
    return decltype(table[0].second){};
}

// The name=value pairs of a case field ("-" for none).
std::vector<std::pair<std::string, std::string>> pairs(const std::string& field) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(field);
    for (std::string t; in >> t;)
        if (t != "-") out.emplace_back(t.substr(0, t.find('=')), t.substr(t.find('=') + 1));
    return out;
}

bool isReal(const std::string& name) { return name == "Siz" || name == "Hei"; }

TEST_F(LabelItems, SettingsAndRecordWordsThroughAStoreAndLoad) {
    for (const testsupport::CaseLine& c : testsupport::readCases("labels/item_store_load.txt", 5)) {
        SCOPED_TRACE(c.where);
        resetWorld();
        initLabelItems();
        const int32_t i = newItem(c[0] == "text" ? kKindText : kKindBarcode);
        if (c[2] == "-") {
            for (const auto& [w, v] : pairs(c[3]))
                at(i).setI16(lookUp(kWords, w), int16_t(std::stoi(v)));
        } else {
            for (const auto& [n, v] : pairs(c[2])) {
                if (isReal(n))
                    *lookUp(kReals, n) = std::stod(v);
                else
                    *lookUp(kWholes, n) = std::stoi(v);
            }
            setItemData(i, c.integer(1));
            for (const auto& [w, v] : pairs(c[3]))
                EXPECT_EQ(at(i).u16(lookUp(kWords, w)), std::stoi(v)) << w;
            forget();
        }
        getItemData(i);
        for (const auto& [n, v] : pairs(c[4])) {
            if (isReal(n))
                EXPECT_DOUBLE_EQ(*lookUp(kReals, n), std::stod(v)) << n;
            else
                EXPECT_EQ(*lookUp(kWholes, n), std::stoi(v)) << n;
        }
    }
}

// Every text field is cut at its end; the fields after it keep their values.
TEST_F(LabelItems, OverlongTextsSpareTheirNeighbours) {
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
TEST_F(LabelItems, FieldsWithoutTheirEndStopAtTheFieldsEnd) {
    const int32_t i = newItem(kKindText);
    LabelItem& it = at(i);
    for (size_t off = item::fontAbove; off < item::dataHandle; ++off) it.rec[off] = 'x';
    getItemData(i);
    EXPECT_EQ(it.text(item::dataText).size(), kLabelItemTextSize);
    EXPECT_EQ(std::string(gData.chMainCode).size(), kLabelItemTextSize);
    EXPECT_EQ(gLabel.serEnd.size(), kLabelItemTextSize);
}

// Offset 18 of picture and background items marks where the picture comes from.
TEST_F(LabelItems, PictureSourceMarkersStay) {
    for (uint16_t kind : {kKindPicture, kKindBackground}) {
        killLabelItems();
        const int32_t i = newItem(kind);
        at(i).setI16(item::hei, 101);
        gSym.Hei = 30;
        setItemData(i, 4);
        EXPECT_EQ(at(i).i16(item::hei), 101) << kind;
    }
}

TEST_F(LabelItems, TempRepeatKeepsTheLowBits) {
    const int32_t i = newItem(kKindBarcode);
    at(i).setI16(item::attTopPacked, 0x7F);
    gLabel.tempNumRepeat = 200;
    setTempNumRepeat(i);
    EXPECT_EQ(at(i).u16(item::attTopPacked), 0x7F + 128 * 200);
    gLabel.tempNumRepeat = 999;
    setTempNumRepeat(i);
    EXPECT_EQ(at(i).u16(item::attTopPacked), 0x7F + 128 * 255);
}

TEST_F(LabelItems, RectanglesGoToTheSelectedItems) {
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

TEST_F(LabelItems, SheetCopiesHoldLengthsTimesAThousand) {
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

TEST_F(LabelItems, BarcodesAreStoredUnrotated) {
    int32_t i = newItem(kKindBarcode);
    gSym.orient = 90;
    setItemData(i, 0);
    EXPECT_EQ(gSym.orient, 0);
    getItemData(i);
    EXPECT_EQ(gSym.orient, 0);
}

TEST_F(LabelItems, EmptyDataInALayoutGetsTheSample) {
    int32_t i = newItem(kKindBarcode);
    labelBack.labelWidth = 1000;
    gData.chMainCode[0] = 0;
    setItemData(i, 2);
    EXPECT_EQ(at(0).text(item::dataText), "501234567890\x0b\x0b");
}

TEST_F(LabelItems, SerialStartTexts) {
    int32_t i = newItem(kKindBarcode);
    copyBounded(gData.chPrefix, "P");
    gLabel.serPos = "0001";
    setItemData(i, 2);
    EXPECT_EQ(at(0).text(item::dataText), "0001\x0bP\x0b");
    gLabel.serPos = "0001\x0bX";
    setItemData(i, 2);
    EXPECT_EQ(at(0).text(item::dataText), "0001\x0bX");
}

TEST_F(LabelItems, DefaultFontIsCutBeforeTheQuestion) {
    int32_t i = newItem(kKindBarcode);
    pstrSet(gSym.defFont, std::string(200, 'F').c_str());
    gLabel.textQuest = "How many?";
    setItemData(i, 2);
    std::string stored = at(0).text(item::defFont);
    EXPECT_EQ(stored.size(), 127u + 1 + 9);
    getItemData(i);
    EXPECT_EQ(gLabel.textQuest, "How many?");
    EXPECT_EQ(gSym.defFont[0], 126);
}

TEST_F(LabelItems, AHundredItemsAtMost) {
    for (int k = 0; k < kMaxLabelItems; ++k) ASSERT_EQ(addLabelItem(), 0);
    EXPECT_EQ(addLabelItem(), 1);
    EXPECT_EQ(labelBack.lastItem, kMaxLabelItems - 1);
    EXPECT_FALSE(gMsg.last.empty());
}

TEST_F(LabelItems, NewCodeReplacesTheSingleItem) {
    addLabelItem();
    addLabelItem();
    addNewCode();
    EXPECT_EQ(labelBack.lastItem, 0);
    EXPECT_EQ(at(0).u16(item::kind), kKindBarcode);
    EXPECT_EQ(at(0).i16(item::selected), 1);
    labelBack.labelWidth = 100;
    addNewCode();  // a layout is open: nothing changes
    EXPECT_EQ(labelBack.lastItem, 0);
}

TEST_F(LabelItems, EmptySlotsAreIgnored) {
    getItemData(5);
    setItemData(-1, 4);
    clearItemData(100);
    EXPECT_EQ(getProMode(42), 0);
}

// The data comes back exactly, with its prefix, suffix and options: a 2-D
// symbol's data far longer than the item's text field, and data holding a VT,
// which the item's data field uses to separate data, prefix and suffix.
TEST_F(LabelItems, BarcodeDataSurvivesTheItem) {
    std::string longData(1500, 'Q');
    longData[1499] = 'Z';
    const struct {
        int32_t code;
        std::string data, prefix, suffix, options;
    } cases[] = {{40, longData, "", "", std::string(255, 'H')},
                 {5,
                  "A\x0b"
                  "B\x0b"
                  "C",
                  "pre", "suf", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        killLabelItems();
        const int32_t i = newItem(kKindBarcode);
        gSym.code = c.code;
        setData(c.data);
        copyBounded(gData.chPrefix, c.prefix.c_str());
        copyBounded(gData.chSuffix, c.suffix.c_str());
        copyBounded(gData.chAddCode, c.options.c_str());
        gData.len2 = static_cast<int32_t>(c.options.size());
        setItemData(i, 4);
        gData = SymbolData{};
        getItemData(i);
        EXPECT_EQ(std::string(gData.chMainCode), c.data);
        EXPECT_EQ(gData.len1, static_cast<int32_t>(c.data.size()));
        EXPECT_EQ(gData.chPrefix, c.prefix);
        EXPECT_EQ(gData.chSuffix, c.suffix);
        EXPECT_EQ(std::string(gData.chAddCode), c.options);
    }
}

}  // namespace
