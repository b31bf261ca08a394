#include "app/desktop/outsideKeys.h"

#include <cctype>

#include "app/desktop/eventLoop.h"
#include "app/desktop/printWindowView.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/numbered.h"
#include "symbology/host.h"

using namespace toolbox;

AnswerKeysState gAnswerKeys;

namespace {

constexpr unsigned char kReturn = 13, kEnter = 3, kTab = 9, kBackspace = 8;
constexpr int32_t kSerialEntry = 1, kImportEntry = 2, kCodeEntry = 0;
constexpr int32_t kTextItem = 4;
constexpr int32_t kClosePreview = 5;  // the File item that closes the preview
constexpr int32_t kAnswerWindowNumber = 5, kPrefWindowNumber = 4;
constexpr int32_t kSecondField = 2;
constexpr int32_t kWholeText = 32767;
constexpr int32_t kPressedAnswer = 2;

// ---- Tool tips ---------------------------------------------------------------------------

// A tip by how far across the place lies: the first row whose `upTo` reaches it.
struct PlaceTip {
    int32_t upTo;
    const char* tip;
};
constexpr PlaceTip kPreviewTips[] = {{15, "Scale Down"},
                                     {31, "Scale Up"},
                                     {59, "Scale menu"},
                                     {104, "Drawing layer"},
                                     {149, "Guide layer"}};
constexpr PlaceTip kPaneTips[] = {{22, "Information"},   {45, "Options"},
                                  {68, "Fill Colour"},   {91, "Bar or Line Colour"},
                                  {114, "Text Options"}, {135, "Sizes & Grid"}};
constexpr PlaceTip kEntryTips[] = {
    {33, "Normal Entry"}, {67, "Serial Numbers"}, {101, "Importing"}, {135, "Print Time Entry"}};
constexpr const char* kToolTips[] = {"Selection Tool",       "Text Tool",      "Picture Tool",
                                     "Barcode Tool",         "Rectangle Tool", "Oval Tool",
                                     "Round Rectangle Tool", "Line Tool",      "Rotate Tool"};
constexpr int32_t kPreviewTipBand = 16;  // the preview's bottom strip
constexpr int32_t kPaneTipBand = 20;     // the main window's bottom strip, and the one above
constexpr qd::Rect kSwitchTip{4, 4, 30, 23};
constexpr int32_t kToolRows = 99, kToolRowHeight = 20, kToolColumnWidth = 21;
constexpr int32_t kAlignUpTo = 137;
constexpr uint32_t kTipWaitTicks = 120;
// The tip window: below the mouse, so that the mouse never rests on it.

template <size_t N>
std::string byPlace(const PlaceTip (&tips)[N], int32_t h) {
    for (const PlaceTip& t : tips)
        if (h <= t.upTo) return t.tip;
    return {};
}

struct StickyState {
    qd::Point last{-1, -1};
    uint32_t lastTip = 0;
    int32_t (*tabLayer)() = nullptr;
};
StickyState gSticky;

bool inside(const qd::Rect& r, qd::Point p) {
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

}  // namespace

void installOutsideKeys() {
    setLoopHandler("doKeyDisp", [](WindowPtr, int32_t ch) {
        doKeyDisp(static_cast<unsigned char>(ch));
        return 1;
    });
    setLoopHandler("doAnswerKeys", [](WindowPtr, int32_t ch) {
        doAnswerKeys(static_cast<unsigned char>(ch));
        return 1;
    });
    setLoopHandler("CheckStickyWins", [](WindowPtr, int32_t) {
        CheckStickyWins();
        return 0;
    });
}

void doKeyDisp(unsigned char ch) {
    WindowPtr preview = gWindows.disp2;
    if ((ch == kReturn || ch == kEnter) && labelBack.labelWidth == 0) {
        if (gWindows.wp) SelectWindowF(gWindows.wp);
        // Serial numbers and imports are delivered by their runs, not here.
        if (gProd.background != kSerialEntry && gProd.background != kImportEntry)
            callLoopHandler("DoFile", gWindows.wp, kClosePreview);
        if (gWindows.disp2) {
            if (gWindows.activeWindow == gWindows.disp2) gWindows.activeWindow = gWindows.wp;
            DisposeWindow(gWindows.disp2);
            gWindows.disp2 = nullptr;
        }
        carbSetPort(gWindows.wp);
        return;
    }
    carbSetPort(preview);
    if (gLabel.curIteTyp != kTextItem) {
        if (callLoopHandler("ProcessCharsDisp", preview, ch) != 0)
            callLoopHandler("ProcessCharsDispLocal", preview, ch);
        return;
    }
    callLoopHandler("TypeIntoTextItem", preview, ch);
}

void doAnswerKeys(unsigned char ch) {
    NumberedChannels& n = numbered();
    const bool focused = n.curTE > 0 && n.curTE < kNumberedSlots && n.TEWin[n.curTE];
    if (ch == kTab) {
        if (!n.TEWin[kSecondField]) return;
        if (focused) platform::TEDeactivate(n.TEWin[n.curTE]);
        n.curTE = n.curTE == 1 ? kSecondField : 1;
        if (!n.TEWin[n.curTE]) return;
        platform::TESetSelect(0, kWholeText, n.TEWin[n.curTE]);
        platform::TEActivate(n.TEWin[n.curTE]);
        return;
    }
    if (ch == kReturn || ch == kEnter) {
        gAnswerKeys.pressed = kPressedAnswer;
        gAnswerKeys.finish = 1;
        return;
    }
    if (!focused) return;
    if (n.curWind == kPrefWindowNumber && !std::isdigit(ch) && ch != kBackspace) return;
    if (n.curWind == kAnswerWindowNumber || n.curWind == kPrefWindowNumber)
        platform::TEKey(ch, n.TEWin[n.curTE]);
}

std::string stickyTip(WindowPtr w, qd::Point p, int32_t tabLayer) {
    if (!w) return {};
    const int32_t height = w->portRect.bottom - w->portRect.top;
    if (w == gWindows.disp2) {
        if (!labelLayoutOpen() || p.v < height - kPreviewTipBand) return {};
        return byPlace(kPreviewTips, p.h);
    }
    if (w == gWindows.wp) {
        if (gProd.background == kCodeEntry && inside(kSwitchTip, p))
            return "Numbers/Barcodes Switch";
        if (p.v >= height - kPaneTipBand) return byPlace(kPaneTips, p.h);
        if (p.v >= height - 2 * kPaneTipBand && tabLayer == 0) return byPlace(kEntryTips, p.h);
        return {};
    }
    if (w == gWindows.ToolWin) {
        if (p.v <= kToolRows) {
            const int32_t column = p.h < kToolColumnWidth ? 1 : 2;
            const size_t tool = size_t(column + 2 * (p.v / kToolRowHeight));
            return tool <= std::size(kToolTips) ? kToolTips[tool - 1] : "";
        }
        return p.v <= kAlignUpTo ? "Align Items on Page" : "Lock items on Page";
    }
    return {};
}

void CheckStickyWins() {
    const qd::Point m = MouseGlobal();
    if (m.h != gSticky.last.h || m.v != gSticky.last.v) {
        gSticky.last = m;
        if (gWindows.PopWin) HideWindow(gWindows.PopWin);
        return;
    }
    const uint32_t now = TickCount();
    if (now - gSticky.lastTip <= kTipWaitTicks) return;
    WindowPtr w = nullptr;
    FindWindow(m, &w);
    if (!w || w == gWindows.PopWin) return;
    const qd::Rect content = ContentBounds(w);
    const std::string tip = stickyTip(w, {m.v - content.top, m.h - content.left},
                                      gSticky.tabLayer ? gSticky.tabLayer() : 0);
    if (!tip.empty()) ShowPopWin(m, tip);
    gSticky.lastTip = now;
}

void setTipTabLayerSource(int32_t (*source)()) { gSticky.tabLayer = source; }

void resetStickyWins() {
    const auto source = gSticky.tabLayer;
    gSticky = StickyState{};
    gSticky.tabLayer = source;
}
