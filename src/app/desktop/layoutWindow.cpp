#include "app/desktop/layoutWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/desktop/eventLoop.h"
#include "app/desktop/layoutDocuments.h"
#include "app/desktop/layoutPalettes.h"
#include "app/itemPanels.h"
#include "app/layoutGeometry.h"
#include "app/preferences.h"
#include "app/shell.h"
#include "labels/itemFields.h"
#include "labels/labelBackground.h"
#include "labels/labelFile.h"
#include "labels/preview.h"
#include "labels/runs/itemOps.h"
#include "labels/units.h"
#include "picture/PICout2.h"
#include "picture/fileservices.h"
#include "platform/quickdraw/pict.h"
#include "picture/placedPictures.h"
#include "picture/textitems.h"
#include "platform/toolbox/menus.h"
#include "platform/toolbox/textshapes.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

using namespace toolbox;

LayoutPanels gLayoutPanels;
LayoutWindowState gDisp;

namespace {

LayoutHost gHost;

constexpr qd::RGBColor kGround{0xD000, 0xD000, 0xD000};
constexpr qd::RGBColor kBarGrey{0x9000, 0x9000, 0x9000};
constexpr qd::RGBColor kDarkGrey{0x5000, 0x5000, 0x5000};
constexpr qd::RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kBlack{0, 0, 0};
constexpr qd::RGBColor kBadgeBlue{0x0000, 0x3000, 0xE000};
constexpr qd::RGBColor kRulerWhite{0xF800, 0xF800, 0xF000};

constexpr int32_t kHandleSide = 4;
constexpr int32_t kNumberBox = 12;
constexpr int32_t kBadgeSide = 10;
constexpr int32_t kErrorWidth = 360, kErrorHeight = 40;
constexpr int32_t kErrorInset = 8, kErrorBaseline = 24;  // the first line's place
constexpr size_t kErrorTextMost = 255;                   // a message's longest text
constexpr int32_t kGrowBox = 16;
constexpr int32_t kScrollWidth = 15;
constexpr int32_t kHorizontalBarLeft = 150;
constexpr int32_t kPreviewBottom = 40;
constexpr int32_t kHoldTicks = 20;
constexpr int32_t kXorTicks = 5;
constexpr int32_t kLabelUnits = 10;
constexpr int16_t kLayerMenu = 145;
constexpr int32_t kRunSerial = 1, kRunImport = 2;
constexpr int32_t kFileOutput = 5;
constexpr unsigned char kLeftArrow = 28, kRightArrow = 29, kUpArrow = 30, kDownArrow = 31;
constexpr unsigned char kBackspace = 8, kDelete = 127, kReturn = 13, kEnter = 3;
// Bottom strip: zoom out, zoom in, the layer menu, the item layer, the guide layer.
constexpr int32_t kZoomOutRight = 15, kZoomInRight = 31, kMenuRight = 59, kItemsRight = 104;
constexpr int32_t kGuidesRight = 150;
constexpr double kInchesPerMm = 0.03937007874015748;
constexpr uint16_t kGenevaSize9 = 9, kGenevaSize8 = 8, kGenevaSize10 = 10;

bool layoutMode() { return labelBack.labelWidth != 0; }
int32_t offbar() { return gDriver.offbar; }

qd::Rect portRect() { return gWindows.disp2 ? gWindows.disp2->portRect : qd::Rect{}; }

void usePort() {
    if (gWindows.disp2) qd::SetPort(GetWindowPort(gWindows.disp2));
}

void invalAll() {
    if (gWindows.disp2) InvalWindowRect(gWindows.disp2, portRect());
}

void invalPalettes() {
    if (gWindows.ToolWin) InvalWindowRect(gWindows.ToolWin, gWindows.ToolWin->portRect);
    if (gWindows.TabWin) InvalWindowRect(gWindows.TabWin, gWindows.TabWin->portRect);
}

// A content rectangle (drag bar taken off) as the window's own coordinates.
qd::Rect below(const qd::Rect& r) {
    return {r.top + offbar(), r.left, r.bottom + offbar(), r.right};
}

qd::Point localOf(qd::Point global) {
    if (!gWindows.disp2) return global;
    const qd::Point o = gWindows.disp2->contentOrigin;
    return {global.v - o.v, global.h - o.h};
}

// The point of a mouse event in content coordinates.
qd::Point contentOf(qd::Point global) {
    const qd::Point p = localOf(global);
    return {p.v - offbar(), p.h};
}

bool shiftHeld() { return shiftKeyDown(); }

void invalLabelRect(int32_t mode, const Rect16& rect) {
    if (!gWindows.disp2) return;
    if (mode == kInvalidateWindow) return invalAll();
    qd::Rect r = mode == kInvalidateSelection ? below(labelToWindow(rect)) : toRect(rect);
    FixRectangle(&r);
    constexpr int32_t kGrow = 8;
    InvalWindowRect(gWindows.disp2,
                    {r.top - kGrow, r.left - kGrow, r.bottom + kGrow, r.right + kGrow});
}

void keepError(const char* text) {
    if (text && *text) gDisp.errorText = text;
}

// True while the window draws: a message raised then is drawn by that pass.
bool gDrawing = false;

bool redrawForMessage() {
    if (!gWindows.disp2) return false;
    if (!gDrawing) invalAll();
    return true;
}

}  // namespace

bool buttonHeldFor(uint32_t ticks) {
    const uint32_t until = gLoop.gmyEvent.when + ticks;
    for (uint32_t guard = 0; guard <= ticks + 1; ++guard) {
        EventRecord up;
        if (EventAvail(mUpMask, &up)) return up.when >= until;
        if (TickCount() >= until) return Button();
        Delay(1, nullptr);
    }
    return Button();
}

namespace {

uint16_t gTrackModifiers = 0;  // the keys held at the last tracked event

// Follows the mouse until the button is released; follow gets each position
// (content coordinates). The release point is returned.
template <typename Follow>
qd::Point trackMouse(Follow follow) {
    EventRecord e;
    for (;;) {
        ModalNextEvent(gWindows.disp2 ? gWindows.disp2->title : "Layout", mUpMask, &e);
        const bool up = e.what == mouseUp;
        gTrackModifiers = e.modifiers;
        const qd::Point at = contentOf(up ? e.where : MouseGlobal());
        follow(at);
        if (up) return at;
    }
}

void xorPen() {
    usePort();
    qd::PenNormal();
    qd::PenMode(qd::patXor);
    qd::PenPat(qd::kGray);
    qd::RGBForeColor(kBlack);
}

void outline(const qd::Rect& content, int32_t kind) {
    const qd::Rect r = below(content);
    switch (kind) {
        case kKindOval:
        case kKindOvalFilled:
            qd::FrameOval(r);
            break;
        case kKindRoundRect:
        case kKindRoundRectFilled:
            qd::FrameRoundRect(r, 16, 16);
            break;
        case kKindLine:
            qd::MoveTo(r.left, r.top);
            qd::LineTo(r.right, r.bottom);
            break;
        default: {
            qd::Rect n = r;
            FixRectangle(&n);
            qd::FrameRect(n);
        }
    }
}

void deselectAll() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i)
        if (LabelItem* it = itemAt(i); it && it->i16(item::selected) != 0) {
            it->setI16(item::selected, 0);
            Disp2InvalRect(kInvalidateSelection,
                           {it->i16(item::rectTop), it->i16(item::rectLeft),
                            it->i16(item::rectBottom), it->i16(item::rectRight)});
        }
    recomputeSelRect();
}

void invalItem(int32_t index) {
    if (!gWindows.disp2 || !itemAt(index)) return;
    const qd::Rect r = below(itemWindowRect(index));
    InvalWindowRect(gWindows.disp2, {r.top - 8, r.left - 8, r.bottom + 8, r.right + 8});
}

// ---- drawing ---------------------------------------------------------------

void fill(const qd::RGBColor& c, const qd::Rect& r) {
    qd::RGBForeColor(c);
    qd::PaintRect(r);
}

void useGeneva(int16_t size, int16_t face = 0) {
    int16_t geneva = 0;
    qd::GetFNum(reinterpret_cast<const unsigned char*>("\x06Geneva"), &geneva);
    qd::TextFont(geneva);
    qd::TextSize(size);
    qd::TextFace(face);
}

void text(const char* s, int32_t h, int32_t v, int16_t size, int16_t face = 0) {
    unsigned char p[256];
    const size_t n = std::min<size_t>(std::strlen(s), 255);
    p[0] = static_cast<unsigned char>(n);
    std::memcpy(p + 1, s, n);
    useGeneva(size, face);
    qd::TextMode(qd::srcOr);  // letters over the badge, not boxes
    qd::MoveTo(h, v);
    qd::DrawString(p);
    qd::TextFace(0);
}

void drawHandles(int32_t index) {
    const LabelItem* it = itemAt(index);
    if (!it || it->i16(item::selected) == 0) return;
    const uint16_t kind = it->u16(item::kind);
    qd::Rect r = below(itemWindowRect(index));
    if (kind == kKindLine)
        r = below(labelToWindow({it->i16(item::rectTop), it->i16(item::rectLeft),
                                 it->i16(item::rectBottom), it->i16(item::rectRight)}));
    const int32_t mh = (r.left + r.right) / 2, mv = (r.top + r.bottom) / 2;
    const qd::Point all[] = {{r.top, r.left},     {r.top, r.right}, {r.bottom, r.left},
                             {r.bottom, r.right}, {mv, r.left},     {mv, r.right},
                             {r.top, mh},         {r.bottom, mh}};
    const size_t count = kind == kKindLine ? 2 : std::size(all);
    qd::RGBForeColor(kBlack);
    for (size_t i = 0; i < count; ++i) {
        // A line's two handles are its ends: first and last point.
        const qd::Point p = kind == kKindLine && i == 1 ? all[3] : all[i];
        qd::PaintRect({p.v - kHandleSide / 2, p.h - kHandleSide / 2, p.v + kHandleSide / 2,
                       p.h + kHandleSide / 2});
    }
}

void drawItemMarks(int32_t index, const qd::Rect& labelFrame) {
    const LabelItem* it = itemAt(index);
    if (!it) return;
    const uint16_t kind = it->u16(item::kind);
    const qd::Rect r = below(itemWindowRect(index));
    if (!AnyPtsInRect(labelFrame, r) || previewLeftOut(index)) {
        // Outside the label, or not drawn (its data refused): a frame keeps it
        // in sight and reachable.
        qd::RGBForeColor(kDarkGrey);
        qd::FrameRect(r);
    }
    if (gLayout.iteNumbers == 1) {
        const qd::Rect box{r.top, r.right - kNumberBox, r.top + kNumberBox, r.right};
        fill(kDarkGrey, box);
        char n[8];
        std::snprintf(n, sizeof n, "%d", int(index));
        qd::RGBForeColor(kWhite);
        text(n, box.left + 2, box.bottom - 2, kGenevaSize9);
    }
    if (gLayout.showTypes == 1 && (kind == kKindText || kind == kKindBarcode)) {
        const qd::Rect disc{r.top, r.left, r.top + kBadgeSide, r.left + kBadgeSide};
        qd::RGBForeColor(kBadgeBlue);
        qd::PaintOval(disc);
        const int32_t mode = getProMode(index);
        const char* letter = mode == kRunSerial ? "S" : mode == kRunImport ? "I" : "T";
        qd::RGBForeColor(kWhite);
        text(letter, disc.left + 2, disc.bottom - 2, kGenevaSize8, 1);
    }
}

void drawRulers(const qd::Rect& port) {
    const int32_t top = offbar();
    fill(kRulerWhite, {top, kRulerBand, top + kRulerBand, port.right});
    fill(kRulerWhite, {top + kRulerBand, 0, port.bottom, kRulerBand});
    qd::RGBForeColor(kDarkGrey);
    qd::FrameRect({top, 0, top + kRulerBand, kRulerBand});
    // A tick every ten points at the zoom, longer every fifty.
    const double step = 10.0 * labelDesc.zoom / 100.0;
    if (step < 2) return;
    for (int32_t i = 0;; ++i) {
        const auto x = int32_t(labelDesc.hOffset) + int32_t(i * step);
        if (x > port.right) break;
        if (x < kRulerBand) continue;
        qd::MoveTo(x, top + kRulerBand);
        qd::LineTo(x, top + kRulerBand - (i % 5 == 0 ? 12 : 5));
    }
    for (int32_t i = 0;; ++i) {
        const auto y = top + int32_t(labelDesc.vOffset) + int32_t(i * step);
        if (y > port.bottom) break;
        if (y < top + kRulerBand) continue;
        qd::MoveTo(kRulerBand, y);
        qd::LineTo(kRulerBand - (i % 5 == 0 ? 12 : 5), y);
    }
}

void drawDragBar(const qd::Rect& port) {
    fill(kBarGrey, {0, 0, offbar(), port.right});
    qd::RGBForeColor(kWhite);
    qd::FrameRect({4, 4, offbar() - 4, kCloseBoxWidth - 4});
}

void drawBottomStrip(const qd::Rect& port) {
    const int32_t top = port.bottom - kBottomStrip;
    fill(kGround, {top, 0, port.bottom, kHorizontalBarLeft});
    qd::RGBForeColor(kDarkGrey);
    qd::FrameRect({top, 0, port.bottom, kZoomOutRight + 1});
    qd::FrameRect({top, kZoomOutRight, port.bottom, kZoomInRight + 1});
    qd::RGBForeColor(kBlack);
    text("-", 5, port.bottom - 4, kGenevaSize10);
    text("+", kZoomOutRight + 4, port.bottom - 4, kGenevaSize10);
    char zoom[16];
    std::snprintf(zoom, sizeof zoom, "%d%%", int(labelDesc.zoom));
    text(zoom, kZoomInRight + 3, port.bottom - 4, kGenevaSize9);
    // The layer tabs: the active one white.
    const qd::Rect items{top, kMenuRight, port.bottom, kItemsRight};
    const qd::Rect guides{top, kItemsRight, port.bottom, kGuidesRight};
    fill(gLayout.guideLayer == kLayerItems ? kWhite : kGround, items);
    fill(gLayout.guideLayer == kLayerGuide ? kWhite : kGround, guides);
    qd::RGBForeColor(kDarkGrey);
    qd::FrameRect(items);
    qd::FrameRect(guides);
    qd::RGBForeColor(kBlack);
    text("Items", items.left + 6, port.bottom - 4, kGenevaSize9);
    text("Guides", guides.left + 6, port.bottom - 4, kGenevaSize9);
}

void drawErrorBox(const qd::Rect& port) {
    if (gDisp.errorText.empty()) return;
    // The text wraps inside the box, which grows a line at a time: a long
    // message must not run past the frame and out of sight.
    const std::string said = gDisp.errorText.substr(0, kErrorTextMost);
    useGeneva(kGenevaSize10);  // the font the lines are measured in
    std::vector<platform::ShapeLine> lines;
    platform::cTextShapeLines(said.c_str(), static_cast<int32_t>(said.size()),
                              kErrorWidth - 2 * kErrorInset, &lines);
    const int32_t lineHeight = platform::CP_FontHeight();
    const int32_t extra = std::max<int32_t>(0, static_cast<int32_t>(lines.size()) - 1) * lineHeight;
    const int32_t h = (port.left + port.right - kErrorWidth) / 2;
    const int32_t v = (port.top + port.bottom - kErrorHeight - extra) / 2;
    const qd::Rect box{v, h, v + kErrorHeight + extra, h + kErrorWidth};
    fill(kWhite, box);
    qd::RGBForeColor(kBlack);
    qd::FrameRect(box);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string line = said.substr(size_t(lines[n].start), size_t(lines[n].length));
        text(line.c_str(), box.left + kErrorInset,
             box.top + kErrorBaseline + static_cast<int32_t>(n) * lineHeight, kGenevaSize10);
    }
    gDisp.errorText.clear();
}

void drawLayout(const qd::Rect& port) {
    const bool edit = gLayout.geditMode != 0;
    const qd::Rect content{offbar() + (edit ? kRulerBand : 0), edit ? kRulerBand : 0,
                           port.bottom - kScrollWidth, port.right - kScrollWidth};
    const auto points = [](uint32_t tenths) {
        return int16_t(std::min<uint32_t>(tenths / kLabelUnits, INT16_MAX));
    };
    const qd::Rect labelFrame =
        below(labelToWindow({0, 0, points(labelBack.labelHeight), points(labelBack.labelWidth)}));
    qd::ClipRect(content);
    if (gLayout.guideLayer != kLayerBackground) {
        if (gDriver.Pict) qd::DrawPicture(gDriver.Pict, labelFrame);
    } else {
        DrawLabelBackground(kRulerBand, offbar() + kRulerBand, 0);
    }
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        drawHandles(i);
        const LabelItem* it = itemAt(i);
        if (it && it->u16(item::kind) == kKindText && gLayout.guideLayer != kLayerBackground) {
            // The picture holds a text item's ground only: its words are drawn
            // here, at the zoom.
            getItemData(i);
            const qd::Rect r = labelToWindow({it->i16(item::rectTop), it->i16(item::rectLeft),
                                              it->i16(item::rectBottom), it->i16(item::rectRight)});
            DrawRotatedText(i, 0, gSym.orient, r);
        }
        drawItemMarks(i, labelFrame);
    }
    // The panels show the last selected item.
    for (int32_t i = 0; i <= labelBack.lastItem; ++i)
        if (const LabelItem* it = itemAt(i); it && it->i16(item::selected) != 0) getItemData(i);
    qd::ClipRect(port);
    drawErrorBox(port);
    if (edit) drawRulers(port);
    drawDragBar(port);
    drawBottomStrip(port);
}

void dimensionLine(int32_t h0, int32_t v0, int32_t h1, int32_t v1, const std::string& label) {
    qd::RGBForeColor(kBlack);
    qd::MoveTo(h0, v0);
    qd::LineTo(h1, v1);
    // Ticks at both ends, across the line.
    const bool across = v0 == v1;
    for (const qd::Point p : {qd::Point{v0, h0}, qd::Point{v1, h1}}) {
        qd::MoveTo(p.h - (across ? 0 : 3), p.v - (across ? 3 : 0));
        qd::LineTo(p.h + (across ? 0 : 3), p.v + (across ? 3 : 0));
    }
    text(label.c_str(), (h0 + h1) / 2 - 20, (v0 + v1) / 2 - 3, kGenevaSize9);
}

void drawPreview(const qd::Rect& port) {
    const qd::Rect area{offbar(), 0, port.bottom - kPreviewBottom, port.right};
    if (gDriver.Pict) {
        // A single symbol's picture is measured in its own units (hundredths of
        // a millimetre), not in screen points: drawn unscaled it would fill the
        // window many times over.
        const qd::Rect units = gDriver.Pict->frame;
        const double toPoints = qd::kPictPointsPerInch / pictureUnitsPerInch();
        const qd::Rect frame{0, 0, int32_t(std::lround(units.height() * toPoints)),
                             int32_t(std::lround(units.width() * toPoints))};
        const qd::Rect at{area.top + kRulerBand, area.left + kRulerBand,
                          area.top + kRulerBand + frame.height(),
                          area.left + kRulerBand + frame.width()};
        qd::DrawPicture(gDriver.Pict, at);
        if (gDriver.showSpecs > 0) {
            const int32_t keep = gUnits.gMeasType;
            gUnits.gMeasType = kMeasMillimetre;
            const bool inches = gSym.hMode == 2;
            const double wMm = convertToMeas(frame.width() * kLabelUnits);
            const double hMm = std::max(gSym.Hei, convertToMeas(frame.height() * kLabelUnits));
            gUnits.gMeasType = keep;
            dimensionLine(at.left, at.top - 8, at.right, at.top - 8,
                          dimensionText(wMm, inches, "%.1fmm", "%.1fin"));
            dimensionLine(at.left, at.bottom + 8, at.right, at.bottom + 8, "Image Size");
            dimensionLine(at.left - 8, at.top, at.left - 8, at.bottom,
                          dimensionText(hMm, inches, "%0.2fmm", "%0.2fin"));
        }
    }
    drawDragBar(port);
}

// ---- mouse -----------------------------------------------------------------

void previewDeliver() {
    if (gHost.selectMain) gHost.selectMain();
    if (gLayoutPanels.background != kRunSerial && gLayoutPanels.background != kRunImport &&
        gHost.doFile)
        gHost.doFile(kFileOutput);
    disposeDisp2();
}

void rearrangeBars() {
    const qd::Rect port = portRect();
    if (gDisp.disp2Con[0]) {
        MoveControl(gDisp.disp2Con[0], port.right - kGrowBox, port.top);
        SizeControl(gDisp.disp2Con[0], kGrowBox, port.height() - port.top - kScrollWidth);
    }
    if (gDisp.disp2Con[1]) {
        MoveControl(gDisp.disp2Con[1], kHorizontalBarLeft, port.bottom - kGrowBox);
        SizeControl(gDisp.disp2Con[1], port.width() - port.left - (kHorizontalBarLeft + 15),
                    kGrowBox);
    }
}

void grow(qd::Point where, bool invalidate) {
    const int32_t size = GrowWindow(gWindows.disp2, where, gDisp.dragRect);
    if (size == 0) return;
    SizeWindow(gWindows.disp2, size & 0xFFFF, size >> 16, true);
    rearrangeBars();
    if (invalidate) invalAll();
}

void liveScroll(ControlHandle c, int16_t) { ScrollDisp(c, GetControlValue(c)); }

void bottomStrip(int32_t h) {
    if (h <= kZoomOutRight) {
        labelDesc.zoom = zoomedOut(labelDesc.zoom);
    } else if (h <= kZoomInRight) {
        labelDesc.zoom = zoomedIn(labelDesc.zoom);
    } else if (h <= kMenuRight) {
        if (MenuHandle m = GetMenuHandle(kLayerMenu)) {
            const qd::Point o = gWindows.disp2->contentOrigin;
            const int32_t choice =
                PopUpMenuSelect(m, o.v + portRect().bottom - kBottomStrip, o.h + kRulerBand, 1);
            if (choice && gHost.doMenu) gHost.doMenu(choice & 0xFFFF, choice >> 16);
        }
    } else if (h <= kItemsRight) {
        gLayout.guideLayer = kLayerItems;
        deselectAll();
    } else if (h < kGuidesRight) {
        gLayout.guideLayer = kLayerGuide;
        deselectAll();
    }
    InvalRuler();
    if (!gLayout.onlylabel) invalAll();
}

// A click at p (content coordinates) on item index, or beside every item (-1).
void clickLabel(qd::Point p, int32_t index) {
    if (index >= 0 && itemAt(index)->u16(item::kind) == kKindBarcode)
        setLayerAccordingToMode(index);
    if (index < 0) {
        if (gLoop.pTool != kToolArrow || labelBack.lastItem >= 0)
            ClickBackground(p);
        else
            invalAll();
        return;
    }
    if (gPrefs.iLock == 1 || ResizeRect(index, p) == 0) SelectDeselect(index, p);
    if (gHost.invalMain) gHost.invalMain();
    SetPallette(index);
    gLayout.onlylabel = 1;
}

void layoutClick(qd::Point local, const EventRecord& e) {
    const qd::Rect port = portRect();
    ControlHandle c = nullptr;
    const int32_t value = ControlTrapper(local, gWindows.disp2, &c);
    if (value >= 0 && c) {
        ScrollDisp(c, value);
        return;
    }
    if (local.v >= port.bottom - kGrowBox && local.h >= port.right - kGrowBox) {
        grow(e.where, true);
        return;
    }
    if (local.v < offbar()) {
        if (local.h < kCloseBoxWidth)
            closeLabelWindow();
        else
            DragWindow(gWindows.disp2, e.where, gDisp.dragRect);
        return;
    }
    if (gLayout.guideLayer == kLayerBackground && local.v <= port.bottom - kBottomStrip) {
        // The background graphic: a picture item that fills the label.
        UndoPoint before;
        const int32_t i = createLayoutItem(kKindBackground, {0, 0, 0, 0});
        if (i >= 0) {
            doPictTool(0, kKindBackground, itemAt(i));
            if (!itemAt(i)->hasDataHandle && itemAt(i)->text(item::dataText).empty())
                deleteLabelItem(i);
        }
        before.keepIfChanged();
        invalAll();
        return;
    }
    if (local.v > port.bottom - kBottomStrip) {
        bottomStrip(local.h);
        return;
    }
    const qd::Point p{local.v - offbar(), local.h};
    if (gLayout.guideLayer == kLayerGuide && (p.v < kRulerBand || p.h < kRulerBand)) {
        gUnits.gMeasType = nextMeasType(gUnits.gMeasType);
        invalAll();
        return;
    }
    int32_t index = -1;
    if (gLoop.pTool == kToolArrow) index = findLabelItem(p, (e.modifiers & shiftKey) != 0);
    // A click that moves, resizes or makes an item is undone; one that selects is not.
    UndoPoint before;
    clickLabel(p, index);
    before.keepIfChanged();
}

}  // namespace

LayoutHost& layoutHost() { return gHost; }

void resetLayoutWindow() {
    disposeDisp2();
    gDisp = LayoutWindowState{};
    gLayoutPanels = LayoutPanels{};
}

std::string dimensionText(double mm, bool inches, const char* fmtMm, const char* fmtIn) {
    char s[64];
    if (inches)
        std::snprintf(s, sizeof s, fmtIn, mm * kInchesPerMm);
    else
        std::snprintf(s, sizeof s, fmtMm, mm);
    return s;
}

void NewPreviewWindow() {
    if (gWindows.disp2) return;
    std::string title = "Preview";
    if (layoutMode()) title = layoutTitle();
    if (gHost.killWp) gHost.killWp();
    const qd::Rect screen = ScreenBounds();
    qd::Rect bounds;
    if (gLayout.geditMode == 0) {
        const int32_t h = (screen.left + screen.right) / 2 - 100;
        const int32_t v = (screen.top + screen.bottom) / 2 - 200;
        bounds = {v, h, v + 400, h + 400};
    } else {
        bounds = {screen.top + 50, 180, screen.bottom - 85, screen.right - 145};
    }
    unsigned char p[256];
    const size_t n = std::min<size_t>(title.size(), 255);
    p[0] = static_cast<unsigned char>(n);
    std::memcpy(p + 1, title.data(), n);
    gWindows.disp2 = NewCWindow(nullptr, bounds, p, true, documentProc, nullptr, true, 0);
    const qd::Rect port = portRect();
    const bool show = gLayout.geditMode != 0;
    const auto most = [](uint32_t tenths) {
        return int16_t(std::min<uint32_t>(tenths / kLabelUnits, INT16_MAX));
    };
    gDisp.disp2Con[0] = NewControl(
        gWindows.disp2, {0, port.right - kScrollWidth, port.bottom - kScrollWidth, port.right + 1},
        reinterpret_cast<const unsigned char*>(""), show, 0, 0, most(labelBack.labelHeight),
        scrollBarProc, 0);
    gDisp.disp2Con[1] = NewControl(gWindows.disp2,
                                   {port.bottom - kScrollWidth, kHorizontalBarLeft, port.bottom + 1,
                                    port.right - kScrollWidth},
                                   reinterpret_cast<const unsigned char*>(""), show, 0, 0,
                                   most(labelBack.labelWidth), scrollBarProc, 0);
    invalAll();
}

void disposeDisp2() {
    if (!gWindows.disp2) return;
    KillControls(gWindows.disp2);
    if (gWindows.activeWindow == gWindows.disp2) gWindows.activeWindow = nullptr;
    DisposeWindow(gWindows.disp2);
    gWindows.disp2 = nullptr;
    gDisp.disp2Con[0] = gDisp.disp2Con[1] = nullptr;
}

void drawDisp2() {
    if (!gWindows.disp2) return;
    gLayout.onlylabel = 0;
    // A damaged document's view may say no zoom at all: nothing could be shown
    // or hit, and a drag would divide by it.
    if (labelDesc.zoom <= 0) labelDesc.zoom = 100;
    // The label's picture first: drawing it stores the items' drawn sizes.
    qd::GrafPort* keep = qd::GetPort();
    gDrawing = true;
    PICout2(0, 0, 0);
    gDrawing = false;
    usePort();
    const qd::Rect port = portRect();
    qd::PenNormal();
    fill(kGround, port);
    if (layoutMode())
        drawLayout(port);
    else
        drawPreview(port);
    DrawControls(gWindows.disp2);
    qd::RGBForeColor(kBlack);
    qd::SetPort(keep);
}

void doMouseDisp(int16_t part, WindowPtr window, const EventRecord& e) {
    if (!window || window != gWindows.disp2) return;
    switch (part) {
        case inContent: {
            const qd::Point local = localOf(e.where);
            if (layoutMode()) {
                layoutClick(local, e);
            } else if (local.v < offbar() && local.h > kCloseBoxWidth) {
                DragWindow(window, e.where, gDisp.dragRect);
            } else {
                previewDeliver();
            }
            return;
        }
        case inDrag:
            if (window != FrontWindow()) SelectWindowF(window);
            DragWindow(window, e.where, gDisp.dragRect);
            return;
        case inGrow:
            grow(e.where, false);
            return;
        case inGoAway:
            if (TrackGoAway(window, e.where)) {
                if (layoutMode())
                    closeLabelWindow();
                else
                    disposeDisp2();
            }
            return;
        default:
            return;
    }
}

bool closeLabelWindow() {
    // A changed layout is asked about whichever way it is closed.
    if (!saveChanges()) return false;
    selectAllItems(0);
    deleteAllItems(gLabel.labelParts, labelBack);
    gSym.orient = 0;
    labelBack.labelWidth = 0;
    labelDesc.zoom = 100;
    gShell.changed = 0;
    gLoop.pTool = kToolArrow;
    invalPalettes();
    disposeDisp2();
    if (gHost.invalMain) gHost.invalMain();
    return true;
}

int32_t ProcessCharsDisp(unsigned char key) {
    if (!layoutMode()) return 1;
    int32_t direction = -1;
    switch (key) {
        case kLeftArrow:
            direction = 1;
            break;
        case kRightArrow:
            direction = 2;
            break;
        case kUpArrow:
            direction = 0;
            break;
        case kDownArrow:
            direction = 3;
            break;
        default:
            return 1;
    }
    // A nudge is undone on its own, as a drag is.
    UndoPoint before;
    moveItemRectangle(direction);
    before.keepIfChanged();
    return 0;
}

void ProcessCharsDispLocal(unsigned char key) {
    if (!layoutMode()) {
        if (key == kReturn || key == kEnter) previewDeliver();
        return;
    }
    if (key != kBackspace && key != kDelete) return;
    // Only a deletion is kept for undo: with nothing selected the last edit stays undoable.
    if (anyItemSelected()) putUndoBuffer();
    deleteSelectedItems();
    recomputeSelRect();
    platform::TESetText("", 0, &gPanels.TEH);
    killWp();
    if (gHost.invalMain) gHost.invalMain();
    invalAll();
}

void ClickBackground(qd::Point p) {
    if (labelBack.lastItem >= 0) deselectAll();
    killWp();
    const int32_t tool = gLoop.pTool;
    qd::Rect r{p.v, p.h, p.v, p.h};
    if (tool != kKindPicture) doMarquee(&r, p, tool);
    // Window to label points; a line keeps the order of its ends.
    const Rect16 labelRect = windowToLabel(r);
    int32_t index = -1;
    if (tool == kToolArrow) {
        qd::Rect l = toRect(labelRect);
        FixRectangle(&l);
        index = selectInRect(l);
    } else if (tool == kKindPicture) {
        index = createLayoutItem(kKindPicture, toRect(labelRect));
        if (index >= 0) {
            doPictTool(1, kKindPicture, itemAt(index), {p.v + offbar(), p.h});
            // A cancelled choice leaves no empty picture behind.
            if (!itemAt(index)->hasDataHandle && itemAt(index)->text(item::dataText).empty()) {
                deleteLabelItem(index);
                index = -1;
            }
        }
    } else if (tool != kToolRotate && tool != kToolTen) {
        index = createLayoutItem(tool, toRect(labelRect));
    }
    invalAll();
    if (labelBack.lastItem >= 0) {
        if (gHost.invalMain) gHost.invalMain();
        SetPallette(index);
    }
    gLoop.pTool = kToolArrow;
    invalPalettes();
    gLayout.onlylabel = 1;
}

void SelectDeselect(int32_t index, qd::Point p) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    if (!shiftHeld() && it->i16(item::selected) == 0) {
        const int16_t own = it->i16(item::selected);
        deselectAll();
        it->setI16(item::selected, own);
    }
    if (buttonHeldFor(kHoldTicks) && gPrefs.iLock == 0 && gLayout.geditMode != 0) {
        it->setI16(item::selected, 1);
        invalItem(index);
        recomputeSelRect();
        objectDrag(p, index);
    } else {
        it->setI16(item::selected, it->i16(item::selected) ? 0 : 1);
        invalItem(index);
    }
    recomputeSelRect();
}

void objectDrag(qd::Point start, int32_t) {
    qd::Rect all{};
    bool any = false;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (!it || it->i16(item::selected) == 0) continue;
        const qd::Rect r = itemWindowRect(i);
        all = any ? qd::Rect{std::min(all.top, r.top), std::min(all.left, r.left),
                             std::max(all.bottom, r.bottom), std::max(all.right, r.right)}
                  : r;
        any = true;
    }
    if (gWindows.disp2) InvalWindowRect(gWindows.disp2, below(all));
    xorPen();
    int32_t axis = 0;
    qd::Point last = start;
    qd::Rect shown = all;
    outline(shown, kKindRect);
    trackMouse([&](qd::Point at) {
        if (axis == 0 && (shiftHeld() || (gTrackModifiers & shiftKey) != 0))
            axis = std::abs(at.v - start.v) > std::abs(at.h - start.h) ? 2 : 1;
        if (axis == 1) at.v = last.v;
        if (axis == 2) at.h = last.h;
        GetGridPoint(&at);
        outline(shown, kKindRect);
        shown = {shown.top + at.v - last.v, shown.left + at.h - last.h,
                 shown.bottom + at.v - last.v, shown.right + at.h - last.h};
        outline(shown, kKindRect);
        last = at;
    });
    qd::PenNormal();
    const double scale = std::max<int16_t>(labelDesc.zoom, 1) / 100.0;
    const auto dh = int32_t((last.h - start.h) / scale), dv = int32_t((last.v - start.v) / scale);
    for (int32_t i = 0; i <= labelBack.lastItem; ++i)
        if (const LabelItem* it = itemAt(i); it && it->i16(item::selected) != 0) invalItem(i);
    moveSelectedItems(dh, dv);
    for (int32_t i = 0; i <= labelBack.lastItem; ++i)
        if (const LabelItem* it = itemAt(i); it && it->i16(item::selected) != 0) invalItem(i);
}

int32_t ResizeRect(int32_t index, qd::Point p) {
    const int32_t handle = resizeHandleAt(index, p);
    if (handle == 0) return 0;
    const LabelItem* it = itemAt(index);
    const uint16_t kind = it->u16(item::kind);
    qd::Rect r = kind == kKindLine
                     ? labelToWindow({it->i16(item::rectTop), it->i16(item::rectLeft),
                                      it->i16(item::rectBottom), it->i16(item::rectRight)})
                     : itemWindowRect(index);
    invalItem(index);
    xorPen();
    outline(r, kind);
    qd::Point last = p;
    trackMouse([&](qd::Point at) {
        GetGridPoint(&at);
        if (at.h == last.h && at.v == last.v) return;
        outline(r, kind);
        moveHandle(&r, handle, at);
        outline(r, kind);
        last = at;
    });
    qd::PenNormal();
    storeResizedRect(index, r);
    invalItem(index);
    recomputeSelRect();
    return handle;
}

void doMarquee(qd::Rect* rect, qd::Point start, int32_t kind) {
    xorPen();
    qd::Rect shown{start.v, start.h, start.v, start.h};
    bool drawn = false;
    trackMouse([&](qd::Point at) {
        GetGridPoint(&at);
        qd::Rect next = kind == kKindLine
                            ? qd::Rect{start.v, start.h, at.v, at.h}
                            : qd::Rect{std::min(start.v, at.v), std::min(start.h, at.h),
                                       std::max(start.v, at.v), std::max(start.h, at.h)};
        if (drawn) outline(shown, kind);
        shown = next;
        outline(shown, kind);
        drawn = true;
    });
    if (drawn) outline(shown, kind);
    qd::PenNormal();
    *rect = shown;
}

void ScrollDisp(ControlHandle c, int32_t value) {
    if (!c) return;
    if (c == gDisp.disp2Con[0]) labelDesc.vOffset = uint32_t(scrollOffset(value));
    if (c == gDisp.disp2Con[1]) labelDesc.hOffset = uint32_t(scrollOffset(value));
    invalAll();
}

int32_t ControlTrapper(qd::Point p, WindowPtr w, ControlHandle* out) {
    ControlHandle c = nullptr;
    const int16_t part = FindControl(p, w, &c);
    *out = c;
    if (!c || part == kControlNoPart) return -1;
    const int32_t third = GetControlMaximum(c) / 3;
    if (part == inPageUp) {
        SetControlValue(c, GetControlValue(c) - third);
        return GetControlValue(c);
    }
    if (part == inPageDown) {
        SetControlValue(c, GetControlValue(c) + third);
        return GetControlValue(c);
    }
    if (GetControlMaximum(c) < 2) {
        TrackControl(c, p, nullptr);
        return 1;
    }
    TrackControl(c, p, liveScroll);
    return GetControlValue(c);
}

void setLayerAccordingToMode(int32_t index) {
    const int32_t mode = getProMode(index);
    if (mode >= 0 && mode <= kRunImport) gLayoutPanels.background = gLayoutPanels.tabselect = mode;
    gLayoutPanels.tablayer = 0;
}

void killWp() {
    if (gHost.killWp) gHost.killWp();
}

void SetPallette(int32_t index) {
    killWp();
    if (index < 0) {
        gLayoutPanels.background = 4;
        gLayoutPanels.tablayer = 2;
        gLayoutPanels.colTab = 1;
        gPanels.colTab = 1;
    } else {
        getItemData(index);
        getItemRect(index);
        const auto kind = static_cast<int32_t>(gLabel.iteTyp);
        if (kind == kKindText || kind == kKindBarcode) setPallitem(kind);
        if (kind == kKindText) setPallText();
        getitemdimensions();
    }
    searchItemTypes();
    setColourItems(0);
    if (gHost.setPallette) gHost.setPallette(index);
}

void Draw_RectXOR(const qd::Rect& r) {
    xorPen();
    const int32_t mh = (r.left + r.right) / 2, mv = (r.top + r.bottom) / 2;
    const auto draw = [&] {
        qd::FrameRect(r);
        qd::MoveTo(mh, r.top - 4), qd::LineTo(mh, r.top + 4);
        qd::MoveTo(mh, r.bottom - 4), qd::LineTo(mh, r.bottom + 4);
        qd::MoveTo(r.left - 4, mv), qd::LineTo(r.left + 4, mv);
        qd::MoveTo(r.right - 4, mv), qd::LineTo(r.right + 4, mv);
    };
    draw();
    Delay(kXorTicks, nullptr);
    draw();
    qd::PenNormal();
}

void WindowClipRect(WindowPtr w, const qd::Rect& r) {
    qd::GrafPort* keep = qd::GetPort();
    qd::SetPort(GetWindowPort(w));
    qd::ClipRect(r);
    qd::SetPort(keep);
}

void drawSelectionRectangles(int32_t index) {
    if (!gWindows.disp2) return;
    qd::GrafPort* keep = qd::GetPort();
    usePort();
    drawHandles(index);
    qd::SetPort(keep);
}

void WpInvalRect() {
    if (gHost.invalMain) gHost.invalMain();
}

// The left and right keys' masks of the modifiers (the right ones are kept in
// the high bits).
constexpr uint16_t kEitherShift = 0x2200, kEitherOption = 0x4800;
bool shiftKeyDown() { return (gLoop.gmyEvent.modifiers & kEitherShift) != 0; }
bool optionKeyDown() { return (gLoop.gmyEvent.modifiers & kEitherOption) != 0; }

void FlushScreen(WindowPtr w) {
    if (w) DrawWindowContent(w);
}

void PenPatqdgray() { qd::PenPat(qd::kGray); }
void PenPatqdblack() { qd::PenPat(qd::kBlack); }

namespace {

// After an undo: the panels show the first selected item, or none, and the
// selection's rectangle is that of the items now selected.
void reloadSelection() {
    int32_t first = -1;
    for (int32_t i = 0; i <= labelBack.lastItem && first < 0; ++i)
        if (const LabelItem* it = itemAt(i); it && it->i16(item::selected) != 0) first = i;
    SetPallette(first);
    recomputeSelRect();
    if (gHost.invalMain) gHost.invalMain();
}

}  // namespace

void installLayoutEditor() {
    gItemOpsHooks.selectionReplaced = reloadSelection;
    gPreviewHooks.invalRect = invalLabelRect;
    gPreviewHooks.showError = keepError;
    gPreviewHooks.messageStored = redrawForMessage;
    setLoopHandler("doMouseDisp", [](WindowPtr w, int32_t part) {
        doMouseDisp(int16_t(part), w, gLoop.gmyEvent);
        return 0;
    });
    setLoopHandler("PICout2", updateHandler(drawDisp2, 0));
    const auto keys = [](WindowPtr, int32_t ch) {
        if (ProcessCharsDisp(static_cast<unsigned char>(ch)) != 0)
            ProcessCharsDispLocal(static_cast<unsigned char>(ch));
        return 0;
    };
    setLoopHandler("doKeyDisp", keys);
    setLoopHandler("ProcessCharsDisp", [](WindowPtr, int32_t ch) {
        return ProcessCharsDisp(static_cast<unsigned char>(ch));
    });
    setLoopHandler("ProcessCharsDispLocal", [](WindowPtr, int32_t ch) {
        ProcessCharsDispLocal(static_cast<unsigned char>(ch));
        return 0;
    });
    installLayoutPalettes();
}
