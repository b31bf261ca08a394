#include "platform/toolbox/controls.h"

#include <algorithm>

#include "platform/quickdraw/picture.h"
#include "platform/toolbox/events.h"

namespace toolbox {

namespace {

constexpr int32_t kButtonCorner = 16;  // the push button's rounded corners
constexpr int32_t kCheckBoxSize = 12;
constexpr int32_t kTitleGap = 5;  // between a check box and its title
constexpr int32_t kBevel = 2;
constexpr int16_t kControlFontSize = 12;
constexpr qd::RGBColor kInactiveGrey{0x8888, 0x8888, 0x8888};
constexpr qd::RGBColor kTrackGrey{0xDDDD, 0xDDDD, 0xDDDD};
constexpr qd::RGBColor kBevelLight{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kBevelDark{0x7777, 0x7777, 0x7777};
constexpr qd::RGBColor kFace{0xEEEE, 0xEEEE, 0xEEEE};

bool contains(const qd::Rect& r, qd::Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

bool isScrollBar(const ControlRecord& c) { return c.procID == scrollBarProc; }
bool vertical(const ControlRecord& c) { return c.rect.height() >= c.rect.width(); }

bool inactive(const ControlRecord& c) {
    return c.hilite == kControlInactivePart || (isScrollBar(c) && c.max <= c.min);
}

// The scroll bar's parts, local.
struct ScrollParts {
    qd::Rect up, down, track, thumb;
};

ScrollParts scrollParts(const ControlRecord& c) {
    ScrollParts p;
    const qd::Rect& r = c.rect;
    const int32_t arrow = vertical(c) ? std::min(kScrollBarWidth, r.height() / 2)
                                      : std::min(kScrollBarWidth, r.width() / 2);
    if (vertical(c)) {
        p.up = {r.top, r.left, r.top + arrow, r.right};
        p.down = {r.bottom - arrow, r.left, r.bottom, r.right};
        p.track = {r.top + arrow, r.left, r.bottom - arrow, r.right};
    } else {
        p.up = {r.top, r.left, r.bottom, r.left + arrow};
        p.down = {r.top, r.right - arrow, r.bottom, r.right};
        p.track = {r.top, r.left + arrow, r.bottom, r.right - arrow};
    }
    const int32_t room = (vertical(c) ? p.track.height() : p.track.width()) - kScrollBarWidth;
    if (c.max > c.min && room > 0) {
        const int32_t at = int32_t(int64_t(room) * (c.value - c.min) / (c.max - c.min));
        p.thumb =
            vertical(c)
                ? qd::Rect{p.track.top + at, r.left, p.track.top + at + kScrollBarWidth, r.right}
                : qd::Rect{r.top, p.track.left + at, r.bottom, p.track.left + at + kScrollBarWidth};
    }
    return p;
}

void drawTitle(const ControlRecord& c, int32_t left, int32_t centreWidth) {
    qd::FontInfo fi;
    qd::GetFontInfo(&fi);
    const int32_t w = qd::TextWidth(c.title.data(), 0, int32_t(c.title.size()));
    const int32_t h = centreWidth > 0 ? left + (centreWidth - w) / 2 : left;
    const int32_t v = c.rect.top + (c.rect.height() + fi.ascent - fi.descent) / 2;
    qd::MoveTo(h, v);
    qd::DrawText(c.title.data(), 0, int32_t(c.title.size()));
}

void drawArrow(const qd::Rect& r, bool up, bool vert, bool hot) {
    qd::RGBForeColor(kFace);
    qd::PaintRect(r);
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(r);
    // A small filled triangle pointing away from the track.
    const int32_t ch = (r.left + r.right) / 2, cv = (r.top + r.bottom) / 2;
    qd::Polygon tri;
    constexpr int32_t kHalf = 4;
    if (vert) {
        const int32_t dir = up ? -1 : 1;
        tri.points = {{cv + dir * kHalf, ch},
                      {cv - dir * kHalf / 2, ch - kHalf},
                      {cv - dir * kHalf / 2, ch + kHalf}};
    } else {
        const int32_t dir = up ? -1 : 1;
        tri.points = {{cv, ch + dir * kHalf},
                      {cv - kHalf, ch - dir * kHalf / 2},
                      {cv + kHalf, ch - dir * kHalf / 2}};
    }
    qd::PaintPoly(tri);
    if (hot) qd::InvertRect({r.top + 1, r.left + 1, r.bottom - 1, r.right - 1});
}

void drawScrollBar(const ControlRecord& c) {
    const ScrollParts p = scrollParts(c);
    qd::RGBForeColor(inactive(c) ? qd::RGBColor{0xFFFF, 0xFFFF, 0xFFFF} : kTrackGrey);
    qd::PaintRect(c.rect);
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(c.rect);
    if (inactive(c)) return;
    drawArrow(p.up, true, vertical(c), c.hilite == inUpButton);
    drawArrow(p.down, false, vertical(c), c.hilite == inDownButton);
    if (!p.thumb.empty()) {
        qd::RGBForeColor(kFace);
        qd::PaintRect(p.thumb);
        qd::ForeColor(qd::blackColor);
        qd::FrameRect(p.thumb);
    }
}

void drawBevel(const ControlRecord& c) {
    const qd::Rect& r = c.rect;
    const bool pressed = c.hilite == inButton;
    qd::RGBForeColor(kFace);
    qd::PaintRect(r);
    qd::PenSize(1, 1);
    for (int32_t i = 0; i < kBevel; ++i) {
        qd::RGBForeColor(pressed ? kBevelDark : kBevelLight);
        qd::MoveTo(r.left + i, r.bottom - 1 - i);
        qd::LineTo(r.left + i, r.top + i);
        qd::LineTo(r.right - 1 - i, r.top + i);
        qd::RGBForeColor(pressed ? kBevelLight : kBevelDark);
        qd::LineTo(r.right - 1 - i, r.bottom - 1 - i);
        qd::LineTo(r.left + i, r.bottom - 1 - i);
    }
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(r);
    if (c.picture) {
        const qd::Rect& f = c.picture->frame;
        const int32_t left = r.left + (r.width() - f.width()) / 2;
        const int32_t top = r.top + (r.height() - f.height()) / 2;
        const qd::ClipState was = qd::GetClipState();
        qd::ClipRect({r.top + kBevel, r.left + kBevel, r.bottom - kBevel, r.right - kBevel});
        qd::DrawPicture(c.picture, {top, left, top + f.height(), left + f.width()});
        qd::SetClipState(was);
        return;
    }
    if (inactive(c)) qd::RGBForeColor(kInactiveGrey);
    drawTitle(c, r.left, r.width());
    qd::ForeColor(qd::blackColor);
}

void draw(const ControlRecord& c) {
    if (!c.visible || !c.owner) return;
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(c.owner->port);
    qd::PenNormal();
    qd::TextFont(0);
    qd::TextFace(0);
    qd::TextSize(kControlFontSize);
    switch (c.procID) {
        case scrollBarProc:
            drawScrollBar(c);
            break;
        case kControlBevelButtonSmallBevelProc:
            drawBevel(c);
            break;
        case checkBoxProc:
        case radioButProc: {
            const int32_t top = c.rect.top + (c.rect.height() - kCheckBoxSize) / 2;
            const qd::Rect box{top, c.rect.left, top + kCheckBoxSize, c.rect.left + kCheckBoxSize};
            qd::EraseRect(c.rect);
            if (c.procID == radioButProc)
                qd::FrameOval(box);
            else
                qd::FrameRect(box);
            if (c.value && c.procID == checkBoxProc) {
                qd::MoveTo(box.left, box.top);
                qd::LineTo(box.right - 1, box.bottom - 1);
                qd::MoveTo(box.right - 1, box.top);
                qd::LineTo(box.left, box.bottom - 1);
            } else if (c.value) {
                qd::PaintOval({box.top + 3, box.left + 3, box.bottom - 3, box.right - 3});
            }
            if (c.hilite == inCheckBox)
                qd::FrameRect({box.top + 1, box.left + 1, box.bottom - 1, box.right - 1});
            if (inactive(c)) qd::RGBForeColor(kInactiveGrey);
            drawTitle(c, box.right + kTitleGap, 0);
            qd::ForeColor(qd::blackColor);
            break;
        }
        default: {
            qd::EraseRoundRect(c.rect, kButtonCorner, kButtonCorner);
            qd::FrameRoundRect(c.rect, kButtonCorner, kButtonCorner);
            if (inactive(c)) qd::RGBForeColor(kInactiveGrey);
            drawTitle(c, c.rect.left, c.rect.width());
            qd::ForeColor(qd::blackColor);
            if (c.hilite == inButton) qd::InvertRoundRect(c.rect, kButtonCorner, kButtonCorner);
        }
    }
    qd::SetPort(was);
}

std::string pascal(const unsigned char* p) {
    return p ? std::string(reinterpret_cast<const char*>(p + 1), p[0]) : std::string();
}

}  // namespace

ControlHandle NewControl(WindowPtr owner, const qd::Rect& bounds, const unsigned char* title,
                         bool visible, int16_t value, int16_t min, int16_t max, int16_t procID,
                         int32_t refCon) {
    if (!owner) return nullptr;
    auto* c = new ControlRecord;
    c->owner = owner;
    c->rect = bounds;
    c->procID = procID;
    c->min = min;
    c->max = max;
    c->value = std::clamp<int16_t>(value, min, std::max(min, max));
    c->title = pascal(title);
    c->visible = visible;
    c->refCon = refCon;
    owner->controls.push_back(c);
    if (visible) draw(*c);
    return c;
}

void DisposeControl(ControlHandle c) {
    if (!c) return;
    if (c->owner) std::erase(c->owner->controls, c);
    delete c;
}

void KillControls(WindowPtr w) {
    if (!w) return;
    for (ControlHandle c : w->controls) delete c;
    w->controls.clear();
}

void ShowControl(ControlHandle c) {
    if (!c || c->visible) return;
    c->visible = true;
    draw(*c);
}

void HideControl(ControlHandle c) {
    if (!c || !c->visible) return;
    c->visible = false;
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(c->owner->port);
    qd::EraseRect(c->rect);
    qd::SetPort(was);
    InvalWindowRect(c->owner, c->rect);
}

void Draw1Control(ControlHandle c) {
    if (c) draw(*c);
}

void DrawControls(WindowPtr w) {
    if (!w) return;
    for (ControlHandle c : w->controls) draw(*c);
}

void HiliteControl(ControlHandle c, int16_t part) {
    if (!c || c->hilite == part) return;
    c->hilite = part;
    draw(*c);
}

void SetControlValue(ControlHandle c, int32_t value) {
    if (!c) return;
    const int16_t v = int16_t(std::clamp<int32_t>(value, c->min, std::max(c->min, c->max)));
    if (v == c->value) return;
    c->value = v;
    draw(*c);
}

int16_t GetControlValue(ControlHandle c) { return c ? c->value : 0; }

void SetControlMinimum(ControlHandle c, int32_t min) {
    if (!c) return;
    c->min = int16_t(min);
    c->value = std::clamp<int16_t>(c->value, c->min, std::max(c->min, c->max));
    draw(*c);
}

int16_t GetControlMinimum(ControlHandle c) { return c ? c->min : 0; }

void SetControlMaximum(ControlHandle c, int32_t max) {
    if (!c) return;
    c->max = int16_t(max);
    c->value = std::clamp<int16_t>(c->value, c->min, std::max(c->min, c->max));
    draw(*c);
}

int16_t GetControlMaximum(ControlHandle c) { return c ? c->max : 0; }

void MoveControl(ControlHandle c, int32_t h, int32_t v) {
    if (!c) return;
    const int32_t w = c->rect.width(), ht = c->rect.height();
    c->rect = {v, h, v + ht, h + w};
    draw(*c);
}

void SizeControl(ControlHandle c, int32_t width, int32_t height) {
    if (!c) return;
    c->rect.right = c->rect.left + width;
    c->rect.bottom = c->rect.top + height;
    draw(*c);
}

void SetControlTitle(ControlHandle c, const unsigned char* title) {
    if (!c) return;
    c->title = pascal(title);
    draw(*c);
}

void GetControlTitle(ControlHandle c, unsigned char* title) {
    const size_t n = c ? std::min<size_t>(c->title.size(), 255) : 0;
    title[0] = static_cast<unsigned char>(n);
    if (n) std::copy_n(c->title.begin(), n, title + 1);
}

void SetControlPicture(ControlHandle c, const qd::Picture* picture) {
    if (!c) return;
    c->picture = picture;
    draw(*c);
}

void SetControlReference(ControlHandle c, int32_t refCon) {
    if (c) c->refCon = refCon;
}
int32_t GetControlReference(ControlHandle c) { return c ? c->refCon : 0; }

int16_t TestControl(ControlHandle c, qd::Point local) {
    if (!c || !c->visible || inactive(*c) || !contains(c->rect, local)) return kControlNoPart;
    if (!isScrollBar(*c))
        return c->procID == checkBoxProc || c->procID == radioButProc ? inCheckBox : inButton;
    const ScrollParts p = scrollParts(*c);
    if (contains(p.up, local)) return inUpButton;
    if (contains(p.down, local)) return inDownButton;
    if (contains(p.thumb, local)) return inThumb;
    const bool before = vertical(*c) ? local.v < p.thumb.top : local.h < p.thumb.left;
    return before ? inPageUp : inPageDown;
}

int16_t FindControl(qd::Point local, WindowPtr w, ControlHandle* control) {
    if (control) *control = nullptr;
    if (!w) return kControlNoPart;
    // The last made lies on top.
    for (auto it = w->controls.rbegin(); it != w->controls.rend(); ++it) {
        const int16_t part = TestControl(*it, local);
        if (part) {
            if (control) *control = *it;
            return part;
        }
    }
    return kControlNoPart;
}

int16_t TrackControl(ControlHandle c, qd::Point start, ControlActionProc action) {
    const int16_t part = TestControl(c, start);
    if (!part) return kControlNoPart;
    const qd::Point origin{c->owner->contentOrigin.v, c->owner->contentOrigin.h};
    auto localOf = [&](qd::Point g) { return qd::Point{g.v - origin.v, g.h - origin.h}; };
    const bool repeats =
        part == inUpButton || part == inDownButton || part == inPageUp || part == inPageDown;
    if (part != inThumb) HiliteControl(c, part);
    if (repeats && action) action(c, part);
    const ScrollParts startParts = isScrollBar(*c) ? scrollParts(*c) : ScrollParts{};
    const int16_t startValue = c->value;
    EventRecord e;
    qd::Point at = start;
    // The thumb follows the mouse: its value from how far it went along the track.
    auto thumbValue = [&](qd::Point p) {
        const int32_t room =
            (vertical(*c) ? startParts.track.height() : startParts.track.width()) - kScrollBarWidth;
        if (room <= 0) return int32_t(startValue);
        const int32_t moved = vertical(*c) ? p.v - start.v : p.h - start.h;
        return int32_t(startValue + int64_t(moved) * (c->max - c->min) / room);
    };
    try {
        for (;;) {
            ModalNextEvent(c->owner->title, mUpMask, &e);
            at = e.what == mouseUp ? localOf(e.where) : localOf(MouseGlobal());
            if (part == inThumb) {
                if (e.what == mouseUp || action) {
                    SetControlValue(c, thumbValue(at));
                    if (action) action(c, part);
                }
            } else {
                const bool inside = TestControl(c, at) == part || (part == inThumb) ||
                                    (!isScrollBar(*c) && contains(c->rect, at));
                HiliteControl(c, inside ? part : 0);
                if (inside && repeats && action && e.what != mouseUp) action(c, part);
            }
            if (e.what == mouseUp) break;
        }
    } catch (...) {
        HiliteControl(c, 0);
        throw;
    }
    HiliteControl(c, 0);
    if (part == inThumb)
        return c->value != startValue || contains(c->rect, at) ? int16_t(inThumb)
                                                               : int16_t(kControlNoPart);
    const bool endedInside = isScrollBar(*c) ? TestControl(c, at) == part : contains(c->rect, at);
    return endedInside ? part : int16_t(kControlNoPart);
}

}  // namespace toolbox
