#include "labels/runs/printWindow.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "labels/runs/printLabels.h"
#include "labels/serial.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "platform/printing/printing.h"
#include "symbology/messages.h"

PrintWindowState gPrintWin;
PrintWindowHooks gPrintWindowHooks;

namespace {

constexpr int32_t kPaperFrame = 2;  // pixels
constexpr double kPictureScale = 0.2;
constexpr double kCellScale = 0.02;  // tenths of a point to the picture's pixels
constexpr uint16_t kMsgPrintSwitchesNotKept = 1616;

// The switches as Print.def gave them when the window opened: what the user
// changed since is what a failed write of the file loses.
PrintSwitches gSwitchesRead;

// The picture's span of one label and gap, tenths of a point divided as the
// window divides them; 0 when the sheet has none.
int32_t pitch(uint32_t size, uint32_t gap) {
    return int32_t(size) / kPagePictDivisor + int32_t(gap) / kPagePictDivisor;
}

// Where label column c and row r begin on the sheet, in tenths of a point from
// the paper's corner: the margins, the cells before it and the extra gutter.
double cellLeft(int32_t c) {
    const LabelSheet& s = labelBack;
    double x = s.leftMargin + double(s.labelWidth + s.spaceAcross) * (c - 1);
    if (const int32_t gutterCol = getGutterExtraCol(); gutterCol > 0 && c > gutterCol)
        x += getGutterExtraWidth();
    return x;
}
double cellTop(int32_t r) {
    const LabelSheet& s = labelBack;
    return s.topMargin + double(s.labelHeight + s.spaceDown) * (r - 1);
}

// The cell a picture coordinate lies in, as the picture draws the cells: the
// last one beginning at or before it, from 1 to count. A sheet too small for
// the picture to tell its cells apart (span 0) gives the first.
template <typename Start>
int32_t cellAt(int32_t offset, int32_t span, int32_t count, Start startOf) {
    if (span <= 0) return 1;
    int32_t cell = 1;
    for (int32_t c = 2; c <= count && int32_t(startOf(c) * kCellScale) <= offset; ++c) cell = c;
    return cell;
}

// The sheet's own check lets labels pass its edge by about a millimetre (its
// lengths are rounded through millimetres), and a sheet's stored size differs
// from the paper's by a fraction of a point: a sheet that fits either way prints.
constexpr double kPaperSlack = 4;  // points

// Labels past the paper's edge would print cut off, and a cut symbol reads as
// nothing or as something else: the job is refused before anything is printed,
// with a message. Only the cells the job fills count.
bool labelsOffPaper() {
    const print::PageFormat format = print::loadPageFormat();
    const CellsReach reach = printedCellsReach();
    if (reach.right <= format.pageWidth() + kPaperSlack &&
        reach.bottom <= format.pageHeight() + kPaperSlack)
        return false;
    std::string paper;
    if (!platform::utf8ToMacRoman(format.paperName, &paper)) paper = "chosen";
    constexpr int kPaperNameShown = 40;
    char text[256];
    std::snprintf(text, sizeof text,
                  "The labels reach %.0f x %.0f points from the paper's corner and do not fit on "
                  "the %.*s paper (%.0f x %.0f points); nothing was printed. Choose larger paper "
                  "in Page Setup (kept in print.prt), or set the sheet up again.",
                  reach.right, reach.bottom, kPaperNameShown, paper.c_str(), format.pageWidth(),
                  format.pageHeight());
    // The job's refusal is no symbol's error: an earlier one must not hide it.
    gMsg.inerror = 0;
    MessageText(text);
    return true;
}

}  // namespace

void resetPrintWindow() {
    gPrintWin = PrintWindowState{};
    gSwitchesRead = PrintSwitches{};
}

void ShowPrintWin() {
    PrintRunState& p = gPrint;
    PrintGetDefault();
    gSwitchesRead = gPrintSwitches;
    p.nPages = 1;
    p.nLabels = p.thermalPrint == 1 || gPrintWin.startLabels == 1 ? 1 : 0;
    p.iCopies = 1;
    p.iRepeats = 1;
    p.startX = p.startY = 1;
    gPrintWin.dlog = 1;
    gPrintWin.winLayer = 0;
    gPrintWin.curLocalTE = p.thermalPrint == 1 || gPrintWin.startLabels == 1 ? 1 : 2;
    if (gPrintWindowHooks.shown) gPrintWindowHooks.shown();
}

void PrintClick(qd::Point point) {
    const LabelSheet& s = labelBack;
    gPrint.startX =
        cellAt(point.h - kPagePictH, pitch(s.labelWidth, s.spaceAcross), sheetAcross(), cellLeft);
    gPrint.startY =
        cellAt(point.v - kPagePictV, pitch(s.labelHeight, s.spaceDown), sheetDown(), cellTop);
}

void workOutPages() {
    PrintRunState& p = gPrint;
    const int32_t across = sheetAcross(), down = sheetDown();
    const int32_t perPage = across * down;
    if (p.nLabels != 0) {
        // The cells before the start cell in the fill order, as the run walks them.
        const int32_t skipped = perPage - firstPageCells();
        // A sheet without cells holds no label: nothing to print.
        p.nPages = perPage > 0 ? (p.nLabels + skipped + perPage - 1) / perPage : 0;
    } else {
        p.nLabels = perPage * p.nPages;
    }
    if (p.iCopies < 1) p.iCopies = 1;
}

void updatePagePict(int32_t h, int32_t v) {
    const print::PageFormat format = print::loadPageFormat();
    const LabelSheet& s = labelBack;
    const int32_t across = sheetAcross(), down = sheetDown();
    const int32_t left = h + kPagePictH, top = v + kPagePictV;
    int32_t width = int32_t(format.pageWidth() * kPictureScale);
    int32_t height = int32_t(format.pageHeight() * kPictureScale);
    if (gPrint.thermalPrint == 1) {
        width = int32_t(across * (s.labelWidth + s.spaceAcross) * kCellScale);
        height = int32_t(down * (s.labelHeight + s.spaceDown) * kCellScale);
    }
    const qd::Rect paper{top, left, top + height, left + width};
    qd::PenNormal();
    qd::EraseRect(paper);
    qd::PenSize(kPaperFrame, kPaperFrame);
    qd::FrameRect(paper);
    qd::PenNormal();
    for (int32_t r = 1; r <= down; ++r)
        for (int32_t c = 1; c <= across; ++c) {
            const double x = cellLeft(c), y = cellTop(r);
            const qd::Rect cell{top + int32_t(y * kCellScale), left + int32_t(x * kCellScale),
                                top + int32_t((y + s.labelHeight) * kCellScale),
                                left + int32_t((x + s.labelWidth) * kCellScale)};
            if (c == gPrint.startX && r == gPrint.startY) {
                qd::FillRect(cell, qd::kGray);
                qd::InvertRect(cell);
            } else {
                qd::EraseRect(cell);
            }
            qd::FrameRect(cell);
        }
    print::savePageFormat(format);
}

int32_t PrintButton() {
    PrintRunState& p = gPrint;
    // A label sheet without a label across or down has no cell to print on.
    std::string detail;
    if (labelLayoutOpen()) {
        if (const uint16_t fault = emptySheetFault(labelBack, &detail); fault != 0) {
            MessageWith(fault, detail);
            p.printLoop = 0;
            return print::kPrintCancel;
        }
    }
    // Every label of a count that never moves would carry one number.
    if (!labelSerialsMove()) {
        p.printLoop = 0;
        return print::kPrintCancel;
    }
    // Switches that cannot be kept still print; only changes they would lose are
    // worth a word, so a locked settings folder does not stop or trouble a print.
    if (PrintSetDefault() != platform::noErr && gPrintSwitches != gSwitchesRead) {
        const std::string why = platform::FSFailureText();
        MessageInBox(kMsgPrintSwitchesNotKept,
                     why.empty() ? platform::userPreferencesFolder() + "/" + kPrintDefName : why);
    }
    gPrintWin.dlog = 0;
    if (gPrintWindowHooks.closed) gPrintWindowHooks.closed();
    workOutPages();
    int32_t status = 0;
    if (p.nPages != 0 && p.nLabels != 0 && p.iCopies != 0 && p.thermalPrint != 1) {
        if (labelsOffPaper()) {
            p.printLoop = 0;
            return print::kPrintCancel;
        }
        status = PrintLabels(1);
    }
    if (p.thermalPrint == 1) ThermalSetDefault();
    p.printLoop = 0;
    return status;
}
