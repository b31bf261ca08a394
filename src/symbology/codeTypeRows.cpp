#include "symbology/codeTypeRows.h"

#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

using S = CodeSetting;

constexpr const char* kSampleData = "0-521";

}  // namespace

void applyCodeAssign(const CodeAssign& a, int32_t rowCode) {
    switch (a.setting) {
        case S::none:
        case S::coupon:
            return;
        case S::nonLight:
            gSym.non_light = a.value;
            return;
        case S::flushBars:
            gSym.flushBars = a.value;
            return;
        case S::stripExtra:
            gSym.strip_extra = a.value;
            return;
        case S::customTeSize:
            gSym.customTeSize = a.value;
            return;
        case S::ratio:
            gSym.ratio = a.value;
            return;
        case S::nCheck:
            gSym.nCheck = a.value;
            return;
        case S::chSpace:
            gSym.chSpace = a.value;
            return;
        case S::fontAbove:
            if (a.value == kFontOcrA)
                pstrSet(gSym.fontAbove, kOcrAFont);
            else
                pstrCopy(gSym.fontAbove, gSym.defFont);
            return;
        case S::attTop:
            gSym.attTop = a.value;
            return;
        case S::line:
            gSym.line = a.value;
            return;
        case S::gline:
            gSym.gline = a.value;
            return;
        case S::aboveHu:
            gSym.AboveHu = a.value;
            return;
        case S::human:
            gSym.human = a.value;
            return;
        case S::variation:
            gSym.variation = a.value;
            return;
        case S::insetAmount:
            gSym.insetAmount = a.value;
            return;
        case S::smallFirstChar:
            gSym.smallFirstChar = a.value;
            return;
        case S::drawExtraText:
            gSym.drawExtraText = a.value;
            return;
        case S::dataText:
            gPanels.TEH.text = kSampleData;
            return;
        case S::defaultsFor:
            // The defaults of a related family, then the item's own family again.
            gSym.code = a.value;
            defaults();
            if (rowCode != kUnchanged) gSym.code = rowCode;
            return;
    }
}

const CodeTypeRow* typeNameRow(int32_t code, int32_t variation1) {
    // Only SCC 14 for now: GS1 asks for ITF-14's bearers. The other rows with
    // settings of their own (ratios, light-margin marks, text sizes, check
    // settings) would change symbols that scripts have long made by those names.
    const CodeTypeRow& scc = kShippingContainerRow;
    if (code == scc.code && variation1 == scc.variation1) return &scc;
    return nullptr;
}
