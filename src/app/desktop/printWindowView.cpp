#include "app/desktop/printWindowView.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/localWindows.h"
#include "app/desktop/printDialogs.h"
#include "app/shell.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/runs/itemOps.h"
#include "labels/runs/printLabels.h"
#include "labels/runs/printWindow.h"
#include "platform/numbers.h"
#include "platform/resources.h"
#include "platform/toolbox/menus.h"
#include "symbology/messages.h"

using namespace toolbox;

namespace {

constexpr qd::Rect kWindowBounds{100, 300, 408, 750};
constexpr int32_t kMessages = 136, kTexts = 137, kButtonTexts = 139, kTabTexts = 140;
constexpr int16_t kTitleString = 68, kHeadingString = 50;
constexpr int16_t kFontSize = 9;
constexpr uint16_t kMsgNoPageSetupThermal = 49;

// Fields: labels, pages, copies, prints of each label.
constexpr int32_t kLabelsField = 1, kPagesField = 2, kCopiesField = 3, kRepeatsField = 4;
constexpr int32_t kPrintFields = 4;
constexpr qd::Rect kFieldRects[kPrintFields + 1] = {
    {}, {42, 335, 58, 380}, {68, 355, 82, 380}, {93, 335, 107, 380}, {140, 335, 154, 380}};
constexpr int32_t kFieldDigitsMost = 9;  // a count beyond would pass 32 bits

// Buttons by their item of list 139: print, cancel, print then undo.
constexpr int32_t kPrintButton = 5, kCancelButton = 2, kPrintUndoButton = 6;
constexpr int32_t kVerticalBar = 7, kHorizontalBar = 8;
struct ButtonPlace {
    int32_t item;
    qd::Rect rect;
};
constexpr ButtonPlace kButtons[] = {
    {kPrintButton, {232, 381, 253, 436}},
    {kCancelButton, {257, 381, 278, 436}},
    {kPrintUndoButton, {232, 316, 253, 371}},
};
constexpr int16_t kVerticalMost = 574, kHorizontalMost = 414;
constexpr int32_t kTabRow = 291;  // clicks at or below it hit the tabs

constexpr qd::Rect kHeading{4, 4, 20, 446};
constexpr qd::Rect kPageBox{30, 10, 280, 300};
constexpr qd::Rect kSettingsBox{30, 310, 225, 440};
constexpr qd::Rect kRepeatsBox{120, 315, 165, 435};
constexpr qd::Rect kDirectionPopUp{188, 375, 206, 430};
constexpr int16_t kDirectionMenu = 156, kPortMenu = 139;
constexpr const char* kDirections[] = {"B Up", "T Dn", "S TDn", "S BUp"};

// The check marks: where each stands and its caption.
constexpr qd::Point kOrderMark{190, 315}, kCutMarksMark{208, 315}, kFormsMark{172, 315},
    kFourUpMark{172, 375};
constexpr int16_t kOrderCaption = 36, kCutMarksCaption = 61, kFormsCaption = 62,
                  kFourUpCaption = 63;
constexpr int32_t kMarkWidth = 14, kMarkHeight = 12;

// The zoom panel and the picture layer.
constexpr int32_t kZoomTop = 275, kZoomBottom = 289, kZoomOutRight = 15, kZoomInRight = 31;
constexpr int32_t kZoomStep = 50, kZoomLeast = 50, kZoomRaiseMost = 999;
constexpr int32_t kPictureFrame = 1728;
constexpr int32_t kTabWidth = 45, kTabHeight = 16;
constexpr int32_t kPercent = 100;

constexpr unsigned char kEnter = 3, kBackspace = 8, kTab = 9, kReturn = 13, kLeft = 28, kRight = 29;
constexpr qd::RGBColor kWindowGrey = kLocalWindowGrey;
constexpr qd::RGBColor kHeadingGrey{0x4444, 0x4444, 0x4444};
constexpr qd::RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kBlack{0, 0, 0};
constexpr qd::RGBColor kTagYellow{0xFFFF, 0xFFFF, 0xCCCC};
constexpr int32_t kTagHeight = 12, kTagGap = 2;

WindowPtr win() { return gWindows.PrintWin; }
platform::TEHandle field(int32_t n) { return gLocal.TELocal[n]; }
ControlHandle button(int32_t slot) { return gLocal.LocalButton[slot]; }
bool thermal() { return gPrint.thermalPrint == 1; }
bool inRect(qd::Point p, const qd::Rect& r) {
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}
qd::Rect markRect(qd::Point at) { return {at.v, at.h, at.v + kMarkHeight, at.h + kMarkWidth}; }

void useWindowFont(int16_t face = qd::bold) {
    qd::TextFont(genevaFont());
    qd::TextSize(kFontSize);
    qd::TextFace(face);
}

// A field exists unless thermal printing leaves out pages and copies.
bool fieldShown(int32_t n) { return !(thermal() && (n == kPagesField || n == kCopiesField)); }

int32_t* fieldValue(int32_t n) {
    switch (n) {
        case kLabelsField:
            return &gPrint.nLabels;
        case kPagesField:
            return &gPrint.nPages;
        case kCopiesField:
            return &gPrint.iCopies;
        default:
            return &gPrint.iRepeats;
    }
}

void drawMark(qd::Point at, bool set, int16_t caption) {
    if (set)
        setMark(at.h, at.v);
    else
        boxMark(at.h, at.v);
    drawListString(kTexts, caption, at.h + kMarkWidth + 4, at.v + kMarkHeight - 2);
}

void focusField(int32_t n) {
    for (int32_t i = 1; i <= kPrintFields; ++i)
        if (field(i)) platform::TEDeactivate(field(i));
    if (n < 1 || n > kPrintFields || !field(n)) return;
    gPrintWin.curLocalTE = n;
    qd::SetPort(win()->port);
    platform::TEActivate(field(n));
    platform::TESelectAll(field(n));
    platform::TEUpdate(field(n)->viewRect, field(n));
}

void showLayerControls() {
    const bool settings = gPrintWin.winLayer == 0;
    for (const ButtonPlace& b : kButtons)
        if (button(b.item)) settings ? ShowControl(button(b.item)) : HideControl(button(b.item));
    for (int32_t slot : {kVerticalBar, kHorizontalBar})
        if (button(slot)) settings ? HideControl(button(slot)) : ShowControl(button(slot));
}

void closeWindow() {
    if (win()) KillLocalWin(win(), kKillPrintWindow);
}

// The print buttons: the job as the window set it up; the second one undoes
// the label's changes afterwards.
void printFromWindow(bool thenUndo) {
    const int32_t thermalBefore = gPrint.thermalPrint;
    if (thenUndo) putUndoBuffer();
    closeWindow();
    const std::string importBefore = gDocFile.impoFile;
    PrintButton();
    // An import file chosen for the print is the document's now: a change to save.
    if (gDocFile.impoFile != importBefore) gShell.changed = 1;
    selectAllItems(0);
    gPrint.thermalPrint = thermalBefore;
    if (thenUndo) doUndo();
}

void redraw() {
    if (!win()) return;
    PrintUpdate();
}

void typeIntoField(unsigned char key) {
    const int32_t n = gPrintWin.curLocalTE;
    platform::TEHandle te = n >= 1 && n <= kPrintFields ? field(n) : nullptr;
    if (!te) return;
    const bool digit = key >= '0' && key <= '9';
    if (!digit && key != kBackspace && key != kLeft && key != kRight) {
        platform::SysBeep(1);
        return;
    }
    qd::SetPort(win()->port);
    const int16_t selected = int16_t(te->selEnd - te->selStart);
    if (digit && int32_t(te->text.size()) - selected >= kFieldDigitsMost) {
        platform::SysBeep(1);
        return;
    }
    platform::TEKey(key, te);
    int32_t value = 0;
    for (char c : te->text) value = value * 10 + (c - '0');
    *fieldValue(n) = value;
}

void nextField() {
    int32_t n = gPrintWin.curLocalTE;
    for (int32_t tries = 0; tries < kPrintFields; ++tries) {
        n = n % kPrintFields + 1;
        if (fieldShown(n) && field(n)) break;
    }
    focusField(n);
}

// The page picture of the run, drawn once when the picture layer first shows.
void ensurePagePicture() {
    if (gPrint.Pict2) return;
    PrintLabels2(0, nullptr);
}

void drawPictureLayer() {
    WindowPtr w = win();
    ensurePagePicture();
    const int32_t size = kPictureFrame * gPrintWin.prScale / kPercent;
    const int32_t dh = button(kHorizontalBar) ? GetControlValue(button(kHorizontalBar)) : 0;
    const int32_t dv = button(kVerticalBar) ? GetControlValue(button(kVerticalBar)) : 0;
    const qd::Rect view{0, 0, kTabRow - kTabHeight, w->portRect.right - kScrollBarWidth};
    qd::ClipRect(view);
    if (gPrint.Pict2) qd::DrawPicture(gPrint.Pict2, {-dv, -dh, size - dv, size - dh});
    qd::ClipRect(w->portRect);
    drawScalePanel(kZoomBottom, gPrintWin.prScale);
}

}  // namespace

void showPrintWindow() {
    if (gWindows.PrintWin) KillLocalWin(gWindows.PrintWin, kKillPrintWindow);
    if (gWindows.LabelWin) KillLocalWin(gWindows.LabelWin, kKillSheetWindow);
    unsigned char title[256];
    platform::StringResourceGetString(title, kMessages, kTitleString);
    WindowPtr w = NewCWindow(nullptr, kWindowBounds, title, true, noGrowDocProc, nullptr, false, 0);
    gWindows.PrintWin = w;
    qd::SetPort(w->port);
    useWindowFont();
    const int32_t focus = gPrintWin.curLocalTE;
    drawPrintContent();
    PrintUpdate();
    SelectWindow(w);
    gWindows.activeWindow = w;
    focusField(focus);
}

void drawPrintContent() {
    WindowPtr w = win();
    if (!w) return;
    qd::SetPort(w->port);
    for (int32_t n = 1; n <= kPrintFields; ++n) {
        if (!fieldShown(n)) continue;
        platform::TEHandle te = platform::TEStyleNew(kFieldRects[n], kFieldRects[n]);
        platform::TESetStyle(genevaFont(), kFontSize, 0, te);
        platform::TESetAlignment(platform::teCenter, te);
        const std::string text = std::to_string(*fieldValue(n));
        platform::TESetText(text.data(), int32_t(text.size()), te);
        gLocal.TELocal[n] = te;
    }
    unsigned char title[256];
    for (const ButtonPlace& b : kButtons) {
        platform::StringResourceGetString(title, kButtonTexts, b.item);
        gLocal.LocalButton[b.item] = NewControl(w, b.rect, title, true, 0, 0, 1, pushButProc, 0);
    }
    const qd::Rect port = w->portRect;
    gLocal.LocalButton[kVerticalBar] =
        NewControl(w, {0, port.right - kScrollBarWidth, kTabRow - kTabHeight, port.right}, nullptr,
                   false, 0, 0, kVerticalMost, scrollBarProc, 0);
    gLocal.LocalButton[kHorizontalBar] =
        NewControl(w,
                   {kTabRow - kTabHeight - kScrollBarWidth, kZoomInRight + 30, kTabRow - kTabHeight,
                    port.right - kScrollBarWidth},
                   nullptr, false, 0, 0, kHorizontalMost, scrollBarProc, 0);
    gPrint.startX = gPrint.startY = 1;
}

void PrintUpdate() {
    WindowPtr w = win();
    if (!w) return;
    eraseLocalWindow(w);
    drawPrintScreen();
}

void drawPrintScreen() {
    WindowPtr w = win();
    if (!w) return;
    qd::SetPort(w->port);
    useWindowFont();
    showLayerControls();
    if (gPrintWin.winLayer != 0) {
        drawPictureLayer();
    } else {
        qd::RGBForeColor(kHeadingGrey);
        qd::PaintRect(kHeading);
        qd::RGBForeColor(kWhite);
        drawListString(kTexts, kHeadingString, kHeading.left + 6, kHeading.bottom - 4);
        qd::RGBForeColor(kBlack);
        qd::FrameRect(kPageBox);
        HiliteFrameRect(
            {kPageBox.top + 1, kPageBox.left + 1, kPageBox.bottom - 1, kPageBox.right - 1});
        if (!thermal()) drawListString(kTexts, 51, kPageBox.left + 4, kPageBox.bottom - 4);
        qd::FrameRect(kSettingsBox);
        HiliteFrameRect({kSettingsBox.top + 1, kSettingsBox.left + 1, kSettingsBox.bottom - 1,
                         kSettingsBox.right - 1});
        useWindowFont(0);
        // Each count's caption at its field's right, the notes under them.
        const int32_t captionH = kFieldRects[kLabelsField].right + 4;
        drawListString(kTexts, 52, captionH, kFieldRects[kLabelsField].bottom - 3);
        drawListString(kTexts, 53, kSettingsBox.left + 4, kFieldRects[kPagesField].top - 2);
        if (!thermal()) {
            drawListString(kTexts, 54, captionH, kFieldRects[kPagesField].bottom - 3);
            drawListString(kTexts, 55, captionH, kFieldRects[kCopiesField].bottom - 3);
            drawListString(kTexts, 56, kSettingsBox.left + 4, kFieldRects[kCopiesField].bottom + 9);
        }
        qd::FrameRect(kRepeatsBox);
        drawListString(kTexts, 59, kRepeatsBox.left + 4, kRepeatsBox.top + 12);
        drawListString(kTexts, 60, kFieldRects[kRepeatsField].right + 4,
                       kFieldRects[kRepeatsField].bottom - 3);
        drawMark(kOrderMark, gPrintSwitches.iOrient == 0, kOrderCaption);
        if (!thermal()) {
            drawMark(kCutMarksMark, gPrintSwitches.pCutMarks != 0, kCutMarksCaption);
            drawMark(kFormsMark, gPrintSwitches.formP != 0, kFormsCaption);
            drawMark(kFourUpMark, gPrintSwitches.fourSheet != 0, kFourUpCaption);
        }
        qd::RGBBackColor(kWhite);
        qd::EraseRect(kDirectionPopUp);
        qd::FrameRect(kDirectionPopUp);
        const char* direction = kDirections[std::clamp<int32_t>(gPrintSwitches.direction, 0, 3)];
        qd::MoveTo(kDirectionPopUp.left + 4, kDirectionPopUp.bottom - 5);
        qd::DrawText(direction, 0, int32_t(std::strlen(direction)));
        updatePagePict(0, 0);
        for (int32_t n = 1; n <= kPrintFields; ++n) {
            platform::TEHandle te = field(n);
            if (!te) continue;
            qd::EraseRect(kFieldRects[n]);
            platform::TEUpdate(kFieldRects[n], te);
            qd::FrameRect({kFieldRects[n].top - 1, kFieldRects[n].left - 1,
                           kFieldRects[n].bottom + 1, kFieldRects[n].right + 1});
        }
        qd::RGBBackColor(kWindowGrey);
        useWindowFont();
    }
    drawTabPanel(w->portRect.bottom, 0, gPrintWin.winLayer != 0 ? 1 : 0);
    DrawControls(w);
}

void doMousePrint(qd::Point where, WindowPtr window, const EventRecord&) {
    WindowPtr w = win();
    if (!w || window != w) return;
    qd::SetPort(w->port);
    const qd::Point pt = localPoint(w, where);
    ControlHandle c = nullptr;
    if (FindControl(pt, w, &c) != kControlNoPart && c) {
        if (c == button(kVerticalBar) || c == button(kHorizontalBar)) {
            TrackControl(c, pt, nullptr);
            redraw();
            return;
        }
        if (TrackControl(c, pt, nullptr) == kControlNoPart) return;
        if (c == button(kCancelButton)) {
            const int32_t thermalBefore = gPrint.thermalPrint;
            closeWindow();
            gPrintWin.dlog = 0;
            gPrint.thermalPrint = thermalBefore;
            gPrint.printLoop = 0;
        } else if (c == button(kPrintButton)) {
            printFromWindow(false);
        } else if (c == button(kPrintUndoButton)) {
            printFromWindow(true);
        }
        return;
    }
    if (gPrintWin.winLayer == 0 && inRect(pt, kDirectionPopUp)) {
        MenuHandle menu = GetMenuHandle(kDirectionMenu);
        if (!menu) menu = GetMenu(kDirectionMenu);
        const int32_t choice = menu
                                   ? PopUpMenuSelect(menu, w->contentOrigin.v + kDirectionPopUp.top,
                                                     w->contentOrigin.h + kDirectionPopUp.left,
                                                     int16_t(gPrintSwitches.direction + 1))
                                   : 0;
        if (choice != 0)
            gPrintSwitches.direction = int16_t(std::clamp((choice & 0xFFFF) - 1, 0, 3));
        redraw();
        return;
    }
    if (pt.v >= kZoomTop && pt.v <= kZoomBottom && pt.h <= kZoomInRight) {
        if (pt.h <= kZoomOutRight) {
            if (gPrintWin.prScale > kZoomLeast) gPrintWin.prScale -= kZoomStep;
        } else if (gPrintWin.prScale <= kZoomRaiseMost) {
            gPrintWin.prScale += kZoomStep;
        }
        redraw();
        return;
    }
    if (gPrintWin.winLayer == 0) {
        if (inRect(pt, markRect(kOrderMark))) {
            gPrintSwitches.iOrient ^= 1;
            return redraw();
        }
        if (!thermal() && inRect(pt, markRect(kFourUpMark))) {
            gPrintSwitches.fourSheet ^= 4;
            return redraw();
        }
        if (!thermal() && inRect(pt, markRect(kCutMarksMark))) {
            gPrintSwitches.pCutMarks ^= 1;
            return redraw();
        }
        if (!thermal() && inRect(pt, markRect(kFormsMark))) {
            gPrintSwitches.formP ^= 1;
            return redraw();
        }
    }
    if (pt.v < kTabRow) {
        if (gPrintWin.winLayer != 0) return;
        if (inRect(pt, kPageBox)) {
            if (!thermal()) {
                PrintClick(pt);
                redraw();
            }
            return;
        }
        for (int32_t n = 1; n <= kPrintFields; ++n)
            if (field(n) && inRect(pt, kFieldRects[n])) {
                focusField(n);
                return;
            }
        return;
    }
    const int32_t layer = pt.h < kTabWidth ? 0 : pt.h < 2 * kTabWidth ? 1 : gPrintWin.winLayer;
    if (layer != gPrintWin.winLayer) {
        gPrintWin.winLayer = layer;
        redraw();
    }
}

void ProcessCharsPrint(unsigned char character) {
    if (!win()) return;
    if (character == kReturn || character == kEnter) {
        printFromWindow(false);
        return;
    }
    if (character == kTab) {
        nextField();
        return;
    }
    typeIntoField(character);
}

void ShowPopWin(qd::Point point, const std::string& text) {
    qd::GrafPort* keep = qd::GetPort();
    WindowPtr tag = gWindows.PopWin;
    if (!tag) {
        tag = NewCWindow(nullptr, {0, 0, kTagHeight, 1}, reinterpret_cast<const unsigned char*>(""),
                         false, plainDBox, nullptr, false, 1);
        gWindows.PopWin = tag;
    }
    qd::SetPort(tag->port);
    useWindowFont();
    const int32_t width = qd::TextWidth(text.data(), 0, int32_t(text.size())) + 2;
    SizeWindow(tag, width, kTagHeight, false);
    MoveWindow(tag, point.h, point.v - kTagGap - kTagHeight, false);
    ShowWindow(tag);
    qd::RGBBackColor(kTagYellow);
    qd::RGBForeColor(kBlack);
    qd::EraseRect(tag->portRect);
    qd::MoveTo(1, kTagHeight - 3);
    qd::DrawText(text.data(), 0, int32_t(text.size()));
    DrawWindowContent(tag);
    qd::SetPort(keep);
}

void drawScalePanel(int32_t v, int32_t percent) {
    const qd::Rect smaller{v - 16, 0, v, 16}, larger{v - 16, 16, v, 32};
    const qd::Rect value{v - 16, 33, v, 60};
    qd::RGBBackColor(kWhite);
    for (const qd::Rect& r : {smaller, larger, value}) {
        qd::EraseRect(r);
        qd::FrameRect(r);
    }
    const int32_t midV = (smaller.top + smaller.bottom) / 2;
    for (const qd::Rect& r : {smaller, larger}) {
        qd::MoveTo(r.left + 4, midV);
        qd::LineTo(r.right - 5, midV);
    }
    const int32_t midH = (larger.left + larger.right) / 2;
    qd::MoveTo(midH, smaller.top + 4);
    qd::LineTo(midH, smaller.bottom - 5);
    useWindowFont(0);
    const std::string text = std::to_string(percent) + "%";
    qd::MoveTo(value.left + 2, value.bottom - 4);
    qd::DrawText(text.data(), 0, int32_t(text.size()));
    qd::RGBBackColor(kWindowGrey);
}

void drawTabPanel(int32_t v, int32_t h, int32_t raised) {
    for (int32_t i = 0; i < 2; ++i) {
        const qd::Rect tab{v - kTabHeight, h + i * kTabWidth, v, h + (i + 1) * kTabWidth};
        qd::RGBBackColor(i == raised ? kWhite : kWindowGrey);
        qd::EraseRect(tab);
        qd::FrameRect(tab);
        useWindowFont(i == raised ? qd::bold : 0);
        drawListString(kTabTexts, int16_t(9 + i), tab.left + 4, tab.bottom - 4);
    }
    qd::RGBBackColor(kWindowGrey);
}

void GetPortString(unsigned char* destination) {
    destination[0] = 0;
    MenuHandle menu = GetMenuHandle(kPortMenu);
    if (!menu) menu = GetMenu(kPortMenu);
    if (menu && gThermal.pport >= 1 && gThermal.pport <= CountMenuItems(menu))
        GetMenuItemText(menu, int16_t(gThermal.pport), destination);
}

void PrintSetUp() {
    if (thermal()) {
        Message(kMsgNoPageSetupThermal);
        return;
    }
    doPageSetUpDialog(gWindows.wp);
}
