#include "app/desktop/threeD.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/desktop/eventLoop.h"
#include "app/desktop/icons.h"
#include "app/preferences.h"
#include "labels/labelDoc.h"
#include "labels/runs/itemOps.h"
#include "platform/resources.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/numbered.h"
#include "platform/toolbox/pstrings.h"
#include "symbology/appBits.h"
#include "symbology/host.h"
#include "symbology/panels.h"
#include "symbology/state.h"

TabState gTabs;
TabHooks gTabHooks;

void resetTabs() {
    gTabs = TabState{};
    gTabHooks = TabHooks{};
}

namespace {

constexpr qd::RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kDark{kDarkGrey, kDarkGrey, kDarkGrey};
constexpr int32_t kClassicShade = 0;
constexpr int32_t kWhiteShade = 2;

constexpr const char* kPaneFontName = "Geneva";
constexpr int16_t kPaneTextSize = 9;

// Pop-up boxes: the arrow icons and where the text sits.
constexpr int32_t kArrowList = 128, kArrowIcon = 12, kArrowGreyedIcon = 13;
constexpr int32_t kArrowClassicLift = 4;
constexpr int32_t kPopTextLeft = 3, kPopTextRight = 16, kPopTextBaseline = 7;
constexpr int32_t kPopTextLeftMost = 4;  // a narrower start falls back to kPopTextLeft

// Colour icons are plotted in a frame this far left of and above the point.
constexpr int32_t kIconFrameLeft = 8, kIconFrameUp = 25;

// Marks.
constexpr int32_t kMarkWidth = 13, kMarkHeight = 14;
constexpr int32_t kMarkOnIcon = 142;
constexpr int32_t kMarkOnIconDrop = 16;
constexpr int32_t kLetterBoxWidth = 14, kLetterBoxHeight = 12;
constexpr int16_t kLetterSize = 10;
constexpr int32_t kLetterLeft = 3, kLetterBaseline = 10;

// Tabs.
constexpr int32_t kTabHeight = 18;
constexpr int32_t kTabCorner = 9;  // where the bottom edge turns into the corner
constexpr int32_t kTabLabelRise = 6;
constexpr uint32_t kTabPressTicks = 20;

struct TabSpot {
    int32_t h, width;
};
// The upper row: one tab per pane 0, 1, 2 and 5, each showing a colour icon.
constexpr int32_t kUpperBaseline = 258;  // the rule above the row runs at 240
constexpr TabSpot kUpperTabs[] = {{0, 34}, {34, 34}, {68, 34}, {102, 33}};
constexpr const char* kUpperLabels[] = {"\\128\\", "\\134\\", "\\135\\", "\\140\\"};
constexpr int32_t kUpperPanes[] = {kPaneCode, kPaneSerial, kPaneImport, kPanePrintTime};
// The lower row: pane 0, options 0, colours 2, colours 1, options 1, options 2.
constexpr int32_t kLowerBaseline = 280;  // the rule above the row runs at 262
constexpr int32_t kLowerTabWidth = 21;
constexpr TabSpot kLowerTabs[] = {{0, kLowerTabWidth},  {23, kLowerTabWidth},
                                  {46, kLowerTabWidth}, {69, kLowerTabWidth},
                                  {92, kLowerTabWidth}, {115, kLowerTabWidth}};
constexpr int32_t kTabCaptions = 140;
constexpr int32_t kLowerFirstCaption = 24;
enum LowerTab : int32_t {
    kLowerCode = 0,
    kLowerOptions0,
    kLowerColour2,
    kLowerColour1,
    kLowerOptions1,
    kLowerOptions2
};
constexpr int32_t kLowerTabCount = 6;

// Where a click lands on a tab: inclusive ranges of h; the pixels between them
// (the tabs' edges) belong to no tab.
struct HitSpan {
    int32_t first, last;
};
constexpr int32_t kUpperHitTop = 241, kUpperHitBottom = 259;
constexpr int32_t kLowerHitTop = 261;
constexpr int32_t kNoUpperRowBottom = 260;  // panes 3 and 4 reach this far down
constexpr HitSpan kUpperHits[] = {{0, 33}, {35, 67}, {69, 101}, {103, 135}};
constexpr HitSpan kLowerHits[] = {{0, 22}, {24, 45}, {47, 68}, {70, 91}, {93, 114}, {116, 135}};
constexpr qd::Rect kUpperArea{0, 0, 260, 136};
constexpr qd::Rect kLowerArea{0, 0, 282, 136};
constexpr int32_t kInsetField = 13, kMarginField = 14;     // options 0
constexpr int32_t kBaselineField = 3, kTrackingField = 5;  // options 1

// The alternative sub-tab rows.
constexpr int32_t kSubTabWidth = 45;
constexpr int32_t kColourTabsBaseline = 155;
constexpr int32_t kColourTabsTop = 137, kColourTabsBottom = 154;
constexpr int32_t kColourFirstCaption = 11;
constexpr int32_t kOptionTabsBaseline = 258;
constexpr int32_t kOptionFirstCaption = 13;
constexpr int32_t kOptionTabCount = 3, kColourTabCount = 2;

bool contains(const qd::Rect& r, qd::Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

void line(int32_t h1, int32_t v1, int32_t h2, int32_t v2) {
    qd::MoveTo(h1, v1);
    qd::LineTo(h2, v2);
}

// The tab under h, or -1 between tabs.
template <size_t N>
int32_t hitIn(const HitSpan (&spans)[N], int32_t h) {
    for (size_t i = 0; i < N; ++i)
        if (h >= spans[i].first && h <= spans[i].last) return static_cast<int32_t>(i);
    return -1;
}

// A label "\n\" names colour icon n; 0 for any other label.
int32_t iconOfLabel(const unsigned char* label) {
    if (!label || label[0] < 3 || label[1] != '\\' || label[label[0]] != '\\') return 0;
    int32_t n = 0;
    for (int i = 2; i < label[0]; ++i) {
        if (label[i] < '0' || label[i] > '9' || n > 99999) return 0;
        n = n * 10 + (label[i] - '0');
    }
    return n;
}

// Erases a tab's body (square but for its rounded corner) in the background colour.
void eraseTab(int32_t h, int32_t v, int32_t width) {
    // Its left column is the edge of the tab before.
    qd::EraseRect({v - kTabHeight + 1, h + 1, v, h + width - kTabCorner + 1});
    qd::EraseRect({v - kTabHeight + 1, h + width - kTabCorner + 1, v - kTabCorner + 1, h + width});
    qd::EraseArc({v - 17, h + width - 17, v + 1, h + width + 1}, 90, 90);
}

void drawRowTab(const TabSpot& spot, int32_t v, const unsigned char* label, bool current) {
    if (current)
        setGrey();
    else
        setWhite();
    eraseTab(spot.h, v, spot.width);
    setPaneFont(current ? int16_t{qd::bold} : int16_t{0});
    drawtab(spot.h, v, spot.width, label, 1);
    setPaneFont();
    if (!current) line(spot.h, v - kTabHeight, spot.h + spot.width - 1, v - kTabHeight);
    setGrey();
}

void invalidate(const qd::Rect& r) {
    if (gWindows.wp) toolbox::InvalWindowRect(gWindows.wp, r);
}

// Outside a layout the one symbol counts as a selected barcode.
bool barcodeSelected() { return !labelLayoutOpen() || gLabel.curIteTyp == 1; }

std::string threeDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

void setFieldText(platform::TERec& field, const std::string& text) {
    platform::TESetText(text.data(), static_cast<int32_t>(text.size()), &field);
}

qd::Point localOf(qd::Point where) {
    if (gWindows.wp) toolbox::carbSetPort(gWindows.wp);
    toolbox::GlobalToLocal(&where);
    return where;
}

}  // namespace

// ---- Interface colours --------------------------------------------------------

int32_t interfaceShade() {
    const int32_t shade = gPrefs.greyInterface;
    return shade < kClassicShade || shade > kWhiteShade ? kClassicShade : shade;
}

namespace {
uint16_t shadeGrey() {
    switch (interfaceShade()) {
        case 1:
            return kGreyMedium;
        case kWhiteShade:
            return kGreyWhite;
        default:
            return kGreyLight;
    }
}
}  // namespace

void setGrey() {
    const uint16_t g = shadeGrey();
    qd::RGBBackColor({g, g, g});
}

void setForeGrey() {
    // White panes keep a visible grey for what is drawn in the interface grey.
    const uint16_t g = interfaceShade() == kWhiteShade ? kGreyMedium : shadeGrey();
    qd::RGBForeColor({g, g, g});
}

void setWhite() { qd::RGBBackColor(kWhite); }
void setDkGrey() { qd::RGBBackColor(kDark); }
void setForeDkGrey() { qd::RGBForeColor(kDark); }

void SetRGBColour(qd::RGBColor* colour, uint16_t red, uint16_t green, uint16_t blue) {
    if (colour) *colour = {red, green, blue};
}

void setPaneFont(int16_t face) {
    unsigned char name[32];
    int16_t num = 0;
    qd::GetFNum(platform::toPascal(kPaneFontName, name), &num);
    qd::TextFont(num);
    qd::TextSize(kPaneTextSize);
    qd::TextFace(face);
}

// ---- 3-D edges and boxes ----------------------------------------------------------

void ThreeD(const qd::Rect& rect, int32_t sunken) {
    const int32_t l = rect.left + 1, t = rect.top + 1, r = rect.right - 1, b = rect.bottom - 1;
    qd::PenNormal();
    qd::RGBForeColor(sunken ? kDark : kWhite);
    qd::MoveTo(l, b);
    qd::LineTo(l, t);
    qd::LineTo(r - 1, t);
    qd::RGBForeColor(sunken ? kWhite : kDark);
    qd::LineTo(r - 1, b - 1);
    qd::LineTo(l + 1, b - 1);
    qd::ForeColor(qd::blackColor);
}

void ThreeDEdge(const qd::Rect& rect, int32_t sunken) { ThreeD(rect, sunken); }

void ThreeDTE(const platform::TERec& field) {
    const qd::Rect& r = field.viewRect;
    qd::EraseRect(r);
    qd::PenNormal();
    qd::RGBForeColor(kDark);
    line(r.left - 1, r.bottom, r.left - 1, r.top - 1);
    qd::LineTo(r.right, r.top - 1);
    qd::RGBForeColor(kWhite);
    qd::LineTo(r.right, r.bottom);
    qd::LineTo(r.left, r.bottom);
    qd::ForeColor(qd::blackColor);
}

int32_t ThreeDFrameRR(const qd::Rect&, int32_t) { return 1; }

void NonTopBox(const qd::Rect& rect) {
    qd::ForeColor(qd::blackColor);
    line(rect.left, rect.top, rect.left, rect.bottom);
    qd::LineTo(rect.right, rect.bottom);
    qd::LineTo(rect.right, rect.top);
}

// ---- Pop-up boxes ----------------------------------------------------------------------

void Draw3dMenuPop(const qd::Rect& rect, int32_t disabled) {
    qd::PenNormal();
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(rect);
    qd::Point at{rect.top + (rect.height() - kSmallIconSize) / 2, rect.right - kSmallIconSize};
    if (interfaceShade() == kClassicShade)
        at.v -= kArrowClassicLift;
    else
        at.h += 1;
    DrawSICN(kArrowList, disabled ? kArrowGreyedIcon : kArrowIcon, at);
    qd::RGBForeColor(kDark);
    line(rect.right - 2, rect.top + 1, rect.right - 2, rect.bottom - 2);
    qd::LineTo(rect.left + 1, rect.bottom - 2);
    qd::RGBForeColor(kWhite);
    line(rect.left + 1, rect.bottom - 3, rect.left + 1, rect.top + 1);
    qd::LineTo(rect.right - 3, rect.top + 1);
    qd::ForeColor(qd::blackColor);
}

void Draw3dString(const qd::Rect& rect, const unsigned char* text) {
    if (!text) return;
    const qd::Rect inner{rect.top + 1, rect.left + kPopTextLeft, rect.bottom - 1,
                         rect.right - kPopTextRight};
    const qd::ClipState saved = qd::GetClipState();
    qd::ClipRect(inner);
    int32_t start = (inner.width() - qd::StringWidth(text)) / 2;
    if (start < kPopTextLeftMost) start = kPopTextLeft;
    qd::ForeColor(qd::blackColor);
    qd::MoveTo(inner.left + start, rect.bottom - kPopTextBaseline);
    qd::DrawString(text);
    qd::SetClipState(saved);
}

void Draw3dPopupMenu(const qd::Rect& rect, const unsigned char* text) {
    Draw3dMenuPop(rect, 0);
    Draw3dString(rect, text);
}

// ---- Icons -------------------------------------------------------------------------------

void DrawSICN(int32_t id, int32_t index, qd::Point point) {
    qd::RGBColor fore;
    qd::GetForeColor(&fore);
    if (index != 0) {
        const auto icon = smallIcon(id, index);
        if (!icon) return;
        // OR mode: the black pixels are drawn, the white ones leave the ground.
        qd::ForeColor(qd::blackColor);
        for (int32_t row = 0; row < kSmallIconSize; ++row)
            for (int32_t col = 0; col < kSmallIconSize; ++col)
                if ((*icon)[static_cast<size_t>(row)] & (0x8000u >> col))
                    qd::PaintRect(
                        {point.v + row, point.h + col, point.v + row + 1, point.h + col + 1});
    } else {
        const auto icon = colourIcon(id);
        if (!icon) return;
        const int32_t left = point.h - kIconFrameLeft, top = point.v - kIconFrameUp;
        for (int32_t row = 0; row < kColourIconSize; ++row)
            for (int32_t col = 0; col < kColourIconSize; ++col)
                if (const auto& c =
                        icon->pixels[static_cast<size_t>(row * kColourIconSize + col)]) {
                    qd::RGBForeColor(*c);
                    qd::PaintRect({top + row, left + col, top + row + 1, left + col + 1});
                }
    }
    qd::RGBForeColor(fore);
}

// ---- Check marks and letter boxes ----------------------------------------------------

void drawMark(int32_t h, int32_t v, int32_t on) {
    const qd::Rect box{v, h, v + kMarkHeight, h + kMarkWidth};
    qd::PenNormal();
    if (interfaceShade() == kClassicShade) {
        if (on) {
            DrawSICN(kMarkOnIcon, 0, {v + kMarkOnIconDrop, h});
        } else {
            qd::RGBForeColor(kWhite);
            qd::PaintOval(box);
        }
        qd::RGBForeColor(kDark);
        qd::PenSize(2, 2);
        qd::FrameArc(box, 135, 180);
        qd::PenSize(1, 1);
        qd::RGBForeColor(kWhite);
        qd::FrameArc(box, 315, 180);
        if (on) {  // a glint on the ball
            line(h + 7, v + 4, h + 9, v + 6);
            line(h + 8, v + 4, h + 8, v + 5);
        }
    } else {
        // The inside is cleared first, so that a mark turned off loses its cross.
        qd::RGBForeColor(kWhite);
        qd::PaintRect({v + 1, h + 1, v + kMarkHeight - 1, h + kMarkWidth - 1});
        if (on) {
            qd::ForeColor(qd::blackColor);
            qd::PenSize(2, 2);
            line(h + 5, v + 4, h + 10, v + 8);
            line(h + 5, v + 8, h + 10, v + 4);
            qd::PenSize(1, 1);
        }
        qd::RGBForeColor(kDark);
        line(h, v + kMarkHeight - 1, h, v);
        qd::LineTo(h + kMarkWidth - 1, v);
        qd::RGBForeColor(kWhite);
        qd::LineTo(h + kMarkWidth - 1, v + kMarkHeight - 1);
        qd::LineTo(h + 1, v + kMarkHeight - 1);
    }
    qd::PenNormal();
    qd::ForeColor(qd::blackColor);
}

void frameMark(int32_t h, int32_t v, unsigned char letter) {
    const qd::Rect box{v, h, v + kLetterBoxHeight, h + kLetterBoxWidth};
    qd::PenNormal();
    qd::EraseRect(box);
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(box);
    // The letter is set in 10-point bold; the pane's own type comes back after
    // it, so that the labels drawn next keep their size.
    setPaneFont(qd::bold);
    qd::TextSize(kLetterSize);
    qd::MoveTo(h + kLetterLeft, v + kLetterBaseline);
    qd::DrawChar(letter);
    setPaneFont();
}

qd::Rect markHitRect(int32_t h, int32_t v) { return {v + 1, h + 1, v + 11, h + 13}; }

void invertMark(int32_t h, int32_t v) { qd::InvertRect(markHitRect(h, v)); }

void invalMark(toolbox::WindowPtr window, int32_t h, int32_t v) {
    if (window) toolbox::InvalWindowRect(window, {v + 1, h + 1, v + 12, h + 14});
}

int32_t inMark(toolbox::WindowPtr window, int32_t h, int32_t v, qd::Point point) {
    const qd::Rect hit = markHitRect(h, v);
    if (!contains(hit, point)) return 0;
    if (window) toolbox::InvalWindowRect(window, hit);
    return 1;
}

// ---- Tabs ------------------------------------------------------------------------------------

void drawtab(int32_t h, int32_t v, int32_t width, const unsigned char* label, int32_t shown) {
    qd::RGBColor fore;
    qd::GetForeColor(&fore);
    qd::PenNormal();
    qd::ForeColor(qd::blackColor);
    const int32_t r = h + width;
    line(h, v, r - kTabCorner, v);
    qd::FrameArc({v - 17, r - 17, v + 1, r + 1}, 90, 90);
    line(r, v - kTabCorner, r, v - kTabHeight);
    qd::RGBForeColor(shown ? kDark : kWhite);
    qd::FrameArc({v - 16, r - 16, v, r}, 90, 90);
    line(r - 1, v - kTabCorner, r - 1, v - 15);
    line(h + 1, v - 1, r - kTabCorner, v - 1);
    qd::PenNormal();
    qd::ForeColor(qd::blackColor);
    if (shown && label && label[0] > 0) {
        if (const int32_t icon = iconOfLabel(label)) {
            DrawSICN(icon, 0, {v, h + (width - kSmallIconSize) / 2});
        } else {
            qd::MoveTo(h + (width - qd::StringWidth(label)) / 2, v - kTabLabelRise);
            qd::DrawString(label);
        }
    }
    qd::RGBForeColor(fore);
}

void TabClick(int32_t h, int32_t v, int32_t width) {
    const unsigned char empty[1] = {0};
    drawtab(h, v, width, empty, 0);
    uint32_t final = 0;
    toolbox::Delay(kTabPressTicks, &final);
    drawtab(h, v, width, empty, 1);
}

void BuildTabItem(int32_t h, int32_t v, int32_t width, int32_t flag, int32_t list, int32_t index) {
    unsigned char label[256];
    platform::StringResourceGetString(label, list, index);
    drawtab(h, v, width, label, flag);
}

void DrawTabs() {
    qd::PenNormal();
    const int32_t pane = gProd.background;
    // The upper row belongs to panes 0, 1, 2 and 5 however they were reached: a
    // pane reached by the keyboard keeps the tab state of the pane before it.
    if (pane != kPaneOptions && pane != kPaneColours) {
        for (size_t i = 0; i < std::size(kUpperTabs); ++i) {
            unsigned char label[16];
            drawRowTab(kUpperTabs[i], kUpperBaseline, platform::toPascal(kUpperLabels[i], label),
                       kUpperPanes[i] == pane);
        }
    }
    int32_t current = -1;
    if (pane == kPaneCode) current = kLowerCode;
    if (pane == kPaneOptions)
        current = gTabs.opTab == 0   ? kLowerOptions0
                  : gTabs.opTab == 1 ? kLowerOptions1
                                     : kLowerOptions2;
    if (pane == kPaneColours) current = gPanels.colTab == 1 ? kLowerColour2 : kLowerColour1;
    for (int32_t i = 0; i < kLowerTabCount; ++i) {
        unsigned char label[256];
        platform::StringResourceGetString(label, kTabCaptions, kLowerFirstCaption + i);
        drawRowTab(kLowerTabs[i], kLowerBaseline, label, i == current);
    }
    static_assert(std::size(kLowerTabs) == kLowerTabCount);
}

int32_t CheckTabs(qd::Point where) {
    const qd::Point at = localOf(where);
    const int32_t pane = gProd.background;
    const bool upperRowShown = pane != kPaneOptions && pane != kPaneColours;
    if (at.v < kUpperHitTop) return 0;
    if (!upperRowShown && at.v <= kNoUpperRowBottom) return 0;

    int32_t target = -1;
    qd::Rect area;
    if (at.v <= kUpperHitBottom) {
        const int32_t tab = hitIn(kUpperHits, at.h);
        if (tab < 0) return 1;  // between two tabs: nothing changes
        gTabs.tabselect = tab;
        gTabs.tablayer = 0;
        target = gTabs.tabStart + tab;
        area = kUpperArea;
    } else if (at.v < kLowerHitTop) {
        return 0;
    } else {
        const int32_t tab = hitIn(kLowerHits, at.h);
        if (tab < 0) return 1;
        area = kLowerArea;
        switch (tab) {
            case kLowerCode:
                gTabs.tabselect = 0;
                gTabs.tablayer = 0;
                target = gTabs.tabStart;
                break;
            case kLowerOptions0:
                gTabs.tablayer = 1;
                gTabs.opTab = 0;
                if (gTabHooks.setFocus) gTabHooks.setFocus(kPaneOptions, kFocusOptions0);
                setFieldText(gPanels.TEBack3[kInsetField], std::to_string(gSym.insetAmount));
                setFieldText(gPanels.TEBack3[kMarginField], std::to_string(gSym.extraMargin));
                break;
            case kLowerColour2:
            case kLowerColour1:
                gTabs.tablayer = 2;
                gPanels.colTab = tab == kLowerColour2 ? 1 : 0;
                setColourItems(1);
                break;
            case kLowerOptions1: {
                gTabs.tablayer = 1;
                gTabs.opTab = 1;
                if (gTabHooks.setFocus) gTabHooks.setFocus(kPaneOptions, 0);
                setFieldText(gPanels.TEBack3[kBaselineField],
                             threeDecimals(std::fabs(gSym.gBaseAdjust)));
                // A negative tracking keeps its sign in the field.
                setFieldText(gPanels.TEBack3[kTrackingField], threeDecimals(gSym.gTrackAdjust));
                break;
            }
            default:
                gTabs.tablayer = 1;
                gTabs.opTab = 2;
                if (gTabHooks.setFocus)
                    gTabHooks.setFocus(kPaneOptions,
                                       labelLayoutOpen() ? kFocusOptions2Layout : kNoFocus);
                break;
        }
        if (tab != kLowerCode) gTabs.tabselect = -1;
    }

    if (gTabs.tablayer == 2) {
        gProd.background = kPaneColours;
    } else if (gTabs.tablayer == 1) {
        gProd.background = kPaneOptions;
        SetCodeLen();
    } else {
        constexpr int32_t kTargetPanes[] = {kPaneCode, kPaneSerial, kPaneImport, kPanePrintTime};
        if (target >= 0 && target < static_cast<int32_t>(std::size(kTargetPanes))) {
            if (gTabHooks.deactivateAll) gTabHooks.deactivateAll();
            gProd.background = kTargetPanes[target];
            if (target == 1 && gTabHooks.setFocus) gTabHooks.setFocus(kPaneSerial, kFocusSerial);
            if (barcodeSelected()) SetCodeLen();
        }
    }
    invalidate(area);
    if (gTabHooks.hideFields) gTabHooks.hideFields();
    if (gTabHooks.doUpdate) gTabHooks.doUpdate();
    if (gTabHooks.ProcessTabs) gTabHooks.ProcessTabs();
    return 1;
}

void DrawColourTabs() {
    for (int32_t i = 0; i < kColourTabCount; ++i) {
        unsigned char label[256];
        platform::StringResourceGetString(label, kTabCaptions, kColourFirstCaption + i);
        drawRowTab({i * kSubTabWidth, kSubTabWidth}, kColourTabsBaseline, label,
                   gPanels.colTab == i);
    }
}

void DrawOptionTabs() {
    for (int32_t i = 0; i < kOptionTabCount; ++i) {
        unsigned char label[256];
        platform::StringResourceGetString(label, kTabCaptions, kOptionFirstCaption + i);
        drawRowTab({i * kSubTabWidth, kSubTabWidth}, kOptionTabsBaseline, label, gTabs.opTab == i);
    }
}

int32_t CheckTabsColour(qd::Point where) {
    const qd::Point at = localOf(where);
    if (at.v < kColourTabsTop || at.v > kColourTabsBottom) return 0;
    if (at.h >= kColourTabCount * kSubTabWidth) return 0;
    if (at.h == kSubTabWidth) return 1;  // the edge between the two tabs
    gPanels.colTab = at.h < kSubTabWidth ? 0 : 1;
    DrawColourTabs();
    return 1;
}

int32_t CheckTabsOptions(qd::Point where) {
    const qd::Point at = localOf(where);
    if (at.v < kUpperHitTop || at.v > kUpperHitBottom) return 0;
    if (at.h == kSubTabWidth) return 1;  // the edge between the first two tabs
    gTabs.opTab = at.h < kSubTabWidth ? 0 : at.h < 2 * kSubTabWidth ? 1 : 2;
    DrawOptionTabs();
    return 1;
}

void installTabs() {
    setLoopHandler("CheckTabs", [](WindowPtr window, int32_t) -> int32_t {
        if (!window || window != gWindows.wp) return 0;
        return CheckTabs(gLoop.gmyEvent.where);
    });
}

void Get_Click(void (*click_ptr)(int32_t)) { toolbox::Get_Click("Get_Click", click_ptr); }
