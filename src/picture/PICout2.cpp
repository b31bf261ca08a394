#include "picture/PICout2.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string>

#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "labels/preview.h"
#include "labels/production.h"
#include "labels/rotateRect.h"
#include "labels/serial.h"
#include "picture/PICbcode.h"
#include "picture/colours.h"
#include "picture/driverdata.h"
#include "picture/outputstate.h"
#include "picture/fileservices.h"
#include "labels/labelBackground.h"
#include "platform/desktop.h"
#include "platform/quickdraw/pict.h"
#include "labels/datafields.h"
#include "picture/hooks.h"
#include "picture/pictpaint.h"
#include "picture/placedPictures.h"
#include "picture/printscale.h"
#include "picture/rotate.h"
#include "picture/textitems.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/codebars_paint.h"

PictureDriverState gDriver;

namespace {

constexpr int32_t kWindowLeft = 200, kWindowTop = 60, kWindowGrowth = 16;
constexpr int32_t kButtonRoom = 40, kButtonHalf = 60, kButtonTop = 35, kButtonBottom = 15;
constexpr int32_t kMostInset = 50;
constexpr int32_t kLabelUnits = 10;  // tenths of a point
constexpr int16_t kFinishPenMode = qd::patCopy;
constexpr int32_t kScreenPass = 0, kPrinterPass = 1, kThermalPass = -1;
constexpr int32_t kPressDialect = 25;  // ill: the digital press's variable-data job
constexpr int32_t kSpecsRoom = 64;     // the preview's information strip

bool isDataKind(uint16_t kind) { return kind == kKindText || kind == kKindBarcode; }

// The frames of a symbol shown as plain text: the text's width by its size,
// turned when the symbol stands upright.
void plainTextFrames(qd::Rect* frame, qd::Rect* window) {
    const int32_t w = plainTextWidth(), size = gSym.customTeSize;
    *frame = {0, 0, size, w};
    if (gSym.orient != 0 && gSym.orient != 180)
        *window = {kWindowTop, kWindowLeft, kWindowTop + w, kWindowLeft + size};
    else
        *window = {kWindowTop, kWindowLeft, kWindowTop + size, kWindowLeft + w};
}

// The preview window, kept as data: made on the first screen pass, resized for
// each single code; an open label's preview keeps its size.
void showPreview(const qd::Rect& window, bool label) {
    if (gDriver.disp2 && label) return;
    qd::Rect grown = window;
    if (gDriver.showSpecs > 0) {
        grown.right += kSpecsRoom;
        grown.bottom += gDriver.offbar + kSpecsRoom;
    }
    grown.bottom += kButtonRoom;
    gDriver.disp2 = true;
    gDriver.disp2Rect = grown;
    const int32_t bw = grown.width(), bh = grown.height();
    gDriver.dispcon = {bh - kButtonTop, bw / 2 - kButtonHalf, bh - kButtonBottom,
                       bw / 2 + kButtonHalf};
}

int16_t word(int32_t x) { return static_cast<int16_t>(std::clamp(x, -32768, 32767)); }

void putPICTonClip(const qd::Picture& pict) {
    platform::ZeroScrap();
    platform::PutScrapPict(qd::WritePict(pict, static_cast<int>(pictureUnitsPerInch())));
}

// The item's rectangle as drawn goes back into its record (the screen pass).
void storeItemRect(int32_t i, const qd::Rect& r) {
    gLabel.itRect = {word(r.top), word(r.left), word(r.bottom), word(r.right)};
    setItemRect(i);
}

// Forms printing puts the fixed parts on the first page only; the other pages
// copy it.
bool formsPageDraws() {
    return gPrint.formsPrint == 0 || (gPrint.formsPrint == 1 && gPrint.currPage == 1);
}

bool isGuide() { return (gLabel.notDrawn & 1) != 0; }

void setHooks() {
    gHooks.bar_ptr = myPaintRect;
    gHooks.text_ptr = getCharacterOutPict;
    gHooks.drawstring_ptr = getStringOutPict;
    gHooks.line_ptr = getLineOutPict;
    gHooks.rect_ptr = getRectOutPict;
    gHooks.rrect_ptr = getRRectOutPict;
    gHooks.oval_ptr = getOvalOutPict;
}

qd::Rect itemRect(int32_t h, int32_t v) {
    const Rect16& r = gLabel.itRect;
    return {r.top + v, r.left + h, r.bottom + v, r.right + h};
}

// The bars a printed label's symbol paints, in the port's units, and the painter
// they go on to.
LabelBox gPaintedBars;
BarHook gBarPainter = nullptr;

void recordBar(const qd::Rect& r) {
    gPaintedBars.add(r.left, r.top, r.right, r.bottom);
    gBarPainter(r);
}

// The symbol drawn as DrawXRString draws it, its bars recorded.
LabelBox drawRecordingBars(qd::Point centre, int32_t orient, const qd::Rect& r, int32_t i,
                           int32_t printMode) {
    gPaintedBars = {};
    gBarPainter = gHooks.bar_ptr;
    gHooks.bar_ptr = recordBar;
    DrawXRString(centre, 0, orient, r, i, printMode, kKindBarcode);
    gHooks.bar_ptr = gBarPainter;
    return gPaintedBars;
}

// A printed label's symbol must be whole: its bars (in the port's units, k a
// point, the label's top left corner at `cell` points) stay on the label.
void checkBarsOnLabel(int32_t i, const LabelBox& painted, qd::Point turnCentre, qd::Point cell,
                      int32_t orient) {
    const double k = gPrint.thermScale > 0 ? gPrint.thermScale : 1;
    LabelBox bars;
    if (painted.any)
        bars.add(painted.left / k - cell.h, painted.top / k - cell.v, painted.right / k - cell.h,
                 painted.bottom / k - cell.v);
    barsOnLabel(i, bars, turnCentre.h / k - cell.h, turnCentre.v / k - cell.v, orient);
}

// The item is barcode item i of a label, drawn with the label's top left corner
// at `cell` (points) when printMode is a printing pass; plainText when the item
// is low enough to stand as its text alone.
void drawBarcode(int32_t i, qd::Rect r, int32_t printMode, qd::Point cell, bool plainText) {
    gSym.insetAmount = std::clamp(gSym.insetAmount, 0, kMostInset);
    gSym.extraMargin = std::clamp(gSym.extraMargin, 0, kMostInset);
    const int32_t orient = gSym.orient;
    // The layout's view tells a refusal once, not at every redraw.
    const bool view = printMode == kScreenPass && labelBack.labelWidth != 0;
    if (view) {
        if (previewRefusalTold(i)) return;
        gMsg.inerror = 0;  // a symbol of its own: another's error must not hide its refusal
    }
    const bool printing = printMode == kPrinterPass || printMode == kThermalPass;
    // A label printed without one of its symbols is not what the document asks
    // for; the layout still shows the item while it is being set.
    const bool printedLabel = printing && labelBack.labelWidth != 0;
    const int32_t shownBefore = gMsg.shown;
    const bool refused = STRixel() != 0;
    if (view) notePreviewDrawing(i, refused);
    if (refused) {  // this item is skipped, the others drawn
        if (printedLabel && gMsg.shown == shownBefore) tellSymbolNotMade(i);
        return;
    }
    gSym.orient = orient;
    if (plainText) {
        drawPlainTextSymbol(&r);
        storeItemRect(i, r);
        return;
    }
    // Told when printed; the layout still shows the item while it is being set.
    if (printing) {
        if (const char* why = reductionFault()) {
            MessageText(why);
            return;
        }
        // A symbol lower than its text would print its bearers and text, no bars.
        if (!linearBarsFit()) {
            MessageText(kNoRoomForBarsText);
            return;
        }
    }
    // A turned item is clipped to its box: the box holds every row it paints.
    holdPaintedRows();
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    r.right = r.left + window.width();
    r.bottom = r.top + window.height();
    if (printMode == kScreenPass) storeItemRect(i, r);
    const qd::Point centre{r.height() / 2, r.width() / 2};
    qd::MoveTo(r.left, r.top);
    if (!printedLabel) {
        DrawXRString(centre, 0, orient, r, i, printMode, kKindBarcode);
        return;
    }
    const LabelBox bars = drawRecordingBars(centre, orient, r, i, printMode);
    checkBarsOnLabel(i, bars, {r.top + centre.v, r.left + centre.h}, cell, orient);
}

void drawShape(uint16_t kind, const qd::Rect& r, int32_t i) {
    setColourInPict();
    const auto pen = static_cast<int32_t>(gSym.line);
    qd::PenSize(pen, pen);
    switch (kind) {
        case kKindRect:
        case kKindRectFilled:
            gHooks.rect_ptr(r.left, r.top, r.right, r.bottom, i);
            break;
        case kKindOval:
        case kKindOvalFilled:
            gHooks.oval_ptr(r.left, r.top, r.right, r.bottom, i);
            break;
        case kKindRoundRect:
        case kKindRoundRectFilled:
            gHooks.rrect_ptr(r.left, r.top, r.right, r.bottom, i);
            break;
        default:
            gHooks.line_ptr(r.left, r.top, r.right, r.bottom, i);
            break;
    }
    qd::PenNormal();
}

// A serial item after a printed label: the value moves on once a label, or
// once every numRepeat labels; the item keeps the value for the next label.
void advanceSerial(int32_t i, std::string value) {
    LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
    if (!it) return;
    const auto digits = static_cast<int32_t>(it->u32(item::len1)) -
                        static_cast<int32_t>(std::strlen(gData.chPrefix)) -
                        static_cast<int32_t>(std::strlen(gData.chSuffix)) - 1;
    auto step = [&] {
        char current[256] = {};
        copyBounded(current, value.c_str());
        SerialNo(current, gLabel.serEnd.c_str(), gLabel.incAmount.c_str(), digits, gLabel.alpha,
                 current);
        value = current;
    };
    if (gLabel.numRepeat <= 1) {
        // 1 counts as "each label once", as 0 does.
        step();
    } else {
        if (--gLabel.tempNumRepeat <= 0) {
            gLabel.tempNumRepeat = gLabel.numRepeat;
            step();
        }
        setTempNumRepeat(i);
    }
    // Past the end value the count is over: printing stops after this label.
    if (value.empty()) gPrint.serialEnded = true;
    const std::string shown = value.empty() ? gLabel.serEnd : value;
    const std::string text = shown + kVT + gData.chPrefix + kVT + gData.chSuffix;
    // Cut to fit, the next count would take its width from the shortened affixes.
    if (text.size() >= kLabelItemTextSize) {
        Message(kMsgSerialItemTooLong);
        return;
    }
    it->setText(item::dataText, text);
    it->setText(item::serPos, shown);
}

bool blank(const char* text) {
    for (; *text; ++text)
        if (!std::isspace(static_cast<unsigned char>(*text))) return false;
    return true;
}

// An import item on a printed label: its data built afresh from its template
// and the current import record, fitted to the item's data length. false, after
// a message, when a barcode item gets no data: its label would go out without
// the symbol (or with the zeros that fit it to its length).
bool buildImportData(int32_t i) {
    LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
    const uint16_t kind = it->u16(item::kind);
    const std::string templ = it->text(item::serPos);
    if ((kind != kKindText && kind != kKindBarcode) || templ.empty() || getProMode(i) != 2)
        return true;
    char built[kImportBuiltSize] = {};
    GetImportBuilt(built, templ.c_str());
    if (kind == kKindBarcode && blank(built)) {
        gMsg.inerror = 0;  // told even after a refusal shown over the layout
        Message(kMsgImportBuiltEmpty);
        return false;
    }
    const auto length = static_cast<int32_t>(it->u32(item::len1));
    if (length > 0) SetToLength(built, static_cast<int32_t>(std::strlen(built)), length);
    it->setText(item::dataText, built);
    it->longDataText.clear();
    return true;
}

}  // namespace

void advanceSerialItem(int32_t i, const std::string& value) { advanceSerial(i, value); }

bool buildImportItem(int32_t i) {
    return !gLabel.labelParts[static_cast<size_t>(i)] || buildImportData(i);
}

namespace {

// A serial item's number between its prefix and suffix, as a label shows it;
// the number alone is returned.
std::string affixSerialNumber() {
    std::string serial = gData.chMainCode;
    const std::string shown = std::string(gData.chPrefix) + serial + std::string(gData.chSuffix);
    copyBounded(gData.chMainCode, shown.c_str());
    copyBounded(gData.chMainCode2, shown.c_str());
    gData.len1 = gData.len11 = static_cast<int32_t>(shown.size());
    return serial;
}

// The data reaches the encoder as the screen pass's item loop gives it.
bool encodeAsShown(int32_t i, bool label) {
    getItemData(i);
    const auto kind = static_cast<uint16_t>(gLabel.iteTyp);
    const bool dataItem = isDataKind(kind);
    if (dataItem && gLabel.proMode == kProModeImport && !gLabel.serPos.empty())
        previewImportData(i, label);
    fillPersonalField(i, kind);
    if (label && dataItem && gLabel.proMode == kProModeSerial && !gLabel.serPos.empty())
        affixSerialNumber();
    return STRixel() == 0;
}

}  // namespace

bool encodeSingleSymbol() { return encodeAsShown(0, false); }

bool encodeLayoutItem(int32_t index) {
    return itemAt(index) && encodeAsShown(index, labelBack.labelWidth != 0);
}

void resetPictureDriver() {
    qd::KillPicture(gDriver.Pict);
    gDriver = PictureDriverState{};
}

int32_t PICout2(int32_t h, int32_t v, int32_t printMode) {
    // Mode 2 draws the print window's page picture: not a printing pass, so no
    // serial number is used up by it.
    const bool printing = printMode == kPrinterPass || printMode == kThermalPass;
    // On the thermal path a back end may have set the hooks; they stay its own.
    if (!(gPrint.thermalPrint == 1 && gPrint.thermalType != 0 && printMode != 0)) setHooks();
    const bool thermalBackEnd = printMode == kThermalPass && gPrint.thermalType != 0;
    const qd::GWorldPtr keepWorld = qd::GetGWorld();
    if (printMode == kThermalPass && gPrint.therPrin) qd::SetGWorld(gPrint.therPrin);
    const qd::ClipState keepClip = qd::GetClipState();
    const bool label = labelBack.labelWidth != 0;
    qd::Rect frame, window;
    bool failed = false;
    gDriver.jobCancelled = false;

    if (printMode == kScreenPass && label) readPreviewImportRecord();
    if (label) {
        const auto w = static_cast<int32_t>(labelBack.labelWidth / kLabelUnits);
        const auto ht = static_cast<int32_t>(labelBack.labelHeight / kLabelUnits);
        window = {kWindowTop, kWindowLeft, kWindowTop + ht + kWindowGrowth,
                  kWindowLeft + w + kWindowGrowth};
        frame = {0, 0, ht, w};
    } else {
        getItemData(0);
        if (printMode == kScreenPass && isDataKind(static_cast<uint16_t>(gLabel.iteTyp)) &&
            gLabel.proMode == kProModeImport && !gLabel.serPos.empty())
            previewImportData(0, false);
        if (STRixel() != 0) {
            gDriver.disp2 = false;
            failed = true;
        } else {
            MeasureBarCodeBox(&frame, &window);
            if (plainTextSymbol()) plainTextFrames(&frame, &window);
            if (gSym.orient != 0 && gSym.orient != 180) {
                window.bottom = window.right;
                frame.bottom = frame.right;
            }
        }
    }
    if (failed) {
        // Nothing recorded, the clipboard and the last picture left alone.
        qd::SetClipState(keepClip);
        qd::SetGWorld(keepWorld);
        return 0;
    }

    if (printMode == kScreenPass) {
        if (gOut.showDia == 0) showPreview(window, label);
        qd::KillPicture(gDriver.Pict);
        gDriver.Pict = qd::OpenPicture(frame);
        qd::ClipRect(frame);
    }
    if (printMode >= 0) {
        qd::PenMode(qd::srcCopy);
        if (label && labelBack.labelHeight != 0) {
            DrawLabelBackground(h, v, printMode);
            if (printMode == kScreenPass && gDriver.gridOn == 1) DrawGrid(window);
        }
    }
    // A press export writes the variable items itself.
    const bool pressExport =
        gOut.tool == kOutVector && gOut.purePost == 0 && gOut.ill == kPressDialect && printMode > 0;

    // A printed label that has told of a fault fails its run: drawing on would
    // show another box for each further item (one per item past the edge).
    const int32_t shownBefore = gMsg.shown;
    const bool stopAtFault = label && printing;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        if (stopAtFault && gMsg.shown != shownBefore) break;
        if (!gLabel.labelParts[static_cast<size_t>(i)]) continue;
        gDriver.globItem = i;
        // Reported; the run that prints the label fails.
        if (label && printing && !buildImportData(i)) continue;
        getItemData(i);
        const auto kind = static_cast<uint16_t>(gLabel.iteTyp);
        const bool dataItem = isDataKind(kind);
        if (label && printing && dataItem && gData.len1 == 0 && getProMode(i) == kProModeImport)
            gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(gData.chMainCode));
        if (printMode == kScreenPass && dataItem && gLabel.proMode == kProModeImport &&
            !gLabel.serPos.empty())
            previewImportData(i, label);
        fillPersonalField(i, kind);
        std::string serial;
        // Asked at a label's first print, so that its repeats print the answer.
        if (label && dataItem && printing && gDriver.iRepeat2 == std::max(gPrint.iRepeats, 1) &&
            gLabel.proMode == kProModePrintTime) {
            if (!askPrintTime(i)) {
                gDriver.jobCancelled = true;
                break;
            }
            if (printMode == kThermalPass && gPrint.therPrin) qd::SetGWorld(gPrint.therPrin);
        } else if (label && dataItem && gLabel.proMode == kProModeSerial &&
                   !gLabel.serPos.empty()) {
            serial = affixSerialNumber();
        }
        // Told by the item's own height, and sized in points: the printer's
        // scale below raises both.
        const bool plainText = kind == kKindBarcode && plainTextSymbol();
        if (plainText) givePlainTextSize();
        qd::Rect r = itemRect(h, v);
        if (printing && gPrint.thermScale != 1) {
            // The printer's port counts dots: the item is drawn at its resolution.
            // Its place is scaled apart, as a page may hold more dots than the
            // item's rectangle (a word) does.
            gLabel.itRect = {word(r.top), word(r.left), word(r.bottom), word(r.right)};
            scaleItemData(gPrint.thermScale);
            r = scaledPageRect(r, gPrint.thermScale);
        }
        if (printing && isGuide()) continue;
        if (gSym.orient != 0 && gSym.orient != 90 && gSym.orient != 180 && gSym.orient != 270)
            gSym.orient = 0;
        const bool skipped = pressExport && dataItem && getProMode(i) >= 1;
        if (thermalBackEnd) {
            if (gHooks.therm_ptr) gHooks.therm_ptr(kind, i, gPrint.therPrin);
        } else if (kind == kKindBarcode && !skipped) {
            // A label's items are drawn each time the layout is; a single
            // symbol's printed text stays for the outputs that name it.
            std::optional<TypedDataKept> typed;
            if (label) typed.emplace();
            drawBarcode(i, r, printMode, {v, h}, plainText);
        } else if (kind == kKindText && !skipped) {
            DrawTextItem(i, r, printMode);
        } else if (isPictureKind(kind)) {
            DrawPictureItem(i, r, printMode);
        } else if ((isShapeKind(kind) || kind == kKindLine) && formsPageDraws()) {
            drawShape(kind, r, i);
        }
        if (printing && gDriver.iRepeat2 == 1 && dataItem && !pressExport && getProMode(i) == 1 &&
            !gLabel.serPos.empty())
            advanceSerial(i, serial);
    }

    qd::PenMode(kFinishPenMode);
    qd::TextMode(qd::srcCopy);
    qd::ForeColor(qd::blackColor);
    if (printMode == kScreenPass) {
        qd::ClosePicture();
        if (gOut.tool == kOutPicture) putPICTonClip(*gDriver.Pict);
    }
    qd::SetFractEnable(false);
    qd::PenNormal();
    qd::SetClipState(keepClip);
    qd::SetGWorld(keepWorld);
    if (printMode == kScreenPass && gDriver.disp2) {
        // The preview's redraw must not change the data just drawn.
        char keep[sizeof gData.chMainCode];
        std::memcpy(keep, gData.chMainCode, sizeof keep);
        updateDisp();
        std::memcpy(gData.chMainCode, keep, sizeof keep);
    }
    return 0;
}
