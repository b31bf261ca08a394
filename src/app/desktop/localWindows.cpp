#include "app/desktop/localWindows.h"

#include "app/desktop/eventLoop.h"
#include "app/desktop/printDialogs.h"
#include "app/desktop/printWindowView.h"
#include "app/desktop/sheetSetupWindow.h"
#include "app/sheetSetup.h"
#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "labels/runs/printWindow.h"
#include "platform/resources.h"
#include "platform/toolbox/textshapes.h"

using namespace toolbox;

LocalWindowSlots gLocal;
LocalWindowHooks gLocalHooks;

namespace {

constexpr int32_t kMarkWidth = 14, kMarkHeight = 12, kMarkDotInset = 3;
constexpr qd::RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kEdgeGrey{0x5555, 0x5555, 0x5555};
constexpr qd::RGBColor kBlackColour{0, 0, 0};

void clearSlots() {
    for (platform::TEHandle& te : gLocal.TELocal) {
        if (te) platform::TEDispose(te);
        te = nullptr;
    }
    for (ControlHandle& c : gLocal.LocalButton) c = nullptr;  // disposed with the window
}

}  // namespace

int16_t genevaFont() {
    int16_t n = 0;
    qd::GetFNum(reinterpret_cast<const unsigned char*>("\x06"
                                                       "Geneva"),
                &n);
    return n;
}

qd::Point localPoint(WindowPtr window, qd::Point global) {
    if (!window) return global;
    return {global.v - window->contentOrigin.v, global.h - window->contentOrigin.h};
}

void drawListString(int32_t list, int32_t index, int32_t h, int32_t v) {
    platform::BuildStringItem(h, v, list, index);
}

void HiliteFrameRect(const qd::Rect& r) {
    qd::PenNormal();
    qd::RGBForeColor(kWhite);
    qd::MoveTo(r.left, r.bottom - 1);
    qd::LineTo(r.left, r.top);
    qd::LineTo(r.right - 1, r.top);
    qd::RGBForeColor(kEdgeGrey);
    qd::MoveTo(r.right - 1, r.top + 1);
    qd::LineTo(r.right - 1, r.bottom - 1);
    qd::LineTo(r.left + 1, r.bottom - 1);
    qd::RGBForeColor(kBlackColour);
}

void eraseLocalWindow(WindowPtr w) {
    qd::SetPort(w->port);
    qd::PenNormal();
    qd::RGBForeColor(kBlackColour);
    qd::RGBBackColor(kLocalWindowGrey);
    qd::EraseRect(w->portRect);
}

void boxMark(int32_t x, int32_t y) {
    const qd::Rect box{y, x, y + kMarkHeight, x + kMarkWidth};
    qd::PenNormal();
    qd::EraseRect(box);
    qd::FrameRect(box);
}

void setMark(int32_t x, int32_t y) {
    boxMark(x, y);
    qd::PaintRect({y + kMarkDotInset, x + kMarkDotInset, y + kMarkHeight - kMarkDotInset,
                   x + kMarkWidth - kMarkDotInset});
}

void KillLocalWin(WindowPtr window, int32_t kind) {
    if (!window) return;
    if (kind == kKillPrintWindow || kind == kKillSheetWindow) clearSlots();
    DisposeWindow(window);
    if (gWindows.activeWindow == window) gWindows.activeWindow = nullptr;
    switch (kind) {
        case kKillSheetWindow:
            gWindows.LabelWin = nullptr;
            gSheetWin.curLocalTE = 0;
            break;
        case kKillPrintWindow:
            gWindows.PrintWin = nullptr;
            gPrintWin.curLocalTE = 0;
            qd::KillPicture(gPrint.Pict2);
            gPrint.Pict2 = nullptr;
            break;
        default:
            break;
    }
    if (kind == kKillSheetWindow) {
        if (labelBack.labelWidth != 0 && labelBack.labelHeight != 0) {
            if (gWindows.disp2)
                InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
            else if (gLocalHooks.NewPreviewWindow)
                gLocalHooks.NewPreviewWindow();
        } else if (gWindows.disp2) {
            DisposeWindow(gWindows.disp2);
            if (gWindows.activeWindow == gWindows.disp2) gWindows.activeWindow = nullptr;
            gWindows.disp2 = nullptr;
        }
    }
    if (gWindows.wp) {
        SelectWindow(gWindows.wp);
        gWindows.activeWindow = gWindows.wp;
        qd::SetFractEnable(false);
        InvalWindowRect(gWindows.wp, gWindows.wp->portRect);
    }
}

void installSheetAndPrintWindows() {
    gPrintWindowHooks.shown = showPrintWindow;
    gPrintWindowHooks.closed = [] {
        if (gWindows.PrintWin) KillLocalWin(gWindows.PrintWin, kKillPrintWindow);
    };
    useDesktopPrintDialogs();
    setLoopHandler("doMouseLabel", [](WindowPtr w, int32_t part) {
        doMouseLabel(int16_t(part), w, gLoop.gmyEvent);
        return 1;
    });
    setLoopHandler("LabelUpdate", updateHandler(LabelUpdate));
    setLoopHandler("ProcessCharsLabel", [](WindowPtr, int32_t ch) {
        ProcessCharsLabel(static_cast<unsigned char>(ch));
        return 1;
    });
    setLoopHandler("doMousePrint", [](WindowPtr w, int32_t) {
        doMousePrint(gLoop.gmyEvent.where, w, gLoop.gmyEvent);
        return 1;
    });
    setLoopHandler("PrintUpdate", updateHandler(PrintUpdate));
    setLoopHandler("ProcessCharsPrint", [](WindowPtr, int32_t ch) {
        ProcessCharsPrint(static_cast<unsigned char>(ch));
        return 1;
    });
}
