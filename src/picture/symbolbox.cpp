#include "picture/symbolbox.h"

#include <cmath>

#include "labels/labelDoc.h"
#include "picture/outputstate.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/remembered.h"
#include "symbology/rows.h"
#include "symbology/state.h"
#include "vector/codebars_paint.h"
#include "vector/page.h"
#include "vector/units.h"

namespace {

constexpr double kRowHeightInTextHeights = 0.3;  // a PDF417 row is three tenths of the text height
constexpr double kLeastHeight = 1.0;             // mm
// UPC-A's check digit stands right of the bars and reaches past the quiet zone
// the symbol's width counts (most with a '5' or '7'); the box takes it in.
constexpr double kUpcCheckDigitOverhang = 0.6;  // points at 100 %
constexpr double kLargestItemExtent = 32767;    // points, the most a 16-bit rectangle holds

}  // namespace

bool sizeSingleSymbol(int32_t index) {
    const SymbolData& keep = beginSizing();
    const int32_t shownBefore = gMsg.shown;
    if (STRixel() != 0) {
        gData = keep;
        return false;
    }
    if (gSym.code == 41 || gSym.code == 42) {
        const int32_t textHeight = static_cast<int32_t>(gSym.Siz * 0.1);
        // One point more than the rows: the painter starts them at the height in
        // whole points, and the label item keeps the height in hundredths.
        gSym.Hei = (paintedModuleRows() * kRowHeightInTextHeights * textHeight + 1) / kPointsPerMm;
        // The label item keeps heights above 1 mm only; a symbol that low would
        // not scan anyway.
        if (gSym.Hei <= kLeastHeight) {
            gData = keep;
            MessageText(
                "This symbol is too small to print at this size. Raise the size and try again.");
            return false;
        }
    }
    // The text kinds write the symbol's characters, not its bars: any height above
    // the least one serves them.
    const bool textKind = gOut.tool == kOutBarFontText || gOut.tool == kOutTextLine;
    if (!setAsBarFontText() && !textKind && !linearBarsFit()) {
        gData = keep;
        MessageText(kNoRoomForBarsText);
        return false;
    }
    if (!setAsBarFontText() && !reductionLeavesBars()) {
        gData = keep;
        MessageText(kBarsVanishText);
        return false;
    }
    // The writer makes this symbol next: it takes it back unless something changed.
    if (gMsg.shown == shownBefore && !setAsBarFontText()) rememberSymbol();
    SymbolExtent e = symbolExtent();
    if (gSym.code == 10 && gData.chAddCode[0] == 0)
        e.width += kUpcCheckDigitOverhang * gSym.Siz / 100;
    gData = keep;
    endSymbolDispatch();
    gRows = RowState{};
    // The item keeps its rectangle in 16-bit points: a larger symbol would wrap round
    // to a box of another size, or a negative one.
    if (std::ceil(e.width) > kLargestItemExtent || std::ceil(e.height) > kLargestItemExtent) {
        MessageText(
            "This symbol is larger than 32767 points (11.5 metres), the most a file can hold. "
            "Lower the size or shorten the data and try again.");
        return false;
    }
    if (index < 0 || index > labelBack.lastItem || !gLabel.labelParts[static_cast<size_t>(index)])
        return true;
    LabelItem& it = *gLabel.labelParts[static_cast<size_t>(index)];
    it.setI16(item::rectTop, 0);
    it.setI16(item::rectLeft, 0);
    it.setI16(item::rectBottom, static_cast<int32_t>(std::ceil(e.height)));
    it.setI16(item::rectRight, static_cast<int32_t>(std::ceil(e.width)));
    return true;
}

bool addSingleSymbolItem() {
    addNewCode();
    if (!sizeSingleSymbol(0)) return false;
    setItemData(0, 4);
    return true;
}
