#include "app/desktop/sheetSetupWindow.h"

#include <algorithm>
#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/localWindows.h"
#include "app/sheetSetup.h"
#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "labels/runs/printWindow.h"
#include "labels/sheetTemplates.h"
#include "labels/units.h"
#include "platform/desktop.h"
#include "platform/numbers.h"
#include "platform/resources.h"
#include "platform/toolbox/menus.h"
#include "symbology/messages.h"

using namespace toolbox;

namespace {

constexpr qd::Rect kWindowBounds{100, 300, 445, 880};
constexpr qd::Rect kExternalBounds{100, 300, 395, 880};
constexpr int32_t kTexts = 137, kButtonTexts = 139;
constexpr int16_t kTitleString = 12, kHeadingString = 28;
constexpr int16_t kFontSize = 9, kListFontSize = 10;

// Control slots.
constexpr int32_t kCancel = 1, kOK = 2, kSave = 3, kLoad = 4, kListBar = 5;
struct ButtonPlace {
    int32_t slot;
    qd::Rect rect;
    int16_t title;  // item of list 139
};
constexpr ButtonPlace kButtons[] = {
    {kLoad, {260, 15, 279, 165}, 3},
    {kSave, {282, 15, 302, 165}, 4},
    {kCancel, {317, 180, 338, 255}, 2},
    {kOK, {317, 261, 338, 336}, 1},
};
constexpr int32_t kFieldOverhang = 100;
constexpr qd::Rect kListBarRect{80, 326, 305, 342};
constexpr int16_t kListBarMost = 20;

constexpr qd::Rect kHeading{4, 4, 20, 575};
constexpr qd::Rect kListFrame{80, 10, 305, 326};
constexpr qd::Rect kListArea{82, 12, 303, 324};
constexpr int32_t kListLine = 13, kListTop = 82, kListLeft = 12, kListVisibleLines = 18;
constexpr qd::Rect kListRowsArea{82, 12, 253, 324};
constexpr qd::Rect kPictureArea{0, 350, 350, 560};
constexpr qd::Rect kPictureErase{0, 350, 285, 580};
constexpr int32_t kPictureH = 350, kPictureV = 0;
constexpr qd::Rect kLayerArea{0, 0, 400, 400};

// The boxes of the fields layer with their titles (list 137).
struct Box {
    qd::Rect rect;
    int16_t title;
};
constexpr Box kBoxes[] = {
    {{26, 10, 60, 170}, 70},    {{76, 10, 110, 335}, 29},   {{121, 10, 176, 170}, 35},
    {{121, 175, 176, 335}, 38}, {{186, 10, 240, 170}, 39},  {{186, 175, 240, 335}, 40},
    {{250, 10, 308, 170}, 41},  {{250, 175, 284, 335}, 42},
};
constexpr int16_t kGutterTitle = 32;
constexpr int32_t kDividerX = 175, kGutterTitleX = 180;

// The unit marks: where each stands, its caption and the unit it picks.
struct UnitMark {
    int32_t x, y;
    int16_t caption;
    int32_t unit;
};
constexpr UnitMark kUnitMarks[] = {
    {190, 200, 45, kMeasInch},
    {264, 200, 46, kMeasPoint},
    {190, 220, 47, kMeasCentimetre},
    {264, 220, 48, kMeasMillimetre},
};
constexpr int32_t kMarkCaptionDx = 20, kMarkCaptionDy = 10;
constexpr int32_t kMarkHitInsetH = 1, kMarkHitInsetV = 1, kMarkHitRight = 13, kMarkHitBottom = 11;

constexpr qd::Rect kShapePopUp{258, 185, 275, 331};
constexpr qd::Rect kShapePopUpHit{258, 185, 273, 331};
constexpr qd::Point kShapePopUpAt{273, 185};
constexpr int16_t kShapeMenu = 136;
constexpr qd::Rect kSwatch{261, 187, 271, 206};
constexpr int32_t kSwatchSquareLeft = 192, kSwatchSquareRight = 202;
constexpr uint16_t kVersionByte = 256;
constexpr const char* kShapePopUpTitle = "Item Shape";

// The tabs at the bottom: the list first.
constexpr int32_t kTabTop = 310, kTabBottom = 328, kTabWidth = 45;
constexpr int32_t kTabLefts[] = {5, 51};
constexpr int16_t kTabCaptions[] = {71, 72};
constexpr int32_t kTabHitTop = 308, kListTabRight = 50, kFieldsTabRight = 95;
constexpr int32_t kFirstFieldsFocus = 5, kOpeningFocusFrom = 10;

constexpr unsigned char kEnter = 3, kBackspace = 8, kTab = 9, kReturn = 13, kLeft = 28, kRight = 29,
                        kUp = 30, kDown = 31;
constexpr qd::RGBColor kWindowGrey = kLocalWindowGrey;
constexpr qd::RGBColor kHeadingGrey{0x4444, 0x4444, 0x4444};
constexpr qd::RGBColor kPictureGrey{0xAAAA, 0xAAAA, 0xAAAA};
constexpr qd::RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kBlack{0, 0, 0};

WindowPtr win() { return gWindows.LabelWin; }
ControlHandle button(int32_t slot) { return gLocal.LocalButton[slot]; }
platform::TEHandle field(int32_t n) { return gLocal.TELocal[n]; }
bool fieldsLayer() { return gSheetWin.glablayer == 0; }
bool inRect(qd::Point p, const qd::Rect& r) {
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

void useWindowFont(int16_t size = kFontSize, int16_t face = 0) {
    qd::TextFont(genevaFont());
    qd::TextSize(size);
    qd::TextFace(face);
}

void drawHeading() {
    qd::RGBForeColor(kHeadingGrey);
    qd::PaintRect(kHeading);
    qd::RGBForeColor(kWhite);
    useWindowFont(kFontSize, qd::bold);
    drawListString(kTexts, kHeadingString, kHeading.left + 6, kHeading.bottom - 4);
    qd::RGBForeColor(kBlack);
    useWindowFont();
}

void drawTabs() {
    const int32_t active = gSheetWin.glablayer == 1 ? 0 : 1;
    for (int i = 0; i < 2; ++i) {
        const qd::Rect tab{kTabTop, kTabLefts[i], kTabBottom, kTabLefts[i] + kTabWidth};
        qd::RGBBackColor(i == active ? kWhite : kWindowGrey);
        qd::EraseRect(tab);
        qd::FrameRect(tab);
        drawListString(kTexts, kTabCaptions[i], tab.left + 5, tab.bottom - 5);
    }
    qd::RGBBackColor(kWindowGrey);
    // The line along the tabs, open where the active tab joins the layer.
    const int32_t gapLeft = kTabLefts[active] + 1, gapRight = kTabLefts[active] + kTabWidth - 1;
    qd::MoveTo(0, kTabTop);
    qd::LineTo(gapLeft - 1, kTabTop);
    qd::MoveTo(gapRight, kTabTop);
    qd::LineTo(kWindowBounds.width() - 1, kTabTop);
}

// The sheet at the right: the document's sheet stands in for the working copy
// while the print window's page picture draws it.
void drawSheetPicture() {
    const LabelSheet kept = labelBack;
    labelBack = sheetFromCopy(labelBack2);
    updatePagePict(kPictureH, kPictureV);
    labelBack = kept;
}

int32_t gListCount = 0;  // what the templates file gave on the last drawing

void drawTemplateList() {
    std::string text;
    gListCount = LoadLabelTemplates(&text, 0);
    ControlHandle bar = button(kListBar);
    qd::RGBBackColor(kWhite);
    qd::EraseRect(kListArea);
    qd::RGBBackColor(kWindowGrey);
    if (gListCount < 0) {  // no templates file: an empty list
        if (bar) SetControlValue(bar, -1);
        return;
    }
    // A short list does not scroll: the maximum stays at least 0.
    if (bar) SetControlMaximum(bar, std::max(gListCount - kListVisibleLines, 0));
    const int32_t first = bar ? std::max<int32_t>(GetControlValue(bar), 0) : 0;
    qd::RGBBackColor(kWhite);
    useWindowFont(kListFontSize);
    qd::ClipRect(kListArea);
    size_t at = 0;
    for (int32_t line = 0; at < text.size(); ++line) {
        size_t end = text.find('\r', at);
        if (end == std::string::npos) end = text.size();
        const int32_t row = line - first;
        if (row >= 0) {
            const int32_t top = kListTop + row * kListLine;
            if (top >= kListArea.bottom) break;
            qd::MoveTo(kListLeft + 2, top + kListLine - 3);
            qd::DrawText(text.data(), int32_t(at), int32_t(end - at));
        }
        at = end + 1;
    }
    const int32_t selRow = gSheetSetup.currentSel - first;
    if (selRow >= 0) {
        const int32_t top = kListTop + selRow * kListLine;
        if (top < kListArea.bottom)
            qd::InvertRect({top, kListArea.left, top + kListLine - 1, kListArea.right});
    }
    qd::ClipRect(win()->portRect);
    qd::RGBBackColor(kWindowGrey);
    useWindowFont();
}

void drawFieldLabels() {
    for (const SheetField& f : kSheetFields) {
        unsigned char text[256];
        platform::StringResourceGetString(text, kTexts, f.label);
        const int32_t w = qd::StringWidth(text);
        qd::MoveTo(f.rect.left - w - 4, f.rect.bottom - 3);
        qd::DrawString(text);
    }
}

void showLayerControls() {
    for (int32_t slot : {kCancel, kOK})
        if (button(slot)) ShowControl(button(slot));
    for (int32_t slot : {kSave, kLoad})
        if (button(slot)) fieldsLayer() ? ShowControl(button(slot)) : HideControl(button(slot));
    if (button(kListBar))
        fieldsLayer() ? HideControl(button(kListBar)) : ShowControl(button(kListBar));
}

void activateOnly(int32_t n) {
    for (int32_t i = 1; i <= kSheetFieldCount; ++i)
        if (field(i)) platform::TEDeactivate(field(i));
    gSheetWin.curLocalTE = n;
    if (n < 1 || n > kSheetFieldCount || !field(n)) return;
    if (win()) qd::SetPort(win()->port);
    platform::TEActivate(field(n));
    platform::TESelectAll(field(n));
    platform::TEUpdate(field(n)->viewRect, field(n));
}

// The focus as a Tab moves it: the field after `field`, 12 wrapping to 1.
void focusAfter(int32_t field) { activateOnly(field % kSheetFieldCount + 1); }

void switchLayer(int32_t layer) {
    gSheetWin.glablayer = layer;
    if (layer == 0) resetTexts();
    for (ControlHandle c : win()->controls) HideControl(c);
    InvalWindowRect(win(), kLayerArea);
    LabelUpdate();
    if (layer == 0)
        activateOnly(kFirstFieldsFocus);
    else
        activateOnly(0);
}

void redrawPicture() {
    if (!win()) return;
    qd::SetPort(win()->port);
    qd::RGBBackColor(kPictureGrey);
    qd::EraseRect(kPictureErase);
    qd::RGBBackColor(kWindowGrey);
    drawSheetPicture();
}

void redrawList() {
    InvalWindowRect(win(), kListArea);
    InvalWindowRect(win(), kPictureArea);
    LabelUpdate();
}

void scrollAction(ControlHandle c, int16_t part) {
    constexpr int16_t kPage = 13;
    const int16_t v = GetControlValue(c);
    switch (part) {
        case inUpButton:
            SetControlValue(c, v - 1);
            break;
        case inDownButton:
            SetControlValue(c, v + 1);
            break;
        case inPageUp:
            SetControlValue(c, v - kPage);
            break;
        case inPageDown:
            SetControlValue(c, v + kPage);
            break;
        default:
            break;
    }
    qd::SetPort(win()->port);
    drawTemplateList();
}

bool wholeNumberField(int32_t n) {
    const SheetFieldKind k = sheetField(n).kind;
    return k == SheetFieldKind::countAcross || k == SheetFieldKind::countDown ||
           k == SheetFieldKind::gutterColumn;
}

// A key into the focused field: digits (and a point where decimals are taken),
// backspace and the arrows; the text must stay a value the working copy holds.
void typeIntoField(unsigned char key) {
    const int32_t n = gSheetWin.curLocalTE;
    platform::TEHandle te = field(n);
    if (!te) return;
    const bool digit = key >= '0' && key <= '9';
    const bool point = key == '.' && !wholeNumberField(n);
    if (!digit && !point && key != kBackspace && key != kLeft && key != kRight) {
        platform::SysBeep(1);
        return;
    }
    const std::string before = te->text;
    const int16_t selStart = te->selStart, selEnd = te->selEnd;
    qd::SetPort(win()->port);
    platform::TEKey(key, te);
    if (!storeSheetField(n, te->text, &labelBack2)) {
        platform::TESetText(before.data(), int32_t(before.size()), te);
        platform::TESetSelect(selStart, selEnd, te);
        platform::TEUpdate(te->viewRect, te);
        platform::SysBeep(1);
        return;
    }
    redrawPicture();
}

void moveSelection(int32_t delta) {
    ControlHandle bar = button(kListBar);
    const int32_t scroll = bar ? GetControlValue(bar) : 0;
    const int32_t most = bar ? GetControlMaximum(bar) : 0;
    int32_t& sel = gSheetSetup.currentSel;
    if (delta < 0) {
        if (sel > 0) --sel;
        if (bar && scroll > (sel / 12) * 12) SetControlValue(bar, sel);
    } else {
        if (sel + 1 < most + 13) ++sel;
        if (bar && scroll < (sel / 12) * 12) SetControlValue(bar, sel - 12);
    }
    InvalWindowRect(win(), kListRowsArea);
    InvalWindowRect(win(), kPictureArea);
    LabelUpdate();
}

}  // namespace

namespace {

WindowPtr openSheetWindow(const qd::Rect& bounds) {
    unsigned char title[256];
    platform::StringResourceGetString(title, kButtonTexts, kTitleString);
    return NewCWindow(nullptr, bounds, title, true, noGrowDocProc, nullptr, false, 0);
}

// Opens the window, fills and draws it, and brings it to the front.
void presentSheetWindow(const qd::Rect& bounds) {
    WindowPtr w = openSheetWindow(bounds);
    gWindows.LabelWin = w;
    beginSheetSetup();
    drawLabelContent();
    LabelUpdate();
    SelectWindow(w);
    gWindows.activeWindow = w;
}

}  // namespace

void loadExternalWindow(int32_t) {
    if (gWindows.LabelWin) KillLocalWin(gWindows.LabelWin, kKillSheetWindow);
    // The first cell: a start cell of 0 would skip cells before the sheet.
    gPrint.startX = gPrint.startY = 1;
    gSheetWin.glablayer = 0;
    presentSheetWindow(kExternalBounds);
    focusAfter(kOpeningFocusFrom);
}

void closeExternalWindow(WindowPtr window, int32_t mode) { KillLocalWin(window, mode); }

void eventExternalWindow() {}

void ShowLabelWin() {
    if (gWindows.LabelWin) KillLocalWin(gWindows.LabelWin, kKillSheetWindow);
    if (gWindows.PrintWin) KillLocalWin(gWindows.PrintWin, kKillPrintWindow);
    // Without a label layout the window sets up a sheet of single symbols,
    // starting from the templates; with one it edits the layout's sheet.
    const bool layout = labelLayoutOpen();
    gSheetWin.printsheet = layout ? 0 : 1;
    gSheetWin.glablayer = layout ? 0 : 1;
    presentSheetWindow(kWindowBounds);
    if (fieldsLayer()) {
        focusAfter(kOpeningFocusFrom);
    }
}

void drawLabelContent() {
    WindowPtr w = win();
    if (!w) return;
    qd::SetPort(w->port);
    unsigned char title[256];
    for (const ButtonPlace& b : kButtons) {
        platform::StringResourceGetString(title, kButtonTexts, b.title);
        gLocal.LocalButton[b.slot] = NewControl(w, b.rect, title, true, 0, 0, 1, pushButProc, 0);
    }
    gLocal.LocalButton[kListBar] =
        NewControl(w, kListBarRect, nullptr, true, int16_t(gSheetSetup.currentSel), 0, kListBarMost,
                   scrollBarProc, 0);
    for (const SheetField& f : kSheetFields) {
        // Laid out wider than it shows, so that a long number stays on one
        // centred line and is cut at the field's edges rather than wrapped.
        const qd::Rect dest{f.rect.top, f.rect.left - kFieldOverhang, f.rect.bottom,
                            f.rect.right + kFieldOverhang};
        platform::TEHandle te = platform::TEStyleNew(dest, f.rect);
        platform::TESetStyle(genevaFont(), kFontSize, 0, te);
        platform::TESetAlignment(platform::teCenter, te);
        gLocal.TELocal[f.number] = te;
    }
    resetTexts();
}

void LabelUpdate() {
    WindowPtr w = win();
    if (!w) return;
    eraseLocalWindow(w);
    useWindowFont();
    drawHeading();
    showLayerControls();
    drawSetUpScreen();
    if (!fieldsLayer()) {
        drawTemplateList();
    } else {
        updateTexts();
    }
    qd::RGBBackColor(kPictureGrey);
    qd::EraseRect(kPictureErase);
    qd::RGBBackColor(kWindowGrey);
    drawSheetPicture();
    DrawControls(w);
}

void drawSetUpScreen() {
    WindowPtr w = win();
    if (!w) return;
    qd::SetPort(w->port);
    useWindowFont();
    if (!fieldsLayer()) {
        drawListString(kTexts, 43, kListFrame.left, 40);
        drawListString(kTexts, 44, kListFrame.left, 56);
        qd::FrameRect(kListFrame);
        HiliteFrameRect(
            {kListFrame.top + 1, kListFrame.left + 1, kListFrame.bottom - 1, kListFrame.right - 1});
    } else {
        for (const Box& b : kBoxes) {
            qd::FrameRect(b.rect);
            HiliteFrameRect({b.rect.top + 1, b.rect.left + 1, b.rect.bottom - 1, b.rect.right - 1});
            useWindowFont(kFontSize, qd::bold);
            drawListString(kTexts, b.title, b.rect.left + 4, b.rect.top - 2);
            useWindowFont();
        }
        const Box& margins = kBoxes[1];
        qd::MoveTo(kDividerX, margins.rect.top + 2);
        qd::LineTo(kDividerX, margins.rect.bottom - 3);
        useWindowFont(kFontSize, qd::bold);
        drawListString(kTexts, kGutterTitle, kGutterTitleX, margins.rect.top + 10);
        useWindowFont();
        drawFieldLabels();
        drawMeasurements();
        qd::RGBBackColor(kWhite);
        qd::EraseRect(kShapePopUp);
        qd::FrameRect(kShapePopUp);
        qd::MoveTo(kSwatch.right + 6, kShapePopUp.bottom - 5);
        qd::DrawText(kShapePopUpTitle, 0, int32_t(std::string(kShapePopUpTitle).size()));
        updateLabelWindColour();
        qd::RGBBackColor(kWindowGrey);
    }
    drawTabs();
}

void drawMeasurements() {
    WindowPtr w = win();
    if (!w || !fieldsLayer()) return;
    qd::SetPort(w->port);
    useWindowFont();
    for (const UnitMark& m : kUnitMarks) {
        if (gUnits.gMeasType == m.unit)
            setMark(m.x, m.y);
        else
            boxMark(m.x, m.y);
        drawListString(kTexts, m.caption, m.x + kMarkCaptionDx, m.y + kMarkCaptionDy);
    }
}

void updateLabelWindColour() {
    WindowPtr w = win();
    if (!w) return;
    qd::SetPort(w->port);
    uint16_t shape = labelBack2.shapeVersion;
    if (shape >= kVersionByte) shape = uint16_t(shape - kVersionByte);
    qd::RGBBackColor(kWhite);
    qd::EraseRect(kSwatch);
    const qd::Rect square{kSwatch.top, kSwatchSquareLeft, kSwatch.bottom, kSwatchSquareRight};
    switch (shape) {
        case 0:
            qd::FrameRect(kSwatch);
            break;
        case 1:
            qd::FrameRect(square);
            break;
        case 2:
            qd::FrameOval(kSwatch);
            break;
        case 3:
            qd::FrameOval(square);
            break;
        case 4:
            qd::FrameRoundRect(kSwatch, 1, 1);
            break;
        default:
            break;
    }
    qd::RGBBackColor(kWindowGrey);
}

void resetTexts() {
    if (!win()) return;
    qd::SetPort(win()->port);
    for (const SheetField& f : kSheetFields) {
        platform::TEHandle te = field(f.number);
        if (!te) continue;
        const std::string text = sheetFieldText(f.number, labelBack2);
        platform::TESetText(text.data(), int32_t(text.size()), te);
    }
    if (fieldsLayer()) updateTexts();
}

void updateTexts() {
    WindowPtr w = win();
    if (!w || !fieldsLayer()) return;
    qd::SetPort(w->port);
    for (const SheetField& f : kSheetFields) {
        platform::TEHandle te = field(f.number);
        if (!te) continue;
        const qd::Rect frame{f.rect.top - 1, f.rect.left - 1, f.rect.bottom + 1, f.rect.right + 1};
        qd::RGBBackColor(kWhite);
        qd::EraseRect(f.rect);
        platform::TEUpdate(f.rect, te);
        qd::RGBBackColor(kWindowGrey);
        qd::FrameRect(frame);
        HiliteFrameRect({frame.top - 1, frame.left - 1, frame.bottom + 1, frame.right + 1});
    }
}

void updateLabelWind() {
    if (!win()) return;
    InvalMarks(win());
    drawMeasurements();
    resetTexts();
}

void InvalMarks(WindowPtr window) {
    if (!window) return;
    for (const UnitMark& m : kUnitMarks) InvalWindowRect(window, {m.y, m.x, m.y + 12, m.x + 14});
}

void doMouseLabel(int16_t, WindowPtr window, const EventRecord& event) {
    WindowPtr w = win();
    if (!w || window != w) return;
    qd::SetPort(w->port);
    const qd::Point pt = localPoint(w, event.where);
    ControlHandle c = nullptr;
    if (FindControl(pt, w, &c) != kControlNoPart && c) {
        if (c == button(kListBar)) {
            if (!fieldsLayer()) {
                TrackControl(c, pt, scrollAction);
                redrawList();
            }
            return;
        }
        if (TrackControl(c, pt, nullptr) == kControlNoPart) return;
        if (c == button(kCancel)) {
            // Cancelled in print-sheet mode: no sheet printing.
            if (gSheetWin.printsheet == 1) labelBack3.labelWidth = 0;
            gSheetWin.printsheet = 0;
            KillLocalWin(w, kKillSheetWindow);
        } else if (c == button(kOK)) {
            DoLabelOK();
        } else if (c == button(kLoad) && fieldsLayer()) {
            std::string path;
            if (platform::GetFileDialog("LATE", &path) && loadSavedFormat(path) == 1) {
                resetTexts();
                LabelUpdate();
            }
        } else if (c == button(kSave) && fieldsLayer()) {
            std::string path;
            if (platform::PutFileDialog("Untitled", &path)) saveFormat(path);
        }
        return;
    }
    if (pt.v > kTabHitTop && pt.v < kTabBottom) {
        if (pt.h < kListTabRight)
            switchLayer(1);
        else if (pt.h > kListTabRight && pt.h < kFieldsTabRight)
            switchLayer(0);
        return;
    }
    if (!fieldsLayer()) {
        if (inRect(pt, kListArea)) {
            ControlHandle bar = button(kListBar);
            gSheetSetup.currentSel = (pt.v - kListTop) / kListLine +
                                     (bar ? std::max<int32_t>(GetControlValue(bar), 0) : 0);
            redrawList();
        }
        return;
    }
    if (inRect(pt, kShapePopUpHit)) {
        MenuHandle menu = GetMenuHandle(kShapeMenu);
        if (!menu) menu = GetMenu(kShapeMenu);
        qd::Point at = kShapePopUpAt;
        at.v += w->contentOrigin.v;
        at.h += w->contentOrigin.h;
        const int32_t choice = menu ? PopUpMenuSelect(menu, at.v, at.h, 1) : 0;
        // A pop-up closed without a choice leaves the shape as it was.
        if (choice != 0) labelBack2.shapeVersion = uint16_t(std::max((choice & 0xFFFF) - 1, 0));
        updateLabelWindColour();
        return;
    }
    for (const UnitMark& m : kUnitMarks) {
        const qd::Rect hit{m.y + kMarkHitInsetV, m.x + kMarkHitInsetH, m.y + kMarkHitBottom,
                           m.x + kMarkHitRight};
        if (!inRect(pt, hit)) continue;
        gUnits.gMeasType = m.unit;
        InvalMarks(w);
        drawMeasurements();
        if (gWindows.RulerWin) InvalWindowRect(gWindows.RulerWin, gWindows.RulerWin->portRect);
        resetTexts();
        if (gWindows.disp2) InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
        return;
    }
    for (const SheetField& f : kSheetFields)
        if (inRect(pt, f.rect)) {
            activateOnly(f.number);
            return;
        }
}

void ProcessCharsLabel(unsigned char key) {
    if (!win()) return;
    qd::SetPort(win()->port);
    if (key == kTab && (gLoop.gmyEvent.modifiers & optionKey)) {
        switchLayer(fieldsLayer() ? 1 : 0);
        return;
    }
    if (key == kEnter || key == kReturn) {
        DoLabelOK();
        return;
    }
    if (key == kTab) {
        if (fieldsLayer()) focusAfter(gSheetWin.curLocalTE);
        return;
    }
    if (!fieldsLayer()) {
        if (key == kUp) moveSelection(-1);
        if (key == kDown) moveSelection(1);
        return;
    }
    if (gSheetWin.curLocalTE == 0) return;
    typeIntoField(key);
}

int32_t DoLabelOK() {
    std::string detail;
    if (const uint16_t fault = applySheetSetup(&detail); fault != 0) {
        // The window stays, and with it the mode it was opened in.
        MessageWith(fault, detail);
        return fault;
    }
    gSheetWin.printsheet = 0;
    KillLocalWin(win(), kKillSheetWindow);
    return 0;
}
