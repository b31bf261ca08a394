// The page writers: a single label or symbol on one page, a full sheet of
// labels, and every item of a label at one label position.
#include "vector/page.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <optional>

#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/rotateRect.h"
#include "labels/serial.h"
#include "picture/services.h"
#include "platform/numbers.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/remembered.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/blocks.h"
#include "vector/chars.h"
#include "vector/codebars_paint.h"
#include "vector/pdf.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"
#include "vector/units.h"

namespace {

constexpr int32_t kOrientSet = 200;
constexpr int32_t kOrientClear = 201;
constexpr int32_t kBarFontTextSize = 10;  // points, when the item names none

// Dispatcher codes of the symbols that are never set as bar-font text.
// The 4-state codes, DataBar and the 2-D and stacked codes (whose heights follow
// their rows or modules, not a bar height the user set low) are never text.
constexpr int32_t kNeverText[] = {30, 31, 37, 38, 40, 41, 42};

int32_t pageHeight() {
    if (labelBack.labelWidth != 0) return static_cast<int32_t>(labelBack.labelHeight / 10);
    const LabelItem* first = gLabel.labelParts[0].get();
    return first ? first->i16(item::rectBottom) : 0;
}

// A label item's symbol refused without a message of its own would leave the
// label without it, unnoticed.
bool labelItemRefused(int32_t i) {
    const int32_t shownBefore = gMsg.shown;
    if (STRixel() == 0) return false;
    if (labelBack.labelWidth != 0 && gMsg.shown == shownBefore) tellSymbolNotMade(i);
    return true;
}

// The box on the label of the press file being written, if any.
std::optional<Rect16> gItemFileBox;

// A label item's bars, painted into `box` (page points) from its item rectangle
// gLabel.itRect on the label, must stay on the label and inside the box of the
// press file that holds the item (else reported): the press prints no more of
// the file than its box.
void checkBarsOnLabel(int32_t i, const PageRect& box, const PaintedBars& painted) {
    const Rect16& it = gLabel.itRect;
    // Page points to the label's own, y down.
    const auto x = [&](double px) { return it.left + (px - box.left); };
    const auto y = [&](double py) { return it.top + (box.upper - py); };
    LabelBox bars;
    if (painted.any)
        bars.add(x(painted.left), y(painted.upper), x(painted.right), y(painted.lower));
    const double cx = x((box.left + box.right) / 2), cy = y((box.upper + box.lower) / 2);
    if (!barsOnLabel(i, bars, cx, cy, gSym.orient) || !gItemFileBox) return;
    const Rect16& f = *gItemFileBox;
    LabelBox file;
    file.add(f.left, f.top, f.right, f.bottom);
    const BarsPast past = barsPastBox(bars, cx, cy, gSym.orient, file);
    if (past.edge == nullptr) return;
    gMsg.inerror = 0;  // told even after an earlier refusal, as a label's edge is
    MessageText(platform::formatC("Item %d of the label, a barcode, has bars reaching %.0f "
                                  "points past the %s edge of its rectangle, the box of its "
                                  "press file: its symbol would print cut off. Make the "
                                  "rectangle larger, the symbol smaller or its data shorter.",
                                  static_cast<int>(i + 1), std::ceil(past.by), past.edge)
                    .c_str());
}

// A barcode item lower than 2 mm is the symbol set as text in the bar font.
void barFontText(int32_t i, const PageRect& r) {
    if (gSym.customTeSize == 0) gSym.customTeSize = kBarFontTextSize;
    doColour(kColourSetUp);
    if (!gSym.transpar_ent) {
        doBackColour(kColourFill, gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22);
        FillPostBox(r.left, r.lower + gSym.Hei * kPointsPerMm, r.right, r.lower);
    }
    const bool overprint = gSym.overPrint == 1 && gOut.ill != kIllPdf;
    if (overprint) TEInsert2("1 O\r");
    doColour(kColourFill);
    TextSizeGC(static_cast<int16_t>(gSym.customTeSize), gSym.customTeSize);
    SetAnyEpsFontP(gVec.gCtexsize * 1000000, gVec.gCtexsize * 1000000, gSym.fontBelow, -1);
    // An item placed far off its page by a damaged document is held at the
    // position unit's range.
    TextPositionAccurate(trunc32(r.left * kPerPoint), trunc32(r.upper * kPerPoint));
    // The last character is index len1 - 1: the run ends there, not on the NUL.
    if (!labelItemRefused(i) && gData.len1 > 0) DrawTextEPS(gData.chMainCode, 0, gData.len1 - 1);
    if (overprint) TEInsert2("0 O\r");
}

}  // namespace

bool drawnAlways(int32_t code) {
    return std::find(std::begin(kNeverText), std::end(kNeverText), code) != std::end(kNeverText);
}

bool setAsBarFontText() {
    return gSym.Hei > 0 && gSym.Hei <= kBarFontMaxHeight && !drawnAlways(gSym.code);
}

void writeBarcodeItem(platform::FileRef refNum, int32_t i, const PageRect& r) {
    if (setAsBarFontText()) {
        barFontText(i, r);
        return;
    }
    // A symbol the data cannot make is left out (the user has been told); the
    // list of an earlier item must not be painted in its place.
    // A symbol just sized comes back as it was made, its bars known to fit.
    const bool recalled = recallSymbol();
    if (!recalled && labelItemRefused(i)) return;
    // A symbol lower than its text would have its bars turned over the box's top.
    if (!recalled && !linearBarsFit()) {
        MessageText(kNoRoomForBarsText);
        return;
    }
    if (const char* why = reductionFault()) {
        MessageText(why);
        return;
    }
    // The label position is already in force (the page writer translated to it).
    // On a label the symbol hangs from its item's top left corner, as printing
    // and the layout draw it, whatever room its rectangle leaves below or right.
    PageRect box = r;
    if (labelBack.labelWidth == 0) {
        EPSbcode(refNum, i, box, 0, 0);
        return;
    }
    const SymbolExtent extent = symbolExtent();
    box.right = box.left + extent.width;
    box.lower = box.upper - extent.height;
    // A symbol cut at the label's edge reads as nothing: reported, and the label
    // or press file that holds it is not kept.
    startBarRecord();
    EPSbcode(refNum, i, box, 0, 0);
    checkBarsOnLabel(i, box, stopBarRecord());
}

namespace {

void shapeFill() {
    doBackColour(kColourFill, gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2);
}

void writeItem(platform::FileRef refNum, int32_t i, const PageRect& r) {
    switch (gLabel.iteTyp) {
        case kKindText:
            EpsTextItem(i, r);
            break;
        case kKindBarcode:
            writeBarcodeItem(refNum, i, r);
            break;
        case kKindRectFilled:
            shapeFill();
            FillPostBox(r.left, r.upper, r.right, r.lower);
            [[fallthrough]];
        case kKindRect:
            DrawPostBox(r.left, r.upper, r.right, r.lower, gSym.line);
            break;
        case kKindOvalFilled:
            shapeFill();
            FillPostCircle(r.left, r.upper, r.right, r.lower);
            [[fallthrough]];
        case kKindOval:
            DrawPostCircle(r.left, r.upper, r.right, r.lower, static_cast<int32_t>(gSym.line));
            break;
        case kKindLine:
            DrawPostLine(r.upper, r.left, r.right, r.lower, static_cast<int32_t>(gSym.line));
            break;
        default:  // pictures, backgrounds and rounded rectangles have no vector form
            break;
    }
}

// Opens and closes the label position of a full sheet: the whole label moves.
void beginPosition(double x, double y) {
    if (gOut.ill == kIllPdf)
        TEInsert2(platform::formatC("q\r1 0 0 1 %f %f cm\r", x, y).c_str());
    else
        TEInsert2(platform::formatC("gsave\r%f %f translate\r", x, y).c_str());
}
void endPosition() { TEInsert2(gOut.ill == kIllPdf ? "Q\r" : "grestore\r"); }

// Reports a document that could not be written whole.
int32_t finish() {
    if (gVec.writeFailed == 0) return 0;
    Message(kMsgVectorWriteFailed);
    return 1;
}

bool refuseUnknownDialect() {
    if (knownDialect(gOut.ill)) return false;
    Message(kMsgUnknownDialect);
    return true;
}

// A Type 3 font file holds the label's symbol as its one glyph: a second barcode
// item's glyph would take the first one's name and replace it.
std::string secondSymbolInFont() {
    if (gOut.ill != kIllType3) return {};
    bool seen = false;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
        if (!it || it->u16(item::kind) != kKindBarcode) continue;
        if (seen)
            return platform::formatC(
                "item %d of the label is a second barcode item, and a Type 3 font file holds "
                "one symbol only: write the label in another dialect, or keep one barcode item",
                static_cast<int>(i + 1));
        seen = true;
    }
    return {};
}

// The writer's own refusal for callers that have not asked first.
bool refuseSecondSymbolInFont() {
    const std::string why = secondSymbolInFont();
    if (why.empty()) return false;
    MessageText(why.c_str());
    return true;
}

}  // namespace

std::string itemsWithoutVectorForm() {
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
        if (!it) continue;
        const char* what = nullptr;
        switch (it->u16(item::kind)) {
            case kKindPicture:
                what = "a picture";
                break;
            case kKindBackground:
                what = "a background picture";
                break;
            case kKindRoundRect:
            case kKindRoundRectFilled:
                what = "a rounded rectangle";
                break;
            default:
                continue;
        }
        return platform::formatC(
            "item %d of the label is %s, which EPS, PostScript and PDF "
            "label files cannot show: print the document (printer) "
            "to have it drawn, or take the item out",
            static_cast<int>(i + 1), what);
    }
    return secondSymbolInFont();
}

void CorrectItemRect(int32_t, int32_t pageHeight, const Rect16& itemRect, PageRect* out) {
    out->upper = pageHeight - itemRect.top;
    out->left = itemRect.left;
    out->lower = pageHeight - itemRect.bottom;
    out->right = itemRect.right;
}

ItemFileBox::ItemFileBox(const Rect16& box) { gItemFileBox = box; }
ItemFileBox::~ItemFileBox() { gItemFileBox.reset(); }

void writeLabelItem(platform::FileRef refNum, int32_t i, const PageRect& r) {
    const Rect16 rotated = gLabel.itRect;
    if (gSym.orient != 0) SetOrient(kOrientSet, rotated, gSym.orient);
    writeItem(refNum, i, r);
    if (gSym.orient != 0) SetOrient(kOrientClear, rotated, gSym.orient);
}

// A serial value is written as the printed label shows it, between its prefix
// and suffix.
void showSerialAffixes(int32_t i) {
    if (!serialValueBare(i)) return;
    const std::string shown = shownSerialText(gData.chMainCode);
    copyBounded(gData.chMainCode, shown.c_str());
    copyBounded(gData.chMainCode2, shown.c_str());
    // As kept: a prefix and suffix too long for the buffer were cut with it.
    gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(gData.chMainCode));
}

void EpsPageCode(platform::FileRef refNum, int32_t page, double x, double y) {
    const int32_t height = pageHeight();
    const int32_t last = labelBack.lastItem;
    const bool onSheet = labelBack3.labelWidth != 0;
    if (onSheet) beginPosition(x, y);
    for (int32_t i = 0; i <= last && i < kMaxLabelItems; ++i) {
        if (!gLabel.labelParts[static_cast<size_t>(i)]) continue;
        getItemData(i);
        showSerialAffixes(i);
        PageRect r;
        CorrectItemRect(0, height, gLabel.itRect, &r);
        writeLabelItem(refNum, i, r);
    }
    if (onSheet) endPosition();
    if (page != 0) doTrailer();
}

int32_t EPSoutSingle(platform::FileRef refNum, int32_t yPos) {
    if (refuseUnknownDialect()) return 1;
    EpsStart(refNum, yPos);
    if (gOut.ill == kIllPdf) pdfContentStart();
    EpsPageCode(refNum, 1, 0, 0);
    if (gOut.ill == kIllPdf) pdfContentEnd();
    EpsEnd(refNum);
    return finish();
}

int32_t EPSoutFullSheet(platform::FileRef refNum, int32_t yPos) {
    const LabelSheet& s = labelBack3;
    if (s.labelWidth == 0) return EPSoutSingle(refNum, yPos);
    if (refuseUnknownDialect()) return 1;
    // A stored print copy may hold any size: a page past the largest one would
    // be a huge file no reader takes.
    std::string why;
    if (const uint16_t fault = symbolSheetFault(s, &why); fault != 0) {
        MessageWith(fault, why);
        return 1;
    }
    const bool run = gProd.gcite != 0;  // a serial or import run fills the sheet
    if (!run) {
        gProd.importer = 0;
        gProd.sepIm = 0;
    } else if (sheetRunCheck() != 0) {
        return 1;
    }
    EpsStart(refNum, yPos);  // settles the sheet size of this document
    if (gOut.ill == kIllPdf) pdfContentStart();

    // Column by column, each column from its top row down; after each label the
    // run prepares item 0 for the next position.
    const uint32_t across = s.across % 1280, down = s.down % 1280;
    const uint32_t gutterCol = s.across / kGutterModulus;
    const double gutter = double(gutterBetweenColumns(s)) * kSheetCopyScale;
    const double sheetHeight = gEps.sheetHeight;
    bool going = true, lastLabel = false;
    // A run's position whose items cannot be drawn (refused, and reported) would
    // leave a gap: the run's sheet is not written.
    bool refused = false;
    for (uint32_t c = 0; c < across && going; ++c) {
        const double x = (double(s.leftMargin) + (double(s.labelWidth) + s.spaceAcross) * c +
                          (c >= gutterCol ? gutter : 0)) /
                         kSheetUnitsPerPoint;
        for (uint32_t r = 0; r < down && going; ++r) {
            const double y =
                (sheetHeight - (double(s.topMargin) + (double(s.labelHeight) + s.spaceDown) * r +
                                s.labelHeight)) /
                kSheetUnitsPerPoint;
            const int32_t shownBefore = gMsg.shown;
            EpsPageCode(refNum, 0, x, y);
            if (!run) continue;
            refused = gMsg.shown != shownBefore;
            if (refused) {
                going = false;
                continue;
            }
            if (lastLabel) {
                ++gProd.gcite;
                going = false;
                continue;
            }
            if (c + 1 == across && r + 1 == down) {
                sheetRunEndSheet();
                continue;
            }
            const SheetRun next = sheetRunAdvance();
            going = next != SheetRun::done;
            lastLabel = next == SheetRun::last;
        }
    }
    doTrailer();
    if (gOut.ill == kIllPdf) pdfContentEnd();
    EpsEnd(refNum);
    if (refused) return 1;
    return finish();
}

int32_t EPSout(platform::FileRef refNum, int32_t yPos) {
    if (refuseSecondSymbolInFont()) return 1;
    return labelBack3.labelWidth != 0 ? EPSoutFullSheet(refNum, yPos) : EPSoutSingle(refNum, yPos);
}
