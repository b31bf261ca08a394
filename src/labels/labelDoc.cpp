#include "labels/labelDoc.h"

#include <cmath>
#include <cstring>

#include "symbology/Filters.h"
#include "symbology/messages.h"
#include "symbology/state.h"

LabelSheet labelBack;
LabelSheet labelBack3;
LabelDocument gLabel;

namespace {

constexpr char kVT = 11;
constexpr const char* kSampleData = "501234567890";
constexpr int32_t kMessageTooManyItems = 31;

LabelItem* slot(int32_t index) {
    if (index < 0 || index >= kMaxLabelItems) return nullptr;
    return gLabel.labelParts[static_cast<size_t>(index)].get();
}

std::string pascalText(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p), 1 + p[0]);
}

// A stored font field is its length byte and name, perhaps followed by a VT and
// more text; the name ends at the VT and never claims bytes that are not there.
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

// Code types whose bar-font width step stops at 3.
bool smallStepFamily(int32_t code) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 11:
        case 13:
        case 15:
            return true;
        default:
            return false;
    }
}

}  // namespace

int16_t LabelItem::i16(size_t off) const {
    int16_t v;
    std::memcpy(&v, rec.data() + off, sizeof v);
    return v;
}
uint32_t LabelItem::u32(size_t off) const {
    uint32_t v;
    std::memcpy(&v, rec.data() + off, sizeof v);
    return v;
}
void LabelItem::setI16(size_t off, int32_t v) {
    uint16_t w = static_cast<uint16_t>(v);
    std::memcpy(rec.data() + off, &w, sizeof w);
}
void LabelItem::setU32(size_t off, uint32_t v) { std::memcpy(rec.data() + off, &v, sizeof v); }
std::string LabelItem::text(size_t off) const {
    const char* p = reinterpret_cast<const char*>(rec.data() + off);
    return std::string(p, strnlen(p, kLabelItemTextSize - 1));
}
void LabelItem::setText(size_t off, const std::string& s) {
    size_t n = s.size() < kLabelItemTextSize - 1 ? s.size() : kLabelItemTextSize - 1;
    std::memset(rec.data() + off, 0, kLabelItemTextSize);
    std::memcpy(rec.data() + off, s.data(), n);
}

bool labelLayoutOpen() { return labelBack.labelWidth != 0; }

void initLabelItems() {
    labelBack = LabelSheet{};
    labelBack.leftMargin = 162;
    labelBack.topMargin = 389;
    labelBack.across = 2;
    labelBack.down = 8;
    labelBack.labelHeight = 960;
    labelBack.backRed = labelBack.backGreen = labelBack.backBlue = 65535;
    labelBack.lastItem = -1;
    for (auto& p : gLabel.labelParts) p.reset();
}

void killLabelItems() {
    for (auto& p : gLabel.labelParts) p.reset();
    labelBack.lastItem = -1;
}

int32_t addLabelItem() {
    if (labelBack.lastItem + 1 >= kMaxLabelItems) {
        Message(kMessageTooManyItems);
        return 1;
    }
    ++labelBack.lastItem;
    gLabel.labelParts[static_cast<size_t>(labelBack.lastItem)] = std::make_unique<LabelItem>();
    clearItemData(labelBack.lastItem);
    return 0;
}

void clearItemData(int32_t index) {
    LabelItem* it = slot(index);
    if (!it) return;
    const uint16_t kind = it->u16(item::kind);
    const bool barcode = kind == kKindBarcode;
    it->rec.fill(0);
    it->setI16(item::kind, kind);
    it->setI16(item::siz, gSym.Siz == 0 ? 100 : static_cast<int32_t>(gSym.Siz));
    it->setI16(item::hei, gSym.Hei == 0 ? 26 : static_cast<int32_t>(gSym.Hei));
    it->setI16(item::customTeSize, barcode ? 0 : 12);
    it->setI16(item::humanPacked, 1);
    it->setI16(item::black2, 100);
    it->setI16(item::nonLight, 1);
    it->setI16(item::flushPacked, 1);
    if (barcode) {
        it->setU32(item::len1, 12);
        gData.len1 = 12;
        gData.len11 = 12;
        unsigned char font[256];
        pstrSet(font, "Strixel");
        it->setText(item::fontAbove, pascalText(font));
        it->setText(item::fontBelow, pascalText(font));
        it->setText(item::defFont, pascalText(font));
    } else {
        it->setU32(item::len1, static_cast<uint32_t>(gData.len1));
        it->setText(item::fontBelow, pascalText(gSym.gHelvetica));
    }
    it->setText(item::dataText, kSampleData);
    it->dataHandle.clear();
    it->hasDataHandle = false;
    it->taggedBlock.clear();
    it->longDataText.clear();
    it->longAddOn.clear();
    for (auto& b : it->extraBlocks) b.clear();
}

void setItemData(int32_t index, int32_t mode) {
    LabelItem* it = slot(index);
    if (!it) return;
    const uint16_t kind = it->u16(item::kind);
    if (kind == kKindBarcode) gSym.orient = 0;  // a barcode item is stored unrotated

    it->setI16(item::insetAmount, gSym.insetAmount);
    it->setI16(item::orientPacked,
               gSym.textAsFont + ((gSym.orient * 2) & 0x3FF) + gSym.extraMargin * 2048);
    it->setI16(item::code, gSym.code);
    it->setI16(item::siz, static_cast<int32_t>(gSym.Siz * 100));
    if (kind != kKindPicture) it->setI16(item::hei, static_cast<int32_t>(gSym.Hei * 100));
    it->setI16(item::bWidthRed, gSym.BWidthRed);
    it->setI16(item::customTeSize, gSym.customTeSize);
    it->setI16(item::line, static_cast<int32_t>(gSym.line));
    it->setI16(item::lModePacked, gSym.end_bars + gSym.lMode * 2 + gSym.cLength * 16);
    it->setI16(item::cuHeiPacked, gSym.para + 2 * static_cast<int32_t>(gSym.cuHei * 10));
    it->setI16(item::hgauge, gSym.Hgauge);
    it->setI16(item::humanPacked, gSym.human + 2 * gLabel.proMode);
    if (kind != kKindPicture) {
        it->setI16(item::aboveHu, gSym.AboveHu);
        it->setI16(item::checkPacked,
                   gSym.nCheck + 2 * gSym.customColour + 4 * gLabel.alpha + 16 * gLabel.sepImp);
    }
    it->setI16(item::variation1, gSym.variation1);
    it->setI16(item::transparent, gSym.transpar_ent);
    it->setI16(item::ratioPacked, gSym.cutMarks + 4 * (gSym.ratio == -1 ? 9 : gSym.ratio));
    it->setI16(item::hgaugeJ, gSym.HgaugeJ);
    it->setI16(item::attTopPacked, gSym.attTop + 2 * gLabel.impoMode + 32 * gLabel.notDrawn +
                                       128 * gLabel.tempNumRepeat);
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
    it->setI16(item::flushPacked, gSym.flushBars + 128 * gLabel.numRepeat);
    it->setI16(item::selected, gLabel.selected);

    if (mode != 2 && mode != 4) return;
    it->setI16(item::teJust, gSym.TEjust);
    it->setI16(item::teFace, gSym.TEface);
    std::string above = pascalText(gSym.fontAbove);
    if (gSym.customColour == 1) {
        above += kVT;
        above += std::string(reinterpret_cast<const char*>(gSym.customCol + 1), gSym.customCol[0]);
    }
    it->setText(item::fontAbove, above);
    it->setText(item::fontBelow, pascalText(gSym.fontBelow));
    // Cut to 127 bytes with the length byte cut to match, so the question after it
    // is not read back as part of the name.
    std::string def = pascalText(gSym.defFont).substr(0, 127);
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
    if (!gLabel.serPos.empty()) copyBounded(gData.chMainCode, gLabel.serPos.c_str());
    const bool barcode = kind == kKindBarcode;
    std::string main = gData.chMainCode2;
    const std::string affixes = kVT + std::string(gData.chPrefix) + kVT + gData.chSuffix;
    // A barcode's data that its field cannot hold as it is (too long, or holding
    // the VT that separates the field's parts) is kept whole beside the record;
    // the field gets a copy that reads back safely.
    it->longDataText.clear();
    if (barcode && gLabel.serPos.empty() &&
        (main.size() + affixes.size() > kLabelItemTextSize - 1 ||
         main.find(kVT) != std::string::npos)) {
        it->longDataText = main;
        for (char& c : main)
            if (c == kVT) c = ' ';
    }
    std::string data = main + affixes;
    if (!gLabel.serPos.empty()) {
        data = gLabel.serPos;
        if (gLabel.serPos.find(kVT) == std::string::npos) data += affixes;
    }
    it->setText(item::dataText, data);
    it->setText(item::addCode, gData.chAddCode);
    const size_t addLen = strnlen(gData.chAddCode, kAddCodeSize);
    it->longAddOn = barcode && addLen > kLabelItemTextSize - 1
                        ? std::string(gData.chAddCode, addLen)
                        : std::string();
    it->setText(item::serPos, gLabel.serPos);
    it->setText(item::incAmount, gLabel.incAmount);
    it->setText(item::serEnd, gLabel.serEnd);
    it->dataHandle = gLabel.externalH;
    it->hasDataHandle = gLabel.hasExternalH;
}

void getItemData(int32_t index) {
    LabelItem* it = slot(index);
    if (!it) return;
    const uint16_t kind = it->u16(item::kind);
    const bool picture = kind == kKindPicture;
    gLabel.iteTyp = kind;
    getItemRect(index);

    const int16_t w12 = it->i16(item::orientPacked);
    gSym.orient = (w12 / 2) & 0x3FF;
    gSym.extraMargin = w12 / 2048;
    gSym.textAsFont = w12 & 1;
    gSym.insetAmount = it->i16(item::insetAmount);
    gSym.code = it->i16(item::code);

    const int16_t siz = it->i16(item::siz);
    const bool newStyle = siz >= 1000;
    gSym.Siz = newStyle ? siz / 100.0 : siz;
    const int16_t hei = it->i16(item::hei);
    if (!picture) gSym.Hei = (hei > 100 && newStyle) ? hei / 100.0 : hei;

    gSym.BWidthRed = it->i16(item::bWidthRed);
    int32_t bw = gSym.Siz > 0 ? static_cast<int32_t>(gSym.BWidthRed / (gSym.Siz * 0.5)) : 0;
    if (!labelLayoutOpen() && (gOut.tool == 2 || gOut.tool == 3)) bw = 0;
    if (bw > 5) bw = 5;
    if (bw > 3 && smallStepFamily(gSym.code)) bw = 3;
    if (bw < 0) bw = 0;
    gSym.BW = bw;

    gSym.customTeSize = it->i16(item::customTeSize);
    gSym.line = it->i16(item::line);
    const uint16_t w26 = it->u16(item::lModePacked);
    gSym.lMode = (w26 / 2) & 7;
    gSym.cLength = (w26 / 16) & 0x7FFF;
    gSym.end_bars = w26 % 2;
    const uint16_t w28 = it->u16(item::cuHeiPacked);
    gSym.para = w28 & 1;
    if (hei >= 100) gSym.cuHei = ((w28 / 2) & 0x7FFF) * 0.1;
    if (gSym.lMode & 4) gSym.Hei = gSym.cuHei;

    gSym.Hgauge = it->i16(item::hgauge);
    const uint16_t w32 = it->u16(item::humanPacked);
    gLabel.proMode = w32 / 2;
    gSym.human = w32 & 1;
    if (!picture) {
        gSym.AboveHu = it->i16(item::aboveHu);
        const uint16_t w36 = it->u16(item::checkPacked);
        gSym.nCheck = w36 & 1;
        gSym.customColour = (w36 >> 1) & 1;
        gLabel.alpha = (w36 >> 2) & 3;
        gLabel.sepImp = (w36 >> 4) & 1;
    }
    gSym.variation1 = it->i16(item::variation1);
    gSym.transpar_ent = it->i16(item::transparent);
    const uint16_t w42 = it->u16(item::ratioPacked);
    gSym.ratio = w42 / 4 == 9 ? -1 : w42 / 4;
    gSym.cutMarks = w42 & 3;
    gSym.HgaugeJ = it->i16(item::hgaugeJ);
    const uint16_t w46 = it->u16(item::attTopPacked);
    gLabel.tempNumRepeat = w46 / 128;
    gLabel.notDrawn = (w46 / 32) & 3;
    gLabel.impoMode = (w46 / 2) & 15;
    gSym.attTop = w46 % 2;
    gSym.black2 = it->i16(item::black2);
    gSym.cyan2 = it->i16(item::cyan2);
    gSym.magenta2 = it->i16(item::magenta2);
    gSym.yellow2 = it->i16(item::yellow2);
    gSym.black22 = it->i16(item::black22);
    gSym.cyan22 = it->i16(item::cyan22);
    gSym.magenta22 = it->i16(item::magenta22);
    gSym.yellow22 = it->i16(item::yellow22);
    gSym.non_light = it->i16(item::nonLight);
    gSym.strip_extra = it->i16(item::stripExtra);
    const uint16_t w68 = it->u16(item::flushPacked);
    gLabel.numRepeat = w68 / 128;
    gSym.flushBars = w68 % 2;
    gLabel.selected = it->i16(item::selected);
    const uint32_t storedLen1 = it->u32(item::len1);
    gData.len2 = static_cast<int32_t>(it->u32(item::len2));
    gSym.TEface = it->i16(item::teFace);
    gSym.TEjust = it->i16(item::teJust);

    // Texts.
    std::string above = it->text(item::fontAbove);
    setPascalFromBytes(gSym.fontAbove, above);
    if (gSym.customColour == 1 && !above.empty()) {
        size_t vt = above.find(kVT, 1);
        if (vt != std::string::npos) pstrSet(gSym.customCol, above.substr(vt + 1).c_str());
    }
    setPascalFromBytes(gSym.fontBelow, it->text(item::fontBelow));
    std::string def = it->text(item::defFont);
    setPascalFromBytes(gSym.defFont, def);
    gLabel.textQuest.clear();
    if (!def.empty()) {
        size_t vt = def.find(kVT, 1);
        if (vt != std::string::npos) gLabel.textQuest = def.substr(vt + 1, 127);
    }
    const std::string data = it->text(item::dataText);
    std::string main = data, prefix, suffix;
    size_t vt1 = data.find(kVT);
    if (vt1 != std::string::npos) {
        main = data.substr(0, vt1);
        std::string rest = data.substr(vt1 + 1);
        size_t vt2 = rest.find(kVT);
        prefix = vt2 == std::string::npos ? rest : rest.substr(0, vt2);
        if (vt2 != std::string::npos) suffix = rest.substr(vt2 + 1);
    }
    if (!it->longDataText.empty()) main = it->longDataText;
    copyBounded(gData.chMainCode, main.c_str());
    copyBounded(gData.chMainCode2, main.c_str());
    copyBounded(gData.chPrefix, prefix.c_str());
    copyBounded(gData.chSuffix, suffix.c_str());
    const std::string addOn = it->longAddOn.empty() ? it->text(item::addCode) : it->longAddOn;
    copyBounded(gData.chAddCode, addOn.c_str());
    copyBounded(gData.chAddCode2, addOn.c_str());
    if (kind == kKindBarcode) {
        Gettw(gData.chMainCode2, static_cast<int32_t>(std::strlen(gData.chMainCode2)),
              gData.chAddCode2, static_cast<int32_t>(std::strlen(gData.chAddCode2)));
    }
    gData.len1 = static_cast<int32_t>(storedLen1 < kMainCodeSize ? storedLen1
                                                                 : std::strlen(gData.chMainCode));

    gLabel.serPos = it->text(item::serPos);
    gLabel.incAmount = it->text(item::incAmount);
    gLabel.serEnd = it->text(item::serEnd);
    gLabel.externalH = it->dataHandle;
    gLabel.hasExternalH = it->hasDataHandle;
}

void getItemRect(int32_t index) {
    LabelItem* it = slot(index);
    if (!it) return;
    gLabel.itRect = {it->i16(item::rectTop), it->i16(item::rectLeft), it->i16(item::rectBottom),
                     it->i16(item::rectRight)};
}

int32_t getProMode(int32_t index) {
    LabelItem* it = slot(index);
    return it ? it->u16(item::humanPacked) / 2 : 0;
}

void setItemDataSelItems(int32_t mode) {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = slot(i);
        if (!it) continue;
        if (!labelLayoutOpen() || it->i16(item::selected) == 1) setItemData(i, mode);
    }
}

void addNewCode() {
    if (labelLayoutOpen()) return;
    killLabelItems();
    if (addLabelItem() != 0) return;
    LabelItem* it = slot(labelBack.lastItem);
    it->setI16(item::selected, 1);
    it->setI16(item::kind, kKindBarcode);
}

void resetLabelDocument() {
    labelBack = LabelSheet{};
    labelBack3 = LabelSheet{};
    gLabel = LabelDocument{};
}
