// Packing the current symbol settings into a label item and loading them back.
#include <cstring>

#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/layoutText.h"
#include "labels/preview.h"
#include "labels/production.h"
#include "symbology/Filters.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kRatioFromSize = -1;     // ratio -1 ...
constexpr int32_t kRatioFromSizeCode = 9;  // ... is stored as 9
constexpr double kLeastSize = 10;          // percent, the least magnification an item takes
constexpr int32_t kNewStyleSize = 1000;    // offset 16 at or above: Siz x 100
constexpr int32_t kWordMax = 0x7FFF;
constexpr int32_t kExtraMarginMax = 15;
constexpr int32_t kCLengthMax = 2047;
constexpr int32_t kCodablockCode = 39;
constexpr size_t kDefFontStored = 127;  // defFont is cut to this before the question
constexpr size_t kFieldText = kLabelItemTextSize - 1;
// Settings kept in hundredths or tenths are truncated; the slack keeps a value
// typed to that grain (0.29 is 28.999... in binary) from losing its last digit.
constexpr double kGridSlack = 1e-6;

int32_t scaledWord(double v, double factor, int32_t hi) {
    return clampedWord(v * factor + kGridSlack, 0, hi);
}

Rect16 itemRect(const LabelItem& it) {
    return {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
            it.i16(item::rectRight)};
}

int32_t bit(int32_t v) { return clampedInt(v, 0, 1); }

// Offsets 10 to 70. Every value is kept within the bits its word gives it, so
// that no setting spills into its neighbours.
void packSettings(LabelItem* it, uint16_t kind) {
    const bool picture = kind == kKindPicture;
    it->setI16(item::insetAmount, clampedInt(gSym.insetAmount, INT16_MIN, INT16_MAX));
    it->setI16(item::orientPacked, bit(gSym.textAsFont) + ((gSym.orient * 2) & 0x3FF) +
                                       clampedInt(gSym.extraMargin, 0, kExtraMarginMax) * 2048);
    it->setI16(item::code, gSym.code);
    // Offset 16 is read as unsigned: up to 655.35 % fits.
    it->setI16(item::siz, scaledWord(gSym.Siz, 100, 0xFFFF));
    // Offset 18 of a picture or background item marks where its picture comes from.
    if (!isPictureKind(kind)) it->setI16(item::hei, scaledWord(gSym.Hei, 100, kWordMax));
    it->setI16(item::bWidthRed, clampedInt(gSym.BWidthRed, INT16_MIN, INT16_MAX));
    it->setI16(item::customTeSize, clampedInt(gSym.customTeSize, INT16_MIN, INT16_MAX));
    it->setI16(item::line, clampedWord(gSym.line, INT16_MIN, INT16_MAX));
    it->setI16(item::lModePacked, bit(gSym.end_bars) + clampedInt(gSym.lMode, 0, 7) * 2 +
                                      clampedInt(gSym.cLength, 0, kCLengthMax) * 16);
    it->setI16(item::cuHeiPacked, bit(gSym.para) + 2 * scaledWord(gSym.cuHei, 10, kWordMax));
    it->setI16(item::hgauge, gSym.Hgauge);
    it->setI16(item::humanPacked, bit(gSym.human) + 2 * clampedInt(gLabel.proMode, 0, kWordMax));
    if (!picture) {
        it->setI16(item::aboveHu, gSym.AboveHu);
        it->setI16(item::checkPacked, bit(gSym.nCheck) + 2 * bit(gSym.customColour) +
                                          4 * clampedInt(gLabel.alpha, 0, 3) +
                                          16 * bit(gLabel.sepImp));
    }
    it->setI16(item::variation1, gSym.variation1);
    it->setI16(item::transparent, gSym.transpar_ent);
    const int32_t ratio =
        gSym.ratio == kRatioFromSize ? kRatioFromSizeCode : clampedInt(gSym.ratio, 0, 0x3FFF);
    it->setI16(item::ratioPacked, clampedInt(gSym.cutMarks, 0, 3) + 4 * ratio);
    it->setI16(item::hgaugeJ, gSym.HgaugeJ);
    it->setI16(item::attTopPacked, bit(gSym.attTop) + 2 * clampedInt(gLabel.impoMode, 0, 15) +
                                       32 * clampedInt(gLabel.notDrawn, 0, 3) +
                                       128 * clampedInt(gLabel.tempNumRepeat, 0, kRepeatMax));
    it->setI16(item::black2, gSym.black2);
    it->setI16(item::cyan2, gSym.cyan2);
    it->setI16(item::magenta2, gSym.magenta2);
    it->setI16(item::yellow2, gSym.yellow2);
    it->setI16(item::black22, gSym.black22);
    it->setI16(item::cyan22, gSym.cyan22);
    it->setI16(item::magenta22, gSym.magenta22);
    it->setI16(item::yellow22, gSym.yellow22);
    it->setI16(item::nonLight, gSym.non_light);
    it->setI16(item::stripExtra, gSym.strip_extra);
    it->setI16(item::flushPacked,
               bit(gSym.flushBars) + 128 * clampedInt(gLabel.numRepeat, 0, kRepeatMax));
    it->setI16(item::selected, gLabel.selected);
}

// The data field: data, VT, prefix, VT, suffix, cut to the field. A barcode's
// whole data that the field cannot hold as it is stays beside the record, so its
// prefix and suffix keep their places first; for every other item the data does.
std::string dataFieldText(LabelItem* it, bool barcode) {
    it->longDataText.clear();
    if (!gLabel.serPos.empty()) {
        if (gLabel.serPos.find(kVT) != std::string::npos) return gLabel.serPos;
        return gLabel.serPos + kVT + gData.chPrefix + kVT + gData.chSuffix;
    }
    std::string main = gData.chMainCode2, prefix = gData.chPrefix, suffix = gData.chSuffix;
    const size_t room = kFieldText - 2;  // the two VTs always stay
    if (barcode && (main.size() + prefix.size() + suffix.size() > room ||
                    main.find(kVT) != std::string::npos)) {
        it->longDataText = main;
        for (char& c : main)
            if (c == kVT) c = ' ';
    }
    std::string* order[3] = {&main, &prefix, &suffix};
    if (!it->longDataText.empty()) order[0] = &prefix, order[1] = &suffix, order[2] = &main;
    size_t left = room;
    for (std::string* t : order) {
        if (t->size() > left) t->resize(left);
        left -= t->size();
    }
    return main + kVT + prefix + kVT + suffix;
}

void packTexts(LabelItem* it, uint16_t kind) {
    it->setI16(item::teJust, gSym.TEjust);
    it->setI16(item::teFace, gSym.TEface);
    if (gSym.customColour == 1) {
        std::string above = pascalText(gSym.fontAbove);
        above += kVT;
        above += std::string(reinterpret_cast<const char*>(gSym.customCol + 1), gSym.customCol[0]);
        it->setText(item::fontAbove, above);
    } else {
        it->setText(item::fontAbove, pascalBytes(gSym.fontAbove));
    }
    it->setText(item::fontBelow, pascalBytes(gSym.fontBelow));
    // Cut to 127 bytes with the length byte cut to match, so the question after it
    // is not read back as part of the name.
    std::string def(pascalBytes(gSym.defFont).substr(0, kDefFontStored));
    def[0] = static_cast<char>(def.size() - 1);
    if (!gLabel.textQuest.empty()) def += kVT + gLabel.textQuest;
    it->setText(item::defFont, def);
    it->setU32(item::len1, static_cast<uint32_t>(gData.len1));
    it->setU32(item::len2, static_cast<uint32_t>(gData.len2));

    if (gData.chMainCode[0] == 0 && labelLayoutOpen()) {
        copyBounded(gData.chMainCode, kSampleData);
        copyBounded(gData.chMainCode2, kSampleData);
        gData.len1 = gData.len11 = 12;
    }
    if (!gLabel.serPos.empty()) {
        const std::string start = gLabel.serPos.substr(0, kMainCodeSize - 1);
        copyBounded(gData.chMainCode, start.c_str());
    }
    const bool barcode = kind == kKindBarcode;
    it->setText(item::dataText, dataFieldText(it, barcode));
    it->setText(item::addCode, gData.chAddCode);
    const size_t addLen = strnlen(gData.chAddCode, kAddCodeSize);
    it->longAddOn =
        barcode && addLen > kFieldText ? std::string(gData.chAddCode, addLen) : std::string();
    it->setText(item::serPos, gLabel.serPos);
    it->setText(item::incAmount, gLabel.incAmount);
    it->setText(item::serEnd, gLabel.serEnd);
    it->dataHandle = gLabel.externalH;
    it->hasDataHandle = gLabel.hasExternalH;
}

}  // namespace

void setPascalFromBytes(unsigned char* dst, const std::string& bytes) {
    if (bytes.empty()) {
        dst[0] = 0;
        return;
    }
    size_t n = static_cast<unsigned char>(bytes[0]);
    size_t vt = bytes.find(kVT, 1);
    size_t avail = (vt == std::string::npos ? bytes.size() : vt) - 1;
    if (n > avail) n = avail;
    dst[0] = static_cast<unsigned char>(n);
    std::memcpy(dst + 1, bytes.data() + 1, n);
}

size_t spotNameRoom(std::string_view font) {
    const size_t used = font.size() + 1;  // the VT after the font name
    return used < kFieldText ? kFieldText - used : 0;
}

void setItemSpotColour(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    std::string above = it->text(item::fontAbove);
    if (const size_t vt = above.find(kVT, 1); vt != std::string::npos) above.resize(vt);
    if (gSym.customColour == 1) {
        above += kVT;
        above += std::string(reinterpret_cast<const char*>(gSym.customCol + 1), gSym.customCol[0]);
    }
    it->setText(item::fontAbove, above);
}

void setItemData(int32_t index, int32_t mode) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    Disp2InvalRect(kInvalidateSelection, itemRect(*it));
    const uint16_t kind = it->u16(item::kind);
    if (kind == kKindBarcode) gSym.orient = 0;  // a barcode item is stored unrotated
    packSettings(it, kind);
    // Mode 0 stores the numeric settings only.
    if (mode == 2 || mode == 4) {
        packTexts(it, kind);
        SetTaggedItem(index);
    }
    Disp2InvalRect(kInvalidateSelection, itemRect(*it));
}

namespace {

void unpackSettings(const LabelItem& it, uint16_t kind) {
    const bool picture = kind == kKindPicture;
    const int16_t w12 = it.i16(item::orientPacked);
    gSym.orient = (w12 / 2) & 0x3FF;
    gSym.extraMargin = w12 / 2048;
    gSym.textAsFont = w12 & 1;
    gSym.insetAmount = it.i16(item::insetAmount);
    gSym.code = it.i16(item::code);

    // Offset 16 is unsigned, so magnifications above 327.67 % load as stored.
    const uint16_t siz = it.u16(item::siz);
    const bool newStyle = siz >= kNewStyleSize;
    gSym.Siz = newStyle ? siz / 100.0 : siz;
    // Text of size 0 stops a PostScript reader (and shows nowhere), so a text
    // item's stored 0 reads as the least magnification.
    if (gSym.Siz == 0 && kind == kKindText) gSym.Siz = kLeastSize;
    // A height of 1 mm or less is stored as 100 or less and so loads as that many
    // millimetres; stored files rely on this reading, so it stays.
    const int16_t hei = it.i16(item::hei);
    if (!isPictureKind(kind)) gSym.Hei = (hei > 100 && newStyle) ? hei / 100.0 : hei;

    gSym.BWidthRed = it.i16(item::bWidthRed);
    gSym.BW = !labelLayoutOpen() && (gOut.tool == 2 || gOut.tool == 3)
                  ? 0
                  : widthStepOfReduction(gSym.BWidthRed, gSym.Siz, gSym.code);

    gSym.customTeSize = it.i16(item::customTeSize);
    gSym.line = it.i16(item::line);
    // A label's bearer frame is drawn at the width kept (the item keeps no
    // other); a single symbol keeps its type's own frame width.
    if (labelBack.labelWidth != 0) gSym.gline = gSym.line;
    const uint16_t w26 = it.u16(item::lModePacked);
    gSym.lMode = (w26 / 2) & 7;
    gSym.cLength = (w26 / 16) & 0x7FFF;
    gSym.end_bars = w26 % 2;
    const uint16_t w28 = it.u16(item::cuHeiPacked);
    gSym.para = w28 & 1;
    if (hei >= 100) gSym.cuHei = ((w28 / 2) & 0x7FFF) * 0.1;
    if (gSym.lMode & 4) gSym.Hei = gSym.cuHei;
    // Codablock F's rows share the bar height: a stored height of 0 (or less) would
    // draw no rows at all. It is the type's own height, as for a single symbol.
    if (kind == kKindBarcode && gSym.code == kCodablockCode && gSym.Hei <= 0)
        gSym.Hei = typeOwnHeight();

    gSym.Hgauge = it.i16(item::hgauge);
    const uint16_t w32 = it.u16(item::humanPacked);
    gLabel.proMode = w32 / 2;
    gSym.human = w32 & 1;
    if (!picture) {
        gSym.AboveHu = it.i16(item::aboveHu);
        const uint16_t w36 = it.u16(item::checkPacked);
        gSym.nCheck = w36 & 1;
        gSym.customColour = (w36 >> 1) & 1;
        gLabel.alpha = (w36 >> 2) & 3;
        gLabel.sepImp = (w36 >> 4) & 1;
    }
    gSym.variation1 = it.i16(item::variation1);
    gSym.transpar_ent = it.i16(item::transparent);
    const uint16_t w42 = it.u16(item::ratioPacked);
    gSym.ratio = w42 / 4 == kRatioFromSizeCode ? kRatioFromSize : w42 / 4;
    gSym.cutMarks = w42 & 3;
    gSym.HgaugeJ = it.i16(item::hgaugeJ);
    const uint16_t w46 = it.u16(item::attTopPacked);
    gLabel.tempNumRepeat = w46 / 128;
    gLabel.notDrawn = (w46 / 32) & 3;
    gLabel.impoMode = (w46 / 2) & 15;
    gSym.attTop = w46 % 2;
    gSym.black2 = it.i16(item::black2);
    gSym.cyan2 = it.i16(item::cyan2);
    gSym.magenta2 = it.i16(item::magenta2);
    gSym.yellow2 = it.i16(item::yellow2);
    gSym.black22 = it.i16(item::black22);
    gSym.cyan22 = it.i16(item::cyan22);
    gSym.magenta22 = it.i16(item::magenta22);
    gSym.yellow22 = it.i16(item::yellow22);
    gSym.non_light = it.i16(item::nonLight);
    gSym.strip_extra = it.i16(item::stripExtra);
    const uint16_t w68 = it.u16(item::flushPacked);
    gLabel.numRepeat = w68 / 128;
    gSym.flushBars = w68 % 2;
    gLabel.selected = it.i16(item::selected);
    gSym.TEface = it.i16(item::teFace);
    gSym.TEjust = it.i16(item::teJust);
}

void unpackTexts(const LabelItem& it, uint16_t kind) {
    std::string above = it.text(item::fontAbove);
    setPascalFromBytes(gSym.fontAbove, above);
    if (gSym.customColour == 1 && !above.empty()) {
        size_t vt = above.find(kVT, 1);
        if (vt != std::string::npos) pstrSet(gSym.customCol, above.substr(vt + 1).c_str());
    }
    setPascalFromBytes(gSym.fontBelow, it.text(item::fontBelow));
    std::string def = it.text(item::defFont);
    setPascalFromBytes(gSym.defFont, def);
    gLabel.textQuest.clear();
    if (!def.empty()) {
        size_t vt = def.find(kVT, 1);
        if (vt != std::string::npos) gLabel.textQuest = def.substr(vt + 1, kDefFontStored);
    }
    const std::string data = it.text(item::dataText);
    std::string main = data, prefix, suffix;
    size_t vt1 = data.find(kVT);
    if (vt1 != std::string::npos) {
        main = data.substr(0, vt1);
        std::string rest = data.substr(vt1 + 1);
        size_t vt2 = rest.find(kVT);
        prefix = vt2 == std::string::npos ? rest : rest.substr(0, vt2);
        if (vt2 != std::string::npos) suffix = rest.substr(vt2 + 1);
    }
    if (!it.longDataText.empty()) main = it.longDataText;
    copyBounded(gData.chMainCode, main.c_str());
    copyBounded(gData.chMainCode2, main.c_str());
    copyBounded(gData.chPrefix, prefix.c_str());
    copyBounded(gData.chSuffix, suffix.c_str());
    std::string addOn = it.longAddOn.empty() ? it.text(item::addCode) : it.longAddOn;
    addOn.resize(strnlen(addOn.c_str(), kAddCodeSize - 1));
    copyBounded(gData.chAddCode, addOn.c_str());
    copyBounded(gData.chAddCode2, addOn.c_str());
    // Lengths beyond their buffers (a damaged file) become the lengths of the texts.
    const uint32_t storedLen2 = it.u32(item::len2);
    gData.len2 =
        static_cast<int32_t>(storedLen2 < kAddCodeSize ? storedLen2 : std::strlen(gData.chAddCode));
    if (kind == kKindBarcode) {
        Gettw(gData.chMainCode2, static_cast<int32_t>(std::strlen(gData.chMainCode2)),
              gData.chAddCode2, static_cast<int32_t>(std::strlen(gData.chAddCode2)));
    }
    const uint32_t storedLen1 = it.u32(item::len1);
    gData.len1 = static_cast<int32_t>(storedLen1 < kMainCodeSize ? storedLen1
                                                                 : std::strlen(gData.chMainCode));

    gLabel.serPos = it.text(item::serPos);
    gLabel.incAmount = it.text(item::incAmount);
    gLabel.serEnd = it.text(item::serEnd);
    gLabel.externalH = it.dataHandle;
    gLabel.hasExternalH = it.hasDataHandle;
}

}  // namespace

void getItemData(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    const uint16_t kind = it->u16(item::kind);
    gLabel.iteTyp = kind;
    getItemRect(index);
    unpackSettings(*it, kind);
    unpackTexts(*it, kind);
    ProcessItemHandle(index);
}
