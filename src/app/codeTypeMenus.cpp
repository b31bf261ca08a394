#include "app/codeTypeMenus.h"

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "labels/labelDoc.h"
#include "picture/PICout2.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

using S = CodeSetting;

// A row from its family, variant and assignments in the order they apply.
constexpr CodeTypeRow row(int32_t code, int32_t variation1,
                          std::initializer_list<CodeAssign> set = {}) {
    CodeTypeRow r{code, variation1, {}};
    if (set.size() > kMostAssigns) throw std::length_error("too many settings in a row");
    size_t i = 0;
    for (const CodeAssign& a : set) r.set[i++] = a;
    return r;
}
constexpr CodeAssign NL(int32_t v) { return {S::nonLight, v}; }
constexpr CodeAssign FB(int32_t v) { return {S::flushBars, v}; }
constexpr CodeAssign SE(int32_t v) { return {S::stripExtra, v}; }
constexpr CodeAssign TS(int32_t v) { return {S::customTeSize, v}; }
constexpr CodeAssign RA(int32_t v) { return {S::ratio, v}; }
constexpr CodeAssign NC(int32_t v) { return {S::nCheck, v}; }
constexpr CodeAssign CS(int32_t v) { return {S::chSpace, v}; }
constexpr CodeAssign FA(int32_t v) { return {S::fontAbove, v}; }
constexpr CodeAssign AT(int32_t v) { return {S::attTop, v}; }
constexpr CodeAssign HU(int32_t v) { return {S::human, v}; }
constexpr CodeAssign VA(int32_t v) { return {S::variation, v}; }
constexpr CodeAssign IA(int32_t v) { return {S::insetAmount, v}; }
constexpr CodeAssign SF(int32_t v) { return {S::smallFirstChar, v}; }
constexpr CodeAssign DX(int32_t v) { return {S::drawExtraText, v}; }
constexpr CodeAssign DEF(int32_t code) { return {S::defaultsFor, code}; }
constexpr CodeAssign DATA{S::dataText, 0};
constexpr CodeAssign COUPON{S::coupon, 0};
constexpr int32_t U = kUnchanged;
constexpr int32_t DF = kFontDefault, OCR = kFontOcrA;

constexpr CodeTypeRow kMenu238[] = {
    row(0, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(4, 0, {RA(5), NC(0), CS(0)}),
    row(7, 0),
    row(10, 0, {NL(0), FB(1), SE(0), TS(0)}),
    row(11, 0, {NL(0), FB(1), SE(0), TS(0)}),
    row(9, U),
    row(14, U, {RA(5), CS(0), FA(DF)}),
    row(4, 0, {RA(5), CS(0), NC(1), DEF(18)}),
    row(4, 0, {RA(5), NC(0), CS(0)}),
    row(4, 5, {RA(5), NC(0), CS(1)}),
    row(4, 5, {RA(5), NC(0), CS(1)}),
    row(23, 0, {RA(5), NC(0), CS(0)}),
    row(10, 1, {NL(0), FB(1), SE(0), TS(0)}),
    row(24, 0, {RA(5), NC(1), CS(0)}),
    row(3, 1, {NL(0), FB(1), SE(0), TS(0)}),
    row(4, 12, {RA(5), NC(0), CS(0), AT(1)}),
    row(0, 4, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 5, {NL(1), FB(1), SE(0), TS(0)}),
    row(0, 5, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 6, {NL(1), FB(1), SE(0), TS(0)}),
    row(11, 1, {NL(0), FB(1), SE(0), TS(0)}),
    row(4, 10, {RA(5), NC(0), CS(1)}),
    row(7, 10),
    row(7, 11),
    row(7, 12),
    row(7, 14),
    kShippingContainerRow,
    row(4, 13, {RA(5), NC(0), CS(1), NL(0)}),
};

constexpr CodeTypeRow kMenu239[] = {
    row(6, 0, {NC(1)}),
    row(5, 0),
    row(8, 0, {NC(1)}),
    row(5, 1),
    row(4, 0, {RA(5), NC(1), CS(0), DEF(4)}),
    row(21, 0),
    row(4, 0, {RA(0), NC(1), CS(0), DEF(4)}),
    row(4, 0, {RA(2), NC(1), CS(0), DEF(4)}),
    row(4, 0, {RA(3), NC(1), CS(0), DEF(4)}),
    row(6, 1, {NC(1)}),
    row(6, 1, {NC(0)}),
    row(6, 0, {NC(0)}),
    row(4, 3, {RA(5), NC(0), CS(0)}),
    row(4, 3, {RA(0), NC(0), CS(0)}),
    row(4, 3, {RA(2), NC(0), CS(0)}),
    row(4, 3, {RA(3), NC(0), CS(0)}),
    row(4, 4, {RA(5), NC(0), CS(0)}),
    row(21, 1),
    row(21, 2),
    row(5, 5),
    row(6, 10, {NC(1)}),
    row(6, 10, {NC(0)}),
    row(5, 8),
};

constexpr CodeTypeRow kMenu240[] = {
    row(1, 3, {NL(1), FB(1), SE(0), TS(0), FA(DF)}),
    row(1, 3, {NL(1), FB(1), SE(0), TS(0), FA(OCR)}),
    row(2, 0, {NL(1), FB(1), SE(0), TS(0), FA(DF)}),
    row(2, 0, {NL(1), FB(1), SE(0), TS(0), FA(OCR)}),
    row(10, 0, {FB(1), SE(0), TS(0)}),
    row(1, 0, {NL(1), FB(1), SE(0), TS(0), DATA, FA(DF)}),
    row(1, 1, {NL(1), FB(1), SE(0), TS(0)}),
    row(1, 2, {NL(1), FB(1), SE(0), TS(0)}),
    row(2, 1, {NL(1), FB(1), SE(0), TS(0), FA(DF)}),
    row(5, 13, {NL(0), FB(1), SE(0), TS(10), FA(DF)}),
    row(1, 3, {NL(1), FB(1), SE(0), TS(0), FA(DF)}),
    row(2, 255, {NL(1), FB(1), SE(0), TS(0), FA(DF)}),
    row(0, 256, {NL(0), FB(1), SE(0), TS(0)}),
    row(0, 257, {NL(0), FB(1), SE(0), TS(0)}),
    row(1, 4, {NL(1), FB(1), SE(0), TS(0), FA(DF)}),
};

constexpr CodeTypeRow kMenu241[] = {
    row(12, U),
    row(17, 0, {NL(0)}),
    row(28, U, {NC(0)}),
    row(28, U, {NC(1)}),
    row(17, 0, {HU(0), NL(0)}),
    row(6, 3, {TS(8), RA(5), NL(0), NC(1)}),
    row(6, 4, {NL(0), NC(1)}),
    row(6, 5, {NL(0), NC(0)}),
    row(35, 1, {NC(0), TS(12)}),
    row(6, 6, {NL(0), NC(0), TS(10)}),
    row(6, 7, {NL(0), NC(1), TS(10)}),
    row(5, 4),
    row(6, 8),
    row(17, 1, {HU(0), NL(0)}),
    row(10, 3, {HU(1), NL(0)}),
    row(10, 4, {HU(1), NL(0)}),
    row(17, 2, {NL(0)}),
    row(10, 5, {HU(1), NL(0)}),
    row(10, 6, {HU(1), NL(0)}),
    row(6, 14, {NL(0), NC(1)}),
};

constexpr CodeTypeRow kMenu242[] = {
    row(13, U),
    row(15, U, {VA(1)}),
    row(15, U, {VA(0)}),
    row(16, 0, {FB(1), SE(0), TS(0), IA(0)}),
    row(16, 1, {FB(1), SE(0), TS(0), IA(0)}),
    row(16, 3, {FB(1), SE(0), TS(0), IA(0)}),
    row(13, U),
    row(15, U, {VA(3)}),
    row(15, U, {VA(2)}),
    row(16, 4, {FB(1), SE(0), TS(0), IA(0)}),
    row(5, 2),
    row(5, 3),
    row(5, 2),
    row(16, 5, {IA(0), FB(1), SE(0), TS(0)}),
    row(16, 6, {IA(0), FB(1), SE(0), TS(0)}),
    row(16, 7, {IA(0), FB(1), SE(0), TS(0)}),
};

constexpr CodeTypeRow kMenu243[] = {
    row(19, U),          row(20, 0, {NC(1)}), row(20, 0, {NC(0)}), row(35, 0, {NC(1)}),
    row(35, 0, {NC(0)}), row(8, 0, {NC(0)}),  row(6, 2, {NC(1)}),  row(36, 0, {NC(0)}),
    row(36, 2, {NC(0)}), row(36, 3, {NC(0)}), row(20, 1, {NC(0)}), row(6, 9, {NC(1)}),
    row(6, 11, {NC(1)}), row(6, 12, {NC(1)}), row(8, 2, {NC(0)}),  row(6, 13, {NC(1)}),
    row(8, 3, {NC(0)}),  row(35, 2, {NC(0)}),
};

// One item: the family alone, the variant as it was.
constexpr CodeTypeRow kMenu244[] = {
    row(6, U),
};

constexpr CodeTypeRow kMenu245[] = {
    row(25, U),
    row(26, U, {NL(0), FB(1), SE(0), TS(0)}),
    row(0, U, {NL(0), FB(1), SE(0), TS(0)}),
    row(3, U, {NL(0), FB(1), SE(0), TS(0)}),
    row(29, U),
    row(0, 1, {FB(1), SE(0), TS(0)}),
    row(3, 2, {NL(0), FB(1), SE(0), TS(0)}),
    row(0, 2, {NL(0), FB(0), SE(1), TS(15)}),
    row(4, 2, {RA(5), NC(1), CS(0), NL(0), TS(10)}),
    row(3, 3, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 4, {NL(1), FB(1), SE(0), TS(0)}),
    row(0, 3, {NL(0), FB(0), SE(1), TS(0)}),
    row(10, 2, {NL(0), FB(1), SE(0), TS(0)}),
    row(0, 6, {NL(1), FB(1), SE(0), TS(0)}),
    row(8, 1, {NC(1)}),
    row(0, 7, {SF(0), NL(1), FB(1), SE(0), TS(0)}),
    row(0, 8, {SF(0), NL(1), FB(1), SE(0), TS(0)}),
    row(0, 10, {SF(0), NL(1), FB(1), SE(0), TS(0)}),
    row(0, 9, {SF(0), NL(0), FB(0), SE(1), TS(15)}),
    row(0, 10, {SF(1), NL(1), FB(1), SE(0), TS(0)}),
    row(0, 0, {SF(1), NL(1), FB(1), SE(0), TS(0)}),
    row(0, 11, {DX(1), NL(1), FB(1), SE(0), TS(0)}),
    row(5, 7, {NL(0)}),
    row(7, 1),
    row(4, 7, {RA(5), NC(0), CS(0)}),
    row(4, 8, {RA(5), NC(0), CS(0)}),
    row(3, 8, {NL(0), FB(0), SE(0), TS(0)}),
    row(7, 15),
    row(4, 14, {RA(5), NC(1), CS(0), NL(0), TS(10)}),
};

constexpr CodeTypeRow kMenu246[] = {
    row(30, 0, {NL(0)}),
    row(31, U, {NL(0)}),
    row(32, U, {NL(0)}),
    row(30, 1, {NL(0)}),
};

constexpr CodeTypeRow kMenu248[] = {
    row(3, 7, {NL(0), FB(1), SE(0), TS(0)}),
    row(4, 6, {RA(5), CS(0), NC(1), DEF(18)}),
    row(0, 12, {NL(0), FB(1), SE(0), TS(0)}),
    row(4, 9, {RA(5), CS(0), NC(1), DEF(18)}),
};

constexpr CodeTypeRow kMenu249[] = {
    row(37, 0, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 1, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 4, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 5, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 2, {NL(0), FB(1), SE(0), TS(9), HU(0)}),
    row(37, 3, {NL(0), FB(1), SE(0), TS(9), HU(0)}),
    row(37, 6, {NL(0), FB(1), SE(0), TS(9), HU(0)}),
    row(37, 7, {NL(0), FB(1), SE(0), TS(9), HU(1), COUPON}),
    row(37, 7, {NL(0), FB(1), SE(0), TS(9), HU(1), COUPON}),
};

constexpr CodeTypeRow kMenu250[] = {
    row(38, 0, {NL(0), FB(1), SE(0), TS(7)}), row(U, U),
    row(40, 0, {NL(0), FB(1), SE(0), TS(7)}), row(41, 0, {NL(0), FB(1), SE(0)}),
    row(42, 1, {NL(0), FB(1), SE(0)}),        row(42, 0, {NL(0), FB(1), SE(0)}),
    row(42, 2, {NL(0), FB(1), SE(0)}),
};

constexpr CodeTypeRow kMenu253[] = {
    row(0, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(0, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(10, 0, {NL(0), FB(1), SE(0), TS(0)}),
    row(10, 0, {NL(0), FB(1), SE(0), TS(0)}),
    row(4, 10, {RA(5), NC(0), CS(1)}),
    row(4, 10, {RA(5), NC(0), CS(1)}),
    row(7, 10),
    row(7, 10),
    row(38, 2, {NL(0), FB(1), SE(0), TS(7)}),
};

constexpr CodeTypeRow kMenu254[] = {
    row(0, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(0, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(3, 0, {NL(1), FB(1), SE(0), TS(0)}),
    row(10, 0, {NL(0), FB(1), SE(0), TS(0)}),
    row(10, 0, {NL(0), FB(1), SE(0), TS(0)}),
    row(4, 10, {RA(5), NC(0), CS(1)}),
    row(4, 10, {RA(5), NC(0), CS(1)}),
    row(7, 10),
    row(7, 10),
    row(7, 0),
    row(38, 2, {NL(0), FB(1), SE(0), TS(7)}),
    row(U, U),
    row(37, 0, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 1, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 4, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 5, {NL(0), FB(1), SE(0), TS(9)}),
    row(37, 2, {NL(0), FB(1), SE(0), TS(9), HU(0)}),
    row(37, 3, {NL(0), FB(1), SE(0), TS(9), HU(0)}),
    row(37, 6, {NL(0), FB(1), SE(0), TS(9), HU(0)}),
    row(37, 7, {NL(0), FB(1), SE(0), TS(9), HU(1), COUPON}),
    row(37, 7, {NL(0), FB(1), SE(0), TS(9), HU(1), COUPON}),
};

struct CodeTypeMenu {
    int16_t id;
    std::span<const CodeTypeRow> rows;
};
constexpr CodeTypeMenu kCodeTypeMenus[] = {
    {238, kMenu238}, {239, kMenu239}, {240, kMenu240}, {241, kMenu241}, {242, kMenu242},
    {243, kMenu243}, {244, kMenu244}, {245, kMenu245}, {246, kMenu246}, {248, kMenu248},
    {249, kMenu249}, {250, kMenu250}, {253, kMenu253}, {254, kMenu254},
};

// Only the coupon menu 249 names the type before its dialog opens.
constexpr int16_t kCouponNamedFirst = 249;
constexpr int16_t kNoHumanTextMenu = 250;

bool opensCoupon(const CodeTypeRow& r) {
    for (const CodeAssign& a : r.set)
        if (a.setting == S::coupon) return true;
    return false;
}

constexpr int32_t kStoreWithTexts = 4;  // setItemDataSelItems: settings, texts and data

// Item i of the label (0 to lastItem), null for an empty slot.
LabelItem* labelItem(int32_t i) { return gLabel.labelParts[static_cast<size_t>(i)].get(); }

bool isSelectedBarcode(const LabelItem* it) {
    return it && it->i16(item::selected) == 1 && it->u16(item::kind) == kKindBarcode;
}

bool barcodeSelected() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i)
        if (isSelectedBarcode(labelItem(i))) return true;
    return false;
}

// Everything a choice changes, kept while selected barcodes of a label are to
// take it: a type that refuses their data puts it all back.
struct BeforeChoice {
    SymbolSettings sym = gSym;
    SymbolData data = gData;
    PanelFields panels = gPanels;
    LabelDocumentState label = gLabel;
    std::vector<std::pair<int32_t, LabelItem>> items;

    void keepSelectedItems() {
        for (int32_t i = 0; i <= labelBack.lastItem; ++i)
            if (const LabelItem* it = labelItem(i); it && it->i16(item::selected) == 1)
                items.emplace_back(i, *it);
    }
    void putBack() {
        for (auto& [i, it] : items) *labelItem(i) = std::move(it);
        gSym = sym;
        gData = data;
        gPanels = panels;
        static_cast<LabelDocumentState&>(gLabel) = label;
    }
};

constexpr const char* kRefusedSilently =
    "The selected item's data cannot be encoded in this code type. The item keeps its type.";

// Each selected barcode encoded as the layout shows it; the first refusal is
// told (once) and ends the check.
bool selectedBarcodesEncode() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        if (!isSelectedBarcode(labelItem(i))) continue;
        const int32_t shown = gMsg.shown;
        gMsg.inerror = 0;  // an earlier symbol's error must not hide this refusal
        if (encodeLayoutItem(i)) continue;
        if (gMsg.shown == shown) {
            gMsg.inerror = 0;
            MessageText(kRefusedSilently);
        }
        return false;
    }
    return true;
}

// The single symbol's data goes with the fields the new type emptied: kept, it
// would be saved and previewed as the new type (and as the last encoder left it,
// its escapes already rewritten) though nobody typed it for that type.
void forgetSingleSymbolData() {
    gData.chMainCode[0] = gData.chMainCode2[0] = 0;
    gData.len1 = gData.len11 = 0;
    gData.chAddCode[0] = gData.chAddCode2[0] = 0;
    gData.len2 = gData.len22 = 0;
}

}  // namespace

bool isCodeTypeMenu(int16_t menuId) {
    for (const CodeTypeMenu& m : kCodeTypeMenus)
        if (m.id == menuId) return true;
    return false;
}

std::span<const CodeTypeRow> codeTypeRows(int16_t menuId) {
    for (const CodeTypeMenu& m : kCodeTypeMenus)
        if (m.id == menuId) return m.rows;
    return {};
}

CodeChoice chooseCodeType(int16_t menuId, int16_t item) {
    if (!isCodeTypeMenu(menuId)) return CodeChoice::notCodeType;
    // Selected barcodes of a label keep their data: a type that cannot encode
    // it is refused, or every redraw of the layout would refuse them again.
    std::unique_ptr<BeforeChoice> before;
    if (labelLayoutOpen() && item > 0 && barcodeSelected())
        before = std::make_unique<BeforeChoice>();
    gSym.ratio = -1;
    // The bearer's width and the room kept for it go together: a room left behind
    // would shift the next type's bars off its box.
    gSym.line = gSym.gline = 0;
    copeWithCutMarks();
    gSym.smallFirstChar = 0;
    gSym.drawExtraText = 0;
    gSym.human = menuId == kNoHumanTextMenu ? 0 : 1;

    const std::span<const CodeTypeRow> rows = codeTypeRows(menuId);
    if (item >= 1 && size_t(item) <= rows.size()) {
        const CodeTypeRow& r = rows[size_t(item) - 1];
        if (r.code != kUnchanged) gSym.code = r.code;
        if (r.variation1 != kUnchanged) gSym.variation1 = r.variation1;
        for (const CodeAssign& a : r.set) applyCodeAssign(a, r.code);
        if (opensCoupon(r)) {
            if (menuId == kCouponNamedFirst) {
                GetCodeText();
                // A cancelled dialog must not leave the emptied field's data.
                if (!labelLayoutOpen()) forgetSingleSymbolData();
            }
            return CodeChoice::coupon;
        }
    }
    if (item > 0) {
        pstrCopy(gSym.defFont, gSym.barFont);
        GetCodeText();
        if (!labelLayoutOpen()) forgetSingleSymbolData();
        if (before) before->keepSelectedItems();
        setItemDataSelItems(kStoreWithTexts);
        if (before && !selectedBarcodesEncode()) {
            before->putBack();
            return CodeChoice::refused;
        }
    }
    return CodeChoice::applied;
}
