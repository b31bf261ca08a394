#include "app/desktop/layoutPalettes.h"

#include <cstring>

#include "app/desktop/eventLoop.h"
#include "app/desktop/layoutWindow.h"
#include "app/layoutGeometry.h"
#include "app/preferences.h"
#include "labels/labelDoc.h"
#include "labels/runs/itemOps.h"
#include "labels/units.h"
#include "platform/resources.h"
#include "platform/toolbox/menus.h"
#include "symbology/state.h"

using namespace toolbox;

RulerState gRuler;

namespace {

constexpr qd::RGBColor kFace{0xE000, 0xE000, 0xE000};
constexpr qd::RGBColor kGround{0xC000, 0xC000, 0xC000};
constexpr qd::RGBColor kShadow{0x6000, 0x6000, 0x6000};
constexpr qd::RGBColor kLight{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kBlack{0, 0, 0};
constexpr qd::RGBColor kPressed{0x9000, 0x9000, 0x9000};

constexpr int32_t kToolWidth = 51, kToolHeight = 187;
constexpr int32_t kTabWidth = 324, kTabHeight = 29;
constexpr int32_t kRulerWidth = 235, kRulerHeight = 30;
constexpr int32_t kMiniBar = 10;
constexpr int32_t kButtonsBottom = 124, kMenuBottom = 162;
constexpr int32_t kPopUpTicks = 20, kLockTicks = 5;
constexpr int16_t kPaletteMenu = 141, kShapeMenu = 146;
constexpr int32_t kTabs = 7, kTabLeft = 5, kTabStep = 45, kTabBaseline = 23, kTabLineEnd = 320;
constexpr int32_t kTabStrings = 140, kFirstTabString = 16;
// What the tabs say when the string list does not name them.
constexpr const char* kTabTitles[kTabs] = {"Close", "New",    "Open", "Sheet",
                                           "Save",  "Output", "Print"};
constexpr const char* kToolTitles[] = {"A", "T", "P", "B", "R", "O", "RR", "L", "90", "10"};
constexpr int32_t kFirstShape = 6, kLastFilledShape = 11, kLineTool = 12;

WindowPtr floating(const qd::Rect& bounds, const char* title) {
    unsigned char p[64];
    p[0] = static_cast<unsigned char>(std::strlen(title));
    std::memcpy(p + 1, title, p[0]);
    return NewCWindow(nullptr, bounds, p, gLayout.geditMode != 0, plainDBox, nullptr, false, 1);
}

void pstr(unsigned char* p, const std::string& s) {
    p[0] = static_cast<unsigned char>(std::min<size_t>(s.size(), 255));
    std::memcpy(p + 1, s.data(), p[0]);
}

void paint(const qd::RGBColor& c, const qd::Rect& r) {
    qd::RGBForeColor(c);
    qd::PaintRect(r);
}

void frame3d(const qd::Rect& r, bool pressed) {
    qd::RGBForeColor(pressed ? kShadow : kLight);
    qd::MoveTo(r.left, r.bottom - 1), qd::LineTo(r.left, r.top), qd::LineTo(r.right - 1, r.top);
    qd::RGBForeColor(pressed ? kLight : kShadow);
    qd::LineTo(r.right - 1, r.bottom - 1), qd::LineTo(r.left, r.bottom - 1);
}

void drawTitle(const std::string& title, const qd::Rect& r) {
    unsigned char p[256];
    pstr(p, title);
    int16_t geneva = 0;
    qd::GetFNum(reinterpret_cast<const unsigned char*>("\x06Geneva"), &geneva);
    qd::TextFont(geneva);
    qd::TextSize(9);
    const int32_t w = qd::StringWidth(p);
    qd::RGBForeColor(kBlack);
    qd::MoveTo((r.left + r.right - w) / 2, (r.top + r.bottom) / 2 + 3);
    qd::DrawString(p);
}

// The button of the current tool: 6/7 on 5, 8/9 on 6, 10/11 on 7, 12 on 8.
int32_t buttonOfTool(int32_t tool) {
    if (tool >= kFirstShape && tool <= kLastFilledShape) return 5 + (tool - kFirstShape) / 2;
    if (tool == kLineTool) return 8;
    return tool;
}

qd::Rect buttonRect(int32_t column, int32_t row) {
    return {20 * row + 6, 20 * column - 14, 20 * row + 26, 20 * column + 6};
}

void drawLock() { Draw3dButton(gPrefs.iLock == 1 ? "Locked" : "Lock", kLockButton, 0); }

void withPort(WindowPtr w, void (*draw)()) {
    if (!w) return;
    qd::GrafPort* keep = qd::GetPort();
    qd::SetPort(GetWindowPort(w));
    draw();
    qd::SetPort(keep);
}

void popUp(int16_t menuId, WindowPtr w, qd::Point local) {
    MenuHandle m = GetMenuHandle(menuId);
    if (!m || !w) return;
    const int32_t choice =
        PopUpMenuSelect(m, w->contentOrigin.v + local.v, w->contentOrigin.h + local.h, 1);
    if (choice && layoutHost().doMenu) layoutHost().doMenu(choice & 0xFFFF, choice >> 16);
}

qd::Point localIn(WindowPtr w, qd::Point global) {
    return {global.v - w->contentOrigin.v, global.h - w->contentOrigin.h};
}

void invalidate(WindowPtr w) {
    if (w) InvalWindowRect(w, w->portRect);
}

}  // namespace

void ShowToolWin() {
    if (gWindows.ToolWin) DisposeWindow(gWindows.ToolWin);
    const qd::Rect s = ScreenBounds();
    const int32_t left = s.right - 120, top = s.top + 50;
    gWindows.ToolWin = floating({top, left, top + kToolHeight, left + kToolWidth}, "Tools");
    invalidate(gWindows.ToolWin);
}

void DrawToolItem(int32_t column, int32_t row) {
    const int32_t button = 2 * row - 2 + column;
    const bool pressed = buttonOfTool(gLoop.pTool) == button;
    const qd::Rect r = buttonRect(column, row);
    paint(pressed ? kPressed : kFace, r);
    frame3d(r, pressed);
    drawTitle(kToolTitles[button - 1], r);
    if (button >= 5 && button <= 7) {
        // The pop-up mark of the shape buttons.
        qd::RGBForeColor(kBlack);
        qd::MoveTo(r.right - 5, r.bottom - 4), qd::LineTo(r.right - 3, r.bottom - 4);
    }
}

void ToolUpdate() {
    WindowPtr w = gWindows.ToolWin;
    if (!w) return;
    withPort(w, [] {
        WindowPtr tw = gWindows.ToolWin;
        paint(kGround, tw->portRect);
        DrawMiniDragBar(tw, 0);
        for (int32_t row = 1; row <= 5; ++row)
            for (int32_t column = 1; column <= 2; ++column) DrawToolItem(column, row);
        Draw3dButton("Menu", {148, 9, 163, 44}, -1);
        drawLock();
    });
}

void doMouseTool(int16_t, WindowPtr w, const EventRecord& e) {
    if (!w) return;
    const qd::Point p = localIn(w, e.where);
    if (p.v < 0) {
        DragWindow(w, e.where, {0, 0, 8192, 8192});
        return;
    }
    if (p.v <= kButtonsBottom) {
        const int32_t tool = paletteTool(p);
        if (tool == 0) return;
        if (tool == kToolRotate) {
            UndoPoint before;
            rotateSelectedItems();
            before.keepIfChanged();
            gLoop.pTool = kToolArrow;
        } else {
            gLoop.pTool = tool;
        }
        if (const int32_t t = toolTransparency(gLoop.pTool); t >= 0) gSym.transpar_ent = t;
        LayoutPanels& panels = gLayoutPanels;
        if (gLoop.pTool >= kFirstShape && gLoop.pTool <= kLineTool)
            panels = {4, panels.tabselect, 2, 0};
        else
            panels = {0, 0, 0, panels.colTab};
        if (gLoop.pTool >= kFirstShape && gLoop.pTool <= kLastFilledShape &&
            buttonHeldFor(kPopUpTicks))
            popUp(kShapeMenu, w, p);
        invalidate(w);
        if (gWindows.disp2) InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
        if (layoutHost().invalMain) layoutHost().invalMain();
        killWp();
        return;
    }
    if (p.v > kMenuBottom) {
        const qd::Rect& b = kLockButton;
        if (p.h < b.left || p.h > b.right || p.v < b.top || p.v > b.bottom) return;
        withPort(w, [] { Draw3dButton("Lock", kLockButton, 1); });
        Delay(kLockTicks, nullptr);
        gPrefs.iLock = gPrefs.iLock == 1 ? 0 : 1;
        withPort(w, drawLock);
        invalidate(w);
        return;
    }
    popUp(kPaletteMenu, w, {138, 2});
}

void doShapeMenu(int32_t item) {
    if (item != 1) return;
    if (addShapeFillingLabel(gLoop.pTool) >= 0 && gWindows.disp2)
        InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
    gLoop.pTool = kToolArrow;
    invalidate(gWindows.ToolWin);
}

void DrawMiniDragBar(WindowPtr w, int32_t vertical) {
    const qd::Rect p = w->portRect;
    const qd::Rect bar = vertical ? qd::Rect{p.top, p.left, p.bottom, p.left + kMiniBar}
                                  : qd::Rect{p.top, p.left, p.top + kMiniBar, p.right};
    paint(kShadow, bar);
    frame3d(bar, false);
}

void Draw3dButton(const std::string& title, const qd::Rect& r, int32_t state) {
    paint(state == 1 ? kPressed : kFace, r);
    frame3d(r, state == 1);
    drawTitle(title, r);
    if (state == -1) {
        qd::RGBForeColor(kBlack);
        qd::MoveTo(r.right - 7, r.bottom - 5), qd::LineTo(r.right - 3, r.bottom - 5);
        qd::MoveTo(r.right - 6, r.bottom - 4), qd::LineTo(r.right - 4, r.bottom - 4);
    }
}

void UpdateMousePos() {}

void ShowTabWin() {
    if (gWindows.TabWin) DisposeWindow(gWindows.TabWin);
    const qd::Rect s = ScreenBounds();
    const int32_t left = s.left + 200, top = s.bottom - 48;
    gWindows.TabWin = floating({top, left, top + kTabHeight, left + kTabWidth}, "Tabs");
    invalidate(gWindows.TabWin);
}

void TabUpdate() {
    withPort(gWindows.TabWin, [] {
        WindowPtr w = gWindows.TabWin;
        paint(kGround, w->portRect);
        for (int32_t i = 0; i < kTabs; ++i) {
            const std::string listed =
                platform::StringResourceText(kTabStrings, kFirstTabString + i);
            const std::string title = listed.empty() ? kTabTitles[i] : listed;
            const qd::Rect tab{5, kTabLeft + kTabStep * i, kTabBaseline,
                               kTabLeft + kTabStep * (i + 1)};
            Draw3dButton(title, tab, 0);
        }
        qd::RGBForeColor(kShadow);
        qd::MoveTo(kTabLeft, kTabBaseline), qd::LineTo(kTabLeft, 5), qd::LineTo(kTabLineEnd, 5);
    });
}

void doMouseTab(int16_t, WindowPtr w, const EventRecord& e) {
    if (!w) return;
    const qd::Point p = localIn(w, e.where);
    if (p.v < 0) {
        DragWindow(w, e.where, {0, 0, 8192, 8192});
        return;
    }
    const int32_t command = tabCommand(tabAt(p.h));
    if (command > 0 && layoutHost().doFile) layoutHost().doFile(command);
}

void ShowRulerWin() {
    if (gWindows.RulerWin) DisposeWindow(gWindows.RulerWin);
    const qd::Rect s = ScreenBounds();
    const int32_t left = s.left + 170, top = s.top + 40;
    gWindows.RulerWin = floating({top, left, top + kRulerHeight, left + kRulerWidth}, "Ruler");
    invalidate(gWindows.RulerWin);
}

void InvalRuler() { invalidate(gWindows.RulerWin); }

void RulerUpdate() {
    withPort(gWindows.RulerWin, [] {
        WindowPtr w = gWindows.RulerWin;
        paint(kLight, w->portRect);
        DrawMiniDragBar(w, 1);
        // A tick every unit of the user's measure (tenths of a point per unit,
        // at the zoom), longer every fifth.
        const double unitTenths = convertFromMeas(1.0);
        double step = unitTenths / 10.0 * labelDesc.zoom / 100.0;
        while (step > 0 && step < 4) step *= 10;
        if (step <= 0) return;
        qd::RGBForeColor(kBlack);
        const int32_t length = gRuler.gROrient == 0 ? w->portRect.right : w->portRect.bottom;
        for (int32_t i = 0; kMiniBar + i * step <= length; ++i) {
            const auto at = kMiniBar + int32_t(i * step);
            const int32_t tick = i % 5 == 0 ? 10 : 5;
            if (gRuler.gROrient == 0)
                qd::MoveTo(at, w->portRect.bottom), qd::LineTo(at, w->portRect.bottom - tick);
            else
                qd::MoveTo(w->portRect.right, at), qd::LineTo(w->portRect.right - tick, at);
        }
    });
}

void doMouseRuler(int16_t, WindowPtr w, const EventRecord& e) {
    if (!w) return;
    const qd::Point p = localIn(w, e.where);
    if (p.v < 0 || p.h < kMiniBar) {
        DragWindow(w, e.where, {0, 0, 8192, 8192});
        return;
    }
    // A click in the scale changes the unit, as the layout's ruler band does.
    gUnits.gMeasType = nextMeasType(gUnits.gMeasType);
    InvalRuler();
}

void disposeLayoutPalettes() {
    for (WindowPtr* w : {&gWindows.ToolWin, &gWindows.TabWin, &gWindows.RulerWin})
        if (*w) {
            DisposeWindow(*w);
            *w = nullptr;
        }
}

void installLayoutPalettes() {
    setLoopHandler("ToolUpdate", updateHandler(ToolUpdate, 0));
    setLoopHandler("TabUpdate", updateHandler(TabUpdate, 0));
    setLoopHandler("RulerUpdate", updateHandler(RulerUpdate, 0));
    setLoopHandler("doMouseTool", [](WindowPtr w, int32_t part) {
        doMouseTool(int16_t(part), w, gLoop.gmyEvent);
        return 0;
    });
    setLoopHandler("doMouseTab", [](WindowPtr w, int32_t part) {
        doMouseTab(int16_t(part), w, gLoop.gmyEvent);
        return 0;
    });
    setLoopHandler("doMouseRuler", [](WindowPtr w, int32_t part) {
        doMouseRuler(int16_t(part), w, gLoop.gmyEvent);
        return 0;
    });
}
