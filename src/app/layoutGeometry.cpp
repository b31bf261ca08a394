#include "app/layoutGeometry.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "labels/itemFields.h"
#include "labels/preview.h"
#include "labels/rotateRect.h"
#include "labels/runs/itemOps.h"
#include "picture/PICbcode.h"
#include "picture/PICout2.h"
#include "symbology/info.h"
#include "symbology/panels.h"
#include "symbology/state.h"

LayoutView gLayout;

void resetLayoutView() { gLayout = LayoutView{}; }

namespace {

constexpr int32_t kHandleSlack = 2;  // pixels round a handle
constexpr int32_t kHitSlack = 2;     // points round an item
constexpr int32_t kLineSlack = 4;    // pixels beside a line
constexpr int32_t kLabelUnits = 10;  // tenths of a point
constexpr int16_t kZoomStep = 50, kZoomLeast = 50, kZoomMost = 1000;
constexpr int32_t kViewMargin = 32;  // the rulers' width: the label starts here
constexpr int32_t kFillInset = 5;
constexpr int32_t kKeepOnLabel = 8;  // points of a moved selection that stay on the label    // a
                                     // shape filling the label stays this far inside
constexpr int32_t kNarrowText = 10, kTextWidth = 100, kDefaultTextSize = 12;
constexpr int32_t kOrientStep = 90, kFullTurn = 360;
constexpr double kTextOnlyHeight = 2;  // mm: a barcode at most this high is placed as text
constexpr int32_t kDataTextSize = 10;

// Palette buttons: 2 columns of 20 pixels from h 6, 5 rows from v 26.
constexpr int32_t kPaletteSplit = 26, kPaletteTop = 25, kButtonSide = 20, kPaletteBottom = 124;
constexpr int32_t kOutlineLeftEdge = 15, kOvalOutlineEdge = 35;
// Tab bar: seven tabs of 45 pixels from h 5, and the File command of each.
constexpr int32_t kTabLeft = 5, kTabWidth = 45;
constexpr int32_t kTabCommands[] = {14, 1, 2, 9, 3, 5, 11, 12};

bool rotatedKind(uint16_t kind) {
    return kind == kKindText || kind == kKindBarcode || kind == kKindPicture;
}

Rect16 storedRect(const LabelItem& it) {
    return {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
            it.i16(item::rectRight)};
}

void putRect(LabelItem* it, const Rect16& r) {
    gLabel.itRect = r;
    const int32_t index = int32_t(std::find_if(gLabel.labelParts.begin(), gLabel.labelParts.end(),
                                               [it](const auto& p) { return p.get() == it; }) -
                                  gLabel.labelParts.begin());
    setItemRect(index);
}

int16_t word(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

bool contains(const qd::Rect& r, qd::Point p) {
    return p.h >= r.left && p.h <= r.right && p.v >= r.top && p.v <= r.bottom;
}

// A line through (x0, y0)-(x1, y1) passes within kLineSlack of p, measured
// vertically at p's h or horizontally at p's v.
bool nearLine(const qd::Rect& line, qd::Point p) {
    const double dx = line.right - line.left, dy = line.bottom - line.top;
    if (dx != 0) {
        const double y = line.top + (p.h - line.left) * dy / dx;
        if (std::abs(p.v - y) <= kLineSlack) return true;
    } else if (std::abs(p.h - line.left) <= kLineSlack) {
        return true;
    }
    if (dy != 0) {
        const double x = line.left + (p.v - line.top) * dx / dy;
        if (std::abs(p.h - x) <= kLineSlack) return true;
    } else if (std::abs(p.v - line.top) <= kLineSlack) {
        return true;
    }
    return false;
}

bool onActiveLayer(const LabelItem& it) {
    const bool guide = (it.u16(item::attTopPacked) & kGuideBit) != 0;
    return gLayout.guideLayer == kLayerGuide ? guide : !guide;
}

int32_t itemOrient(const LabelItem& it) { return (it.i16(item::orientPacked) / 2) & 0x3FF; }

}  // namespace

qd::Rect toRect(const Rect16& r) { return {r.top, r.left, r.bottom, r.right}; }
Rect16 toRect16(const qd::Rect& r) {
    return {word(r.top), word(r.left), word(r.bottom), word(r.right)};
}

void ScaleRect(qd::Rect* r, int32_t zoom) {
    const double k = zoom * 0.01;
    r->top = int32_t(r->top * k);
    r->left = int32_t(r->left * k);
    r->bottom = int32_t(r->bottom * k);
    r->right = int32_t(r->right * k);
}

void ScaleDownRect(qd::Rect* r, int32_t zoom) {
    if (zoom == 0) return;  // no view to scale from
    const double k = zoom * 0.01;
    r->top = int32_t(r->top / k);
    r->left = int32_t(r->left / k);
    r->bottom = int32_t(r->bottom / k);
    r->right = int32_t(r->right / k);
}

int32_t RectInRect(const qd::Rect& outer, const qd::Rect& inner) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

int32_t AnyPtsInRect(const qd::Rect& outer, const qd::Rect& r) {
    return contains(outer, {r.top, r.left}) || contains(outer, {r.bottom, r.right});
}

void FixRectangle(qd::Rect* r) {
    if (r->left > r->right) std::swap(r->left, r->right);
    if (r->top > r->bottom) std::swap(r->top, r->bottom);
}

void FixRectangle(Rect16* r) {
    if (r->left > r->right) std::swap(r->left, r->right);
    if (r->top > r->bottom) std::swap(r->top, r->bottom);
}

void RotIte(Rect16* rect, int32_t index) {
    const LabelItem* it = itemAt(index);
    if (!it) return;
    const int32_t keep = gSym.orient;
    gSym.orient = itemOrient(*it);
    RotateRect(rect);
    gSym.orient = keep;
}

qd::Rect labelToWindow(const Rect16& r16) {
    qd::Rect r = toRect(r16);
    ScaleRect(&r, labelDesc.zoom);
    const auto h = int32_t(labelDesc.hOffset), v = int32_t(labelDesc.vOffset);
    return {r.top + v, r.left + h, r.bottom + v, r.right + h};
}

Rect16 windowToLabel(const qd::Rect& w) {
    const auto h = int32_t(labelDesc.hOffset), v = int32_t(labelDesc.vOffset);
    qd::Rect r{w.top - v, w.left - h, w.bottom - v, w.right - h};
    ScaleDownRect(&r, labelDesc.zoom);
    return toRect16(r);
}

qd::Rect itemWindowRect(int32_t index) {
    const LabelItem* it = itemAt(index);
    if (!it) return {};
    Rect16 r = storedRect(*it);
    FixRectangle(&r);
    if (rotatedKind(it->u16(item::kind))) RotIte(&r, index);
    return labelToWindow(r);
}

int32_t getCorner(qd::Point p, const qd::Rect& r) {
    const bool nearLeft = std::abs(p.h - r.left) <= kHandleSlack;
    const bool nearRight = std::abs(p.h - r.right) <= kHandleSlack;
    const bool nearTop = std::abs(p.v - r.top) <= kHandleSlack;
    const bool nearBottom = std::abs(p.v - r.bottom) <= kHandleSlack;
    int32_t handle = 0;
    if (nearLeft && nearTop) handle = 1;
    if (nearRight && nearTop) handle = 2;
    if (nearLeft && nearBottom) handle = 3;
    if (nearRight && nearBottom) handle = 4;
    if (!nearLeft && !nearRight && std::abs(p.h - (r.left + r.right) / 2) <= kHandleSlack) {
        if (nearTop) handle = 7;
        if (nearBottom) handle = 8;
    }
    if (!nearTop && !nearBottom && std::abs(p.v - (r.top + r.bottom) / 2) <= kHandleSlack) {
        if (nearLeft) handle = 5;
        if (nearRight) handle = 6;
    }
    return handle;
}

int32_t getAxis(qd::Point start, qd::Point now, bool shift) {
    if (!shift) return 0;
    return std::abs(now.h - start.h) > std::abs(now.v - start.v) ? 1 : 2;
}

void moveHandle(qd::Rect* r, int32_t handle, qd::Point p) {
    switch (handle) {
        case 1:
            r->top = p.v, r->left = p.h;
            break;
        case 2:
            r->top = p.v, r->right = p.h;
            break;
        case 3:
            r->bottom = p.v, r->left = p.h;
            break;
        case 4:
            r->bottom = p.v, r->right = p.h;
            break;
        case 5:
            r->left = p.h;
            break;
        case 6:
            r->right = p.h;
            break;
        case 7:
            r->top = p.v;
            break;
        case 8:
            r->bottom = p.v;
            break;
        default:
            break;
    }
}

int32_t resizeHandleAt(int32_t index, qd::Point p) {
    const LabelItem* it = itemAt(index);
    if (!it || it->i16(item::selected) == 0) return 0;
    const uint16_t kind = it->u16(item::kind);
    if (kind == kKindBarcode) return 0;  // a symbol's size comes from its settings
    qd::Rect r = itemWindowRect(index);
    if (kind == kKindLine) r = labelToWindow(storedRect(*it));
    const int32_t handle = getCorner(p, r);
    if (kind == kKindLine) {
        // A line has a handle at each end only: its first point and its last.
        if (std::abs(p.h - r.left) <= kHandleSlack && std::abs(p.v - r.top) <= kHandleSlack)
            return 1;
        if (std::abs(p.h - r.right) <= kHandleSlack && std::abs(p.v - r.bottom) <= kHandleSlack)
            return 2;
        return 0;
    }
    return handle;
}

namespace {

// A window coordinate back on the label, to the nearest point.
int16_t labelCoordinate(int32_t window, int32_t offset) {
    const double k = labelDesc.zoom != 0 ? labelDesc.zoom * 0.01 : 1.0;
    return word(std::lround((window - offset) / k));
}

// The item's rectangle as its handles were drawn (rotated bounding box).
Rect16 handleRect(const LabelItem& it, int32_t index) {
    Rect16 r = storedRect(it);
    if (it.u16(item::kind) == kKindLine) return r;
    FixRectangle(&r);
    if (rotatedKind(it.u16(item::kind))) RotIte(&r, index);
    return r;
}

}  // namespace

void storeResizedRect(int32_t index, const qd::Rect& windowRect) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    const uint16_t kind = it->u16(item::kind);
    const Rect16 before = handleRect(*it, index);
    const qd::Rect shown = labelToWindow(before);
    // A press without a move changes nothing: the window's coarser grid (at a
    // zoom below 100 %) would otherwise shift the item.
    if (windowRect == shown) return;
    // Only the edges the handle moved come from the window.
    const auto h = int32_t(labelDesc.hOffset), v = int32_t(labelDesc.vOffset);
    const auto edge = [](int32_t now, int32_t was, int16_t kept, int32_t offset) {
        return now == was ? kept : labelCoordinate(now, offset);
    };
    Rect16 r{edge(windowRect.top, shown.top, before.top, v),
             edge(windowRect.left, shown.left, before.left, h),
             edge(windowRect.bottom, shown.bottom, before.bottom, v),
             edge(windowRect.right, shown.right, before.right, h)};
    if (kind != kKindLine) FixRectangle(&r);
    if (rotatedKind(kind)) {
        const int32_t keep = gSym.orient;
        gSym.orient = itemOrient(*it);
        UnRotateRect(&r);
        gSym.orient = keep;
    }
    putRect(it, r);
}

void GetGridPoint(qd::Point* p) {
    if (gDriver.gridOn != 1) return;
    const auto step = [](int32_t grid) {
        return int32_t(std::lround(grid * labelDesc.zoom / 100.0));
    };
    const int32_t sv = step(gLayout.LeGrid.v), sh = step(gLayout.LeGrid.h);
    if (sv > 0) p->v -= p->v % sv;
    if (sh > 0) p->h -= p->h % sh;
}

int32_t findLabelItem(qd::Point point, bool shift) {
    if (gLayout.guideLayer == kLayerBackground) return -1;
    const qd::Point p{point.v - int32_t(labelDesc.vOffset), point.h - int32_t(labelDesc.hOffset)};
    qd::Rect sel = toRect(gLabel.gSelRect);
    ScaleRect(&sel, labelDesc.zoom);
    const bool inSelection = !shift && !sel.empty() && contains(sel, p);
    for (int32_t i = labelBack.lastItem; i >= 0; --i) {
        const LabelItem* it = itemAt(i);
        if (!it || !onActiveLayer(*it)) continue;
        const uint16_t kind = it->u16(item::kind);
        if (kind == kKindBackground) continue;
        Rect16 r16 = storedRect(*it);
        FixRectangle(&r16);
        if (rotatedKind(kind)) RotIte(&r16, i);
        qd::Rect r{r16.top - kHitSlack, r16.left - kHitSlack, r16.bottom + kHitSlack,
                   r16.right + kHitSlack};
        ScaleRect(&r, labelDesc.zoom);
        if (!contains(r, p)) continue;
        if (inSelection) {
            if (it->i16(item::selected) != 0) return i;
            continue;
        }
        if (kind == kKindLine) {
            qd::Rect line = toRect(storedRect(*it));
            ScaleRect(&line, labelDesc.zoom);
            if (!nearLine(line, p)) continue;
        }
        return i;
    }
    return -1;
}

int32_t selectInRect(const qd::Rect& rect) {
    int32_t last = -1;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!it) continue;
        Rect16 r = storedRect(*it);
        FixRectangle(&r);
        if (rotatedKind(it->u16(item::kind))) RotIte(&r, i);
        if (!RectInRect(rect, toRect(r))) continue;
        it->setI16(item::selected, 1);
        Disp2InvalRect(kInvalidateSelection, storedRect(*it));
        last = i;
    }
    recomputeSelRect();
    return last;
}

void recomputeSelRect() {
    bool any = false;
    Rect16 u{};
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (!it || it->i16(item::selected) == 0 || it->u16(item::kind) == kKindBackground) continue;
        Rect16 r = storedRect(*it);
        FixRectangle(&r);
        if (!any) {
            u = r;
            any = true;
        } else {
            u = {std::min(u.top, r.top), std::min(u.left, r.left), std::max(u.bottom, r.bottom),
                 std::max(u.right, r.right)};
        }
    }
    gLabel.gSelRect = u;
}

void moveSelectedItems(int32_t dh, int32_t dv) {
    recomputeSelRect();
    const Rect16 sel = gLabel.gSelRect;
    const auto w = int32_t(labelBack.labelWidth / kLabelUnits);
    const auto h = int32_t(labelBack.labelHeight / kLabelUnits);
    if (w > 0 && h > 0 && sel.right > sel.left) {
        // The selection keeps a corner on the label: an item pushed wholly off
        // it could be neither seen nor scrolled to again.
        dh = std::clamp(dh, kKeepOnLabel - sel.right, w - kKeepOnLabel - sel.left);
        dv = std::clamp(dv, kKeepOnLabel - sel.bottom, h - kKeepOnLabel - sel.top);
    }
    if (dh == 0 && dv == 0) return;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!it || it->i16(item::selected) == 0) continue;
        const Rect16 r = storedRect(*it);
        putRect(it, {word(r.top + dv), word(r.left + dh), word(r.bottom + dv), word(r.right + dh)});
    }
    recomputeSelRect();
}

void moveItemRectangle(int32_t direction) {
    static constexpr qd::Point kSteps[] = {{-1, 0}, {0, -1}, {0, 1}, {1, 0}};
    if (direction < 0 || direction > 3) return;
    moveSelectedItems(kSteps[direction].h, kSteps[direction].v);
}

void rotateSelectedItems() {
    // Each item turns from its own angle: loading one item's settings and
    // storing them into all would give every selected item the same settings.
    const SymbolSettings keepSym = gSym;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!it || it->i16(item::selected) == 0) continue;
        getItemData(i);
        gSym.orient = (gSym.orient + kOrientStep) % kFullTurn;
        setItemData(i, 1);
    }
    const int32_t orient = (keepSym.orient + kOrientStep) % kFullTurn;
    gSym = keepSym;
    gSym.orient = orient;
}

int32_t createLayoutItem(int32_t tool, const qd::Rect& rect) {
    if (addLabelItem() != 0) return -1;
    const int32_t index = labelBack.lastItem;
    LabelItem* it = itemAt(index);
    for (int32_t i = 0; i < index; ++i)
        if (LabelItem* other = itemAt(i)) other->setI16(item::selected, 0);
    it->setI16(item::selected, 1);
    it->setI16(item::kind, tool);
    gLabel.selected = 1;
    gLabel.notDrawn = gLayout.guideLayer;
    Rect16 r = toRect16(rect);
    if (tool != kKindLine) FixRectangle(&r);
    if (tool == kKindText) {
        gLabel.externalH = std::string(kNewTextData) + std::string(2, '\0');
        gLabel.hasExternalH = true;
        // The field holds the new item's placeholder, selected: the first key
        // replaces it rather than adding to it.
        platform::TERec& field = gPanels.TETe1[0];
        const auto placeholder = static_cast<int32_t>(std::strlen(kNewTextData));
        platform::TESetText(kNewTextData, placeholder, &field);
        platform::TESetSelect(0, placeholder, &field);
        if (gSym.customTeSize == 0) gSym.customTeSize = kDefaultTextSize;
        gLabel.serEnd.clear();
        gLabel.incAmount.clear();
        gLabel.serPos.clear();
        gSym.transpar_ent = 0;
        gData.len1 = 0;
        UnRotateRect(&r);
        if (r.right - r.left < kNarrowText) r.right = word(r.left + kTextWidth);
        if (r.bottom - r.top < gSym.customTeSize)
            r.bottom = word(r.top + gSym.customTeSize * 2 + 4);
        gLabel.itRect = r;
        setItemRect(index);
        setItemData(index, 2);
    } else if (tool == kKindBarcode) {
        clearItemData(index);
        gLabel.itRect = r;
        setItemRect(index);
        gSym.orient = 0;
        // Measured from the symbol, stored with the data as typed.
        if (const TypedDataKept typed; STRixel() == 0) {
            const int32_t code = gSym.code;
            const bool measured = gSym.Hei > kTextOnlyHeight || gSym.Hei <= 0 || code == 30 ||
                                  code == 31 || code == 37 || code == 38;
            if (measured) {
                qd::Rect frame, window;
                MeasureBarCodeBox(&frame, &window);
                r.bottom = word(r.top + frame.height());
                r.right = word(r.left + frame.width());
            } else {
                // A symbol this low shows as its data's text line.
                const int32_t size = gSym.customTeSize ? gSym.customTeSize : kDataTextSize;
                int16_t font = 0;
                qd::GetFNum(gSym.fontBelow, &font);
                qd::TextFont(font);
                qd::TextSize(int16_t(size));
                const int32_t width =
                    qd::TextWidth(gData.chMainCode, 0, int32_t(std::strlen(gData.chMainCode)));
                r.bottom = word(r.top + size);
                r.right = word(r.left + width);
            }
        }
        gLabel.itRect = r;
        setItemRect(index);
        gLabel.externalH.clear();
        gLabel.hasExternalH = false;
        setItemData(index, 2);
    } else if (tool != kKindPicture) {
        gLabel.itRect = r;
        setItemRect(index);
        // The tool chose filled or outline; a redraw since may have loaded the
        // settings of a selected text item over that choice.
        if (const int32_t t = toolTransparency(tool); t >= 0) gSym.transpar_ent = t;
        // An outline of no width would not show at all.
        const bool noLine = gSym.line == 0 && (gSym.transpar_ent == 1 || tool == kKindLine);
        if (noLine) gSym.line = 1.0;
        setItemData(index, 0);
        if (noLine) it->setI16(item::line, 1);
    } else {
        gLabel.itRect = r;
        setItemRect(index);
    }
    if (gLayout.guideLayer == kLayerGuide) {
        it->setI16(item::attTopPacked, it->u16(item::attTopPacked) | kGuideBit);
        sendToBack();
    }
    recomputeSelRect();
    return index;
}

int32_t addShapeFillingLabel(int32_t tool) {
    if (labelBack.lastItem + 1 >= kMaxLabelItems) return -1;
    if (addLabelItem() != 0) return -1;
    const int32_t index = labelBack.lastItem;
    LabelItem* it = itemAt(index);
    it->setI16(item::kind, tool);
    setItemData(index, 0);
    it->setI16(item::line, 1);
    gLabel.itRect = {word(kFillInset), word(kFillInset),
                     word(int32_t(labelBack.labelHeight / kLabelUnits) - kFillInset),
                     word(int32_t(labelBack.labelWidth / kLabelUnits) - kFillInset)};
    setItemRect(index);
    it->setI16(item::selected, 1);
    recomputeSelRect();
    return index;
}

int16_t zoomedOut(int16_t zoom) { return zoom > kZoomLeast ? int16_t(zoom - kZoomStep) : zoom; }
int16_t zoomedIn(int16_t zoom) { return zoom < kZoomMost ? int16_t(zoom + kZoomStep) : zoom; }

int32_t nextMeasType(int32_t unit) { return unit >= 0 && unit < 3 ? unit + 1 : 0; }

int32_t scrollOffset(int32_t value) { return kViewMargin - value; }

int32_t paletteTool(qd::Point p) {
    if (p.v < 0 || p.v > kPaletteBottom) return 0;
    const int32_t column = p.h < kPaletteSplit ? 1 : 2;
    const int32_t row = (p.v - kPaletteTop) / kButtonSide;
    const int32_t button = column + 2 * row;
    switch (button) {
        case 1:
            return kToolArrow;
        case 2:
            return kKindText;
        case 3:
            return kKindPicture;
        case 4:
            return kKindBarcode;
        case 5:
            return p.h <= kOutlineLeftEdge ? kKindRect : kKindRectFilled;
        case 6:
            return p.h <= kOvalOutlineEdge ? kKindOval : kKindOvalFilled;
        case 7:
            return p.h <= kOutlineLeftEdge ? kKindRoundRect : kKindRoundRectFilled;
        case 8:
            return kKindLine;
        case 9:
            return kToolRotate;
        case 10:
            return kToolTen;
        default:
            return 0;
    }
}

int32_t toolTransparency(int32_t tool) {
    // A text is drawn transparent; the shapes as their kind has it.
    if (tool == kKindText) return 1;
    if (tool < 0 || tool > UINT16_MAX) return -1;
    return shapeTransparency(static_cast<uint16_t>(tool));
}

int32_t tabAt(int32_t h) {
    if (h < kTabLeft) return -1;
    const int32_t tab = (h - kTabLeft) / kTabWidth;
    return tab < int32_t(std::size(kTabCommands)) ? tab : -1;
}

int32_t tabCommand(int32_t tab) {
    if (tab < 0 || tab >= int32_t(std::size(kTabCommands))) return -1;
    return kTabCommands[tab];
}

int32_t isallspace(const char* text) {
    for (; *text; ++text)
        if (!std::isspace(static_cast<unsigned char>(*text))) return 0;
    return 1;
}
